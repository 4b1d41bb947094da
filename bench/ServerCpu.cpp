#include "bench/ServerCpu.h"

#include <QByteArray>
#include <QDir>
#include <QFile>

#include <unistd.h>

namespace ServerCpu {

std::optional<pid_t> serverOfDisplay() {
    // ":99" or ":99.0" (a local display) names /tmp/.X99-lock, which holds the server's pid.
    const QByteArray display = qgetenv("DISPLAY");
    const qsizetype colon = display.indexOf(':');
    if (colon < 0) {
        return std::nullopt;
    }
    const QByteArray number = display.mid(colon + 1).split('.').value(0);
    QFile lock(QStringLiteral("/tmp/.X%1-lock").arg(QString::fromLatin1(number)));
    if (!lock.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    bool ok = false;
    const int pid = lock.readAll().trimmed().toInt(&ok);
    if (!ok || pid <= 0) {
        return std::nullopt;
    }
    return static_cast<pid_t>(pid);
}

std::int64_t cpuNs(pid_t pid) {
    // schedstat's first field is the time on a CPU in nanoseconds, where stat counts 10 ms
    // ticks: too coarse for a spell of a second.
    const QString tasks = QStringLiteral("/proc/%1/task").arg(pid);
    const QStringList threads = QDir(tasks).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    if (threads.isEmpty()) {
        return -1;
    }
    std::int64_t total = 0;
    for (const QString& thread : threads) {
        QFile stat(tasks + QLatin1Char('/') + thread + QStringLiteral("/schedstat"));
        if (stat.open(QIODevice::ReadOnly)) {
            total += stat.readAll().split(' ').value(0).toLongLong();
        }
    }
    return total;
}

} // namespace ServerCpu
