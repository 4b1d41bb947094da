#include "serial/Module1.h"
#include "tests/support/Rig.h"
#include "window/Application.h"

#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

#include <stdexcept>

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

TEST(WindowServices, AnUntrappedErrorIsReportedThenTheProgramEndsWithItsOutputsDown) {
    Rig rig;
    Form1& form = rig.start();
    auto* app = qobject_cast<Application*>(QCoreApplication::instance());
    ASSERT_NE(app, nullptr);
    app->setRunTimeErrorHandler([&form](const QString& what) { form.reportRunTimeError(what); });
    Module1::SetDtr(1);
    QMetaObject::invokeMethod(
        &form, [] { throw std::runtime_error("overflow"); }, Qt::QueuedConnection);
    rig.passes(1);
    app->setRunTimeErrorHandler(nullptr);
    EXPECT_EQ(rig.messages.texts(),
              QStringList{QStringLiteral("Chyba za běhu programu: overflow")});
    EXPECT_EQ(rig.end.calls, 1);
    EXPECT_FALSE(rig.lines.level(Output::Dtr));
    EXPECT_TRUE(rig.lines.openPort.isEmpty());
}

} // namespace
