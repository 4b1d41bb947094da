#pragma once

#include <QByteArray>
#include <QHash>
#include <QHostAddress>
#include <QTcpSocket>
#include <QTest>

// A plain HTTP/1.1 client on one connection, for a server in the same thread: while it waits it
// runs the event loop, so the server answers. Requests are raw bytes, to send malformed ones.
class HttpClient {
public:
    struct Response {
        int status = 0;
        QHash<QByteArray, QByteArray> headers; // names in lower case
        QByteArray body;
    };

    explicit HttpClient(quint16 port) { socket_.connectToHost(QHostAddress::LocalHost, port); }

    static QByteArray request(const QByteArray& method, const QByteArray& path,
                              const QByteArray& headers = {}) {
        return method + ' ' + path + " HTTP/1.1\r\nHost: test\r\n" + headers + "\r\n";
    }

    QTcpSocket& socket() { return socket_; }
    void send(const QByteArray& bytes) { socket_.write(bytes); }

    // The next response; a HEAD's has no body whatever its Content-Length says.
    Response receive(bool head = false) {
        Response response;
        qsizetype end = -1;
        waitFor([&] { return (end = buffer_.indexOf("\r\n\r\n")) >= 0; });
        if (end < 0) {
            return response; // closed without an answer
        }
        const QList<QByteArray> lines = buffer_.left(end).split('\n');
        response.status = lines[0].mid(9, 3).toInt();
        for (qsizetype i = 1; i < lines.size(); ++i) {
            const qsizetype colon = lines[i].indexOf(':');
            response.headers.insert(lines[i].left(colon).trimmed().toLower(),
                                    lines[i].mid(colon + 1).trimmed());
        }
        const qsizetype length = head || response.status == 304
                                     ? 0
                                     : response.headers.value("content-length").toLongLong();
        buffer_.remove(0, end + 4);
        waitFor([&] { return buffer_.size() >= length; });
        response.body = buffer_.left(length);
        buffer_.remove(0, length);
        return response;
    }

    Response exchange(const QByteArray& method, const QByteArray& path,
                      const QByteArray& headers = {}) {
        send(request(method, path, headers));
        return receive(method == "HEAD");
    }

private:
    template <typename Done> void waitFor(Done done) {
        [[maybe_unused]] const bool done_ = QTest::qWaitFor([&] {
            buffer_ += socket_.readAll();
            return done() || socket_.state() == QAbstractSocket::UnconnectedState;
        });
    }

    QTcpSocket socket_;
    QByteArray buffer_;
};
