#include "tests/support/Engine.h"

#include <QFile>

Engine::Engine(RaceState initial)
    : log(dir_.filePath(QStringLiteral("ZAVOD.TXT"))),
      race(raceLines, clock, pause, timeOfDay, log) {
    race.showOn(window);
    race.restore(initial);
    race.openPort(QStringLiteral("COM2"));
    lines.forget();
}

void Engine::passes(int count) {
    for (int i = 0; i < count; ++i) {
        if (race.runPass() == Race::PassEnd::Restart) {
            race.enterLoop();
        }
    }
}

void Engine::pulseLine(bool FakeLines::*line) {
    lines.*line = true;
    passes(1); // read closed in its pause
    lines.*line = false;
    passes(1); // acted on; read open again in its pause
}

void Engine::during(std::function<void()> action, int count) {
    window.queue(std::move(action));
    passes(count);
}

QString Engine::logPath() const {
    return dir_.filePath(QStringLiteral("ZAVOD.TXT"));
}

QByteArray Engine::logBytes() const {
    QFile file(logPath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

std::vector<std::int64_t> Engine::pulseLengths(Output line) const {
    std::vector<std::int64_t> lengths;
    for (const auto& [up, down] : lines.pulses(line)) {
        lengths.push_back(down - up);
    }
    return lengths;
}
