#include "tests/support/Engine.h"
#include "tests/support/Printers.h"

#include <gtest/gtest.h>

#include <deque>

namespace {

using Queries = std::vector<Input>;
constexpr auto C = Input::Cts;
constexpr auto D = Input::Dsr;
constexpr auto S = Input::Dcd; // the referee's start contact

// The start line answers each query from the list, then reads open; the targets keep their
// levels.
void scriptStart(Engine& e, std::initializer_list<bool> readings) {
    auto left = std::make_shared<std::deque<bool>>(readings);
    e.lines.script = [&e, left](Input line, int) {
        if (line == Input::Cts) {
            return e.lines.cts;
        }
        if (line == Input::Dsr) {
            return e.lines.dsr;
        }
        if (left->empty()) {
            return false;
        }
        const bool on = left->front();
        left->pop_front();
        return on;
    };
}

TEST(PollingLoop, QueriesTheLinesInTheirOrderEachPass) {
    const struct {
        RaceState state;
        Queries queries;
    } cases[] = {
        {RaceState{}, Queries{S, C, D, C, D, S}},
        {stateWith([](RaceState& s) { s.startSignals = 2; }), Queries{S, S, C, D, C, D, S}},
        {stateWith([](RaceState& s) {
             s.lane1Hits = s.lane2Hits = 1;
             s.finishTarget = 3;
         }),
         Queries{S, C, D, S}},
    };
    for (const auto& c : cases) {
        Engine e(c.state);
        e.passes(1);
        EXPECT_EQ(e.lines.queriedLines(), c.queries) << "start signals " << c.state.startSignals;
    }
}

TEST(PollingLoop, AStartContactForOnePassStartsTheRaceWithOnePulse) {
    Engine e;
    e.time.us = 10'000'000;
    scriptStart(e, {true});
    e.passes(1);
    EXPECT_EQ(e.race.state().raceState, 1);
    EXPECT_EQ(e.race.state().startTick, 10'000);
    EXPECT_EQ(e.race.state().startSignals, 1);
    EXPECT_FALSE(e.window.butStartEnabled);
    EXPECT_TRUE(e.window.butStopEnabled);
    EXPECT_EQ(e.pulseLengths(Output::Break), std::vector<std::int64_t>{1'000'200});
    // The first running time shown already holds the whole start pulse.
    EXPECT_EQ(e.window.runningTime, QStringLiteral("00:00:01:000"));
    e.passes(2);
    EXPECT_EQ(e.window.runningTime, QStringLiteral("00:00:01:002"));
    EXPECT_EQ(e.race.state().startSignals, 1);
    EXPECT_EQ(e.logBytes(), QByteArray());
}

TEST(PollingLoop, AHeldStartContactRepeatsThenAnnulsAndStartsAgain) {
    Engine e;
    e.lines.dcd = true;
    e.passes(1);
    const std::int32_t firstStart = e.race.state().startTick;
    e.passes(1);
    EXPECT_EQ(e.race.state().startSignals, 2);
    EXPECT_EQ(e.race.state().startTick, firstStart) << "a repeated signal keeps the start time";
    e.passes(1);
    EXPECT_EQ(e.race.state().startSignals, 1);
    EXPECT_EQ(e.race.state().raceState, 1);
    EXPECT_GT(e.race.state().startTick, firstStart);
    EXPECT_EQ(e.window.laneTimes[1], QStringLiteral("Start anulován"));
    EXPECT_EQ(e.window.laneTimes[2], QStringLiteral("Start anulován"));
    EXPECT_EQ(e.logBytes(), QByteArray(" Start anulovan \r\n"));
    // Start, start, stop (the annulment), start (the new race).
    std::vector<Output> order;
    for (const auto& t : e.lines.outputs) {
        if (t.on) {
            order.push_back(t.line);
        }
    }
    EXPECT_EQ(order,
              (std::vector<Output>{Output::Break, Output::Break, Output::Dtr, Output::Break}));
    EXPECT_EQ(e.pulseLengths(Output::Break), (std::vector<std::int64_t>(3, 1'000'200)));
    EXPECT_EQ(e.pulseLengths(Output::Dtr), std::vector<std::int64_t>{1'000'200});
    e.passes(2);
    EXPECT_EQ(e.logBytes(), QByteArray(" Start anulovan \r\n Start anulovan \r\n"));
}

TEST(PollingLoop, ThreeShortClosuresAnnulWithoutANewStart) {
    Engine e;
    // Per pass: the annul test (only at count 2), the start test, the mirror.
    scriptStart(e, {true, false, /**/ false, false, /**/ true, false, /**/ false, false, false,
                    /**/ true, false, false});
    e.passes(4);
    EXPECT_EQ(e.race.state().startSignals, 2);
    e.passes(1);
    EXPECT_EQ(e.race.state().raceState, 0);
    EXPECT_EQ(e.race.state().startSignals, 0);
    EXPECT_TRUE(e.window.butStartEnabled);
    EXPECT_FALSE(e.window.butStopEnabled);
    EXPECT_EQ(e.logBytes(), QByteArray(" Start anulovan \r\n"));
    EXPECT_EQ(e.pulseLengths(Output::Break).size(), 2U);
    EXPECT_EQ(e.pulseLengths(Output::Dtr), std::vector<std::int64_t>{1'000'200});
}

TEST(PollingLoop, OffThenOnAtCountTwoMakesThreeAndTheContactCanNoLongerAnnul) {
    Engine e(stateWith([](RaceState& s) { s.startSignals = 2; }));
    scriptStart(e, {false, true, false});
    e.passes(1);
    EXPECT_EQ(e.race.state().startSignals, 3);
    EXPECT_EQ(e.race.state().raceState, 1);
    e.lines.script = nullptr;
    e.lines.dcd = true;
    e.passes(3);
    EXPECT_EQ(e.race.state().startSignals, 6);
    EXPECT_EQ(e.logBytes(), QByteArray());
    EXPECT_TRUE(e.pulseLengths(Output::Dtr).empty());
}

TEST(PollingLoop, EachLaneIsTimedOnceAndBothEndTheRace) {
    Engine e;
    scriptStart(e, {true});
    e.passes(1); // the race starts at 0; its pulse lasts to 1000.2 ms
    e.passes(5);
    e.lines.cts = true;
    e.passes(1);
    EXPECT_EQ(e.window.laneTimes[1], QStringLiteral("00:00:01:006"));
    EXPECT_EQ(e.race.state().lane1Hits, 1);
    e.window.laneTimes[1].clear();
    e.passes(3); // the target stays closed: no second time
    EXPECT_EQ(e.window.laneTimes[1], QString());
    EXPECT_EQ(e.race.state().raceState, 1);

    e.lines.dsr = true;
    e.passes(1);
    EXPECT_EQ(e.window.laneTimes[2], QStringLiteral("00:00:01:010"));
    EXPECT_EQ(e.window.runningTime, QStringLiteral("00:00:01:010"));
    EXPECT_EQ(e.race.state().raceState, 0);
    EXPECT_EQ(e.race.state().finishTarget, 3);
    EXPECT_TRUE(e.window.butStartEnabled);
    EXPECT_FALSE(e.window.butStopEnabled);
    EXPECT_EQ(e.pulseLengths(Output::Dtr), std::vector<std::int64_t>{1'000'200});
    EXPECT_EQ(e.logBytes(),
              QByteArray(" dr\xE1ha c.1 00:00:01:006\r\n dr\xE1ha c.2 00:00:01:010\r\n"));

    // Finished: the running time stands, no lane is timed until the lanes are armed.
    e.passes(5);
    EXPECT_EQ(e.window.runningTime, QStringLiteral("00:00:01:010"));
    EXPECT_EQ(e.pulseLengths(Output::Dtr).size(), 1U);
    EXPECT_EQ(e.logBytes().count('\n'), 2);
}

TEST(PollingLoop, BothTargetsInOnePassLogLaneOneFirstAndFinishInThatPass) {
    Engine e;
    scriptStart(e, {true});
    e.passes(1);
    e.lines.dsr = true;
    e.lines.cts = true;
    e.passes(1);
    EXPECT_EQ(e.logBytes(),
              QByteArray(" dr\xE1ha c.1 00:00:01:001\r\n dr\xE1ha c.2 00:00:01:001\r\n"));
    EXPECT_EQ(e.race.state().raceState, 0);
    EXPECT_EQ(e.race.state().finishTarget, 3);
}

TEST(PollingLoop, ALaneBeforeAnyStartIsTimedFromTheClocksOwnValue) {
    Engine e;
    e.time.millisOffset = 45'296'789;
    e.lines.cts = true;
    e.passes(1);
    EXPECT_EQ(e.window.laneTimes[1], QStringLiteral("12:34:56:789"));
    e.lines.dsr = true;
    e.passes(1);
    // Both lanes timed with no race: the finish steps run all the same.
    EXPECT_EQ(e.race.state().finishTarget, 3);
    EXPECT_EQ(e.pulseLengths(Output::Dtr).size(), 1U);
    EXPECT_TRUE(e.window.butStartEnabled);
    EXPECT_FALSE(e.window.butStopEnabled);
}

TEST(PollingLoop, AStartAfterAFinishWithoutArmingTimesNoLane) {
    Engine e;
    scriptStart(e, {true});
    e.passes(1);
    e.lines.cts = e.lines.dsr = true;
    e.passes(1);
    ASSERT_EQ(e.race.state().finishTarget, 3);
    e.lines.cts = e.lines.dsr = false;
    scriptStart(e, {true});
    e.passes(1);
    EXPECT_EQ(e.race.state().raceState, 1);
    EXPECT_EQ(e.race.state().startSignals, 2) << "a finish does not clear the start count";
    e.lines.cts = e.lines.dsr = true;
    e.passes(3);
    EXPECT_EQ(e.logBytes().count('\n'), 2);
    EXPECT_EQ(e.race.state().raceState, 1);
    // The next start signal annuls.
    e.lines.cts = e.lines.dsr = false;
    scriptStart(e, {true, false});
    e.passes(1);
    EXPECT_EQ(e.race.state().raceState, 0);
    EXPECT_TRUE(e.logBytes().endsWith(" Start anulovan \r\n"));
}

TEST(PollingLoop, TheWallClockGetsALeadingZeroAndIsWrittenOnlyWhenItChanges) {
    Engine e;
    QStringList readings;
    e.timeOfDay.text = [&] {
        return readings.isEmpty() ? QStringLiteral("?") : readings.takeFirst();
    };
    const struct {
        QString first, second, shown;
        int writes;
    } passes[] = {
        {QStringLiteral("9:05:07"), QStringLiteral("9:05:07"), QStringLiteral("09:05:07"), 1},
        {QStringLiteral("9:05:07"), QStringLiteral("9:05:07"), QStringLiteral("09:05:07"), 1},
        {QStringLiteral("14:05:07"), QStringLiteral("14:05:07"), QStringLiteral("14:05:07"), 2},
        // The hour changes between the two readings: the length of the second one decides.
        {QStringLiteral("9:59:59"), QStringLiteral("10:00:00"), QStringLiteral("9:59:59"), 3},
        {QStringLiteral("10:00:00"), QStringLiteral("10:00:00"), QStringLiteral("10:00:00"), 4},
    };
    for (const auto& p : passes) {
        readings = {p.first, p.second};
        e.passes(1);
        EXPECT_EQ(e.window.clock, p.shown) << p.first.toStdString();
        EXPECT_EQ(e.window.clockWrites, p.writes) << p.first.toStdString();
    }
}

TEST(PollingLoop, TheSensorDisplaysMirrorTheLinesAfterThePause) {
    Engine e(stateWith([](RaceState& s) { s.lane1Hits = 1; })); // keeps lane 1 from being timed
    e.lines.cts = true;
    e.pause.hook = [&] { e.lines.dcd = true; };
    e.passes(1);
    EXPECT_EQ(e.window.sensors, (std::array<bool, 4>{false, true, false, true}));
    EXPECT_EQ(e.race.state().raceState, 0) << "the contact closed after the start test";
}

TEST(PollingLoopWithoutPort, TheClockRunsButNoContactCounts) {
    Engine e;
    e.race.closeDown();
    e.lines.dcd = e.lines.cts = e.lines.dsr = true;
    e.passes(50);
    EXPECT_EQ(e.race.state().raceState, 0);
    EXPECT_EQ(e.window.sensors, (std::array<bool, 4>{}));
    EXPECT_EQ(e.window.clock, QStringLiteral("09:05:07"));
    EXPECT_EQ(e.logBytes(), QByteArray());
    // A race started by hand still shows its time; its pulse changes no line.
    e.lines.forget();
    e.race.startByHand();
    e.passes(10);
    EXPECT_EQ(e.window.runningTime, QStringLiteral("00:00:01:009"));
    EXPECT_TRUE(e.lines.outputs.empty());
}

} // namespace
