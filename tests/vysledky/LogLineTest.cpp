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

TEST(LogLine, TellsTheRecordsApartByTheirExactBytes) {
    using namespace LogBytesText;
    EXPECT_EQ(parse(lane1Label + "00:00:17:250").kind, Kind::Lane1);
    EXPECT_EQ(parse(lane2Label + "00:00:17:250").kind, Kind::Lane2);
    EXPECT_EQ(parse(stopLabel + "00:00:17:250").kind, Kind::Stop);
    EXPECT_EQ(parse(disqualification).kind, Kind::Disqualification);
    EXPECT_EQ(parse(annulment).kind, Kind::Annulment);
    EXPECT_EQ(parse(lane1Label + "00:00:17:250").text, u"00:00:17:250");
    EXPECT_EQ(parse(stopLabel + "00:01:02:003").text, u"00:01:02:003");
}

TEST(LogLine, TakesTheTimeFromTheNextPrintZoneToo) {
    using namespace LogBytesText;
    // Column 15 after a lane label, column 29 after the stop label.
    const QByteArray lane = lane2Label + "   00:00:19:001";
    const QByteArray stop = stopLabel + "      00:00:19:001";
    ASSERT_EQ(lane.indexOf("00:"), 14);
    ASSERT_EQ(stop.indexOf("00:"), 28);
    EXPECT_EQ(parse(lane).kind, Kind::Lane2);
    EXPECT_EQ(parse(lane).text, u"00:00:19:001");
    EXPECT_EQ(parse(stop).kind, Kind::Stop);
    EXPECT_EQ(parse(stop).text, u"00:00:19:001");
}

TEST(LogLine, AnythingElseIsATeamNamedByTheWholeLine) {
    using namespace LogBytesText;
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

TEST(LogLine, KeepsATimeAsWrittenLessTheSpacesAroundIt) {
    using namespace LogBytesText;
    EXPECT_EQ(parse(lane1Label + "0:00:17:25").text, u"0:00:17:25");
    EXPECT_EQ(parse(lane1Label + "  chyba  ").text, u"chyba");
    EXPECT_EQ(parse(lane2Label + "00:00:17:250   ").text, u"00:00:17:250");
    EXPECT_EQ(parse(lane1Label).kind, Kind::Lane1);
    EXPECT_EQ(parse(lane1Label).text, u"");
}
