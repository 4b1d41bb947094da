#include "desktop/KeepAwake.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <sstream>

namespace {

struct Case {
    const char* name;
    QStringList fake; // how logind answers, where the screen saver is; empty: neither on the bus
    bool locked;      // the sleep lock's descriptor held while it runs
    std::string calls;
    const char* out;
    friend void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }
};

class KeepAwakeTest : public ::testing::TestWithParam<Case> {
protected:
    static inline std::unique_ptr<QProcess> bus;
    // One private bus stands for both the system's and the session's, before either connects.
    static void SetUpTestSuite() {
        if (!QStandardPaths::findExecutable(QStringLiteral("dbus-daemon")).isEmpty()) {
            bus = std::make_unique<QProcess>();
            bus->start(QStringLiteral("dbus-daemon"), {"--session", "--nofork", "--print-address"});
            bus->waitForReadyRead(10000);
            const QByteArray address = bus->readLine().trimmed();
            qputenv("DBUS_SYSTEM_BUS_ADDRESS", address);
            qputenv("DBUS_SESSION_BUS_ADDRESS", address);
        }
    }
    static void TearDownTestSuite() { bus.reset(); }
    static bool lockOpen() {
        const QDBusMessage reply = QDBusConnection::systemBus().call(
            QDBusMessage::createMethodCall("org.freedesktop.login1", "/org/freedesktop/login1",
                                           "org.freedesktop.login1.Manager", "LockOpen"));
        return reply.type() == QDBusMessage::ReplyMessage && reply.arguments().value(0).toBool();
    }
};

TEST_P(KeepAwakeTest, AsksForBothLocksHoldsThemWhileItRunsAndSaysWhatItCouldNotHave) {
    if (!bus) {
        GTEST_SKIP() << "dbus-daemon is not installed (package dbus)";
    }
    const Case& c = GetParam();
    QTemporaryDir dir;
    const QString log = dir.filePath(QStringLiteral("calls"));
    QFile(log).open(QIODevice::WriteOnly);
    QProcess fake;
    if (!c.fake.isEmpty()) {
        fake.start(QStringLiteral(FAKE_DESKTOP), QStringList{log} + c.fake);
        ASSERT_TRUE(fake.waitForReadyRead(10000)) << "the fake desktop did not start";
    }
    std::ostringstream out;
    {
        KeepAwake awake(out);
        EXPECT_EQ(lockOpen(), c.locked);
        awake.release();
        EXPECT_FALSE(lockOpen());
    }
    fake.kill();
    fake.waitForFinished();
    QFile calls(log);
    calls.open(QIODevice::ReadOnly);
    EXPECT_EQ(QString::fromUtf8(calls.readAll()), QString::fromStdString(c.calls));
    EXPECT_EQ(out.str(), c.out);
}

const char* const inhibit = "Inhibit|sleep:idle:handle-lid-switch|TAVORIN V.02|Probíhá měření "
                            "požárního útoku|block\n";
const char* const screenSaver = "ScreenSaver.Inhibit|TAVORIN V.02|Probíhá měření požárního útoku\n"
                                "ScreenSaver.UnInhibit|42\n";

INSTANTIATE_TEST_SUITE_P(
    Cases, KeepAwakeTest,
    ::testing::Values(
        Case{"BothGranted",
             {"grant", "/org/freedesktop/ScreenSaver"},
             true,
             std::string(inhibit) + screenSaver,
             ""},
        Case{"LogindRefusesTheScreenSaverAnswersAtItsOlderPath",
             {"refuse", "/ScreenSaver"},
             false,
             std::string(inhibit) + screenSaver,
             "tavorin: uspání počítače nelze zablokovat (logind: "
             "org.freedesktop.DBus.Error.AccessDenied) / suspend cannot be blocked (logind: "
             "org.freedesktop.DBus.Error.AccessDenied)\n"},
        Case{"NeitherOnTheBus",
             {},
             false,
             "",
             "tavorin: uspání počítače nelze zablokovat (logind: "
             "org.freedesktop.DBus.Error.ServiceUnknown) / suspend cannot be blocked (logind: "
             "org.freedesktop.DBus.Error.ServiceUnknown)\n"
             "tavorin: spořič obrazovky nelze zablokovat "
             "(org.freedesktop.DBus.Error.ServiceUnknown) "
             "/ the screen saver cannot be inhibited "
             "(org.freedesktop.DBus.Error.ServiceUnknown)\n"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
