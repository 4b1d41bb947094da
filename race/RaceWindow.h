#pragma once

#include <QString>

// What the race needs of the window: its displays, its two start and stop buttons, the team
// name typed in, its message box and one run of its pending events.
class RaceWindow {
public:
    virtual ~RaceWindow() = default;

    virtual void showClock(const QString& text) = 0;              // LblTime
    virtual void showRunningTime(const QString& text) = 0;        // LblTimer
    virtual void showLaneTime(int lane, const QString& text) = 0; // Text2 (1), Text3 (2)
    virtual void showSensor(int sensor, bool on) = 0;             // Check1..Check3
    virtual void setButStartEnabled(bool enabled) = 0;
    virtual void setButStopEnabled(bool enabled) = 0;
    virtual QString teamName() const = 0; // Text1
    // A message the operator closes with OK before anything else happens.
    virtual void showMessage(const QString& text) = 0;
    // A notice that does not stop the loop: it stays up until the operator closes it.
    virtual void showNotice(const QString& text) = 0;

    // Runs every pending event (clicks, timer ticks, the close request) to completion.
    virtual void pumpEvents() = 0;
};
