#include "tests/vysledky/LogBytes.h"
#include "tests/vysledky/ReadLog.h"

#include <gtest/gtest.h>

// Each rule of how lines make attempts, checked on the attempts CSV byte for byte; where a
// rule decides what the ranking leaves out, on the ranking too.
TEST(AttemptRules, EachRuleMakesItsRows) {
    const struct {
        const char* rule;
        QByteArray log;
        QByteArray attempts;     // after the header
        QByteArray ranking = {}; // after the header; not checked where null
    } rules[] = {
        {"both lanes make a valid attempt with the slower lane as result",
         logOf({"SDH Lhota", "@1 00:00:17:250", "@2 00:00:18:003", "Sokol T\370eb\355\350",
                "@2 00:00:16:900", "@1 00:00:21:040"}),
         "1;SDH Lhota;00:00:17:250;00:00:18:003;00:00:18:003;platný\r\n"
         "2;Sokol Třebíč;00:00:21:040;00:00:16:900;00:00:21:040;platný\r\n"},
        {"one lane only is incomplete", logOf({"A", "@1 00:00:17:250", "B", "@2 00:00:18:000"}),
         "1;A;00:00:17:250;;;neúplný\r\n"
         "2;B;;00:00:18:000;;neúplný\r\n"},
        {"a second time for a lane starts a new attempt of the same team",
         logOf({"A", "@1 00:00:17:250", "@1 00:00:19:500", "@2 00:00:19:400", "@2 00:00:20:000"}),
         "1;A;00:00:17:250;;;neúplný\r\n"
         "2;A;00:00:19:500;00:00:19:400;00:00:19:500;platný\r\n"
         "3;A;;00:00:20:000;;neúplný\r\n"},
        {"an annulment ends its attempt and later times start another of the same team",
         logOf({"A", "@1 00:00:03:100", "@annul", "@1 00:00:18:000", "@2 00:00:17:000"}),
         "1;A;00:00:03:100;;;start anulován\r\n"
         "2;A;00:00:18:000;00:00:17:000;00:00:18:000;platný\r\n"},
        {"a stop by hand ends its attempt and its time is no lane time",
         logOf(
             {"A", "@2 00:00:21:000", "@stop 00:00:40:000", "@2 00:00:22:000", "@1 00:00:23:000"}),
         "1;A;;00:00:21:000;;zastaveno\r\n"
         "2;A;00:00:23:000;00:00:22:000;00:00:23:000;platný\r\n"},
        {"a control record with no lane time is still an attempt",
         logOf({"A", "@annul", "B", "@dq", "C", "@stop 00:00:05:000", "@annul"}),
         "1;A;;;;start anulován\r\n"
         "2;B;;;;diskvalifikace\r\n"
         "3;C;;;;zastaveno\r\n"
         "4;C;;;;start anulován\r\n"},
        // An attempt with both lanes stays open until the next record, so a disqualification
        // given after the run belongs to it. The result still shows; the ranking has no time for
        // it.
        {"a disqualification after both lanes ends that attempt",
         logOf({"A", "@1 00:00:17:000", "@2 00:00:18:000", "@dq", "B", "@1 00:00:19:000",
                "@2 00:00:20:000", "C", "@1 00:00:21:000", "@2 00:00:22:000", "@1 00:00:23:000",
                "@dq"}),
         "1;A;00:00:17:000;00:00:18:000;00:00:18:000;diskvalifikace\r\n"
         "2;B;00:00:19:000;00:00:20:000;00:00:20:000;platný\r\n"
         "3;C;00:00:21:000;00:00:22:000;00:00:22:000;platný\r\n"
         "4;C;00:00:23:000;;;diskvalifikace\r\n",
         "1;B;00:00:20:000\r\n"
         "2;C;00:00:22:000\r\n"
         ";A;NP\r\n"},
        {"lines before the first team and blank teams have no name",
         logOf({"@1 00:00:17:000", "@2 00:00:18:000", "A", "@1 00:00:19:000", "", "@1 00:00:20:000",
                " ", "@2 00:00:21:000", "   ", "@annul"}),
         "1;(bez jména);00:00:17:000;00:00:18:000;00:00:18:000;platný\r\n"
         "2;A;00:00:19:000;;;neúplný\r\n"
         "3;(bez jména);00:00:20:000;;;neúplný\r\n"
         "4;(bez jména);;00:00:21:000;;neúplný\r\n"
         "5;(bez jména);;;;start anulován\r\n"},
        {"a team line with no record after it makes no row",
         logOf({"A", "B", "@1 00:00:17:000", "@2 00:00:18:000", "C", "D"}),
         "1;B;00:00:17:000;00:00:18:000;00:00:18:000;platný\r\n"},
        // "Next team" leaves a space in the name box, and the name is typed after it.
        {"team names lose the spaces around them",
         logOf({"  SDH Doln\xED \xDAjezd ", "@1 00:00:17:000"}),
         "1;SDH Dolní Újezd;00:00:17:000;;;neúplný\r\n"},
        {"a malformed time is shown as written and never makes a result",
         logOf({"A", "@1 0:00:17:250", "@2 00:00:18:003", "B", "@1 00:00:17:250", "@2 00:00:61:000",
                "C", "@1 ", "@2 00:00:19:000", "D", "@1 00:00:20:000", "@2 00:00:20:000"}),
         "1;A;0:00:17:250;00:00:18:003;;neúplný\r\n"
         "2;B;00:00:17:250;00:00:61:000;;neúplný\r\n"
         "3;C;;00:00:19:000;;neúplný\r\n"
         "4;D;00:00:20:000;00:00:20:000;00:00:20:000;platný\r\n",
         "1;D;00:00:20:000\r\n"
         ";A;NP\r\n"
         ";B;NP\r\n"
         ";C;NP\r\n"},
    };
    for (const auto& r : rules) {
        const ReadLog read(r.log);
        EXPECT_EQ(read.attempts, attemptsHeader + r.attempts) << r.rule;
        if (!r.ranking.isNull()) {
            EXPECT_EQ(read.ranking, rankingHeader + r.ranking) << r.rule;
        }
    }
}
