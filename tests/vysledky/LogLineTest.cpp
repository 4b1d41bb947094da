#include "vysledky/LogLine.h"
#include "tests/vysledky/LogBytes.h"

#include "records/LogRecords.h"

#include <gtest/gtest.h>

namespace {
LogLine parse(const QByteArray& bytes) {
    return LogLine::parse(LogRecords::decodeLine(bytes));
}
} // namespace

using Kind = LogLine::Kind;

// The records by their exact bytes; a time as written less the spaces around it, also where it
// stands in the next print zone (column 15 after a lane label, column 29 after the stop label).
TEST(LogLine, TellsTheRecordsApartAndKeepsTheirTimes) {
    using namespace LogBytesText;
    const struct {
        QByteArray bytes;
        Kind kind;
        const char16_t* text;
    } records[] = {
        {lane1Label + "00:00:17:250", Kind::Lane1, u"00:00:17:250"},
        {lane2Label + "00:00:17:250", Kind::Lane2, u"00:00:17:250"},
        {stopLabel + "00:01:02:003", Kind::Stop, u"00:01:02:003"},
        {disqualification, Kind::Disqualification, u""},
        {annulment, Kind::Annulment, u""},
        {lane2Label + "   00:00:19:001", Kind::Lane2, u"00:00:19:001"},
        {stopLabel + "      00:00:19:001", Kind::Stop, u"00:00:19:001"},
        {lane1Label + "0:00:17:25", Kind::Lane1, u"0:00:17:25"},
        {lane1Label + "  chyba  ", Kind::Lane1, u"chyba"},
        {lane2Label + "00:00:17:250   ", Kind::Lane2, u"00:00:17:250"},
        {lane1Label, Kind::Lane1, u""},
    };
    for (const auto& r : records) {
        const LogLine line = parse(r.bytes);
        EXPECT_EQ(line.kind, r.kind) << r.bytes.toStdString();
        EXPECT_EQ(line.text, QString::fromUtf16(r.text)) << r.bytes.toStdString();
    }
}

TEST(LogLine, AnythingElseIsATeamNamedByTheWholeLine) {
    for (const QByteArray& bytes : {
             QByteArray("SDH Lhota"),
             QByteArray(""),
             QByteArray(" "),
             QByteArray(" dr\xE1ha c.3 00:00:17:250"),
             QByteArray(" dr\xE1ha c.1"),       // the label lacks its trailing space
             QByteArray(" dr\xE1ha c\xE8.1 x"), // the window's spelling, not the log's
             QByteArray(" Diskvalifikace"),     // short of the record's 16 bytes
             QByteArray(" Diskvalifikace  "),   // longer than them
             QByteArray("Start anulovan "),
             QByteArray("STOP ZAVODU TLACITKEM"),
             QByteArray("stop zavodu tlacitkem 00:00:17:250"),
         }) {
        const LogLine line = parse(bytes);
        EXPECT_EQ(line.kind, Kind::Team) << bytes.toStdString();
        EXPECT_EQ(line.text, LogRecords::decodeLine(bytes));
    }
}
