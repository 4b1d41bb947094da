#pragma once

#include <QString>

// Why the system refused a write to the results log, in the operator's language. The usual
// causes get a Czech sentence of their own; anything else says so in Czech and quotes the
// system's own words.
QString failureReason(int systemError);
