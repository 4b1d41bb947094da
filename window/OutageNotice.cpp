#include "window/OutageNotice.h"

#include "window/Messages.h"

#include <QMessageBox>

void OutageNotice::tell(const QString& text) {
    if (box_ == nullptr) {
        box_ = new QMessageBox(QMessageBox::NoIcon, Messages::title, QString(), QMessageBox::Ok,
                               window_);
        box_->setObjectName(name_);
        box_->setModal(false);
        box_->setWindowModality(Qt::NonModal);
    }
    const bool open = box_->isVisible();
    box_->setText(keepsEarlier_ && open ? box_->text() + QStringLiteral("\n\n") + text : text);
    box_->show();
    box_->raise();
}
