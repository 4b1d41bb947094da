#include "race/TimeOfDay.h"

#include <QRegularExpression>

#include <ctime>

QTime timeOfDayAt(qint64 utcSeconds, long nanoseconds, long offsetSeconds) {
    constexpr qint64 day = 86'400;
    const qint64 second = ((utcSeconds + offsetSeconds) % day + day) % day;
    return QTime::fromMSecsSinceStartOfDay(
        static_cast<int>(second * 1000 + nanoseconds / 1'000'000));
}

QTime localTimeNow() {
#ifdef Q_OS_LINUX
    timespec now{};
    if (clock_gettime(CLOCK_REALTIME, &now) == 0) {
        static thread_local time_t offsetFor = -1;
        static thread_local long offset = 0;
        if (now.tv_sec != offsetFor) {
            // Zone read anew, as Qt does: a zone the system changes during the day is followed.
            tzset();
            std::tm local{};
            if (localtime_r(&now.tv_sec, &local) != nullptr) {
                offset = local.tm_gmtoff;
                offsetFor = now.tv_sec;
            }
        }
        if (now.tv_sec == offsetFor) {
            return timeOfDayAt(now.tv_sec, now.tv_nsec, offset);
        }
    }
#endif
    return QTime::currentTime();
}

LocaleTimeOfDay::LocaleTimeOfDay(const QLocale& locale, Clock now)
    : locale_(locale), now_(std::move(now)) {
    // The format is looked up once; the clock text is made on every new second.
    format_ = locale_.timeFormat(QLocale::LongFormat);
    format_.remove(QRegularExpression(QStringLiteral("\\s*t+\\s*")));
    if (format_.isEmpty()) {
        format_ = QStringLiteral("HH:mm:ss");
    }
    showsFractions_ = format_.contains(QLatin1Char('z'));
}

QString LocaleTimeOfDay::timeText() {
    const QTime time = now_();
    const int second = time.msecsSinceStartOfDay() / 1000;
    if (showsFractions_ || second != madeForSecond_ || !time.isValid()) {
        made_ = locale_.toString(time, format_);
        madeForSecond_ = time.isValid() ? second : -1;
    }
    return made_;
}
