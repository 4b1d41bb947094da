#pragma once

#include <QLocale>
#include <QString>
#include <QTime>

#include <functional>

// The current local time of day as text, in the system's time format.
class TimeOfDay {
public:
    virtual ~TimeOfDay() = default;
    virtual QString timeText() = 0;
};

// The local time of day a UTC reading gives at the given offset from UTC.
QTime timeOfDayAt(qint64 utcSeconds, long nanoseconds, long offsetSeconds);

// The local time of day now. The C library's local time is looked up only when the second
// changes (the offset from UTC changes at most at a whole second); QTime::currentTime looks
// it up on every reading, two thousand times a second here.
QTime localTimeNow();

// The locale's long time format without the time zone, e.g. "9:05:07" or "09:05:07".
class LocaleTimeOfDay final : public TimeOfDay {
public:
    using Clock = std::function<QTime()>;

    explicit LocaleTimeOfDay(const QLocale& locale = QLocale::system(), Clock now = &localTimeNow);
    QString timeText() override;

    const QString& format() const { return format_; }

private:
    QLocale locale_;
    QString format_;
    Clock now_;
    // The loop asks twice a pass; the text changes once a second, so it is made once a
    // second. A format that shows fractions of a second is made on every reading.
    bool showsFractions_ = false;
    int madeForSecond_ = -1;
    QString made_;
};
