#include "linetest/LineCheck.h"

#include "linetest/ReadTiming.h"
#include "serial/LineSampler.h"
#include "serial/MillisClock.h"
#include "serial/Module1.h"
#include "serial/Pause.h"
#include "serial/Pulses.h"

#include <QFileInfo>

namespace {

// In the order and with the captions of the timing window's check boxes.
struct Input {
    const char* name;
    Contact contact;
};
const Input inputs[] = {
    {"rozhodčí / start contact", Contact::Start},
    {"dráha č.1 / lane 1", Contact::Lane1},
    {"dráha č.2 / lane 2", Contact::Lane2},
};

struct PulseKey {
    char key;
    const char* name;
    const char* lineCs;
    const char* lineEn;
    void (Pulses::*send)();
};
const PulseKey pulseKeys[] = {
    {'s', "start", "přerušení vysílání (TxD)", "transmit break (TxD)", &Pulses::StartPulse},
    {'z', "stop", "DTR", "DTR", &Pulses::StopPulse},
    {'r', "reset", "RTS", "RTS", &Pulses::ResetPulse},
};

const PulseKey* pulseFor(int key) {
    for (const PulseKey& pulse : pulseKeys) {
        if (key == pulse.key || key == pulse.key - 'a' + 'A') {
            return &pulse;
        }
    }
    return nullptr;
}

} // namespace

LineCheck::LineCheck(LineBackend& lines, Module1& port, Pulses& pulses, Pause& pause,
                     ReadClock& readClock, LineSampler& sampler, MillisClock& clock, Clock now,
                     std::ostream& out)
    : lines_(lines), sampler_(sampler), clock_(clock), port_(port), pulses_(pulses), pause_(pause),
      readClock_(readClock), now_(std::move(now)), out_(out) {}

LineCheck::~LineCheck() {
    sampler_.portClosing(); // never waits for a read that hangs
    port_.SetDtr(0);
    port_.SetRts(0);
    port_.SetBreak(0);
    port_.ClosePort();
}

QString LineCheck::open(const QString& portName, const DeviceNames& names) {
    const QString device = names.devicePath(portName);
    const QString port = QStringLiteral("%1 (%2)").arg(portName, device);
    if (names.isKernelConsole(device)) {
        return QStringLiteral("%1 je konzole systému, ta se nikdy neotevře.\n"
                              "%1 is the system console, which is never opened.\n")
            .arg(port);
    }
    if (port_.OpenPort(portName) == 0) {
        const QString why = QFileInfo::exists(device)
                                ? QStringLiteral("drží ho jiný program, nebo uživatel není ve "
                                                 "skupině dialout / another program holds it, "
                                                 "or the user is not in the group dialout")
                                : QStringLiteral("neexistuje / it does not exist");
        return QStringLiteral("%1 nelze otevřít / cannot be opened: %2.\n").arg(port, why);
    }
    port_.SetBreak(0);
    port_.SetDtr(0);
    port_.SetRts(0);
    const ReadTimes reads = timeReads(lines_, readClock_, timedReads);
    sampler_.portOpened();
    out_ << QStringLiteral("Test linek %1, nic se nezapisuje / line test of %1, nothing is "
                           "written.\n")
                .arg(port)
                .toStdString()
         << readTimesReport(reads).toStdString()
         << QStringLiteral("s = start, z = stop, r = reset: impuls / pulse 1000 ms; "
                           "q = konec / quit\n")
                .toStdString()
         << std::flush;
    return {};
}

void LineCheck::run(KeySource& keys) {
    for (;;) {
        const int key = keys.nextKey();
        if (key == 'q' || key == 'Q') {
            return;
        }
        if (const PulseKey* pulse = pulseFor(key)) {
            // The pulse holds the thread, as in the program: the inputs wait until it ends.
            line(QStringLiteral("%1: impuls 1000 ms: %2 / 1000 ms pulse: %3")
                     .arg(QLatin1String(pulse->name), QString::fromUtf8(pulse->lineCs),
                          QString::fromUtf8(pulse->lineEn)));
            (pulses_.*pulse->send)();
            line(QStringLiteral("%1: konec impulsu / pulse ended").arg(QLatin1String(pulse->name)));
            keys.dropPending();
        }
        sample();
        pause_.Sleep(sampleMillis);
    }
}

void LineCheck::sample() {
    const LineSnapshot lines = sampler_.snapshot();
    const std::uint32_t now = clock_.timeGetTime();
    const bool answering = lines.currentAt(now);
    // Silent once the last answer is older than the program would act on; a read that is just
    // late, or one that failed, only leaves this sample out.
    const bool silent = !answering && now - lines.answeredAt > readingAgeLimitMs;
    if (silent != silent_ && (silent || answering)) {
        silent_ = silent;
        if (silent_) {
            lastAnswer_ = lines.answeredAt;
            line(QStringLiteral("port neodpovídá / the port does not answer"));
        } else {
            line(QStringLiteral("port opět odpovídá, neodpovídal %1 ms / the port answers again "
                                "after %1 ms")
                     .arg(lines.answeredAt - lastAnswer_));
        }
    }
    if (!answering) {
        return; // nothing known of the lines now
    }
    for (std::size_t i = 0; i < std::size(inputs); ++i) {
        const int on = lines.isClosed(inputs[i].contact) ? 1 : 0;
        if (on != shown_[i]) {
            shown_[i] = on;
            line(QStringLiteral("%1: %2").arg(QString::fromUtf8(inputs[i].name),
                                              on != 0 ? QStringLiteral("sepnuto / closed")
                                                      : QStringLiteral("rozepnuto / open")));
        }
    }
}

void LineCheck::line(const QString& text) {
    out_ << now_().toString(u"HH:mm:ss.zzz").toStdString() << "  " << text.toStdString() << '\n'
         << std::flush;
}
