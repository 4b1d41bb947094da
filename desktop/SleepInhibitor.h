#pragma once

#include <QString>

// Keeps the PC from suspending while it is held: on its idle timer, on the sleep key and when
// the lid is closed. A block lock from systemd-logind on the system bus, which lasts as long as
// the descriptor logind hands back stays open.
class SleepInhibitor {
public:
    // Asks at once, waiting at most timeoutMs for the answer.
    SleepInhibitor(const QString& who, const QString& why, int timeoutMs);
    ~SleepInhibitor() { release(); }
    SleepInhibitor(const SleepInhibitor&) = delete;
    SleepInhibitor& operator=(const SleepInhibitor&) = delete;

    bool held() const { return fd_ >= 0; }
    // Why it is not held: the D-Bus error name, or what was wrong with the answer.
    const QString& error() const { return error_; }
    // Closes the descriptor, which ends the lock.
    void release();

private:
    int fd_ = -1;
    QString error_;
};
