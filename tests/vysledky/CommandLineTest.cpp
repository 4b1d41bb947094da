#include "vysledky/CommandLine.h"
#include "tests/vysledky/LogBytes.h"
#include "tests/vysledky/ReadLog.h"

#include <QBuffer>
#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

namespace {
struct Outcome {
    int code = -1;
    QByteArray out;
    QByteArray err;
};

Outcome run(const QStringList& arguments) {
    QBuffer out;
    QBuffer err;
    out.open(QIODevice::WriteOnly);
    err.open(QIODevice::WriteOnly);
    Outcome result;
    result.code =
        CommandLine::parse(QStringList{QStringLiteral("vysledky")} + arguments).run(out, err);
    result.out = out.data();
    result.err = err.data();
    return result;
}

const QByteArray sample =
    logOf({"SDH \"Orel\"; Lhota", "@1 00:00:17:250", "@2 00:00:18:003", "Sokol T\370eb\355\350",
           "@stop 00:00:35:000", "@2 00:00:16:900", "@1 00:00:18:003"});
const QByteArray sampleAttempts =
    attemptsHeader +
    "1;\"SDH \"\"Orel\"\"; Lhota\";00:00:17:250;00:00:18:003;00:00:18:003;platný\r\n"
    "2;Sokol Třebíč;;;;zastaveno\r\n"
    "3;Sokol Třebíč;00:00:18:003;00:00:16:900;00:00:18:003;platný\r\n";

// Teams of a start list in the log under other spellings, one the list does not know.
const QByteArray startList = "družstvo;kategorie\r\nŽabovřesky;ženy\r\nSDH Lhota;muži\r\n"
                             "Jiskra;muži\r\nOrel;muži\r\nPrázdní;dorost\r\n";
const QByteArray competition =
    logOf({"sdh lhota", "@1 00:00:20:000", "@2 00:00:19:000", "Jiskra", "@1 00:00:19:000",
           "@2 00:00:18:000", "\216abov\370esky", "@1 00:00:21:000", "@2 00:00:20:000",
           "Nezn\xE1m\xED", "@1 00:00:18:000", "@2 00:00:17:000"}) +
    logOf({"Orel", "@1 00:00:19:000", "@2 00:00:19:000", " SDH LHOTA", "@1 00:00:18:500",
           "@2 00:00:18:000", "\216ABOV\330ESKY", "@1 00:00:16:000", "@2 00:00:16:000", "@dq"});
} // namespace

// Our options and our messages, as "mode|file|address|port|start list|error";
// QCommandLineParser splits the arguments.
TEST(CommandLine, ReadsTheOptions) {
    const char* const modes[] = {"window", "csv", "ranking", "web", "help", "version", "error"};
    const std::pair<QStringList, const char*> cases[] = {
        {{}, "window|ZAVOD.TXT||8080||"},
        {{"/data/ZAVOD2.TXT"}, "window|/data/ZAVOD2.TXT||8080||"},
        {{"--csv", "a.txt"}, "csv|a.txt||8080||"},
        {{"--ranking=a.txt", "--startovka", "s.csv"}, "ranking|a.txt||8080|s.csv|"},
        {{"--web"}, "web|ZAVOD.TXT||8080||"},
        {{"--web", "a.txt"}, "web|a.txt||8080||"},
        {{"--web", "99999"}, "error|||8080||Port musí být od 1 do 65535, ne 99999."},
        {{"--web=0", "a.txt"}, "error|||8080||Port musí být od 1 do 65535, ne 0."},
        {{"--web", "9000", "a.txt"}, "web|a.txt||9000||"},
        {{"--web=192.168.1.5:80"}, "web|ZAVOD.TXT|192.168.1.5|80||"},
        {{"--web", "[::1]:8081"}, "web|ZAVOD.TXT|::1|8081||"},
        {{"-h"}, "help|||8080||"},
        {{"--version"}, "version|||8080||"},
        {{"--tabulka", "a.txt"}, "error|||8080||Neznámá volba --tabulka."},
        {{"-x"}, "error|||8080||Neznámá volba -x."},
        {{"--csv"}, "error|||8080||Volba --csv chce jméno souboru."},
        {{"--csv="}, "error|||8080||Volba --csv chce jméno souboru."},
        {{"a.txt", "--startovka"}, "error|||8080||Volba --startovka chce jméno souboru."},
        {{"--csv", "a", "--ranking", "a"},
         "error|||8080||Zadejte jen jednu z voleb --csv, --ranking a --web."},
        {{"--csv", "a.txt", "b.txt"}, "error|||8080||Zadejte jen jeden soubor."},
        {{"--web=80:a"}, "error|||8080||Volba --web chce [ADRESA:]PORT, ne 80:a."},
        {{""}, "error|||8080||Jméno souboru je prázdné."},
    };
    for (const auto& [arguments, expected] : cases) {
        const CommandLine line = CommandLine::parse(QStringList{"vysledky"} + arguments);
        EXPECT_EQ(
            QStringList({QString::fromLatin1(modes[int(line.mode)]), line.file, line.webAddress,
                         QString::number(line.webPort), line.startList, line.error})
                .join(u'|'),
            QString::fromUtf8(expected))
            << arguments.join(u' ').toStdString();
    }
}

// The usage goes to standard output when asked for, after the mistake to standard error.
TEST(CommandLine, PrintsTheUsageWhereItBelongs) {
    const Outcome help = run({"--help"});
    EXPECT_EQ(help.code, 0);
    EXPECT_TRUE(help.out.startsWith("Použití:\n  vysledky [SOUBOR]")) << help.out.toStdString();
    EXPECT_EQ(help.err, "");
    const Outcome wrong = run({"--tabulka"});
    EXPECT_EQ(wrong.code, 2);
    EXPECT_EQ(wrong.out, "");
    EXPECT_TRUE(wrong.err.startsWith("vysledky: Neznámá volba --tabulka.\n\nPoužití:\n"))
        << wrong.err.toStdString();
}

