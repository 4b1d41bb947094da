#include "tests/support/RunningWindow.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using Commands = RunningWindow;

// Each button reaches its command: one effect of each is enough here, what the commands do
// is the race's and tested there. The reset and start buttons are reached by the mouse click
// and the start-up tests.
TEST(CommandButtons, EachButtonReachesItsCommand) {
    const struct {
        const char* button;
        QByteArray log;
        QString lane1;
    } cases[] = {
        {"ButStop", "STOP ZAVODU TLACITKEM 00:00:05:000\r\n", ""},
        {"Command5", " Diskvalifikace \r\n", "diskvalifikace"},
        {"Command9", " Start anulovan \r\n", "Start anulován"},
        {"Command4", "", " "},
        {"Command3", "SDH \x8E\xEF\xE1r\r\n", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.button);
        Rig rig;
        Form1& form = rig.start();
        rig.time.us = 5'000'000;
        form.controls().Text1->setText(QStringLiteral("SDH Žďár"));
        Rig::click(form.findChild<QPushButton*>(QString::fromLatin1(c.button)));
        rig.passes(1);
        EXPECT_EQ(rig.log(), c.log);
        EXPECT_EQ(form.controls().Text2->text(), c.lane1);
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

// However the program ends, by its button (in a race or with no port) or by closing the
// window: the outputs drop in their order, the port closes, nothing is written, and no click
// already queued runs after it. The window goes with the program: closing it then runs no
// second shutdown.
TEST(Shutdown, EveryWayDropsTheOutputsInOrderAndRunsNothingAfter) {
    const struct {
        const char* how;
        bool port, racing, byButton;
    } ways[] = {{"its button during a race", true, true, true},
                {"the window closed", true, false, false},
                {"its button with no port", false, false, true}};
    for (const auto& w : ways) {
        SCOPED_TRACE(w.how);
        Rig rig;
        if (!w.port) {
            rig.lines.present.clear();
        }
        Form1& form = rig.start();
        if (w.racing) {
            rig.lines.dcd = true;
            rig.passes(1);
            rig.lines.dcd = false;
            rig.passes(1);
            rig.port.SetDtr(1);
            rig.port.SetBreak(1);
        }
        rig.lines.forget();
        const int sleeps = rig.pause.sleeps;
        if (w.byButton) {
            Rig::click(form.controls().Command1);
        } else {
            form.close();
        }
        Rig::click(form.controls().Command3);
        Rig::click(form.controls().Command8);
        rig.passes(5);
        const std::int64_t t = rig.time.us;
        const std::vector<FakeLines::Transition> dropped{
            {Output::Dtr, false, t}, {Output::Rts, false, t}, {Output::Break, false, t}};
        EXPECT_EQ(rig.lines.outputs, w.port ? dropped : std::vector<FakeLines::Transition>{});
        EXPECT_EQ(rig.lines.closes, w.port ? 1 : 0);
        EXPECT_EQ(rig.end.calls, 1);
        EXPECT_TRUE(form.ended());
        EXPECT_EQ(rig.log(), QByteArray());
        EXPECT_EQ(rig.pause.sleeps, sleeps) << "no pass slept after the end";
        form.close();
        EXPECT_EQ(rig.end.calls, 1);
    }
}

// A failed append is told in a box that is not modal: while it stays open the loop goes on,
// and the other lane's finish gives its stop pulse at once. What the log keeps, writes after
// the outage and how often it tells of it is the log's own test.
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
    ASSERT_EQ(rig.lines.pulses(Output::Dtr).size(), 1U);
    EXPECT_EQ(rig.lines.pulses(Output::Dtr)[0].first, 1'010'200) << "the finish's stop pulse";
    ASSERT_EQ(rig.form().findChildren<QMessageBox*>().size(), 1);
    EXPECT_TRUE(rig.form().findChildren<QMessageBox*>()[0]->isVisible()) << "still open";
}

// Unwritten records get one more try at the end; those it cannot write either are listed in
// a modal box, the program's last word.
TEST(Shutdown, UnwrittenRecordsGetOneMoreTryAtTheEnd) {
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
