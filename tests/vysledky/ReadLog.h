#pragma once

#include "tests/vysledky/LogBytes.h"
#include "vysledky/CsvWriter.h"
#include "vysledky/LogReader.h"
#include "vysledky/Ranking.h"

#include <QByteArray>

// The two CSV tables of a whole log, read from a file as the program reads it.
struct ReadLog {
    explicit ReadLog(const QByteArray& log) {
        TempLog file;
        file.write(log);
        LogReader reader(file.path());
        reader.update();
        attempts = CsvWriter::attempts(reader.attempts());
        ranking = CsvWriter::ranking(rankTeams(reader.attempts()), false,
                                     namelessText(namelessCount(reader.attempts())));
    }

    QByteArray attempts;
    QByteArray ranking;
};

// Every CSV starts with the UTF-8 byte-order mark.
inline const QByteArray attemptsHeader = "\xEF\xBB\xBF"
                                         "pokus;družstvo;dráha 1;dráha 2;výsledek;stav\r\n";
inline const QByteArray rankingHeader = "\xEF\xBB\xBF"
                                        "místo;družstvo;výsledek\r\n";
