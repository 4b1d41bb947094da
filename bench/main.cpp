// Measures the real polling loop: pass period and work, lane-time error against contacts
// closed at known moments, pulse lengths, CPU cost, peak memory and start-up time. It runs
// the window offscreen with the real clocks, the real 1 ms pause and the real line sampler on
// its own thread; only the port is replaced, by contacts on a schedule read through a model
// of the adapter.

#include "bench/AdapterModel.h"
#include "bench/BenchDisk.h"
#include "bench/BusListener.h"
#include "bench/BusyLoad.h"
#include "bench/Figures.h"
#include "bench/PassProbe.h"
#include "bench/ProcessClock.h"
#include "bench/ScheduledLines.h"
#include "bench/ServerCpu.h"
#include "bench/TrackScenario.h"
#include "bench/WakeProbe.h"
#include "desktop/KeepAwake.h"
#include "publish/RunPublisher.h"
#include "race/LogFlusher.h"
#include "race/Race.h"
#include "race/RaceLines.h"
#include "race/ResultsLog.h"
#include "race/TimeOfDay.h"
#include "realtime/RealtimePriority.h"
#include "records/LogRecords.h"
#include "serial/LineSampler.h"
#include "serial/MillisClock.h"
#include "serial/Module1.h"
#include "serial/Module2.h"
#include "serial/Pause.h"
#include "serial/PerformanceCounter.h"
#include "serial/PulseSleep.h"
#include "serial/Pulses.h"
#include "serial/SampleSchedule.h"
#include "serial/SamplerThread.h"
#include "window/Application.h"
#include "window/Form1.h"
#include "window/ProgramEnd.h"

#include <QDir>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <optional>

namespace {

// The benchmark never ends the program from a handler; should one try, it is a failure.
class RefuseEnd final : public ProgramEnd {
public:
    void endProgram() override {
        std::fputs("tavorin-bench: the program tried to end during the run\n", stderr);
        std::_Exit(3);
    }
};

// The clock behind MillisClock, whole, as the program publishes the run on.
std::int64_t monotonicMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

struct Options {
    bool json = false;
    bool quick = false;
    int load = 0;
    int slowDiskMs = 0;    // each flush of the log takes this long instead of the disk's time
    int stallMs = 0;       // at the end, one read hangs this long during a start contact
    bool listener = false; // the run published on a private bus, a reader following it
    Adapter adapter = Adapter::Uart;
    int readUs = 1000;    // a USB control transfer's time, for usb-control
    bool display = false; // run the whole benchmark again on an X server of its own
    bool onX = false;     // this is that run: draw on $DISPLAY and measure its server too
    std::int64_t startupChildSpawnNs = -1;
};

Options parse(const QStringList& args) {
    Options o;
    for (qsizetype i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--json")) {
            o.json = true;
        } else if (args[i] == QLatin1String("--quick")) {
            o.quick = true;
        } else if (args[i] == QLatin1String("--load") && i + 1 < args.size() &&
                   args[i + 1].toInt() >= 0) {
            o.load = args[++i].toInt();
        } else if (args[i] == QLatin1String("--slow-disk") && i + 1 < args.size() &&
                   args[i + 1].toInt() >= 0) {
            o.slowDiskMs = args[++i].toInt();
        } else if (args[i] == QLatin1String("--stall") && i + 1 < args.size() &&
                   args[i + 1].toInt() >= 0) {
            o.stallMs = args[++i].toInt();
        } else if (args[i] == QLatin1String("--adapter") && i + 1 < args.size() &&
                   adapterNamed(args[i + 1])) {
            o.adapter = *adapterNamed(args[++i]);
        } else if (args[i] == QLatin1String("--read-us") && i + 1 < args.size() &&
                   args[i + 1].toInt() > 0) {
            o.readUs = args[++i].toInt();
        } else if (args[i] == QLatin1String("--listener")) {
            o.listener = true;
        } else if (args[i] == QLatin1String("--display")) {
            o.display = true;
        } else if (args[i] == QLatin1String("--on-x")) {
            o.onX = true;
        } else if (args[i] == QLatin1String("--startup-child") && i + 1 < args.size()) {
            o.startupChildSpawnNs = args[++i].toLongLong();
        } else {
            std::fprintf(
                stderr,
                "usage: tavorin-bench [--quick] [--json] [--load N] [--slow-disk MS] "
                "[--stall MS] [--listener] [--display] [--adapter uart|usb-control|usb-interrupt] "
                "[--read-us N]\n");
            std::exit(2);
        }
    }
    return o;
}

