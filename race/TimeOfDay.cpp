#include "race/TimeOfDay.h"

#include <QLocale>
#include <QRegularExpression>
#include <QTime>

LocaleTimeOfDay::LocaleTimeOfDay() {
    // The format is looked up once; the clock text is made on every pass.
    locale_ = QLocale::system();
    format_ = locale_.timeFormat(QLocale::LongFormat);
    format_.remove(QRegularExpression(QStringLiteral("\\s*t+\\s*")));
    if (format_.isEmpty()) {
        format_ = QStringLiteral("HH:mm:ss");
    }
}

QString LocaleTimeOfDay::timeText() {
    return locale_.toString(QTime::currentTime(), format_);
}
