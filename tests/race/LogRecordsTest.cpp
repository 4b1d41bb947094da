#include "records/LogRecords.h"

#include "tests/support/Printers.h"

#include <gtest/gtest.h>

namespace {

QByteArray bytes(std::initializer_list<unsigned char> list) {
    QByteArray out;
    for (unsigned char c : list) {
        out += static_cast<char>(c);
    }
    return out;
}

TEST(LogRecords, LaneLinesHaveTheLabelBytesThenTheTimeThenCrLf) {
    EXPECT_EQ(LogRecords::encodeLine(LogRecords::laneLine(1, QStringLiteral("00:01:23:456"))),
              bytes({0x20, 0x64, 0x72, 0xE1, 0x68, 0x61, 0x20, 0x63, 0x2E, 0x31, 0x20}) +
                  "00:01:23:456\r\n");
    EXPECT_EQ(LogRecords::encodeLine(LogRecords::laneLine(2, QStringLiteral("00:00:09:001"))),
              bytes({0x20, 0x64, 0x72, 0xE1, 0x68, 0x61, 0x20, 0x63, 0x2E, 0x32, 0x20}) +
                  "00:00:09:001\r\n");
}

TEST(LogRecords, FixedLinesAreExactlyTheirSixteenBytes) {
    EXPECT_EQ(LogRecords::encodeLine(LogRecords::stopLine(QStringLiteral("01:02:03:004"))),
              QByteArray("STOP ZAVODU TLACITKEM 01:02:03:004\r\n"));
    EXPECT_EQ(LogRecords::encodeLine(LogRecords::disqualificationText),
              QByteArray(" Diskvalifikace \r\n"));
    EXPECT_EQ(LogRecords::encodeLine(LogRecords::annulmentText),
              QByteArray(" Start anulovan \r\n"));
}

TEST(LogRecords, TeamLineIsTheNameInWindows1250) {
    EXPECT_EQ(
        LogRecords::encodeLine(LogRecords::teamLine(QStringLiteral("dráha č.1 Žluťoučký kůň"))),
        bytes({0x64, 0x72, 0xE1, 0x68, 0x61, 0x20, 0xE8, 0x2E, 0x31, 0x20, 0x8E, 0x6C, 0x75,
               0x9D, 0x6F, 0x75, 0xE8, 0x6B, 0xFD, 0x20, 0x6B, 0xF9, 0xF2, 0x0D, 0x0A}));
    EXPECT_EQ(LogRecords::encodeLine(LogRecords::teamLine(QString())), QByteArray("\r\n"));
    EXPECT_EQ(LogRecords::encodeLine(LogRecords::teamLine(QStringLiteral(" "))),
              QByteArray(" \r\n"));
    EXPECT_EQ(LogRecords::encodeLine(QStringLiteral("€")), bytes({0x80, 0x0D, 0x0A}));
}

TEST(LogRecords, CharactersOutsideTheCodePageBecomeQuestionMarks) {
    EXPECT_EQ(LogRecords::encodeLine(QStringLiteral("SDH 漢 Žďár 😀!")),
              QByteArray("SDH ? ") + bytes({0x8E, 0xEF, 0xE1, 0x72}) + " ?!\r\n");
    EXPECT_EQ(LogRecords::encodeLine(QStringLiteral("漢漢")), QByteArray("??\r\n"));
}

TEST(LogRecords, ALineBreakInATeamNameCannotSplitTheRecord) {
    EXPECT_EQ(LogRecords::encodeLine(LogRecords::teamLine(QStringLiteral("A\r\nB\nC"))),
              QByteArray("A  B C\r\n"));
}

TEST(LogRecords, DecodingReadsBackWhatEncodingWrote) {
    const QString text = QStringLiteral(" dráha c.1 Příliš žluťoučký");
    QByteArray line = LogRecords::encodeLine(text);
    line.chop(2);
    EXPECT_EQ(LogRecords::decodeLine(line), text);
}

} // namespace
