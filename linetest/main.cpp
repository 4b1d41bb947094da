// tavorin-linka [--koren DIR] COM1|COM2: the line test that `tavorin-com --test` starts.
// tavorin-linka [--koren DIR] --konzole DEVICE: exits with 0 when the device is one of the
// kernel's consoles, which no TAVORIN program opens, else with 1; tavorin-com asks it, so the
// rule lives in one place.

#include "linetest/LineCheck.h"
#include "linetest/ReadTiming.h"
#include "linetest/TerminalKeys.h"
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
#include "serial/SerialPortBackend.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstdlib>
#include <iostream>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    DeviceNames names;
    // Hidden, for tests: the devices and the console list under a fake root.
    if (args.size() >= 3 && args.at(0) == QLatin1String("--koren")) {
        names.deviceDir = args.at(1) + QStringLiteral("/dev");
        names.consoleList = args.at(1) + QStringLiteral("/sys/class/tty/console/active");
        args = args.mid(2);
    }
    if (args.size() == 2 && args.at(0) == QLatin1String("--konzole")) {
        return names.isKernelConsole(args.at(1)) ? 0 : 1;
    }
    const QString port = args.size() == 1 ? args.at(0).toUpper() : QString();
    if (port != QLatin1String("COM1") && port != QLatin1String("COM2")) {
        std::cerr << "Použití / usage: tavorin-com --test COM1|COM2\n";
        return 2;
    }

    SerialPortBackend backend(names);
    PerformanceCounter counter;
    ThreadPulseSleep pulseSleep;
    ThreadSleep pause;
    Module1 portModule(backend);
    Module2 counterModule(counter, pulseSleep);
    Pulses pulses(portModule, counterModule);
    ReadClock readClock;
    MillisClock clock;
    LineSampler sampler(backend, clock);
    MillisecondSchedule schedule;
    SamplerThread samplerThread(sampler, schedule);
    int status = 0;
    {
        LineCheck check(backend, portModule, pulses, pause, readClock, sampler, clock,
                        &QTime::currentTime, std::cout);
        const QString refused = check.open(port, names);
        if (!refused.isEmpty()) {
            std::cerr << refused.toStdString();
            status = 1;
        } else {
            TerminalKeys keys;
            check.run(keys);
        }
    }
    // The port is closed and the terminal given back. The sampler's thread is not joined: a read
    // hanging in the driver would hold up the end; the process ends it.
    std::cout << std::flush;
    std::fflush(nullptr);
    std::_Exit(status);
}
