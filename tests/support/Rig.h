#pragma once

#include "tests/support/FakeMachine.h"
#include "tests/support/MessageAnswerer.h"
#include "tests/support/Printers.h"
#include "window/Form1.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <memory>

class QAbstractButton;

// The program's window on fake lines and clocks, in a folder of its own for ZAVOD.TXT.
// The real StartTimer is held back; a test lets it tick with tickIfDue().
class Rig : public FakeMachine {
public:
    Rig();
    ~Rig();
    Rig(const Rig&) = delete;
    Rig& operator=(const Rig&) = delete;

    FakeEnd end;
    MessageAnswerer messages;

    Platform platform();

    // A new window, not yet loaded.
    Form1& make();
    // A new window, loaded and shown, its polling loop entered as the first tick would.
    Form1& start();
    Form1& form() { return *form_; }
    const RaceState& state() const { return form_->state(); }

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
    std::unique_ptr<Form1> form_;
};