// Everything of the real machine but the port and the window: the scheduled contacts, read
// through the adapter by the line sampler on its own thread, the modules, the log.
struct BenchMachine {
    explicit BenchMachine(const Options& o) : lines(o.adapter, o.readUs) {}

    AdapterModel lines;
    PerformanceCounter counter;
    MillisClock clock;
    ThreadSleep sleep;
    ThreadPulseSleep pulseSleep;
    LocaleTimeOfDay timeOfDay;
    RefuseEnd end;
    LineSampler sampler{lines, clock};
    MillisecondSchedule schedule;
    SamplerThread samplerThread{sampler, schedule}; // stopped before what it reads goes
    Module1 module1{lines};
    Module2 module2{counter, pulseSleep};
    Pulses pulses{module1, module2};
    ModuleLines raceLines{module1, pulses, sampler};
    ResultsLog log{QString::fromLatin1(LogRecords::fileName)};
};

// As the program asks for its loop thread's (before the machine is built), the sampler's too.
void requestSamplerRealtime(BenchMachine& m) {
    requestRealtimePriority(RealtimeThread{m.samplerThread.threadId(),
                                           QStringLiteral("vzorkování linek"),
                                           QStringLiteral("line sampler")});
}

// Ends the start-up child at the first pass of the loop: the pass's first pause.
class FirstPassReport final : public Pause {
public:
    explicit FirstPassReport(std::int64_t spawnNs) : spawnNs_(spawnNs) {}
    void Sleep(int /*milliseconds*/) override {
        const double elapsed = static_cast<double>(ProcessClock::monotonicNs() - spawnNs_) / 1e6;
        std::printf("%.3f\n", elapsed);
        std::fflush(stdout);
        std::_Exit(0);
    }

private:
    std::int64_t spawnNs_;
};

// The child's whole life: start as the program starts, report at the end of the loop's first
// pass, and end there.
int startupChild(int argc, char** argv, const Options& options) {
    Application app(argc, argv);
    requestRealtimePriority();
    KeepAwake awake(std::cerr);
    BenchMachine m(options);
    requestSamplerRealtime(m);
    FirstPassReport firstPass(options.startupChildSpawnNs);
    Race race(m.raceLines, m.clock, firstPass, m.timeOfDay, m.log);
    Form1 form(race, m.log, m.clock, m.end);
    form.Form_Load();
    form.show();
    return Application::exec();
}

// Start-up times of fresh processes, in ms; empty when a child failed. The children read the
// port through the same adapter.
std::vector<double> measureStartups(const QString& self, const Options& options, int runs) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        const std::int64_t spawn = ProcessClock::monotonicNs();
        child.start(self,
                    {QStringLiteral("--startup-child"), QString::number(spawn),
                     QStringLiteral("--adapter"), QString::fromLatin1(adapterName(options.adapter)),
                     QStringLiteral("--read-us"), QString::number(options.readUs)});
        if (!child.waitForFinished(30000) || child.exitCode() != 0) {
            child.kill();
            return {};
        }
        bool ok = false;
        const double ms =
            QString::fromLatin1(child.readAllStandardOutput()).trimmed().toDouble(&ok);
        if (!ok) {
            return {};
        }
        times.push_back(ms);
    }
    return times;
}

