#pragma once

#include "desktop/Inhibition.h"

// Keeps the PC from suspending while it is held: on its idle timer, on the sleep key and when
// the lid is closed. A block lock from systemd-logind on the system bus, which lasts as long as
// the descriptor logind hands back stays open. Asks at once, waiting at most timeoutMs for the
// answer.
Inhibition inhibitSleep(const QString& who, const QString& why, int timeoutMs);
