#include "vysledky/StartList.h"
#include "tests/support/Printers.h"

#include <gtest/gtest.h>

namespace {
// How the list names a team typed in the log, as "name|category".
QString placed(const StartList& list, const QString& typed) {
    Attempt attempt;
    attempt.team = typed;
    QList<Attempt> attempts{attempt};
    list.apply(attempts);
    return attempts[0].team + u'|' + attempts[0].category;
}
} // namespace

TEST(StartList, ReadsWhatSpreadsheetsSave) {
    const struct {
        const char* what;
        QByteArray bytes;
        QStringList categories;
        QString typed;
        QString placed;
    } cases[] = {
        {"UTF-8 with its mark, CR LF",
         "\xEF\xBB\xBF"
         "družstvo;kategorie\r\nSDH Lhota;muži\r\nJiskra;ženy\r\n",
         {"muži", "ženy"},
         " sdh LHOTA ",
         "SDH Lhota|muži"},
        {"commas and quotes",
         "družstvo,kategorie\n\"Sokol, Třebíč\",\"muži \"\"A\"\"\"\n",
         {"muži \"A\""},
         "SOKOL, TŘEBÍČ",
         "Sokol, Třebíč|muži \"A\""},
        {"Windows-1250",
         "dru\x9Estvo;kategorie\r\n\x8At\xECp\xE1nov;\x9E\xE1"
         "ci\r\n",
         {"žáci"},
         "ŠTĚPÁNOV",
         "Štěpánov|žáci"},
        {"other columns, blank lines",
         "číslo;Kategorie;DRUŽSTVO\r\n\r\n1;muži;A\r\n;;\r\n2;ženy;B\r\n\r\n",
         {"muži", "ženy"},
         "b",
         "B|ženy"},
        {"twice, one category", "družstvo;kategorie\nA;muži\na;Muži\n", {"muži"}, "A", "A|muži"},
        {"tabs",
         "družstvo\tkategorie\nSDH Lhota\tmuži\n",
         {"muži"},
         "sdh  lhota",
         "SDH Lhota|muži"},
        {"UTF-16 with its mark",
         QByteArray("\xFF\xFE") +
             QByteArray(reinterpret_cast<const char*>(u"družstvo;kategorie\r\nA;žáci\r\n"), 56),
         {"žáci"},
         "a",
         "A|žáci"},
    };
    for (const auto& c : cases) {
        StartList list;
        QString error;
        ASSERT_TRUE(StartList::parse(c.bytes, list, error))
            << c.what << ": " << error.toStdString();
        EXPECT_EQ(list.categories(), c.categories) << c.what;
        EXPECT_EQ(placed(list, c.typed), c.placed) << c.what;
    }
}

TEST(StartList, RefusesAFaultyListNamingTheLine) {
    const struct {
        QByteArray bytes;
        QString error;
    } cases[] = {
        {"družstvo;kategorie\nA;muži\nB;ženy\na;ženy\n",
         "řádek 4: družstvo a už je na řádku 2 v kategorii muži"},
        {"družstvo;kategorie\nA;muži\n\"B;ženy\n", "řádek 3: uvozovky nejsou uzavřeny"},
        {"družstvo;kategorie\nA;mu\"ži\n", "řádek 2: uvozovky uprostřed pole"},
        {"družstvo;kategorie\n\"A\"x;muži\n", "řádek 2: za uzavřenými uvozovkami chybí oddělovač"},
        {"družstvo;kategorie\n\"A\nB\";muži\nC;\n", "řádek 4: chybí kategorie"},
        {"tým;kategorie\nA;muži\n", "řádek 1: záhlaví musí mít sloupce družstvo a kategorie; "
                                    "přečteno „tým | kategorie“ (kódování UTF-8, oddělovač „;“)"},
        {"druzstvo,kategorie\n", "řádek 1: záhlaví musí mít sloupce družstvo a kategorie; "
                                 "přečteno „druzstvo | kategorie“ (kódování UTF-8, oddělovač „,“)"},
        {"t\xFDm\tkategorie\n", "řádek 1: záhlaví musí mít sloupce družstvo a kategorie; přečteno "
                                "„tým | kategorie“ (kódování Windows-1250, oddělovač „tabulátor“)"},
        {"\r\n\r\n", "soubor je prázdný"},
    };
    for (const auto& c : cases) {
        StartList list;
        QString error;
        EXPECT_FALSE(StartList::parse(c.bytes, list, error)) << c.bytes.toStdString();
        EXPECT_EQ(error, c.error);
    }
}