// The same run under a fresh Xvfb, the window drawn through the xcb platform as on a real
// display; its figures are printed by that run.
int runOnDisplay(const QStringList& args) {
    QStringList childArgs{QStringLiteral("-a"), QStringLiteral("-s"),
                          QStringLiteral("-screen 0 1024x768x24"),
                          QCoreApplication::applicationFilePath(), QStringLiteral("--on-x")};
    for (qsizetype i = 1; i < args.size(); ++i) {
        if (args[i] != QLatin1String("--display")) {
            childArgs << args[i];
        }
    }
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::ForwardedChannels);
    child.start(QStringLiteral("xvfb-run"), childArgs);
    if (!child.waitForStarted(10000)) {
        std::fputs("tavorin-bench: xvfb-run could not be started (package xvfb)\n", stderr);
        return 1;
    }
    if (!child.waitForFinished(600000)) {
        std::fputs("tavorin-bench: the run on Xvfb did not end within 10 minutes\n", stderr);
        child.kill();
        child.waitForFinished(5000);
        return 1;
    }
    return child.exitStatus() == QProcess::NormalExit ? child.exitCode() : 1;
}

Plan planFor(const Options& options) {
    Plan plan;
    plan.stallMs = options.stallMs;
    if (options.quick) {
        plan.warmupPasses = 10;
        plan.idlePasses = 50;
        plan.racePasses = 100;
        plan.races = 1;
        plan.closuresPerRace = 4;
        plan.resetPulses = 1;
    }
    return plan;
}

} // namespace

