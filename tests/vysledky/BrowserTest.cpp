#include "tests/vysledky/LogBytes.h"
#include "vysledky/LogFollower.h"
#include "vysledky/StartList.h"
#include "vysledky/live/LiveFeed.h"
#include "vysledky/web/LiveJson.h"
#include "vysledky/web/ResultsServer.h"

#include <QDBusConnection>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTcpSocket>
#include <QTest>
#include <QWebSocket>

#include <gtest/gtest.h>

namespace {
// Headless Chromium on a server that follows a log of its own, with a start list's categories.
class Browser : public ::testing::Test {
protected:
    void SetUp() override {
        chromium_ = QStandardPaths::findExecutable(QStringLiteral("chromium"));
        if (chromium_.isEmpty()) {
            GTEST_SKIP() << "chromium is not installed (apt-get install chromium)";
        }
        QObject::connect(&follower, &LogFollower::updated, &server,
                         [this] { server.publish(follower); });
    }
    void serve(const QByteArray& bytes, const QByteArray& list) {
        log.write(bytes);
        StartList startList;
        QString error;
        ASSERT_TRUE(StartList::parse(list, startList, error)) << error.toStdString();
        follower.setStartList(startList);
        follower.refresh();
        ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0, error)) << error.toStdString();
    }
    // The page at path, with the options given.
    void open(QProcess& browser, const QString& path, const QStringList& options) {
        browser.start(
            chromium_,
            QStringList{"--headless", "--no-sandbox", "--disable-gpu",
                        "--user-data-dir=" + profile.path()} +
                options +
                QStringList{QStringLiteral("http://127.0.0.1:%1%2").arg(server.port()).arg(path)});
    }

    TempLog log;
    LogFollower follower{log.path()};
    ResultsServer server;
    QTemporaryDir profile;

private:
    QString chromium_;
};
} // namespace

