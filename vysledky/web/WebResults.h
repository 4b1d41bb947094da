#pragma once

#include <QHostAddress>
#include <QObject>
#include <QPointer>
#include <QString>

#include <memory>

class LogFollower;
class ResultsServer;

// A follower's results on the local network: the one place that hands the follower's tables to
// a server, now and after every update. The server may start and stop while the follower stays,
// and the follower may be replaced while the server runs.
class WebResults final : public QObject {
    Q_OBJECT

public:
    explicit WebResults(QObject* parent = nullptr);
    ~WebResults() override;

    void follow(LogFollower* follower);

    // Any address: every interface. The reason it could not start in error, in Czech.
    bool start(const QHostAddress& address, quint16 port, QString& error);
    void stop();
    bool running() const { return server_ != nullptr; }
    quint16 port() const;

signals:
    void runningChanged(bool running);

private:
    void publish();

    QPointer<LogFollower> follower_;
    std::unique_ptr<ResultsServer> server_;
};
