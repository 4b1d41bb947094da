#pragma once

#include "vysledky/Attempt.h"
#include "vysledky/desk/Decision.h"

#include <QList>

// Puts the desk's decisions on the attempts as the log made them. A decision applies only to
// the attempt of its number whose fingerprint it carries; any other is a problem and changes
// nothing. Of the decisions that apply, the last assignment names the attempt's team and the
// last of the others (invalid, valid again, dropped) sets its state: "platný" undoes the desk's
// own invalid or dropped, leaving the state the log gave. An attempt a decision applied to
// carries their summaries in Attempt::correction.
QList<LineProblem> applyDecisions(QList<Attempt>& attempts, const QList<Decision>& decisions);
