#pragma once

#include "vysledky/desk/Decision.h"

#include <QList>
#include <QString>

// The list „Opravy“ for the judges to sign: every decision with its time, attempt, what was
// decided and why, in file order, those that do not apply marked so. Texts are escaped. Empty
// when there is no decision and no problem.
QString correctionsHtml(const QString& fileName, const QList<Decision>& decisions,
                        const QList<LineProblem>& problems);
