#include "tests/vysledky/LogBytes.h"
#include "vysledky/LogFollower.h"
#include "vysledky/ResultsServer.h"
#include "vysledky/StartList.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTcpSocket>
#include <QTest>
#include <QWebSocket>

#include <gtest/gtest.h>

// Headless Chromium on the phone page: each category's ranking with the list's spelling, names
// as plain text, and the line appended once the page has read its first data (newest first),
// without loading the page again. The DOM is taken 2 s (virtual time) after loading.
TEST(Browser, ThePhonePageShowsTheRankingAndFollowsTheLog) {
    const QString chromium = QStandardPaths::findExecutable(QStringLiteral("chromium"));
    if (chromium.isEmpty()) {
        GTEST_SKIP() << "chromium is not installed (apt-get install chromium)";
    }
    TempLog log;
    log.write(logOf({"SDH Lhota", "@1 00:00:18:100", "@2 00:00:18:500", "<b>Jiskra</b>",
                     "@1 00:00:19:000", "@2 00:00:19:250"}));
    StartList list;
    QString error;
    ASSERT_TRUE(
        StartList::parse("družstvo;kategorie\nsdh lhota;muži\n<b>Jiskra</b>;ženy\n", list, error));
    LogFollower follower(log.path());
    follower.setStartList(list);
    ResultsServer server;
    QObject::connect(&follower, &LogFollower::updated, &server, [&] { server.publish(follower); });
    follower.refresh();
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0, error)) << error.toStdString();

    bool appended = false;
    QObject::connect(&server, &ResultsServer::served, [&](const QString& path, int status) {
        if (path == u"/data.json" && status == 200 && !appended) {
            appended = true;
            log.append(logOf({"Orel Bela", "@1 00:00:17:700", "@2 00:00:17:900"}));
            follower.refresh();
        }
    });

    QTemporaryDir profile;
    QProcess browser;
    QSignalSpy finished(&browser, &QProcess::finished);
    browser.start(chromium,
                  {QStringLiteral("--headless"), QStringLiteral("--no-sandbox"),
                   QStringLiteral("--disable-gpu"),
                   QStringLiteral("--user-data-dir=") + profile.path(),
                   QStringLiteral("--virtual-time-budget=2000"), QStringLiteral("--dump-dom"),
                   QStringLiteral("http://127.0.0.1:%1/").arg(server.port())});
    ASSERT_TRUE(finished.wait(30'000)) << "chromium did not finish";
    const QString dom = QString::fromUtf8(browser.readAllStandardOutput());

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

namespace {
// Chromium with a window of the given size on url, asked through its debugging protocol: the
// value of a script once it is not null, or null after about 20 s.
class Chromium {
public:
    Chromium(const QString& program, const QString& url, const QString& size) {
        process_.start(program, {QStringLiteral("--headless"), QStringLiteral("--no-sandbox"),
                                 QStringLiteral("--disable-gpu"),
                                 QStringLiteral("--user-data-dir=") + profile_.path(),
                                 QStringLiteral("--window-size=") + size,
                                 QStringLiteral("--remote-debugging-port=0"),
                                 QStringLiteral("--remote-allow-origins=*"), url});
    }
    ~Chromium() {
        process_.kill();
        process_.waitForFinished();
    }

    // The page's viewport exactly, without the browser's own frame.
    bool setViewport(int width, int height) {
        return connectToPage() &&
               call(QStringLiteral("Emulation.setDeviceMetricsOverride"), {{"width", width},
                                                                           {"height", height},
                                                                           {"deviceScaleFactor", 1},
                                                                           {"mobile", false}})
                   .contains(QStringLiteral("result"));
    }

    QJsonValue evaluate(const QString& script) {
        if (!connectToPage()) {
            return {};
        }
        QJsonValue value;
        [[maybe_unused]] const bool found = QTest::qWaitFor(
            [&] {
                socket_.sendTextMessage(
                    QJsonDocument(QJsonObject{{"id", ++id_},
                                              {"method", "Runtime.evaluate"},
                                              {"params", QJsonObject{{"expression", script},
                                                                     {"returnByValue", true}}}})
                        .toJson());
                const int id = id_;
                [[maybe_unused]] const bool answered =
                    QTest::qWaitFor([&] { return answers_.contains(id); }, 2000);
                value = answers_.value(id)
                            .value(QStringLiteral("result"))
                            .toObject()
                            .value(QStringLiteral("result"))
                            .toObject()
                            .value(QStringLiteral("value"));
                return !value.isNull() && !value.isUndefined();
            },
            20'000);
        return value;
    }

private:
    QJsonObject call(const QString& method, const QJsonObject& params) {
        const int id = ++id_;
        socket_.sendTextMessage(
            QJsonDocument(QJsonObject{{"id", id}, {"method", method}, {"params", params}})
                .toJson());
        [[maybe_unused]] const bool answered =
            QTest::qWaitFor([&] { return answers_.contains(id); }, 5000);
        return answers_.value(id);
    }

    // The port is in DevToolsActivePort once the browser listens; the page's address in
    // /json/list.
    bool connectToPage() {
        if (socket_.state() == QAbstractSocket::ConnectedState) {
            return true;
        }
        QFile active(profile_.filePath(QStringLiteral("DevToolsActivePort")));
        QByteArray page;
        [[maybe_unused]] const bool listening = QTest::qWaitFor(
            [&] {
                if (!active.open(QIODevice::ReadOnly)) {
                    return false;
                }
                const QByteArray port = active.readLine().trimmed();
                active.close();
                QTcpSocket http;
                [[maybe_unused]] bool listed = false;
                http.connectToHost(QHostAddress::LocalHost, port.toUShort());
                http.write("GET /json/list HTTP/1.1\r\nHost: 127.0.0.1:" + port + "\r\n\r\n");
                QByteArray reply;
                listed = QTest::qWaitFor(
                    [&] {
                        reply += http.readAll();
                        return reply.contains("webSocketDebuggerUrl") && reply.endsWith("]\n");
                    },
                    2000);
                const QJsonArray targets =
                    QJsonDocument::fromJson(reply.mid(reply.indexOf("\r\n\r\n") + 4)).array();
                for (const QJsonValue& target : targets) {
                    if (target[QStringLiteral("type")].toString() == u"page") {
                        page = target[QStringLiteral("webSocketDebuggerUrl")].toString().toUtf8();
                    }
                }
                return !page.isEmpty();
            },
            20'000);
        QObject::connect(&socket_, &QWebSocket::textMessageReceived, [this](const QString& text) {
            const QJsonObject answer = QJsonDocument::fromJson(text.toUtf8()).object();
            answers_.insert(answer.value(QStringLiteral("id")).toInt(), answer);
        });
        socket_.open(QUrl(QString::fromUtf8(page)));
        return QTest::qWaitFor([&] { return socket_.state() == QAbstractSocket::ConnectedState; },
                               5000);
    }

    QTemporaryDir profile_;
    QProcess process_;
    QWebSocket socket_;
    QHash<int, QJsonObject> answers_;
    int id_ = 0;
};
} // namespace

// Five categories of long names on a 1920x1080 screen: every ranking row and heading lies
// inside the screen, nothing scrolls, and each category shows at least three teams.
TEST(Browser, TheBigScreenFitsFiveCategoriesOfLongNames) {
    const QString chromium = QStandardPaths::findExecutable(QStringLiteral("chromium"));
    if (chromium.isEmpty()) {
        GTEST_SKIP() << "chromium is not installed (apt-get install chromium)";
    }
    QByteArray list = "družstvo;kategorie\n";
    LogBytes lines;
    const char* categories[] = {"muži", "ženy", "dorost muži", "dorost ženy", "veteráni"};
    for (int c = 0; c < 5; ++c) {
        for (int t = 0; t < 8; ++t) {
            const QByteArray team = "Sbor dobrovolnych hasicu Horni Dolni Lhota nad Vltavou " +
                                    QByteArray::number(c) + QByteArray::number(t);
            list += team + ';' + categories[c] + '\n';
            lines.team(team);
            lines.lane1("00:00:" + QByteArray::number(20 + t) + ":100");
            lines.lane2("00:00:" + QByteArray::number(20 + t) + ":200");
        }
    }
    TempLog log;
    log.write(lines.bytes);
    StartList startList;
    QString error;
    ASSERT_TRUE(StartList::parse(list, startList, error)) << error.toStdString();
    LogFollower follower(log.path());
    follower.setStartList(startList);
    ResultsServer server;
    follower.refresh();
    server.publish(follower);
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0, error)) << error.toStdString();

    Chromium browser(chromium, QStringLiteral("http://127.0.0.1:%1/tabule").arg(server.port()),
                     QStringLiteral("1920,1080"));
    ASSERT_TRUE(browser.setViewport(1920, 1080));
    const QJsonValue shown = browser.evaluate(QStringLiteral(R"(
        document.querySelectorAll('#poradi tr').length === 0 ? null : {
          width: innerWidth, height: innerHeight,
          scrolls: document.documentElement.scrollHeight > innerHeight,
          sections: [...document.querySelectorAll('#poradi section')].map(
            (s) => s.querySelectorAll('tr').length),
          boxes: [...document.querySelectorAll('#poradi tr, #poradi h2, .cas')].map((e) => {
            const r = e.getBoundingClientRect();
            return [r.left, r.top, r.right, r.bottom];
          })
        })"));
    ASSERT_TRUE(shown.isObject()) << "the page showed no ranking";
    EXPECT_EQ(shown[QStringLiteral("width")].toInt(), 1920);
    EXPECT_EQ(shown[QStringLiteral("height")].toInt(), 1080);
    EXPECT_FALSE(shown[QStringLiteral("scrolls")].toBool());
    const QJsonArray sections = shown[QStringLiteral("sections")].toArray();
    ASSERT_EQ(sections.size(), 5);
    for (const QJsonValue rows : sections) {
        EXPECT_GE(rows.toInt(), 3);
    }
    for (const QJsonValue box : shown[QStringLiteral("boxes")].toArray()) {
        EXPECT_GE(box[0].toDouble(), 0);
        EXPECT_GE(box[1].toDouble(), 0);
        EXPECT_LE(box[2].toDouble(), 1920);
        EXPECT_LE(box[3].toDouble(), 1080);
    }
}
