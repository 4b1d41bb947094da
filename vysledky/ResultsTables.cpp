#include "vysledky/ResultsTables.h"

#include "vysledky/LogFollower.h"
#include "vysledky/ResultModels.h"

#include "vysledky/DecisionDialog.h"

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QGroupBox>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QMenu>
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
          AttemptState::Stopped, AttemptState::Incomplete, AttemptState::Dropped}) {
        widest =
            std::max(widest, textWidth(widget, stateText(state) + TableTexts::correctedMark()));
    }
    return widest;
}

// What catches the eye: an attempt without a name on orange, a dropped one struck out.
class AttemptMarks final : public QIdentityProxyModel {
public:
    AttemptMarks(AttemptsModel* attempts, QObject* parent)
        : QIdentityProxyModel(parent), attempts_(attempts) {
        setSourceModel(attempts);
    }

    QVariant data(const QModelIndex& index, int role) const override {
        const Attempt* attempt = index.isValid() && index.row() < attempts_->rows().size()
                                     ? &attempts_->rows()[index.row()]
                                     : nullptr;
        if (attempt && attempt->nameless && attempt->state != AttemptState::Dropped) {
            if (role == Qt::BackgroundRole) {
                return QBrush(QColor(255, 200, 120));
            }
            if (role == Qt::ToolTipRole && attempt->correction.isEmpty()) {
                return QStringLiteral("Pokus bez jména se nepočítá do pořadí: přiřaďte ho "
                                      "družstvu (pravé tlačítko myši).");
            }
        }
        if (attempt && attempt->state == AttemptState::Dropped) {
            if (role == Qt::FontRole) {
                QFont font;
                font.setStrikeOut(true);
                return font;
            }
            if (role == Qt::ForegroundRole) {
                return QBrush(Qt::gray);
            }
        }
        return QIdentityProxyModel::data(index, role);
    }

private:
    AttemptsModel* attempts_;
};

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
      attemptsView_(makeView(new AttemptMarks(attemptsModel_, this), QStringLiteral("attempts"))),
      rankingView_(makeView(rankingModel_, QStringLiteral("ranking"))) {
    addWidget(titled(QStringLiteral("Pokusy"), attemptsView_));
    addWidget(titled(QStringLiteral("Pořadí"), rankingView_));
    setStretchFactor(0, 2);
    setStretchFactor(1, 1);
    setSizes({650, 350});
    sizeColumns(false);
    attemptsView_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(attemptsView_, &QWidget::customContextMenuRequested, this, &ResultsTables::showMenu);
}

void ResultsTables::showMenu(const QPoint& position) {
    const QModelIndex index = attemptsView_->indexAt(position);
    if (!index.isValid() || index.row() >= attemptsModel_->rows().size()) {
        return;
    }
    const Attempt attempt = attemptsModel_->rows()[index.row()];
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("decisions"));
    for (const Decision::Kind kind : {Decision::Kind::Assign, Decision::Kind::Invalid,
                                      Decision::Kind::Valid, Decision::Kind::Drop}) {
        connect(menu.addAction(DecisionDialog::actionText(kind)), &QAction::triggered, this,
                [this, attempt, kind] { emit decisionWanted(attempt, kind); });
    }
    menu.exec(attemptsView_->viewport()->mapToGlobal(position));
}

int ResultsTables::neededWidth() const {
    return attemptsView_->minimumWidth() + rankingView_->minimumWidth() + handleWidth() +
           4 * style()->pixelMetric(QStyle::PM_LayoutLeftMargin);
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
