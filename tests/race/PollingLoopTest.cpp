#include "tests/support/RunningWindow.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <deque>

namespace {

using Queries = std::vector<Input>;
constexpr auto C = Input::Cts;
constexpr auto D = Input::Dsr;
constexpr auto S = Input::Dcd; // the referee's start contact

class PollingLoop : public RunningWindow {
protected:
    std::deque<bool> dcdReadings; // one per query of the start line; off when used up

    // The start line answers each query from the list; the targets keep their levels.
    void scriptStart(std::initializer_list<bool> readings) {
        dcdReadings.assign(readings);
        rig.lines.script = [this](Input line, int) {
            if (line == Input::Cts) {
                return rig.lines.cts;
            }
            if (line == Input::Dsr) {
                return rig.lines.dsr;
            }
            if (dcdReadings.empty()) {
                return false;
            }
            const bool on = dcdReadings.front();
            dcdReadings.pop_front();
            return on;
        };
    }
    std::vector<std::int64_t> pulseLengths(Output line) const {
        std::vector<std::int64_t> lengths;
        for (const auto& [up, down] : rig.lines.pulses(line)) {
            lengths.push_back(down - up);
        }
        return lengths;
    }
};

TEST_F(PollingLoop, QueriesTheLinesInTheirOrderEachPass) {
    rig.passes(1);
    EXPECT_EQ(rig.lines.queriedLines(), (Queries{S, C, D, C, D, S}));

    rig.lines.forget();
    state().startSignals = 2;
    rig.passes(1);
    EXPECT_EQ(rig.lines.queriedLines(), (Queries{S, S, C, D, C, D, S}));

    rig.lines.forget();
    state().startSignals = 0;
    state().lane1Hits = 1;
    state().lane2Hits = 1;
    state().finishTarget = 3;
    rig.passes(1);
    EXPECT_EQ(rig.lines.queriedLines(), (Queries{S, C, D, S}));
}

TEST_F(PollingLoop, AStartContactForOnePassStartsTheRaceWithOnePulse) {
    rig.time.us = 10'000'000;
    scriptStart({true});
    rig.passes(1);
    EXPECT_EQ(state().raceState, 1);
    EXPECT_EQ(state().startTick, 10'000);
    EXPECT_EQ(state().startSignals, 1);
    EXPECT_FALSE(form->ButStart->isEnabled());
    EXPECT_TRUE(form->ButStop->isEnabled());
    EXPECT_EQ(pulseLengths(Output::Break), std::vector<std::int64_t>{1'000'200});
    // The first running time shown already holds the whole start pulse.
    EXPECT_EQ(form->LblTimer->text(), QStringLiteral("00:00:01:000"));
    rig.passes(2);
    EXPECT_EQ(form->LblTimer->text(), QStringLiteral("00:00:01:002"));
    EXPECT_EQ(state().startSignals, 1);
    EXPECT_EQ(rig.log(), QByteArray());
}

TEST_F(PollingLoop, AHeldStartContactRepeatsThenAnnulsAndStartsAgain) {
    rig.lines.dcd = true;
    rig.passes(1);
    const std::int32_t firstStart = state().startTick;
    rig.passes(1);
    EXPECT_EQ(state().startSignals, 2);
    EXPECT_EQ(state().startTick, firstStart) << "a repeated signal does not restart the time";
    rig.passes(1);
    EXPECT_EQ(state().startSignals, 1);
    EXPECT_EQ(state().raceState, 1);
    EXPECT_GT(state().startTick, firstStart);
    EXPECT_EQ(form->Text2->text(), QStringLiteral("Start anulován"));
    EXPECT_EQ(form->Text3->text(), QStringLiteral("Start anulován"));
    EXPECT_EQ(rig.log(), QByteArray(" Start anulovan \r\n"));
    EXPECT_EQ(pulseLengths(Output::Break).size(), 3U);
    EXPECT_EQ(pulseLengths(Output::Dtr).size(), 1U);
    // Order of the outputs: start, start, stop (annulment), start (new race).
    std::vector<Output> order;
    for (const auto& t : rig.lines.outputs) {
        if (t.on) {
            order.push_back(t.line);
        }
    }
    EXPECT_EQ(order,
              (std::vector<Output>{Output::Break, Output::Break, Output::Dtr, Output::Break}));
    rig.passes(2);
    EXPECT_EQ(rig.log(), QByteArray(" Start anulovan \r\n Start anulovan \r\n"));
}

TEST_F(PollingLoop, ThreeShortClosuresAnnulWithoutANewStart) {
    // Per pass: a (only at count 2), b, i.
    scriptStart({true, false, /**/ false, false, /**/ true, false, /**/ false, false, false,
                 /**/ true, false, false});
    rig.passes(4);
    EXPECT_EQ(state().startSignals, 2);
    rig.passes(1);
    EXPECT_EQ(state().raceState, 0);
    EXPECT_EQ(state().startSignals, 0);
    EXPECT_TRUE(form->ButStart->isEnabled());
    EXPECT_FALSE(form->ButStop->isEnabled());
    EXPECT_EQ(rig.log(), QByteArray(" Start anulovan \r\n"));
    EXPECT_EQ(pulseLengths(Output::Break).size(), 2U);
    EXPECT_EQ(pulseLengths(Output::Dtr), std::vector<std::int64_t>{1'000'200});
}

TEST_F(PollingLoop, OffThenOnAtCountTwoMakesThreeAndTheContactCanNoLongerAnnul) {
    state().startSignals = 2;
    scriptStart({false, true, false});
    rig.passes(1);
    EXPECT_EQ(state().startSignals, 3);
    EXPECT_EQ(state().raceState, 1);
    rig.lines.script = nullptr;
    rig.lines.dcd = true;
    rig.passes(3);
    EXPECT_EQ(state().startSignals, 6);
    EXPECT_EQ(rig.log(), QByteArray());
    EXPECT_EQ(pulseLengths(Output::Dtr).size(), 0U);
}

TEST_F(PollingLoop, TheStartCountIsHeldAtItsLimitAndThePulseStillGoesOut) {
    state().startSignals = RaceState::startSignalsLimit;
    rig.lines.dcd = true;
    rig.passes(3);
    EXPECT_EQ(state().startSignals, 32767);
    EXPECT_EQ(pulseLengths(Output::Break).size(), 3U);
    EXPECT_EQ(rig.end.calls, 0);
}

TEST_F(PollingLoop, EachLaneIsTimedOnceAndBothEndTheRace) {
    scriptStart({true});
    rig.passes(1); // race starts at 0, pulse to 1000.2 ms
    rig.passes(5);
    rig.lines.cts = true;
    rig.passes(1);
    const QString lane1 = form->Text2->text();
    EXPECT_EQ(lane1, QStringLiteral("00:00:01:006"));
    EXPECT_EQ(state().lane1Hits, 1);
    rig.passes(3); // the target stays closed: no second time
    EXPECT_EQ(form->Text2->text(), lane1);
    EXPECT_EQ(state().raceState, 1);

    rig.lines.dsr = true;
    rig.passes(1);
    EXPECT_EQ(form->Text3->text(), QStringLiteral("00:00:01:010"));
    EXPECT_EQ(form->LblTimer->text(), QStringLiteral("00:00:01:010"));
    EXPECT_EQ(state().raceState, 0);
    EXPECT_EQ(state().finishTarget, 3);
    EXPECT_TRUE(form->ButStart->isEnabled());
    EXPECT_FALSE(form->ButStop->isEnabled());
    EXPECT_EQ(pulseLengths(Output::Dtr), std::vector<std::int64_t>{1'000'200});
    EXPECT_EQ(rig.log(),
              QByteArray(" dr\xE1ha c.1 00:00:01:006\r\n dr\xE1ha c.2 00:00:01:010\r\n"));

    // Finished: the timer label keeps its text, no lane is timed until the lanes are armed.
    rig.passes(5);
    EXPECT_EQ(form->LblTimer->text(), QStringLiteral("00:00:01:010"));
    EXPECT_EQ(pulseLengths(Output::Dtr).size(), 1U);
    EXPECT_EQ(rig.log().count('\n'), 2);
}

TEST_F(PollingLoop, BothTargetsInOnePassLogLaneOneFirstAndFinishInThatPass) {
    scriptStart({true});
    rig.passes(1);
    rig.lines.dsr = true;
    rig.lines.cts = true;
    rig.passes(1);
    EXPECT_EQ(rig.log(),
              QByteArray(" dr\xE1ha c.1 00:00:01:001\r\n dr\xE1ha c.2 00:00:01:001\r\n"));
    EXPECT_EQ(state().raceState, 0);
    EXPECT_EQ(state().finishTarget, 3);
}

TEST_F(PollingLoop, ALaneBeforeAnyStartIsTimedFromTheClocksOwnValue) {
    rig.time.millisOffset = 45'296'789 - static_cast<std::uint32_t>(rig.time.us / 1000);
    rig.lines.cts = true;
    rig.passes(1);
    EXPECT_EQ(form->Text2->text(), QStringLiteral("12:34:56:789"));
    rig.lines.dsr = true;
    rig.passes(1);
    // Both lanes timed with no race: the finish steps run all the same.
    EXPECT_EQ(state().finishTarget, 3);
    EXPECT_EQ(pulseLengths(Output::Dtr).size(), 1U);
    EXPECT_TRUE(form->ButStart->isEnabled());
    EXPECT_FALSE(form->ButStop->isEnabled());
}

TEST_F(PollingLoop, AStartAfterAFinishWithoutArmingTimesNoLane) {
    scriptStart({true});
    rig.passes(1);
    rig.lines.cts = rig.lines.dsr = true;
    rig.passes(1);
    ASSERT_EQ(state().finishTarget, 3);
    rig.lines.cts = rig.lines.dsr = false;
    scriptStart({true});
    rig.passes(1);
    EXPECT_EQ(state().raceState, 1);
    EXPECT_EQ(state().startSignals, 2) << "a finish does not clear the start count";
    rig.lines.cts = rig.lines.dsr = true;
    rig.passes(3);
    EXPECT_EQ(rig.log().count('\n'), 2);
    EXPECT_EQ(state().raceState, 1);
    // The next start signal annuls.
    rig.lines.cts = rig.lines.dsr = false;
    scriptStart({true, false});
    rig.passes(1);
    EXPECT_EQ(state().raceState, 0);
    EXPECT_TRUE(rig.log().endsWith(" Start anulovan \r\n"));
}

TEST_F(PollingLoop, TheWallClockGetsALeadingZeroAndIsWrittenOnlyWhenItChanges) {
    QStringList readings{QStringLiteral("9:05:07"), QStringLiteral("9:05:07")};
    rig.timeOfDay.text = [&] {
        return readings.isEmpty() ? QStringLiteral("?") : readings.takeFirst();
    };
    rig.passes(1);
    EXPECT_EQ(form->LblTime->text(), QStringLiteral("09:05:07"));
    EXPECT_EQ(state().lastClockText, QStringLiteral("09:05:07"));

    readings = {QStringLiteral("14:05:07"), QStringLiteral("14:05:07")};
    rig.passes(1);
    EXPECT_EQ(form->LblTime->text(), QStringLiteral("14:05:07"));

    // The hour changes between the two readings: the length of the second one decides.
    readings = {QStringLiteral("9:59:59"), QStringLiteral("10:00:00")};
    rig.passes(1);
    EXPECT_EQ(form->LblTime->text(), QStringLiteral("9:59:59"));
    readings = {QStringLiteral("10:00:00"), QStringLiteral("10:00:00")};
    rig.passes(1);
    EXPECT_EQ(form->LblTime->text(), QStringLiteral("10:00:00"));
}

TEST_F(PollingLoop, TheWallClockIsNotRewrittenWhileItStaysTheSame) {
    rig.timeOfDay.text = [] { return QStringLiteral("10:00:00"); };
    rig.passes(1);
    form->LblTime->setText(QStringLiteral("painted over"));
    rig.passes(3);
    EXPECT_EQ(form->LblTime->text(), QStringLiteral("painted over"));
}

TEST_F(PollingLoop, TheRunningTimeIsRightWhenTheClockPasses2To31And2To32) {
    for (const std::uint32_t startAt : {0x7FFFFFFFU - 300U, 0xFFFFFFFFU - 300U}) {
        state().raceState = 0;
        rig.time.millisOffset = startAt - static_cast<std::uint32_t>(rig.time.us / 1000);
        form->ButStart_Click();
        rig.passes(700);
        EXPECT_EQ(form->LblTimer->text(), QStringLiteral("00:00:01:699")) << startAt;
        rig.lines.cts = true;
        rig.passes(1);
        EXPECT_EQ(form->Text2->text(), QStringLiteral("00:00:01:700"));
        rig.lines.cts = false;
        form->Command4_Click();
    }
    EXPECT_EQ(rig.end.calls, 0);
}

TEST_F(PollingLoop, TheSensorBoxesMirrorTheLinesEveryPass) {
    rig.lines.cts = true;
    state().lane1Hits = 1; // keep the lane from being timed
    rig.passes(1);
    EXPECT_TRUE(form->Check1->isChecked());
    EXPECT_FALSE(form->Check2->isChecked());
    EXPECT_FALSE(form->Check3->isChecked());
    form->Check1->click(); // the operator's click lasts until the next pass
    form->Check3->click();
    EXPECT_FALSE(form->Check1->isChecked());
    EXPECT_TRUE(form->Check3->isChecked());
    rig.passes(1);
    EXPECT_TRUE(form->Check1->isChecked());
    EXPECT_FALSE(form->Check3->isChecked());
}

TEST_F(PollingLoop, AnnullingTwiceLogsTwiceAndLeavesTheSameState) {
    form->anulovan();
    const RaceState once = state();
    form->anulovan();
    EXPECT_EQ(rig.log(), QByteArray(" Start anulovan \r\n Start anulovan \r\n"));
    EXPECT_EQ(pulseLengths(Output::Dtr).size(), 2U);
    EXPECT_EQ(state().raceState, once.raceState);
    EXPECT_TRUE(state().lanesArmed());
    EXPECT_EQ(state().startSignals, 0);
    EXPECT_EQ(form->Text2->text(), QStringLiteral("Start anulován"));
    EXPECT_EQ(form->LblTimer->text(), QStringLiteral("00:00:00:000"));
}

TEST(PollingLoopWithoutPort, TheClockRunsButNoContactCounts) {
    Rig rig;
    rig.lines.present.clear();
    rig.lines.dcd = rig.lines.cts = rig.lines.dsr = true;
    Form1& form = rig.start();
    rig.passes(50);
    EXPECT_EQ(form.state().raceState, 0);
    EXPECT_FALSE(form.Check1->isChecked());
    EXPECT_FALSE(form.Check2->isChecked());
    EXPECT_FALSE(form.Check3->isChecked());
    EXPECT_EQ(form.LblTime->text(), QStringLiteral("09:05:07"));
    EXPECT_EQ(rig.log(), QByteArray());
    // A race started by hand still shows its time; its pulse changes no line.
    form.ButStart_Click();
    rig.passes(10);
    EXPECT_EQ(form.LblTimer->text(), QStringLiteral("00:00:01:009"));
    EXPECT_TRUE(rig.lines.outputs.empty());
}

TEST(PollSensors, TheTickEntersTheLoopAndAPortChangeRestartsItWithoutNesting) {
    Rig rig;
    Form1& form = rig.make();
    form.Form_Load();
    form.show();
    ASSERT_TRUE(form.StartTimer->isActive());
    RaceState& s = form.race().state();
    s.startSignals = 9;
    s.lane1Hits = 1;
    int sleeps = 0;
    int lanesArmedAtSleep4 = -1;
    rig.pause.hook = [&] {
        ++sleeps;
        if (sleeps == 1) {
            s.startSignals = 2;
            s.lane1Hits = 1;
            s.raceState = 1;
            Rig::click(form.Option1);
        } else if (sleeps == 2) {
            rig.tickIfDue();
        } else if (sleeps == 4) {
            lanesArmedAtSleep4 = s.lanesArmed() && s.startSignals == 0 ? 1 : 0;
            form.race().leaveLoop();
        }
    };
    form.StartTimer_Timer();
    // Left after the pass that followed the fourth pause; one loop ran all along.
    EXPECT_FALSE(form.StartTimer->isActive());
    EXPECT_FALSE(form.race().loopRunning());
    EXPECT_EQ(sleeps, 4);
    EXPECT_EQ(lanesArmedAtSleep4, 1);
    EXPECT_EQ(s.raceState, 0);
    EXPECT_EQ(rig.lines.openPort, QStringLiteral("COM1"));
}

} // namespace
