#pragma once

#include "vysledky/Attempt.h"
#include "vysledky/desk/Decision.h"

#include <QDateTime>
#include <QMainWindow>
#include <QString>

#include <functional>
#include <memory>

class LiveFeed;
class LogFollower;
class QLabel;
class ResultsTables;
class WebResults;

// The results window: the two tables following the log as it grows, and the menu with its
// dialogs for the log, the start list, the files, printing and the network. What each does is
// elsewhere (ResultsTables, ResultsFiles, StartList, WebResults); this wires them to the user.
class ResultsWindow final : public QMainWindow {
    Q_OBJECT

public:
    explicit ResultsWindow(const QString& logPath, QWidget* parent = nullptr);
    ~ResultsWindow() override;

    // Follows another log from now on.
    void openLog(const QString& path);
    QString logPath() const;

    // Reads what is new in the log now, without waiting for the watch or the poll.
    void refresh();

    // The exports behind the menu, without their dialogs. On failure, the reason is in error.
    bool saveAttemptsCsv(const QString& path, QString& error);
    bool saveRankingCsv(const QString& path, QString& error);
    bool savePdf(const QString& path, QString& error);

    QString statusText() const;

    // Categories from a start list from now on. False, the reason in error, when it cannot be
    // read: the tables stay as they were.
    bool openStartList(const QString& path, QString& error);

    // The results on the local network.
    WebResults& web() { return *web_; }
    // The panel „Na trati“, following the timing program on the session bus.
    LiveFeed& live() { return *live_; }

    // The corrections file instead of the one beside the log, until another log is opened.
    void setCorrectionsPath(const QString& path);
    QString correctionsPath() const;
    // Where the time of a decision comes from.
    void setClock(std::function<QDateTime()> clock) { clock_ = std::move(clock); }
    // Appends a decision about the attempt to the corrections file and shows its effect. False,
    // the reason in error, when it cannot be written.
    bool decide(const Attempt& attempt, Decision::Kind kind, const QString& value,
                const QString& reason, QString& error);

private:
    void buildActions();
    void showTables();
    // Asks where to save, beside the log, and says why the file could not be saved.
    void exportFile(const QString& caption, const QString& name, const QString& filter,
                    bool (ResultsWindow::*save)(const QString&, QString&));

    void chooseLog();
    void chooseStartList();
    void showWebDialog();
    void print();
    // The decision's dialog, then the decision.
    void askDecision(const Attempt& attempt, Decision::Kind kind);
    QStringList knownTeams() const;

    std::unique_ptr<LogFollower> follower_;
    ResultsTables* tables_;
    QLabel* status_;
    QLabel* desk_; // attempts waiting for a name, lines of the corrections file that do not apply
    WebResults* web_;
    LiveFeed* live_;
    std::function<QDateTime()> clock_ = [] { return QDateTime::currentDateTime(); };
};
