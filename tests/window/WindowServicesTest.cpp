#include "tests/support/Rig.h"

#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {

TEST(WindowServices, EndingTheProgramStopsEveryLaterHandler) {
    Rig rig;
    Form1& form = rig.start();
    Rig::click(form.controls().Command1);
    Rig::click(form.controls().Command3); // already queued: must not run once the program has ended
    Rig::click(form.controls().Command8);
    rig.passes(5);
    EXPECT_EQ(rig.end.calls, 1);
    EXPECT_TRUE(form.ended());
    EXPECT_EQ(rig.log(), QByteArray());
    EXPECT_TRUE(rig.lines.pulses(Output::Rts).empty());
    EXPECT_EQ(rig.pause.sleeps, 0) << "the loop was left in the pass that ended the program";
}

} // namespace
