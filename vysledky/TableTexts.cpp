#include "vysledky/TableTexts.h"

namespace TableTexts {

QStringList attemptTitles() {
    return {QStringLiteral("pokus"),   QStringLiteral("družstvo"), QStringLiteral("dráha 1"),
            QStringLiteral("dráha 2"), QStringLiteral("výsledek"), QStringLiteral("stav")};
}

QStringList cells(const Attempt& attempt) {
    return {
        QString::number(attempt.number), attempt.team, attempt.lane1, attempt.lane2, attempt.result,
        stateText(attempt.state)};
}

QStringList rankingTitles() {
    return {QStringLiteral("místo"), QStringLiteral("družstvo"), QStringLiteral("výsledek")};
}

QStringList cells(const RankingRow& row) {
    return {QString::number(row.place), row.team, row.result};
}

} // namespace TableTexts
