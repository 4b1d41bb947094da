#pragma once

#include "vysledky/Attempt.h"
#include "vysledky/Ranking.h"
#include "vysledky/live/TimingRun.h"

#include <QList>
#include <QString>

#include <optional>

// What the panel „Na trati“ shows at one moment.
struct PanelView {
    bool shown = false;
    bool running = false; // the clock runs on from elapsedMs
    QString team;
    qint64 elapsedMs = 0; // the running time at that moment, frozen once the run ended
    QString time;         // elapsedMs in hundredths, as the stopwatches show it: "17,23"
    QString lane1, lane2; // exact thousandths, "17,204"; empty until taken
    QString end;          // the result and its place, or the state the run ended in

    bool operator==(const PanelView&) const = default;
};

// The panel's state, without widgets or a bus: the newest run the timing program published,
// read at a moment of CLOCK_MONOTONIC, with the place from the results of the log. Shown while
// a run is on and for shownAfterEndMs after it ended; with no timing program, never.
class LivePanel {
public:
    static constexpr qint64 shownAfterEndMs = 15'000;

    // Keeps the run if it is newer than the one held: a GetRun reply can come after a signal, or
    // repeat it.
    // True when it was taken.
    bool take(const TimingRun& run);
    // The timing program is gone.
    void forget() { run_.reset(); }
    const std::optional<TimingRun>& run() const { return run_; }

    PanelView view(qint64 nowMs, const QList<Attempt>& attempts,
                   const QList<RankingRow>& ranking) const;
    // When an ended run leaves the screen, or nothing when it will not on its own.
    std::optional<qint64> hidesAtMs() const;

    // "00:00:17:204" as "17,204", "00:01:05:300" as "1:05,300", as the pages show times.
    static QString shortTime(const QString& text);
    // Milliseconds in hundredths, cut as a stopwatch cuts them: 17239 is "17,23".
    static QString hundredths(qint64 millis);

private:
    std::optional<TimingRun> run_;
};
