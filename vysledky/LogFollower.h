#pragma once

#include "vysledky/Attempt.h"
#include "vysledky/LogReader.h"
#include "vysledky/Ranking.h"
#include "vysledky/Standings.h"
#include "vysledky/StartList.h"
#include "vysledky/desk/CorrectionsFollower.h"

#include <QFileSystemWatcher>
#include <QList>
#include <QObject>
#include <QTimer>

#include <memory>

// Follows ZAVOD.TXT while the timing program appends to it: a change the file system reports
// is read at once, and a poll catches what it does not report (network drives, a file created
// or replaced later). The corrections file beside it is followed too, and its decisions are on
// the attempts and in the ranking.
class LogFollower final : public QObject {
    Q_OBJECT

public:
    static constexpr int pollMillis = 1000;

    explicit LogFollower(const QString& path, QObject* parent = nullptr);

    const LogReader& reader() const { return reader_; }
    const QList<Attempt>& attempts() const { return standings_.attempts; }
    const QList<RankingRow>& ranking() const { return standings_.ranking; }
    // "2 pokusy bez jména – přiřaďte je družstvu", or empty.
    QString namelessText() const { return ::namelessText(standings_.nameless); }

    // The corrections file: beside the log unless another is named.
    const CorrectionsFollower& corrections() const { return *corrections_; }
    void setCorrectionsPath(const QString& path);
    // Its lines that do not apply, each as a sentence that names the file and the line.
    QStringList problems() const;
    const QList<LineProblem>& lineProblems() const { return standings_.problems; }

    // With a start list, the attempts carry the list's names and categories and the ranking is
    // per category. An empty list brings back the plain ranking.
    void setStartList(const StartList& list);
    const StartList& startList() const { return startList_; }
    bool hasCategories() const { return !startList_.isEmpty(); }

public slots:
    // Reads what is new; updated() follows when the tables or the file's state changed.
    void refresh();

signals:
    void updated();

private:
    void watch();
    void makeTables();
    void followCorrections(const QString& path);

    LogReader reader_;
    QFileSystemWatcher watcher_;
    QTimer poll_;
    std::unique_ptr<CorrectionsFollower> corrections_;
    Standings standings_;
    StartList startList_;
};
