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

TEST(LocaleTimeOfDay, UsesTheLocaleLongFormatWithoutTheZone) {
    HandClock hand;
    LocaleTimeOfDay czech(QLocale(QLocale::Czech, QLocale::Czechia), hand.clock());
    EXPECT_FALSE(czech.format().contains(QLatin1Char('t')));
    hand.now = QTime(9, 5, 7);
    EXPECT_EQ(czech.timeText(), "9:05:07");
    hand.now = QTime(23, 59, 59, 999);
    EXPECT_EQ(czech.timeText(), "23:59:59");

    LocaleTimeOfDay english(QLocale(QLocale::English, QLocale::UnitedStates), hand.clock());
    hand.now = QTime(13, 5, 7);
    EXPECT_EQ(english.timeText(), "1:05:07 PM");
}

TEST(LocaleTimeOfDay, ReadsTheClockEveryTimeAndFollowsEachNewSecond) {
    HandClock hand;
    LocaleTimeOfDay clock(QLocale(QLocale::Czech, QLocale::Czechia), hand.clock());
    hand.now = QTime(9, 59, 59, 10);
    EXPECT_EQ(clock.timeText(), "9:59:59");
    hand.now = QTime(9, 59, 59, 998);
    EXPECT_EQ(clock.timeText(), "9:59:59");
    // The pair of readings that the clock display makes across a change of length.
    hand.now = QTime(10, 0, 0, 0);
    EXPECT_EQ(clock.timeText(), "10:00:00");
    hand.now = QTime(0, 0, 0, 1); // past midnight
    EXPECT_EQ(clock.timeText(), "0:00:00");
    hand.now = QTime(23, 59, 59); // and the clock set back
    EXPECT_EQ(clock.timeText(), "23:59:59");
    EXPECT_EQ(hand.readings, 5);
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
