#include "race/Race.h"

#include "race/ElapsedText.h"
#include "race/LogRecords.h"
#include "race/RaceWindow.h"
#include "race/ResultsLog.h"
#include "race/TimeOfDay.h"
#include "serial/MillisClock.h"
#include "serial/Module1.h"
#include "serial/Pause.h"
#include "serial/Pulses.h"

namespace {
const QString annulledText = QStringLiteral("Start anulován");
const QString disqualifiedText = QStringLiteral("diskvalifikace");
} // namespace

Race::Race(RaceWindow& window, MillisClock& clock, Pause& pause, TimeOfDay& timeOfDay,
           ResultsLog& log)
    : window_(window), clock_(clock), pause_(pause), timeOfDay_(timeOfDay), log_(log) {}

std::int32_t Race::timeGetTime() {
    return static_cast<std::int32_t>(clock_.timeGetTime());
}

QString Race::ElapsedText() {
    return elapsedText(clock_.timeGetTime(), state_.startTick);
}

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
    state_.armLanes();
    state_.startSignals = 0;
}

Race::PassEnd Race::runPass() {
    // a. Annul test: a third start signal after two annuls the start.
    if (state_.startSignals == 2 && Module1::DcdOn() == 1) {
        anulovan();
    }
    // b. Start signal.
    if (Module1::DcdOn() == 1) {
        startSignal();
    }
    // c. Wall clock.
    wallClock();
    // d. Running time, on every pass of a race.
    if (state_.raceState == 1) {
        window_.showRunningTime(ElapsedText());
    }
    // e, f. Each lane's time once, lane 1 first.
    if (state_.lane1Hits == 0 && Module1::CtsOn() == 1) {
        takeLaneTime(1);
    }
    if (state_.lane2Hits == 0 && Module1::DsrOn() == 1) {
        takeLaneTime(2);
    }
    // g. Finish, tested on every pass whatever raceState is.
    if (state_.lane1Hits + state_.lane2Hits == state_.finishTarget) {
        finish();
    }
    // h. Events and pause.
    window_.pumpEvents();
    if (leaveRequested_) {
        return PassEnd::Leave;
    }
    if (restartRequested_) {
        return PassEnd::Restart;
    }
    pause_.Sleep(1);
    // i. Line display.
    mirrorSensors();
    return PassEnd::Next;
}

void Race::startSignal() {
    if (state_.raceState == 0) {
        state_.raceState = 1;
        window_.setButStartEnabled(false);
        window_.setButStopEnabled(true);
        state_.startTick = timeGetTime();
    }
    StartPulse();
    // Held at its limit rather than overflowing: the start pulse has gone out all the same.
    if (state_.startSignals < RaceState::startSignalsLimit) {
        ++state_.startSignals;
    }
}

void Race::wallClock() {
    QString text = timeOfDay_.timeText();
    // The length comes from a second reading, as the clock has always done it.
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
    window_.setButStartEnabled(true);
    window_.setButStopEnabled(false);
    state_.raceState = 0;
    StopPulse();
    state_.finishTarget = 3;
}

void Race::mirrorSensors() {
    window_.showSensor(1, Module1::CtsOn() == 1);
    window_.showSensor(2, Module1::DsrOn() == 1);
    window_.showSensor(3, Module1::DcdOn() == 1);
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
    window_.setButStartEnabled(true);
    window_.setButStopEnabled(false);
    state_.raceState = 0;
    StopPulse();
    window_.showLaneTime(1, annulledText);
    window_.showLaneTime(2, annulledText);
    state_.armLanes();
    state_.startSignals = 0;
}
