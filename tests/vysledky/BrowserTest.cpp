#include "tests/vysledky/LogBytes.h"
#include "vysledky/LogFollower.h"
#include "vysledky/ResultsServer.h"
#include "vysledky/StartList.h"

#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>

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
