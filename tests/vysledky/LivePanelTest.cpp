#include "tests/vysledky/LogBytes.h"
#include "vysledky/LogFollower.h"
#include "vysledky/live/LiveFeed.h"

#include <gtest/gtest.h>

namespace {
// One publication of the timing program, as it arrives from the bus.
QVariantMap published(quint64 seq, const char* phase, qint64 startedAt, const char* lane1 = "",
                      const char* lane2 = "", const char* end = "", const char* result = "",
                      qint64 endedAt = 0) {
    return {{"seq", seq},     {"phase", phase},   {"team", "sdh  lhota"},
            {"lane1", lane1}, {"lane2", lane2},   {"startedAtMs", startedAt},
            {"end", end},     {"result", result}, {"endedAtMs", endedAt}};
}

// The view on one line; empty when the panel is not shown.
std::string line(const PanelView& view) {
    return view.shown ? QStringList{view.running ? "běží" : "stojí",
                                    view.team,
                                    view.time,
                                    QString::number(view.elapsedMs),
                                    view.lane1,
                                    view.lane2,
                                    view.end}
                            .join(" | ")
                            .toStdString()
                      : std::string();
}

const QVariantMap finish =
    published(4, "ended", 1000, "00:00:17:900", "00:00:18:500", "finish", "00:00:18:500", 19'600);
const QByteArray jiskra = logOf({"Jiskra", "@1 00:00:17:000", "@2 00:00:17:300"});
const QByteArray lhotaSecond = jiskra + logOf({"SDH Lhota", "@1 00:00:17:900", "@2 00:00:18:500"});
} // namespace

// The panel from what the timing program published, at a moment of the fake clock, with the
// log the place comes from; it goes 15 s after the end, telling its readers.
TEST(LivePanel, ShowsTheRunFromItsPublicationsAndTheLog) {
    const struct {
        QList<QVariantMap> runs;
        QByteArray log;
        qint64 now;
        std::string shown;
    } rows[] = {
        {{}, {}, 5000, ""},
        {{published(1, "idle", 0)}, {}, 5000, ""},
        {{published(2, "running", 1000)}, {}, 18'239, "běží | sdh  lhota | 17,23 | 17239 |  |  | "},
        {{published(2, "running", 1000)},
         {},
         66'300,
         "běží | sdh  lhota | 1:05,30 | 65300 |  |  | "},
        // A late GetRun reply, older than the signal, is dropped.
        {{published(3, "running", 1000, "00:00:17:204"), published(2, "running", 1000)},
         {},
         18'500,
         "běží | sdh  lhota | 17,50 | 17500 | 17,204 |  | "},
        {{finish},
         jiskra,
         20'000,
         "stojí | sdh  lhota | 18,50 | 18500 | 17,900 | 18,500 | "
         "výsledek 18,500"},
        {{finish},
         lhotaSecond,
         34'599,
         "stojí | sdh  lhota | 18,50 | 18500 | 17,900 | 18,500 | "
         "výsledek 18,500 · 2. místo (muži)"},
        {{finish}, lhotaSecond, 34'600, ""},
        {{finish, published(5, "ended", 1000, "00:00:17:900", "00:00:18:500", "disqualification",
                            "", 21'000)},
         lhotaSecond,
         22'000,
         "stojí | sdh  lhota | 20,00 | 20000 | 17,900 | 18,500 | diskvalifikace"},
        {{published(6, "ended", 1000, "", "", "stop", "00:00:09:120", 10'200)},
         {},
         11'000,
         "stojí | sdh  lhota | 9,12 | 9120 |  |  | zastaveno"},
        {{published(7, "ended", 1000, "", "", "annulment", "", 1350)},
         {},
         2000,
         "stojí | sdh  lhota | 0,35 | 350 |  |  | start anulován"},
    };
    for (const auto& row : rows) {
        TempLog log;
        log.write(row.log);
        LogFollower follower(log.path());
        StartList list;
        QString error;
        ASSERT_TRUE(
            StartList::parse("družstvo;kategorie\nSDH Lhota;muži\nJiskra;muži\n", list, error));
        follower.setStartList(list);
        follower.refresh();
        qint64 now = 0;
        LiveFeed feed([&now] { return now; });
        feed.follow(&follower);
        for (const QVariantMap& run : row.runs) {
            feed.take(TimingRun::fromMap(run));
        }
        int changes = 0;
        QObject::connect(&feed, &LiveFeed::changed, [&] { ++changes; });
        now = row.now;
        feed.checkEnd();
        EXPECT_EQ(line(feed.view()), row.shown) << row.now;
        EXPECT_EQ(changes, row.now == 34'600 ? 1 : 0) << row.now;
    }
}
