#include "bench/Figures.h"

#include <algorithm>
#include <cmath>

double percentile(std::vector<double> samples, double p) {
    if (samples.empty()) {
        return 0.0;
    }
    std::sort(samples.begin(), samples.end());
    const auto rank = static_cast<std::size_t>(std::ceil(p / 100.0 * samples.size()));
    return samples[std::clamp<std::size_t>(rank, 1, samples.size()) - 1];
}

double maximum(const std::vector<double>& samples) {
    return samples.empty() ? 0.0 : *std::max_element(samples.begin(), samples.end());
}

namespace {
// Which runs show a figure.
enum class Shown { Always, OnDisplay, WithStall, WithListener };

struct Row {
    const char* key;
    const char* label;
    double Figures::*value;
    int decimals;
    Shown shown = Shown::Always;
};

// One list for the table and the JSON object, so the two always agree.
const Row rows[] = {
    {"pass_p50_ms", "pass period p50 (ms)", &Figures::passP50Ms, 3},
    {"pass_p99_ms", "pass period p99 (ms)", &Figures::passP99Ms, 3},
    {"pass_max_ms", "pass period max (ms)", &Figures::passMaxMs, 3},
    {"pass_work_p50_us", "pass work p50 (us)", &Figures::passWorkP50Us, 1},
    {"pass_work_p99_us", "pass work p99 (us)", &Figures::passWorkP99Us, 1},
    {"reads_per_s", "port reads per second", &Figures::readsPerS, 0},
    {"lane_err_p50_ms", "lane time error p50 (ms)", &Figures::laneErrP50Ms, 3},
    {"lane_err_p99_ms", "lane time error p99 (ms)", &Figures::laneErrP99Ms, 3},
    {"lane_err_max_ms", "lane time error max (ms)", &Figures::laneErrMaxMs, 3},
    {"machine_wake_p99_ms", "machine wake-up lateness p99 (ms)", &Figures::machineWakeP99Ms, 3},
    {"machine_wake_max_ms", "machine wake-up lateness max (ms)", &Figures::machineWakeMaxMs, 3},
    {"lane_lag_p99_ms", "target seen after closing p99 (ms)", &Figures::laneLagP99Ms, 3},
    {"lane_lag_max_ms", "target seen after closing max (ms)", &Figures::laneLagMaxMs, 3},
    {"start_lag_max_ms", "start seen after closing max (ms)", &Figures::startLagMaxMs, 3},
    {"pulse_mean_dev_ms", "pulse mean deviation (ms)", &Figures::pulseMeanDevMs, 4},
    {"pulse_max_dev_ms", "pulse max deviation (ms)", &Figures::pulseMaxDevMs, 4},
    {"cpu_idle_pct", "CPU idle (% of a core)", &Figures::cpuIdlePct, 2},
    {"cpu_race_pct", "CPU race (% of a core)", &Figures::cpuRacePct, 2},
    {"cpu_pulse_pct", "CPU during pulses (% of a core)", &Figures::cpuPulsePct, 2},
    {"cpu_idle_display_pct", "CPU idle with X server (% of a core)", &Figures::cpuIdleDisplayPct, 2,
     Shown::OnDisplay},
    {"cpu_race_display_pct", "CPU race with X server (% of a core)", &Figures::cpuRaceDisplayPct, 2,
     Shown::OnDisplay},
    {"rss_peak_mb", "peak resident memory (MB)", &Figures::rssPeakMb, 1},
    {"startup_ms", "start-up to first pass (ms)", &Figures::startupMs, 1},
    {"flush_lag_p99_ms", "record written to flushed p99 (ms)", &Figures::flushLagP99Ms, 1},
    {"stall_records", "records after the hung read", &Figures::stallRecords, 0, Shown::WithStall},
    {"stall_starts", "start pulses after the hung read", &Figures::stallStarts, 0,
     Shown::WithStall},
    {"signals_heard", "run changes the reader heard", &Figures::signalsHeard, 0,
     Shown::WithListener},
};

bool shown(const Row& row, const Figures& f) {
    switch (row.shown) {
    case Shown::Always:
        return true;
    case Shown::OnDisplay:
        return f.display;
    case Shown::WithStall:
        return f.stallMs > 0;
    case Shown::WithListener:
        return f.listener;
    }
    return true;
}
} // namespace

QString figuresTable(const Figures& f) {
    QString out;
    for (const Row& row : rows) {
        if (!shown(row, f)) {
            continue;
        }
        out += QStringLiteral("%1 %2\n")
                   .arg(QString::fromLatin1(row.label), -36)
                   .arg(f.*row.value, 10, 'f', row.decimals);
    }
    out += QStringLiteral("(%1 passes, %2 lane closures, %3 pulses, %4 start-ups; adapter: %5, "
                          "real-time: %6, busy processes beside it: %7, slow disk: %8 ms, "
                          "hung read: %9 ms)\n")
               .arg(f.passes)
               .arg(f.closures)
               .arg(f.pulses)
               .arg(f.startups)
               .arg(f.adapter, f.realtime)
               .arg(f.load)
               .arg(f.slowDiskMs)
               .arg(f.stallMs);
    return out;
}

QString figuresJson(const Figures& f) {
    QString out = QStringLiteral("{");
    bool first = true;
    for (const Row& row : rows) {
        if (!shown(row, f)) {
            continue;
        }
        out += QStringLiteral("%1\"%2\": %3")
                   .arg(first ? QString() : QStringLiteral(", "), QString::fromLatin1(row.key))
                   .arg(f.*row.value, 0, 'f', row.decimals);
        first = false;
    }
    out += QStringLiteral(
               ", \"adapter\": \"%1\", \"realtime\": \"%2\", \"load\": %3, \"slow_disk_ms\": %4, "
               "\"stall_ms\": %5, \"listener\": %6}\n")
               .arg(f.adapter, f.realtime)
               .arg(f.load)
               .arg(f.slowDiskMs)
               .arg(f.stallMs)
               .arg(f.listener ? QStringLiteral("true") : QStringLiteral("false"));
    return out;
}
