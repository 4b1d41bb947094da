#pragma once

#include "race/RaceState.h"

#include <QString>

class MillisClock;
class Pause;
class RaceWindow;
class ResultsLog;
class TimeOfDay;

// The race and its sensor polling loop. Each pass reads the start contact and the two lane
// targets, moves the race state, refreshes the displays, takes each lane's time once and logs
// it, ends the race when both lanes have a time, lets the window's pending events run, pauses
// 1 ms and mirrors the three contacts. Every operator command runs inside that event pump and
// changes the same state.
class Race {
public:
    Race(RaceWindow& window, MillisClock& clock, Pause& pause, TimeOfDay& timeOfDay,
         ResultsLog& log);

    RaceState& state() { return state_; }
    const RaceState& state() const { return state_; }

    // Runs pass after pass until the program ends; a loop restart requested from inside the
    // event pump begins afresh with the entry steps, without nesting one loop in another.
    void PollSensors();
    bool loopRunning() const { return loopRunning_; }
    void requestRestart() { restartRequested_ = true; }
    void leaveLoop() { leaveRequested_ = true; }

    // The loop's entry: lanes armed, start signals cleared; the rest carries over.
    void enterLoop();

    enum class PassEnd { Next, Restart, Leave };
    // One pass, steps a to i. After a restart or leave request the pass ends right after its
    // event pump: the earlier loop never continues.
    PassEnd runPass();

    // The running time since startTick, HH:MM:SS:mmm.
    QString ElapsedText();

    // Millisecond clock reading, for the commands that start a race by hand.
    std::int32_t timeGetTime();

    // The log writers of a race that does not end by both lanes.
    void ulozi();    // stop by button: the stop line with a fresh running time
    void trest();    // disqualification: its line, then both lane boxes marked
    void anulovan(); // annul the start: its line, buttons, stop pulse, boxes, lanes armed

    ResultsLog& log() { return log_; }

private:
    void startSignal();
    void wallClock();
    void takeLaneTime(int lane);
    void finish();
    void mirrorSensors();

    RaceWindow& window_;
    MillisClock& clock_;
    Pause& pause_;
    TimeOfDay& timeOfDay_;
    ResultsLog& log_;
    RaceState state_;
    bool loopRunning_ = false;
    bool restartRequested_ = false;
    bool leaveRequested_ = false;
};
