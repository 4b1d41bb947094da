#pragma once

#include "serial/LineSnapshot.h"

#include <QString>
#include <cstdint>

class LineSampler;
class Module1;
class Pulses;

// The serial port as the race uses it: the port itself, the three contacts as the line sampler
// last read them and the three outputs that drive the external stopwatches. Each pulse holds
// its output up for 1000 ms, and nothing else happens meanwhile.
class RaceLines {
public:
    virtual ~RaceLines() = default;

    // 0 when the port could not be opened, otherwise a non-zero value.
    virtual std::int16_t openPort(const QString& name) = 0;
    virtual void closePort() = 0;

    // The latest reading of the start contact (DCD), lane 1's target (CTS) and lane 2's (DSR),
    // with the millisecond at which each closure was first seen. Never waits for a read.
    virtual LineSnapshot snapshot() = 0;

    virtual void setBreak(bool on) = 0;
    virtual void setDtr(bool on) = 0;
    virtual void setRts(bool on) = 0;

    virtual void startPulse() = 0; // break of the transmit line
    virtual void stopPulse() = 0;  // DTR
    virtual void resetPulse() = 0; // RTS
};

// The program's lines: the port module, its pulses and the line sampler that reads its inputs.
class ModuleLines final : public RaceLines {
public:
    ModuleLines(Module1& port, Pulses& pulses, LineSampler& sampler)
        : port_(port), pulses_(pulses), sampler_(sampler) {}

    std::int16_t openPort(const QString& name) override;
    void closePort() override;
    LineSnapshot snapshot() override;
    void setBreak(bool on) override;
    void setDtr(bool on) override;
    void setRts(bool on) override;
    void startPulse() override;
    void stopPulse() override;
    void resetPulse() override;

private:
    Module1& port_;
    Pulses& pulses_;
    LineSampler& sampler_;
};
