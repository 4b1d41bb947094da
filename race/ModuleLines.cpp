#include "race/RaceLines.h"

#include "serial/LineSampler.h"
#include "serial/Module1.h"
#include "serial/Pulses.h"

std::int16_t ModuleLines::openPort(const QString& name) {
    const std::int16_t result = port_.OpenPort(name);
    if (result != 0) {
        sampler_.portOpened();
    }
    return result;
}

void ModuleLines::closePort() {
    sampler_.portClosing();
    port_.ClosePort();
}

LineSnapshot ModuleLines::snapshot() {
    return sampler_.snapshot();
}

void ModuleLines::setBreak(bool on) {
    port_.SetBreak(on ? 1 : 0);
}

void ModuleLines::setDtr(bool on) {
    port_.SetDtr(on ? 1 : 0);
}

void ModuleLines::setRts(bool on) {
    port_.SetRts(on ? 1 : 0);
}

void ModuleLines::startPulse() {
    pulses_.StartPulse();
}

void ModuleLines::stopPulse() {
    pulses_.StopPulse();
}

void ModuleLines::resetPulse() {
    pulses_.ResetPulse();
}
