#include "bench/TrackScenario.h"

#include "bench/PassProbe.h"
#include "bench/ProcessClock.h"
#include "records/LogRecords.h"
#include "vysledky/TimeText.h"
#include "window/Form1.h"

#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMetaObject>
#include <QPushButton>
#include <algorithm>
#include <optional>

namespace {
constexpr std::int64_t ms = 1'000'000;
// Anything the loop should notice within a pass or a pulse has this long, or the run fails:
// a guard against a loop that stopped reacting, far beyond any slow pass.
constexpr std::int64_t patienceNs = 10000 * ms;
// The referee's start contact of the stall, and when the hung read is asked for within it.
constexpr std::int64_t stallContactNs = 300 * ms;
constexpr std::int64_t stallIntoContactNs = 60 * ms;
// After the hung read, long enough for a start pulse it set off to have ended.
constexpr std::int64_t afterStallNs = 2000 * ms;

std::size_t pulsesOf(const ScheduledLines& lines, ScheduledLines::Output output) {
    return static_cast<std::size_t>(
        std::count_if(lines.pulses().begin(), lines.pulses().end(),
                      [output](const ScheduledLines::Pulse& p) { return p.output == output; }));
}

qsizetype logLines() {
    QFile log(QString::fromLatin1(LogRecords::fileName));
    return log.open(QIODevice::ReadOnly) ? log.readAll().count('\n') : 0;
}
} // namespace

TrackScenario::TrackScenario(Form1& form, AdapterModel& lines, PassProbe& probe, const Plan& plan)
    : form_(form), lines_(lines), probe_(probe), plan_(plan), random_(plan.seed) {
    plan_.closuresPerRace = std::max(plan_.closuresPerRace, 2);
    const auto closures = static_cast<std::size_t>(plan_.races * plan_.closuresPerRace);
    laneErrorsMs_.reserve(closures);
    laneLagsMs_.reserve(closures);
}

std::int64_t TrackScenario::randomNs(std::int64_t fromNs, std::int64_t toNs) {
    return std::uniform_int_distribution<std::int64_t>(fromNs, toNs)(random_);
}

void TrackScenario::beginSpell() {
    passes_ = 0;
    spellWallNs_ = ProcessClock::monotonicNs();
    spellCpuNs_ = ProcessClock::cpuNs();
    spellServerNs_ = serverCpuNs_ ? serverCpuNs_() : 0;
    spellReads_ = reads_ ? reads_() : 0;
}

double TrackScenario::spellCpuPct() const {
    const auto wall = static_cast<double>(ProcessClock::monotonicNs() - spellWallNs_);
    const auto cpu = static_cast<double>(ProcessClock::cpuNs() - spellCpuNs_);
    return wall > 0 ? 100.0 * cpu / wall : 0.0;
}

double TrackScenario::spellServerPct() const {
    if (!serverCpuNs_) {
        return 0.0;
    }
    const auto wall = static_cast<double>(ProcessClock::monotonicNs() - spellWallNs_);
    const auto cpu = static_cast<double>(serverCpuNs_() - spellServerNs_);
    return wall > 0 ? 100.0 * cpu / wall : 0.0;
}

double TrackScenario::spellReadsPerS() const {
    if (!reads_) {
        return 0.0;
    }
    const auto wall = static_cast<double>(ProcessClock::monotonicNs() - spellWallNs_);
    return wall > 0 ? 1e9 * static_cast<double>(reads_() - spellReads_) / wall : 0.0;
}

void TrackScenario::click(QPushButton* button) {
    QMetaObject::invokeMethod(button, &QPushButton::click, Qt::QueuedConnection);
}

void TrackScenario::fail(const QString& why) {
    failure_ = why;
    stage_ = Stage::Done;
    form_.race().leaveLoop();
}

void TrackScenario::scheduleStart() {
    startCloseNs_ = ProcessClock::monotonicNs() + randomNs(2 * ms, 10 * ms);
    lines_.closeAt(ScheduledLines::Start, startCloseNs_);
    deadlineNs_ = startCloseNs_ + patienceNs;
    stage_ = Stage::AwaitStart;
}

void TrackScenario::scheduleLane(int lane) {
    lane_ = lane;
    // Any moment of the pass: the offset is drawn to the nanosecond.
    laneCloseNs_ = ProcessClock::monotonicNs() + randomNs(1 * ms, 6 * ms);
    lines_.closeAt(laneContact(), laneCloseNs_);
    deadlineNs_ = laneCloseNs_ + patienceNs;
    stage_ = Stage::AwaitLane;
}

void TrackScenario::takeLane() {
    const QString text = (lane_ == 1 ? form_.controls().Text2 : form_.controls().Text3)->text();
    const std::optional<int> recorded = TimeText::millis(text);
    if (!recorded) {
        fail(QStringLiteral("lane %1 shows \"%2\", not a running time").arg(lane_).arg(text));
        return;
    }
    const double truth = static_cast<double>(laneCloseNs_ - startCloseNs_) / 1e6;
    laneErrorsMs_.push_back(*recorded - truth);
    laneLagsMs_.push_back(static_cast<double>(lines_.firstSeenNs(laneContact()) - laneCloseNs_) /
                          1e6);
    records_.emplace_back(lines_.firstSeenNs(laneContact()),
                          QFileInfo(QString::fromLatin1(LogRecords::fileName)).size());
    // The target is let go once its time is taken, whenever a slow pass took it.
    lines_.openAt(laneContact(), ProcessClock::monotonicNs());
    ++closuresInRace_;
}

