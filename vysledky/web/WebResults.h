#pragma once

#include <QHostAddress>
#include <QObject>
#include <QPointer>
#include <QString>

#include <memory>

class LiveFeed;
class LogFollower;
class ResultsServer;

// A follower's results on the local network: the one place that hands the follower's tables to
// a server, now and after every update, and the live panel's changes likewise. The server may start
// and stop while the follower stays, and the follower may be replaced while the server runs.
class WebResults final : public QObject {
    Q_OBJECT

public:
    explicit WebResults(QObject* parent = nullptr);
    ~WebResults() override;

    void follow(LogFollower* follower);
    // The panel „Na trati“ pushed to the pages from now on.
    void followLive(LiveFeed* feed);

    // Any address: every interface. The reason it could not start in error, in Czech.
    bool start(const QHostAddress& address, quint16 port, QString& error);
    void stop();
    bool running() const { return server_ != nullptr; }
    quint16 port() const;

signals:
    void runningChanged(bool running);

private:
    void publish();
    void publishLive();

    QPointer<LogFollower> follower_;
    QPointer<LiveFeed> feed_;
    std::unique_ptr<ResultsServer> server_;
};
