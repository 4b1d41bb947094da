#pragma once

#include "race/RaceState.h"
#include "race/TrackRun.h"
#include "serial/LineSnapshot.h"

#include <QString>

#include <array>

class MillisClock;
class Pause;
class RaceLines;
class RaceWindow;
class ResultsLog;
class TimeOfDay;

// The race: its state, the sensor polling loop and every operator command. Each pass reads
// the start contact and the two lane targets, moves the race on, refreshes the displays, takes
// each lane's time once and logs it, ends the race when both lanes have a time, lets the
// window's pending events run, pauses 1 ms and mirrors the three contacts. The commands run
// inside that event pump and change the same state; the window only forwards them here.
//
// The contacts come from the line sampler's snapshots: one taken at the top of the pass answers
// every reading of the pass, and a fresh one is taken after a pulse in the pass (a pulse holds
// the loop for a second) and for the displays after the pause. A start or a lane target whose
// closure no earlier snapshot showed is timed at the millisecond the sampler first saw it
// closed, not at the moment the pass got round to it; one seen before (a target held closed
// while its lane was not armed) or already closed when the port opened is timed when the pass
// acts on it.
//
// Only what the port has just confirmed is acted on: a snapshot whose last read failed, or is
// older than readingAgeLimitMs (a read that hangs), counts as no reading at all, and the
// contacts show open. A closure first read after such a silence is timed at that read, and the
// operator is told at once how late it may be.
class Race {
public:
    // A port that has not answered for this long is told to the operator, once per outage.
    static constexpr std::uint32_t portSilenceNoticeMs = 250;
    // Reads failing for this long and this many times in a row are an adapter pulled out;
    // fewer are a passing fault, treated as a read that has not come back.
    static constexpr std::uint32_t portFailureSpanMs = 10;
    static constexpr std::uint32_t portFailureReads = 5;

    Race(RaceLines& lines, MillisClock& clock, Pause& pause, TimeOfDay& timeOfDay, ResultsLog& log);
    // The window is built on the race, so it hands itself in from its constructor, before
    // anything runs.
    void showOn(RaceWindow& window) { window_ = &window; }

    const RaceState& state() const { return state_; }
    // Goes on from a state taken elsewhere, as if the race had got there itself: how a test
    // begins at a start count near its limit without thousands of passes.
    void restore(const RaceState& state) { state_ = state; }

    // Runs pass after pass until the program ends; a loop restart requested from inside the
    // event pump begins afresh with the entry steps, without nesting one loop in another.
    void PollSensors();
    bool loopRunning() const { return loopRunning_; }
    void requestRestart() { restartRequested_ = true; }
    void leaveLoop() { leaveRequested_ = true; }

    // The loop's entry: lanes armed, start signals cleared; the rest carries over.
    void enterLoop();

    enum class PassEnd { Next, Restart, Leave };
    // One pass. After a restart or leave request the pass ends right after its event pump:
    // the earlier loop never continues.
    PassEnd runPass();

    // The running time since startTick, HH:MM:SS:mmm.
    QString ElapsedText();

    // --- The port ---
    std::int16_t openPort(const QString& name);
    // Another port chosen: the old one closed, the new one opened (the window tells the
    // operator when it is busy), then made ready. Returns what the open returned.
    std::int16_t changePort(const QString& name, const QString& busyMessage);
    // Outputs dropped and no race running: the state after start-up and after a port change.
    void portReady();
    // Outputs dropped and the port closed at the end, then the last flush waited for (at most
    // ResultsLog::endFlushLimit); true when every record is in the log.
    bool closeDown();

    // --- The operator's commands ---
    void startByHand();      // a start that does not count as a start signal
    void stopByHand();       // the stop line, the race ended, the lanes armed
    void disqualify();       // the race ended, the lanes armed, then the disqualification
    void clearLanes();       // both lane boxes emptied, the lanes armed
    void resetStopwatches(); // the reset pulse
    void saveTeam();         // the team name from the window, read as the file opens

    // The log writers of a race that does not end by both lanes.
    void ulozi();    // the stop line with a fresh running time
    void trest();    // the disqualification line, then both lane boxes marked
    void anulovan(); // the annulment line, the race ended, boxes marked, lanes armed

    ResultsLog& log() { return log_; }
    // The run on the track, for those who follow it live.
    TrackRun& track() { return track_; }

private:
    // When a contact closed, as far as the race can tell, and how much earlier it may have.
    struct Closing {
        std::uint32_t tick;
        std::uint32_t lateBy; // 0 unless a silence of the port came before the read
    };

    // The tick, or the start's when it came before the start.
    std::uint32_t notBeforeStart(std::uint32_t tick);
    // True when this began a race (none was running).
    bool beginRace(std::uint32_t tick);
    void startSignal(Closing closing);
    void endRace();
    void armLanes();
    void wallClock();
    void takeLaneTime(int lane, Closing closing);
    void finish();
    void mirrorSensors();

    // The lines as the pass may act on them: the sampler's snapshot when it is current, else
    // every contact open. Tells the operator of an outage.
    LineSnapshot currentLines();
    // A fresh snapshot after a pulse in the pass; the start contact's closure in the one it
    // replaces has been acted on.
    LineSnapshot renewSnapshot(const LineSnapshot& previous);
    // The contact's closure, if closed, is no longer new: it is timed when acted on.
    void noteSeen(const LineSnapshot& lines, Contact contact);
    // When the contact closed, if no earlier snapshot showed this closure and it did not wait
    // for the port to open; else now.
    Closing closingOf(const LineSnapshot& lines, Contact contact);
    // Tells the operator once per outage when the open port stops answering.
    void watchPort(const LineSnapshot& lines, std::uint32_t now);
    // Tells the operator that a time was taken after a silence of the port.
    void tellLate(const QString& what, std::uint32_t lateBy);

    RaceWindow* window_ = nullptr;
    RaceLines& lines_;
    MillisClock& clock_;
    Pause& pause_;
    TimeOfDay& timeOfDay_;
    ResultsLog& log_;
    RaceState state_;
    TrackRun track_;
    std::array<std::uint32_t, contactCount> seenClosures_{};
    // Each lane's time as last taken, with its milliseconds since the start: the later one is
    // the race's result, where the running time stops.
    std::array<QString, 2> laneTexts_;
    std::array<std::int64_t, 2> laneMillis_{};
    QString portName_; // the port open now, empty when none is
    bool portTroubleTold_ = false;
    bool loopRunning_ = false;
    bool restartRequested_ = false;
    bool leaveRequested_ = false;
};
