#pragma once

#include <QString>
#include <cstdint>

// The race between passes. The race owns it and alone changes it; others only read it.
struct RaceState {
    std::int16_t raceState = 0;    // 0 no race running, 1 race running
    std::int32_t startTick = 0;    // millisecond clock at the start of the current or last race
    std::int16_t lane1Hits = 0;    // lane 1 times taken since the lanes were armed: 0 or 1
    std::int16_t lane2Hits = 0;    // the same for lane 2
    std::int16_t finishTarget = 2; // lane1Hits + lane2Hits that ends a race: 2 armed, 3 finished
    std::int16_t startSignals = 0; // passes that saw the start contact since the last reset
    QString lastClockText;         // the wall-clock text last shown

    static constexpr std::int16_t startSignalsLimit = 32767;

    // The lanes armed: always these three values, in this order.
    void armLanes() {
        lane1Hits = 0;
        lane2Hits = 0;
        finishTarget = 2;
    }
    bool lanesArmed() const { return lane1Hits == 0 && lane2Hits == 0 && finishTarget == 2; }
};
