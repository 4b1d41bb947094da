#include "vysledky/ResultModels.h"

namespace {
constexpr int numberAlignment = Qt::AlignRight | Qt::AlignVCenter;
constexpr int timeAlignment = Qt::AlignHCenter | Qt::AlignVCenter;
} // namespace

AttemptsModel::AttemptsModel(QObject* parent) : TableModel(TableTexts::attemptTitles(), parent) {}

QVariant AttemptsModel::extra(const Attempt& attempt, int column, int role) const {
    if (role == Qt::TextAlignmentRole) {
        switch (column) {
        case Number:
            return numberAlignment;
        case Lane1:
        case Lane2:
        case Result:
            return timeAlignment;
        default:
            return {};
        }
    }
    // What the desk decided about it, and why, over the whole row.
    if (role == Qt::ToolTipRole && !attempt.correction.isEmpty()) {
        return attempt.correction;
    }
    // The time of a stop by hand has no column of its own.
    if (role == Qt::ToolTipRole && column == State && attempt.state == AttemptState::Stopped) {
        return QStringLiteral("zastaveno tlačítkem v čase %1").arg(attempt.stopTime);
    }
    return {};
}

RankingModel::RankingModel(QObject* parent) : TableModel(TableTexts::rankingTitles(), parent) {}

QVariant RankingModel::extra(const RankingRow&, int column, int role) const {
    if (role == Qt::TextAlignmentRole) {
        if (column == Place) {
            return numberAlignment;
        }
        if (column == Result) {
            return timeAlignment;
        }
    }
    return {};
}
