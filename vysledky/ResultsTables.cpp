#include "vysledky/ResultsTables.h"

#include "vysledky/LogFollower.h"
#include "vysledky/ResultModels.h"

#include <QGroupBox>
#include <QHeaderView>
#include <QScrollBar>
#include <QStyle>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace {
QTableView* makeView(QAbstractItemModel* model, const QString& name) {
    auto* view = new QTableView;
    view->setObjectName(name);
    view->setModel(model);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setAlternatingRowColors(true);
    view->setWordWrap(false);
    view->verticalHeader()->hide();
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 8);
    view->horizontalHeader()->setHighlightSections(false);
    return view;
}

// Widths from the font, not from the contents: measuring every row of a long log is slow.
// The stretched column takes the room left, but never less than its width here: the view
// keeps a minimum width that holds every column.
void setWidths(QTableView* view, const QList<int>& widths, int stretched) {
    const int padding = view->fontMetrics().averageCharWidth() * 3;
    QHeaderView* header = view->horizontalHeader();
    int total = 0;
    for (int column = 0; column < widths.size(); ++column) {
        if (column == stretched) {
            header->setSectionResizeMode(column, QHeaderView::Stretch);
        } else {
            header->setSectionResizeMode(column, QHeaderView::Interactive);
            view->setColumnWidth(column, widths[column] + padding);
        }
        total += widths[column] + padding;
    }
    const int scrollBar = view->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, view);
    view->setMinimumWidth(total + scrollBar + 2 * view->frameWidth());
}

int textWidth(const QWidget* widget, const QString& text) {
    return widget->fontMetrics().horizontalAdvance(text);
}

int widestState(const QWidget* widget) {
    int widest = 0;
    for (const AttemptState state :
         {AttemptState::Valid, AttemptState::Disqualified, AttemptState::Annulled,
          AttemptState::Stopped, AttemptState::Incomplete}) {
        widest = std::max(widest, textWidth(widget, stateText(state)));
    }
    return widest;
}

QWidget* titled(const QString& title, QWidget* content) {
    auto* box = new QGroupBox(title);
    auto* layout = new QVBoxLayout(box);
    layout->addWidget(content);
    return box;
}
} // namespace

ResultsTables::ResultsTables(QWidget* parent)
    : QSplitter(Qt::Horizontal, parent), attemptsModel_(new AttemptsModel(this)),
      rankingModel_(new RankingModel(this)),
      attemptsView_(makeView(attemptsModel_, QStringLiteral("attempts"))),
      rankingView_(makeView(rankingModel_, QStringLiteral("ranking"))) {
    addWidget(titled(QStringLiteral("Pokusy"), attemptsView_));
    addWidget(titled(QStringLiteral("Pořadí"), rankingView_));
    setStretchFactor(0, 2);
    setStretchFactor(1, 1);
    setSizes({650, 350});
    sizeColumns(false);
}

// With a start list a category column stands first and the team column moves one over.
void ResultsTables::sizeColumns(bool categories) {
    const int time = textWidth(this, QStringLiteral("00:00:00:000"));
    const int teamWidth = fontMetrics().averageCharWidth() * 14;
    const QStringList attemptTitles = TableTexts::attemptTitles();
    QList<int> attempts{textWidth(this, QStringLiteral("99999")),
                        teamWidth,
                        std::max(time, textWidth(this, attemptTitles[2])),
                        std::max(time, textWidth(this, attemptTitles[3])),
                        std::max(time, textWidth(this, attemptTitles[4])),
                        widestState(this)};
    QList<int> ranking{textWidth(this, QStringLiteral("místo")), teamWidth,
                       std::max(time, textWidth(this, QStringLiteral("výsledek")))};
    const int shift = categories ? 1 : 0;
    if (categories) {
        const int categoryWidth = fontMetrics().averageCharWidth() * 10;
        attempts.prepend(categoryWidth);
        ranking.prepend(categoryWidth);
    }
    setWidths(attemptsView_, attempts, AttemptsModel::Team + shift);
    setWidths(rankingView_, ranking, RankingModel::Team + shift);
}

void ResultsTables::showResults(const LogFollower& follower) {
    QScrollBar* scroll = attemptsView_->verticalScrollBar();
    const bool followingEnd = scroll->value() == scroll->maximum();
    const qsizetype rowsBefore = attemptsModel_->rows().size();
    const bool categories = follower.hasCategories();
    if (categories != attemptsModel_->categories()) {
        attemptsModel_->setCategories(categories, TableTexts::attemptTitles(categories));
        rankingModel_->setCategories(categories, TableTexts::rankingTitles(categories));
        sizeColumns(categories);
    }
    attemptsModel_->setRows(follower.attempts());
    rankingModel_->setRows(follower.ranking());
    // Stay with the newest attempt unless the user has scrolled away from it.
    if (followingEnd && attemptsModel_->rows().size() > rowsBefore) {
        attemptsView_->scrollToBottom();
    }
}
