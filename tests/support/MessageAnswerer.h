#pragma once

#include <QMessageBox>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>
#include <vector>

// Stands in for the operator at every message box: notes each box as it appears and presses OK
// in the next run of the event pump. A box that is not modal is answered too, unless the test
// leaves notices open.
class MessageAnswerer : public QObject {
    Q_OBJECT

public:
    MessageAnswerer();

    struct Seen {
        QString title;
        QString text;
        QMessageBox::Icon icon;
        QMessageBox::StandardButtons buttons;
        bool windowVisible; // whether the main window was on screen then
        bool modal;
    };
    std::vector<Seen> seen;
    QWidget* mainWindow = nullptr;
    bool answerNotices = true;
    // Runs while a modal box is open, before OK is pressed.
    std::function<void()> whileOpen;

    QStringList texts() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void answer();
    QTimer timer_;
};
