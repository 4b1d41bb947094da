#include "vysledky/live/TimingFollower.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

TimingFollower::TimingFollower(const QDBusConnection& bus, QObject* parent)
    : QObject(parent), bus_(bus) {
    if (!bus_.isConnected()) {
        return;
    }
    watcher_.setConnection(bus_);
    watcher_.addWatchedService(service);
    connect(&watcher_, &QDBusServiceWatcher::serviceRegistered, this, &TimingFollower::askForRun);
    connect(&watcher_, &QDBusServiceWatcher::serviceUnregistered, this, &TimingFollower::gone);
    bus_.connect(service, path, interface, QStringLiteral("RunChanged"), this,
                 SLOT(onRunChanged(QVariantMap)));
    // Not waited for: a viewer started with no timing program would wait for nothing.
    auto* owner = new QDBusPendingCallWatcher(
        bus_.interface()->asyncCall(QStringLiteral("NameHasOwner"), service), this);
    connect(owner, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* call) {
        const QDBusPendingReply<bool> reply = *call;
        if (reply.isValid() && reply.value()) {
            askForRun();
        }
        call->deleteLater();
    });
}

void TimingFollower::askForRun() {
    const QDBusMessage call =
        QDBusMessage::createMethodCall(service, path, interface, QStringLiteral("GetRun"));
    auto* pending = new QDBusPendingCallWatcher(bus_.asyncCall(call), this);
    connect(pending, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* w) {
        const QDBusPendingReply<QVariantMap> reply = *w;
        if (reply.isValid()) {
            emit runChanged(TimingRun::fromMap(reply.value()));
        }
        w->deleteLater();
    });
}

void TimingFollower::onRunChanged(const QVariantMap& run) {
    emit runChanged(TimingRun::fromMap(run));
}
