#include "vysledky/desk/Decision.h"

namespace {
constexpr Decision::Kind kinds[] = {Decision::Kind::Assign, Decision::Kind::Invalid,
                                    Decision::Kind::Valid, Decision::Kind::Drop};
}

QString kindText(Decision::Kind kind) {
    switch (kind) {
    case Decision::Kind::Assign:
        return QStringLiteral("družstvo");
    case Decision::Kind::Invalid:
        return QStringLiteral("neplatný");
    case Decision::Kind::Valid:
        return QStringLiteral("platný");
    case Decision::Kind::Drop:
        break;
    }
    return QStringLiteral("vyřazen");
}

std::optional<Decision::Kind> kindFromText(const QString& text) {
    for (const Decision::Kind kind : kinds) {
        if (kindText(kind) == text) {
            return kind;
        }
    }
    return std::nullopt;
}

QString Decision::summary() const {
    QString what;
    switch (kind) {
    case Kind::Assign:
        what = QStringLiteral("přiřazen družstvu %1").arg(value);
        break;
    case Kind::Invalid:
        what = QStringLiteral("neplatný rozhodnutím rozhodčích");
        break;
    case Kind::Valid:
        what = QStringLiteral("znovu platný");
        break;
    case Kind::Drop:
        what = QStringLiteral("vyřazen jako zkušební");
        break;
    }
    return QStringLiteral("%1 (%2): %3").arg(what, when, reason);
}

QString LineProblem::told(const QString& fileName) const {
    return QStringLiteral("%1, řádek %2: %3; řádek se nepoužije.")
        .arg(fileName)
        .arg(line)
        .arg(text);
}
