#pragma once

#include <QFrame>
#include <QTimer>

class LiveFeed;
class QLabel;

// The panel „Na trati“ above the window's tables: the team, the running time ticking in
// hundredths, each lane's time as it lands and the end. Hidden while the feed shows nothing.
class LivePanelBox final : public QFrame {
    Q_OBJECT

public:
    static constexpr int tickMillis = 10;

    explicit LivePanelBox(const LiveFeed& feed, QWidget* parent = nullptr);

    void showView();

private:
    const LiveFeed& feed_;
    QLabel* team_;
    QLabel* time_;
    QLabel* lane1_;
    QLabel* lane2_;
    QLabel* end_;
    QTimer tick_;
};
