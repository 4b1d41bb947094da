// How long the desk's decisions take to apply: 2,000 attempts of 200 teams in 4 categories (a
// league's season on one log) and 200 decisions of every kind, read from the corrections file's
// bytes, applied and ranked as every change of the log or the file does. Run by hand:
//   build/vysledky/desk/vysledky-desk-bench [ROUNDS]
#include "vysledky/AttemptBuilder.h"
#include "vysledky/Standings.h"
#include "vysledky/desk/CorrectionsFile.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStringList>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {
QString time(int millis) {
    return QStringLiteral("00:00:%1:%2")
        .arg(millis / 1000, 2, 10, QLatin1Char('0'))
        .arg(millis % 1000, 3, 10, QLatin1Char('0'));
}

QList<Attempt> season(int attempts) {
    AttemptBuilder builder;
    for (int i = 0; i < attempts; ++i) {
        // Every tenth run saved without a name.
        builder.addLine(i % 10 == 0 ? QString() : QStringLiteral("Tým %1").arg(i % 200));
        builder.addLine(QStringLiteral(" dráha c.1 ") + time(15000 + (i * 7919) % 9000));
        builder.addLine(QStringLiteral(" dráha c.2 ") + time(15000 + (i * 104729) % 9000));
    }
    builder.addLine(QStringLiteral("konec"));
    return builder.attempts();
}

QByteArray decisions(const QList<Attempt>& attempts, int count) {
    QByteArray file;
    for (int i = 0; i < count; ++i) {
        Decision decision;
        decision.when = QStringLiteral("2026-06-14 10:00:00");
        decision.attempt = 1 + (i * 10) % static_cast<int>(attempts.size());
        decision.fingerprint = attempts[decision.attempt - 1].fingerprint();
        decision.kind = static_cast<Decision::Kind>(i % 4);
        decision.value = QStringLiteral("Tým %1").arg(i);
        decision.reason = QStringLiteral("rozhodnutí rozhodčích č. %1").arg(i);
        file += CorrectionsFile::line(decision);
    }
    return file;
}

StartList league() {
    QByteArray csv = "družstvo;kategorie\r\n";
    for (int team = 0; team < 200; ++team) {
        csv += QStringLiteral("Tým %1;kategorie %2\r\n").arg(team).arg(team % 4).toUtf8();
    }
    StartList list;
    QString error;
    StartList::parse(csv, list, error);
    return list;
}
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : 50;
    const QList<Attempt> attempts = season(2000);
    const QByteArray file = decisions(attempts, 200);
    const StartList list = league();
    std::vector<double> millis;
    qsizetype ranked = 0;
    for (int round = 0; round < rounds; ++round) {
        QElapsedTimer timer;
        timer.start();
        const Standings standings = makeStandings(attempts, CorrectionsFile::parse(file), list);
        millis.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
        ranked = standings.ranking.size();
    }
    std::sort(millis.begin(), millis.end());
    std::printf("attempts 2000, decisions 200, ranked teams %lld, rounds %d\n"
                "parse + apply + rank (ms): median %.2f, max %.2f (goal: at most 50)\n",
                static_cast<long long>(ranked), rounds, millis[millis.size() / 2], millis.back());
    return 0;
}
