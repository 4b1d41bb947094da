#pragma once

#include <QObject>
#include <QString>
#include <QWidget>

class QMessageBox;

// Tells the operator of an outage without stopping anything: a box that is not modal, so the
// polling loop keeps taking times and sending pulses while it is open and the event pump serves
// its OK. A second outage while it is still open only changes its text; a box that keeps its
// earlier texts adds the new one below them instead, so that no late lane time goes unseen.
class OutageNotice : public QObject {
    Q_OBJECT

public:
    OutageNotice(QWidget* window, QString name, bool keepsEarlier = false)
        : QObject(window), window_(window), name_(name), keepsEarlier_(keepsEarlier) {}

    // Shows the box and returns at once.
    void tell(const QString& text);

private:
    QWidget* window_;
    QString name_;               // the box's object name
    bool keepsEarlier_;
    QMessageBox* box_ = nullptr; // made at the first outage, then kept
};
