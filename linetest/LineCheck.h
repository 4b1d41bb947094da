#pragma once

#include "serial/DeviceNames.h"

#include <QString>
#include <QTime>

#include <array>
#include <functional>
#include <ostream>

class LineBackend;
class LineSampler;
class MillisClock;
class Module1;
class Pause;
class Pulses;
class ReadClock;

// Where the line test's keys come from: the terminal in the program, a script in tests.
class KeySource {
public:
    virtual ~KeySource() = default;
    // The next key pressed, or -1 when none is waiting. Never blocks.
    virtual int nextKey() = 0;
    // Forgets the keys pressed so far: those typed while a pulse held the line.
    virtual void dropPending() = 0;
};

// The line test behind `tavorin-com --test`: opens a port as the timing program does, times
// the port's first reads so the operator can judge the adapter, shows its three inputs as they
// change and sends one stopwatch pulse per key. It writes nothing but its own output: no
// results log, no settings. After the timed reads the inputs come from the line sampler, as in
// the program, so a read that hangs never holds up the keys: the test says how long the port
// was silent, and q still ends it at once.
class LineCheck {
public:
    using Clock = std::function<QTime()>;
    // The inputs are sampled this often; the thread sleeps in between.
    static constexpr int sampleMillis = 5;
    // Reads timed right after the port opens.
    static constexpr int timedReads = 1000;

    // Drives the port through the port module and its pulses, so that a pulse sleeps through
    // all but its last milliseconds as in the program; closes it when destroyed. The first reads
    // go straight to the lines, timed on readClock; then the sampler reads them, its snapshots
    // aged on its clock.
    LineCheck(LineBackend& lines, Module1& port, Pulses& pulses, Pause& pause, ReadClock& readClock,
              LineSampler& sampler, MillisClock& clock, Clock now, std::ostream& out);
    ~LineCheck();
    LineCheck(const LineCheck&) = delete;
    LineCheck& operator=(const LineCheck&) = delete;

    // Opens the port with every output dropped, as the program does, and shows how long its
    // first reads took. Returns an empty text, or why the port was not opened; the console is
    // refused before anything touches it.
    QString open(const QString& portName, const DeviceNames& names);

    // Shows the inputs and sends the pulses of the keys s, z, r until q.
    void run(KeySource& keys);

private:
    void sample();
    void line(const QString& text);

    LineBackend& lines_;
    LineSampler& sampler_;
    MillisClock& clock_;
    Module1& port_;
    Pulses& pulses_;
    Pause& pause_;
    ReadClock& readClock_;
    Clock now_;
    std::ostream& out_;
    std::array<int, 3> shown_{-1, -1, -1}; // -1 until first shown
    bool silent_ = false;                  // the port has not answered lately
    std::uint32_t lastAnswer_ = 0;
};
