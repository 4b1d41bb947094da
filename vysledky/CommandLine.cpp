#include "vysledky/CommandLine.h"

#include "records/LogRecords.h"
#include "vysledky/CsvWriter.h"
#include "vysledky/LogReader.h"
#include "vysledky/Ranking.h"
#include "vysledky/Standings.h"
#include "vysledky/StartList.h"
#include "vysledky/desk/CorrectionsFile.h"

#include <QCommandLineParser>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <QRegularExpression>

namespace {
const QString csvOption = QStringLiteral("--csv");
const QString rankingOption = QStringLiteral("--ranking");
const QString webOption = QStringLiteral("--web");
const QString startListOption = QStringLiteral("--startovka");
const QString correctionsOption = QStringLiteral("--opravy");

bool isOption(const QString& argument, const QString& option) {
    return argument == option || argument.startsWith(option + u'=');
}

// [ADDRESS:]PORT, the address in brackets when it is IPv6 with a port: "[::1]:8080".
QRegularExpressionMatch matchWebPlace(const QString& text) {
    static const QRegularExpression place(
        QStringLiteral("^(?:\\[([0-9A-Fa-f:.]+)\\]:|([^:\\[\\]]+):)?([0-9]+)$"));
    return place.match(text);
}

// A port from 1 to 65535; a number out of that range is no port, and no file's name either.
bool readWebPlace(const QString& text, QString& address, quint16& port) {
    const QRegularExpressionMatch match = matchWebPlace(text);
    if (!match.hasMatch()) {
        return false;
    }
    bool number = false;
    const uint value = match.captured(3).toUInt(&number);
    if (!number || value < 1 || value > 65535) {
        return false;
    }
    address = match.captured(1).isEmpty() ? match.captured(2) : match.captured(1);
    port = static_cast<quint16>(value);
    return true;
}

CommandLine failure(const QString& message) {
    CommandLine line;
    line.mode = CommandLine::Mode::Error;
    line.error = message;
    return line;
}

// The place after --web may be left out: a following argument that is no place is the file.
// The parser wants a value, so a bare --web gets the default place.
QStringList withWebPlace(QStringList arguments) {
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (arguments[i] == webOption && !matchWebPlace(arguments.value(i + 1)).hasMatch()) {
            arguments[i] = webOption + u'=' + QString::number(CommandLine::defaultWebPort);
        }
    }
    return arguments;
}
} // namespace

