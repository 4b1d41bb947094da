#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusError>
#include <QSocketNotifier>
#include <QVariantMap>

#include <cstdio>
#include <ctime>
#include <unistd.h>

namespace {
qint64 monotonicMillis() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return qint64(now.tv_sec) * 1000 + now.tv_nsec / 1'000'000;
}

QString timeText(qint64 ms) {
    return QStringLiteral("%1:%2:%3:%4")
        .arg(ms / 3'600'000 % 24, 2, 10, QLatin1Char('0'))
        .arg(ms / 60'000 % 60, 2, 10, QLatin1Char('0'))
        .arg(ms / 1000 % 60, 2, 10, QLatin1Char('0'))
        .arg(ms % 1000, 3, 10, QLatin1Char('0'));
}
} // namespace

// The timing program's publication on the session bus, driven by commands on standard input,
// one a line, for the viewer's tests, pictures and crowd measurements:
//   team NAME | start [MS_AGO] | lane1 [TEXT] | lane2 [TEXT] | clear | finish | stop [TEXT]
//   | disqualification | annulment | quit
// A lane or a stop without a text is timed now. After each change it prints "seq nowMs".
class FakeTimingProgram : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "cz.tavorin.Timing1")

public:
    FakeTimingProgram() {
        for (const char* key : {"event", "phase", "team", "lane1", "lane2", "end", "result"}) {
            run_.insert(QLatin1String(key), QString());
        }
        run_.insert(QStringLiteral("phase"), QStringLiteral("idle"));
        for (const char* key : {"startedAtMs", "nowMs", "endedAtMs"}) {
            run_.insert(QLatin1String(key), qint64(0));
        }
        run_.insert(QStringLiteral("seq"), quint64(0));
    }

    void command(const QString& line) {
        const QString verb = line.section(u' ', 0, 0);
        const QString rest = line.section(u' ', 1);
        const qint64 now = monotonicMillis();
        const qint64 started = run_.value(QStringLiteral("startedAtMs")).toLongLong();
        const bool running = run_.value(QStringLiteral("phase")).toString() == u"running";
        if (verb == u"team") {
            if (!running) {
                set({{"phase", "idle"}, {"lane1", ""}, {"lane2", ""}, {"end", ""}, {"result", ""}});
                run_.insert(QStringLiteral("startedAtMs"), qint64(0));
                run_.insert(QStringLiteral("endedAtMs"), qint64(0));
            }
            set({{"team", rest}});
        } else if (verb == u"start") {
            if (run_.value(QStringLiteral("phase")).toString() == u"ended") {
                set({{"team", ""}});
            }
            set({{"phase", "running"}, {"lane1", ""}, {"lane2", ""}, {"end", ""}, {"result", ""}});
            run_.insert(QStringLiteral("startedAtMs"), now - rest.toLongLong());
            run_.insert(QStringLiteral("endedAtMs"), qint64(0));
        } else if (verb == u"lane1" || verb == u"lane2") {
            run_.insert(verb, rest.isEmpty() ? timeText(now - started) : rest);
        } else if (verb == u"clear") {
            set({{"lane1", ""}, {"lane2", ""}});
        } else if (verb == u"finish") {
            const QString one = run_.value(QStringLiteral("lane1")).toString();
            const QString two = run_.value(QStringLiteral("lane2")).toString();
            end(now, verb, std::max(one, two));
        } else if (verb == u"stop") {
            end(now, verb, rest.isEmpty() ? timeText(now - started) : rest);
        } else if (verb == u"disqualification" || verb == u"annulment") {
            end(now, verb, {});
        } else if (verb == u"quit") {
            QCoreApplication::quit();
            return;
        } else {
            return;
        }
        run_.insert(QStringLiteral("event"), verb);
        run_.insert(QStringLiteral("seq"), run_.value(QStringLiteral("seq")).toULongLong() + 1);
        run_.insert(QStringLiteral("nowMs"), monotonicMillis());
        emit RunChanged(run_);
        std::printf("%llu %lld\n", run_.value(QStringLiteral("seq")).toULongLong(),
                    run_.value(QStringLiteral("nowMs")).toLongLong());
        std::fflush(stdout);
    }

public slots:
    QVariantMap GetRun() {
        run_.insert(QStringLiteral("nowMs"), monotonicMillis());
        return run_;
    }

signals:
    void RunChanged(const QVariantMap& run);

private:
    void set(std::initializer_list<std::pair<const char*, QString>> values) {
        for (const auto& [key, value] : values) {
            run_.insert(QLatin1String(key), value);
        }
    }
    void end(qint64 now, const QString& how, const QString& result) {
        set({{"phase", "ended"}, {"end", how}, {"result", result}});
        run_.insert(QStringLiteral("endedAtMs"), now);
    }

    QVariantMap run_;
};

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    FakeTimingProgram timing;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.registerObject(QStringLiteral("/cz/tavorin/Timing"), &timing,
                            QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals) ||
        !bus.registerService(QStringLiteral("cz.tavorin.Timing"))) {
        std::fprintf(stderr, "fake-timing-program: %s\n", qPrintable(bus.lastError().message()));
        return 1;
    }
    std::printf("ready\n");
    std::fflush(stdout);
    QByteArray input;
    QSocketNotifier lines(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&lines, &QSocketNotifier::activated, [&] {
        char buffer[4096];
        const ssize_t got = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (got <= 0) {
            QCoreApplication::quit();
            return;
        }
        input.append(buffer, got);
        for (qsizetype end; (end = input.indexOf('\n')) >= 0; input.remove(0, end + 1)) {
            timing.command(QString::fromUtf8(input.left(end)).trimmed());
        }
    });
    return QCoreApplication::exec();
}

#include "FakeTimingProgram.moc"
