#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <functional>

class GuardedTcpServer;
class QHttpServerResponder;
class QTcpSocket;

// The run pushed to the pages as Server-Sent Events (text/event-stream): each viewer's
// connection stays open, held by the front, and gets the whole panel after every change as one
// "data:" line of JSON. A new viewer gets the panel at once. The JSON is made when it is sent, so
// a running clock in it is the clock at sending.
class LiveStream final : public QObject {
    Q_OBJECT

public:
    // A comment line now and then: a phone gone without a word fills its socket and the front's
    // unread limit closes it.
    static constexpr int heartbeatMillis = 15'000;

    explicit LiveStream(QObject* parent = nullptr);

    // What each event says; without it, the panel is not shown.
    void setSource(std::function<QByteArray()> source);

    void open(QHttpServerResponder& responder, GuardedTcpServer& front);
    // The panel changed: sends it to every viewer.
    void send();
    qsizetype viewers() const { return viewers_.size(); }

private:
    QByteArray event() const;
    void write(const QByteArray& bytes);

    std::function<QByteArray()> source_;
    QList<QPointer<QTcpSocket>> viewers_;
    QTimer heartbeat_;
};
