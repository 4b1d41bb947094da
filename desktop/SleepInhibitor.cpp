#include "desktop/SleepInhibitor.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusUnixFileDescriptor>

#include <fcntl.h>
#include <unistd.h>

Inhibition inhibitSleep(const QString& who, const QString& why, int timeoutMs) {
    QDBusMessage inhibit = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
        QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("Inhibit"));
    inhibit << QStringLiteral("sleep:idle:handle-lid-switch") << who << why
            << QStringLiteral("block");
    const QDBusMessage reply = QDBusConnection::systemBus().call(inhibit, QDBus::Block, timeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage) {
        return Inhibition(reply.errorName());
    }
    const auto lock = reply.arguments().value(0).value<QDBusUnixFileDescriptor>();
    // The answer's own copy closes with it; this one stays open until the release.
    const int fd = lock.isValid() ? ::fcntl(lock.fileDescriptor(), F_DUPFD_CLOEXEC, 0) : -1;
    if (fd < 0) {
        return Inhibition(QStringLiteral("no descriptor"));
    }
    return Inhibition([fd] { ::close(fd); });
}
