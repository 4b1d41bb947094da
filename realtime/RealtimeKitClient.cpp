#include "realtime/RealtimeKitClient.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>

namespace {

const QString service = QStringLiteral("org.freedesktop.RealtimeKit1");
const QString path = QStringLiteral("/org/freedesktop/RealtimeKit1");
const QString interfaceName = QStringLiteral("org.freedesktop.RealtimeKit1");

} // namespace

std::optional<long long> RealtimeKitClient::property(const QString& name) {
    QDBusMessage get = QDBusMessage::createMethodCall(
        service, path, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get << interfaceName << name;
    const QDBusMessage reply = QDBusConnection::systemBus().call(get, QDBus::Block, timeoutMs_);
    if (reply.type() != QDBusMessage::ReplyMessage) {
        error_ = reply.errorName();
        return std::nullopt;
    }
    bool number = false;
    const long long value =
        reply.arguments().value(0).value<QDBusVariant>().variant().toLongLong(&number);
    if (!number) {
        error_ = name + QStringLiteral("?");
        return std::nullopt;
    }
    return value;
}

bool RealtimeKitClient::makeThreadRealtime(long long tid, int priority) {
    QDBusMessage make = QDBusMessage::createMethodCall(service, path, interfaceName,
                                                       QStringLiteral("MakeThreadRealtime"));
    make << static_cast<qulonglong>(tid) << static_cast<uint>(priority);
    const QDBusMessage reply = QDBusConnection::systemBus().call(make, QDBus::Block, timeoutMs_);
    if (reply.type() != QDBusMessage::ReplyMessage) {
        error_ = reply.errorName();
        return false;
    }
    return true;
}
