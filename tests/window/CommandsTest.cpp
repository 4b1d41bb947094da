#include "tests/support/RunningWindow.h"

#include "serial/Module1.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class Commands : public RunningWindow {
protected:
    // The log as it stood at each change of the given output.
    std::vector<QByteArray> logSnapshots;
    void snapshotLogAt(Output line) {
        rig.lines.onOutput = [this, line](const FakeLines::Transition& t) {
            if (t.line == line) {
                logSnapshots.push_back(rig.log());
            }
        };
    }
};

TEST_F(Commands, StopBeforeAnyRaceLogsTheClocksOwnValue) {
    rig.time.us = 5'000'000;
    snapshotLogAt(Output::Dtr);
    click(form->ButStop);
    EXPECT_EQ(rig.log(), QByteArray("STOP ZAVODU TLACITKEM 00:00:05:000\r\n"));
    ASSERT_EQ(logSnapshots.size(), 2U);
    EXPECT_EQ(logSnapshots.at(0), rig.log()) << "the stop line is written before the pulse";
    EXPECT_TRUE(form->ButStart->isEnabled());
    EXPECT_FALSE(form->ButStop->isEnabled());
    EXPECT_EQ(rig.lines.pulses(Output::Dtr).size(), 1U);
    EXPECT_TRUE(state().lanesArmed());
}

TEST_F(Commands, StopTakesTheRunningTimeWhenTheFileIsOpened) {
    startRace();
    rig.passes(233);
    state().lane1Hits = 1;
    state().startSignals = 2;
    click(form->ButStop);
    EXPECT_EQ(rig.log(), QByteArray("STOP ZAVODU TLACITKEM 00:00:01:234\r\n"));
    EXPECT_EQ(state().raceState, 0);
    EXPECT_TRUE(state().lanesArmed());
    EXPECT_EQ(state().startSignals, 0);
    EXPECT_EQ(form->LblTimer->text(), QStringLiteral("00:00:01:234"))
        << "the pass that ran the click showed the same time";
}

TEST_F(Commands, StartWhileARaceRunsOnlyPulses) {
    startRace();
    state().startSignals = 1;
    const std::int32_t tick = state().startTick;
    Rig::click(form->ButStart);
    rig.passes(1);
    EXPECT_EQ(rig.lines.pulses(Output::Break).size(), 1U) << "the button is disabled in a race";
    form->ButStart_Click(); // the handler itself, as with a race started while it was enabled
    EXPECT_EQ(state().startTick, tick);
    EXPECT_EQ(state().startSignals, 1);
    EXPECT_EQ(rig.lines.pulses(Output::Break).size(), 2U);
    EXPECT_EQ(rig.log(), QByteArray());
}

TEST_F(Commands, StartByHandKeepsTheStartCountOfAnEarlierRace) {
    state().startSignals = 1;
    rig.time.us = 7'000'000;
    click(form->ButStart);
    EXPECT_EQ(state().raceState, 1);
    EXPECT_EQ(state().startTick, 7000);
    EXPECT_EQ(state().startSignals, 1);
    EXPECT_FALSE(form->ButStart->isEnabled());
    EXPECT_TRUE(form->ButStop->isEnabled());
    // One more start signal makes two; the one after annuls.
    rig.lines.dcd = true;
    rig.passes(1);
    EXPECT_EQ(state().startSignals, 2);
    rig.lines.dcd = false;
    EXPECT_EQ(rig.log(), QByteArray());
}

TEST_F(Commands, ClearingTheLanesDuringARaceLetsTwoNewTimesEndIt) {
    startRace();
    rig.lines.cts = true;
    rig.passes(1);
    rig.lines.cts = false;
    state().startSignals = 1;
    click(form->Command4);
    EXPECT_EQ(form->Text2->text(), QStringLiteral(" "));
    EXPECT_EQ(form->Text3->text(), QStringLiteral(" "));
    EXPECT_TRUE(state().lanesArmed());
    EXPECT_EQ(state().startSignals, 0);
    EXPECT_EQ(state().raceState, 1);
    EXPECT_EQ(rig.log().count('\n'), 1);
    rig.lines.cts = rig.lines.dsr = true;
    rig.passes(1);
    EXPECT_EQ(rig.log().count('\n'), 3);
    EXPECT_EQ(state().raceState, 0);
    EXPECT_EQ(state().finishTarget, 3);
}

