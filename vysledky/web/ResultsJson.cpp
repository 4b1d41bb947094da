#include "vysledky/web/ResultsJson.h"

#include "vysledky/LogFollower.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace ResultsJson {

namespace {
QJsonObject attemptObject(const Attempt& attempt) {
    return {{QStringLiteral("pokus"), attempt.number},
            {QStringLiteral("druzstvo"), attempt.team},
            {QStringLiteral("kategorie"), attempt.category},
            {QStringLiteral("draha1"), attempt.lane1},
            {QStringLiteral("draha2"), attempt.lane2},
            {QStringLiteral("vysledek"), attempt.result},
            {QStringLiteral("stav"), stateText(attempt.state)},
            {QStringLiteral("platny"), attempt.state == AttemptState::Valid},
            {QStringLiteral("bezJmena"), attempt.nameless},
            {QStringLiteral("oprava"), attempt.correction}};
}

// Every category of the list, even one nobody has finished in yet, then the rest.
QJsonArray categoryArray(const LogFollower& follower) {
    QStringList order = follower.startList().categories();
    for (const RankingRow& row : follower.ranking()) {
        if (!order.contains(row.category)) {
            order.append(row.category);
        }
    }
    if (order.isEmpty()) {
        order.append(QString());
    }
    QJsonArray categories;
    for (const QString& name : std::as_const(order)) {
        QJsonArray rows;
        for (const RankingRow& row : follower.ranking()) {
            if (row.category == name) {
                const QJsonValue place = row.place > 0 ? QJsonValue(row.place) : QJsonValue();
                rows.append(QJsonObject{{QStringLiteral("misto"), place},
                                        {QStringLiteral("druzstvo"), row.team},
                                        {QStringLiteral("vysledek"), row.result}});
            }
        }
        categories.append(
            QJsonObject{{QStringLiteral("nazev"), name}, {QStringLiteral("poradi"), rows}});
    }
    return categories;
}
} // namespace

QByteArray document(const LogFollower& follower) {
    const QList<Attempt>& attempts = follower.attempts();
    QJsonArray latest;
    for (qsizetype i = attempts.size() - 1; i >= 0 && latest.size() < latestAttempts; --i) {
        latest.append(attemptObject(attempts[i]));
    }
    const QJsonObject root{
        {QStringLiteral("stav"), follower.reader().troubleText(LogReader::Audience::Pages)},
        {QStringLiteral("kategorie"), categoryArray(follower)},
        {QStringLiteral("pokusu"), attempts.size()},
        {QStringLiteral("bezJmena"), follower.namelessText()},
        {QStringLiteral("pokusy"), latest}};
    QByteArray json = QJsonDocument(root).toJson(QJsonDocument::Compact);
    // These characters stand only inside strings in JSON, where the escapes mean the same.
    json.replace("<", "\\u003c").replace(">", "\\u003e").replace("&", "\\u0026");
    return json;
}

} // namespace ResultsJson
