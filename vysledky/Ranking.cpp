#include "vysledky/Ranking.h"

#include <QHash>

#include <algorithm>

namespace {
struct TeamBest {
    QString team;
    QString result;
    int resultMillis = -1;
};

bool ranked(const Attempt& attempt) {
    return !attempt.nameless && attempt.state != AttemptState::Dropped;
}
} // namespace

QString noResultText() {
    return QStringLiteral("NP");
}

QList<RankingRow> rankTeams(const QList<Attempt>& attempts) {
    QHash<QString, qsizetype> teamIndex; // teamKey -> index in teams
    QList<TeamBest> teams;               // in the order of their first attempt
    for (const Attempt& attempt : attempts) {
        if (!ranked(attempt)) {
            continue;
        }
        const QString key = teamKey(attempt.team);
        auto found = teamIndex.constFind(key);
        if (found == teamIndex.cend()) {
            found = teamIndex.insert(key, teams.size());
            teams.append({attempt.team, {}, -1});
        }
        TeamBest& best = teams[*found];
        if (attempt.state == AttemptState::Valid &&
            (best.resultMillis < 0 || attempt.resultMillis < best.resultMillis)) {
            best.result = attempt.result;
            best.resultMillis = attempt.resultMillis;
        }
    }

    // Stable: the teams are already in the order of their first attempt.
    const auto timed = [](const TeamBest& best) { return best.resultMillis >= 0; };
    const auto unranked = std::stable_partition(teams.begin(), teams.end(), timed);
    std::stable_sort(teams.begin(), unranked, [](const TeamBest& a, const TeamBest& b) {
        return a.resultMillis < b.resultMillis;
    });

    QList<RankingRow> rows;
    rows.reserve(teams.size());
    for (qsizetype i = 0; i < teams.size(); ++i) {
        const TeamBest& best = teams[i];
        if (best.resultMillis < 0) {
            rows.append({0, best.team, noResultText(), -1, {}});
            continue;
        }
        const bool tied = i > 0 && best.resultMillis == rows.last().resultMillis;
        const int place = tied ? rows.last().place : static_cast<int>(i) + 1;
        rows.append({place, best.team, best.result, best.resultMillis, {}});
    }
    return rows;
}

QList<RankingRow> rankByCategory(const QList<Attempt>& attempts, const QStringList& categories) {
    QStringList order = categories;
    QHash<QString, QList<Attempt>> byCategory;
    for (const Attempt& attempt : attempts) {
        if (!order.contains(attempt.category)) {
            order.append(attempt.category);
        }
        byCategory[attempt.category].append(attempt);
    }
    QList<RankingRow> rows;
    for (const QString& category : std::as_const(order)) {
        for (RankingRow row : rankTeams(byCategory.value(category))) {
            row.category = category;
            rows.append(row);
        }
    }
    return rows;
}

int namelessCount(const QList<Attempt>& attempts) {
    return static_cast<int>(std::count_if(attempts.cbegin(), attempts.cend(), [](const Attempt& a) {
        return a.nameless && a.state != AttemptState::Dropped;
    }));
}

// Czech counts: 1 pokus, 2 to 4 pokusy, 5 and more pokusů.
QString namelessText(int count) {
    if (count <= 0) {
        return {};
    }
    if (count == 1) {
        return QStringLiteral("1 pokus bez jména – přiřaďte ho družstvu");
    }
    return QStringLiteral("%1 %2 bez jména – přiřaďte je družstvu")
        .arg(count)
        .arg(count <= 4 ? QStringLiteral("pokusy") : QStringLiteral("pokusů"));
}
