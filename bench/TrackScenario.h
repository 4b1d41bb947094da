#pragma once

#include "bench/AdapterModel.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <random>
#include <vector>

class Form1;
class PassProbe;
class QPushButton;

// How much of each thing one run measures.
struct Plan {
    int warmupPasses = 200;
    int idlePasses = 1000;
    int racePasses = 5000;
    int races = 12;
    int closuresPerRace = 84; // at least 2: every race ends with both lanes
    int resetPulses = 2;
    int stallMs = 0; // at the end, a start contact during which one read hangs this long
    std::uint64_t seed = 20261207;
};

// The track as the benchmark plays it, one step after every pass of the real loop: an idle
// spell, a start by the referee's contact, a race running untouched, then lane targets hit at
// random moments. Between single hits, once the window shows the target let go, the operator
// clears the lane boxes (Command4), which arms the lanes again without a pulse; every race ends
// with both lanes, so the stop pulse runs, and the reset button (Command8) is pressed at the end.
// The operator's clicks are posted, so they run in the loop's own event pump as real clicks do.
// With a stall, the referee then holds the start contact for 300 ms, and 60 ms into it one
// read of the adapter hangs and fails: one start, and no record, is all that may follow.
class TrackScenario {
public:
    TrackScenario(Form1& form, AdapterModel& lines, PassProbe& probe, const Plan& plan);

    void step();
    bool finished() const { return stage_ == Stage::Done; }
    const QString& failure() const { return failure_; }

    double cpuIdlePct() const { return cpuIdlePct_; }
    double cpuRacePct() const { return cpuRacePct_; }
    // Another process measured over the same spells: the display server the window draws on.
    void measureServer(std::function<std::int64_t()> serverCpuNs) {
        serverCpuNs_ = std::move(serverCpuNs);
    }
    double serverIdlePct() const { return serverIdlePct_; }
    double serverRacePct() const { return serverRacePct_; }
    // The port's modem-status reads so far, counted over the race spell.
    void measureReads(std::function<std::uint64_t()> reads) { reads_ = std::move(reads); }
    double readsPerS() const { return readsPerS_; }
    // Recorded lane time minus the true time from the start contact to the target, in ms.
    const std::vector<double>& laneErrorsMs() const { return laneErrorsMs_; }
    // How long after closing the program first read each contact closed, in ms.
    const std::vector<double>& laneLagsMs() const { return laneLagsMs_; }
    const std::vector<double>& startLagsMs() const { return startLagsMs_; }
    // Each lane's record: when it was written (its pass saw the target) and the log's size after.
    const std::vector<std::pair<std::int64_t, std::int64_t>>& records() const { return records_; }
    // After the hung read: the records written and the start pulses given.
    int stallRecords() const { return stallRecords_; }
    int stallStarts() const { return stallStarts_; }

private:
    enum class Stage {
        Warmup,
        Idle,
        AwaitStart,
        RaceRunning,
        AwaitLane,
        AwaitLetGo,
        AwaitArmed,
        AwaitFinish,
        AwaitArmedForStart,
        AwaitReset,
        AwaitStallOver,
        Done
    };

    void beginSpell();
    double spellCpuPct() const;
    double spellServerPct() const;
    double spellReadsPerS() const;
    void scheduleStart();
    void scheduleLane(int lane);
    ScheduledLines::Contact laneContact() const {
        return lane_ == 1 ? ScheduledLines::Lane1 : ScheduledLines::Lane2;
    }
    void takeLane();
    void beginStall();
    void endStall();
    void click(QPushButton* button);
    void fail(const QString& why);
    std::int64_t randomNs(std::int64_t fromNs, std::int64_t toNs);

    Form1& form_;
    AdapterModel& lines_;
    PassProbe& probe_;
    Plan plan_;
    std::mt19937_64 random_;

    Stage stage_ = Stage::Warmup;
    QString failure_;
    int passes_ = 0;
    std::int64_t spellWallNs_ = 0;
    std::int64_t spellCpuNs_ = 0;
    double cpuIdlePct_ = 0;
    double cpuRacePct_ = 0;
    std::function<std::int64_t()> serverCpuNs_;
    std::int64_t spellServerNs_ = 0;
    double serverIdlePct_ = 0;
    double serverRacePct_ = 0;
    std::function<std::uint64_t()> reads_;
    std::uint64_t spellReads_ = 0;
    double readsPerS_ = 0;

    int racesDone_ = 0;
    int closuresInRace_ = 0;
    int lane_ = 1;
    std::int64_t startCloseNs_ = 0;
    std::int64_t laneCloseNs_ = 0;
    std::int64_t deadlineNs_ = 0;
    std::size_t resetPulsesWanted_ = 0;
    std::vector<double> laneErrorsMs_;
    std::vector<double> laneLagsMs_;
    std::vector<double> startLagsMs_;
    std::vector<std::pair<std::int64_t, std::int64_t>> records_;
    int stallRecords_ = 0;
    int stallStarts_ = 0;
};
