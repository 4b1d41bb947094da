#pragma once

#include <QSplitter>

class AttemptsModel;
class LogFollower;
class QTableView;
class RankingModel;

// The two tables side by side: the attempts on the left, the ranking on the right, with column
// widths from the font and a category column first when there is a start list.
class ResultsTables final : public QSplitter {
    Q_OBJECT

public:
    explicit ResultsTables(QWidget* parent = nullptr);

    // The follower's tables. The attempts stay with the newest row unless the user has scrolled
    // away from it.
    void showResults(const LogFollower& follower);

private:
    void sizeColumns(bool categories);

    AttemptsModel* attemptsModel_;
    RankingModel* rankingModel_;
    QTableView* attemptsView_;
    QTableView* rankingView_;
};
