#include "tests/vysledky/LogBytes.h"
#include "tests/vysledky/ReadLog.h"

#include <gtest/gtest.h>

// Each rule of how lines make attempts, checked on the attempts CSV byte for byte.

TEST(AttemptRules, BothLanesMakeAValidAttemptWithTheSlowerLaneAsResult) {
    const QByteArray log = LogBytes()
                               .team("SDH Lhota")
                               .lane1("00:00:17:250")
                               .lane2("00:00:18:003")
                               .team("Sokol T\xF8"
                                     "eb\xED\xE8")
                               .lane2("00:00:16:900")
                               .lane1("00:00:21:040")
                               .bytes;
    EXPECT_EQ(ReadLog(log).attempts,
              attemptsHeader + "1;SDH Lhota;00:00:17:250;00:00:18:003;00:00:18:003;platný\r\n"
                               "2;Sokol Třebíč;00:00:21:040;00:00:16:900;00:00:21:040;platný\r\n");
}

TEST(AttemptRules, OneLaneOnlyIsIncomplete) {
    const QByteArray log =
        LogBytes().team("A").lane1("00:00:17:250").team("B").lane2("00:00:18:000").bytes;
    EXPECT_EQ(ReadLog(log).attempts, attemptsHeader + "1;A;00:00:17:250;;;neúplný\r\n"
                                                      "2;B;;00:00:18:000;;neúplný\r\n");
}

TEST(AttemptRules, ASecondTimeForALaneStartsANewAttemptOfTheSameTeam) {
    const QByteArray log = LogBytes()
                               .team("A")
                               .lane1("00:00:17:250")
                               .lane1("00:00:19:500")
                               .lane2("00:00:19:400")
                               .lane2("00:00:20:000")
                               .bytes;
    EXPECT_EQ(ReadLog(log).attempts, attemptsHeader +
                                         "1;A;00:00:17:250;;;neúplný\r\n"
                                         "2;A;00:00:19:500;00:00:19:400;00:00:19:500;platný\r\n"
                                         "3;A;;00:00:20:000;;neúplný\r\n");
}

TEST(AttemptRules, AnAnnulmentEndsItsAttemptAndLaterTimesStartAnotherOfTheSameTeam) {
    const QByteArray log = LogBytes()
                               .team("A")
                               .lane1("00:00:03:100")
                               .annulment()
                               .lane1("00:00:18:000")
                               .lane2("00:00:17:000")
                               .bytes;
    EXPECT_EQ(ReadLog(log).attempts, attemptsHeader +
                                         "1;A;00:00:03:100;;;start anulován\r\n"
                                         "2;A;00:00:18:000;00:00:17:000;00:00:18:000;platný\r\n");
}

TEST(AttemptRules, AStopByHandEndsItsAttemptAndItsTimeIsNoLaneTime) {
    const QByteArray log = LogBytes()
                               .team("A")
                               .lane2("00:00:21:000")
                               .stop("00:00:40:000")
                               .lane2("00:00:22:000")
                               .lane1("00:00:23:000")
                               .bytes;
    EXPECT_EQ(ReadLog(log).attempts, attemptsHeader +
                                         "1;A;;00:00:21:000;;zastaveno\r\n"
                                         "2;A;00:00:23:000;00:00:22:000;00:00:23:000;platný\r\n");
}

TEST(AttemptRules, AControlRecordWithNoLaneTimeIsStillAnAttempt) {
    const QByteArray log = LogBytes()
                               .team("A")
                               .annulment()
                               .team("B")
                               .disqualification()
                               .team("C")
                               .stop("00:00:05:000")
                               .annulment()
                               .bytes;
    EXPECT_EQ(ReadLog(log).attempts, attemptsHeader + "1;A;;;;start anulován\r\n"
                                                      "2;B;;;;diskvalifikace\r\n"
                                                      "3;C;;;;zastaveno\r\n"
                                                      "4;C;;;;start anulován\r\n");
}

