#include "vysledky/web/ResultsServer.h"
#include "tests/vysledky/HttpClient.h"
#include "tests/vysledky/LogBytes.h"
#include "vysledky/LogFollower.h"

#include <QFile>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {
const QByteArray hostile = "<script>alert(1)</script>";
const QByteArray policy = "default-src 'self'; frame-ancestors 'none'";

// The server on loopback, on a port the system picks, following a log of its own.
class ServerTest : public ::testing::Test {
protected:
    void SetUp() override {
        log.write(logOf({"@1 00:00:16:000", "@2 00:00:16:500", hostile, "@1 00:00:17:100",
                         "@2 00:00:17:200", "A & B", "@1 00:00:18:000"}));
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

bool closedByServer(HttpClient& client) {
    return QTest::qWaitFor(
        [&] { return client.socket().state() == QAbstractSocket::UnconnectedState; });
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
         // The nameless attempt is the fastest, yet it is not ranked: the pages count it.
         R"({"bezJmena":"1 pokus bez jména – přiřaďte ho družstvu",)"
         R"("kategorie":[{"nazev":"","poradi":[{"druzstvo":"\u003cscript\u003ealert(1)\u003c/script\u003e","misto":1,"vysledek":"00:00:17:200"},)"
         R"({"druzstvo":"A \u0026 B","misto":null,"vysledek":"NP"}]}],)"
         R"("pokusu":3,"pokusy":[{"bezJmena":false,"draha1":"00:00:18:000","draha2":"","druzstvo":"A \u0026 B","kategorie":"","oprava":"","platny":false,"pokus":3,"stav":"neúplný","vysledek":""},)"
         R"({"bezJmena":false,"draha1":"00:00:17:100","draha2":"00:00:17:200","druzstvo":"\u003cscript\u003ealert(1)\u003c/script\u003e","kategorie":"","oprava":"","platny":true,"pokus":2,"stav":"platný","vysledek":"00:00:17:200"},)"
         R"j({"bezJmena":true,"draha1":"00:00:16:000","draha2":"00:00:16:500","druzstvo":"(bez jména)","kategorie":"","oprava":"","platny":true,"pokus":1,"stav":"platný","vysledek":"00:00:16:500"}],"stav":""})j"},
        {"/pokusy.csv", "text/csv; charset=utf-8",
         "\xEF\xBB\xBFpokus;družstvo;dráha 1;dráha 2;výsledek;stav\r\n"
         "1;(bez jména);00:00:16:000;00:00:16:500;00:00:16:500;platný\r\n"
         "2;<script>alert(1)</script>;00:00:17:100;00:00:17:200;00:00:17:200;platný\r\n"
         "3;A & B;00:00:18:000;;;neúplný\r\n"},
        {"/poradi.csv", "text/csv; charset=utf-8",
         "\xEF\xBB\xBFmísto;družstvo;výsledek\r\n1;<script>alert(1)</script>;00:00:17:200\r\n"
         ";A & B;NP\r\n"
         ";1 pokus bez jména – přiřaďte ho družstvu;\r\n"},
    };
    HttpClient client(server.port()); // one connection for all: it stays open
    for (const auto& route : routes) {
        const HttpClient::Response response = client.exchange("GET", route.path);
        EXPECT_EQ(response.status, 200) << route.path.toStdString();
        EXPECT_EQ(response.headers.value("content-type"), route.type) << route.path.toStdString();
        EXPECT_EQ(response.headers.value("content-security-policy"), policy);
        EXPECT_EQ(response.headers.value("x-content-type-options"), "nosniff");
        EXPECT_EQ(response.headers.value("content-disposition"),
                  route.path.endsWith(".csv") ? "attachment; filename=\"" + route.path.mid(1) + '"'
                                              : QByteArray());
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
    EXPECT_TRUE(changed.body.contains(R"("pokus":3,"stav":"platný","vysledek":"00:00:18:400")"))
        << changed.body.toStdString();
}

// Other paths and methods, the request lines the HTTP server would drop unanswered or answer
// wrongly, and whether the connection stays for a next request.
TEST_F(ServerTest, RefusesOtherRequestsAndClosesWhenAsked) {
    const auto line = [](const char* method, const char* path) {
        return HttpClient::request(method, path);
    };
    const struct {
        QByteArray bytes;
        int status;
        bool closed = false;
    } requests[] = {
        {line("GET", "/ZAVOD.TXT"), 404},
        {line("GET", "/../ZAVOD.TXT"), 404},
        {line("GET", "/%2e%2e/ZAVOD.TXT"), 404},
        {line("GET", "/data.json/"), 301},
        {line("GET", "/tabule/"), 301},
        {line("GET", "/tabule//"), 404},
        {line("HEAD", "/index.html"), 404},
        {line("POST", "/data.json"), 405},
        {line("PUT", "/"), 405},
        {line("DELETE", "/poradi.csv"), 405},
        {line("OPTIONS", "/tabule"), 405},
        {"GARBAGE\r\n\r\n", 400, true},
        {"GET\r\n\r\n", 400, true},
        {"GET /\r\n\r\n", 400, true},
        {"GET / HTTP/1.1\r\nno colon\r\n\r\n", 400, true},
        {"GET  HTTP/1.1\r\n\r\n", 400, true},                   // no target
        {"GET /" + QByteArray(20'000, 'a'), 400, true},         // no line end, ever
        {QByteArray("\x16\x03\x01\x02\x00\x01", 6), 400, true}, // no line end needed
        {"GET / HTTP/9.9\r\n\r\n", 505, true},
        {"GET / HTTP/1.0\r\n\r\n", 200, true},
        {"\r\nGET / HTTP/1.1\r\nConnection: Keep-Alive, CLOSE\r\n\r\n", 200, true},
        {"GET / HTTP/1.0\r\nConnection: keep-alive\r\n\r\n", 200},
    };
    for (const auto& request : requests) {
        HttpClient client(server.port());
        client.send(request.bytes);
        const HttpClient::Response response = client.receive(request.bytes.startsWith("HEAD"));
        const QByteArray path = request.bytes.split(' ').value(1);
        EXPECT_EQ(response.status, request.status) << request.bytes.toStdString();
        EXPECT_EQ(response.headers.value("allow"), request.status == 405 ? "GET, HEAD" : "");
        EXPECT_EQ(response.headers.value("location"),
                  request.status == 301 ? path.chopped(1) : QByteArray());
        EXPECT_TRUE(request.closed ? closedByServer(client)
                                   : client.exchange("GET", "/").status == 200)
            << request.bytes.toStdString();
    }
}

TEST_F(ServerTest, KeepsServingPastHalfRequestsAndAClientThatNeverReads) {
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

namespace {
// The server on a clock of the test's own, with at most three connections.
class LimitsTest : public ::testing::Test {
protected:
    void SetUp() override {
        QString error;
        ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0, error)) << error.toStdString();
    }
    void at(qint64 millis, int connections) {
        EXPECT_TRUE(QTest::qWaitFor([&] { return open() == connections; })) << millis;
        now = millis;
        server.connections()->sweep();
    }
    int open() const { return server.connections()->connectionCount(); }

    qint64 now = 0;
    ResultsServer server{
        {std::chrono::seconds(10), std::chrono::seconds(15), std::chrono::seconds(30), 3},
        [this] { return now; }};
};
} // namespace

TEST_F(LimitsTest, ClosesConnectionsThatSendNothingHalfARequestOrStayIdle) {
    HttpClient silent(server.port());
    HttpClient half(server.port());
    half.send("GET / HTTP/1.1\r\nHost: a");
    HttpClient answered(server.port());
    at(5'000, 3);
    EXPECT_EQ(answered.exchange("GET", "/").status, 200);
    at(9'999, 3);
    at(10'000, 3);
    EXPECT_TRUE(closedByServer(silent) && closedByServer(half));
    at(19'999, 1);
    EXPECT_EQ(answered.exchange("GET", "/").status, 200);
    at(34'998, 1);
    at(34'999, 1);
    EXPECT_TRUE(closedByServer(answered));
}

// Asking on and never reading the answers is not being idle: the unread limit closes it, 30 s
// after it last took a byte, not the idle limit.
TEST_F(LimitsTest, ClosesAClientThatStopsReadingAtTheUnreadLimit) {
    QSignalSpy served(&server, &ResultsServer::served);
    HttpClient unread(server.port());
    unread.socket().setReadBufferSize(1);
    unread.send(HttpClient::request("GET", "/vysledky.js").repeated(300));
    EXPECT_TRUE(QTest::qWaitFor([&] { return served.count() == 300; }));
    at(15'000, 1);
    at(29'999, 1);
    at(30'000, 1);
    at(30'001, 0); // its client, reading nothing, does not notice
}

// A live stream is answered on and on: never idle nor waiting for a request, but it counts.
TEST_F(LimitsTest, HoldsALiveStreamPastTheIdleLimitAndCountsIt) {
    HttpClient live(server.port());
    live.send(HttpClient::request("GET", "/na-trati"));
    EXPECT_EQ(live.receive().headers.value("content-type"), "text/event-stream; charset=utf-8");
    at(60'000, 1);
    HttpClient idle(server.port());
    at(61'000, 2);
    HttpClient other(server.port());
    at(62'000, 3);
    HttpClient fourth(server.port());
    EXPECT_TRUE(closedByServer(idle));
    at(63'000, 3);
}

// The one waiting longest goes, unless it is halfway through a request.
TEST_F(LimitsTest, ANewClientAtTheCapClosesTheOneIdleLongest) {
    HttpClient first(server.port());
    at(1'000, 1);
    HttpClient busy(server.port());
    busy.send("GET / HTTP/1.1\r\n");
    at(2'000, 2);
    HttpClient second(server.port());
    at(3'000, 3);
    HttpClient third(server.port());
    EXPECT_TRUE(closedByServer(first));
    EXPECT_EQ(third.exchange("GET", "/").status, 200);
    HttpClient fourth(server.port());
    EXPECT_TRUE(closedByServer(second));
    busy.send("Host: a\r\n\r\n");
    EXPECT_EQ(busy.receive().status, 200);
}
