#pragma once

class LineBackend;
class PerformanceCounter;
class PulseSleep;

// The port module's backend and the counter module's counter and pulse sleep, installed for
// as long as this object lives and removed when it ends, so that nothing is left pointing at
// a backend or a clock that is gone. One at a time.
class InstalledModules {
public:
    InstalledModules(LineBackend& lines, PerformanceCounter& counter, PulseSleep& sleep);
    ~InstalledModules();
    InstalledModules(const InstalledModules&) = delete;
    InstalledModules& operator=(const InstalledModules&) = delete;
};
