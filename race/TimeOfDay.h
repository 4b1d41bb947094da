#pragma once

#include <QLocale>
#include <QString>

// The current local time of day as text, in the system's time format.
class TimeOfDay {
public:
    virtual ~TimeOfDay() = default;
    virtual QString timeText() = 0;
};

// The locale's long time format without the time zone, e.g. "9:05:07" or "09:05:07".
class LocaleTimeOfDay final : public TimeOfDay {
public:
    LocaleTimeOfDay();
    QString timeText() override;

private:
    QLocale locale_;
    QString format_;
};
