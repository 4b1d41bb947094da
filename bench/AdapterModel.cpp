#include "bench/AdapterModel.h"

#include "bench/ProcessClock.h"
#include "serial/Pause.h"

namespace {
struct Named {
    Adapter adapter;
    const char* name;
};
constexpr Named names[] = {
    {Adapter::Uart, "uart"},
    {Adapter::UsbControl, "usb-control"},
    {Adapter::UsbInterrupt, "usb-interrupt"},
};
} // namespace

std::optional<Adapter> adapterNamed(const QString& name) {
    for (const Named& n : names) {
        if (name == QLatin1String(n.name)) {
            return n.adapter;
        }
    }
    return std::nullopt;
}

const char* adapterName(Adapter adapter) {
    for (const Named& n : names) {
        if (n.adapter == adapter) {
            return n.name;
        }
    }
    return "?";
}

AdapterModel::AdapterModel(Adapter adapter, int readUs)
    : adapter_(adapter), readNs_(static_cast<std::int64_t>(readUs) * 1000),
      reportPhaseNs_(ProcessClock::monotonicNs() % reportPeriodNs) {}

void AdapterModel::hangOneReadAt(std::int64_t atNs, std::int64_t hangNs) {
    hangNs_.store(hangNs);
    hangEndedNs_.store(-1);
    hangAtNs_.store(atNs); // last: a read that sees it sees the rest
}

std::optional<std::uint32_t> AdapterModel::modemStatus() {
    reads_.fetch_add(1, std::memory_order_relaxed);
    const std::int64_t asked = ProcessClock::monotonicNs();
    if (std::int64_t at = hangAtNs_.load();
        at >= 0 && asked >= at && hangAtNs_.compare_exchange_strong(at, -1)) {
        sleepMonotonic(hangNs_.load());
        hangEndedNs_.store(ProcessClock::monotonicNs());
        return std::nullopt;
    }
    switch (adapter_) {
    case Adapter::Uart:
        return statusAt(asked, asked);
    case Adapter::UsbControl:
        // The transfer blocks the thread in the kernel; the adapter samples its lines about
        // halfway through it.
        sleepMonotonic(readNs_);
        return statusAt(asked + readNs_ / 2, ProcessClock::monotonicNs());
    case Adapter::UsbInterrupt: {
        const std::int64_t sinceReport = (asked - reportPhaseNs_) % reportPeriodNs;
        return statusAt(asked - sinceReport, asked);
    }
    }
    return std::nullopt;
}
