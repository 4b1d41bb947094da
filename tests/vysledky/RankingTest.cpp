#include "tests/vysledky/LogBytes.h"
#include "tests/vysledky/ReadLog.h"

#include <gtest/gtest.h>

// Each rule of the ranking, checked on the ranking CSV byte for byte.
TEST(Ranking, EachRuleMakesItsRows) {
    const struct {
        const char* rule;
        QByteArray log;
        QByteArray ranking; // after the header
    } rules[] = {
        {"each team's best valid attempt counts",
         logOf({"A", "@1 00:00:20:500", "@2 00:00:20:100", "B", "@1 00:00:19:500",
                "@2 00:00:19:000", "A", "@1 00:00:19:100", "@2 00:00:18:000", "B",
                "@1 00:00:15:000", "@annul"}),
         "1;A;00:00:19:100\r\n"
         "2;B;00:00:19:500\r\n"},
        // Y comes before X: its first attempt, annulled, is earlier than any of X's.
        {"equal results share a place in the order of the teams' first attempts",
         logOf({"Y", "@annul", "Z", "@1 00:00:13:000", "@2 00:00:12:000", "X", "@1 00:00:12:000",
                "@2 00:00:11:000", "W", "@1 00:00:10:000", "@2 00:00:10:000", "Y",
                "@1 00:00:11:500", "@2 00:00:12:000", "V", "@1 00:00:13:000", "@2 00:00:13:000"}),
         "1;W;00:00:10:000\r\n"
         "2;Y;00:00:12:000\r\n"
         "2;X;00:00:12:000\r\n"
         "4;Z;00:00:13:000\r\n"
         "4;V;00:00:13:000\r\n"},
        {"teams without a valid result come last as NP",
         logOf({"A", "@1 00:00:17:000", "B", "@1 00:00:17:000", "@2 00:00:17:500", "@dq", "C",
                "@stop 00:00:30:000", "@annul", "D", "@1 00:00:17:000", "@2 x", "E",
                "@1 00:00:19:000", "@2 00:00:19:000", "C", "@1 00:00:18:000", "@2 00:00:18:000"}),
         "1;C;00:00:18:000\r\n"
         "2;E;00:00:19:000\r\n"
         ";A;NP\r\n"
         ";B;NP\r\n"
         ";D;NP\r\n"},
        // With a start list, under the list's spelling: StartList.ReadsWhatSpreadsheetsSave.
        {"spellings of one team in case and white space make one row under the first",
         logOf({"SDH Lhota", "@1 00:00:20:000", "@2 00:00:20:000", "Jiskra", "@1 00:00:19:000",
                "@2 00:00:19:000", " sdh lhota ", "@1 00:00:18:000", "@2 00:00:18:000",
                "  SDH   LHOTA ", "@dq", "SDHLhota", "@dq"}),
         "1;SDH Lhota;00:00:18:000\r\n"
         "2;Jiskra;00:00:19:000\r\n"
         ";SDHLhota;NP\r\n"},
        // Two nameless runs of different teams, the faster of them faster than the winner.
        {"a nameless attempt is never ranked, and the ranking counts them",
         logOf({"@1 00:00:16:000", "@2 00:00:16:000", "A", "@1 00:00:17:000", "@2 00:00:17:000", "",
                "@1 00:00:18:000", "@2 00:00:18:000"}),
         "1;A;00:00:17:000\r\n"
         ";2 pokusy bez jména – přiřaďte je družstvu;\r\n"},
    };
    for (const auto& r : rules) {
        EXPECT_EQ(ReadLog(r.log).ranking, rankingHeader + r.ranking) << r.rule;
    }
}
