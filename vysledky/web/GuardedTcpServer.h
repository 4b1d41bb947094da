#pragma once

#include "vysledky/web/RequestHead.h"

#include <QByteArray>
#include <QHash>
#include <QTcpServer>
#include <QTimer>

#include <chrono>
#include <functional>

class QTcpSocket;

// How long a client may take and how many may be connected at once: a thousand phones and
// screens following the run live, with room for those only asking for the results.
struct ConnectionLimits {
    std::chrono::milliseconds request{10'000}; // to send a whole request once connected
    std::chrono::milliseconds idle{15'000};    // between an answer and the next request
    std::chrono::milliseconds unread{30'000};  // an answer that the client does not read on
    int connections = 1'200;
};

// The listening socket in front of the HTTP server. Qt HTTP Server keeps every connection for
// as long as the client wants, never answers a request it cannot parse and ignores
// "Connection: close"; one phone left on a page could hold a file descriptor for ever, and a
// thousand idle connections would lock everyone out. This server hands each connection on to
// the HTTP server, but first:
//
// - reads each request's head before the HTTP server does, answers 400 or 505 to one that is
//   not HTTP/1.0 or 1.1 (the HTTP server never sees it) and closes the connection after the
//   answer when the client asked for that;
// - closes a connection that sends no whole request in time, stays idle too long between
//   requests, or stops reading its answer;
// - keeps at most `connections` open: a new one makes room by closing the one idle longest, so
//   a new phone is always served. When the system runs out of file descriptors, the same.
//
// A held connection (a live stream, answered on and on) is never idle and has no request to
// wait for: only the unread limit closes it, and it counts against the cap.
class GuardedTcpServer final : public QTcpServer {
    Q_OBJECT

public:
    // Milliseconds on a monotonic clock; a test passes its own.
    using Clock = std::function<qint64()>;

    explicit GuardedTcpServer(ConnectionLimits limits = {}, Clock clock = {},
                              QObject* parent = nullptr);

    // A desktop session allows 1,024 open files unless the program asks for more, up to the hard
    // limit: asked for at start.
    static void raiseOpenFileLimit();

    int connectionCount() const { return static_cast<int>(connections_.size()); }

    // Closes the connections past their time. Runs every second on its own.
    void sweep();

    // The socket's answer goes on for as long as the client stays (see above).
    void hold(QTcpSocket* socket);

protected:
    void incomingConnection(qintptr descriptor) override;

private:
    struct Connection {
        qint64 waitingSince = 0;       // for a request, or for the next one after an answer
        qint64 lastWritten = 0;        // when the client last took bytes of an answer
        bool betweenRequests = false;  // else within a request, or before the first
        bool closeAfterAnswer = false; // the client asked to close after the current answer
        bool held = false;             // a live stream
        QByteArray pending;            // the part of the next request seen so far
    };
    void readHeads(QTcpSocket* socket);
    void reject(QTcpSocket* socket, RequestHead::Verdict verdict);
    bool isIdle(QTcpSocket* socket, const Connection& connection) const;
    bool evictOne(bool idleOnly);
    void drop(QTcpSocket* socket);
    void onAcceptError();

    ConnectionLimits limits_;
    Clock clock_;
    QTimer sweeper_;
    QHash<QTcpSocket*, Connection> connections_;
};
