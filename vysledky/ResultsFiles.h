#pragma once

#include <QString>

class LogFollower;
class QPrinter;

// The follower's tables as files and on paper: each CSV and the PDF of both tables, never
// written over the log itself. On failure, the reason in error.
namespace ResultsFiles {

bool saveAttemptsCsv(const LogFollower& follower, const QString& path, QString& error);
bool saveRankingCsv(const LogFollower& follower, const QString& path, QString& error);
bool savePdf(const LogFollower& follower, const QString& path, QString& error);
void print(const LogFollower& follower, QPrinter& printer);

// "Výsledky – ZAVOD.TXT", the printed and PDF document's title.
QString documentTitle(const LogFollower& follower);

} // namespace ResultsFiles
