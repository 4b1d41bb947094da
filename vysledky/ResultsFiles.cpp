#include "vysledky/ResultsFiles.h"

#include "vysledky/CsvWriter.h"
#include "vysledky/LogFollower.h"
#include "vysledky/ResultsHtml.h"
#include "vysledky/ResultsPrinter.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace ResultsFiles {

namespace {
QString html(const LogFollower& follower) {
    return resultsHtml(documentTitle(follower), follower.attempts(), follower.ranking(),
                       follower.hasCategories());
}

bool refuseLogFile(const LogFollower& follower, const QString& path, QString& error) {
    const QFileInfo target(path);
    const QFileInfo log(follower.reader().path());
    if (target == log || target.absoluteFilePath() == log.absoluteFilePath()) {
        error = QStringLiteral("Do záznamu závodu %1 se nezapisuje. Zvolte jiný soubor.")
                    .arg(log.fileName());
        return true;
    }
    return false;
}

bool saveCsv(const LogFollower& follower, const QString& path, const QByteArray& csv,
             QString& error) {
    if (refuseLogFile(follower, path, error)) {
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(csv) != csv.size() || !file.commit()) {
        error = file.errorString();
        return false;
    }
    return true;
}

} // namespace

bool saveAttemptsCsv(const LogFollower& follower, const QString& path, QString& error) {
    return saveCsv(follower, path,
                   CsvWriter::attempts(follower.attempts(), follower.hasCategories()), error);
}

bool saveRankingCsv(const LogFollower& follower, const QString& path, QString& error) {
    return saveCsv(follower, path, CsvWriter::ranking(follower.ranking(), follower.hasCategories()),
                   error);
}

QString documentTitle(const LogFollower& follower) {
    return QStringLiteral("Výsledky – %1").arg(QFileInfo(follower.reader().path()).fileName());
}

bool savePdf(const LogFollower& follower, const QString& path, QString& error) {
    if (refuseLogFile(follower, path, error)) {
        return false;
    }
    if (!saveResultsPdf(path, html(follower))) {
        error = QStringLiteral("Soubor %1 nelze zapsat.").arg(QDir::toNativeSeparators(path));
        return false;
    }
    return true;
}

void print(const LogFollower& follower, QPrinter& printer) {
    printResults(printer, html(follower));
}

} // namespace ResultsFiles
