#include "tests/support/RunningWindow.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QTimerEvent>

#include <gtest/gtest.h>

namespace {

using Transitions = std::vector<FakeLines::Transition>;

// COM2 first; without it COM1, opened, closed and opened again as its option's click does;
// with neither both messages, before the window is shown, and nothing to close. Starting writes
// nothing to the log and ends with the timer enabled.
TEST(StartUp, EachPortFoundOpensAsItShould) {
    const QString com1 = QStringLiteral("COM1"), com2 = QStringLiteral("COM2");
    // Each port opened drops the outputs, the break first.
    const Transitions dropped{
        {Output::Break, false, 0}, {Output::Dtr, false, 0}, {Output::Rts, false, 0}};
    const Transitions twice{{Output::Break, false, 0}, {Output::Dtr, false, 0},
                            {Output::Rts, false, 0},   {Output::Break, false, 0},
                            {Output::Dtr, false, 0},   {Output::Rts, false, 0}};
    const QStringList neither{QStringLiteral("COM1 OBSAZEN"), QStringLiteral("COM NENALEZEN")};
    const struct {
        const char* name;
        QSet<QString> present;
        std::vector<QString> opens;
        int closes;
        QString openPort;
        bool option1;
        QStringList messages;
        Transitions outputs;
    } cases[] = {
        {"COM2", {com1, com2}, {com2}, 0, com2, false, {}, dropped},
        {"COM1 only", {com1}, {com2, com1, com1}, 1, com1, true, {}, twice},
        {"no port", {}, {com2, com1, com1}, 0, QString(), true, neither, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig;
        rig.lines.present = c.present;
        Form1& form = rig.make();
        form.Form_Load();
        EXPECT_EQ(rig.lines.opens, c.opens);
        EXPECT_EQ(rig.lines.closes, c.closes);
        EXPECT_EQ(rig.lines.openPort, c.openPort);
        EXPECT_EQ(form.portResult() != 0, !c.openPort.isEmpty());
        EXPECT_EQ(form.controls().Option1->isChecked(), c.option1);
        EXPECT_FALSE(form.controls().Option2->isChecked());
        EXPECT_EQ(rig.messages.texts(), c.messages);
        EXPECT_EQ(rig.lines.outputs, c.outputs);
        EXPECT_EQ(form.state().raceState, 0);
        EXPECT_EQ(form.state().startTick, 0);
        EXPECT_TRUE(form.controls().StartTimer->isActive());
        EXPECT_TRUE(form.controls().ButStart->isEnabled());
        EXPECT_TRUE(form.controls().ButStop->isEnabled());
        EXPECT_EQ(rig.log(), QByteArray());
    }
}

// Every message of the program is modal, OK only, without an icon, under the program's title.
TEST(StartUp, WithNoPortTheMessagesComeBeforeTheWindowAndItWorksOn) {
    Rig rig;
    rig.lines.present.clear();
    Form1& form = rig.make();
    form.Form_Load();
    ASSERT_EQ(rig.messages.seen.size(), 2U);
    for (const auto& seen : rig.messages.seen) {
        EXPECT_FALSE(seen.windowVisible);
        EXPECT_TRUE(seen.modal);
        EXPECT_EQ(seen.title, QStringLiteral("TAVORIN V.02"));
        EXPECT_EQ(seen.icon, QMessageBox::NoIcon);
        EXPECT_EQ(seen.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    }
    form.show();
    form.controls().StartTimer->stop();
    form.race().enterLoop();
    Rig::click(form.controls().ButStart);
    rig.passes(3);
    EXPECT_EQ(form.state().raceState, 1);
    EXPECT_EQ(form.controls().LblTimer->text(), QStringLiteral("00:00:01:002"));
}

TEST(StartUp, ATickDuringAStartUpMessageEntersTheLoopOnlyOnceAfterwards) {
    Rig rig;
    rig.lines.present.clear();
    Form1& form = rig.make();
    int ticksWhileOpen = 0;
    rig.messages.whileOpen = [&] {
        if (form.controls().StartTimer->isActive()) {
            ++ticksWhileOpen;
            Rig::tick(form); // falls due while "COM NENALEZEN" is open
        }
    };
    form.Form_Load();
    EXPECT_EQ(ticksWhileOpen, 1);
    EXPECT_FALSE(form.race().loopRunning());
    EXPECT_TRUE(form.controls().StartTimer->isActive()) << "start-up ends by enabling the timer";

    int entries = 0;
    rig.pause.hook = [&] {
        ++entries;
        form.race().leaveLoop();
    };
    Rig::tick(form);
    EXPECT_EQ(entries, 1);
    EXPECT_FALSE(form.controls().StartTimer->isActive());
}

using PortChoice = RunningWindow;

TEST_F(PortChoice, EveryClickOnAnOptionRunsItsSelectionEvenWhenItIsSelected) {
    click(form->controls().Option1);
    click(form->controls().Option1);
    EXPECT_EQ(rig.lines.opens,
              (std::vector<QString>{QStringLiteral("COM1"), QStringLiteral("COM1")}));
    EXPECT_EQ(rig.lines.closes, 2);
    EXPECT_TRUE(form->controls().Option1->isChecked());
    EXPECT_EQ(rig.lines.openPort, QStringLiteral("COM1"));
}

// StartTimer ticks every 100 ms until disabled; each tick stops it. Its ticks here are its own
// timer events, sent at once: with the timer as the window built it, whatever the real clock.
TEST(PollSensors, TheTickEntersTheLoopAndAPortChangeRestartsItWithoutNesting) {
    Rig rig;
    Form1& form = rig.make(Rig::Timer::AsBuilt);
    QTimer* timer = form.controls().StartTimer;
    EXPECT_EQ(timer->interval(), 100);
    EXPECT_FALSE(timer->isSingleShot());
    EXPECT_FALSE(timer->isActive()) << "it waits disabled until start-up enables it";
    const auto tick = [timer](int enabling) {
        QTimerEvent due(enabling);
        QCoreApplication::sendEvent(timer, &due);
    };
    form.Form_Load();
    form.show();
    ASSERT_TRUE(timer->isActive());
    const int firstEnabling = timer->timerId();
    rig.lines.dcd = rig.lines.cts = true; // the first pass starts a race and times lane 1
    rig.time.advance(1000);               // once the sampler has read them
    int sleeps = 0;
    bool armedBeforeTick = true;
    bool armedAfterTick = false;
    bool enabledAgain = false;
    rig.pause.hook = [&] {
        ++sleeps;
        if (sleeps == 1) {
            rig.lines.dcd = rig.lines.cts = false;
            tick(firstEnabling); // one enabling, one tick: this one reaches nothing
            Rig::click(form.controls().Option1);
        } else if (sleeps == 2) {
            armedBeforeTick = form.state().lanesArmed();
            enabledAgain = timer->isActive() && timer->interval() == 100;
            tick(timer->timerId());
        } else if (sleeps == 3) {
            armedAfterTick = form.state().lanesArmed() && form.state().startSignals == 0;
            form.race().leaveLoop();
        }
    };
    tick(firstEnabling);
    // Left after the pass that followed the third pause; one loop ran all along.
    EXPECT_FALSE(timer->isActive());
    EXPECT_FALSE(form.race().loopRunning());
    EXPECT_EQ(sleeps, 3);
    EXPECT_FALSE(armedBeforeTick);
    EXPECT_TRUE(enabledAgain) << "the port change enables the timer again";
    EXPECT_TRUE(armedAfterTick);
}

} // namespace
