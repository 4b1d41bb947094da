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
const QByteArray sampleRanking = rankingHeader + "1;\"SDH \"\"Orel\"\"; Lhota\";00:00:18:003\r\n"
                                                 "1;Sokol Třebíč;00:00:18:003\r\n";
} // namespace

// Each table in its own bytes, the attempts without a byte order mark.
TEST(CommandLine, WritesEitherTable) {
    TempLog log;
    log.write(sample);
    const struct {
        QStringList arguments;
        QByteArray out;
    } cases[] = {{{QStringLiteral("--csv"), log.path()}, sampleAttempts},
                 {{QStringLiteral("--ranking"), log.path()}, sampleRanking},
                 {{QStringLiteral("--ranking=") + log.path()}, sampleRanking}};
    for (const auto& c : cases) {
        const Outcome result = run(c.arguments);
        EXPECT_EQ(result.code, 0) << c.arguments.join(u' ').toStdString();
        EXPECT_EQ(result.out, c.out);
        EXPECT_EQ(result.err, "");
    }
}

TEST(CommandLine, AMissingLogIsAnErrorWithNothingOnStandardOutput) {
    TempLog log;
    const Outcome result = run({QStringLiteral("--csv"), log.path()});
    EXPECT_EQ(result.code, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_TRUE(result.err.contains(log.path().toUtf8())) << result.err.toStdString();
    EXPECT_TRUE(result.err.contains("soubor neexistuje")) << result.err.toStdString();
}

TEST(CommandLine, WrongArgumentsAreAnErrorWithTheUsage) {
    TempLog log;
    for (const QStringList& arguments :
         {QStringList{QStringLiteral("--csv")},
          QStringList{QStringLiteral("--csv"), log.path(), QStringLiteral("--ranking"), log.path()},
          QStringList{QStringLiteral("--csv"), log.path(), QStringLiteral("more")},
          QStringList{QStringLiteral("--csv=")},
          QStringList{QStringLiteral("--tabulka"), log.path()}}) {
        const Outcome result = run(arguments);
        EXPECT_EQ(result.code, 2) << arguments.join(u' ').toStdString();
        EXPECT_EQ(result.out, "");
        EXPECT_TRUE(result.err.contains("vysledky --csv SOUBOR"));
    }
}

TEST(CommandLine, HelpGoesToStandardOutput) {
    const Outcome result = run({QStringLiteral("--help")});
    EXPECT_EQ(result.code, 0);
    EXPECT_TRUE(result.out.contains("vysledky --ranking SOUBOR"));
}

TEST(CommandLine, OpensTheWindowOnTheGivenLogOrOnZavodTxt) {
    const CommandLine none = CommandLine::parse({QStringLiteral("vysledky")});
    EXPECT_EQ(none.mode, CommandLine::Mode::Window);
    EXPECT_EQ(none.file, u"ZAVOD.TXT");
    const CommandLine given =
        CommandLine::parse({QStringLiteral("vysledky"), QStringLiteral("/data/ZAVOD2.TXT")});
    EXPECT_EQ(given.mode, CommandLine::Mode::Window);
    EXPECT_EQ(given.file, u"/data/ZAVOD2.TXT");
}

TEST(CommandLine, KnowsFromTheRawArgumentsWhetherAWindowIsWanted) {
    const char* csv[] = {"vysledky", "--csv", "ZAVOD.TXT"};
    const char* ranking[] = {"vysledky", "--ranking=ZAVOD.TXT"};
    const char* help[] = {"vysledky", "-h"};
    const char* window[] = {"vysledky", "ZAVOD.TXT"};
    const char* qtOption[] = {"vysledky", "-platform", "offscreen"};
    EXPECT_TRUE(CommandLine::withoutWindow(3, csv));
    EXPECT_TRUE(CommandLine::withoutWindow(2, ranking));
    EXPECT_TRUE(CommandLine::withoutWindow(2, help));
    EXPECT_FALSE(CommandLine::withoutWindow(2, window));
    EXPECT_FALSE(CommandLine::withoutWindow(3, qtOption));
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