CommandLine CommandLine::parse(const QStringList& arguments) {
    const QString file = QStringLiteral("SOUBOR");
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringLiteral("version"));
    const QCommandLineOption csv(csvOption.mid(2), {}, file);
    const QCommandLineOption ranking(rankingOption.mid(2), {}, file);
    const QCommandLineOption web(webOption.mid(2), {}, QStringLiteral("[ADRESA:]PORT"));
    const QCommandLineOption startList(startListOption.mid(2), {}, QStringLiteral("LISTINA"));
    const QCommandLineOption corrections(correctionsOption.mid(2), {}, file);
    QCommandLineParser parser;
    parser.addOptions({help, version, csv, ranking, web, startList, corrections});

    if (!parser.parse(withWebPlace(arguments))) {
        if (!parser.unknownOptionNames().isEmpty()) {
            const QString name = parser.unknownOptionNames().first();
            return failure(
                QStringLiteral("Neznámá volba %1%2.")
                    .arg(name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--"), name));
        }
        for (const QString& option :
             {csvOption, rankingOption, startListOption, correctionsOption}) {
            if (arguments.last() == option) {
                return failure(QStringLiteral("Volba %1 chce jméno souboru.").arg(option));
            }
        }
        return failure(parser.errorText());
    }
    CommandLine line;
    if (parser.isSet(help)) {
        line.mode = Mode::Help;
        return line;
    }
    if (parser.isSet(version)) {
        line.mode = Mode::Version;
        return line;
    }
    const QStringList csvFiles = parser.values(csv);
    const QStringList rankingFiles = parser.values(ranking);
    const QStringList webPlaces = parser.values(web);
    if (csvFiles.size() + rankingFiles.size() + webPlaces.size() > 1) {
        return failure(QStringLiteral("Zadejte jen jednu z voleb --csv, --ranking a --web."));
    }
    for (const auto& [option, values] : {std::pair{startListOption, parser.values(startList)},
                                         {correctionsOption, parser.values(corrections)},
                                         {csvOption, csvFiles},
                                         {rankingOption, rankingFiles}}) {
        if (values.contains(QString())) {
            return failure(QStringLiteral("Volba %1 chce jméno souboru.").arg(option));
        }
    }
    line.startList = parser.value(startList);
    line.corrections = parser.value(corrections);
    QStringList files = parser.positionalArguments();
    if (!csvFiles.isEmpty() || !rankingFiles.isEmpty()) {
        line.mode = csvFiles.isEmpty() ? Mode::Ranking : Mode::Attempts;
        files.prepend(csvFiles.isEmpty() ? rankingFiles.first() : csvFiles.first());
    }
    if (!webPlaces.isEmpty()) {
        line.mode = Mode::Web;
        const QRegularExpressionMatch place = matchWebPlace(webPlaces.first());
        if (place.hasMatch() && !readWebPlace(webPlaces.first(), line.webAddress, line.webPort)) {
            return failure(
                QStringLiteral("Port musí být od 1 do 65535, ne %1.").arg(place.captured(3)));
        }
        if (!place.hasMatch()) {
            return failure(
                QStringLiteral("Volba --web chce [ADRESA:]PORT, ne %1.").arg(webPlaces.first()));
        }
    }
    if (files.size() > 1) {
        return failure(QStringLiteral("Zadejte jen jeden soubor."));
    }
    line.file = files.isEmpty() ? QString::fromLatin1(LogRecords::fileName) : files.first();
    if (line.file.isEmpty()) {
        return failure(QStringLiteral("Jméno souboru je prázdné."));
    }
    return line;
}

bool CommandLine::withoutWindow(int argc, const char* const* argv) {
    for (int i = 1; i < argc; ++i) {
        const QString argument = QString::fromLocal8Bit(argv[i]);
        if (isOption(argument, csvOption) || isOption(argument, rankingOption) ||
            isOption(argument, webOption) || argument == u"--help" || argument == u"-h" ||
            argument == u"--version") {
            return true;
        }
    }
    return false;
}

QString CommandLine::usage() {
    return QStringLiteral(
        "Použití:\n"
        "  vysledky [SOUBOR]            okno s výsledky (bez SOUBORU ZAVOD.TXT v této složce)\n"
        "  vysledky --csv SOUBOR        pokusy jako CSV na standardní výstup\n"
        "  vysledky --ranking SOUBOR    pořadí jako CSV na standardní výstup\n"
        "  vysledky --web [ADRESA:]PORT [SOUBOR]\n"
        "                               výsledky na místní síti bez okna (výchozí port 8080\n"
        "                               na všech rozhraních; ukončí Ctrl+C)\n"
        "  --startovka LISTINA          s kteroukoli z nich: kategorie ze startovní listiny\n"
        "                               (CSV se sloupci družstvo;kategorie)\n"
        "  --opravy SOUBOR              s kteroukoli z nich: soubor oprav (bez něj ten vedle\n"
        "                               záznamu, k ZAVOD.TXT ZAVOD.opravy.csv)\n"
        "  vysledky --version           verze programu\n"
        "\n"
        "CSV: UTF-8 s BOM, pole oddělená středníkem, řádky končí CR LF.\n");
}

int CommandLine::run(QIODevice& out, QIODevice& err) const {
    switch (mode) {
    case Mode::Help:
        out.write(usage().toUtf8());
        return 0;
    case Mode::Version:
        out.write(QStringLiteral("vysledky %1\n").arg(QStringLiteral(TAVORIN_VERSION)).toUtf8());
        return 0;
    case Mode::Error:
        err.write(QStringLiteral("vysledky: %1\n\n%2").arg(error, usage()).toUtf8());
        return 2;
    case Mode::Window:
    case Mode::Web:
        err.write(usage().toUtf8());
        return 2;
    case Mode::Attempts:
    case Mode::Ranking:
        break;
    }
    LogReader reader(file);
    reader.update();
    if (reader.status() != LogReader::Status::Read) {
        err.write(QStringLiteral("vysledky: %1: %2\n").arg(file, reader.errorText()).toUtf8());
        return 1;
    }
    StartList list;
    QString listError;
    if (!startList.isEmpty() && !StartList::load(startList, list, listError)) {
        err.write(QStringLiteral("vysledky: %1: %2\n").arg(startList, listError).toUtf8());
        return 1;
    }
    const QString correctionsFile = correctionsPath();
    QFile decisions(correctionsFile);
    if (QFileInfo(correctionsFile).isFile() && !decisions.open(QIODevice::ReadOnly)) {
        err.write(QStringLiteral("vysledky: %1: %2\n")
                      .arg(correctionsFile, decisions.errorString())
                      .toUtf8());
        return 1;
    }
    const Standings standings =
        makeStandings(reader.attempts(),
                      CorrectionsFile::parse(decisions.isOpen() ? decisions.readAll() : ""), list);
    for (const LineProblem& problem : standings.problems) {
        err.write(QStringLiteral("vysledky: %1\n")
                      .arg(problem.told(QFileInfo(correctionsFile).fileName()))
                      .toUtf8());
    }
    const bool categories = !list.isEmpty();
    if (mode == Mode::Attempts) {
        out.write(CsvWriter::attempts(standings.attempts, categories));
    } else {
        out.write(
            CsvWriter::ranking(standings.ranking, categories, namelessText(standings.nameless)));
    }
    return 0;
}

QString CommandLine::correctionsPath() const {
    return corrections.isEmpty() ? CorrectionsFile::pathBeside(file) : corrections;
}
