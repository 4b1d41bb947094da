#pragma once

#include "serial/LineBackend.h"
#include "tests/support/FakeTime.h"

#include <QSet>
#include <QString>

#include <functional>
#include <vector>

enum class Output { Dtr, Rts, Break };
enum class Input { Cts, Dsr, Dcd };

// A serial port that exists only in the test: which names open, the levels of its three
// inputs, and a record of every call with the fake time at which it came.
class FakeLines final : public LineBackend {
public:
    explicit FakeLines(FakeTime& time) : time_(time) {}

    // Ports that open; a name not listed is missing. A busy port is held by another program.
    QSet<QString> present{QStringLiteral("COM1"), QStringLiteral("COM2")};
    QSet<QString> busy;
    // The open port's device is gone (a USB adapter pulled out): every call on its handle
    // fails, so the inputs read as off and the outputs do not move. Closing the handle ends it.
    bool unplugged = false;

    // Input levels, or a script that answers for each line at each read (its number counts
    // from 0).
    bool cts = false;
    bool dsr = false;
    bool dcd = false;
    std::function<bool(Input line, int read)> script;
    // Runs first in every read, on the reading thread: where a read can be made to hang.
    std::function<void()> duringRead;

    struct Transition {
        Output line;
        bool on;
        std::int64_t us;
        bool operator==(const Transition&) const = default;
    };
    std::vector<QString> opens; // every open asked for, in order
    int closes = 0;
    std::vector<Transition> outputs;
    std::function<void(const Transition&)> onOutput; // runs at every output change
    std::vector<std::int64_t> reads;                 // the fake time of every read of the inputs
    QString openPort;                                // empty while closed

    bool level(Output line) const;
    // Whole pulses of one output: (raised at, dropped at) in fake microseconds.
    std::vector<std::pair<std::int64_t, std::int64_t>> pulses(Output line) const;
    void forget(); // clears the records, not the levels

    std::int32_t open(const QString& portName) override;
    void close() override;
    void setDtr(bool on) override { set(Output::Dtr, on); }
    void setRts(bool on) override { set(Output::Rts, on); }
    void setBreak(bool on) override { set(Output::Break, on); }
    std::optional<std::uint32_t> modemStatus() override;

private:
    void set(Output line, bool on);
    FakeTime& time_;
    bool levels_[3] = {false, false, false};
};
