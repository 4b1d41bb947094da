#include "tests/vysledky/LogBytes.h"
#include "tests/vysledky/ReadLog.h"

#include <gtest/gtest.h>

// Each rule of how lines make attempts, checked on the attempts CSV byte for byte.

TEST(AttemptRules, BothLanesMakeAValidAttemptWithTheSlowerLaneAsResult) {
    const QByteArray log = logOf({"SDH Lhota", "@1 00:00:17:250", "@2 00:00:18:003",
                                  "Sokol T\370eb\355\350", "@2 00:00:16:900", "@1 00:00:21:040"});
    EXPECT_EQ(ReadLog(log).attempts,
              attemptsHeader + "1;SDH Lhota;00:00:17:250;00:00:18:003;00:00:18:003;platný\r\n"
                               "2;Sokol Třebíč;00:00:21:040;00:00:16:900;00:00:21:040;platný\r\n");
}

TEST(AttemptRules, OneLaneOnlyIsIncomplete) {
    const QByteArray log = logOf({"A", "@1 00:00:17:250", "B", "@2 00:00:18:000"});
    EXPECT_EQ(ReadLog(log).attempts, attemptsHeader + "1;A;00:00:17:250;;;neúplný\r\n"
                                                      "2;B;;00:00:18:000;;neúplný\r\n");
}

TEST(AttemptRules, ASecondTimeForALaneStartsANewAttemptOfTheSameTeam) {
    const QByteArray log =
        logOf({"A", "@1 00:00:17:250", "@1 00:00:19:500", "@2 00:00:19:400", "@2 00:00:20:000"});
    EXPECT_EQ(ReadLog(log).attempts, attemptsHeader +
                                         "1;A;00:00:17:250;;;neúplný\r\n"
                                         "2;A;00:00:19:500;00:00:19:400;00:00:19:500;platný\r\n"
                                         "3;A;;00:00:20:000;;neúplný\r\n");
}

TEST(AttemptRules, AnAnnulmentEndsItsAttemptAndLaterTimesStartAnotherOfTheSameTeam) {
    const QByteArray log =
        logOf({"A", "@1 00:00:03:100", "@annul", "@1 00:00:18:000", "@2 00:00:17:000"});
    EXPECT_EQ(ReadLog(log).attempts, attemptsHeader +
                                         "1;A;00:00:03:100;;;start anulován\r\n"
                                         "2;A;00:00:18:000;00:00:17:000;00:00:18:000;platný\r\n");
}

TEST(AttemptRules, AStopByHandEndsItsAttemptAndItsTimeIsNoLaneTime) {
    const QByteArray log =
        logOf({"A", "@2 00:00:21:000", "@stop 00:00:40:000", "@2 00:00:22:000", "@1 00:00:23:000"});
    EXPECT_EQ(ReadLog(log).attempts, attemptsHeader +
                                         "1;A;;00:00:21:000;;zastaveno\r\n"
                                         "2;A;00:00:23:000;00:00:22:000;00:00:23:000;platný\r\n");
}

TEST(AttemptRules, AControlRecordWithNoLaneTimeIsStillAnAttempt) {
    const QByteArray log = logOf({"A", "@annul", "B", "@dq", "C", "@stop 00:00:05:000", "@annul"});
    EXPECT_EQ(ReadLog(log).attempts, attemptsHeader + "1;A;;;;start anulován\r\n"
                                                      "2;B;;;;diskvalifikace\r\n"
                                                      "3;C;;;;zastaveno\r\n"
                                                      "4;C;;;;start anulován\r\n");
}

// An attempt with both lanes stays open until the next record, so a disqualification given
// after the run belongs to it. The result still shows; the ranking leaves it out.
TEST(AttemptRules, ADisqualificationAfterBothLanesEndsThatAttempt) {
    const QByteArray log = logOf({"A", "@1 00:00:17:000", "@2 00:00:18:000", "@dq", "B",
                                  "@1 00:00:19:000", "@2 00:00:20:000", "C", "@1 00:00:21:000",
                                  "@2 00:00:22:000", "@1 00:00:23:000", "@dq"});
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
    const QByteArray log = logOf({"@1 00:00:17:000", "@2 00:00:18:000", "A", "@1 00:00:19:000", "",
                                  "@1 00:00:20:000", " ", "@2 00:00:21:000", "   ", "@annul"});
    EXPECT_EQ(ReadLog(log).attempts,
              attemptsHeader + "1;(bez jména);00:00:17:000;00:00:18:000;00:00:18:000;platný\r\n"
                               "2;A;00:00:19:000;;;neúplný\r\n"
                               "3;(bez jména);00:00:20:000;;;neúplný\r\n"
                               "4;(bez jména);;00:00:21:000;;neúplný\r\n"
                               "5;(bez jména);;;;start anulován\r\n");
}

TEST(AttemptRules, ATeamLineWithNoRecordAfterItMakesNoRow) {
    const QByteArray log = logOf({"A", "B", "@1 00:00:17:000", "@2 00:00:18:000", "C", "D"});
    EXPECT_EQ(ReadLog(log).attempts,
              attemptsHeader + "1;B;00:00:17:000;00:00:18:000;00:00:18:000;platný\r\n");
}

// "Next team" leaves a space in the name box, and the name is typed after it.
TEST(AttemptRules, TeamNamesLoseTheSpacesAroundThem) {
    const QByteArray log = logOf({"  SDH Doln\xED \xDAjezd ", "@1 00:00:17:000"});
    EXPECT_EQ(ReadLog(log).attempts,
              attemptsHeader + "1;SDH Dolní Újezd;00:00:17:000;;;neúplný\r\n");
}

TEST(AttemptRules, AMalformedTimeIsShownAsWrittenAndNeverMakesAResult) {
    const QByteArray log =
        logOf({"A", "@1 0:00:17:250", "@2 00:00:18:003", "B", "@1 00:00:17:250", "@2 00:00:61:000",
               "C", "@1 ", "@2 00:00:19:000", "D", "@1 00:00:20:000", "@2 00:00:20:000"});
    const ReadLog read(log);
    EXPECT_EQ(read.attempts, attemptsHeader +
                                 "1;A;0:00:17:250;00:00:18:003;;neúplný\r\n"
                                 "2;B;00:00:17:250;00:00:61:000;;neúplný\r\n"
                                 "3;C;;00:00:19:000;;neúplný\r\n"
                                 "4;D;00:00:20:000;00:00:20:000;00:00:20:000;platný\r\n");
    EXPECT_EQ(read.ranking, rankingHeader + "1;D;00:00:20:000\r\n");
}
