#pragma once

#include <QString>
#include <vector>

// The published figures of one benchmark run.
struct Figures {
    double passP50Ms = 0, passP99Ms = 0, passMaxMs = 0;
    double passWorkP50Us = 0, passWorkP99Us = 0;
    double readsPerS = 0; // modem-status reads of the port, over the race spell
    double laneErrP50Ms = 0, laneErrP99Ms = 0, laneErrMaxMs = 0;
    // How late a thread on the sampler's schedule and priority woke, reading nothing: the machine.
    double machineWakeP99Ms = 0, machineWakeMaxMs = 0;
    double laneLagP99Ms = 0, laneLagMaxMs = 0, startLagMaxMs = 0; // where the lane error comes from
    double pulseMeanDevMs = 0, pulseMaxDevMs = 0;
    double cpuIdlePct = 0, cpuRacePct = 0, cpuPulsePct = 0;
    // On a real display (--display): the program and the X server together.
    bool display = false;
    double cpuIdleDisplayPct = 0, cpuRaceDisplayPct = 0;
    double rssPeakMb = 0;
    double startupMs = 0;
    double flushLagP99Ms = 0; // a lane's record written to the end of its flush
    // With a read hung during a start contact (--stall): the records and start pulses that
    // followed it; one start and no record is right.
    int stallMs = 0;
    double stallRecords = 0, stallStarts = 0;
    // With the run published and a reader following it on the bus (--listener).
    bool listener = false;
    double signalsHeard = 0;

    QString adapter;    // how the port is read: uart, usb-control or usb-interrupt
    QString realtime;   // how the loop's thread was scheduled: fifo, rr, rtkit or none
    int load = 0;       // busy processes beside it
    int slowDiskMs = 0; // each flush made to take this long

    // How many samples each figure rests on, for the table.
    int passes = 0, closures = 0, pulses = 0, startups = 0;
};

// The p-th percentile (0 < p <= 100) by nearest rank; 0 for no samples.
double percentile(std::vector<double> samples, double p);
double maximum(const std::vector<double>& samples);

QString figuresTable(const Figures& f);
QString figuresJson(const Figures& f);
