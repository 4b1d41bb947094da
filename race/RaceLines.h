#pragma once

#include <QString>
#include <cstdint>

// The serial port as the race uses it: the port itself, the three contacts it samples and the
// three outputs that drive the external stopwatches. Each reading is a fresh sample; each
// pulse holds its output up for 1000 ms, and nothing else happens meanwhile.
class RaceLines {
public:
    virtual ~RaceLines() = default;

    // 0 when the port could not be opened, otherwise a non-zero value.
    virtual std::int16_t openPort(const QString& name) = 0;
    virtual void closePort() = 0;

    // 1 when closed, else 0.
    virtual std::int16_t startContact() = 0; // DCD, the referee's start
    virtual std::int16_t lane1Target() = 0;  // CTS
    virtual std::int16_t lane2Target() = 0;  // DSR

    virtual void setBreak(std::int16_t state) = 0;
    virtual void setDtr(std::int16_t state) = 0;
    virtual void setRts(std::int16_t state) = 0;

    virtual void startPulse() = 0; // break of the transmit line
    virtual void stopPulse() = 0;  // DTR
    virtual void resetPulse() = 0; // RTS
};

// The program's lines: the port module and its pulses.
class ModuleLines final : public RaceLines {
public:
    std::int16_t openPort(const QString& name) override;
    void closePort() override;
    std::int16_t startContact() override;
    std::int16_t lane1Target() override;
    std::int16_t lane2Target() override;
    void setBreak(std::int16_t state) override;
    void setDtr(std::int16_t state) override;
    void setRts(std::int16_t state) override;
    void startPulse() override;
    void stopPulse() override;
    void resetPulse() override;
};
