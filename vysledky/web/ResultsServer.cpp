#include "vysledky/web/ResultsServer.h"

#include "vysledky/CsvWriter.h"
#include "vysledky/LogFollower.h"
#include "vysledky/web/ResultsJson.h"

#include <QCryptographicHash>
#include <QFile>
#include <QHttpServerRequest>
#include <QHttpServerResponder>
#include <QTcpServer>
#include <QTcpSocket>

namespace {
using Status = QHttpServerResponder::StatusCode;

const QByteArray html = "text/html; charset=utf-8";
const QByteArray csv = "text/csv; charset=utf-8";

QByteArray embedded(const QString& name) {
    QFile file(QStringLiteral(":/vysledky/pages/") + name);
    if (!file.open(QIODevice::ReadOnly)) {
        qFatal("missing embedded %s", qPrintable(name));
    }
    return file.readAll();
}

// If-None-Match holds one or more tags, weak or strong, or "*".
bool matches(const QByteArray& ifNoneMatch, const QByteArray& etag) {
    for (QByteArray tag : ifNoneMatch.split(',')) {
        tag = tag.trimmed();
        if (tag.startsWith("W/")) {
            tag = tag.mid(2);
        }
        if (tag == "*" || tag == etag) {
            return true;
        }
    }
    return false;
}
} // namespace

ResultsServer::ResultsServer(ConnectionLimits limits, GuardedTcpServer::Clock clock,
                             QObject* parent)
    : QObject(parent), limits_(limits), clock_(std::move(clock)) {
    put(QStringLiteral("/"), html, embedded(QStringLiteral("index.html")));
    put(QStringLiteral("/tabule"), html, embedded(QStringLiteral("tabule.html")));
    put(QStringLiteral("/vysledky.js"), "text/javascript; charset=utf-8",
        embedded(QStringLiteral("vysledky.js")));
    put(QStringLiteral("/vysledky.css"), "text/css; charset=utf-8",
        embedded(QStringLiteral("vysledky.css")));
    // Every request goes through one handler: no path pattern can reach further than the table.
    server_.setMissingHandler(
        [this](const QHttpServerRequest& request, QHttpServerResponder&& responder) {
            answer(request, std::move(responder));
        });
}

bool ResultsServer::listen(const QHostAddress& address, quint16 port, QString& error) {
    auto* tcp = new GuardedTcpServer(limits_, clock_, this);
    if (!tcp->listen(address, port)) {
        error = tcp->errorString();
        delete tcp;
        return false;
    }
    port_ = tcp->serverPort();
    tcp_ = tcp;
    server_.bind(tcp);
    return true;
}

void ResultsServer::put(const QString& path, const QByteArray& type, const QByteArray& body,
                        const QByteArray& disposition) {
    const QByteArray hash = QCryptographicHash::hash(body, QCryptographicHash::Sha1).toHex();
    resources_.insert(path, {type, disposition, body, '"' + hash.left(20) + '"'});
}

void ResultsServer::publish(const LogFollower& follower) {
    const bool categories = follower.hasCategories();
    put(QStringLiteral("/data.json"), "application/json", ResultsJson::document(follower));
    put(QStringLiteral("/pokusy.csv"), csv, CsvWriter::attempts(follower.attempts(), categories),
        R"(attachment; filename="pokusy.csv")");
    put(QStringLiteral("/poradi.csv"), csv,
        CsvWriter::ranking(follower.ranking(), categories, follower.namelessText()),
        R"(attachment; filename="poradi.csv")");
}

void ResultsServer::answer(const QHttpServerRequest& request, QHttpServerResponder&& responder) {
    QTcpSocket* socket = responder.socket();
    if (socket->bytesToWrite() > maxUnreadBytes) {
        // Asks without reading: not worth memory. Dropped once the handler is done with it.
        QMetaObject::invokeMethod(socket, &QTcpSocket::abort, Qt::QueuedConnection);
        return;
    }
    const QString path = request.url().path();
    const auto found = resources_.constFind(path);
    const bool slashAfter =
        path.size() > 1 && path.endsWith(u'/') && resources_.contains(path.chopped(1));
    const bool head = request.method() == QHttpServerRequest::Method::Head;
    const bool get = request.method() == QHttpServerRequest::Method::Get;
    if (path == livePath && get) {
        live_.open(responder, *tcp_);
        emit served(path, static_cast<int>(Status::Ok));
        return;
    }

    Status status = Status::Ok;
    QByteArray type = "text/plain; charset=utf-8";
    QByteArray body;
    if (slashAfter) {
        status = Status::MovedPermanently;
        body = "Přesunuto.\n";
    } else if (found == resources_.cend()) {
        status = Status::NotFound;
        body = "Nenalezeno.\n";
    } else if (!get && !head) {
        status = Status::MethodNotAllowed;
        body = "Jen GET a HEAD.\n";
    } else if (matches(request.value("If-None-Match"), found->etag)) {
        status = Status::NotModified;
    } else {
        type = found->type;
        body = found->body;
    }

    responder.writeStatusLine(status);
    responder.writeHeader("Content-Security-Policy", "default-src 'self'; frame-ancestors 'none'");
    responder.writeHeader("X-Content-Type-Options", "nosniff");
    responder.writeHeader("Cache-Control", "no-cache");
    if (found != resources_.cend() && (get || head)) {
        responder.writeHeader("ETag", found->etag);
    }
    if (slashAfter) {
        responder.writeHeader("Location", path.chopped(1).toUtf8());
    }
    if (status == Status::Ok && !found->disposition.isEmpty()) {
        responder.writeHeader("Content-Disposition", found->disposition);
    }
    if (status == Status::MethodNotAllowed) {
        responder.writeHeader("Allow", "GET, HEAD");
    }
    if (status != Status::NotModified) {
        responder.writeHeader("Content-Type", type);
        responder.writeHeader("Content-Length", QByteArray::number(body.size()));
    }
    // A HEAD and a 304 end with the headers.
    responder.writeBody(head ? QByteArray() : body);
    if (found != resources_.cend()) {
        emit served(path, static_cast<int>(status));
    }
}
