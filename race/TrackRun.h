#pragma once

#include <QString>

#include <cstdint>
#include <functional>

// The run on the track as it can be followed live: the team, the start, each lane's time as it
// lands and how the run ended. Every change is handed on whole and numbered, so that a reader
// who joins in the middle needs only the last one.
struct TrackRunState {
    enum class Phase { Idle, Running, Ended };

    std::uint64_t seq = 0; // one more with every change
    QString event;         // what the change was: team, start, lane1, lane2, clear or an end
    Phase phase = Phase::Idle;
    QString team;                // the last team saved since the previous run ended; empty: none
    std::uint32_t startTick = 0; // the millisecond clock at the start's closing
    QString lane1, lane2;        // each lane's time text as written to the log
    QString end;                 // finish, stop, disqualification or annulment while ended
    QString result;              // a finish's later lane, or a stop's time
    std::uint32_t endTick = 0;
};

// What the race tells of the run on the track. No reader ever holds the race up: the listener
// only sends, it never waits.
class TrackRun {
public:
    using Listener = std::function<void(const TrackRunState&)>;

    void setListener(Listener listener) { listener_ = std::move(listener); }
    const TrackRunState& state() const { return state_; }

    // A team line saved: the team of the run going on, else of the next one.
    void teamSaved(const QString& team);
    void started(std::uint32_t tick);
    void laneTimed(int lane, const QString& time);
    void lanesCleared();
    // "finish", "stop", "disqualification" or "annulment". A judgement right after a finish
    // stays with the run it judges.
    void ended(const QString& how, const QString& result, std::uint32_t tick);

private:
    void newRun(); // everything afresh but the count of changes
    void changed(const QString& event);

    TrackRunState state_;
    Listener listener_;
};
