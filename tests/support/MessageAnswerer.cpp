#include "tests/support/MessageAnswerer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEvent>

MessageAnswerer::MessageAnswerer() {
    QCoreApplication::instance()->installEventFilter(this);
    timer_.setInterval(0);
    connect(&timer_, &QTimer::timeout, this, &MessageAnswerer::answer);
    timer_.start();
}

bool MessageAnswerer::eventFilter(QObject* watched, QEvent* event) {
    auto* box = qobject_cast<QMessageBox*>(watched);
    if (event->type() == QEvent::Show && box != nullptr) {
        seen.push_back({box->windowTitle(), box->text(), box->icon(), box->standardButtons(),
                        mainWindow != nullptr && mainWindow->isVisible(), box->isModal()});
    }
    return false;
}

void MessageAnswerer::answer() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    const bool modal = box != nullptr && box->isVisible();
    for (QWidget* window : QApplication::topLevelWidgets()) {
        auto* notice = qobject_cast<QMessageBox*>(window);
        if (!modal && answerNotices && notice != nullptr && notice->isVisible()) {
            box = notice;
        }
    }
    if (box == nullptr || !box->isVisible()) {
        return;
    }
    if (modal && whileOpen) {
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
