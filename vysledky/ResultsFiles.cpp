#include "vysledky/ResultsFiles.h"

#include "vysledky/CsvWriter.h"
#include "vysledky/LogFollower.h"
#include "vysledky/ResultsHtml.h"
#include "vysledky/ResultsPrinter.h"
#include "vysledky/desk/CorrectionsHtml.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace ResultsFiles {

namespace {
// The results, then the list of corrections for the judges to sign.
QString html(const LogFollower& follower) {
    const CorrectionsFollower& corrections = follower.corrections();
    return resultsHtml(documentTitle(follower), follower.attempts(), follower.ranking(),
                       follower.hasCategories(), follower.namelessText(),
                       correctionsHtml(QFileInfo(corrections.path()).fileName(),
                                       corrections.contents().decisions, follower.lineProblems()));
}

// Neither the log, nor the start list, nor the corrections file is ever written over.
bool refuseLogFile(const LogFollower& follower, const QString& path, QString& error) {
    const QFileInfo target(path);
    const auto same = [&](const QString& other) {
        const QFileInfo file(other);
        const bool bothThere = target.exists() && file.exists();
        return !other.isEmpty() &&
               (target.absoluteFilePath() == file.absoluteFilePath() ||
                (bothThere && target.canonicalFilePath() == file.canonicalFilePath()));
    };
    QString refusal;
    if (same(follower.reader().path())) {
        refusal = QStringLiteral("Do záznamu závodu %1 se nezapisuje. Zvolte jiný soubor.")
                      .arg(QFileInfo(follower.reader().path()).fileName());
    } else if (same(follower.startList().path())) {
        refusal = QStringLiteral("Startovní listina %1 se nepřepisuje. Zvolte jiný soubor.")
                      .arg(target.fileName());
    } else if (same(follower.corrections().path())) {
        refusal = QStringLiteral("Soubor oprav %1 se nepřepisuje. Zvolte jiný soubor.")
                      .arg(target.fileName());
    }
    if (refusal.isEmpty()) {
        return false;
    }
    error = refusal;
    return true;
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
    return saveCsv(
        follower, path,
        CsvWriter::ranking(follower.ranking(), follower.hasCategories(), follower.namelessText()),
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
