#include "tests/vysledky/LogBytes.h"
#include "tests/vysledky/ReadLog.h"

#include <gtest/gtest.h>

TEST(Ranking, TakesEachTeamsBestValidAttempt) {
    const QByteArray log = LogBytes()
                               .team("A")
                               .lane1("00:00:20:500")
                               .lane2("00:00:20:100")
                               .team("B")
                               .lane1("00:00:19:500")
                               .lane2("00:00:19:000")
                               .team("A")
                               .lane1("00:00:19:100")
                               .lane2("00:00:18:000")
                               .team("B")
                               .lane1("00:00:15:000")
                               .annulment()
                               .bytes;
    EXPECT_EQ(ReadLog(log).ranking, rankingHeader + "1;A;00:00:19:100\r\n"
                                                    "2;B;00:00:19:500\r\n");
}

TEST(Ranking, EqualResultsShareAPlaceInTheOrderOfTheTeamsFirstAttempts) {
    // Y comes before X: its first attempt, annulled, is earlier than any of X's.
    const QByteArray log = LogBytes()
                               .team("Y")
                               .annulment()
                               .team("Z")
                               .lane1("00:00:13:000")
                               .lane2("00:00:12:000")
                               .team("X")
                               .lane1("00:00:12:000")
                               .lane2("00:00:11:000")
                               .team("W")
                               .lane1("00:00:10:000")
                               .lane2("00:00:10:000")
                               .team("Y")
                               .lane1("00:00:11:500")
                               .lane2("00:00:12:000")
                               .team("V")
                               .lane1("00:00:13:000")
                               .lane2("00:00:13:000")
                               .bytes;
    EXPECT_EQ(ReadLog(log).ranking, rankingHeader + "1;W;00:00:10:000\r\n"
                                                    "2;Y;00:00:12:000\r\n"
                                                    "2;X;00:00:12:000\r\n"
                                                    "4;Z;00:00:13:000\r\n"
                                                    "4;V;00:00:13:000\r\n");
}

TEST(Ranking, LeavesOutTeamsWithoutAValidResult) {
    const QByteArray log = LogBytes()
                               .team("A")
                               .lane1("00:00:17:000")
                               .team("B")
                               .lane1("00:00:17:000")
                               .lane2("00:00:17:500")
                               .disqualification()
                               .team("C")
                               .stop("00:00:30:000")
                               .team("D")
                               .lane1("00:00:17:000")
                               .lane2("x")
                               .bytes;
    EXPECT_EQ(ReadLog(log).ranking, rankingHeader);
}

TEST(Ranking, CountsATeamTypedWithStraySpacesAsOneTeam) {
    const QByteArray log = LogBytes()
                               .team("SDH Lhota")
                               .lane1("00:00:20:000")
                               .lane2("00:00:20:000")
                               .team("Jiskra")
                               .lane1("00:00:19:000")
                               .lane2("00:00:19:000")
                               .team(" SDH Lhota ")
                               .lane1("00:00:18:000")
                               .lane2("00:00:18:000")
                               .bytes;
    EXPECT_EQ(ReadLog(log).ranking, rankingHeader + "1;SDH Lhota;00:00:18:000\r\n"
                                                    "2;Jiskra;00:00:19:000\r\n");
}

TEST(Ranking, RanksTheNamelessTeamLikeAnyOther) {
    const QByteArray log = LogBytes()
                               .lane1("00:00:18:000")
                               .lane2("00:00:18:000")
                               .team("A")
                               .lane1("00:00:17:000")
                               .lane2("00:00:17:000")
                               .bytes;
    EXPECT_EQ(ReadLog(log).ranking, rankingHeader + "1;A;00:00:17:000\r\n"
                                                    "2;(bez jména);00:00:18:000\r\n");
}
