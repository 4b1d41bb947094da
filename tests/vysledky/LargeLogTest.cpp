#include "tests/support/RunningTime.h"
#include "tests/vysledky/LogBytes.h"
#include "vysledky/CsvWriter.h"
#include "vysledky/LogReader.h"
#include "vysledky/Ranking.h"

#include <gtest/gtest.h>

namespace {
QByteArray timeText(int ms) {
    return runningTime(ms).toLatin1();
}

constexpr int teams = 25'000;
// Team i's slower lane: 30 s plus a permutation of 0..teams-1 ms, so the ranking is known.
int slowerLane(int i) {
    return 30'000 + (i * 7) % teams;
}
} // namespace

// 100,000 lines: per team its name, both lanes, and a lane 1 time that starts an attempt the
// file ends before completing.
TEST(LargeLog, ReadsAHundredThousandLinesCompletely) {
    QByteArray log;
    for (int i = 0; i < teams; ++i) {
        log += logOf({"D" + QByteArray::number(i), "@1 " + timeText(10'000 + i % 1000),
                      "@2 " + timeText(slowerLane(i)), "@1 " + timeText(50'000 + i)});
    }
    TempLog file;
    file.write(log);

    LogReader reader(file.path());
    reader.update();
    EXPECT_EQ(reader.lineCount(), 100'000);
    const QList<Attempt> attempts = reader.attempts();
    ASSERT_EQ(attempts.size(), 2 * teams);
    for (int i = 0; i < teams; ++i) {
        const Attempt& valid = attempts[2 * i];
        const Attempt& open = attempts[2 * i + 1];
        ASSERT_EQ(valid.number, 2 * i + 1);
        ASSERT_EQ(valid.team, QStringLiteral("D") + QString::number(i));
        ASSERT_EQ(valid.state, AttemptState::Valid);
        ASSERT_EQ(valid.result, runningTime(slowerLane(i)));
        ASSERT_EQ(open.state, AttemptState::Incomplete);
        ASSERT_EQ(open.lane1, runningTime(50'000 + i));
    }

    const QList<RankingRow> ranking = rankTeams(attempts);
    ASSERT_EQ(ranking.size(), teams);
    for (int place = 1; place <= teams; ++place) {
        const RankingRow& row = ranking[place - 1];
        ASSERT_EQ(row.place, place);
        ASSERT_EQ(row.result, runningTime(30'000 + place - 1));
        ASSERT_EQ(slowerLane(row.team.mid(1).toInt()), 30'000 + place - 1);
    }

    const QByteArray csv = CsvWriter::attempts(attempts);
    EXPECT_EQ(csv.count("\r\n"), 2 * teams + 1);
    EXPECT_TRUE(
        csv.endsWith("\r\n50000;D24999;" + timeText(50'000 + teams - 1) + ";;;neúplný\r\n"));
}
