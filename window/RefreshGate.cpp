#include "window/RefreshGate.h"

#include "serial/MillisClock.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

RefreshGate::RefreshGate(QWidget& window, MillisClock& clock)
    : QObject(&window), window_(window), clock_(clock) {
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &RefreshGate::poll);
    window.installEventFilter(this);
}

std::uint32_t RefreshGate::sinceLast() const {
    // The 32-bit clock wraps; the difference stays right across the wrap.
    return clock_.timeGetTime() - lastMs_;
}

void RefreshGate::holdFor(std::uint32_t remainingMs) {
    held_ = true;
    if (!timer_.isActive()) {
        timer_.start(static_cast<int>(remainingMs));
    }
}

bool RefreshGate::eventFilter(QObject* watched, QEvent* event) {
    // Qt posts one UpdateRequest to the window for everything marked dirty, and posts no
    // other until the window has been drawn: holding this one holds all the drawing.
    if (watched != &window_ || event->type() != QEvent::UpdateRequest || passing_) {
        return false;
    }
    const std::uint32_t since = sinceLast();
    if (drawn_ && since < intervalMs) {
        holdFor(intervalMs - since);
        return true;
    }
    drawn_ = true;
    lastMs_ = clock_.timeGetTime();
    held_ = false;
    return false;
}

void RefreshGate::poll() {
    if (!held_) {
        return;
    }
    const std::uint32_t since = sinceLast();
    if (since < intervalMs) {
        // Early by the program's clock (the timer's clock may differ): wait out the rest.
        holdFor(intervalMs - since);
        return;
    }
    timer_.stop();
    held_ = false;
    lastMs_ = clock_.timeGetTime();
    passing_ = true;
    QEvent request(QEvent::UpdateRequest);
    QCoreApplication::sendEvent(&window_, &request);
    passing_ = false;
}
