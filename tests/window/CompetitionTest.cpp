#include "tests/support/Rig.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// A whole afternoon at the track, through the fake lines, and the file it leaves behind.
TEST(Competition, TheResultsLogOfAWholeRunIsExactlyAsExpected) {
    Rig rig;
    Form1& form = rig.start();
    auto click = [&](QAbstractButton* button) {
        Rig::click(button);
        rig.passes(1);
    };
    auto startContact = [&] {
        rig.lines.dcd = true;
        rig.passes(1);
        rig.lines.dcd = false;
    };

    // First team: name saved, a clean run, lane 2 first.
    form.controls().Text1->insert(QStringLiteral("SDH Žďár")); // typed at the cursor
    click(form.controls().Command3);
    startContact(); // race from 1 ms; its pulse lasts 1000.2 ms
    rig.passes(20'000);
    rig.lines.dsr = true;
    rig.passes(1);
    rig.passes(500);
    rig.lines.cts = true;
    rig.passes(1); // finish: stop pulse
    rig.lines.cts = rig.lines.dsr = false;
    rig.passes(10);

    // Next team; a false start annulled by the start contact signalling a third time.
    click(form.controls().Command2);
    form.controls().Text1->insert(QStringLiteral("Sokol Lhota")); // typed at the cursor
    click(form.controls().Command3);
    click(form.controls().Command4);
    startContact();
    rig.passes(3);
    startContact();
    rig.passes(3);
    startContact(); // annuls, then starts again
    rig.passes(3);

    // The third signal annulled and, the contact being still closed, started the second try at
    // once; a fourth signal only repeats the start pulse. That try ends in a disqualification.
    startContact();
    rig.passes(10'000);
    rig.lines.cts = true;
    rig.passes(1);
    rig.lines.cts = false;
    click(form.controls().Command5);

    // Third team: stopped by hand.
    click(form.controls().Command2);
    form.controls().Text1->insert(QStringLiteral("Hasiči Nová Ves")); // typed at the cursor
    click(form.controls().Command3);
    startContact();
    rig.passes(4'321);
    click(form.controls().ButStop);

    EXPECT_EQ(rig.log(), QByteArray("SDH \x8E\xEF\xE1r\r\n"
                                    " dr\xE1ha c.2 00:00:21:001\r\n"
                                    " dr\xE1ha c.1 00:00:21:502\r\n"
                                    " Sokol Lhota\r\n"
                                    " Start anulovan \r\n"
                                    " dr\xE1ha c.1 00:00:12:005\r\n"
                                    " Diskvalifikace \r\n"
                                    " Hasi\xE8i Nov\xE1 Ves\r\n"
                                    "STOP ZAVODU TLACITKEM 00:00:05:322\r\n"));
    EXPECT_EQ(rig.messages.seen.size(), 0U);
}

} // namespace
