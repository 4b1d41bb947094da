#pragma once

#include <QString>

#include <optional>

// RealtimeKit on the system D-Bus, which grants SCHED_RR (with SCHED_RESET_ON_FORK) to threads
// of users who may not ask the kernel themselves. Every call waits at most the timeout, so a
// hung bus delays the start by little.
class RealtimeKitClient {
public:
    explicit RealtimeKitClient(int timeoutMs) : timeoutMs_(timeoutMs) {}

    // The property MaxRealtimePriority or RTTimeUSecMax; nothing, with error() set, on failure.
    std::optional<long long> property(const QString& name);
    bool makeThreadRealtime(long long tid, int priority);

    // The D-Bus error name of the last failure, or what was wrong with the answer.
    const QString& error() const { return error_; }

private:
    int timeoutMs_;
    QString error_;
};
