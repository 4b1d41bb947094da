#include "tests/vysledky/LogBytes.h"
#include "tests/vysledky/ReadLog.h"

#include <gtest/gtest.h>

TEST(Ranking, TakesEachTeamsBestValidAttempt) {
    const QByteArray log =
        logOf({"A", "@1 00:00:20:500", "@2 00:00:20:100", "B", "@1 00:00:19:500", "@2 00:00:19:000",
               "A", "@1 00:00:19:100", "@2 00:00:18:000", "B", "@1 00:00:15:000", "@annul"});
    EXPECT_EQ(ReadLog(log).ranking, rankingHeader + "1;A;00:00:19:100\r\n"
                                                    "2;B;00:00:19:500\r\n");
}

TEST(Ranking, EqualResultsShareAPlaceInTheOrderOfTheTeamsFirstAttempts) {
    // Y comes before X: its first attempt, annulled, is earlier than any of X's.
    const QByteArray log =
        logOf({"Y", "@annul", "Z", "@1 00:00:13:000", "@2 00:00:12:000", "X", "@1 00:00:12:000",
               "@2 00:00:11:000", "W", "@1 00:00:10:000", "@2 00:00:10:000", "Y", "@1 00:00:11:500",
               "@2 00:00:12:000", "V", "@1 00:00:13:000", "@2 00:00:13:000"});
    EXPECT_EQ(ReadLog(log).ranking, rankingHeader + "1;W;00:00:10:000\r\n"
                                                    "2;Y;00:00:12:000\r\n"
                                                    "2;X;00:00:12:000\r\n"
                                                    "4;Z;00:00:13:000\r\n"
                                                    "4;V;00:00:13:000\r\n");
}

TEST(Ranking, ListsTeamsWithoutAValidResultLastAsNP) {
    const QByteArray log =
        logOf({"A", "@1 00:00:17:000", "B", "@1 00:00:17:000", "@2 00:00:17:500", "@dq", "C",
               "@stop 00:00:30:000", "@annul", "D", "@1 00:00:17:000", "@2 x", "E",
               "@1 00:00:19:000", "@2 00:00:19:000", "C", "@1 00:00:18:000", "@2 00:00:18:000"});
    EXPECT_EQ(ReadLog(log).ranking, rankingHeader + "1;C;00:00:18:000\r\n"
                                                    "2;E;00:00:19:000\r\n"
                                                    ";A;NP\r\n"
                                                    ";B;NP\r\n"
                                                    ";D;NP\r\n");
}

// Spellings of one team make one row under the first spelling seen. (With a start list, under
// the list's: StartList.ReadsWhatSpreadsheetsSave.)
TEST(Ranking, FoldsCaseAndWhiteSpaceOfTeamNames) {
    const QByteArray log =
        logOf({"SDH Lhota", "@1 00:00:20:000", "@2 00:00:20:000", "Jiskra", "@1 00:00:19:000",
               "@2 00:00:19:000", " sdh lhota ", "@1 00:00:18:000", "@2 00:00:18:000",
               "  SDH   LHOTA ", "@dq", "SDHLhota", "@dq"});
    EXPECT_EQ(ReadLog(log).ranking, rankingHeader + "1;SDH Lhota;00:00:18:000\r\n"
                                                    "2;Jiskra;00:00:19:000\r\n"
                                                    ";SDHLhota;NP\r\n");
}

TEST(Ranking, RanksTheNamelessTeamLikeAnyOther) {
    const QByteArray log =
        logOf({"@1 00:00:18:000", "@2 00:00:18:000", "A", "@1 00:00:17:000", "@2 00:00:17:000"});
    EXPECT_EQ(ReadLog(log).ranking, rankingHeader + "1;A;00:00:17:000\r\n"
                                                    "2;(bez jména);00:00:18:000\r\n");
}
