#include "race/Race.h"

#include "race/ElapsedText.h"
#include "race/RaceLines.h"
#include "race/RaceWindow.h"
#include "race/ResultsLog.h"
#include "race/TimeOfDay.h"
#include "records/LogRecords.h"
#include "serial/MillisClock.h"
#include "serial/Pause.h"

namespace {
const QString annulledText = QStringLiteral("Start anulován");
const QString disqualifiedText = QStringLiteral("diskvalifikace");
const QString blank = QStringLiteral(" ");

QString portStoppedMessage(const QString& port) {
    return QStringLiteral("Port %1 přestal odpovídat – převodník byl nejspíš odpojen. Dokud "
                          "neodpovídá, kontakty se nečtou a nic se neměří.\nZapojte převodník "
                          "zpět a vyberte port znovu tlačítkem %1.")
        .arg(port);
}

QString portSilentMessage(const QString& port) {
    return QStringLiteral("Port %1 neodpovídá: čtení kontaktů vázne déle než %2 ms (kabel, "
                          "rozbočovač bez napájení, rušení). Dokud neodpovídá, kontakty se "
                          "nečtou a nic se neměří; časy z té doby berte ze stopek.")
        .arg(port)
        .arg(Race::portSilenceNoticeMs);
}

QString lateMessage(const QString& port, const QString& what, std::uint32_t lateBy) {
    return QStringLiteral("Port %1 neodpovídal %2 ms a %3 byl zachycen až po této přestávce: může "
                          "být až o %2 ms pozdě. Rozhodčí mohou vzít čas ze stopek.")
        .arg(port)
        .arg(lateBy)
        .arg(what);
}
} // namespace

Race::Race(RaceLines& lines, MillisClock& clock, Pause& pause, TimeOfDay& timeOfDay,
           ResultsLog& log)
    : lines_(lines), clock_(clock), pause_(pause), timeOfDay_(timeOfDay), log_(log) {}

QString Race::ElapsedText() {
    return elapsedText(clock_.timeGetTime(), state_.startTick);
}

std::uint32_t Race::notBeforeStart(std::uint32_t tick) {
    // Both ages are counted back from now, so that the comparison holds across the clock's wrap.
    const std::uint32_t now = clock_.timeGetTime();
    const auto start = static_cast<std::uint32_t>(state_.startTick);
    return now - tick > now - start ? start : tick;
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
    LineSnapshot lines = currentLines();
    // A start contact seen on a third pass without a finish annuls the start.
    if (state_.startSignals == 2 && lines.isClosed(Contact::Start)) {
        anulovan();
        lines = renewSnapshot(lines);
    }
    if (lines.isClosed(Contact::Start)) {
        startSignal(closingOf(lines, Contact::Start));
        lines = renewSnapshot(lines);
    }
    wallClock();
    if (state_.raceState == 1) {
        window_->showRunningTime(ElapsedText());
    }
    // Each lane's time once, lane 1 first.
    if (state_.lane1Hits == 0 && lines.isClosed(Contact::Lane1)) {
        takeLaneTime(1, closingOf(lines, Contact::Lane1));
    }
    if (state_.lane2Hits == 0 && lines.isClosed(Contact::Lane2)) {
        takeLaneTime(2, closingOf(lines, Contact::Lane2));
    }
    // Whatever is closed now has had its chance: held on, it is no longer new.
    for (const Contact contact : {Contact::Start, Contact::Lane1, Contact::Lane2}) {
        noteSeen(lines, contact);
    }
    // Tested on every pass, whether a race runs or not.
    if (state_.lane1Hits + state_.lane2Hits == state_.finishTarget) {
        finish();
    }
    log_.poll();
    window_->pumpEvents();
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

LineSnapshot Race::currentLines() {
    const LineSnapshot lines = lines_.snapshot();
    // Read after the snapshot, so that its reads are never newer than now.
    const std::uint32_t now = clock_.timeGetTime();
    watchPort(lines, now);
    return lines.currentAt(now) ? lines : LineSnapshot{};
}

LineSnapshot Race::renewSnapshot(const LineSnapshot& previous) {
    // The start contact has been acted on; a lane target waits for its own step.
    noteSeen(previous, Contact::Start);
    return currentLines();
}

void Race::noteSeen(const LineSnapshot& lines, Contact contact) {
    const auto c = static_cast<std::size_t>(contact);
    if (lines.closed[c]) {
        seenClosures_[c] = lines.closures[c];
    }
}

Race::Closing Race::closingOf(const LineSnapshot& lines, Contact contact) {
    const bool seenBefore =
        seenClosures_[static_cast<std::size_t>(contact)] == lines.closure(contact);
    if (seenBefore || lines.closedWhenOpened(contact)) {
        return {clock_.timeGetTime(), 0};
    }
    const std::uint32_t silence = lines.silenceBeforeClosing(contact);
    return {lines.closedTick(contact), silence > readingAgeLimitMs ? silence : 0};
}

void Race::watchPort(const LineSnapshot& lines, std::uint32_t now) {
    if (lines.currentAt(now)) {
        portTroubleTold_ = false; // the outage, if any, is over
        return;
    }
    if (portTroubleTold_ || portName_.isEmpty()) {
        return;
    }
    if (lines.failedReads >= portFailureReads && now - lines.failingSince >= portFailureSpanMs) {
        portTroubleTold_ = true;
        window_->showNotice(portStoppedMessage(portName_));
    } else if (now - lines.answeredAt >= portSilenceNoticeMs) {
        portTroubleTold_ = true;
        window_->showNotice(portSilentMessage(portName_));
    }
}

void Race::tellLate(const QString& what, std::uint32_t lateBy) {
    if (lateBy > 0) {
        window_->showNotice(lateMessage(portName_, what, lateBy));
    }
}

void Race::startSignal(Closing closing) {
    if (beginRace(closing.tick)) {
        tellLate(QStringLiteral("start"), closing.lateBy);
    }
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
        window_->showClock(text);
        state_.lastClockText = text;
    }
}

