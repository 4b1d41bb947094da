#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusError>
#include <QDBusUnixFileDescriptor>
#include <QFile>

#include <cstdio>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

// Stands in for logind and the screen saver on a test's private bus; blocks nothing for real.
// Arguments: LOG LOGIND SCREENSAVER, where LOGIND is "grant" or "refuse" and SCREENSAVER the
// path it answers at. Every call is appended to LOG before the answer.
class Fake : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.login1.Manager")

public:
    explicit Fake(QStringList args) : args_(std::move(args)) {}

public slots:
    QDBusUnixFileDescriptor Inhibit(QString what, QString who, QString why, QString mode) {
        log(QStringList{QStringLiteral("Inhibit"), what, who, why, mode}.join(QLatin1Char('|')));
        int ends[2];
        if (args_.at(2) == QLatin1String("refuse") || ::pipe2(ends, O_CLOEXEC) != 0) {
            sendErrorReply(QDBusError::AccessDenied, QStringLiteral("refused"));
            return {};
        }
        lock_ = ends[0]; // sees the end of the file once every copy of the other end is closed
        QDBusUnixFileDescriptor answer(ends[1]);
        ::close(ends[1]);
        return answer;
    }
    // For the test: whether the program still holds the descriptor it was given.
    bool LockOpen() {
        pollfd lock{lock_, POLLIN, 0};
        return lock_ >= 0 && ::poll(&lock, 1, 0) == 0;
    }

public:
    void log(const QString& line) {
        QFile file(args_.at(1));
        file.open(QIODevice::Append);
        file.write(line.toUtf8() + '\n');
    }
    QStringList args_;
    int lock_ = -1;
};

class FakeScreenSaver : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.ScreenSaver")

public:
    explicit FakeScreenSaver(Fake& log) : log_(log) {}

public slots:
    uint Inhibit(QString application, QString reason) {
        return log_.log(QStringLiteral("ScreenSaver.Inhibit|") + application + '|' + reason), 42;
    }
    void UnInhibit(uint cookie) {
        log_.log(QStringLiteral("ScreenSaver.UnInhibit|%1").arg(cookie));
    }

private:
    Fake& log_;
};

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    Fake logind(app.arguments());
    FakeScreenSaver screenSaver(logind);
    QDBusConnection system = QDBusConnection::systemBus();
    QDBusConnection session = QDBusConnection::sessionBus();
    if (!system.registerObject(QStringLiteral("/org/freedesktop/login1"), &logind,
                               QDBusConnection::ExportAllSlots) ||
        !system.registerService(QStringLiteral("org.freedesktop.login1")) ||
        !session.registerObject(app.arguments().at(3), &screenSaver,
                                QDBusConnection::ExportAllSlots) ||
        !session.registerService(QStringLiteral("org.freedesktop.ScreenSaver"))) {
        return 1;
    }
    std::puts("ready");
    std::fflush(stdout);
    return QCoreApplication::exec();
}

#include "FakeDesktop.moc"
