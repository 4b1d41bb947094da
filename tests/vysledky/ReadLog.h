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
        ranking = CsvWriter::ranking(rankTeams(reader.attempts()));
    }

    QByteArray attempts;
    QByteArray ranking;
};

inline const QByteArray attemptsHeader = "pokus;družstvo;dráha 1;dráha 2;výsledek;stav\r\n";
inline const QByteArray rankingHeader = "místo;družstvo;výsledek\r\n";
