#include "vysledky/web/GuardedTcpServer.h"

#include <QElapsedTimer>
#include <QTcpSocket>

#include <sys/resource.h>

#include <limits>

namespace {
constexpr int sweepMillis = 1000;
constexpr int acceptRetryMillis = 200;

qint64 steadyMillis() {
    static QElapsedTimer started = [] {
        QElapsedTimer timer;
        timer.start();
        return timer;
    }();
    return started.elapsed();
}

QByteArray plainAnswer(const QByteArray& statusLine, const QByteArray& text) {
    return "HTTP/1.1 " + statusLine +
           "\r\nContent-Type: text/plain; charset=utf-8\r\nContent-Length: " +
           QByteArray::number(text.size()) + "\r\nConnection: close\r\n\r\n" + text;
}
} // namespace

void GuardedTcpServer::raiseOpenFileLimit() {
    rlimit limit{};
    if (getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur < limit.rlim_max) {
        limit.rlim_cur = limit.rlim_max;
        setrlimit(RLIMIT_NOFILE, &limit);
    }
}

GuardedTcpServer::GuardedTcpServer(ConnectionLimits limits, Clock clock, QObject* parent)
    : QTcpServer(parent), limits_(limits), clock_(clock ? std::move(clock) : steadyMillis) {
    connect(&sweeper_, &QTimer::timeout, this, &GuardedTcpServer::sweep);
    sweeper_.start(sweepMillis);
    connect(this, &QTcpServer::acceptError, this, &GuardedTcpServer::onAcceptError);
}

void GuardedTcpServer::incomingConnection(qintptr descriptor) {
    if (connectionCount() >= limits_.connections) {
        evictOne(false);
    }
    auto* socket = new QTcpSocket(this);
    if (!socket->setSocketDescriptor(descriptor)) {
        delete socket;
        return;
    }
    const qint64 now = clock_();
    connections_.insert(socket, {now, now, false, false, false, {}});
    // Connected before the HTTP server's own handler, so this one sees every byte first.
    connect(socket, &QTcpSocket::readyRead, this, [this, socket] { readHeads(socket); });
    connect(socket, &QTcpSocket::bytesWritten, this, [this, socket] {
        const auto found = connections_.find(socket);
        if (found != connections_.end()) {
            found->lastWritten = clock_();
            if (found->betweenRequests && socket->bytesToWrite() == 0) {
                found->waitingSince = found->lastWritten;
            }
        }
    });
    connect(socket, &QObject::destroyed, this, [this, socket] { connections_.remove(socket); });
    addPendingConnection(socket);
}

// The HTTP server reads all a socket holds in its own handler, which runs after this one: what
// is available now is what arrived since the last call.
void GuardedTcpServer::readHeads(QTcpSocket* socket) {
    const auto found = connections_.find(socket);
    if (found == connections_.end()) {
        return;
    }
    Connection& connection = *found;
    if (connection.pending.isEmpty() && connection.betweenRequests) {
        connection.betweenRequests = false;
        connection.waitingSince = clock_();
    }
    connection.pending += socket->peek(socket->bytesAvailable());
    bool answered = false;
    for (;;) {
        const RequestHead head = RequestHead::read(connection.pending);
        if (head.verdict == RequestHead::Verdict::Incomplete) {
            break;
        }
        if (head.verdict != RequestHead::Verdict::Complete) {
            reject(socket, head.verdict);
            return;
        }
        connection.pending.remove(0, head.length);
        connection.closeAfterAnswer = connection.closeAfterAnswer || head.close;
        answered = true;
    }
    if (!answered) {
        return;
    }
    // The HTTP server's handler answers right after this one.
    const qint64 now = clock_();
    connection.lastWritten = now;
    if (connection.pending.isEmpty()) {
        connection.betweenRequests = true;
        connection.waitingSince = now;
    }
    if (connection.closeAfterAnswer) {
        // Once that handler has answered; what is left of the answer is sent before closing.
        QMetaObject::invokeMethod(
            this,
            [this, socket] {
                if (connections_.contains(socket) && !connections_[socket].held) {
                    socket->disconnectFromHost();
                }
            },
            Qt::QueuedConnection);
    }
}

void GuardedTcpServer::reject(QTcpSocket* socket, RequestHead::Verdict verdict) {
    // Taken from the HTTP server, whose handler then finds nothing to read.
    socket->readAll();
    connections_[socket].pending.clear();
    socket->write(verdict == RequestHead::Verdict::BadVersion
                      ? plainAnswer("505 HTTP Version Not Supported", "Jen HTTP/1.0 a 1.1.\n")
                      : plainAnswer("400 Bad Request", "Chybný požadavek.\n"));
    socket->disconnectFromHost();
}

void GuardedTcpServer::hold(QTcpSocket* socket) {
    const auto found = connections_.find(socket);
    if (found != connections_.end()) {
        found->held = true;
    }
}

bool GuardedTcpServer::isIdle(QTcpSocket* socket, const Connection& connection) const {
    return !connection.held && connection.pending.isEmpty() && socket->bytesToWrite() == 0;
}

void GuardedTcpServer::sweep() {
    const qint64 now = clock_();
    QList<QTcpSocket*> late;
    for (auto it = connections_.cbegin(); it != connections_.cend(); ++it) {
        QTcpSocket* socket = it.key();
        const Connection& connection = it.value();
        const bool writing = socket->bytesToWrite() > 0;
        if (connection.held && !writing) {
            continue;
        }
        const qint64 since = writing ? connection.lastWritten : connection.waitingSince;
        const auto limit = writing                      ? limits_.unread
                           : connection.betweenRequests ? limits_.idle
                                                        : limits_.request;
        if (now - since >= limit.count()) {
            late.append(socket);
        }
    }
    for (QTcpSocket* socket : std::as_const(late)) {
        drop(socket);
    }
}

// The connection waiting longest: among the idle ones, or among all when none is idle.
bool GuardedTcpServer::evictOne(bool idleOnly) {
    QTcpSocket* oldest = nullptr;
    qint64 oldestSince = std::numeric_limits<qint64>::max();
    for (int pass = 0; pass < (idleOnly ? 1 : 2) && oldest == nullptr; ++pass) {
        for (auto it = connections_.cbegin(); it != connections_.cend(); ++it) {
            const bool candidate = pass == 1 || isIdle(it.key(), it.value());
            if (candidate && it->waitingSince < oldestSince) {
                oldest = it.key();
                oldestSince = it->waitingSince;
            }
        }
    }
    if (oldest != nullptr) {
        drop(oldest);
    }
    return oldest != nullptr;
}

void GuardedTcpServer::drop(QTcpSocket* socket) {
    connections_.remove(socket);
    socket->abort();
    // Safe to ask twice: the HTTP server deletes it on disconnection too.
    socket->deleteLater();
}

// Out of file descriptors: listening is paused. Making room and listening on, or trying again
// a little later, never in a busy loop.
void GuardedTcpServer::onAcceptError() {
    if (evictOne(true)) {
        resumeAccepting();
    } else {
        QTimer::singleShot(acceptRetryMillis, this, &QTcpServer::resumeAccepting);
    }
}
