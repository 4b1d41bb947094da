#include "race/RaceLines.h"

#include "serial/Module1.h"
#include "serial/Pulses.h"

std::int16_t ModuleLines::openPort(const QString& name) {
    return Module1::OpenPort(name);
}

void ModuleLines::closePort() {
    Module1::ClosePort();
}

std::int16_t ModuleLines::startContact() {
    return Module1::DcdOn();
}

std::int16_t ModuleLines::lane1Target() {
    return Module1::CtsOn();
}

std::int16_t ModuleLines::lane2Target() {
    return Module1::DsrOn();
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