// Each table in its own bytes on standard output, or on standard error why not. With a start
// list, per category.
TEST(CommandLine, WritesEitherTable) {
    TempLog log;
    log.write(sample);
    TempLog categorised;
    categorised.write(competition);
    TempLog missing;
    const QString list = log.folder() + "/startovka.csv";
    const QString faulty = log.folder() + "/vadna.csv";
    writeFile(list, startList);
    writeFile(faulty, startList + "\"Orel;dorost\r\n");
    const QString corrections = log.folder() + "/rozhodnuti.csv";
    writeFile(corrections, "\xEF\xBB\xBF"
                           "čas;pokus;otisk;rozhodnutí;hodnota;důvod\r\n"
                           "t;3;00:00:18:003|00:00:16:900|platný;neplatný;;bez přetlaku\r\n"
                           "t;1;00:00:17:250|00:00:18:003|platný;družstvo;Jiskra;přihláška\r\n"
                           "t;2;00:00:35:000||zastaveno;vyřazen;;zkouška\r\n");
    const struct {
        QStringList arguments;
        int code;
        QByteArray out;
        QByteArray err = {};
    } cases[] = {
        {{"--csv", log.path()}, 0, sampleAttempts},
        {{"--ranking=" + log.path()},
         0,
         rankingHeader + "1;\"SDH \"\"Orel\"\"; Lhota\";00:00:18:003\r\n"
                         "1;Sokol Třebíč;00:00:18:003\r\n"},
        {{"--ranking", log.path(), "--opravy", corrections},
         0,
         rankingHeader + "1;Jiskra;00:00:18:003\r\n"
                         ";Sokol Třebíč;NP\r\n",
         "vysledky: rozhodnuti.csv, řádek 4: pokus 2 je v záznamu jiný (otisk "
         "00:00:35:000||zastaveno, v záznamu ||zastaveno); řádek se nepoužije.\n"},
        {{"--ranking", categorised.path(), "--startovka", list},
         0,
         "\xEF\xBB\xBF"
         "kategorie;místo;družstvo;výsledek\r\n"
         "ženy;1;Žabovřesky;00:00:21:000\r\n"
         "muži;1;SDH Lhota;00:00:18:500\r\n"
         "muži;2;Jiskra;00:00:19:000\r\n"
         "muži;2;Orel;00:00:19:000\r\n"
         "bez kategorie;1;Neznámí;00:00:18:000\r\n"},
        {{"--startovka=" + list, "--csv", categorised.path()},
         0,
         "\xEF\xBB\xBF"
         "kategorie;pokus;družstvo;dráha 1;dráha 2;výsledek;stav\r\n"
         "muži;1;SDH Lhota;00:00:20:000;00:00:19:000;00:00:20:000;platný\r\n"
         "muži;2;Jiskra;00:00:19:000;00:00:18:000;00:00:19:000;platný\r\n"
         "ženy;3;Žabovřesky;00:00:21:000;00:00:20:000;00:00:21:000;platný\r\n"
         "bez kategorie;4;Neznámí;00:00:18:000;00:00:17:000;00:00:18:000;platný\r\n"
         "muži;5;Orel;00:00:19:000;00:00:19:000;00:00:19:000;platný\r\n"
         "muži;6;SDH Lhota;00:00:18:500;00:00:18:000;00:00:18:500;platný\r\n"
         "ženy;7;Žabovřesky;00:00:16:000;00:00:16:000;00:00:16:000;diskvalifikace\r\n"},
        {{"--csv", missing.path()},
         1,
         "",
         "vysledky: " + missing.path().toUtf8() + ": soubor neexistuje\n"},
        {{"--csv", log.path(), "--startovka", faulty},
         1,
         "",
         "vysledky: " + faulty.toUtf8() + ": řádek 7: uvozovky nejsou uzavřeny\n"},
    };
    for (const auto& c : cases) {
        const Outcome result = run(c.arguments);
        EXPECT_EQ(result.code, c.code) << c.arguments.join(u' ').toStdString();
        EXPECT_EQ(result.out, c.out);
        EXPECT_EQ(result.err, c.err);
    }
}

TEST(CommandLine, KnowsFromTheRawArgumentsWhetherAWindowIsWanted) {
    const struct {
        std::vector<const char*> argv;
        bool withoutWindow;
    } cases[] = {
        {{"vysledky", "--csv", "ZAVOD.TXT"}, true},
        {{"vysledky", "--ranking=ZAVOD.TXT"}, true},
        {{"vysledky", "--web"}, true},
        {{"vysledky", "-h"}, true},
        {{"vysledky", "--version"}, true},
        {{"vysledky", "ZAVOD.TXT"}, false},
        {{"vysledky", "-platform", "offscreen"}, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CommandLine::withoutWindow(int(c.argv.size()), c.argv.data()), c.withoutWindow)
            << c.argv[1];
    }
}

// The program itself, with no display at all and a platform that would need one: writing CSV
// must not start the GUI. Which table it writes is the command line's, tested above.
TEST(CommandLine, TheProgramWritesCsvWithoutADisplay) {
    TempLog log;
    log.write(sample);
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    program.setProcessEnvironment(environment);

    program.start(QStringLiteral(VYSLEDKY_PROGRAM), {QStringLiteral("--csv"), log.path()});
    ASSERT_TRUE(program.waitForFinished(-1));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();
    EXPECT_EQ(program.readAllStandardOutput(), sampleAttempts);
}
