#include "serial/Module1.h"

#include "serial/LineBackend.h"

std::int16_t Module1::statusBit(std::uint32_t mask) {
    // A failed read reads as every line off.
    const std::uint32_t status = usable() ? backend_.modemStatus().value_or(0) : 0;
    return (status & mask) == mask ? 1 : 0;
}

std::int16_t Module1::OpenPort(const QString& name) {
    portHandle_ = backend_.open(name.left(4));
    // Any successful open counts, whatever number the platform gave the handle.
    return portHandle_ > 0 ? 1 : 0;
}

void Module1::ClosePort() {
    if (usable()) {
        backend_.close();
    }
}

void Module1::SetDtr(std::int16_t state) {
    if (usable()) {
        backend_.setDtr(state == 1);
    }
}

void Module1::SetRts(std::int16_t state) {
    if (usable()) {
        backend_.setRts(state == 1);
    }
}

void Module1::SetBreak(std::int16_t state) {
    if (usable()) {
        backend_.setBreak(state == 1);
    }
}

std::int16_t Module1::CtsOn() {
    return statusBit(ModemStatus::CtsOn);
}

std::int16_t Module1::DsrOn() {
    return statusBit(ModemStatus::DsrOn);
}

std::int16_t Module1::DcdOn() {
    return statusBit(ModemStatus::RlsdOn);
}
