#pragma once

#include <QMessageBox>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>
#include <vector>

// Stands in for the operator at every modal message box: notes what it showed and presses OK.
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
    };
    std::vector<Seen> seen;
    QWidget* mainWindow = nullptr;
    // Runs while the box is open, before OK is pressed.
    std::function<void()> whileOpen;

    QStringList texts() const;

private:
    void answer();
    QTimer timer_;
};
