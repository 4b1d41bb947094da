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

Inhibition inhibitScreenSaver(const QString& application, const QString& reason, int timeoutMs) {
    QString error;
    for (const QString& path :
         {QStringLiteral("/org/freedesktop/ScreenSaver"), QStringLiteral("/ScreenSaver")}) {
        const QDBusMessage reply =
            call(path, QStringLiteral("Inhibit"), {application, reason}, timeoutMs);
        if (reply.type() == QDBusMessage::ReplyMessage) {
            const uint cookie = reply.arguments().value(0).toUInt();
            return Inhibition([path, cookie, timeoutMs] {
                call(path, QStringLiteral("UnInhibit"), {cookie}, timeoutMs);
            });
        }
        if (error.isEmpty()) {
            error = reply.errorName();
        }
        // Only a screen saver that is there but elsewhere is worth a second question.
        if (reply.errorName() != QLatin1String("org.freedesktop.DBus.Error.UnknownObject") &&
            reply.errorName() != QLatin1String("org.freedesktop.DBus.Error.UnknownMethod")) {
            break;
        }
    }
    return Inhibition(error);
}
