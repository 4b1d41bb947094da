#include "records/LogRecords.h"
#include "tests/model/Hand.h"
#include "tests/support/Rig.h"
#include "tests/support/RunningTime.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <gtest/gtest.h>

// Faults at the track: the results log's folder taken away for good, the port that vanishes in
// a race, and the operator clicking while the program is busy. Each test shows what the operator
// sees and that no record is lost or put out of order. Each way the log fails is ResultsLog's.
namespace {

const QString told = QStringLiteral("Zápis do souboru ZAVOD.TXT selhal: %1\n"
                                    "Záznam je uschován a bude zapsán při dalším zápisu.");

class Faults : public ::testing::Test {
protected:
    Rig rig;
    Form1* form = nullptr;
    Hand hand;

    void SetUp() override {
        form = &rig.start();
        rig.lines.forget();
    }
    const RaceState& state() const { return form->state(); }
    QString path() const { return rig.logPath(); }
    QString folder() const { return QFileInfo(rig.logPath()).absolutePath(); }

    // Passes, each with the operator's clicks of the moment handled in its event pump.
    void passes(int count = 1) {
        for (int i = 0; i < count; ++i) {
            hand.post();
            rig.passes(1);
        }
    }
    void click(QAbstractButton* button) {
        hand.queue([button] { button->click(); });
    }
    void clickNow(QAbstractButton* button) {
        click(button);
        passes(1);
    }
    // The contact closes for the one read of the lines in this pass's pause, at the next whole
    // millisecond; the next pass acts on it, timed at that read. The running time there.
    QString contact(bool FakeLines::*line) {
        const std::int64_t readMs = rig.time.us / 1000 + 1;
        rig.lines.*line = true;
        passes(1);
        rig.lines.*line = false;
        passes(1);
        return runningTime(readMs - state().startTick);
    }
    void saveTeam(const QString& name) {
        form->controls().Text1->setText(name);
        clickNow(form->controls().Command3);
    }
    QStringList kept() const { return form->race().log().pending(); }

    // The running time a pass would take now, in a pass that sends no pulse before it reads
    // the clock: whole milliseconds of fake time since the start, HH:MM:SS:mmm.
    QString now() { return runningTime(rig.time.us / 1000 - state().startTick); }

