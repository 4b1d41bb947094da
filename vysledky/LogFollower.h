#pragma once

#include "vysledky/Attempt.h"
#include "vysledky/LogReader.h"
#include "vysledky/Ranking.h"
#include "vysledky/StartList.h"

#include <QFileSystemWatcher>
#include <QList>
#include <QObject>
#include <QTimer>

// Follows ZAVOD.TXT while the timing program appends to it: a change the file system reports
// is read at once, and a poll catches what it does not report (network drives, a file created
// or replaced later).
class LogFollower final : public QObject {
    Q_OBJECT

public:
    static constexpr int pollMillis = 1000;

    explicit LogFollower(const QString& path, QObject* parent = nullptr);

    const LogReader& reader() const { return reader_; }
    const QList<Attempt>& attempts() const { return attempts_; }
    const QList<RankingRow>& ranking() const { return ranking_; }

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

    LogReader reader_;
    QFileSystemWatcher watcher_;
    QTimer poll_;
    QList<Attempt> attempts_;
    QList<RankingRow> ranking_;
    StartList startList_;
};
