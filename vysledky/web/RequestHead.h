#pragma once

#include <QByteArrayView>

// What the bytes a client has sent so far say about its next request, read before the HTTP
// server sees them: whether the request is whole yet, whether its first line is one, and whether
// the client wants the connection closed after the answer.
//
// A request line is METHOD SP TARGET SP HTTP/x.y. Empty lines before it are skipped. HTTP/1.0
// and HTTP/1.1 are served; another version of that form is answered 505, anything else 400, as
// soon as the bytes show it (a byte that cannot stand in a request line, a line too long).
struct RequestHead {
    enum class Verdict { Incomplete, Complete, BadRequest, BadVersion };

    // A head longer than this is not a browser's.
    static constexpr qsizetype maxBytes = 16 * 1024;

    Verdict verdict = Verdict::Incomplete;
    qsizetype length = 0; // of the whole request, body included, when Complete
    bool close = false;   // "Connection: close", or HTTP/1.0 without "keep-alive"

    static RequestHead read(QByteArrayView bytes);
};
