#include "vysledky/Attempt.h"

#include <QStringList>

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
    case AttemptState::Dropped:
        return QStringLiteral("vyřazen");
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

QString Attempt::fingerprint() const {
    return QStringList{lane1, lane2, stateText(state)}.join(u'|');
}
