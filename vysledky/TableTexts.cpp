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

QString correctedMark() {
    return QStringLiteral(" (opraveno)");
}

QStringList attemptTitles(bool categories) {
    return withCategory({QStringLiteral("pokus"), QStringLiteral("družstvo"),
                         QStringLiteral("dráha 1"), QStringLiteral("dráha 2"),
                         QStringLiteral("výsledek"), QStringLiteral("stav")},
                        categories, QStringLiteral("kategorie"));
}

QStringList cells(const Attempt& attempt, bool categories) {
    const QString state = attempt.correction.isEmpty() ? stateText(attempt.state)
                                                       : stateText(attempt.state) + correctedMark();
    return withCategory({QString::number(attempt.number), attempt.team, attempt.lane1,
                         attempt.lane2, attempt.result, state},
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
