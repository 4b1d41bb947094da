#include "vysledky/TableTexts.h"

namespace TableTexts {

namespace {
QStringList withCategory(QStringList cells, bool categories, const QString& category) {
    if (categories) {
        cells.prepend(category);
    }
    return cells;
}
} // namespace

QStringList attemptTitles(bool categories) {
    return withCategory({QStringLiteral("pokus"), QStringLiteral("družstvo"),
                         QStringLiteral("dráha 1"), QStringLiteral("dráha 2"),
                         QStringLiteral("výsledek"), QStringLiteral("stav")},
                        categories, QStringLiteral("kategorie"));
}

QStringList cells(const Attempt& attempt, bool categories) {
    return withCategory({QString::number(attempt.number), attempt.team, attempt.lane1,
                         attempt.lane2, attempt.result, stateText(attempt.state)},
                        categories, attempt.category);
}

QStringList rankingTitles(bool categories) {
    return withCategory(
        {QStringLiteral("místo"), QStringLiteral("družstvo"), QStringLiteral("výsledek")},
        categories, QStringLiteral("kategorie"));
}

QStringList cells(const RankingRow& row, bool categories) {
    const QString place = row.place > 0 ? QString::number(row.place) : QString();
    return withCategory({place, row.team, row.result}, categories, row.category);
}

} // namespace TableTexts
