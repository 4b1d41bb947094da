#include "race/TimeOfDay.h"

#include "tests/support/Printers.h"

#include <gtest/gtest.h>

#include <random>

namespace {

// A time of day the test sets by hand, counting how often it was read.
struct HandClock {
    QTime now{9, 59, 59, 0};
    int readings = 0;
    LocaleTimeOfDay::Clock clock() {
        return [this] {
            ++readings;
            return now;
        };
    }
};

// The locale's long format without the zone, from a fresh reading of the clock every time:
// each new second, a change of length (the pair of readings the clock display makes), past
// midnight and the clock set back.
TEST(LocaleTimeOfDay, ReadsTheClockEveryTimeInTheLocalesLongFormatWithoutTheZone) {
    HandClock hand;
    LocaleTimeOfDay czech(QLocale(QLocale::Czech, QLocale::Czechia), hand.clock());
    LocaleTimeOfDay english(QLocale(QLocale::English, QLocale::UnitedStates), hand.clock());
    EXPECT_FALSE(czech.format().contains(QLatin1Char('t')));
    const struct {
        LocaleTimeOfDay& clock;
        QTime now;
        const char* text;
    } readings[] = {
        {czech, QTime(9, 5, 7), "9:05:07"},          {czech, QTime(9, 59, 59, 10), "9:59:59"},
        {czech, QTime(9, 59, 59, 998), "9:59:59"},   {czech, QTime(10, 0, 0, 0), "10:00:00"},
        {czech, QTime(0, 0, 0, 1), "0:00:00"},       {czech, QTime(23, 59, 59), "23:59:59"},
        {czech, QTime(23, 59, 59, 999), "23:59:59"}, {english, QTime(13, 5, 7), "1:05:07 PM"},
    };
    for (const auto& r : readings) {
        hand.now = r.now;
        EXPECT_EQ(r.clock.timeText(), r.text) << r.text;
    }
    EXPECT_EQ(hand.readings, 8);
}

TEST(LocaleTimeOfDay, AgreesWithTheLocaleAtRandomMoments) {
    HandClock hand;
    const QLocale locale(QLocale::German, QLocale::Germany);
    LocaleTimeOfDay clock(locale, hand.clock());
    std::mt19937 random(7);
    std::uniform_int_distribution<int> msOfDay(0, 86'399'999);
    std::uniform_int_distribution<int> smallStep(0, 1500);
    int ms = msOfDay(random);
    for (int i = 0; i < 5000; ++i) {
        // Mostly small steps, as a pass makes them, with now and then a jump.
        ms = i % 50 == 0 ? msOfDay(random) : (ms + smallStep(random)) % 86'400'000;
        hand.now = QTime::fromMSecsSinceStartOfDay(ms);
        ASSERT_EQ(clock.timeText(), locale.toString(hand.now, clock.format())) << ms;
    }
}

TEST(TimeOfDayAt, AddsTheOffsetAndWrapsAroundTheDay) {
    EXPECT_EQ(timeOfDayAt(1'796'601'600, 250'000'000, 3600), QTime(1, 0, 0, 250));
    EXPECT_EQ(timeOfDayAt(86'399, 999'999'999, 0), QTime(23, 59, 59, 999));
    EXPECT_EQ(timeOfDayAt(1000, 500'000'000, -7200), QTime(22, 16, 40, 500));
    EXPECT_EQ(timeOfDayAt(82'800, 0, 7200), QTime(1, 0, 0));
}

} // namespace
