#include "vysledky/desk/ApplyDecisions.h"

#include <vector>

QList<LineProblem> applyDecisions(QList<Attempt>& attempts, const QList<Decision>& decisions) {
    QList<LineProblem> problems;
    // The winning decisions of each attempt, checked against the attempt as the log made it.
    std::vector<const Decision*> team(attempts.size(), nullptr);
    std::vector<const Decision*> state(attempts.size(), nullptr);
    std::vector<QStringList> summaries(attempts.size());
    for (const Decision& decision : decisions) {
        const qsizetype index = decision.attempt - 1;
        if (index < 0 || index >= attempts.size()) {
            problems.append(
                {decision.line, QStringLiteral("pokus %1 v záznamu není").arg(decision.attempt)});
            continue;
        }
        const QString actual = attempts[index].fingerprint();
        if (actual != decision.fingerprint) {
            problems.append({decision.line, QStringLiteral("pokus %1 je v záznamu jiný "
                                                           "(otisk %2, v záznamu %3)")
                                                .arg(decision.attempt)
                                                .arg(decision.fingerprint, actual)});
            continue;
        }
        (decision.kind == Decision::Kind::Assign ? team : state)[index] = &decision;
        summaries[index].append(decision.summary());
    }
    for (qsizetype i = 0; i < attempts.size(); ++i) {
        Attempt& attempt = attempts[i];
        if (team[i]) {
            attempt.team = team[i]->value;
            attempt.nameless = false;
        }
        if (state[i] && state[i]->kind == Decision::Kind::Invalid) {
            attempt.state = AttemptState::Disqualified;
        } else if (state[i] && state[i]->kind == Decision::Kind::Drop) {
            attempt.state = AttemptState::Dropped;
        }
        attempt.correction = summaries[i].join(u'\n');
    }
    return problems;
}
