#include "vysledky/web/WebAddresses.h"

#include <QNetworkInterface>

namespace {
QString url(const QHostAddress& host, quint16 port) {
    const QString text = host.protocol() == QAbstractSocket::IPv6Protocol
                             ? QStringLiteral("[%1]").arg(host.toString())
                             : host.toString();
    return QStringLiteral("http://%1:%2/").arg(text).arg(port);
}
} // namespace

QStringList webAddresses(const QHostAddress& address, quint16 port) {
    if (address != QHostAddress::Any && address != QHostAddress::AnyIPv4 &&
        address != QHostAddress::AnyIPv6) {
        return {url(address, port)};
    }
    QStringList urls;
    for (const QNetworkInterface& interface : QNetworkInterface::allInterfaces()) {
        const auto flags = interface.flags();
        if (!flags.testFlag(QNetworkInterface::IsUp) ||
            flags.testFlag(QNetworkInterface::IsLoopBack)) {
            continue;
        }
        for (const QNetworkAddressEntry& entry : interface.addressEntries()) {
            if (entry.ip().protocol() == QAbstractSocket::IPv4Protocol) {
                urls.append(url(entry.ip(), port));
            }
        }
    }
    urls.append(url(QHostAddress(QHostAddress::LocalHost), port));
    return urls;
}
