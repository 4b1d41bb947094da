#pragma once

#include "race/ResultsLog.h"
#include "tests/support/FakeMachine.h"
#include "tests/support/MessageAnswerer.h"
#include "tests/support/Printers.h"
#include "window/Form1.h"
#include "window/ProgramEnd.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <memory>

class QAbstractButton;

class FakeEnd final : public ProgramEnd {
public:
    void endProgram() override { ++calls; }
    int calls = 0;
};

// The program's window on fake lines and clocks, in a folder of its own for ZAVOD.TXT: each
// make() starts the program afresh, with a log, a race and a window of its own, as main does.
// The real StartTimer is held back; a test lets it tick with tickIfDue().
class Rig : public FakeMachine {
public:
    Rig();
    ~Rig();

    FakeEnd end;
    MessageAnswerer messages;

    // A new window, not yet loaded; its StartTimer held back unless asked for as built.
    enum class Timer { HeldBack, AsBuilt };
    Form1& make(Timer timer = Timer::HeldBack);
    // A new window, loaded and shown, its polling loop entered as the first tick would.
    Form1& start();
    Form1& form() { return program_->form; }
    const RaceState& state() const { return program_->form.state(); }

    // Runs passes of the loop; a restart asked for in a pass starts the next one afresh.
    void passes(int count);
    // Queues the tick of StartTimer, if it is enabled, for the next event pump.
    void tickIfDue();
    // StartTimer's tick, handled now.
    static void tick(Form1& form);
    // Queues a click of the button for the next event pump, as the operator's click would.
    static void click(QAbstractButton* button);

    QString logPath() const;
    QByteArray log() const;
    void writeLog(const QByteArray& bytes) const;

private:
    QTemporaryDir dir_;
    QString oldDir_;
    // One run of the program: what main builds above the machine.
    struct Program {
        explicit Program(Rig& rig);
        ResultsLog log;
        Race race;
        Form1 form;
    };
    std::unique_ptr<Program> program_;
};
