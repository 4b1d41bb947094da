#pragma once

#include "desktop/Inhibition.h"

#include <iosfwd>

// While the timing program is open, the PC neither suspends (idle timer, lid, sleep key) nor
// blanks its screen: the desktop's power settings give way to it until release() or the end.
// What cannot be had (no logind, no screen saver, a refusal) is said in one line each on out;
// the program runs on without it. Needs the QCoreApplication to exist.
class KeepAwake {
public:
    static inline const QString who = QStringLiteral("TAVORIN V.02");
    static inline const QString why = QStringLiteral("Probíhá měření požárního útoku");

    explicit KeepAwake(std::ostream& out, int busTimeoutMs = 250);
    void release();

private:
    Inhibition sleep_;
    Inhibition screen_;
};
