#include "tests/vysledky/LogBytes.h"
#include "tests/vysledky/ReadLog.h"
#include "vysledky/LogReader.h"
#include "vysledky/Standings.h"

#include <gtest/gtest.h>

// Sequences of the desk's decisions, as lines of the corrections file, against the ranking and
// the lines told as not applying. Attempts: 1 nameless 16 s, 2 A 17 s, 3 B 18 s, 4 B 15 s
// disqualified, 5 "Zkouška" 14 s (the organisers' test run), 6 C with lane 1 only.
TEST(Corrections, EachSequenceMakesItsRanking) {
    TempLog log;
    log.write(
        logOf({"@1 00:00:16:000", "@2 00:00:16:000", "A", "@1 00:00:17:000", "@2 00:00:17:000", "B",
               "@1 00:00:18:000", "@2 00:00:18:000", "@1 00:00:15:000", "@2 00:00:15:000", "@dq",
               "Zkou\x9Aka", "@1 00:00:14:000", "@2 00:00:14:000", "C", "@1 00:00:19:000"}));
    LogReader reader(log.path());
    reader.update();
    const QByteArray n1 = "1;00:00:16:000|00:00:16:000|platný;";
    const QByteArray a2 = "2;00:00:17:000|00:00:17:000|platný;";
    const QByteArray b4 = "4;00:00:15:000|00:00:15:000|diskvalifikace;";
    const QByteArray t5 = "5;00:00:14:000|00:00:14:000|platný;";
    const QByteArray untouched = "1;Zkouška;00:00:14:000\r\n"
                                 "2;A;00:00:17:000\r\n"
                                 "3;B;00:00:18:000\r\n"
                                 ";C;NP\r\n"
                                 ";1 pokus bez jména – přiřaďte ho družstvu;\r\n";
    const struct {
        const char* sequence;
        QByteArray lines; // after the header, each "čas;" first
        QByteArray ranking;
        QString told = {};
    } cases[] = {
        {"none", "", untouched},
        {"the nameless attempt assigned to a team of the list ranks for it",
         "t;" + n1 + "družstvo;C;jméno neuloženo\r\n",
         "1;Zkouška;00:00:14:000\r\n"
         "2;C;00:00:16:000\r\n"
         "3;A;00:00:17:000\r\n"
         "4;B;00:00:18:000\r\n"},
        {"invalid, then valid again",
         "t;" + a2 + "neplatný;;přešlap\r\nt;" + a2 + "platný;;omyl\r\n", untouched},
        {"invalid counts as a disqualification", "t;" + a2 + "neplatný;;přešlap\r\n",
         "1;Zkouška;00:00:14:000\r\n"
         "2;B;00:00:18:000\r\n"
         ";A;NP\r\n"
         ";C;NP\r\n"
         ";1 pokus bez jména – přiřaďte ho družstvu;\r\n"},
        {"the test run dropped, and a dropped nameless attempt waits for no name",
         "t;" + t5 + "vyřazen;;zkušební pokus\r\nt;" + n1 + "vyřazen;;zkouška stopek\r\n",
         "1;A;00:00:17:000\r\n"
         "2;B;00:00:18:000\r\n"
         ";C;NP\r\n"},
        {"a later decision wins",
         "t;" + n1 + "družstvo;A;omyl\r\nt;" + n1 + "družstvo;\"B; z Lhoty\";oprava\r\n",
         "1;Zkouška;00:00:14:000\r\n"
         "2;\"B; z Lhoty\";00:00:16:000\r\n"
         "3;A;00:00:17:000\r\n"
         "4;B;00:00:18:000\r\n"
         ";C;NP\r\n"},
        {"the log's own disqualification is not undone", "t;" + b4 + "platný;;odvolání\r\n",
         untouched},
        {"a mismatched fingerprint or an unknown attempt is refused",
         "t;2;00:00:16:000|00:00:16:000|platný;neplatný;;jiný den\r\n"
         "t;7;00:00:16:000|00:00:16:000|platný;vyřazen;;\r\n",
         untouched,
         "ZAVOD.opravy.csv, řádek 2: pokus 2 je v záznamu jiný (otisk "
         "00:00:16:000|00:00:16:000|platný, v záznamu 00:00:17:000|00:00:17:000|platný); řádek "
         "se nepoužije.\n"
         "ZAVOD.opravy.csv, řádek 3: pokus 7 v záznamu není; řádek se nepoužije."},
        {"malformed lines are told with their numbers, the rest applies",
         "t;x;;platný;;\r\nt;" + a2 + "schváleno;;\r\nt;" + a2 + "družstvo; ;\r\nt;1;\"a\r\n" +
             "t;" + t5 + "vyřazen;;zkušební pokus\r\n",
         "1;A;00:00:17:000\r\n"
         "2;B;00:00:18:000\r\n"
         ";C;NP\r\n"
         ";1 pokus bez jména – přiřaďte ho družstvu;\r\n",
         "ZAVOD.opravy.csv, řádek 2: chybný řádek (číslo pokusu „x“ není platné); řádek se "
         "nepoužije.\n"
         "ZAVOD.opravy.csv, řádek 3: chybný řádek (neznámé rozhodnutí „schváleno“); řádek se "
         "nepoužije.\n"
         "ZAVOD.opravy.csv, řádek 4: chybný řádek (chybí družstvo); řádek se nepoužije.\n"
         "ZAVOD.opravy.csv, řádek 5: chybný řádek (neuzavřené uvozovky); řádek se nepoužije."},
    };
    for (const auto& c : cases) {
        const QByteArray file = "\xEF\xBB\xBF"
                                "čas;pokus;otisk;rozhodnutí;hodnota;důvod\r\n" +
                                c.lines;
        const Standings standings =
            makeStandings(reader.attempts(), CorrectionsFile::parse(file), StartList());
        EXPECT_EQ(CsvWriter::ranking(standings.ranking, false, namelessText(standings.nameless)),
                  rankingHeader + c.ranking)
            << c.sequence;
        QStringList told;
        for (const LineProblem& problem : standings.problems) {
            told.append(problem.told(QStringLiteral("ZAVOD.opravy.csv")));
        }
        EXPECT_EQ(told.join(u'\n'), c.told) << c.sequence;
    }
}

// Czech counts: 1 pokus, 2 to 4 pokusy, 5 and more pokusů.
TEST(Corrections, TheNamelessCountSpeaksCzech) {
    const struct {
        int count;
        QString text;
    } cases[] = {{0, {}},
                 {1, u"1 pokus bez jména – přiřaďte ho družstvu"_qs},
                 {4, u"4 pokusy bez jména – přiřaďte je družstvu"_qs},
                 {5, u"5 pokusů bez jména – přiřaďte je družstvu"_qs}};
    for (const auto& c : cases) {
        EXPECT_EQ(namelessText(c.count), c.text) << c.count;
    }
}