TEST_F(Commands, DisqualifyingLogsAfterThePulseAndMarksBothBoxes) {
    snapshotLogAt(Output::Dtr);
    click(form->Command5);
    ASSERT_EQ(logSnapshots.size(), 2U);
    EXPECT_EQ(logSnapshots.at(1), QByteArray()) << "the line comes after the stop pulse";
    EXPECT_EQ(rig.log(), QByteArray(" Diskvalifikace \r\n"));
    EXPECT_EQ(form->Text2->text(), QStringLiteral("diskvalifikace"));
    EXPECT_EQ(form->Text3->text(), QStringLiteral("diskvalifikace"));
    EXPECT_TRUE(form->ButStart->isEnabled());
    EXPECT_FALSE(form->ButStop->isEnabled());
    EXPECT_TRUE(state().lanesArmed());
}

TEST_F(Commands, NextTeamBlanksTheNameWithOneSpaceAndSavingWritesIt) {
    form->Text1->setText(QStringLiteral("SDH Žďár"));
    click(form->Command3);
    click(form->Command3);
    click(form->Command2);
    EXPECT_EQ(form->Text1->text(), QStringLiteral(" "));
    click(form->Command3);
    EXPECT_EQ(rig.log(), QByteArray("SDH \x8E\xEF\xE1r\r\nSDH \x8E\xEF\xE1r\r\n \r\n"));
    form->Text1->clear();
    click(form->Command3);
    EXPECT_TRUE(rig.log().endsWith(" \r\n\r\n"));
}

TEST_F(Commands, ResetPulsesRtsAndChangesNothingElse) {
    startRace();
    const RaceState before = state();
    click(form->Command8);
    const auto pulses = rig.lines.pulses(Output::Rts);
    ASSERT_EQ(pulses.size(), 1U);
    EXPECT_EQ(pulses[0].second - pulses[0].first, 1'000'200);
    EXPECT_EQ(state().raceState, before.raceState);
    EXPECT_EQ(state().startTick, before.startTick);
    EXPECT_EQ(rig.log(), QByteArray());
}

TEST_F(Commands, AnnullingByHandLogsPulsesAndArms) {
    startRace();
    state().startSignals = 1;
    state().lane2Hits = 1;
    click(form->Command9);
    EXPECT_EQ(rig.log(), QByteArray(" Start anulovan \r\n"));
    EXPECT_EQ(state().raceState, 0);
    EXPECT_TRUE(state().lanesArmed());
    EXPECT_EQ(state().startSignals, 0);
    EXPECT_EQ(form->Text2->text(), QStringLiteral("Start anulován"));
    EXPECT_EQ(form->Text3->text(), QStringLiteral("Start anulován"));
    EXPECT_EQ(rig.lines.pulses(Output::Dtr).size(), 1U);
}

TEST_F(Commands, ClicksDuringAPulseAreHandledAfterItInOrder) {
    form->Text1->setText(QStringLiteral("B"));
    bool queued = false;
    rig.lines.onOutput = [&](const FakeLines::Transition& t) {
        if (t.line == Output::Break && t.on && !queued) {
            queued = true;
            Rig::click(form->Command8);
            Rig::click(form->Command3);
        }
    };
    click(form->ButStart, 2);
    const auto& out = rig.lines.outputs;
    ASSERT_EQ(out.size(), 4U);
    EXPECT_EQ(out[0].line, Output::Break);
    EXPECT_EQ(out[1].line, Output::Break);
    EXPECT_EQ(out[2].line, Output::Rts);
    EXPECT_GE(out[2].us, out[1].us);
    EXPECT_EQ(rig.log(), QByteArray("B\r\n"));
}

TEST_F(Commands, ARealMouseClickReachesTheHandler) {
    QTest::mouseClick(form->Command8, Qt::LeftButton);
    EXPECT_EQ(rig.lines.pulses(Output::Rts).size(), 1U);
    form->ButStop->setEnabled(false);
    QTest::mouseClick(form->ButStop, Qt::LeftButton);
    EXPECT_EQ(rig.log(), QByteArray()) << "a disabled button takes no click";
}

TEST_F(Commands, ShutdownDuringARaceDropsTheOutputsInItsOrderAndWritesNothing) {
    startRace();
    rig.lines.forget();
    Module1::SetDtr(1);
    Module1::SetBreak(1);
    rig.lines.forget();
    click(form->Command1);
    const std::vector<FakeLines::Transition> expected{{Output::Dtr, false, rig.time.us},
                                                      {Output::Rts, false, rig.time.us},
                                                      {Output::Break, false, rig.time.us}};
    EXPECT_EQ(rig.lines.outputs, expected);
    EXPECT_EQ(rig.lines.closes, 1);
    EXPECT_EQ(rig.end.calls, 1);
    EXPECT_EQ(rig.log(), QByteArray());
    // The window goes with the program: closing it runs no second shutdown.
    form->close();
    EXPECT_EQ(rig.end.calls, 1);
}

