#include "publish/RunPublisher.h"
#include "tests/support/Engine.h"
#include "tests/support/Printers.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDeadlineTimer>
#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <sstream>

namespace {

// A reader of the run on the bus: every RunChanged it receives, each told in one line.
class Listener final : public QObject {
    Q_OBJECT
public:
    QStringList heard;
    static QString line(const QVariantMap& run) {
        QStringList items;
        for (const char* key : {"seq", "event", "phase", "team", "startedAtMs", "lane1", "lane2",
                                "end", "result", "endedAtMs"}) {
            items << run.value(QLatin1String(key)).toString();
        }
        return items.join(u'/');
    }
public slots:
    void changed(const QVariantMap& run) { heard << line(run); }
};

// The timing program's race on the fakes, published on a private bus, and a reader on another
// connection: what each event of the race puts on the bus, and what a reader joining later gets.
TEST(RunPublisher, EachEventOfTheRacePutsTheWholeRunOnTheBus) {
    if (QStandardPaths::findExecutable(QStringLiteral("dbus-daemon")).isEmpty()) {
        GTEST_SKIP() << "dbus-daemon is not installed (package dbus)";
    }
    QProcess daemon;
    daemon.start(QStringLiteral("dbus-daemon"), {"--session", "--nofork", "--print-address"});
    ASSERT_TRUE(daemon.waitForReadyRead(10000));
    const QString address = QString::fromLatin1(daemon.readLine().trimmed());
    const struct Row {
        const char* name;
        std::function<void(Engine&)> play;
        QStringList heard; // seq/event/phase/team/startedAtMs/lane1/lane2/end/result/endedAtMs
    } rows[] = {
        {"a team saved, a start, both lanes, the finish",
         [](Engine& e) {
             e.window.team = QStringLiteral(" SDH Lhota ");
             e.during([&e] { e.race.saveTeam(); });
             e.pulseLine(&FakeLines::dcd);
             e.at(1'500'000, [&e] { e.lines.cts = true; });
             e.at(1'800'000, [&e] { e.lines.dsr = true; });
             e.passes(900);
         },
         {"1/team/idle/SDH Lhota/0/////0", "2/start/running/SDH Lhota/2/////0",
          "3/lane1/running/SDH Lhota/2/00:00:01:498////0",
          "4/lane2/running/SDH Lhota/2/00:00:01:498/00:00:01:798///0",
          "5/finish/ended/SDH Lhota/2/00:00:01:498/00:00:01:798/finish/00:00:01:798/1800"}},
        {"a team saved mid-run, a lane, then stopped by hand and judged",
         [](Engine& e) {
             e.pulseLine(&FakeLines::dcd);
             e.window.team = QStringLiteral("Sokol");
             e.during([&e] { e.race.saveTeam(); });
             e.lines.cts = true;
             e.passes(2);
             e.lines.cts = false;
             e.during([&e] { e.race.stopByHand(); });
             e.during([&e] { e.race.disqualify(); });
         },
         {"1/start/running//1/////0", "2/team/running/Sokol/1/////0",
          "3/lane1/running/Sokol/1/00:00:01:003////0",
          "4/stop/ended/Sokol/1/00:00:01:003//stop/00:00:01:004/1005",
          "5/disqualification/ended/Sokol/1/00:00:01:003//disqualification//3006"}},
        {"an annulled start, a new start without a team, the lanes cleared",
         [](Engine& e) {
             e.window.team = QStringLiteral("Sokol");
             e.during([&e] { e.race.saveTeam(); });
             for (int i = 0; i < 4; ++i) {
                 e.pulseLine(&FakeLines::dcd);
             }
             e.during([&e] { e.race.clearLanes(); });
         },
         {"1/team/idle/Sokol/0/////0", "2/start/running/Sokol/2/////0",
          "3/annulment/ended/Sokol/2///annulment//2006", "4/start/running//3008/////0",
          "5/clear/running//3008/////0"}},
    };
    int run = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const QString name = QString::number(++run);
        auto publisherBus = QDBusConnection::connectToBus(address, QStringLiteral("p") + name);
        auto readerBus = QDBusConnection::connectToBus(address, QStringLiteral("r") + name);
        Engine e;
        std::ostringstream err;
        RunPublisher publisher(
            e.race.track(), [&e] { return e.time.us / 1000; }, err, publisherBus);
        ASSERT_TRUE(publisher.published()) << err.str();
        Listener listener;
        ASSERT_TRUE(readerBus.connect(
            QString::fromLatin1(RunPublisher::service), QString::fromLatin1(RunPublisher::path),
            QStringLiteral("cz.tavorin.Timing1"), QStringLiteral("RunChanged"), &listener,
            SLOT(changed(QVariantMap))));
        row.play(e);
        // A reader joining now gets the whole run at once.
        const QDBusReply<QVariantMap> joined = readerBus.call(
            QDBusMessage::createMethodCall(
                QString::fromLatin1(RunPublisher::service), QString::fromLatin1(RunPublisher::path),
                QStringLiteral("cz.tavorin.Timing1"), QStringLiteral("GetRun")),
            QDBus::BlockWithGui);
        ASSERT_TRUE(joined.isValid()) << joined.error().message().toStdString();
        EXPECT_EQ(Listener::line(joined.value()), row.heard.last());
        EXPECT_EQ(joined.value().value(QStringLiteral("nowMs")).toLongLong(), e.time.us / 1000);
        // The signals are on their way; a busy machine may take a while to deliver them.
        const QDeadlineTimer giveUp(20'000);
        while (listener.heard.size() < row.heard.size() && !giveUp.hasExpired()) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        }
        EXPECT_EQ(listener.heard, row.heard);
        QDBusConnection::disconnectFromBus(readerBus.name());
        QDBusConnection::disconnectFromBus(publisherBus.name());
    }
    daemon.terminate();
    daemon.waitForFinished();
}

// Without a session bus the program says so once, in both languages, and runs on.
TEST(RunPublisher, WithoutABusItSaysSoAndTheRaceRunsOn) {
    Engine e;
    std::ostringstream err;
    RunPublisher publisher(
        e.race.track(), [] { return std::int64_t{0}; }, err,
        QDBusConnection::connectToBus(QStringLiteral("unix:path=/nonexistent"),
                                      QStringLiteral("none")));
    EXPECT_FALSE(publisher.published());
    EXPECT_EQ(err.str(), "tavorin: průběh závodu se nezveřejní na D-Bus (org.freedesktop.DBus."
                         "Error.FileNotFound) / the run is not published on D-Bus "
                         "(org.freedesktop.DBus.Error.FileNotFound)\n");
    e.pulseLine(&FakeLines::dcd);
    EXPECT_EQ(e.race.state().raceState, 1);
}

} // namespace

#include "RunPublisherTest.moc"
