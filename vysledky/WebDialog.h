#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class QSpinBox;
class ResultsWindow;

// "Výsledky na síti": starts and stops the window's web server and shows the addresses to type,
// with a QR code of the first for phones.
class WebDialog final : public QDialog {
    Q_OBJECT

public:
    explicit WebDialog(ResultsWindow& window, QWidget* parent = nullptr);

    // Starts the server on the port in the box; the reason it could not in the dialog.
    void start();
    void stop();

private:
    void showState(const QString& error = {});

    ResultsWindow& window_;
    QSpinBox* port_;
    QPushButton* toggle_;
    QLabel* addresses_;
    QLabel* qrCode_;
};
