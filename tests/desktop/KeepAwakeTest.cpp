#include "desktop/KeepAwake.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusUnixFileDescriptor>
#include <QDBusVirtualObject>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>

#include <gtest/gtest.h>

#include <mutex>
#include <poll.h>
#include <sstream>
#include <unistd.h>

namespace {

// logind and the screen saver in one, served from a thread of its own. Notes every call; logind
// grants a lock (the write end of a pipe) or refuses.
class FakeDesktop final : public QDBusVirtualObject {
public:
    std::mutex m;
    bool refuse = false;
    QString calls;
    int lock = -1; // sees the end of the file once every copy of the other end is closed

    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage& call, const QDBusConnection& bus) override {
        const std::lock_guard guard(m);
        QStringList line{call.path(), call.interface() + '.' + call.member()};
        for (const QVariant& argument : call.arguments()) {
            line << argument.toString();
        }
        calls += line.join('|') + '\n';
        QDBusMessage reply = call.createReply();
        int ends[2];
        if (call.interface() == QLatin1String("org.freedesktop.ScreenSaver")) {
            reply << 42u;
        } else if (refuse || ::pipe(ends) != 0) {
            reply = call.createErrorReply(QDBusError::AccessDenied, QStringLiteral("refused"));
        } else {
            lock = ends[0];
            reply << QVariant::fromValue(QDBusUnixFileDescriptor(ends[1]));
            ::close(ends[1]);
        }
        return bus.send(reply);
    }
    bool lockOpen() {
        const std::lock_guard guard(m);
        pollfd end{lock, POLLIN, 0};
        return lock >= 0 && ::poll(&end, 1, 0) == 0;
    }
};

// On a private bus standing for the system's and the session's, for each way the desktop answers:
// the lock held while the program runs, every call the desktop sees, the lines on stderr.
TEST(KeepAwake, AsksForBothLocksHoldsThemWhileItRunsAndSaysWhatItCouldNotHave) {
    if (QStandardPaths::findExecutable(QStringLiteral("dbus-daemon")).isEmpty()) {
        GTEST_SKIP() << "dbus-daemon is not installed (package dbus)";
    }
    QProcess bus;
    bus.start(QStringLiteral("dbus-daemon"), {"--session", "--nofork", "--print-address"});
    ASSERT_TRUE(bus.waitForReadyRead(10000));
    const QByteArray address = bus.readLine().trimmed();
    qputenv("DBUS_SYSTEM_BUS_ADDRESS", address);
    qputenv("DBUS_SESSION_BUS_ADDRESS", address);
    QThread thread;
    thread.start();
    const QString sleep =
        "/org/freedesktop/login1|org.freedesktop.login1.Manager.Inhibit|sleep:idle:"
        "handle-lid-switch|TAVORIN V.02|Probíhá měření požárního útoku|block\n";
    const QString screen = "%1|org.freedesktop.ScreenSaver.Inhibit|TAVORIN V.02|Probíhá měření "
                           "požárního útoku\n%1|org.freedesktop.ScreenSaver.UnInhibit|42\n";
    const QString noSleep = "tavorin: uspání počítače nelze zablokovat (logind: org.freedesktop."
                            "DBus.Error.%1) / suspend cannot be blocked (logind: org.freedesktop."
                            "DBus.Error.%1)\n";
    const struct {
        const char* screenPath; // none: neither service is there
        bool refuse;
        QString calls, out;
    } cases[] = {
        {"/org/freedesktop/ScreenSaver", false, sleep + screen.arg("/org/freedesktop/ScreenSaver"),
         ""},
        {"/ScreenSaver", true, sleep + screen.arg("/ScreenSaver"), noSleep.arg("AccessDenied")},
        {nullptr, false, "",
         noSleep.arg("ServiceUnknown") + "tavorin: spořič obrazovky nelze zablokovat "
                                         "(org.freedesktop.DBus.Error.ServiceUnknown) "
                                         "/ the screen saver cannot be inhibited "
                                         "(org.freedesktop.DBus.Error.ServiceUnknown)\n"},
    };
    int run = 0;
    for (const auto& c : cases) {
        FakeDesktop fake;
        fake.refuse = c.refuse;
        fake.moveToThread(&thread);
        auto desktop =
            QDBusConnection::connectToBus(QString::fromLatin1(address), QString::number(++run));
        if (c.screenPath != nullptr) {
            ASSERT_TRUE(desktop.registerVirtualObject("/org/freedesktop/login1", &fake) &&
                        desktop.registerService("org.freedesktop.login1") &&
                        desktop.registerVirtualObject(c.screenPath, &fake) &&
                        desktop.registerService("org.freedesktop.ScreenSaver"));
        }
        std::ostringstream out;
        KeepAwake awake(out, 10'000); // every case answers at once: the wait is for a busy machine
        EXPECT_EQ(fake.lockOpen(), !c.refuse && c.screenPath != nullptr);
        awake.release();
        EXPECT_FALSE(fake.lockOpen());
        EXPECT_EQ(fake.calls, c.calls);
        EXPECT_EQ(QString::fromStdString(out.str()), c.out);
        QDBusConnection::disconnectFromBus(desktop.name());
    }
    thread.quit();
    thread.wait();
}

} // namespace
