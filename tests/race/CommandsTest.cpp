#include "tests/support/Engine.h"
#include "tests/support/Printers.h"
#include "tests/support/RunningTime.h"

#include <gtest/gtest.h>

namespace {

// A race that runs with lane 1 timed and two start signals counted: what each command does
// to it, and to the race after it.
RaceState midRace() {
    return stateWith([](RaceState& s) {
        s.raceState = 1;
        s.startSignals = 2;
        s.lane1Hits = 1;
    });
}

// The stop line takes its running time when the file opens; the disqualification is written
// after its stop pulse, the annulment and the stop line before theirs.
TEST(Commands, EachCommandLeavesTheRaceAndTheNextOneAsItShould) {
    const QString annulled = QStringLiteral("Start anulován");
    const QString disqualified = QStringLiteral("diskvalifikace");
    const struct Case {
        const char* name;
        void (Race::*command)();
        QByteArray log; // what it writes, at 1.234 s into the race
        bool logBeforeStop;
        int stops, resets, starts;
        QString lanes; // what both lanes' boxes show afterwards
        std::int16_t raceState, startSignals;
        bool armed;
        bool nextStartAnnuls; // a start contact right after it annuls instead of starting
    } cases[] = {
        {"stop", &Race::stopByHand, "STOP ZAVODU TLACITKEM 00:00:01:234\r\n", true, 1, 0, 0, "", 0,
         0, true, false},
        {"disqualify", &Race::disqualify, " Diskvalifikace \r\n", false, 1, 0, 0, disqualified, 0,
         0, true, false},
        {"clear lanes", &Race::clearLanes, "", false, 0, 0, 0, " ", 1, 0, true, false},
        {"annul", &Race::anulovan, " Start anulovan \r\n", true, 1, 0, 0, annulled, 0, 0, true,
         false},
        {"reset", &Race::resetStopwatches, "", false, 0, 1, 0, "", 1, 2, false, true},
        {"start by hand", &Race::startByHand, "", false, 0, 0, 1, "", 1, 2, false, true},
        {"save the team", &Race::saveTeam, "SDH \x8E\xEF\xE1r\r\n", false, 0, 0, 0, "", 1, 2, false,
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Engine e(midRace());
        e.time.millisOffset = 1234; // the race started at 0
        e.window.team = QStringLiteral("SDH Žďár");
        QByteArray atStop;
        e.lines.onOutput = [&](const FakeLines::Transition& t) {
            if (t.line == Output::Dtr && t.on) {
                atStop = e.logBytes();
            }
        };
        e.during([&] { (e.race.*c.command)(); });
        e.lines.onOutput = nullptr;
        EXPECT_EQ(e.logBytes(), c.log);
        EXPECT_EQ(atStop, c.logBeforeStop ? c.log : QByteArray());
        EXPECT_EQ(e.lines.pulses(Output::Dtr).size(), static_cast<std::size_t>(c.stops));
        EXPECT_EQ(e.lines.pulses(Output::Rts).size(), static_cast<std::size_t>(c.resets));
        EXPECT_EQ(e.lines.pulses(Output::Break).size(), static_cast<std::size_t>(c.starts));
        EXPECT_EQ(e.window.laneTimes[1], c.lanes);
        EXPECT_EQ(e.window.laneTimes[2], c.lanes);
        EXPECT_EQ(e.race.state().raceState, c.raceState);
        EXPECT_EQ(e.race.state().startSignals, c.startSignals);
        EXPECT_EQ(e.race.state().startTick, 0) << "a start in a race only pulses";
        EXPECT_EQ(e.race.state().lanesArmed(), c.armed);
        EXPECT_EQ(e.window.butStopEnabled, c.raceState == 1);

        // The next race: the start contact, then both targets.
        const QByteArray before = e.logBytes();
        e.pulseLine(&FakeLines::dcd);
        if (c.nextStartAnnuls) {
            EXPECT_EQ(e.logBytes().mid(before.size()), QByteArray(" Start anulovan \r\n"));
            continue;
        }
        EXPECT_EQ(e.race.state().startSignals, 1);
        EXPECT_EQ(e.race.state().raceState, 1);
        e.lines.cts = e.lines.dsr = true;
        e.passes(2);
        EXPECT_EQ(e.logBytes().mid(before.size()).count("dr\xE1ha c."), 2) << "both lanes timed";
        EXPECT_EQ(e.race.state().raceState, 0);
    }
}

TEST(Commands, AStartByHandStartsTheClockButCountsNoStartSignal) {
    Engine e;
    e.time.us = 7'000'000;
    e.during([&] { e.race.startByHand(); });
    EXPECT_EQ(e.race.state().raceState, 1);
    EXPECT_EQ(e.race.state().startTick, 7000);
    EXPECT_EQ(e.race.state().startSignals, 0);
    EXPECT_FALSE(e.window.butStartEnabled);
    EXPECT_TRUE(e.window.butStopEnabled);
}

TEST(Commands, AnnullingTwiceLogsTwiceAndLeavesTheSameState) {
    Engine e(midRace());
    e.race.anulovan();
    e.race.anulovan();
    EXPECT_EQ(e.logBytes(), QByteArray(" Start anulovan \r\n Start anulovan \r\n"));
    EXPECT_EQ(e.lines.pulses(Output::Dtr).size(), 2U);
    EXPECT_EQ(e.race.state().raceState, 0);
    EXPECT_TRUE(e.race.state().lanesArmed());
    EXPECT_EQ(e.window.runningTime, QStringLiteral("00:00:00:000")) << "no pass ran";
}

TEST(Commands, APortChangeDropsTheOutputsAndEndsTheRaceButKeepsItsButtons) {
    Engine e(midRace());
    e.passes(1);
    const QString shown = e.window.runningTime;
    e.window.butStartEnabled = false;
    e.lines.busy.insert(QStringLiteral("COM1"));
    EXPECT_EQ(e.race.changePort(QStringLiteral("COM1"), QStringLiteral("COM1 OBSAZEN")), 0);
    EXPECT_EQ(e.window.messages, QStringList{QStringLiteral("COM1 OBSAZEN")});
    EXPECT_EQ(e.race.state().raceState, 0);
    EXPECT_EQ(e.race.state().startSignals, 2) << "counts until the loop is entered again";
    EXPECT_FALSE(e.window.butStartEnabled) << "no command enables it again";
    e.passes(5);
    EXPECT_EQ(e.window.runningTime, shown) << "the running time is no longer refreshed";
    EXPECT_EQ(e.race.state().lane1Hits, 1);
    EXPECT_EQ(e.race.changePort(QStringLiteral("COM2"), QStringLiteral("COM2 OBSAZEN")), 1);
    EXPECT_EQ(e.window.messages.size(), 1);
    EXPECT_EQ(e.logBytes(), QByteArray());
    EXPECT_TRUE(e.lines.pulses(Output::Dtr).empty());

    // The stop button still logs the time since that race's start, and pulses.
    const std::int64_t stoppedAt = e.time.us / 1000;
    e.race.stopByHand();
    EXPECT_EQ(e.logBytes(), "STOP ZAVODU TLACITKEM " + runningTime(stoppedAt).toLatin1() + "\r\n");
    EXPECT_EQ(e.lines.pulses(Output::Dtr).size(), 1U);
}

} // namespace
