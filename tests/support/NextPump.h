#pragma once

#include <QObject>

#include <functional>

// Runs the action in the next event pump, as an operator's click would: one posted event,
// dropped if the context is gone first. Actions queued during a pump wait for the one after.
inline void atNextPump(QObject* context, std::function<void()> action) {
    QMetaObject::invokeMethod(context, std::move(action), Qt::QueuedConnection);
}
