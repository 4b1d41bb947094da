#pragma once

#include "race/Race.h"
#include "race/ResultsLog.h"
#include "tests/support/FakeMachine.h"
#include "tests/support/FakeRaceWindow.h"

#include <QByteArray>
#include <QTemporaryDir>

// A race state that differs from the loop's entry only by the change.
template <typename Change> RaceState stateWith(Change change) {
    RaceState state;
    change(state);
    return state;
}

// The race on fake lines, clocks and window, with its log in a folder of its own: the engine
// without a widget. COM2 is open; the race starts from the given state (armed lanes and no
// start signal, as at the loop's entry, unless a test says otherwise).
class Engine : public FakeMachine {
public:
    explicit Engine(RaceState initial = {});

    FakeRaceWindow window;

private:
    QTemporaryDir dir_;

public:
    ResultsLog log;
    Race race;

    // Passes of the loop; a restart asked for in a pass starts the next one afresh.
    void passes(int count);
    // The contact closed for one read of the sampler, and the pass that acts on it.
    void pulseLine(bool FakeLines::*line);
    // The operator's action, run in the next pass's event pump.
    void during(std::function<void()> action, int passes = 1);
    QByteArray logBytes() const;
    QString logPath() const;
    // The lengths of each completed pulse of the output, in fake microseconds.
    std::vector<std::int64_t> pulseLengths(Output line) const;
};
