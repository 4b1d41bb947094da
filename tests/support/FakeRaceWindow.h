#pragma once

#include "race/RaceWindow.h"
#include "tests/support/NextPump.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>

// The window as the race sees it, with nothing drawn: what it shows, the two buttons' states,
// the messages it was asked to show, and the operator's actions waiting for its event pump.
class FakeRaceWindow final : public RaceWindow {
public:
    QString clock = QStringLiteral("00:00:00");
    QString runningTime = QStringLiteral("00:00:00:000");
    std::array<QString, 3> laneTimes{}; // [1] and [2]
    std::array<bool, 4> sensors{};      // [1] lane 1, [2] lane 2, [3] the start contact
    bool butStartEnabled = true;
    bool butStopEnabled = true;
    QString team;
    QStringList messages;
    QStringList notices;
    int clockWrites = 0;

    // Runs in the next event pump, as an operator's click would.
    void queue(std::function<void()> action) { atNextPump(&events_, std::move(action)); }

    void showClock(const QString& text) override {
        clock = text;
        ++clockWrites;
    }
    void showRunningTime(const QString& text) override { runningTime = text; }
    void showLaneTime(int lane, const QString& text) override {
        laneTimes.at(static_cast<std::size_t>(lane)) = text;
    }
    void showSensor(int sensor, bool on) override {
        sensors.at(static_cast<std::size_t>(sensor)) = on;
    }
    void setButStartEnabled(bool enabled) override { butStartEnabled = enabled; }
    void setButStopEnabled(bool enabled) override { butStopEnabled = enabled; }
    QString teamName() const override { return team; }
    void showMessage(const QString& text) override { messages << text; }
    void showNotice(const QString& text) override { notices << text; }
    void pumpEvents() override { QCoreApplication::processEvents(); }

private:
    QObject events_; // the queued actions end with the window
};
