#include "vysledky/web/WebResults.h"

#include "vysledky/LogFollower.h"
#include "vysledky/live/LiveFeed.h"
#include "vysledky/web/LiveJson.h"
#include "vysledky/web/ResultsServer.h"

WebResults::WebResults(QObject* parent) : QObject(parent) {}

WebResults::~WebResults() = default;

void WebResults::follow(LogFollower* follower) {
    if (follower_) {
        disconnect(follower_, nullptr, this, nullptr);
    }
    follower_ = follower;
    connect(follower_, &LogFollower::updated, this, &WebResults::publish);
    publish();
}

void WebResults::followLive(LiveFeed* feed) {
    feed_ = feed;
    connect(feed, &LiveFeed::changed, this, [this] {
        if (server_) {
            server_->live().send();
        }
    });
    publishLive();
}

bool WebResults::start(const QHostAddress& address, quint16 port, QString& error) {
    auto server = std::make_unique<ResultsServer>();
    if (!server->listen(address, port, error)) {
        return false;
    }
    server_ = std::move(server);
    publish();
    publishLive();
    emit runningChanged(true);
    return true;
}

void WebResults::stop() {
    if (server_) {
        server_.reset();
        emit runningChanged(false);
    }
}

quint16 WebResults::port() const {
    return server_ ? server_->port() : 0;
}

void WebResults::publish() {
    if (server_ && follower_) {
        server_->publish(*follower_);
    }
}

void WebResults::publishLive() {
    if (server_ && feed_) {
        server_->live().setSource([feed = feed_] {
            return feed ? LiveJson::event(*feed) : QByteArray(R"({"zobrazit":false})");
        });
    }
}
