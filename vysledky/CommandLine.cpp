#include "vysledky/CommandLine.h"

#include "race/LogRecords.h"
#include "vysledky/CsvWriter.h"
#include "vysledky/LogReader.h"
#include "vysledky/Ranking.h"

#include <QIODevice>

namespace {
const QString csvOption = QStringLiteral("--csv");
const QString rankingOption = QStringLiteral("--ranking");

bool isOption(const QString& argument, const QString& option) {
    return argument == option || argument.startsWith(option + u'=');
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
        const bool csv = isOption(argument, csvOption);
        if (csv || isOption(argument, rankingOption)) {
            if (modeGiven) {
                return failure(QStringLiteral("Zadejte jen jednu z voleb --csv a --ranking."));
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
            argument == u"--help" || argument == u"-h") {
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
        "\n"
        "CSV: UTF-8 bez BOM, pole oddělená středníkem, řádky končí CR LF.\n");
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
    const QList<Attempt> attempts = reader.attempts();
    out.write(mode == Mode::Attempts ? CsvWriter::attempts(attempts)
                                     : CsvWriter::ranking(rankTeams(attempts)));
    return 0;
}
