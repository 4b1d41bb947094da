#pragma once

#include "vysledky/web/GuardedTcpServer.h"
#include "vysledky/web/LiveStream.h"

#include <QByteArray>
#include <QHash>
#include <QHostAddress>
#include <QHttpServer>
#include <QObject>
#include <QString>

class LogFollower;

// The results on the local network: a page for phones (/), one for a big screen (/tabule),
// their script and style, /data.json that both read, the two CSV tables, and the run as it
// happens pushed to both pages (/na-trati, a stream of Server-Sent Events). Everything is
// made in memory; a URL only ever picks one of these fixed texts, never a file.
//
// Only GET and HEAD; any other method 405, any other path 404; a known path with a slash after
// it leads to the path. The CSVs come as attachments with their names. Every response says what it
// holds (ETag, from its bytes), so a page asking again with If-None-Match gets a bodiless 304
// while nothing has changed.
class ResultsServer final : public QObject {
    Q_OBJECT

public:
    // A client that lets this much pile up unread is dropped.
    static constexpr qint64 maxUnreadBytes = 4 * 1024 * 1024;

    // The limits and the clock of the connections; a test shrinks them or passes its own clock.
    explicit ResultsServer(ConnectionLimits limits = {}, GuardedTcpServer::Clock clock = {},
                           QObject* parent = nullptr);

    // Any address: every interface. Port 0: one the system picks. Error in Czech.
    bool listen(const QHostAddress& address, quint16 port, QString& error);
    quint16 port() const { return port_; }
    // The listening socket once listening, else null.
    GuardedTcpServer* connections() const { return tcp_; }

    // Takes the follower's current tables.
    void publish(const LogFollower& follower);

    static inline const QString livePath = QStringLiteral("/na-trati");
    LiveStream& live() { return live_; }

signals:
    // After each answer to a known path, with its status.
    void served(const QString& path, int status);

private:
    struct Resource {
        QByteArray type;
        QByteArray disposition;
        QByteArray body;
        QByteArray etag;
    };
    void put(const QString& path, const QByteArray& type, const QByteArray& body,
             const QByteArray& disposition = {});
    void answer(const QHttpServerRequest& request, QHttpServerResponder&& responder);

    ConnectionLimits limits_;
    GuardedTcpServer::Clock clock_;
    GuardedTcpServer* tcp_ = nullptr; // owned by server_
    QHttpServer server_;
    QHash<QString, Resource> resources_;
    LiveStream live_;
    quint16 port_ = 0;
};
