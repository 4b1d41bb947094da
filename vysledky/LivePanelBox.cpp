#include "vysledky/LivePanelBox.h"

#include "vysledky/live/LiveFeed.h"

#include <QGridLayout>
#include <QLabel>

namespace {
QLabel* label(const QString& name, double scale, QWidget* parent) {
    auto* shown = new QLabel(parent);
    shown->setObjectName(name);
    QFont font = shown->font();
    font.setPointSizeF(font.pointSizeF() * scale);
    font.setBold(scale > 1);
    shown->setFont(font);
    return shown;
}
} // namespace

LivePanelBox::LivePanelBox(const LiveFeed& feed, QWidget* parent)
    : QFrame(parent), feed_(feed), team_(label(QStringLiteral("team"), 1.6, this)),
      time_(label(QStringLiteral("time"), 3, this)),
      lane1_(label(QStringLiteral("lane1"), 1.6, this)),
      lane2_(label(QStringLiteral("lane2"), 1.6, this)),
      end_(label(QStringLiteral("end"), 1.6, this)) {
    setObjectName(QStringLiteral("naTrati"));
    setFrameShape(QFrame::StyledPanel);
    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("Na trati"), this), 0, 0);
    grid->addWidget(team_, 0, 1, 1, 3);
    grid->addWidget(time_, 1, 0, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("dráha 1"), this), 1, 1);
    grid->addWidget(lane1_, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("dráha 2"), this), 1, 2);
    grid->addWidget(lane2_, 2, 2);
    grid->addWidget(end_, 2, 3);
    grid->setColumnStretch(3, 1);
    time_->setMinimumWidth(time_->fontMetrics().horizontalAdvance(QStringLiteral("00:00,00")));
    connect(&feed, &LiveFeed::changed, this, &LivePanelBox::showView);
    connect(&tick_, &QTimer::timeout, this, &LivePanelBox::showView);
    tick_.setTimerType(Qt::PreciseTimer);
    showView();
}

void LivePanelBox::showView() {
    const PanelView view = feed_.view();
    setVisible(view.shown);
    team_->setText(view.team);
    time_->setText(view.time);
    lane1_->setText(view.lane1.isEmpty() ? QStringLiteral("–") : view.lane1);
    lane2_->setText(view.lane2.isEmpty() ? QStringLiteral("–") : view.lane2);
    end_->setText(view.end);
    if (view.running && !tick_.isActive()) {
        tick_.start(tickMillis);
    } else if (!view.running) {
        tick_.stop();
    }
}