// An attempt with both lanes stays open until the next record, so a disqualification given
// after the run belongs to it. The result still shows; the ranking leaves it out.
TEST(AttemptRules, ADisqualificationAfterBothLanesEndsThatAttempt) {
    const QByteArray log = LogBytes()
                               .team("A")
                               .lane1("00:00:17:000")
                               .lane2("00:00:18:000")
                               .disqualification()
                               .team("B")
                               .lane1("00:00:19:000")
                               .lane2("00:00:20:000")
                               .team("C")
                               .lane1("00:00:21:000")
                               .lane2("00:00:22:000")
                               .lane1("00:00:23:000")
                               .disqualification()
                               .bytes;
    const ReadLog read(log);
    EXPECT_EQ(read.attempts, attemptsHeader +
                                 "1;A;00:00:17:000;00:00:18:000;00:00:18:000;diskvalifikace\r\n"
                                 "2;B;00:00:19:000;00:00:20:000;00:00:20:000;platný\r\n"
                                 "3;C;00:00:21:000;00:00:22:000;00:00:22:000;platný\r\n"
                                 "4;C;00:00:23:000;;;diskvalifikace\r\n");
    EXPECT_EQ(read.ranking, rankingHeader + "1;B;00:00:20:000\r\n"
                                            "2;C;00:00:22:000\r\n");
}

TEST(AttemptRules, LinesBeforeTheFirstTeamAndBlankTeamsHaveNoName) {
    const QByteArray log = LogBytes()
                               .lane1("00:00:17:000")
                               .lane2("00:00:18:000")
                               .team("A")
                               .lane1("00:00:19:000")
                               .team("")
                               .lane1("00:00:20:000")
                               .team(" ")
                               .lane2("00:00:21:000")
                               .team("   ")
                               .annulment()
                               .bytes;
    EXPECT_EQ(ReadLog(log).attempts,
              attemptsHeader + "1;(bez jména);00:00:17:000;00:00:18:000;00:00:18:000;platný\r\n"
                               "2;A;00:00:19:000;;;neúplný\r\n"
                               "3;(bez jména);00:00:20:000;;;neúplný\r\n"
                               "4;(bez jména);;00:00:21:000;;neúplný\r\n"
                               "5;(bez jména);;;;start anulován\r\n");
}

TEST(AttemptRules, ATeamLineWithNoRecordAfterItMakesNoRow) {
    const QByteArray log = LogBytes()
                               .team("A")
                               .team("B")
                               .lane1("00:00:17:000")
                               .lane2("00:00:18:000")
                               .team("C")
                               .team("D")
                               .bytes;
    EXPECT_EQ(ReadLog(log).attempts,
              attemptsHeader + "1;B;00:00:17:000;00:00:18:000;00:00:18:000;platný\r\n");
}

// "Next team" leaves a space in the name box, and the name is typed after it.
TEST(AttemptRules, TeamNamesLoseTheSpacesAroundThem) {
    const QByteArray log = LogBytes().team("  SDH Doln\xED \xDAjezd ").lane1("00:00:17:000").bytes;
    EXPECT_EQ(ReadLog(log).attempts,
              attemptsHeader + "1;SDH Dolní Újezd;00:00:17:000;;;neúplný\r\n");
}

TEST(AttemptRules, AMalformedTimeIsShownAsWrittenAndNeverMakesAResult) {
    const QByteArray log = LogBytes()
                               .team("A")
                               .lane1("0:00:17:250")
                               .lane2("00:00:18:003")
                               .team("B")
                               .lane1("00:00:17:250")
                               .lane2("00:00:61:000")
                               .team("C")
                               .lane1("")
                               .lane2("00:00:19:000")
                               .team("D")
                               .lane1("00:00:20:000")
                               .lane2("00:00:20:000")
                               .bytes;
    const ReadLog read(log);
    EXPECT_EQ(read.attempts, attemptsHeader +
                                 "1;A;0:00:17:250;00:00:18:003;;neúplný\r\n"
                                 "2;B;00:00:17:250;00:00:61:000;;neúplný\r\n"
                                 "3;C;;00:00:19:000;;neúplný\r\n"
                                 "4;D;00:00:20:000;00:00:20:000;00:00:20:000;platný\r\n");
    EXPECT_EQ(read.ranking, rankingHeader + "1;D;00:00:20:000\r\n");
}
