#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class QSpinBox;
class WebResults;

// "Výsledky na síti": starts and stops the results on the network and shows the addresses to
// type, with a QR code of the first for phones.
class WebDialog final : public QDialog {
    Q_OBJECT

public:
    explicit WebDialog(WebResults& web, QWidget* parent = nullptr);

    // Starts the server on the port in the box; the reason it could not in the dialog.
    void start();
    void stop();

private:
    void showState(const QString& error = {});

    WebResults& web_;
    QSpinBox* port_;
    QPushButton* toggle_;
    QLabel* addresses_;
    QLabel* qrCode_;
};
