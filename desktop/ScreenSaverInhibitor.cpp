#include "desktop/ScreenSaverInhibitor.h"

#include <QDBusConnection>
#include <QDBusMessage>

namespace {

const QString service = QStringLiteral("org.freedesktop.ScreenSaver");

QDBusMessage call(const QString& path, const QString& method, const QVariantList& arguments,
                  int timeoutMs) {
    QDBusMessage message = QDBusMessage::createMethodCall(service, path, service, method);
    message.setArguments(arguments);
    return QDBusConnection::sessionBus().call(message, QDBus::Block, timeoutMs);
}

} // namespace

ScreenSaverInhibitor::ScreenSaverInhibitor(const QString& application, const QString& reason,
                                           int timeoutMs)
    : timeoutMs_(timeoutMs) {
    for (const QString& path :
         {QStringLiteral("/org/freedesktop/ScreenSaver"), QStringLiteral("/ScreenSaver")}) {
        const QDBusMessage reply =
            call(path, QStringLiteral("Inhibit"), {application, reason}, timeoutMs);
        if (reply.type() == QDBusMessage::ReplyMessage) {
            path_ = path;
            cookie_ = reply.arguments().value(0).toUInt();
            return;
        }
        if (error_.isEmpty()) {
            error_ = reply.errorName();
        }
        // Only a screen saver that is there but elsewhere is worth a second question.
        if (reply.errorName() != QLatin1String("org.freedesktop.DBus.Error.UnknownObject") &&
            reply.errorName() != QLatin1String("org.freedesktop.DBus.Error.UnknownMethod")) {
            return;
        }
    }
}

void ScreenSaverInhibitor::release() {
    if (held()) {
        call(path_, QStringLiteral("UnInhibit"), {cookie_}, timeoutMs_);
        path_.clear();
    }
}