    // A whole run of one team: its name saved, the start, lane 1, lane 2 and the finish. The
    // records it should have made, in order.
    QStringList runTeam(const QString& name, int passesBetween) {
        saveTeam(name);
        contact(&FakeLines::dcd);
        passes(passesBetween);
        const QString lane1 = contact(&FakeLines::cts);
        passes(passesBetween);
        const QString lane2 = contact(&FakeLines::dsr);
        passes(1);
        EXPECT_EQ(form->controls().Text2->text(), lane1);
        EXPECT_EQ(form->controls().Text3->text(), lane2);
        return {name, QStringLiteral(" dráha c.1 ") + lane1, QStringLiteral(" dráha c.2 ") + lane2};
    }
    // A stop by hand now, in a pass of its own; its record.
    QString stopByHand() {
        const QString record = QStringLiteral("STOP ZAVODU TLACITKEM ") + now();
        clickNow(form->controls().ButStop);
        return record;
    }
    static QByteArray bytes(const QStringList& records) {
        QByteArray all;
        for (const QString& record : records) {
            all += LogRecords::encodeLine(record);
        }
        return all;
    }
};

// The folder taken away under the running program: nothing can be written there again, so the
// records wait to the end, where the operator is shown every one of them, in order.
TEST_F(Faults, AFolderRemovedUnderTheProgramKeepsEveryRecordForTheLastMessage) {
    ASSERT_TRUE(QDir(folder()).removeRecursively());
    QStringList records = runTeam(QStringLiteral("SDH Lhota"), 10);
    clickNow(form->controls().Command5);
    records << QStringLiteral(" Diskvalifikace ");
    ASSERT_EQ(rig.messages.texts(),
              QStringList{told.arg(QStringLiteral("soubor nebo složka chybí"))});
    ASSERT_TRUE(QDir().mkpath(folder())); // a new folder of that name is not the program's
    saveTeam(QStringLiteral("Sokol Ves"));
    records << QStringLiteral("Sokol Ves");
    EXPECT_EQ(rig.messages.seen.size(), 1U);
    EXPECT_FALSE(QFile::exists(path()));
    EXPECT_EQ(kept(), records);

    clickNow(form->controls().Command1);
    EXPECT_EQ(rig.end.calls, 1);
    ASSERT_EQ(rig.messages.seen.size(), 2U);
    EXPECT_EQ(rig.messages.seen[1].text,
              QStringLiteral("Tyto záznamy se nepodařilo zapsat do souboru ZAVOD.TXT:\n\n") +
                  records.join(u'\n'));
    EXPECT_EQ(rig.lines.outputs.back(), (FakeLines::Transition{Output::Break, false, rig.time.us}))
        << "the outputs went down before the last word";
}

// The adapter pulled out during a race: the lines go dead (the contacts read off, the pulses
// move nothing, though each still takes its second) and the operator is told once, in a notice
// that holds nothing up; the operator stops the race by hand and picks a port; the one that is
// gone is reported busy, as one held elsewhere would be, and leaves no port open; the other one
// works at the next tick.
TEST_F(Faults, APortThatVanishesInARaceIsReplacedByANewSelection) {
    saveTeam(QStringLiteral("SDH Lhota"));
    contact(&FakeLines::dcd);
    passes(100);
    rig.lines.present.remove(QStringLiteral("COM2"));
    rig.lines.unplugged = true;
    rig.lines.forget();
    rig.lines.cts = rig.lines.dsr = true; // closed, but nobody can see them now
    const QString shown = now();
    passes(1);
    EXPECT_EQ(form->controls().LblTimer->text(), shown) << "the race runs on";
    passes(20);
    EXPECT_FALSE(form->controls().Check1->isChecked());
    EXPECT_FALSE(form->controls().Check2->isChecked());
    EXPECT_EQ(state().lane1Hits, 0);
    EXPECT_EQ(state().lane2Hits, 0);
    EXPECT_EQ(state().raceState, 1);
    const QString stopped = QStringLiteral(
        "Port COM2 přestal odpovídat – převodník byl nejspíš odpojen. Dokud neodpovídá, kontakty "
        "se nečtou a nic se neměří.\nZapojte převodník zpět a vyberte port znovu tlačítkem COM2.");
    EXPECT_EQ(rig.messages.texts(), QStringList{stopped});
    EXPECT_FALSE(rig.messages.seen.at(0).modal);
    const std::int64_t before = rig.time.us;
    const QString stop = stopByHand();
    EXPECT_TRUE(rig.lines.outputs.empty()) << "a dead port moves no line";
    EXPECT_GE(rig.time.us - before, 1'000'000) << "the pulse still takes its second";
    rig.lines.cts = rig.lines.dsr = false;

    clickNow(form->controls().Option2);
    EXPECT_EQ(rig.messages.texts(), (QStringList{stopped, QStringLiteral("COM2 OBSAZEN")}));
    EXPECT_EQ(rig.lines.closes, 1) << "the port open before is closed first";
    EXPECT_TRUE(rig.lines.openPort.isEmpty());
    EXPECT_TRUE(form->controls().Option2->isChecked());
    EXPECT_TRUE(form->controls().StartTimer->isActive());
    clickNow(form->controls().Option1);
    EXPECT_EQ(rig.lines.openPort, QStringLiteral("COM1"));
    EXPECT_TRUE(form->controls().Option1->isChecked());
    EXPECT_FALSE(form->controls().Option2->isChecked());
    rig.tickIfDue();
    passes(2); // the tick: the loop begins afresh on COM1
    rig.lines.cts = rig.lines.dsr = true;
    const std::int64_t closedMs = rig.time.us / 1000 + 1; // read in this pass's pause
    passes(1);
    EXPECT_TRUE(form->controls().Check1->isChecked());
    EXPECT_TRUE(form->controls().Check2->isChecked());
    passes(1);
    const QString lanes = runningTime(closedMs - state().startTick);
    EXPECT_EQ(rig.lines.pulses(Output::Dtr).size(), 1U) << "the finish, on the new port";
    EXPECT_EQ(rig.log(),
              bytes({QStringLiteral("SDH Lhota"), stop, QStringLiteral(" dráha c.1 ") + lanes,
                     QStringLiteral(" dráha c.2 ") + lanes}));
    EXPECT_EQ(rig.messages.seen.size(), 2U);
}

// Clicks while a pulse holds the program wait for it, then run one after another in the order
// they were made; pulses never overlap.
TEST_F(Faults, ABurstOfClicksDuringAPulseRunsInOrderAfterIt) {
    saveTeam(QStringLiteral("SDH Lhota"));
    int raises = 0;
    rig.lines.onOutput = [&](const FakeLines::Transition& t) {
        if (!t.on || raises++ != 0) {
            return;
        }
        // During the start pulse of the contact: ten clicks in a row.
        for (QPushButton* b :
             {form->controls().Command8, form->controls().ButStop, form->controls().Command3,
              form->controls().ButStart, form->controls().Command9, form->controls().Command2,
              form->controls().Command3, form->controls().ButStart, form->controls().Command5,
              form->controls().Command4}) {
            click(b);
        }
    };
    contact(&FakeLines::dcd);
    const auto& out = rig.lines.outputs;
    ASSERT_EQ(out.size(), 14U);
    const Output expected[] = {Output::Break, Output::Rts,   Output::Dtr, Output::Break,
                               Output::Dtr,   Output::Break, Output::Dtr};
    for (std::size_t i = 0; i < out.size(); ++i) {
        EXPECT_EQ(out[i].line, expected[i / 2]) << i;
        EXPECT_EQ(out[i].on, i % 2 == 0) << i;
        if (i > 0) {
            EXPECT_GE(out[i].us, out[i - 1].us) << "no two pulses at once";
        }
        if (i % 2 == 1) {
            EXPECT_EQ(out[i].us - out[i - 1].us, 1'000'200) << i;
        }
    }
    EXPECT_EQ(rig.log(), QByteArray("SDH Lhota\r\n"
                                    "STOP ZAVODU TLACITKEM 00:00:02:000\r\n"
                                    "SDH Lhota\r\n"
                                    " Start anulovan \r\n"
                                    " \r\n"
                                    " Diskvalifikace \r\n"));
    EXPECT_EQ(state().raceState, 0);
    EXPECT_TRUE(state().lanesArmed());
    EXPECT_EQ(form->controls().Text2->text(), QStringLiteral(" "));
    EXPECT_TRUE(rig.messages.seen.empty());
}

} // namespace
