#pragma once

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QObject>

#include <deque>
#include <functional>

// The operator's hand. What the operator does between two passes reaches the window in the
// next event pump, one event after another, each run to its end, and so does a click made
// while a pulse holds the program. While a message box is open nothing reaches the window:
// a modal box keeps the operator's clicks off it until it is closed.
class Hand : public QObject {
public:
    std::deque<std::function<void()>> actions;

    // Queues an action; post() once per pass lets the next event pump run them.
    void queue(std::function<void()> action) { actions.push_back(std::move(action)); }
    void post() { QCoreApplication::postEvent(this, new QEvent(QEvent::User)); }

protected:
    bool event(QEvent* e) override {
        if (e->type() != QEvent::User) {
            return QObject::event(e);
        }
        if (QApplication::activeModalWidget() != nullptr) {
            post();
            return true;
        }
        while (!actions.empty()) {
            const std::function<void()> next = std::move(actions.front());
            actions.pop_front();
            next();
        }
        return true;
    }
};
