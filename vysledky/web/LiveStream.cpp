#include "vysledky/web/LiveStream.h"

#include "vysledky/web/GuardedTcpServer.h"

#include <QHttpServerResponder>
#include <QTcpSocket>

LiveStream::LiveStream(QObject* parent) : QObject(parent) {
    connect(&heartbeat_, &QTimer::timeout, this, [this] { write(":\n\n"); });
    heartbeat_.start(heartbeatMillis);
}

void LiveStream::setSource(std::function<QByteArray()> source) {
    source_ = std::move(source);
    send();
}

QByteArray LiveStream::event() const {
    return "data: " + (source_ ? source_() : QByteArray(R"({"zobrazit":false})")) + "\n\n";
}

void LiveStream::open(QHttpServerResponder& responder, GuardedTcpServer& front) {
    QTcpSocket* socket = responder.socket();
    front.hold(socket);
    responder.writeStatusLine(QHttpServerResponder::StatusCode::Ok);
    responder.writeHeader("Content-Type", "text/event-stream; charset=utf-8");
    responder.writeHeader("Cache-Control", "no-cache");
    responder.writeHeader("X-Content-Type-Options", "nosniff");
    // A dropped stream is opened again by the page a second later.
    responder.writeBody("retry: 1000\n\n" + event());
    socket->flush();
    viewers_.append(socket);
}

void LiveStream::send() {
    write(event());
}

void LiveStream::write(const QByteArray& bytes) {
    viewers_.removeIf([](const QPointer<QTcpSocket>& socket) {
        return !socket || socket->state() != QAbstractSocket::ConnectedState;
    });
    for (const QPointer<QTcpSocket>& socket : std::as_const(viewers_)) {
        socket->write(bytes);
        // Now, not when the event loop next gets round to it: 1,000 viewers wait in line.
        socket->flush();
    }
}
