#include "linetest/ReadTiming.h"

#include "serial/LineBackend.h"

#include <algorithm>
#include <ctime>
#include <vector>

namespace {
// An adapter that reports line changes on its own, or a built-in port, answers from memory.
constexpr double reportsItselfMs = 0.2;
// A USB control transfer per read takes about a millisecond on a full-speed adapter.
constexpr double asksOverUsbMs = 1.5;
// A single read this long delays the reading of a contact, and so its time, as much.
constexpr double slowReadMs = 5.0;

QString czech(double ms) {
    return QString::number(ms, 'f', 3).replace(QLatin1Char('.'), QLatin1Char(','));
}

QString english(double ms) {
    return QString::number(ms, 'f', 3);
}
} // namespace

std::int64_t ReadClock::nowNs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

ReadTimes timeReads(LineBackend& lines, ReadClock& clock, int count) {
    ReadTimes t;
    std::vector<std::int64_t> ns;
    ns.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const std::int64_t before = clock.nowNs();
        const bool answered = lines.modemStatus().has_value();
        ns.push_back(clock.nowNs() - before);
        t.failed += answered ? 0 : 1;
    }
    t.reads = count;
    if (ns.empty()) {
        return t;
    }
    const auto middle = ns.begin() + static_cast<std::ptrdiff_t>(ns.size() / 2);
    std::nth_element(ns.begin(), middle, ns.end());
    t.medianMs = static_cast<double>(*middle) / 1e6;
    t.maxMs = static_cast<double>(*std::max_element(ns.begin(), ns.end())) / 1e6;
    return t;
}

QString readTimesReport(const ReadTimes& t) {
    QString out =
        QStringLiteral("Čtení stavu linek (%1×): medián %2 ms, nejdelší %3 ms / "
                       "line status reads (%1): median %4 ms, longest %5 ms\n")
            .arg(t.reads)
            .arg(czech(t.medianMs), czech(t.maxMs), english(t.medianMs), english(t.maxMs));
    if (t.failed > 0) {
        return out + QStringLiteral("Nezdařená čtení: %1 z %2; port neodpovídá spolehlivě, k "
                                    "měření se nehodí. / Failed reads: %1 of %2; the port does not "
                                    "answer reliably, unsuitable for timing.\n")
                         .arg(t.failed)
                         .arg(t.reads);
    }
    if (t.medianMs <= reportsItselfMs) {
        out += QStringLiteral("Adaptér hlásí změny linek sám (nebo je to vestavěný port): k měření "
                              "se hodí výborně. / The adapter reports line changes itself (or "
                              "this is a built-in port): well suited for timing.\n");
    } else if (t.medianMs <= asksOverUsbMs) {
        out += QStringLiteral("Ovladač se adaptéru ptá po USB při každém čtení: použitelný, časy "
                              "drah jsou až asi o 1 ms méně přesné. / The driver asks the adapter "
                              "over USB on every read: usable, lane times up to about 1 ms less "
                              "exact.\n");
    } else {
        out += QStringLiteral("Čtení trvá příliš dlouho: k měření se nehodí. / Reads take too "
                              "long: unsuitable for timing.\n");
    }
    if (t.maxMs > slowReadMs) {
        out += QStringLiteral("Některé čtení trvalo přes %1 ms (vytížený počítač nebo rozbočovač "
                              "USB): o tolik se může opozdit i čas dráhy. / Some read took over %1 "
                              "ms (a busy computer or USB hub): a lane time can be late by as "
                              "much.\n")
                   .arg(slowReadMs);
    }
    return out;
}
