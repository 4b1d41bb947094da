#include "tests/support/MessageAnswerer.h"

#include <QAbstractButton>
#include <QApplication>

MessageAnswerer::MessageAnswerer() {
    timer_.setInterval(0);
    connect(&timer_, &QTimer::timeout, this, &MessageAnswerer::answer);
    timer_.start();
}

void MessageAnswerer::answer() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr || !box->isVisible()) {
        return;
    }
    seen.push_back({box->windowTitle(), box->text(), box->icon(), box->standardButtons(),
                    mainWindow != nullptr && mainWindow->isVisible()});
    if (whileOpen) {
        whileOpen();
    }
    box->button(QMessageBox::Ok)->click();
}

QStringList MessageAnswerer::texts() const {
    QStringList all;
    for (const Seen& s : seen) {
        all << s.text;
    }
    return all;
}
