#include "tests/serial/FakeModemLines.h"

#include <dlfcn.h>
#include <sys/ioctl.h>
#include <sys/stat.h>

#include <cstdarg>
#include <mutex>
#include <optional>

namespace {

struct Lines {
    bool attached = false;
    dev_t device = 0;
    int inputs = 0;
    int outputs = 0;
    int requests = 0;
};

// Never destroyed: ioctl() may still be called while the process exits.
struct Shared {
    std::mutex mutex;
    Lines lines;
};
Shared& shared() {
    static auto* const instance = new Shared;
    return *instance;
}

// Runs the change or the look under the lock.
template <typename Use> auto locked(Use use) {
    Shared& state = shared();
    const std::lock_guard lock(state.mutex);
    return use(state.lines);
}

bool isModemRequest(unsigned long request) {
    switch (request) {
    case TIOCMGET:
    case TIOCMBIS:
    case TIOCMBIC:
    case TIOCSBRK:
    case TIOCCBRK:
        return true;
    default:
        return false;
    }
}

bool isAttachedDevice(const Lines& state, int fd) {
    struct stat status {};
    return state.attached && ::fstat(fd, &status) == 0 && S_ISCHR(status.st_mode) &&
           status.st_rdev == state.device;
}

// The driver's answer to a modem request on the attached device.
int answer(Lines& state, unsigned long request, int* value) {
    switch (request) {
    case TIOCMGET:
        *value = state.inputs | (state.outputs & (TIOCM_DTR | TIOCM_RTS));
        break;
    case TIOCMBIS:
        state.outputs |= *value;
        break;
    case TIOCMBIC:
        state.outputs &= ~*value;
        break;
    case TIOCSBRK:
        state.outputs |= FakeModemLines::breakBit;
        break;
    case TIOCCBRK:
        state.outputs &= ~FakeModemLines::breakBit;
        break;
    }
    ++state.requests;
    return 0;
}

} // namespace

void FakeModemLines::attach(dev_t device) {
    locked([device](Lines& state) { state = {.attached = true, .device = device}; });
}

void FakeModemLines::detach() {
    locked([](Lines& state) { state.attached = false; });
}

void FakeModemLines::setInputs(int tiocmBits) {
    locked([tiocmBits](Lines& state) { state.inputs = tiocmBits; });
}

int FakeModemLines::outputs() {
    return locked([](const Lines& state) { return state.outputs; });
}

int FakeModemLines::requests() {
    return locked([](const Lines& state) { return state.requests; });
}

// glibc's prototype; the third argument, when there is one, is always a pointer for the
// requests answered here and is passed on as it came for the rest.
extern "C" int ioctl(int fd, unsigned long request, ...) noexcept {
    va_list args;
    va_start(args, request);
    void* const argument = va_arg(args, void*);
    va_end(args);
    if (isModemRequest(request)) {
        const std::optional<int> answered = locked([&](Lines& state) -> std::optional<int> {
            if (!isAttachedDevice(state, fd)) {
                return std::nullopt;
            }
            return answer(state, request, static_cast<int*>(argument));
        });
        if (answered) {
            return *answered;
        }
    }
    using Ioctl = int (*)(int, unsigned long, ...);
    static const auto real = reinterpret_cast<Ioctl>(::dlsym(RTLD_NEXT, "ioctl"));
    return real(fd, request, argument);
}
