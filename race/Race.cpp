#include "race/Race.h"

#include "race/ElapsedText.h"
#include "race/LogRecords.h"
#include "race/RaceLines.h"
#include "race/RaceWindow.h"
#include "race/ResultsLog.h"
#include "race/TimeOfDay.h"
#include "serial/MillisClock.h"
#include "serial/Pause.h"

namespace {
const QString annulledText = QStringLiteral("Start anulován");
const QString disqualifiedText = QStringLiteral("diskvalifikace");
const QString blank = QStringLiteral(" ");
} // namespace

Race::Race(RaceWindow& window, RaceLines& lines, MillisClock& clock, Pause& pause,
           TimeOfDay& timeOfDay, ResultsLog& log)
    : window_(window), lines_(lines), clock_(clock), pause_(pause), timeOfDay_(timeOfDay),
      log_(log) {}

QString Race::ElapsedText() {
    return elapsedText(clock_.timeGetTime(), state_.startTick);
}

// --- The loop ---

void Race::PollSensors() {
    leaveRequested_ = false;
    enterLoop();
    for (;;) {
        switch (runPass()) {
        case PassEnd::Next:
            break;
        case PassEnd::Restart:
            enterLoop();
            break;
        case PassEnd::Leave:
            loopRunning_ = false;
            return;
        }
    }
}

void Race::enterLoop() {
    loopRunning_ = true;
    restartRequested_ = false;
    armLanes();
}

Race::PassEnd Race::runPass() {
    // A start contact seen on a third pass without a finish annuls the start.
    if (state_.startSignals == 2 && lines_.startContact() == 1) {
        anulovan();
    }
    if (lines_.startContact() == 1) {
        startSignal();
    }
    wallClock();
    if (state_.raceState == 1) {
        window_.showRunningTime(ElapsedText());
    }
    // Each lane's time once, lane 1 first.
    if (state_.lane1Hits == 0 && lines_.lane1Target() == 1) {
        takeLaneTime(1);
    }
    if (state_.lane2Hits == 0 && lines_.lane2Target() == 1) {
        takeLaneTime(2);
    }
    // Tested on every pass, whether a race runs or not.
    if (state_.lane1Hits + state_.lane2Hits == state_.finishTarget) {
        finish();
    }
    log_.poll();
    window_.pumpEvents();
    if (leaveRequested_) {
        return PassEnd::Leave;
    }
    if (restartRequested_) {
        return PassEnd::Restart;
    }
    pause_.Sleep(1);
    mirrorSensors();
    return PassEnd::Next;
}

void Race::startSignal() {
    beginRace();
    lines_.startPulse();
    // Held at its limit rather than overflowing: the start pulse has gone out all the same.
    if (state_.startSignals < RaceState::startSignalsLimit) {
        ++state_.startSignals;
    }
}

void Race::wallClock() {
    QString text = timeOfDay_.timeText();
    // A single-digit hour is padded; whether it is comes from a second reading of the clock.
    if (timeOfDay_.timeText().size() == 7) {
        text.prepend(QLatin1Char('0'));
    }
    if (text != state_.lastClockText) {
        window_.showClock(text);
        state_.lastClockText = text;
    }
}

void Race::takeLaneTime(int lane) {
    const QString time = ElapsedText();
    window_.showLaneTime(lane, time);
    log_.append(LogRecords::laneLine(lane, time));
    ++(lane == 1 ? state_.lane1Hits : state_.lane2Hits);
}

void Race::finish() {
    endRace();
    state_.finishTarget = 3;
}

void Race::mirrorSensors() {
    window_.showSensor(1, lines_.lane1Target() == 1);
    window_.showSensor(2, lines_.lane2Target() == 1);
    window_.showSensor(3, lines_.startContact() == 1);
}

// --- Shared steps ---

void Race::beginRace() {
    if (state_.raceState == 0) {
        state_.raceState = 1;
        window_.setButStartEnabled(false);
        window_.setButStopEnabled(true);
        state_.startTick = static_cast<std::int32_t>(clock_.timeGetTime());
    }
}

void Race::endRace() {
    window_.setButStartEnabled(true);
    window_.setButStopEnabled(false);
    state_.raceState = 0;
    lines_.stopPulse();
}

void Race::armLanes() {
    state_.armLanes();
    state_.startSignals = 0;
}

// --- The port ---

std::int16_t Race::openPort(const QString& name) {
    return lines_.openPort(name);
}

std::int16_t Race::changePort(const QString& name, const QString& busyMessage) {
    lines_.closePort();
    const std::int16_t result = lines_.openPort(name);
    if (result == 0) {
        window_.showMessage(busyMessage);
    }
    portReady();
    return result;
}

void Race::portReady() {
    lines_.setBreak(0);
    lines_.setDtr(0);
    lines_.setRts(0);
    state_.raceState = 0;
}

bool Race::closeDown() {
    lines_.setDtr(0);
    lines_.setRts(0);
    lines_.setBreak(0);
    lines_.closePort();
    const bool written = log_.retryPending();
    log_.waitFlushed(ResultsLog::endFlushLimit);
    return written;
}

// --- The operator's commands ---

void Race::startByHand() {
    beginRace();
    lines_.startPulse();
}

void Race::stopByHand() {
    ulozi();
    endRace();
    armLanes();
}

void Race::disqualify() {
    endRace();
    armLanes();
    trest();
}

void Race::clearLanes() {
    window_.showLaneTime(1, blank);
    window_.showLaneTime(2, blank);
    armLanes();
}

void Race::resetStopwatches() {
    lines_.resetPulse();
}

void Race::saveTeam() {
    log_.append([this] { return LogRecords::teamLine(window_.teamName()); });
}

void Race::ulozi() {
    log_.append([this] { return LogRecords::stopLine(ElapsedText()); });
}

void Race::trest() {
    log_.append(LogRecords::disqualificationText);
    window_.showLaneTime(1, disqualifiedText);
    window_.showLaneTime(2, disqualifiedText);
}

void Race::anulovan() {
    log_.append(LogRecords::annulmentText);
    endRace();
    window_.showLaneTime(1, annulledText);
    window_.showLaneTime(2, annulledText);
    armLanes();
}
