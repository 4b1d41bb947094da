#include "vysledky/WebDialog.h"

#include "vysledky/CommandLine.h"
#include "vysledky/QrCodeImage.h"
#include "vysledky/web/WebAddresses.h"
#include "vysledky/web/WebResults.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

WebDialog::WebDialog(WebResults& web, QWidget* parent)
    : QDialog(parent), web_(web), port_(new QSpinBox), toggle_(new QPushButton),
      addresses_(new QLabel), qrCode_(new QLabel) {
    setWindowTitle(QStringLiteral("Výsledky na síti"));
    port_->setObjectName(QStringLiteral("port"));
    port_->setRange(1, 65535);
    port_->setValue(web.running() ? web.port() : CommandLine::defaultWebPort);
    toggle_->setObjectName(QStringLiteral("toggle"));
    addresses_->setObjectName(QStringLiteral("addresses"));
    addresses_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // An address cut in two would be typed wrong.
    addresses_->setWordWrap(false);
    qrCode_->setObjectName(QStringLiteral("qrCode"));
    qrCode_->setAlignment(Qt::AlignCenter);

    auto* portRow = new QHBoxLayout;
    portRow->addWidget(new QLabel(QStringLiteral("Port:")));
    portRow->addWidget(port_);
    portRow->addWidget(toggle_);
    portRow->addStretch();
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(portRow);
    layout->addWidget(addresses_);
    layout->addWidget(qrCode_);
    layout->addWidget(buttons);

    connect(toggle_, &QPushButton::clicked, this, [this] {
        if (web_.running()) {
            stop();
        } else {
            start();
        }
    });
    // Started or stopped from here or elsewhere, the dialog shows it.
    connect(&web_, &WebResults::runningChanged, this, [this] { showState(); });
    showState();
}

void WebDialog::start() {
    QString error;
    if (!web_.start(QHostAddress::Any, static_cast<quint16>(port_->value()), error)) {
        showState(error);
    }
}

void WebDialog::stop() {
    web_.stop();
}

void WebDialog::showState(const QString& error) {
    const bool running = web_.running();
    toggle_->setText(running ? QStringLiteral("Zastavit") : QStringLiteral("Spustit"));
    port_->setEnabled(!running);
    qrCode_->clear();
    if (!running) {
        addresses_->setText(error.isEmpty() ? QStringLiteral("Výsledky nejsou na síti.")
                                            : QStringLiteral("Server nelze spustit na portu %1: %2")
                                                  .arg(port_->value())
                                                  .arg(error));
        return;
    }
    const QStringList urls = webAddresses(QHostAddress::Any, web_.port());
    addresses_->setText(
        QStringLiteral("Výsledky jsou na síti. Do prohlížeče v telefonu napište:\n%1\n\n"
                       "Velká obrazovka: %2tabule")
            .arg(urls.join(u'\n'), urls.first()));
    qrCode_->setPixmap(QPixmap::fromImage(qrCodeImage(urls.first(), 6)));
}
