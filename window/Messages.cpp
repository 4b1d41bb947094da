#include "window/Messages.h"

#include <QMessageBox>
#include <QStringList>

namespace Messages {

void show(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, parent);
    box.exec();
}

QString unwrittenRecords(const QStringList& records) {
    return QStringLiteral("Tyto záznamy se nepodařilo zapsat do souboru ZAVOD.TXT:\n\n") +
           records.join(QLatin1Char('\n'));
}

} // namespace Messages
