#pragma once

#include <QObject>
#include <QString>
#include <QWidget>

class QMessageBox;

// Tells the operator that the results log could not be written, without stopping anything: a
// box that is not modal, so the polling loop keeps taking times and sending pulses while it is
// open and the event pump serves its OK. A second outage while it is still open only changes
// its text.
class OutageNotice : public QObject {
    Q_OBJECT

public:
    OutageNotice(QWidget* window, QString name) : QObject(window), window_(window), name_(name) {}

    // Shows the box and returns at once.
    void tell(const QString& text);

private:
    QWidget* window_;
    QString name_;               // the box's object name
    QMessageBox* box_ = nullptr; // made at the first outage, then kept
};
