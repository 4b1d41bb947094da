#include "tests/support/Engine.h"
#include "tests/support/Printers.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

// The machine stalls the pass of the next pause for 9 ms.
void stallNextPause(Engine& e) {
    e.pause.hook = [&e] {
        e.pause.hook = nullptr;
        e.time.advance(9'000);
    };
}

RaceState running() {
    return stateWith([](RaceState& s) { s.raceState = 1; });
}

TEST(PollingLoop, TheLinesAreReadOnceAMillisecondWhateverThePassDoes) {
    Engine e;
    e.pulseLine(&FakeLines::dcd); // a start: the pass holds the loop for a second
    e.passes(3);
    ASSERT_EQ(e.lines.pulses(Output::Break).size(), 1U);
    std::vector<std::int64_t> expected;
    for (std::int64_t ms = 1; ms * 1000 <= e.time.us; ++ms) {
        expected.push_back(ms * 1000);
    }
    EXPECT_EQ(e.lines.reads, expected);
}

// A start contact closed for one pass starts the race with one pulse; a second closure only
// counts, the third annuls without a new start.
TEST(PollingLoop, ShortStartClosuresStartCountAndAnnulOnTheThird) {
    Engine e;
    e.time.us = 10'000'000;
    e.pulseLine(&FakeLines::dcd); // read closed at 10 001 ms
    EXPECT_EQ(e.race.state().raceState, 1);
    EXPECT_EQ(e.race.state().startTick, 10'001);
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

    e.pulseLine(&FakeLines::dcd);
    EXPECT_EQ(e.race.state().startSignals, 2);
    EXPECT_EQ(e.race.state().startTick, 10'001);
    e.pulseLine(&FakeLines::dcd);
    EXPECT_EQ(e.race.state().raceState, 0);
    EXPECT_EQ(e.race.state().startSignals, 0);
    EXPECT_TRUE(e.window.butStartEnabled);
    EXPECT_FALSE(e.window.butStopEnabled);
    EXPECT_EQ(e.logBytes(), QByteArray(" Start anulovan \r\n"));
    EXPECT_EQ(e.pulseLengths(Output::Break).size(), 2U);
    EXPECT_EQ(e.pulseLengths(Output::Dtr), std::vector<std::int64_t>{1'000'200});
}

TEST(PollingLoop, AHeldStartContactRepeatsThenAnnulsAndStartsAgain) {
    Engine e;
    e.lines.dcd = true;
    e.passes(2);
    EXPECT_EQ(e.race.state().startTick, 1);
    e.passes(1);
    EXPECT_EQ(e.race.state().startSignals, 2);
    EXPECT_EQ(e.race.state().startTick, 1) << "a repeated signal keeps the start time";
    e.passes(1);
    EXPECT_EQ(e.race.state().startSignals, 1);
    EXPECT_EQ(e.race.state().raceState, 1);
    // Still the closure seen before: the new race starts when the annulment's stop pulse is
    // done (two start pulses, two pauses and a stop pulse after 1 ms), not where it closed.
    EXPECT_EQ(e.race.state().startTick, 3003);
    EXPECT_EQ(e.logBytes(), QByteArray(" Start anulovan \r\n"));
    // Start, a pause, start, a pause, stop (the annulment) and at once start (the new race).
    using Pulses = std::vector<std::pair<std::int64_t, std::int64_t>>;
    EXPECT_EQ(e.lines.pulses(Output::Break),
              (Pulses{{1000, 1'001'200}, {1'002'200, 2'002'400}, {3'003'600, 4'003'800}}));
    EXPECT_EQ(e.lines.pulses(Output::Dtr), (Pulses{{2'003'400, 3'003'600}}));
    e.passes(2);
    EXPECT_EQ(e.logBytes(), QByteArray(" Start anulovan \r\n Start anulovan \r\n"));
}

// However the two lanes are timed, each once, the second one finishes: one stop pulse, the
// start button enabled again and the running time left standing, and no lane is timed again
// until the lanes are armed, not even in a new race. Before any start a lane's time is the
// clock's own value.
TEST(PollingLoop, EachLaneIsTimedOnceAndBothFinish) {
    const struct {
        const char* name;
        bool started; // by the start contact, read closed at 1 ms
        std::uint32_t millisOffset;
        std::int64_t lane1At, lane2At; // when each target closes, for good
        const char *lane1, *lane2, *running;
    } rows[] = {
        {"one after the other", true, 0, 1'500'300, 1'700'000, "00:00:01:500", "00:00:01:699",
         "00:00:01:699"},
        {"both in one read, lane 1 first", true, 0, 1'002'500, 1'002'500, "00:00:01:002",
         "00:00:01:002", "00:00:01:002"},
        {"before any start", false, 45'296'789, 0, 1'500, "12:34:56:790", "12:34:56:791",
         "00:00:00:000"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Engine e;
        e.time.millisOffset = row.millisOffset;
        if (row.started) {
            e.pulseLine(&FakeLines::dcd);
        }
        e.at(row.lane1At, [&e] { e.lines.cts = true; });
        e.at(row.lane2At, [&e] { e.lines.dsr = true; });
        e.passes(1000);
        EXPECT_EQ(e.window.laneTimes[1], QString::fromLatin1(row.lane1));
        EXPECT_EQ(e.window.laneTimes[2], QString::fromLatin1(row.lane2));
        EXPECT_EQ(e.window.runningTime, QString::fromLatin1(row.running));
        EXPECT_EQ(e.race.state().raceState, 0);
        EXPECT_EQ(e.race.state().finishTarget, 3);
        EXPECT_TRUE(e.window.butStartEnabled);
        EXPECT_FALSE(e.window.butStopEnabled);
        EXPECT_EQ(e.pulseLengths(Output::Dtr), std::vector<std::int64_t>{1'000'200});
        EXPECT_EQ(e.logBytes(), " dr\xE1ha c.1 " + QByteArray(row.lane1) + "\r\n dr\xE1ha c.2 " +
                                    row.lane2 + "\r\n");
        if (row.started) {
            // A start after the finish times no lane, and the count goes on: the third annuls.
            e.pulseLine(&FakeLines::dcd);
            EXPECT_EQ(e.race.state().raceState, 1);
            EXPECT_EQ(e.race.state().startSignals, 2) << "a finish does not clear the start count";
            e.passes(3);
            EXPECT_EQ(e.logBytes().count('\n'), 2);
            e.lines.cts = e.lines.dsr = false;
            e.pulseLine(&FakeLines::dcd);
            EXPECT_EQ(e.race.state().raceState, 0);
            EXPECT_TRUE(e.logBytes().endsWith(" Start anulovan \r\n"));
        }
    }
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

TEST(PollingLoop, TheSensorDisplaysMirrorAFreshReadingAfterThePause) {
    Engine e(stateWith([](RaceState& s) { s.lane1Hits = 1; })); // keeps lane 1 from being timed
    e.lines.cts = true;
    e.at(500, [&e] { e.lines.dcd = true; }); // after the pass has taken its reading
    e.passes(1);
    EXPECT_EQ(e.window.sensors, (std::array<bool, 4>{false, true, false, true}));
    EXPECT_EQ(e.race.state().raceState, 0) << "the contact closed after the pass's reading";
}

QString silentPort() {
    return QStringLiteral("Port COM2 neodpovídá: čtení kontaktů vázne déle než 250 ms (kabel, "
                          "rozbočovač bez napájení, rušení). Dokud neodpovídá, kontakty se "
                          "nečtou a nic se neměří; časy z té doby berte ze stopek.");
}

QString pulledOut() {
    return QStringLiteral("Port COM2 přestal odpovídat – převodník byl nejspíš odpojen. Dokud "
                          "neodpovídá, kontakty se nečtou a nic se neměří.\nZapojte převodník "
                          "zpět a vyberte port znovu tlačítkem COM2.");
}

QString late(const char* what, int ms) {
    return QStringLiteral("Port COM2 neodpovídal %1 ms a %2 byl zachycen až po této přestávce: "
                          "může být až o %1 ms pozdě. Rozhodčí mohou vzít čas ze stopek.")
        .arg(ms)
        .arg(QString::fromUtf8(what));
}

// Each start and lane time is taken at the millisecond the sampler first read its contact
// closed, however late the loop gets to it; a closure the loop saw while it could not act on it,
// or one already there when the port opened, has no known moment and is timed when the loop
// acts on it. Only what the port has just confirmed is acted on: a read that hangs (from 100 ms
// on, unless a row says otherwise) or fails leaves the loop with no reading, so no start,
// annulment, lane or pulse comes from the last one. A closure first read after a silence is
// timed at that read and told with its length.
TEST(PollingLoop, ATimeIsTakenWhereItsContactClosedAndOnlyWhatThePortConfirmedCounts) {
    const struct Row {
        const char* name;
        RaceState initial;
        std::function<void(Engine&)> play; // then 3000 passes
        QByteArray log;
        QStringList notices;
        std::int32_t startTick;
        int startPulses, stopPulses;
        QString result; // where the running time stops when both lanes finish
    } rows[] = {
        {"a target closing while a pass is held up",
         running(),
         [](Engine& e) {
             e.at(4'000, [&e] { e.lines.cts = true; });
             stallNextPause(e);
         },
         " dr\xE1ha c.1 00:00:00:004\r\n",
         {},
         0,
         0,
         0,
         QString()},
        {"a target closing during a pulse",
         running(),
         [](Engine& e) {
             e.at(400'000, [&e] { e.lines.cts = true; });
             e.during([&e] { e.race.resetStopwatches(); }, 0);
         },
         " dr\xE1ha c.1 00:00:00:400\r\n",
         {},
         0,
         0,
         0,
         QString()},
        {"a target held closed before its lane was armed",
         stateWith([](RaceState& s) {
             s.raceState = 1;
             s.lane1Hits = 1;
         }),
         [](Engine& e) {
             e.lines.cts = true;
             e.passes(2);
             e.time.advance(7'000);
             e.during([&e] { e.race.clearLanes(); }, 0);
         },
         " dr\xE1ha c.1 00:00:00:010\r\n",
         {},
         0,
         0,
         0,
         QString()},
        {"the start contact closing while a pass is held up",
         RaceState{},
         [](Engine& e) {
             e.at(3'000, [&e] { e.lines.dcd = true; });
             e.at(500'000, [&e] { e.lines.dcd = false; });
             stallNextPause(e);
         },
         "",
         {},
         3,
         1,
         0,
         QString()},
        {"the start contact's read hangs 2.5 s, then fails once",
         RaceState{},
         [](Engine& e) {
             e.at(10'000, [&e] { e.lines.dcd = true; });
             e.at(310'000, [&e] { e.lines.dcd = false; });
             e.hangRead(70'000, 2'570'000, true);
         },
         "",
         {silentPort()},
         10,
         1,
         0,
         QString()},
        {"a lane closes while the read hangs, then both lanes finish",
         running(),
         [](Engine& e) {
             e.at(200'000, [&e] { e.lines.cts = true; });
             e.at(600'000, [&e] { e.lines.dsr = true; });
             e.hangRead(100'000, 400'000);
         },
         " dr\xE1ha c.1 00:00:00:400\r\n dr\xE1ha c.2 00:00:00:600\r\n",
         {silentPort(), late("cíl dráhy č.1 (00:00:00:400)", 301)},
         0,
         0,
         1,
         QStringLiteral("00:00:00:600")},
        {"a hang shorter than the notice, held closed through it",
         running(),
         [](Engine& e) {
             e.at(50'000, [&e] { e.lines.cts = true; });
             e.hangRead(60'000, 200'000);
             e.at(1'000'000, [&e] { e.lines.dsr = true; });
         },
         " dr\xE1ha c.1 00:00:00:050\r\n dr\xE1ha c.2 00:00:01:000\r\n",
         {},
         0,
         0,
         1,
         QStringLiteral("00:00:01:000")},
        {"the start closes during the hang",
         RaceState{},
         [](Engine& e) {
             e.at(50'000, [&e] { e.lines.dcd = true; });
             e.at(70'000, [&e] { e.lines.dcd = false; });
             e.hangRead(40'000, 60'000);
         },
         "",
         {late("start", 21)},
         60,
         1,
         0,
         QString()},
        {"single failed reads",
         running(),
         [](Engine& e) {
             e.lines.cts = true;
             for (const std::int64_t us : {3'000, 8'000, 20'000}) {
                 e.at(us, [&e] { e.lines.unplugged = true; });
                 e.at(us + 1'000, [&e] { e.lines.unplugged = false; });
             }
         },
         " dr\xE1ha c.1 00:00:00:001\r\n",
         {},
         0,
         0,
         0,
         QString()},
        {"an adapter pulled out, the target closed when the port opened",
         running(),
         [](Engine& e) {
             e.lines.cts = true;
             e.lines.unplugged = true;
             e.at(30'000, [&e] { e.lines.unplugged = false; });
         },
         " dr\xE1ha c.1 00:00:00:030\r\n",
         {pulledOut(), late("cíl dráhy č.1 (00:00:00:030)", 30)},
         0,
         0,
         0,
         QString()},
        {"a target closed when the port opened, the pass held up",
         running(),
         [](Engine& e) {
             e.lines.cts = true;
             stallNextPause(e);
         },
         " dr\xE1ha c.1 00:00:00:010\r\n",
         {},
         0,
         0,
         0,
         QString()},
        {"a lane read before the start",
         RaceState{},
         [](Engine& e) {
             e.at(2'000, [&e] { e.lines.cts = true; });
             e.at(4'000, [&e] { e.lines.dcd = true; });
             e.at(500'000, [&e] { e.lines.dcd = false; });
             stallNextPause(e);
         },
         " dr\xE1ha c.1 00:00:00:000\r\n",
         {},
         4,
         1,
         0,
         QString()},
        {"a lane closing during a pulse finishes the race",
         running(),
         [](Engine& e) {
             e.at(5'000, [&e] { e.lines.cts = true; });
             e.at(400'000, [&e] { e.lines.dsr = true; });
             e.during([&e] { e.race.resetStopwatches(); }, 0);
         },
         " dr\xE1ha c.1 00:00:00:005\r\n dr\xE1ha c.2 00:00:00:400\r\n",
         {},
         0,
         0,
         1,
         QStringLiteral("00:00:00:400")},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Engine e(row.initial);
        row.play(e);
        e.passes(3000);
        EXPECT_EQ(e.logBytes(), row.log);
        EXPECT_EQ(e.window.notices, row.notices);
        EXPECT_EQ(e.race.state().startTick, row.startTick);
        EXPECT_EQ(e.pulseLengths(Output::Break).size(), static_cast<std::size_t>(row.startPulses));
        EXPECT_EQ(e.pulseLengths(Output::Dtr).size(), static_cast<std::size_t>(row.stopPulses));
        if (!row.result.isEmpty()) {
            EXPECT_EQ(e.window.runningTime, row.result) << "the clock stops on the result";
            EXPECT_EQ(e.window.laneTimes[2], row.result);
        }
        EXPECT_EQ(e.window.messages, QStringList());
    }
}

// While the port gives no reading the contacts show open, and the operator hears of an outage
// once, again only after reads have worked in between.
TEST(PollingLoop, AnOutageShowsTheContactsOpenAndIsToldOncePerOutage) {
    Engine e(stateWith([](RaceState& s) { s.lane1Hits = 1; }));
    e.lines.cts = true;
    e.passes(5);
    EXPECT_TRUE(e.window.sensors[1]);
    e.lines.unplugged = true;
    e.passes(20);
    EXPECT_EQ(e.window.sensors, (std::array<bool, 4>{}));
    e.lines.unplugged = false;
    e.hangRead(e.time.us + 5'000, e.time.us + 400'000); // reads answer in between
    e.passes(300);
    EXPECT_EQ(e.window.sensors, (std::array<bool, 4>{}));
    e.passes(200);
    EXPECT_TRUE(e.window.sensors[1]);
    EXPECT_EQ(e.window.notices, (QStringList{pulledOut(), silentPort()}));
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
