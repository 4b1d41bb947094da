#include "tests/serial/FakeModemLines.h"

#include <dlfcn.h>
#include <sys/ioctl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdarg>
#include <mutex>
#include <vector>

namespace {

struct Lines {
    std::mutex mutex;
    bool attached = false;
    dev_t device = 0;
    int inputs = 0;
    int outputs = 0;
    std::vector<fake_modem_call> calls;
};

// Never destroyed: ioctl() may still be called while the process exits.
Lines& lines() {
    static auto* const instance = new Lines;
    return *instance;
}

bool isModemRequest(unsigned long request) {
    switch (request) {
    case TIOCMGET:
    case TIOCMBIS:
    case TIOCMBIC:
    case TIOCMSET:
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
    constexpr int outputLines = TIOCM_DTR | TIOCM_RTS;
    const bool takesBits = request != TIOCSBRK && request != TIOCCBRK;
    if (takesBits && value == nullptr) {
        errno = EFAULT;
        return -1;
    }
    switch (request) {
    case TIOCMGET:
        *value = state.inputs | (state.outputs & outputLines);
        break;
    case TIOCMBIS:
        state.outputs |= *value;
        break;
    case TIOCMBIC:
        state.outputs &= ~*value;
        break;
    case TIOCMSET:
        state.outputs = (state.outputs & FAKE_MODEM_LINES_BREAK) | *value;
        break;
    case TIOCSBRK:
        state.outputs |= FAKE_MODEM_LINES_BREAK;
        break;
    case TIOCCBRK:
        state.outputs &= ~FAKE_MODEM_LINES_BREAK;
        break;
    }
    state.calls.push_back({request, takesBits ? *value : 0});
    return 0;
}

} // namespace

extern "C" {

void fake_modem_lines_attach(dev_t device) {
    Lines& state = lines();
    const std::lock_guard lock(state.mutex);
    state.attached = true;
    state.device = device;
    state.inputs = 0;
    state.outputs = 0;
    state.calls.clear();
}

void fake_modem_lines_detach(void) {
    Lines& state = lines();
    const std::lock_guard lock(state.mutex);
    state.attached = false;
}

void fake_modem_lines_set_inputs(int tiocm_bits) {
    Lines& state = lines();
    const std::lock_guard lock(state.mutex);
    state.inputs = tiocm_bits;
}

int fake_modem_lines_outputs(void) {
    Lines& state = lines();
    const std::lock_guard lock(state.mutex);
    return state.outputs;
}

int fake_modem_lines_calls(struct fake_modem_call* calls, int max) {
    Lines& state = lines();
    const std::lock_guard lock(state.mutex);
    const auto count = static_cast<int>(state.calls.size());
    std::copy_n(state.calls.begin(), std::clamp(max, 0, count), calls);
    return count;
}

// glibc's prototype; the third argument, when there is one, is always a pointer for the
// requests answered here and is passed on as it came for the rest.
int ioctl(int fd, unsigned long request, ...) noexcept {
    va_list args;
    va_start(args, request);
    void* const argument = va_arg(args, void*);
    va_end(args);
    if (isModemRequest(request)) {
        Lines& state = lines();
        const std::lock_guard lock(state.mutex);
        if (isAttachedDevice(state, fd)) {
            return answer(state, request, static_cast<int*>(argument));
        }
    }
    using Ioctl = int (*)(int, unsigned long, ...);
    static const auto real = reinterpret_cast<Ioctl>(::dlsym(RTLD_NEXT, "ioctl"));
    return real(fd, request, argument);
}

} // extern "C"
