#pragma once

#include "vysledky/Attempt.h"
#include "vysledky/desk/Decision.h"

#include <QSplitter>

class AttemptsModel;
class LogFollower;
class QTableView;
class RankingModel;

// The two tables side by side: the attempts on the left, the ranking on the right, with column
// widths from the font and a category column first when there is a start list. An attempt
// without a name stands out, a corrected one tells its decisions on hover, and its context menu
// offers the desk's decisions.
class ResultsTables final : public QSplitter {
    Q_OBJECT

public:
    explicit ResultsTables(QWidget* parent = nullptr);

    // The follower's tables. The attempts stay with the newest row unless the user has scrolled
    // away from it.
    void showResults(const LogFollower& follower);

    // The width both tables need side by side.
    int neededWidth() const;

signals:
    // Chosen from an attempt's context menu.
    void decisionWanted(const Attempt& attempt, Decision::Kind kind);

private:
    void showMenu(const QPoint& position);
    void sizeColumns(bool categories);

    AttemptsModel* attemptsModel_;
    RankingModel* rankingModel_;
    QTableView* attemptsView_;
    QTableView* rankingView_;
};
