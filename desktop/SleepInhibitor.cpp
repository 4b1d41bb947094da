#include "desktop/SleepInhibitor.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusUnixFileDescriptor>

#include <fcntl.h>
#include <unistd.h>

SleepInhibitor::SleepInhibitor(const QString& who, const QString& why, int timeoutMs) {
    QDBusMessage inhibit = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
        QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("Inhibit"));
    inhibit << QStringLiteral("sleep:idle:handle-lid-switch") << who << why
            << QStringLiteral("block");
    const QDBusMessage reply = QDBusConnection::systemBus().call(inhibit, QDBus::Block, timeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage) {
        error_ = reply.errorName();
        return;
    }
    const auto lock = reply.arguments().value(0).value<QDBusUnixFileDescriptor>();
    // The answer's own copy closes with it; this one stays open until release().
    fd_ = lock.isValid() ? ::fcntl(lock.fileDescriptor(), F_DUPFD_CLOEXEC, 0) : -1;
    if (fd_ < 0) {
        error_ = QStringLiteral("no descriptor");
    }
}

void SleepInhibitor::release() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}
