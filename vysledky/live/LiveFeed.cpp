#include "vysledky/live/LiveFeed.h"

#include "vysledky/LogFollower.h"
#include "vysledky/live/TimingFollower.h"

#include <ctime>

qint64 LiveFeed::monotonicMillis() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return qint64(now.tv_sec) * 1000 + now.tv_nsec / 1'000'000;
}

LiveFeed::LiveFeed(Clock clock, QObject* parent) : QObject(parent), clock_(std::move(clock)) {
    end_.setSingleShot(true);
    connect(&end_, &QTimer::timeout, this, &LiveFeed::checkEnd);
}

void LiveFeed::listen(const QDBusConnection& bus) {
    auto* timing = new TimingFollower(bus, this);
    connect(timing, &TimingFollower::runChanged, this, &LiveFeed::take);
    connect(timing, &TimingFollower::gone, this, &LiveFeed::forget);
}

void LiveFeed::follow(const LogFollower* follower) {
    if (follower_) {
        disconnect(follower_, nullptr, this, nullptr);
    }
    follower_ = follower;
    // The finish's record lands after the signal: its place comes with the log's update.
    connect(follower, &LogFollower::updated, this, [this] {
        if (panel_.run() && view().shown) {
            emit changed();
        }
    });
}

PanelView LiveFeed::view() const {
    static const QList<Attempt> noAttempts;
    static const QList<RankingRow> noRanking;
    return panel_.view(clock_(), follower_ ? follower_->attempts() : noAttempts,
                       follower_ ? follower_->ranking() : noRanking);
}

void LiveFeed::take(const TimingRun& run) {
    if (panel_.take(run)) {
        scheduleEnd();
        emit changed();
    }
}

void LiveFeed::forget() {
    if (panel_.run()) {
        panel_.forget();
        scheduleEnd();
        emit changed();
    }
}

void LiveFeed::checkEnd() {
    const auto hides = panel_.hidesAtMs();
    if (hides && clock_() >= *hides) {
        emit changed(); // the view hides itself by the clock
    } else {
        scheduleEnd();
    }
}

void LiveFeed::scheduleEnd() {
    const auto hides = panel_.hidesAtMs();
    if (hides && *hides > clock_()) {
        end_.start(int(std::clamp<qint64>(*hides - clock_(), 0, LivePanel::shownAfterEndMs)));
    } else {
        end_.stop();
    }
}
