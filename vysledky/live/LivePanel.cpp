#include "vysledky/live/LivePanel.h"

#include "vysledky/TimeText.h"

namespace {
using Phase = TimingRun::Phase;
using End = TimingRun::End;

QString clockText(qint64 hours, qint64 minutes, qint64 seconds, const QString& fraction) {
    const auto two = [](qint64 n) { return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')); };
    if (hours > 0) {
        return QStringLiteral("%1:%2:%3,%4").arg(hours).arg(two(minutes), two(seconds), fraction);
    }
    if (minutes > 0) {
        return QStringLiteral("%1:%2,%3").arg(minutes).arg(two(seconds), fraction);
    }
    return QStringLiteral("%1,%2").arg(seconds).arg(fraction);
}

// A finish or a stop is timed by its text; the other ends when the run ended.
qint64 frozenMillis(const TimingRun& run) {
    if (const auto millis = TimeText::millis(run.result)) {
        return *millis;
    }
    return run.endedAtMs - run.startedAtMs;
}

// The team's place once the finish is in the log's results: its row in the ranking, found by
// the attempt with this result.
QString placeText(const TimingRun& run, const QList<Attempt>& attempts,
                  const QList<RankingRow>& ranking) {
    const QString key = teamKey(run.team.isEmpty() ? noTeamName() : run.team);
    const auto result = TimeText::millis(run.result);
    for (qsizetype i = attempts.size() - 1; i >= 0; --i) {
        const Attempt& attempt = attempts[i];
        if (attempt.state != AttemptState::Valid || teamKey(attempt.team) != key ||
            TimeText::millis(attempt.result) != result) {
            continue;
        }
        for (const RankingRow& row : ranking) {
            if (row.place > 0 && teamKey(row.team) == key) {
                return row.category.isEmpty()
                           ? QStringLiteral("%1. místo").arg(row.place)
                           : QStringLiteral("%1. místo (%2)").arg(row.place).arg(row.category);
            }
        }
        break;
    }
    return {};
}

QString endText(const TimingRun& run, const QList<Attempt>& attempts,
                const QList<RankingRow>& ranking) {
    switch (run.end) {
    case End::Finish: {
        const QString place = placeText(run, attempts, ranking);
        const QString result = QStringLiteral("výsledek ") + LivePanel::shortTime(run.result);
        return place.isEmpty() ? result : result + QStringLiteral(" · ") + place;
    }
    case End::Stop:
        return QStringLiteral("zastaveno");
    case End::Disqualification:
        return QStringLiteral("diskvalifikace");
    case End::Annulment:
        return QStringLiteral("start anulován");
    case End::None:
        break;
    }
    return {};
}
} // namespace

bool LivePanel::take(const TimingRun& run) {
    if (run_ && run.seq <= run_->seq) {
        return false;
    }
    run_ = run;
    return true;
}

std::optional<qint64> LivePanel::hidesAtMs() const {
    if (run_ && run_->phase == Phase::Ended) {
        return run_->endedAtMs + shownAfterEndMs;
    }
    return std::nullopt;
}

PanelView LivePanel::view(qint64 nowMs, const QList<Attempt>& attempts,
                          const QList<RankingRow>& ranking) const {
    PanelView view;
    if (!run_ || run_->phase == Phase::Idle ||
        (run_->phase == Phase::Ended && nowMs >= *hidesAtMs())) {
        return view;
    }
    const TimingRun& run = *run_;
    view.shown = true;
    view.running = run.phase == Phase::Running;
    view.team = run.team;
    view.elapsedMs =
        std::max<qint64>(0, view.running ? nowMs - run.startedAtMs : frozenMillis(run));
    view.time = hundredths(view.elapsedMs);
    view.lane1 = shortTime(run.lane1);
    view.lane2 = shortTime(run.lane2);
    if (!view.running) {
        view.end = endText(run, attempts, ranking);
    }
    return view;
}

QString LivePanel::shortTime(const QString& text) {
    const auto millis = TimeText::millis(text);
    if (!millis) {
        return text;
    }
    const qint64 ms = *millis;
    return clockText(ms / 3'600'000, ms / 60'000 % 60, ms / 1000 % 60,
                     QStringLiteral("%1").arg(ms % 1000, 3, 10, QLatin1Char('0')));
}

QString LivePanel::hundredths(qint64 millis) {
    return clockText(millis / 3'600'000, millis / 60'000 % 60, millis / 1000 % 60,
                     QStringLiteral("%1").arg(millis % 1000 / 10, 2, 10, QLatin1Char('0')));
}
