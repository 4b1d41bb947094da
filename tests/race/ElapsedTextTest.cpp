#include "race/ElapsedText.h"

#include "tests/support/Printers.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

struct Case {
    const char* what;
    std::uint32_t now;
    std::int32_t startTick;
    const char* text;
};

class ElapsedTextCases : public ::testing::TestWithParam<Case> {};

TEST_P(ElapsedTextCases, FormatsHoursMinutesSecondsMilliseconds) {
    const Case& c = GetParam();
    EXPECT_EQ(elapsedText(c.now, c.startTick).toStdString(), c.text) << c.what;
}

constexpr std::uint32_t hour = 3'600'000;

INSTANTIATE_TEST_SUITE_P(
    RunningTime, ElapsedTextCases,
    ::testing::Values(
        Case{"zero", 5000, 5000, "00:00:00:000"},
        Case{"83 045 ms", 100'000 + 83'045, 100'000, "00:01:23:045"},
        Case{"25 h 1 min 1.001 s wraps the hours", 25 * hour + 61'001, 0, "01:01:01:001"},
        Case{"just under a day", 24 * hour - 1, 0, "23:59:59:999"},
        Case{"before the first start the clock's own value", 45'296'789, 0, "12:34:56:789"},
        Case{"the clock passes 2^31 during the race", 0x80000000U + 1500U,
             static_cast<std::int32_t>(0x7FFFFFFFU - 500U), "00:00:02:001"},
        Case{"started before the wrap, read after it", 5000U, -1000, "00:00:06:000"},
        Case{"the clock wraps past 2^32 during the race", 1500U,
             static_cast<std::int32_t>(0xFFFFFFFFU - 499U), "00:00:02:000"},
        Case{"a clock of 2^31 or more before any start is not negative", 0x80000000U, 0,
             "20:31:23:648"},
        Case{"the largest difference", 0xFFFFFFFFU, 0, "17:02:47:295"}));

} // namespace
