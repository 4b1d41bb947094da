#include "serial/Module1.h"

#include "serial/LineBackend.h"

namespace {
LineBackend* backend = nullptr;
std::int32_t handle = 0;

bool usable() {
    return backend != nullptr && handle > 0;
}

std::int16_t statusBit(std::uint32_t mask) {
    // A failed read reads as every line off.
    const std::uint32_t status = usable() ? backend->modemStatus().value_or(0) : 0;
    return (status & mask) == mask ? 1 : 0;
}
} // namespace

namespace Module1 {

std::int16_t OpenPort(const QString& name) {
    const QString device = name.left(4);
    handle = backend != nullptr ? backend->open(device) : -1;
    // Any successful open counts, whatever number the platform gave the handle.
    return handle > 0 ? 1 : 0;
}

void ClosePort() {
    if (usable()) {
        backend->close();
    }
}

void SetDtr(std::int16_t state) {
    if (usable()) {
        backend->setDtr(state == 1);
    }
}

void SetRts(std::int16_t state) {
    if (usable()) {
        backend->setRts(state == 1);
    }
}

void SetBreak(std::int16_t state) {
    if (usable()) {
        backend->setBreak(state == 1);
    }
}

std::int16_t CtsOn() {
    return statusBit(ModemStatus::CtsOn);
}
std::int16_t DsrOn() {
    return statusBit(ModemStatus::DsrOn);
}
std::int16_t DcdOn() {
    return statusBit(ModemStatus::RlsdOn);
}

std::int32_t portHandle() {
    return handle;
}

void installBackend(LineBackend* newBackend) {
    backend = newBackend;
    handle = 0;
}

} // namespace Module1