int main(int argc, char** argv) {
    QStringList args;
    for (int i = 0; i < argc; ++i) {
        args << QString::fromLocal8Bit(argv[i]);
    }
    const Options options = parse(args);
    if (options.display && !options.onX) {
        QCoreApplication core(argc, argv);
        return runOnDisplay(args);
    }
    // Start-up children run offscreen even then, so that figure stays comparable.
    if (!options.onX) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    if (options.startupChildSpawnNs >= 0) {
        return startupChild(argc, argv, options);
    }

    // The results log goes to the working directory: keep it out of the caller's.
    QTemporaryDir scratch;
    if (!scratch.isValid() || !QDir::setCurrent(scratch.path())) {
        std::fputs("tavorin-bench: no scratch directory\n", stderr);
        return 1;
    }

    Application app(argc, argv);
    // As the program does; TAVORIN_REALTIME=0 measures it without.
    const RealtimeResult realtime = requestRealtimePriority();
    const BusyLoad load(options.load);
    const Plan plan = planFor(options);
    BenchDisk disk(options.slowDiskMs);
    LogFlusher flusher(disk); // outlives the log that hands it work
    BenchMachine m(options);
    requestSamplerRealtime(m);
    WakeProbe wake; // on the sampler's schedule, with the same real-time request
    requestRealtimePriority(RealtimeThread{wake.threadId(), QStringLiteral("sonda buzení"),
                                           QStringLiteral("wake probe")});
    PassProbe probe(m.sleep, static_cast<std::size_t>(plan.racePasses) + 16);
    m.log.flushWith(flusher);
    Race race(m.raceLines, m.clock, probe, m.timeOfDay, m.log);
    std::optional<BusListener> listener;
    std::optional<RunPublisher> publisher;
    if (options.listener) {
        listener.emplace();
        if (!listener->failure().isEmpty()) {
            std::fprintf(stderr, "tavorin-bench: %s\n", qPrintable(listener->failure()));
            return 1;
        }
        publisher.emplace(race.track(), &monotonicMs, std::cerr, listener->bus());
    }
    Form1 form(race, m.log, m.clock, m.end);
    TrackScenario scenario(form, m.lines, probe, plan);
    probe.onPass([&scenario] { scenario.step(); });
    scenario.measureReads([&m] { return m.lines.reads(); });
    std::optional<pid_t> server;
    if (options.onX) {
        server = ServerCpu::serverOfDisplay();
        if (!server) {
            std::fputs("tavorin-bench: no X server found for $DISPLAY\n", stderr);
            return 1;
        }
        scenario.measureServer([pid = *server] { return ServerCpu::cpuNs(pid); });
    }

    form.Form_Load();
    form.show();
    // StartTimer's tick enters the loop; the scenario leaves it when it has seen everything.
    while (!scenario.finished()) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    wake.finish();
    if (!scenario.failure().isEmpty()) {
        std::fprintf(stderr, "tavorin-bench: %s\n", qPrintable(scenario.failure()));
        return 1;
    }

    Figures f;
    const auto& periods = probe.periodsMs();
    f.passes = static_cast<int>(periods.size());
    f.passP50Ms = percentile(periods, 50);
    f.passP99Ms = percentile(periods, 99);
    f.passMaxMs = maximum(periods);
    f.passWorkP50Us = percentile(probe.workUs(), 50);
    f.passWorkP99Us = percentile(probe.workUs(), 99);
    f.readsPerS = scenario.readsPerS();

    std::vector<double> laneErrors;
    for (double e : scenario.laneErrorsMs()) {
        laneErrors.push_back(std::fabs(e));
    }
    f.closures = static_cast<int>(laneErrors.size());
    f.laneErrP50Ms = percentile(laneErrors, 50);
    f.laneErrP99Ms = percentile(laneErrors, 99);
    f.laneErrMaxMs = maximum(laneErrors);
    f.laneLagP99Ms = percentile(scenario.laneLagsMs(), 99);
    f.laneLagMaxMs = maximum(scenario.laneLagsMs());
    f.startLagMaxMs = maximum(scenario.startLagsMs());
    f.machineWakeP99Ms = percentile(wake.latenessMs(), 99);
    f.machineWakeMaxMs = maximum(wake.latenessMs());
    f.stallMs = options.stallMs;
    f.stallRecords = scenario.stallRecords();
    f.stallStarts = scenario.stallStarts();
    flusher.waitFlushed(std::chrono::minutes(1));
    f.flushLagP99Ms = percentile(disk.lagsMs(scenario.records()), 99);
    f.slowDiskMs = options.slowDiskMs;
    f.listener = options.listener;
    f.signalsHeard = listener ? listener->signalsHeard() : 0;

    double sum = 0;
    double pulseWallNs = 0;
    double pulseCpuNs = 0;
    for (const auto& p : m.lines.pulses()) {
        pulseWallNs += static_cast<double>(p.downNs - p.upNs);
        pulseCpuNs += static_cast<double>(p.cpuNs);
        const double deviation = static_cast<double>(p.downNs - p.upNs) / 1e6 - Pulses::pulseMillis;
        sum += deviation;
        f.pulseMaxDevMs = std::max(f.pulseMaxDevMs, std::fabs(deviation));
    }
    f.pulses = static_cast<int>(m.lines.pulses().size());
    f.pulseMeanDevMs = f.pulses > 0 ? sum / f.pulses : 0.0;

    f.cpuIdlePct = scenario.cpuIdlePct();
    f.cpuRacePct = scenario.cpuRacePct();
    f.display = options.onX;
    f.cpuIdleDisplayPct = f.cpuIdlePct + scenario.serverIdlePct();
    f.cpuRaceDisplayPct = f.cpuRacePct + scenario.serverRacePct();
    f.cpuPulsePct = pulseWallNs > 0 ? 100.0 * pulseCpuNs / pulseWallNs : 0.0;
    f.adapter = QString::fromLatin1(adapterName(options.adapter));
    f.realtime = QString::fromLatin1(realtimeResultName(realtime));
    f.load = load.size();
    f.rssPeakMb = ProcessClock::peakResidentMb();

    const std::vector<double> startups =
        measureStartups(QCoreApplication::applicationFilePath(), options, options.quick ? 1 : 5);
    if (startups.empty()) {
        std::fputs("tavorin-bench: the start-up run failed\n", stderr);
        return 1;
    }
    f.startups = static_cast<int>(startups.size());
    f.startupMs = percentile(startups, 50);

    const QString out = options.json ? figuresJson(f) : figuresTable(f);
    std::fputs(qPrintable(out), stdout);
    return 0;
}