void Race::takeLaneTime(int lane, Closing closing) {
    const std::uint32_t tick = notBeforeStart(closing.tick);
    const QString time = elapsedText(tick, state_.startTick);
    laneTexts_[lane - 1] = time;
    laneMillis_[lane - 1] = tick - static_cast<std::uint32_t>(state_.startTick);
    window_->showLaneTime(lane, time);
    log_.append(LogRecords::laneLine(lane, time));
    ++(lane == 1 ? state_.lane1Hits : state_.lane2Hits);
    track_.laneTimed(lane, time);
    tellLate(QStringLiteral("cíl dráhy č.%1 (%2)").arg(lane).arg(time), closing.lateBy);
}

void Race::finish() {
    // The running time stops on the result, the later lane's time, not on this pass's moment.
    const QString& result = laneTexts_[laneMillis_[1] > laneMillis_[0] ? 1 : 0];
    if (state_.raceState == 1) {
        window_->showRunningTime(result);
    }
    track_.ended(QStringLiteral("finish"), result, clock_.timeGetTime());
    endRace();
    state_.finishTarget = 3;
}

void Race::mirrorSensors() {
    const LineSnapshot lines = currentLines();
    window_->showSensor(1, lines.isClosed(Contact::Lane1));
    window_->showSensor(2, lines.isClosed(Contact::Lane2));
    window_->showSensor(3, lines.isClosed(Contact::Start));
}

// --- Shared steps ---

bool Race::beginRace(std::uint32_t tick) {
    if (state_.raceState != 0) {
        return false;
    }
    state_.raceState = 1;
    window_->setButStartEnabled(false);
    window_->setButStopEnabled(true);
    state_.startTick = static_cast<std::int32_t>(tick);
    track_.started(tick);
    return true;
}

void Race::endRace() {
    window_->setButStartEnabled(true);
    window_->setButStopEnabled(false);
    state_.raceState = 0;
    lines_.stopPulse();
}

void Race::armLanes() {
    state_.armLanes();
    state_.startSignals = 0;
}

// --- The port ---

std::int16_t Race::openPort(const QString& name) {
    const std::int16_t result = lines_.openPort(name);
    portName_ = result != 0 ? name : QString();
    return result;
}

std::int16_t Race::changePort(const QString& name, const QString& busyMessage) {
    lines_.closePort();
    const std::int16_t result = openPort(name);
    if (result == 0) {
        window_->showMessage(busyMessage);
    }
    portReady();
    return result;
}

void Race::portReady() {
    lines_.setBreak(false);
    lines_.setDtr(false);
    lines_.setRts(false);
    state_.raceState = 0;
}

bool Race::closeDown() {
    lines_.setDtr(false);
    lines_.setRts(false);
    lines_.setBreak(false);
    lines_.closePort();
    const bool written = log_.retryPending();
    log_.waitFlushed(ResultsLog::endFlushLimit);
    return written;
}

// --- The operator's commands ---

void Race::startByHand() {
    beginRace(clock_.timeGetTime());
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
    window_->showLaneTime(1, blank);
    window_->showLaneTime(2, blank);
    armLanes();
    track_.lanesCleared();
}

void Race::resetStopwatches() {
    lines_.resetPulse();
}

void Race::saveTeam() {
    QString team;
    log_.append([this, &team] {
        team = window_->teamName();
        return LogRecords::teamLine(team);
    });
    track_.teamSaved(team);
}

void Race::ulozi() {
    QString time;
    log_.append([this, &time] {
        time = ElapsedText();
        return LogRecords::stopLine(time);
    });
    track_.ended(QStringLiteral("stop"), time, clock_.timeGetTime());
}

void Race::trest() {
    log_.append(LogRecords::disqualificationText);
    track_.ended(QStringLiteral("disqualification"), QString(), clock_.timeGetTime());
    window_->showLaneTime(1, disqualifiedText);
    window_->showLaneTime(2, disqualifiedText);
}

void Race::anulovan() {
    log_.append(LogRecords::annulmentText);
    track_.ended(QStringLiteral("annulment"), QString(), clock_.timeGetTime());
    endRace();
    window_->showLaneTime(1, annulledText);
    window_->showLaneTime(2, annulledText);
    armLanes();
}
