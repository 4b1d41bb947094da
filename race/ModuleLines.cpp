#include "race/RaceLines.h"

#include "serial/LineSampler.h"
#include "serial/Module1.h"
#include "serial/Pulses.h"

std::int16_t ModuleLines::openPort(const QString& name) {
    const std::int16_t result = Module1::OpenPort(name);
    if (result != 0) {
        sampler_.portOpened();
    }
    return result;
}

void ModuleLines::closePort() {
    sampler_.portClosing();
    Module1::ClosePort();
}

LineSnapshot ModuleLines::snapshot() {
    return sampler_.snapshot();
}

void ModuleLines::setBreak(std::int16_t state) {
    Module1::SetBreak(state);
}

void ModuleLines::setDtr(std::int16_t state) {
    Module1::SetDtr(state);
}

void ModuleLines::setRts(std::int16_t state) {
    Module1::SetRts(state);
}

void ModuleLines::startPulse() {
    StartPulse();
}

void ModuleLines::stopPulse() {
    StopPulse();
}

void ModuleLines::resetPulse() {
    ResetPulse();
}
