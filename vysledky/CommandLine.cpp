#include "vysledky/CommandLine.h"

#include "race/LogRecords.h"
#include "vysledky/CsvWriter.h"
#include "vysledky/LogReader.h"
#include "vysledky/Ranking.h"
#include "vysledky/StartList.h"

#include <QIODevice>
#include <QRegularExpression>

namespace {
const QString csvOption = QStringLiteral("--csv");
const QString rankingOption = QStringLiteral("--ranking");
const QString webOption = QStringLiteral("--web");
const QString startListOption = QStringLiteral("--startovka");

bool isOption(const QString& argument, const QString& option) {
    return argument == option || argument.startsWith(option + u'=');
}

// [ADDRESS:]PORT, the address in brackets when it is IPv6 with a port: "[::1]:8080".
bool readWebPlace(const QString& text, QString& address, quint16& port) {
    static const QRegularExpression place(
        QStringLiteral("^(?:\\[([0-9A-Fa-f:.]+)\\]:|([^:\\[\\]]+):)?([0-9]{1,5})$"));
    const QRegularExpressionMatch match = place.match(text);
    if (!match.hasMatch()) {
        return false;
    }
    const uint number = match.captured(3).toUInt();
    if (number > 65535) {
        return false;
    }
    address = match.captured(1).isEmpty() ? match.captured(2) : match.captured(1);
    port = static_cast<quint16>(number);
    return true;
}

CommandLine failure(const QString& message) {
    CommandLine line;
    line.mode = CommandLine::Mode::Error;
    line.error = message;
    return line;
}
} // namespace

CommandLine CommandLine::parse(const QStringList& arguments) {
    CommandLine line;
    bool modeGiven = false;
    bool fileGiven = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == u"--help" || argument == u"-h") {
            line.mode = Mode::Help;
            return line;
        }
        if (isOption(argument, startListOption)) {
            if (argument.size() > startListOption.size()) {
                line.startList = argument.mid(startListOption.size() + 1);
            } else if (i + 1 < arguments.size()) {
                line.startList = arguments[++i];
            }
            if (line.startList.isEmpty()) {
                return failure(QStringLiteral("Volba %1 chce jméno souboru.").arg(startListOption));
            }
            continue;
        }
        if (isOption(argument, webOption)) {
            if (modeGiven) {
                return failure(
                    QStringLiteral("Zadejte jen jednu z voleb --csv, --ranking a --web."));
            }
            modeGiven = true;
            line.mode = Mode::Web;
            // The place is optional: a following argument that is no place is the file.
            const bool inline_ = argument.size() > webOption.size();
            const QString place =
                inline_ ? argument.mid(webOption.size() + 1) : arguments.value(i + 1);
            if (readWebPlace(place, line.webAddress, line.webPort)) {
                i += inline_ ? 0 : 1;
            } else if (inline_) {
                return failure(QStringLiteral("Volba --web chce [ADRESA:]PORT, ne %1.").arg(place));
            }
            continue;
        }
        const bool csv = isOption(argument, csvOption);
        if (csv || isOption(argument, rankingOption)) {
            if (modeGiven) {
                return failure(
                    QStringLiteral("Zadejte jen jednu z voleb --csv, --ranking a --web."));
            }
            modeGiven = true;
            line.mode = csv ? Mode::Attempts : Mode::Ranking;
            const QString& option = csv ? csvOption : rankingOption;
            if (argument.size() > option.size()) {
                line.file = argument.mid(option.size() + 1);
            } else if (i + 1 < arguments.size()) {
                line.file = arguments[++i];
            } else {
                return failure(QStringLiteral("Volba %1 chce jméno souboru.").arg(option));
            }
            if (fileGiven) {
                return failure(QStringLiteral("Zadejte jen jeden soubor."));
            }
            fileGiven = true;
            continue;
        }
        if (argument.startsWith(u'-') && argument.size() > 1) {
            return failure(QStringLiteral("Neznámá volba %1.").arg(argument));
        }
        if (fileGiven) {
            return failure(QStringLiteral("Zadejte jen jeden soubor."));
        }
        line.file = argument;
        fileGiven = true;
    }
    if (!fileGiven) {
        line.file = QString::fromLatin1(LogRecords::fileName);
    }
    if (line.file.isEmpty()) {
        return failure(QStringLiteral("Jméno souboru je prázdné."));
    }
    return line;
}

bool CommandLine::withoutWindow(int argc, const char* const* argv) {
    for (int i = 1; i < argc; ++i) {
        const QString argument = QString::fromLocal8Bit(argv[i]);
        if (isOption(argument, csvOption) || isOption(argument, rankingOption) ||
            isOption(argument, webOption) || argument == u"--help" || argument == u"-h") {
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
        "\n"
        "CSV: UTF-8 s BOM, pole oddělená středníkem, řádky končí CR LF.\n");
}

int CommandLine::run(QIODevice& out, QIODevice& err) const {
    switch (mode) {
    case Mode::Help:
        out.write(usage().toUtf8());
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
    QList<Attempt> attempts = reader.attempts();
    const bool categories = !list.isEmpty();
    list.apply(attempts);
    if (mode == Mode::Attempts) {
        out.write(CsvWriter::attempts(attempts, categories));
    } else {
        out.write(CsvWriter::ranking(categories ? rankByCategory(attempts, list.categories())
                                                : rankTeams(attempts),
                                     categories));
    }
    return 0;
}
