#include "records/LogRecords.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace LogRecords {

namespace {
constexpr auto codePage = "windows-1250";
}

QString laneLine(int lane, const QString& timeText) {
    return (lane == 1 ? lane1Label : lane2Label) + timeText;
}

QString stopLine(const QString& timeText) {
    return stopLabel + timeText;
}

QString teamLine(const QString& name) {
    QString line = name;
    line.replace(QLatin1Char('\r'), QLatin1Char(' '));
    line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return line;
}

QByteArray encodeLine(QStringView text) {
    // A fresh encoder for every try: its error state never clears.
    QStringEncoder whole(codePage);
    QByteArray bytes = whole.encode(text);
    if (whole.hasError()) {
        // Redo it character by character so that only the unmappable ones become "?".
        bytes.clear();
        for (qsizetype i = 0; i < text.size();) {
            const qsizetype length =
                (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
                    ? 2
                    : 1;
            QStringEncoder one(codePage);
            const QByteArray part = one.encode(text.mid(i, length));
            bytes += one.hasError() ? QByteArray("?") : part;
            i += length;
        }
    }
    bytes += lineEnd;
    return bytes;
}

QString decodeLine(const QByteArray& bytes) {
    QStringDecoder decoder(codePage);
    return decoder.decode(bytes);
}

} // namespace LogRecords
