#include "vysledky/Attempt.h"

QString stateText(AttemptState state) {
    switch (state) {
    case AttemptState::Valid:
        return QStringLiteral("platný");
    case AttemptState::Disqualified:
        return QStringLiteral("diskvalifikace");
    case AttemptState::Annulled:
        return QStringLiteral("start anulován");
    case AttemptState::Stopped:
        return QStringLiteral("zastaveno");
    case AttemptState::Incomplete:
        break;
    }
    return QStringLiteral("neúplný");
}

QString teamKey(const QString& team) {
    return team.simplified().toCaseFolded();
}

QString noTeamName() {
    return QStringLiteral("(bez jména)");
}