TEST_F(Commands, ClosingTheWindowShutsDownToo) {
    form->close();
    EXPECT_EQ(rig.end.calls, 1);
    EXPECT_EQ(rig.lines.closes, 1);
    EXPECT_TRUE(form->ended());
}

TEST(Shutdown, WithNoPortItEndsJustTheSame) {
    Rig rig;
    rig.lines.present.clear();
    Form1& form = rig.start();
    Rig::click(form.Command1);
    rig.passes(1);
    EXPECT_EQ(rig.end.calls, 1);
    EXPECT_TRUE(rig.lines.outputs.empty());
}

// A failed append is told in a box that is not modal: while it stays open the loop goes on,
// the other lane's time is taken in the pass it closes in and the stop pulse follows at once.
TEST_F(Commands, AnOutageIsToldOnceWithoutStoppingTheLoopAndLosesNothing) {
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/full"), rig.logPath()));
    rig.messages.answerNotices = false;
    startRace(); // at 0 ms; its start pulse lasts until 1000.2 ms
    rig.lines.cts = true;
    rig.passes(1);
    rig.lines.cts = false;
    ASSERT_EQ(rig.messages.seen.size(), 1U);
    EXPECT_EQ(rig.messages.seen[0].title, QStringLiteral("TAVORIN V.02"));
    EXPECT_EQ(rig.messages.seen[0].text,
              QStringLiteral("Zápis do souboru ZAVOD.TXT selhal: disk je plný\n"
                             "Záznam je uschován a bude zapsán při dalším zápisu."));
    EXPECT_FALSE(rig.messages.seen[0].modal);
    rig.passes(5);
    rig.lines.dsr = true;
    rig.passes(1);
    rig.lines.dsr = false;
    EXPECT_EQ(form->Text2->text(), QStringLiteral("00:00:01:001"));
    EXPECT_EQ(form->Text3->text(), QStringLiteral("00:00:01:007"));
    ASSERT_EQ(rig.lines.pulses(Output::Dtr).size(), 1U);
    EXPECT_EQ(rig.lines.pulses(Output::Dtr)[0].first, 1'007'200) << "the finish's stop pulse";
    startRace(); // at 2008 ms, after the stop pulse and a pause
    click(form->ButStop);
    click(form->Command9);
    const auto stops = rig.lines.pulses(Output::Dtr);
    ASSERT_EQ(stops.size(), 3U);
    EXPECT_EQ(stops[1].first, 3'009'600) << "Stop závodu, in the pass after the start pulse";
    EXPECT_EQ(stops[2].first, 4'010'800) << "the annulment, in the pass after";
    ASSERT_EQ(rig.messages.seen.size(), 1U) << "once per outage";
    EXPECT_TRUE(QApplication::activeModalWidget() == nullptr);
    EXPECT_EQ(rig.form().findChildren<QMessageBox*>().size(), 1);
    EXPECT_TRUE(rig.form().findChildren<QMessageBox*>()[0]->isVisible()) << "still open";

    // The disk has room again: everything arrives, in order, ahead of the next record.
    ASSERT_TRUE(QFile::remove(rig.logPath()));
    form->Text1->setText(QStringLiteral("SDH Ves"));
    click(form->Command3);
    EXPECT_EQ(rig.log(), QByteArray(" dr\xE1ha c.1 00:00:01:001\r\n"
                                    " dr\xE1ha c.2 00:00:01:007\r\n"
                                    "STOP ZAVODU TLACITKEM 00:00:01:001\r\n"
                                    " Start anulovan \r\n"
                                    "SDH Ves\r\n"));
}

TEST_F(Commands, RecordsStillUnwrittenAtTheEndAreShownInALastMessage) {
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/full"), rig.logPath()));
    form->Text1->setText(QStringLiteral("SDH Lhota"));
    click(form->Command3);
    click(form->Command5);
    click(form->Command1);
    ASSERT_EQ(rig.messages.seen.size(), 2U);
    EXPECT_EQ(rig.messages.seen[1].text,
              QStringLiteral("Tyto záznamy se nepodařilo zapsat do souboru ZAVOD.TXT:\n\n"
                             "SDH Lhota\n Diskvalifikace "));
    EXPECT_EQ(rig.end.calls, 1);
}

TEST_F(Commands, UnwrittenRecordsGetOneMoreTryAtTheEnd) {
    ASSERT_TRUE(QDir().mkdir(rig.logPath()));
    click(form->Command9);
    ASSERT_TRUE(QDir().rmdir(rig.logPath()));
    click(form->Command1);
    EXPECT_EQ(rig.log(), QByteArray(" Start anulovan \r\n"));
    EXPECT_EQ(rig.messages.seen.size(), 1U) << "only the outage itself was told";
}

} // namespace
