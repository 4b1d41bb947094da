#include "records/LogRecords.h"

#include "tests/support/Printers.h"

#include <gtest/gtest.h>

namespace {

// Each record as the log holds it: Windows-1250, a character outside the code page as a
// question mark, a line break in a team name never splitting the record, and CR LF after it.
TEST(LogRecords, EachRecordIsItsBytesThenCrLf) {
    const struct {
        QString line;
        QByteArray bytes;
    } cases[] = {
        {LogRecords::laneLine(1, QStringLiteral("00:01:23:456")), " dr\xE1ha c.1 00:01:23:456\r\n"},
        {LogRecords::laneLine(2, QStringLiteral("00:00:09:001")), " dr\xE1ha c.2 00:00:09:001\r\n"},
        {LogRecords::stopLine(QStringLiteral("01:02:03:004")),
         "STOP ZAVODU TLACITKEM 01:02:03:004\r\n"},
        {LogRecords::disqualificationText, " Diskvalifikace \r\n"},
        {LogRecords::annulmentText, " Start anulovan \r\n"},
        {LogRecords::teamLine(QStringLiteral("dráha č.1 Žluťoučký kůň")),
         "dr\xE1ha \xE8.1 \x8Elu\x9Dou\xE8k\xFD k\xF9\xF2\r\n"},
        {LogRecords::teamLine(QString()), "\r\n"},
        {LogRecords::teamLine(QStringLiteral(" ")), " \r\n"},
        {LogRecords::teamLine(QStringLiteral("A\r\nB\nC")), "A  B C\r\n"},
        {QStringLiteral("€"), "\x80\r\n"},
        {QStringLiteral("SDH 漢 Žďár 😀!"), "SDH ? \x8E\xEF\xE1r ?!\r\n"},
        {QStringLiteral("漢漢"), "??\r\n"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LogRecords::encodeLine(c.line), c.bytes) << c.line.toStdString();
    }
}

TEST(LogRecords, DecodingReadsBackWhatEncodingWrote) {
    const QString text = QStringLiteral(" dráha c.1 Příliš žluťoučký");
    QByteArray line = LogRecords::encodeLine(text);
    line.chop(2);
    EXPECT_EQ(LogRecords::decodeLine(line), text);
}

} // namespace
