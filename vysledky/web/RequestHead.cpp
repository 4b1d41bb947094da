#include "vysledky/web/RequestHead.h"

#include <QByteArray>
#include <QList>

namespace {
using Verdict = RequestHead::Verdict;

bool isTokenChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           QByteArrayView("!#$%&'*+-.^_`|~").contains(c);
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// A byte that no request line holds: controls and anything beyond ASCII.
bool isForeign(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte >= 0x7F;
}

Verdict checkRequestLine(QByteArrayView line) {
    const qsizetype firstSpace = line.indexOf(' ');
    const qsizetype lastSpace = line.lastIndexOf(' ');
    if (firstSpace <= 0 || lastSpace == firstSpace || lastSpace == firstSpace + 1) {
        return Verdict::BadRequest;
    }
    for (const char c : line.first(firstSpace)) {
        if (!isTokenChar(c)) {
            return Verdict::BadRequest;
        }
    }
    for (const char c : line.sliced(firstSpace + 1, lastSpace - firstSpace - 1)) {
        if (c == ' ' || isForeign(c)) {
            return Verdict::BadRequest;
        }
    }
    const QByteArrayView version = line.sliced(lastSpace + 1);
    if (version.size() != 8 || !version.startsWith("HTTP/") || !isDigit(version[5]) ||
        version[6] != '.' || !isDigit(version[7])) {
        return Verdict::BadRequest;
    }
    return version == "HTTP/1.1" || version == "HTTP/1.0" ? Verdict::Complete : Verdict::BadVersion;
}

bool isName(QByteArrayView name, const char* lowerCase) {
    return qstrnicmp(name.data(), name.size(), lowerCase) == 0;
}

// Each comma-separated token of a header value, trimmed and in lower case.
bool hasToken(QByteArrayView value, QByteArrayView token) {
    for (const QByteArray& part : value.toByteArray().split(',')) {
        if (part.trimmed().toLower() == token) {
            return true;
        }
    }
    return false;
}
} // namespace

RequestHead RequestHead::read(QByteArrayView bytes) {
    qsizetype start = 0;
    while (start < bytes.size() && (bytes[start] == '\r' || bytes[start] == '\n')) {
        ++start;
    }
    const qsizetype lineEnd = bytes.indexOf('\n', start);
    const QByteArrayView firstLine =
        bytes.sliced(start, (lineEnd < 0 ? bytes.size() : lineEnd) - start);
    // Judged before it ends: a stream of garbage is told at once, not after a timeout.
    for (qsizetype i = 0; i < firstLine.size(); ++i) {
        if (isForeign(firstLine[i]) && !(firstLine[i] == '\r' && i + 1 == firstLine.size())) {
            return {Verdict::BadRequest, 0, true};
        }
    }
    if (lineEnd < 0) {
        return {bytes.size() > maxBytes ? Verdict::BadRequest : Verdict::Incomplete, 0, false};
    }
    const QByteArrayView requestLine = firstLine.endsWith('\r') ? firstLine.chopped(1) : firstLine;
    const Verdict lineVerdict = checkRequestLine(requestLine);
    if (lineVerdict != Verdict::Complete) {
        return {lineVerdict, 0, true};
    }

    const bool http10 = requestLine.endsWith("HTTP/1.0");
    bool closeAsked = false;
    bool keepAliveAsked = false;
    qsizetype bodyLength = 0;
    qsizetype at = lineEnd + 1;
    for (;;) {
        const qsizetype end = bytes.indexOf('\n', at);
        if (end < 0) {
            return {bytes.size() > maxBytes ? Verdict::BadRequest : Verdict::Incomplete, 0, false};
        }
        QByteArrayView line = bytes.sliced(at, end - at);
        at = end + 1;
        if (line.endsWith('\r')) {
            line.chop(1);
        }
        if (line.isEmpty()) {
            break;
        }
        const qsizetype colon = line.indexOf(':');
        if (colon <= 0) {
            return {Verdict::BadRequest, 0, true};
        }
        const QByteArrayView name = line.first(colon);
        const QByteArrayView value = line.sliced(colon + 1).trimmed();
        if (isName(name, "connection")) {
            closeAsked = closeAsked || hasToken(value, "close");
            keepAliveAsked = keepAliveAsked || hasToken(value, "keep-alive");
        } else if (isName(name, "content-length")) {
            bool number = false;
            bodyLength = value.toByteArray().toLongLong(&number);
            if (!number || bodyLength < 0 || bodyLength > maxBytes) {
                return {Verdict::BadRequest, 0, true};
            }
        } else if (isName(name, "transfer-encoding")) {
            // Nothing here takes a body, least of all one of unknown length.
            return {Verdict::BadRequest, 0, true};
        }
    }
    if (at > maxBytes + start) {
        return {Verdict::BadRequest, 0, true};
    }
    if (bytes.size() < at + bodyLength) {
        return {Verdict::Incomplete, 0, false};
    }
    const bool close = closeAsked || (http10 && !keepAliveAsked);
    return {Verdict::Complete, at + bodyLength, close};
}
