#include "publish/RunPublisher.h"
#include "race/ElapsedText.h"
#include "race/TrackRun.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <cstdio>
#include <ctime>
#include <iostream>
#include <unistd.h>

namespace {
std::int64_t monotonicMs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return std::int64_t(now.tv_sec) * 1000 + now.tv_nsec / 1'000'000;
}

// The timing program's own publication of the run, its race played by commands on standard
// input, one a line, for the viewer's tests, pictures and crowd measurements:
//   team NAME | start [MS_AGO] | lane1 [TEXT] | lane2 [TEXT] | clear | finish | stop [TEXT]
//   | disqualification | annulment | quit
// A lane or a stop without a text is timed now. After each change it prints "seq nowMs".
void command(TrackRun& track, const QString& line) {
    const QString verb = line.section(u' ', 0, 0);
    const QString rest = line.section(u' ', 1);
    const auto now = static_cast<std::uint32_t>(monotonicMs());
    const auto start = static_cast<std::int32_t>(track.state().startTick);
    const QString timedNow = rest.isEmpty() ? elapsedText(now, start) : rest;
    if (verb == u"team") {
        track.teamSaved(rest);
    } else if (verb == u"start") {
        track.started(now - rest.toUInt());
    } else if (verb == u"lane1" || verb == u"lane2") {
        track.laneTimed(verb == u"lane1" ? 1 : 2, timedNow);
    } else if (verb == u"clear") {
        track.lanesCleared();
    } else if (verb == u"finish") {
        track.ended(verb, std::max(track.state().lane1, track.state().lane2), now);
    } else if (verb == u"stop") {
        track.ended(verb, timedNow, now);
    } else if (verb == u"disqualification" || verb == u"annulment") {
        track.ended(verb, {}, now);
    } else if (verb == u"quit") {
        QCoreApplication::quit();
    }
}
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    TrackRun track;
    RunPublisher publisher(track, &monotonicMs, std::cerr);
    if (!publisher.published()) {
        return 1;
    }
    const auto told = [&publisher](const TrackRunState& run) {
        emit publisher.RunChanged(publisher.runMap(run));
        std::printf("%llu %lld\n", static_cast<unsigned long long>(run.seq),
                    static_cast<long long>(monotonicMs()));
        std::fflush(stdout);
    };
    track.setListener(told);
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
            command(track, QString::fromUtf8(input.left(end)).trimmed());
        }
    });
    return QCoreApplication::exec();
}
