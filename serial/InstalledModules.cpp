#include "serial/InstalledModules.h"

#include "serial/Module1.h"
#include "serial/Module2.h"

InstalledModules::InstalledModules(LineBackend& lines, PerformanceCounter& counter,
                                   PulseSleep& sleep) {
    Module1::installBackend(&lines);
    Module2::installCounter(&counter);
    Module2::installSleep(&sleep);
}

InstalledModules::~InstalledModules() {
    Module2::installSleep(nullptr);
    Module2::installCounter(nullptr);
    Module1::installBackend(nullptr);
}
