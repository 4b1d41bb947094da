#include "tests/support/RunningWindow.h"

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

// Each button reaches its command; what the commands do is the race's and tested there.
TEST(CommandButtons, EachButtonReachesItsCommand) {
    const struct {
        const char* button;
        QByteArray log;
        Output pulse;
        std::size_t pulses;
        QString text2;
    } cases[] = {
        {"ButStop", "STOP ZAVODU TLACITKEM 00:00:05:000\r\n", Output::Dtr, 1, ""},
        {"Command5", " Diskvalifikace \r\n", Output::Dtr, 1, "diskvalifikace"},
        {"Command9", " Start anulovan \r\n", Output::Dtr, 1, "Start anulován"},
        {"Command8", "", Output::Rts, 1, ""},
        {"ButStart", "", Output::Break, 1, ""},
        {"Command4", "", Output::Dtr, 0, " "},
        {"Command3", "SDH \x8E\xEF\xE1r\r\n", Output::Dtr, 0, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.button);
        Rig rig;
        Form1& form = rig.start();
        rig.lines.forget();
        rig.time.us = 5'000'000;
        form.controls().Text1->setText(QStringLiteral("SDH Žďár"));
        Rig::click(form.findChild<QPushButton*>(QString::fromLatin1(c.button)));
        rig.passes(1);
        EXPECT_EQ(rig.log(), c.log);
        EXPECT_EQ(rig.lines.pulses(c.pulse).size(), c.pulses);
        EXPECT_EQ(form.controls().Text2->text(), c.text2);
    }
}

TEST_F(Commands, NextTeamLeavesOneSpaceInTheNameBox) {
    form->controls().Text1->setText(QStringLiteral("SDH Žďár"));
    click(form->controls().Command2);
    EXPECT_EQ(form->controls().Text1->text(), QStringLiteral(" "));
    EXPECT_EQ(rig.log(), QByteArray());
}

TEST_F(Commands, ARealMouseClickReachesTheHandler) {
    QTest::mouseClick(form->controls().Command8, Qt::LeftButton);
    EXPECT_EQ(rig.lines.pulses(Output::Rts).size(), 1U);
    form->controls().ButStop->setEnabled(false);
    QTest::mouseClick(form->controls().ButStop, Qt::LeftButton);
    EXPECT_EQ(rig.log(), QByteArray()) << "a disabled button takes no click";
}

TEST_F(Commands, ShutdownDuringARaceDropsTheOutputsInItsOrderAndWritesNothing) {
    startRace();
    rig.lines.forget();
    rig.port.SetDtr(1);
    rig.port.SetBreak(1);
    rig.lines.forget();
    click(form->controls().Command1);
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
    Rig::click(form.controls().Command1);
    rig.passes(1);
    EXPECT_EQ(rig.end.calls, 1);
    EXPECT_TRUE(rig.lines.outputs.empty());
}

// A failed append is told in a box that is not modal: while it stays open the loop goes on,
// the other lane's time is taken in the pass it closes in and the stop pulse follows at once.
// What the log keeps and writes after the outage is the log's own test.
TEST_F(Commands, AnOutageIsToldWithoutStoppingTheLoop) {
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/full"), rig.logPath()));
    rig.messages.answerNotices = false;
    startRace(); // read closed at 1 ms; its start pulse lasts until 1001.2 ms
    rig.lines.cts = true;
    rig.passes(2); // read closed at 1003 ms, timed in the pass after
    ASSERT_EQ(rig.messages.seen.size(), 1U);
    EXPECT_EQ(rig.messages.seen[0].title, QStringLiteral("TAVORIN V.02"));
    EXPECT_EQ(rig.messages.seen[0].text,
              QStringLiteral("Zápis do souboru ZAVOD.TXT selhal: disk je plný\n"
                             "Záznam je uschován a bude zapsán při dalším zápisu."));
    EXPECT_FALSE(rig.messages.seen[0].modal);
    rig.passes(5);
    rig.lines.dsr = true;
    rig.passes(2); // read closed at 1010 ms
    EXPECT_EQ(form->controls().Text2->text(), QStringLiteral("00:00:01:002"));
    EXPECT_EQ(form->controls().Text3->text(), QStringLiteral("00:00:01:009"));
    ASSERT_EQ(rig.lines.pulses(Output::Dtr).size(), 1U);
    EXPECT_EQ(rig.lines.pulses(Output::Dtr)[0].first, 1'010'200) << "the finish's stop pulse";
    EXPECT_EQ(rig.messages.seen.size(), 1U) << "once per outage";
    EXPECT_TRUE(QApplication::activeModalWidget() == nullptr);
    ASSERT_EQ(rig.form().findChildren<QMessageBox*>().size(), 1);
    EXPECT_TRUE(rig.form().findChildren<QMessageBox*>()[0]->isVisible()) << "still open";
}

// Unwritten records get one more try at the end; those it cannot write either are listed in
// a modal box, the program's last word.
TEST_F(Commands, UnwrittenRecordsGetOneMoreTryAtTheEnd) {
    for (const bool repaired : {true, false}) {
        SCOPED_TRACE(repaired);
        Rig rig;
        Form1& form = rig.start();
        ASSERT_TRUE(QDir().mkdir(rig.logPath()));
        Rig::click(form.controls().Command9);
        rig.passes(1);
        ASSERT_TRUE(!repaired || QDir().rmdir(rig.logPath()));
        Rig::click(form.controls().Command1);
        rig.passes(1);
        EXPECT_EQ(rig.log(), repaired ? QByteArray(" Start anulovan \r\n") : QByteArray());
        EXPECT_EQ(rig.end.calls, 1);
        ASSERT_EQ(rig.messages.seen.size(), repaired ? 1U : 2U) << "the outage, then the list";
        if (!repaired) {
            const MessageAnswerer::Seen& last = rig.messages.seen[1];
            EXPECT_TRUE(last.modal);
            EXPECT_EQ(last.title, QStringLiteral("TAVORIN V.02"));
            EXPECT_EQ(last.text, QStringLiteral("Tyto záznamy se nepodařilo zapsat do souboru "
                                                "ZAVOD.TXT:\n\n Start anulovan "));
        }
    }
}

} // namespace
