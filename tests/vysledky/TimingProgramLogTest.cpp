#include "tests/vysledky/LogBytes.h"
#include "tests/vysledky/ReadLog.h"
#include "vysledky/CsvWriter.h"
#include "vysledky/LogReader.h"

#include "race/ElapsedText.h"
#include "race/ResultsLog.h"
#include "records/LogRecords.h"

#include <gtest/gtest.h>

// The log as the timing program's own writer appends it, record by record, read while it grows.
TEST(TimingProgramLog, ReadsWhatTheResultsLogWrites) {
    TempLog file;
    ResultsLog writer(file.path());
    LogReader reader(file.path());
    const std::int32_t start = 4'000'000;
    const auto at = [start](std::uint32_t ms) { return elapsedText(start + ms, start); };

    writer.append(LogRecords::teamLine(QStringLiteral("Sokol Třebíč")));
    writer.append(LogRecords::laneLine(2, at(17'250)));
    writer.append(LogRecords::laneLine(1, at(18'003)));
    reader.update();
    EXPECT_EQ(CsvWriter::attempts(reader.attempts()),
              attemptsHeader + "1;Sokol Třebíč;00:00:18:003;00:00:17:250;00:00:18:003;platný\r\n");

    writer.append(LogRecords::disqualificationText);
    writer.append(LogRecords::teamLine(QStringLiteral("Hasiči →\r\nLhota")));
    writer.append(LogRecords::laneLine(1, at(2'100)));
    writer.append(LogRecords::annulmentText);
    writer.append(LogRecords::laneLine(1, at(3'723'456)));
    writer.append(LogRecords::stopLine(at(3'800'000)));
    writer.append(LogRecords::teamLine(QString()));
    writer.append(LogRecords::laneLine(1, at(16'000)));
    writer.append(LogRecords::laneLine(2, at(16'001)));
    reader.update();
    EXPECT_EQ(CsvWriter::attempts(reader.attempts()),
              attemptsHeader +
                  "1;Sokol Třebíč;00:00:18:003;00:00:17:250;00:00:18:003;diskvalifikace\r\n"
                  "2;Hasiči ?  Lhota;00:00:02:100;;;start anulován\r\n"
                  "3;Hasiči ?  Lhota;01:02:03:456;;;zastaveno\r\n"
                  "4;(bez jména);00:00:16:000;00:00:16:001;00:00:16:001;platný\r\n");
    EXPECT_EQ(CsvWriter::ranking(rankTeams(reader.attempts())), rankingHeader +
                                                                    "1;(bez jména);00:00:16:001\r\n"
                                                                    ";Sokol Třebíč;NP\r\n"
                                                                    ";Hasiči ?  Lhota;NP\r\n");
    EXPECT_TRUE(writer.pending().isEmpty());
}
