#include "tests/support/RunningWindow.h"
#include "tests/vysledky/ReadLog.h"
#include "vysledky/CsvWriter.h"
#include "vysledky/LogReader.h"

#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {

// The timing program's window on the fake lines runs part of a competition: the exact file it
// leaves behind, and the results viewer's attempts made from it.
class TimingProgramRun : public RunningWindow {
protected:
    // A whole run: one target closes so many passes after the start, the other so many after.
    void run(int toFirst, bool FakeLines::*first, int toSecond, bool FakeLines::*second) {
        startRace();
        rig.passes(toFirst - 1);
        rig.lines.*first = true;
        rig.passes(toSecond);
        rig.lines.*second = true;
        rig.passes(1);
        rig.lines.cts = rig.lines.dsr = false;
        rig.passes(10);
    }
    void nextTeam(const QString& name) {
        click(form->controls().Command2);     // the name box blanked to a single space
        form->controls().Text1->insert(name); // typed after it
        click(form->controls().Command3);     // saved: the team line
    }
};

TEST_F(TimingProgramRun, ItsLogMakesTheTables) {
    form->controls().Text1->insert(QStringLiteral("SDH Žďár"));
    click(form->controls().Command3);
    run(20'000, &FakeLines::dsr, 501, &FakeLines::cts);

    // Lanes cleared, then a false start annulled by the third start signal; the fourth starts
    // the race again, and that run is disqualified after lane 1.
    nextTeam(QStringLiteral("Sokol Lhota"));
    click(form->controls().Command4);
    for (int signal = 0; signal < 3; ++signal) {
        startRace();
        rig.passes(2);
    }
    startRace();
    rig.passes(9'999);
    rig.lines.cts = true;
    rig.passes(1);
    rig.lines.cts = false;
    click(form->controls().Command5);

    // The same team again: a clean run.
    run(15'000, &FakeLines::cts, 300, &FakeLines::dsr);

    nextTeam(QStringLiteral("Hasiči Nová Ves"));
    startRace();
    rig.passes(4'320);
    click(form->controls().ButStop);

    EXPECT_EQ(rig.log(), QByteArray("SDH \x8E\xEF\xE1r\r\n"
                                    " dr\xE1ha c.2 00:00:21:001\r\n"
                                    " dr\xE1ha c.1 00:00:21:502\r\n"
                                    " Sokol Lhota\r\n"
                                    " Start anulovan \r\n"
                                    " dr\xE1ha c.1 00:00:11:001\r\n"
                                    " Diskvalifikace \r\n"
                                    " dr\xE1ha c.1 00:00:16:001\r\n"
                                    " dr\xE1ha c.2 00:00:16:301\r\n"
                                    " Hasi\xE8i Nov\xE1 Ves\r\n"
                                    "STOP ZAVODU TLACITKEM 00:00:05:322\r\n"));
    EXPECT_TRUE(rig.messages.seen.empty());
    LogReader reader(rig.logPath());
    reader.update();
    const QList<Attempt> attempts = reader.attempts();
    EXPECT_EQ(CsvWriter::attempts(attempts),
              attemptsHeader + "1;SDH Žďár;00:00:21:502;00:00:21:001;00:00:21:502;platný\r\n"
                               "2;Sokol Lhota;;;;start anulován\r\n"
                               "3;Sokol Lhota;00:00:11:001;;;diskvalifikace\r\n"
                               "4;Sokol Lhota;00:00:16:001;00:00:16:301;00:00:16:301;platný\r\n"
                               "5;Hasiči Nová Ves;;;;zastaveno\r\n");
    ASSERT_EQ(attempts.size(), 5);
    EXPECT_EQ(attempts[4].stopTime, u"00:00:05:322");
}

} // namespace
