#include "vysledky/ResultsServer.h"
#include "tests/vysledky/HttpClient.h"
#include "tests/vysledky/LogBytes.h"
#include "vysledky/LogFollower.h"

#include <QFile>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {
const QByteArray hostile = "<script>alert(1)</script>";

// The server on loopback, on a port the system picks, following a log of its own.
class ServerTest : public ::testing::Test {
protected:
    void SetUp() override {
        log.write(
            logOf({hostile, "@1 00:00:17:100", "@2 00:00:17:200", "A & B", "@1 00:00:18:000"}));
        QObject::connect(&follower, &LogFollower::updated, &server,
                         [this] { server.publish(follower); });
        follower.refresh();
        QString error;
        ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0, error)) << error.toStdString();
    }

    TempLog log;
    LogFollower follower{log.path()};
    ResultsServer server;
};

QByteArray page(const char* name) {
    QFile file(QStringLiteral(VYSLEDKY_WEB_DIR "/") + QLatin1String(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("missing");
}
} // namespace

TEST_F(ServerTest, ServesEachRouteWithItsTypeAndBytes) {
    const struct {
        QByteArray path;
        QByteArray type;
        QByteArray body;
    } routes[] = {
        {"/", "text/html; charset=utf-8", page("index.html")},
        {"/tabule", "text/html; charset=utf-8", page("tabule.html")},
        {"/vysledky.js", "text/javascript; charset=utf-8", page("vysledky.js")},
        {"/vysledky.css", "text/css; charset=utf-8", page("vysledky.css")},
        {"/data.json?t=1", "application/json",
         R"({"kategorie":[{"nazev":"","poradi":[{"druzstvo":"\u003cscript\u003ealert(1)\u003c/script\u003e","misto":1,"vysledek":"00:00:17:200"}]}],)"
         R"("pokusu":2,"pokusy":[{"draha1":"00:00:18:000","draha2":"","druzstvo":"A \u0026 B","kategorie":"","platny":false,"pokus":2,"stav":"neúplný","vysledek":""},)"
         R"({"draha1":"00:00:17:100","draha2":"00:00:17:200","druzstvo":"\u003cscript\u003ealert(1)\u003c/script\u003e","kategorie":"","platny":true,"pokus":1,"stav":"platný","vysledek":"00:00:17:200"}],"stav":""})"},
        {"/pokusy.csv", "text/csv; charset=utf-8",
         "pokus;družstvo;dráha 1;dráha 2;výsledek;stav\r\n"
         "1;<script>alert(1)</script>;00:00:17:100;00:00:17:200;00:00:17:200;platný\r\n"
         "2;A & B;00:00:18:000;;;neúplný\r\n"},
        {"/poradi.csv", "text/csv; charset=utf-8",
         "místo;družstvo;výsledek\r\n1;<script>alert(1)</script>;00:00:17:200\r\n"},
    };
    HttpClient client(server.port()); // one connection for all: it stays open
    for (const auto& route : routes) {
        const HttpClient::Response response = client.exchange("GET", route.path);
        EXPECT_EQ(response.status, 200) << route.path.toStdString();
        EXPECT_EQ(response.headers.value("content-type"), route.type) << route.path.toStdString();
        EXPECT_EQ(response.headers.value("content-security-policy"), "default-src 'self'");
        EXPECT_EQ(response.headers.value("x-content-type-options"), "nosniff");
        EXPECT_EQ(response.body, route.body) << route.path.toStdString();
    }
}

TEST_F(ServerTest, AnswersAnUnchangedTagWithABodiless304) {
    HttpClient client(server.port());
    const HttpClient::Response first = client.exchange("GET", "/data.json");
    const QByteArray tag = first.headers.value("etag");
    ASSERT_FALSE(tag.isEmpty());

    const HttpClient::Response head = client.exchange("HEAD", "/data.json");
    EXPECT_EQ(head.status, 200);
    EXPECT_EQ(head.headers.value("etag"), tag);
    EXPECT_EQ(head.headers.value("content-length").toInt(), first.body.size());

    const HttpClient::Response same =
        client.exchange("GET", "/data.json", "If-None-Match: W/\"other\", " + tag + "\r\n");
    EXPECT_EQ(same.status, 304);
    EXPECT_EQ(same.headers.value("etag"), tag);

    log.append(logOf({"@2 00:00:18:400"}));
    follower.refresh();
    const HttpClient::Response changed =
        client.exchange("GET", "/data.json", "If-None-Match: " + tag + "\r\n");
    EXPECT_EQ(changed.status, 200);
    EXPECT_NE(changed.headers.value("etag"), tag);
    EXPECT_TRUE(changed.body.contains(R"("pokus":2,"stav":"platný","vysledek":"00:00:18:400")"))
        << changed.body.toStdString();
}

TEST_F(ServerTest, RefusesOtherPathsAndMethods) {
    const struct {
        QByteArray method;
        QByteArray path;
        int status;
    } requests[] = {
        {"GET", "/ZAVOD.TXT", 404},
        {"GET", "/../ZAVOD.TXT", 404},
        {"GET", "/%2e%2e/ZAVOD.TXT", 404},
        {"GET", "/data.json/", 404},
        {"HEAD", "/index.html", 404},
        {"POST", "/data.json", 405},
        {"PUT", "/", 405},
        {"DELETE", "/poradi.csv", 405},
        {"OPTIONS", "/tabule", 405},
    };
    HttpClient client(server.port());
    for (const auto& request : requests) {
        const HttpClient::Response response = client.exchange(request.method, request.path);
        EXPECT_EQ(response.status, request.status)
            << request.method.toStdString() << ' ' << request.path.toStdString();
        EXPECT_EQ(response.headers.value("allow"), request.status == 405 ? "GET, HEAD" : "");
        EXPECT_EQ(response.headers.value("content-security-policy"), "default-src 'self'");
    }
}

TEST_F(ServerTest, KeepsServingPastGarbageHalfRequestsAndAClientThatNeverReads) {
    HttpClient garbage(server.port());
    garbage.send(QByteArray("\x16\x03\x01\x02\x00 GET / \xFF\xFE\r\n\r\n", 17));
    EXPECT_NE(garbage.receive().status, 200);

    std::vector<std::unique_ptr<HttpClient>> halfOpen;
    for (int i = 0; i < 200; ++i) {
        halfOpen.push_back(std::make_unique<HttpClient>(server.port()));
        halfOpen.back()->send("GET /data.json HTTP/1.1\r\nHost: te");
    }
    HttpClient idle(server.port());
    idle.socket().setReadBufferSize(1);
    idle.send(HttpClient::request("GET", "/data.json").repeated(5000));

    HttpClient fresh(server.port());
    EXPECT_EQ(fresh.exchange("GET", "/").status, 200);
    EXPECT_EQ(fresh.exchange("GET", "/poradi.csv").status, 200);
}