void TrackScenario::beginStall() {
    stallRecords_ = static_cast<int>(logLines());
    stallStarts_ = static_cast<int>(pulsesOf(lines_, ScheduledLines::Break));
    startCloseNs_ = ProcessClock::monotonicNs() + randomNs(2 * ms, 10 * ms);
    lines_.closeAt(ScheduledLines::Start, startCloseNs_);
    lines_.openAt(ScheduledLines::Start, startCloseNs_ + stallContactNs);
    const std::int64_t hangNs = static_cast<std::int64_t>(plan_.stallMs) * ms;
    lines_.hangOneReadAt(startCloseNs_ + stallIntoContactNs, hangNs);
    deadlineNs_ = startCloseNs_ + stallIntoContactNs + hangNs + afterStallNs + patienceNs;
    stage_ = Stage::AwaitStallOver;
}

void TrackScenario::endStall() {
    stallRecords_ = static_cast<int>(logLines()) - stallRecords_;
    stallStarts_ = static_cast<int>(pulsesOf(lines_, ScheduledLines::Break)) - stallStarts_;
    stage_ = Stage::Done;
    form_.race().leaveLoop();
}

void TrackScenario::step() {
    const RaceState& s = form_.state();
    const std::int64_t now = ProcessClock::monotonicNs();
    if (stage_ != Stage::Done && deadlineNs_ > 0 && now > deadlineNs_) {
        fail(QStringLiteral("the loop did not react in time (stage %1)").arg(int(stage_)));
        return;
    }
    switch (stage_) {
    case Stage::Warmup:
        if (++passes_ >= plan_.warmupPasses) {
            beginSpell();
            stage_ = Stage::Idle;
        }
        break;
    case Stage::Idle:
        if (++passes_ >= plan_.idlePasses) {
            cpuIdlePct_ = spellCpuPct();
            serverIdlePct_ = spellServerPct();
            scheduleStart();
        }
        break;
    case Stage::AwaitStart:
        // The start pulse has run inside the pass that saw the contact, and let it go.
        if (s.raceState == 1) {
            closuresInRace_ = 0;
            deadlineNs_ = 0;
            startLagsMs_.push_back(
                static_cast<double>(lines_.firstSeenNs(ScheduledLines::Start) - startCloseNs_) /
                1e6);
            if (racesDone_ == 0) {
                beginSpell();
                probe_.setRecording(true);
                stage_ = Stage::RaceRunning;
            } else {
                scheduleLane(1 + static_cast<int>(random_() % 2));
            }
        }
        break;
    case Stage::RaceRunning:
        if (++passes_ >= plan_.racePasses) {
            probe_.setRecording(false);
            cpuRacePct_ = spellCpuPct();
            serverRacePct_ = spellServerPct();
            readsPerS_ = spellReadsPerS();
            scheduleLane(1 + static_cast<int>(random_() % 2));
        }
        break;
    case Stage::AwaitLane:
        if ((lane_ == 1 ? s.lane1Hits : s.lane2Hits) == 1) {
            takeLane();
            if (stage_ == Stage::Done) {
                break;
            }
            if (closuresInRace_ == plan_.closuresPerRace) {
                stage_ = Stage::AwaitFinish; // the stop pulse has already run in that pass
            } else if (closuresInRace_ == plan_.closuresPerRace - 1) {
                scheduleLane(3 - lane_); // the last hit of the race: both lanes have a time
            } else {
                stage_ = Stage::AwaitLetGo;
            }
        }
        break;
    case Stage::AwaitLetGo:
        // The operator clears the lanes once the window shows the target open again, as at the
        // track: through a slow adapter that is a few milliseconds after it was let go.
        if (!(lane_ == 1 ? form_.controls().Check1 : form_.controls().Check2)->isChecked()) {
            click(form_.controls().Command4); // armed again
            stage_ = Stage::AwaitArmed;
        }
        break;
    case Stage::AwaitArmed:
        if (s.lanesArmed()) {
            scheduleLane(1 + static_cast<int>(random_() % 2));
        }
        break;
    case Stage::AwaitFinish:
        if (s.raceState != 0 || s.finishTarget != 3) {
            fail(QStringLiteral("the race did not end with both lanes"));
        } else {
            ++racesDone_;
            click(form_.controls().Command4); // the operator clears the boxes for the next team
            stage_ = Stage::AwaitArmedForStart;
        }
        break;
    case Stage::AwaitArmedForStart:
        if (s.lanesArmed() && s.startSignals == 0) {
            if (racesDone_ < plan_.races) {
                scheduleStart();
            } else {
                resetPulsesWanted_ = 0;
                stage_ = Stage::AwaitReset;
            }
        }
        break;
    case Stage::AwaitReset:
        if (pulsesOf(lines_, ScheduledLines::Rts) == resetPulsesWanted_) {
            if (resetPulsesWanted_ == static_cast<std::size_t>(plan_.resetPulses)) {
                if (plan_.stallMs > 0) {
                    beginStall();
                } else {
                    stage_ = Stage::Done;
                    form_.race().leaveLoop();
                }
            } else {
                ++resetPulsesWanted_;
                deadlineNs_ = now + patienceNs;
                click(form_.controls().Command8);
            }
        }
        break;
    case Stage::AwaitStallOver: {
        const std::int64_t hangEnded = lines_.hangEndedNs();
        if (hangEnded >= 0 && now > hangEnded + afterStallNs) {
            endStall();
        }
        break;
    }
    case Stage::Done:
        break;
    }
}
