#pragma once

#include <QObject>
#include <QTimer>

#include <cstdint>

class MillisClock;
class QWidget;

// Lets a window's drawing reach the screen at most once per refresh interval. Every control
// still takes its text at once (text() is always the latest); only the window's request to
// repaint what changed is held back until the interval since the last one has passed, and
// then the latest state of every changed control is drawn in one go. Without it the running
// time, set on every 1 ms pass, was drawn and sent to the display server 1000 times a second.
class RefreshGate final : public QObject {
public:
    static constexpr int intervalMs = 16; // one picture of a 60 Hz screen

    RefreshGate(QWidget& window, MillisClock& clock);

    // Lets a held repaint through once its interval is over. The polling loop calls it on
    // every pass, so the last picture follows the last change within one interval; the timer
    // does the same when no loop runs.
    void poll();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::uint32_t sinceLast() const;
    void holdFor(std::uint32_t remainingMs);

    QWidget& window_;
    MillisClock& clock_;
    QTimer timer_;
    std::uint32_t lastMs_ = 0;
    bool drawn_ = false;   // a repaint has gone through: lastMs_ is its time
    bool held_ = false;    // a repaint waits for its interval
    bool passing_ = false; // the held repaint is being let through
};
