#include "tests/vysledky/LogBytes.h"
#include "vysledky/LogFollower.h"
#include "vysledky/live/LiveFeed.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {
// One publication of the timing program, as it arrives from the bus.
QVariantMap published(quint64 seq, const char* phase, const char* team, qint64 startedAt,
                      const char* lane1 = "", const char* lane2 = "", const char* end = "",
                      const char* result = "", qint64 endedAt = 0) {
    return {{"seq", seq},
            {"event", "x"},
            {"phase", phase},
            {"team", team},
            {"startedAtMs", startedAt},
            {"nowMs", qint64(0)},
            {"lane1", lane1},
            {"lane2", lane2},
            {"end", end},
            {"result", result},
            {"endedAtMs", endedAt}};
}

const QByteArray startList = "družstvo;kategorie\nSDH Lhota;muži\nJiskra;muži\nOrel;ženy\n";
const QByteArray jiskraFirst = logOf({"Jiskra", "@1 00:00:17:000", "@2 00:00:17:300"});
const QByteArray lhotaSecond =
    jiskraFirst + logOf({"sdh  lhota", "@1 00:00:17:900", "@2 00:00:18:500"});
} // namespace

// The panel from what the timing program published, at a moment of the fake clock, with the log
// the place comes from.
TEST(LivePanel, ShowsTheRunFromItsPublicationsAndTheLog) {
    const auto finish = [](quint64 seq) {
        return published(seq, "ended", "sdh  lhota", 1000, "00:00:17:900", "00:00:18:500", "finish",
                         "00:00:18:500", 19'600);
    };
    const struct {
        const char* name;
        QList<QVariantMap> runs;
        QByteArray log;
        qint64 now;
        PanelView shown;
    } rows[] = {
        {"nothing published", {}, {}, 5000, {}},
        {"a team saved, no run on the track", {published(1, "idle", "Orel", 0)}, {}, 5000, {}},
        {"running: the clock in hundredths, cut",
         {published(2, "running", "Orel", 1000)},
         {},
         18'239,
         {true, true, "Orel", 17'239, "17,23", "", "", ""}},
        {"a lane lands with its thousandths",
         {published(2, "running", "Orel", 1000),
          published(3, "running", "Orel", 1000, "00:00:17:204")},
         {},
         18'500,
         {true, true, "Orel", 17'500, "17,50", "17,204", "", ""}},
        {"past a minute",
         {published(2, "running", "", 1000)},
         {},
         66'300,
         {true, true, "", 65'300, "1:05,30", "", "", ""}},
        {"a late reply older than the signal is dropped",
         {published(3, "running", "Orel", 1000, "00:00:17:204"),
          published(2, "running", "Orel", 1000)},
         {},
         18'500,
         {true, true, "Orel", 17'500, "17,50", "17,204", "", ""}},
        {"finish before its record is in the log",
         {finish(4)},
         jiskraFirst,
         20'000,
         {true, false, "sdh  lhota", 18'500, "18,50", "17,900", "18,500", "výsledek 18,500"}},
        {"finish with its place in the category",
         {finish(4)},
         lhotaSecond,
         20'000,
         {true, false, "sdh  lhota", 18'500, "18,50", "17,900", "18,500",
          "výsledek 18,500 · 2. místo (muži)"}},
        {"still there just before 15 s",
         {finish(4)},
         lhotaSecond,
         34'599,
         {true, false, "sdh  lhota", 18'500, "18,50", "17,900", "18,500",
          "výsledek 18,500 · 2. místo (muži)"}},
        {"gone 15 s after the end", {finish(4)}, lhotaSecond, 34'600, {}},
        {"a disqualification judged after the finish",
         {finish(4), published(5, "ended", "sdh  lhota", 1000, "00:00:17:900", "00:00:18:500",
                               "disqualification", "", 21'000)},
         lhotaSecond,
         22'000,
         {true, false, "sdh  lhota", 20'000, "20,00", "17,900", "18,500", "diskvalifikace"}},
        {"stopped: the stop's time",
         {published(6, "ended", "Orel", 1000, "", "", "stop", "00:00:09:120", 10'200)},
         {},
         11'000,
         {true, false, "Orel", 9120, "9,12", "", "", "zastaveno"}},
        {"an annulled start",
         {published(7, "ended", "Orel", 1000, "", "", "annulment", "", 1350)},
         {},
         2000,
         {true, false, "Orel", 350, "0,35", "", "", "start anulován"}},
    };
    for (const auto& row : rows) {
        TempLog log;
        log.write(row.log);
        LogFollower follower(log.path());
        StartList list;
        QString error;
        ASSERT_TRUE(StartList::parse(startList, list, error));
        follower.setStartList(list);
        follower.refresh();
        qint64 now = 0;
        LiveFeed feed([&now] { return now; });
        feed.follow(&follower);
        for (const QVariantMap& run : row.runs) {
            feed.take(TimingRun::fromMap(run));
        }
        now = row.now;
        const PanelView view = feed.view();
        EXPECT_EQ(view.shown, row.shown.shown) << row.name;
        EXPECT_EQ(view.running, row.shown.running) << row.name;
        EXPECT_EQ(view.elapsedMs, row.shown.elapsedMs) << row.name;
        for (const auto& [got, expected] : {std::pair{view.team, row.shown.team},
                                            {view.time, row.shown.time},
                                            {view.lane1, row.shown.lane1},
                                            {view.lane2, row.shown.lane2},
                                            {view.end, row.shown.end}}) {
            EXPECT_EQ(got.toStdString(), expected.toStdString()) << row.name;
        }
    }
}

// The feed tells its readers when the panel goes by itself, at 15 s and not before, and when
// the timing program ends.
TEST(LivePanel, TellsWhenItGoesAtTheEndAndWithTheTimingProgram) {
    qint64 now = 10'000;
    LiveFeed feed([&now] { return now; });
    QSignalSpy changed(&feed, &LiveFeed::changed);
    feed.take(
        TimingRun::fromMap(published(1, "ended", "Orel", 1000, "", "", "annulment", "", 10'000)));
    now = 24'999;
    feed.checkEnd();
    EXPECT_EQ(changed.count(), 1);
    EXPECT_TRUE(feed.view().shown);
    now = 25'000;
    feed.checkEnd();
    EXPECT_EQ(changed.count(), 2);
    EXPECT_FALSE(feed.view().shown);

    feed.take(TimingRun::fromMap(published(2, "running", "Orel", 24'000)));
    feed.forget();
    EXPECT_EQ(changed.count(), 4);
    EXPECT_FALSE(feed.view().shown);
}
