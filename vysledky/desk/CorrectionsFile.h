#pragma once

#include "vysledky/desk/Decision.h"

#include <QByteArray>
#include <QList>
#include <QString>

// The corrections file beside the log: ZAVOD.TXT has ZAVOD.opravy.csv, so that the two sort
// together. UTF-8 after a byte-order mark, ";" between fields, CR LF, a header line first and
// one decision a line:
//
//   čas;pokus;otisk;rozhodnutí;hodnota;důvod
//   2026-06-14 10:32:05;3;00:00:17:250|00:00:18:003|platný;družstvo;SDH Lhota;jméno neuloženo
//
// Lines are only appended: a later decision about an attempt wins, and the history stays.
namespace CorrectionsFile {

QString pathBeside(const QString& logPath);

struct Contents {
    QList<Decision> decisions;   // in file order
    QList<LineProblem> problems; // malformed lines
};
Contents parse(const QByteArray& bytes);

// The decision as a line of the file, with its line end.
QByteArray line(const Decision& decision);

// Appends one decision in one write, the header first into a new or empty file. Never into the
// log itself. On failure, the reason in error.
bool append(const QString& path, const QString& logPath, const Decision& decision, QString& error);

} // namespace CorrectionsFile
