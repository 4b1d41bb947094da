#include "tests/support/FakeMachine.h"

#include "tests/support/Printers.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A port whose modem status word is whatever the test says, whichever bit is asked for, and
// which counts every call after the open.
class StatusWord final : public LineBackend {
public:
    std::optional<std::uint32_t> word = 0;
    std::int32_t handle = 5;
    int calls = 0;
    std::int32_t open(const QString&) override { return handle; }
    void close() override { ++calls; }
    void setDtr(bool) override { ++calls; }
    void setRts(bool) override { ++calls; }
    void setBreak(bool) override { ++calls; }
    std::optional<std::uint32_t> modemStatus() override { return ++calls, word; }
};

class ScriptedCounter final : public PerformanceCounter {
public:
    std::vector<std::int64_t> values;
    std::size_t next = 0;
    std::int64_t read() override { return values.at(next++); }
};

class ControlLines : public ::testing::Test, protected FakeMachine {};

// Any positive handle, however large, makes the port usable. Before an open and after a
// failed one nothing reaches the port: the inputs read off, outputs and closing do nothing.
TEST_F(ControlLines, OpenPortReportsWhetherThePortIsUsable) {
    const struct {
        bool opens;
        std::int32_t handle;
        std::int16_t opened, readsOn;
        int calls; // three reads, three outputs and the close
    } cases[] = {
        {false, 0, 0, 0, 0}, {true, -1, 0, 0, 0}, {true, 1, 1, 1, 7}, {true, 65'536, 1, 1, 7}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.handle);
        StatusWord backend;
        Module1 module(backend);
        backend.handle = c.handle;
        backend.word = 0xB0;
        if (c.opens) {
            EXPECT_EQ(module.OpenPort(QStringLiteral("COM1")), c.opened);
        }
        EXPECT_EQ(module.CtsOn(), c.readsOn);
        EXPECT_EQ(module.DsrOn(), c.readsOn);
        EXPECT_EQ(module.DcdOn(), c.readsOn);
        module.SetDtr(1);
        module.SetRts(1);
        module.SetBreak(1);
        module.ClosePort();
        EXPECT_EQ(backend.calls, c.calls);
    }
}

TEST_F(ControlLines, OnlyTheFirstFourCharactersNameThePort) {
    port.OpenPort(QStringLiteral("COM2:9600,n,8,1"));
    EXPECT_EQ(lines.opens, std::vector<QString>{QStringLiteral("COM2")});
}

TEST_F(ControlLines, OnlyOneRaisesAnOutputEveryOtherValueDropsIt) {
    port.OpenPort(QStringLiteral("COM1"));
    const std::pair<void (Module1::*)(std::int16_t), Output> outputs[] = {
        {&Module1::SetDtr, Output::Dtr},
        {&Module1::SetRts, Output::Rts},
        {&Module1::SetBreak, Output::Break}};
    for (const auto& [set, line] : outputs) {
        for (const std::int16_t value : {0, 2, -1}) {
            (port.*set)(1);
            EXPECT_TRUE(lines.level(line));
            (port.*set)(value);
            EXPECT_FALSE(lines.level(line)) << value;
        }
    }
}

// The ring indicator counts as none of the three; a failed read reads as every line off.
TEST_F(ControlLines, EachReaderLooksAtItsOwnBitOnly) {
    StatusWord backend;
    Module1 module(backend);
    module.OpenPort(QStringLiteral("COM1"));
    const struct {
        std::optional<std::uint32_t> word;
        std::int16_t cts, dsr, dcd;
    } cases[] = {{0xB0, 1, 1, 1}, {0x10, 1, 0, 0}, {0x20, 0, 1, 0},
                 {0x80, 0, 0, 1}, {0x40, 0, 0, 0}, {std::nullopt, 0, 0, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.word ? std::to_string(*c.word) : "a failed read");
        backend.word = c.word;
        EXPECT_EQ(module.CtsOn(), c.cts);
        EXPECT_EQ(module.DsrOn(), c.dsr);
        EXPECT_EQ(module.DcdOn(), c.dcd);
    }
}

TEST_F(ControlLines, EveryReadingIsAFreshSample) {
    port.OpenPort(QStringLiteral("COM1"));
    lines.script = [](Input, int read) { return read % 2 == 1; };
    EXPECT_EQ(port.DcdOn(), 0);
    EXPECT_EQ(port.DcdOn(), 1);
    EXPECT_EQ(port.CtsOn(), 0);
    EXPECT_EQ(lines.reads.size(), 3U);
}

// The tick is 0.000838096515 ms from the first reading on, across both halves of the count.
TEST_F(ControlLines, PerfMillisCountsTicksOfItsFixedLength) {
    ScriptedCounter scripted;
    scripted.values = {1, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF, 0x100000000, 0x180000000};
    Module2 counterModule(scripted, pulseSleep);
    const double expected[] = {0.000838096515,   1799798.56057019, 1799798.56140829,
                               3599597.12197848, 3599597.12281657, 5399395.68422486};
    for (const double ms : expected) {
        EXPECT_NEAR(counterModule.PerfMillis(), ms, 5e-7);
    }
}

TEST_F(ControlLines, WaitMillisEndsAtTheFirstReadingPastItsDuration) {
    ScriptedCounter scripted;
    Module2 counterModule(scripted, pulseSleep);
    scripted.values = {1000, 1000};
    counterModule.WaitMillis(0);
    EXPECT_EQ(scripted.next, 2U) << "a wait of 0 returns at its first comparison";

    // 1000 ms are 1,193,180 ticks and a hair more, since the tick length is rounded down.
    // Readings within 2 ms of the end watch the counter without sleeping.
    scripted.values = {0, 1'191'000, 1'193'180, 1'193'181, 9'999'999};
    scripted.next = 0;
    counterModule.WaitMillis(1000.0);
    EXPECT_EQ(scripted.next, 4U);
}

// The wait sleeps through all but its last 2 ms, then watches the
// counter: it ends at the counter's deadline whether the sleep wakes early, on time or late.
TEST_F(ControlLines, ASleepingWaitStillEndsAtTheCountersDeadline) {
    struct Case {
        double wakeScale;
        std::int64_t lastReadFrom, lastReadTo; // when the reading that ended it was taken
        std::int64_t readsAtMost;
    };
    // 1000 ms of the counter are 1,193,181 ticks: reached at 1,000,001 us of fake time. A
    // sleep that wakes late ends the wait at its next reading, with no second sleep.
    for (const Case c : {Case{1.0, 1'000'001, 1'000'101, 30}, Case{0.5, 1'000'001, 1'000'101, 60},
                         Case{1.5, 1'497'000, 1'497'001, 3}}) {
        FakePulseSleep sleep{time};
        sleep.wakeScale = c.wakeScale;
        time.us = 0;
        counter.reads = 0;
        Module2(counter, sleep).WaitMillis(1000.0);
        const std::int64_t lastRead = time.us - time.counterStepUs;
        EXPECT_GE(lastRead, c.lastReadFrom) << "wake scale " << c.wakeScale;
        EXPECT_LT(lastRead, c.lastReadTo) << "wake scale " << c.wakeScale;
        EXPECT_LE(counter.reads, c.readsAtMost) << "wake scale " << c.wakeScale;
        ASSERT_FALSE(sleep.asked.empty());
        EXPECT_NEAR(sleep.asked.front(), 997.9, 0.001) << "sleeps until 2 ms before the end";
    }
}

TEST_F(ControlLines, EachPulseHoldsItsLineForOneSecondThenDropsIt) {
    pulses.StopPulse();
    EXPECT_TRUE(lines.outputs.empty());
    EXPECT_GE(time.us, 1'000'000) << "a pulse with no port still takes its second";
    EXPECT_LT(time.us, 1'001'000);
    port.OpenPort(QStringLiteral("COM1"));
    time.us = 5'000'000;
    pulses.StartPulse();
    pulses.StopPulse();
    pulses.ResetPulse();
    const std::vector<FakeLines::Transition> expected{
        {Output::Break, true, 5'000'000}, {Output::Break, false, 6'000'200},
        {Output::Dtr, true, 6'000'200},   {Output::Dtr, false, 7'000'400},
        {Output::Rts, true, 7'000'400},   {Output::Rts, false, 8'000'600}};
    EXPECT_EQ(lines.outputs, expected);
}

TEST(PerformanceCounter, RunsAt1193180TicksPerSecondOverTheWholeRange) {
    EXPECT_EQ(PerformanceCounter::ticksFromNanoseconds(1'000'000'000), 1'193'180);
    EXPECT_EQ(PerformanceCounter::ticksFromNanoseconds(500'000'000), 596'590);
    // Twenty years of uptime, where a plain product would overflow 64 bits.
    const std::int64_t twentyYears = 20LL * 365 * 86'400 * 1'000'000'000;
    EXPECT_EQ(PerformanceCounter::ticksFromNanoseconds(twentyYears),
              20LL * 365 * 86'400 * 1'193'180);
}

} // namespace