namespace {
// Asks a page of a Chromium started with --remote-debugging-port=0 through its debugging
// protocol: each call's answer, or an empty object after a few seconds.
class DevTools {
public:
    explicit DevTools(const QString& profile) {
        QFile active(profile + QStringLiteral("/DevToolsActivePort"));
        QByteArray list;
        [[maybe_unused]] const bool listed = QTest::qWaitFor([&] {
            if (!active.open(QIODevice::ReadOnly)) {
                return false;
            }
            const QByteArray port = active.readLine().trimmed();
            active.close();
            QTcpSocket http;
            http.connectToHost(QHostAddress::LocalHost, port.toUShort());
            http.write("GET /json/list HTTP/1.1\r\nHost: 127.0.0.1:" + port + "\r\n\r\n");
            return QTest::qWaitFor([&] { return (list += http.readAll()).endsWith("]\n"); }, 2000);
        });
        static const QRegularExpression page(
            QStringLiteral(R"re("type": "page",[^}]*"webSocketDebuggerUrl": "([^"]+)")re"));
        QObject::connect(&socket_, &QWebSocket::textMessageReceived, [this](const QString& text) {
            const QJsonObject answer = QJsonDocument::fromJson(text.toUtf8()).object();
            answers_.insert(answer.value(QStringLiteral("id")).toInt(), answer);
        });
        socket_.open(QUrl(page.match(QString::fromUtf8(list)).captured(1)));
        [[maybe_unused]] const bool open = QTest::qWaitFor(
            [&] { return socket_.state() == QAbstractSocket::ConnectedState; }, 5000);
    }

    QJsonObject call(const char* method, const QJsonObject& params) {
        const int id = ++calls_;
        socket_.sendTextMessage(QString::fromUtf8(
            QJsonDocument({{"id", id}, {"method", method}, {"params", params}}).toJson()));
        [[maybe_unused]] const bool answered =
            QTest::qWaitFor([&] { return answers_.contains(id); }, 5000);
        return answers_.value(id).value(QStringLiteral("result")).toObject();
    }

    // The script's value once it is not null.
    QJsonValue evaluate(const QString& script) {
        QJsonValue value;
        [[maybe_unused]] const bool found = QTest::qWaitFor([&] {
            value = call("Runtime.evaluate", {{"expression", script}, {"returnByValue", true}})
                        .value(QStringLiteral("result"))
                        .toObject()
                        .value(QStringLiteral("value"));
            return !value.isNull() && !value.isUndefined();
        });
        return value;
    }

private:
    QWebSocket socket_;
    QHash<int, QJsonObject> answers_;
    int calls_ = 0;
};
} // namespace

// The phone page: each category's ranking with the list's spelling, names as plain text, and
// the line appended once the page has read its first data (newest first), without loading the
// page again.
TEST_F(Browser, ThePhonePageShowsTheRankingAndFollowsTheLog) {
    ASSERT_NO_FATAL_FAILURE(serve(logOf({"SDH Lhota", "@1 00:00:18:100", "@2 00:00:18:500",
                                         "<b>Jiskra</b>", "@1 00:00:19:000", "@2 00:00:19:250"}),
                                  "družstvo;kategorie\nsdh lhota;muži\n<b>Jiskra</b>;ženy\n"));
    bool appended = false;
    QObject::connect(&server, &ResultsServer::served, [&](const QString& path, int status) {
        if (path == u"/data.json" && status == 200 && !appended) {
            appended = true;
            log.append(logOf({"Orel Bela", "@1 00:00:17:700", "@2 00:00:17:900"}));
            follower.refresh();
        }
    });

    QProcess browser;
    open(browser, "/", {"--remote-debugging-port=0", "--remote-allow-origins=*"});
    const QString dom =
        DevTools(profile.path())
            .evaluate(QStringLiteral("(html => html.includes('Orel Bela') ? html : null)("
                                     "document.documentElement.outerHTML)"))
            .toString();
    browser.terminate();
    browser.waitForFinished();
    for (const char* shown : {
             R"(<h2>muži</h2><table class="poradi"><thead><tr><th>místo</th><th>družstvo</th>)"
             R"(<th>výsledek</th></tr></thead><tbody><tr><td class="cislo">1.</td>)"
             R"(<td>sdh lhota</td><td class="cas">18,500</td></tr></tbody></table>)",
             R"(<h2>ženy</h2><table class="poradi">)",
             R"(<td>&lt;b&gt;Jiskra&lt;/b&gt;</td><td class="cas">19,250</td>)",
             R"(<h2>bez kategorie</h2>)",
             R"(<tbody><tr><td class="cislo">3</td><td>Orel Bela<span class="kategorie">)"
             R"(bez kategorie</span></td><td class="cas">17,700</td>)",
         }) {
        EXPECT_TRUE(dom.contains(QString::fromUtf8(shown))) << shown << "\n" << dom.toStdString();
    }
}

// Five categories of long names on a 1920x1080 screen: nothing scrolls, every ranking row,
// heading and time lies inside the screen, and each category shows at least three teams.
TEST_F(Browser, TheBigScreenFitsFiveCategoriesOfLongNames) {
    QByteArray list = "družstvo;kategorie\n";
    QByteArray lines;
    for (const char* category : {"muži", "ženy", "dorost muži", "dorost ženy", "veteráni"}) {
        for (int t = 0; t < 8; ++t) {
            const QByteArray team = "Sbor dobrovolnych hasicu Horni Dolni Lhota nad Vltavou " +
                                    QByteArray(category).toBase64() + QByteArray::number(t);
            const QByteArray second = "00:00:" + QByteArray::number(20 + t);
            list += team + ';' + category + '\n';
            lines += logOf({team, "@1 " + second + ":100", "@2 " + second + ":200"});
        }
    }
    ASSERT_NO_FATAL_FAILURE(serve(lines, list));
    QProcess browser;
    open(browser, "/tabule", {"--remote-debugging-port=0", "--remote-allow-origins=*"});
    DevTools page(profile.path());
    // The viewport itself, without the browser's frame.
    page.call("Emulation.setDeviceMetricsOverride",
              {{"width", 1920}, {"height", 1080}, {"deviceScaleFactor", 1}, {"mobile", false}});
    const QJsonObject shown = page.evaluate(QStringLiteral(R"(
        innerHeight !== 1080 || !document.querySelector('#poradi tr') ? null : {
          scrolls: document.documentElement.scrollHeight > innerHeight,
          rows: [...document.querySelectorAll('#poradi section')].map(
            (section) => section.querySelectorAll('tbody tr').length),
          boxes: [...document.querySelectorAll('#poradi tr, #poradi h2, .cas')].map((e) => {
            const r = e.getBoundingClientRect();
            return [r.left, r.top, r.right, r.bottom];
          })
        })"))
                                  .toObject();
    browser.terminate();
    browser.waitForFinished();
    ASSERT_FALSE(shown.isEmpty()) << "the page showed no ranking";
    EXPECT_FALSE(shown[QStringLiteral("scrolls")].toBool());
    EXPECT_EQ(QJsonDocument(shown[QStringLiteral("rows")].toArray()).toJson(QJsonDocument::Compact),
              "[5,5,5,5,5]");
    for (const QJsonValue box : shown[QStringLiteral("boxes")].toArray()) {
        EXPECT_TRUE(box[0].toDouble() >= 0 && box[1].toDouble() >= 0 && box[2].toDouble() <= 1920 &&
                    box[3].toDouble() <= 1080)
            << QJsonDocument(box.toArray()).toJson().toStdString();
    }
}

namespace {
// The run from the fake timing program on a private bus, driven line by line.
class LiveRun : public Browser {
protected:
    void SetUp() override {
        Browser::SetUp();
        if (IsSkipped() ||
            QStandardPaths::findExecutable(QStringLiteral("dbus-daemon")).isEmpty()) {
            GTEST_SKIP() << "chromium or dbus-daemon is not installed";
        }
        bus_.start(QStringLiteral("dbus-daemon"), {"--session", "--nofork", "--print-address"});
        ASSERT_TRUE(bus_.waitForReadyRead(10'000));
        const QByteArray address = bus_.readLine().trimmed();
        qputenv("DBUS_SESSION_BUS_ADDRESS", address); // for the fake timing program
        timing_.start(QStringLiteral(FAKE_TIMING_PROGRAM), QStringList());
        ASSERT_TRUE(timing_.waitForReadyRead(10'000));
        feed.follow(&follower);
        feed.listen(QDBusConnection::connectToBus(QString::fromLatin1(address), "live"));
        server.live().setSource([this] { return LiveJson::event(feed); });
        QObject::connect(&feed, &LiveFeed::changed, &server, [this] { server.live().send(); });
    }
    void TearDown() override {
        timing_.closeWriteChannel();
        timing_.waitForFinished();
        bus_.terminate();
        bus_.waitForFinished();
    }
    void timing(const QByteArray& line) { timing_.write(line + '\n'); }

    qint64 later = 0; // added to the monotonic clock: the end's 15 s without waiting for them
    LiveFeed feed{[this] { return LiveFeed::monotonicMillis() + later; }};

private:
    QProcess bus_;
    QProcess timing_;
};

QString text(const char* id) {
    return QStringLiteral("document.getElementById('%1').textContent").arg(id);
}
} // namespace

// The big screen during a run: the clock runs, a lane lands with its thousandths, the finish stays
// with its place once it is in the log, readable from afar at both screen sizes, and the panel
// goes 15 s after the end, giving the latest attempt its place back.
TEST_F(LiveRun, TheBigScreenShowsTheRunAsItHappens) {
    const QByteArray team = "Sbor dobrovolnych hasicu Horni Dolni Lhota nad Vltavou";
    ASSERT_NO_FATAL_FAILURE(serve(logOf({"Jiskra", "@1 00:00:19:000", "@2 00:00:19:250"}),
                                  "družstvo;kategorie\nJiskra;muži\n" + team + ";muži\n"));
    QProcess browser;
    open(browser, "/tabule", {"--remote-debugging-port=0", "--remote-allow-origins=*"});
    DevTools page(profile.path());
    timing("team " + team);
    timing("start 17000");
    const QString first =
        page.evaluate(text("nt-cas") + ".startsWith('1') && " + text("nt-cas") + " || null")
            .toString();
    EXPECT_GE(first.section(u',', 0, 0).toInt(), 17) << first.toStdString();
    EXPECT_EQ(page.evaluate(text("nt-cas") + " !== '" + first + "' || null"), true) << "stopped";
    timing("lane1 00:00:17:204");
    EXPECT_EQ(page.evaluate(text("nt-draha1") + " === '17,204' || null"), true);

    log.append(logOf({team, "@1 00:00:17:204", "@2 00:00:18:500"}));
    timing("lane2 00:00:18:500");
    timing("finish");
    follower.refresh();
    EXPECT_EQ(page.evaluate(text("nt-konec") + " === 'výsledek 18,500 · 1. místo (muži)' && " +
                            text("nt-cas") + " === '18,50' || null"),
              true);
    for (const int height : {1080, 720}) {
        page.call("Emulation.setDeviceMetricsOverride", {{"width", height * 16 / 9},
                                                         {"height", height},
                                                         {"deviceScaleFactor", 1},
                                                         {"mobile", false}});
        // The time a fifth of the screen, the lanes a tenth, the team a fifteenth on one line cut
        // short, and every ranking row inside the screen.
        const QJsonArray fits = page.evaluate(QStringLiteral(R"(innerHeight !== %1 ? null : (() => {
            const high = (e) => e.getBoundingClientRect().height / innerHeight;
            const lanes = [...document.querySelectorAll('#na-trati .drahy .cas')].map(high);
            const team = document.getElementById('nt-druzstvo');
            const rows = [...document.querySelectorAll('#poradi tr')];
            const sizes = [high(document.getElementById('nt-cas')), ...lanes, high(team)];
            return [sizes[0] >= 1 / 5 && Math.min(...lanes) >= 1 / 10 && high(team) >= 1 / 15 &&
              high(team) < 2 / 15 && team.scrollWidth > team.clientWidth && rows.length > 0 &&
              rows.every((r) => r.getBoundingClientRect().bottom <= innerHeight),
              sizes.join(' ')]; })())")
                                                  .arg(height))
                                    .toArray();
        EXPECT_TRUE(fits[0].toBool()) << height << ": " << fits[1].toString().toStdString();
    }

    later = LivePanel::shownAfterEndMs;
    feed.checkEnd();
    EXPECT_EQ(page.evaluate("document.getElementById('na-trati').hidden && " +
                            text("posledni-druzstvo") + ".startsWith('Sbor') || null"),
              true);
    browser.terminate();
    browser.waitForFinished();
}
