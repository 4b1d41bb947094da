#pragma once

#include "bench/ScheduledLines.h"

#include <QString>

#include <atomic>
#include <cstdint>
#include <optional>

// How the port's modem status reaches the program at the track.
enum class Adapter {
    Uart,         // a built-in port: the read answers at once with the lines as they are
    UsbControl,   // the driver asks the adapter over USB on every read (ftdi_sio, cp210x)
    UsbInterrupt, // the driver answers from the adapter's last report (pl2303, ch341)
};

// "uart", "usb-control", "usb-interrupt"; nothing for another name.
std::optional<Adapter> adapterNamed(const QString& name);
const char* adapterName(Adapter adapter);

// The scheduled contacts as the program reads them through one kind of adapter; the outputs
// are the scheduled lines' own. Reads come from the line sampler's thread.
class AdapterModel final : public ScheduledLines {
public:
    static constexpr std::int64_t reportPeriodNs = 1'000'000;

    // readUs: how long a USB control transfer blocks the reading thread.
    AdapterModel(Adapter adapter, int readUs);

    // Modem-status reads so far, from any thread.
    std::uint64_t reads() const { return reads_.load(std::memory_order_relaxed); }

    // The first read asked for at or after atNs hangs for hangNs and then fails, once: a USB
    // control transfer that times out (a flaky cable, an unpowered hub, a USB reset).
    void hangOneReadAt(std::int64_t atNs, std::int64_t hangNs);
    // When the hung read came back; -1 before.
    std::int64_t hangEndedNs() const { return hangEndedNs_.load(); }

    std::optional<std::uint32_t> modemStatus() override;

private:
    const Adapter adapter_;
    const std::int64_t readNs_;
    // The adapter reports on a clock of its own: an arbitrary phase against the sampler's.
    const std::int64_t reportPhaseNs_;
    std::atomic<std::uint64_t> reads_{0};
    std::atomic<std::int64_t> hangAtNs_{-1};
    std::atomic<std::int64_t> hangNs_{0};
    std::atomic<std::int64_t> hangEndedNs_{-1};
};
