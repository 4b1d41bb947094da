#include "serial/Module1.h"
#include "serial/Module2.h"
#include "serial/PulseSleep.h"
#include "serial/Pulses.h"
#include "tests/support/FakeLines.h"

#include "tests/support/Printers.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A port whose modem status word is whatever the test says, whichever bit is asked for.
class StatusWord final : public LineBackend {
public:
    std::uint32_t word = 0;
    std::int32_t handle = 5;
    QString openedAs;
    std::int32_t open(const QString& name) override {
        openedAs = name;
        return handle;
    }
    void close() override {}
    void setDtr(bool) override {}
    void setRts(bool) override {}
    void setBreak(bool) override {}
    std::optional<std::uint32_t> modemStatus() override { return word; }
};

class ScriptedCounter final : public PerformanceCounter {
public:
    std::vector<std::int64_t> values;
    std::size_t next = 0;
    std::int64_t read() override { return values.at(next++); }
};

class ControlLines : public ::testing::Test {
protected:
    FakeTime time;
    FakeLines lines{time};
    FakeCounter counter{time};
    void SetUp() override {
        Module1::installBackend(&lines);
        Module2::installCounter(&counter);
    }
    void TearDown() override {
        Module1::installBackend(nullptr);
        Module2::installCounter(nullptr);
    }
};

TEST_F(ControlLines, OpenPortReportsSuccessAsNonZeroAndFailureAsZero) {
    EXPECT_EQ(Module1::portHandle(), 0);
    EXPECT_NE(Module1::OpenPort(QStringLiteral("COM2")), 0);
    Module1::ClosePort();
    lines.busy.insert(QStringLiteral("COM1"));
    EXPECT_EQ(Module1::OpenPort(QStringLiteral("COM1")), 0);
    EXPECT_EQ(Module1::portHandle(), -1);
    lines.present.remove(QStringLiteral("COM2"));
    EXPECT_EQ(Module1::OpenPort(QStringLiteral("COM2")), 0);
}

TEST_F(ControlLines, AHandleAbove32767StillCountsAsOpen) {
    StatusWord port;
    Module1::installBackend(&port);
    port.handle = 70'000;
    EXPECT_NE(Module1::OpenPort(QStringLiteral("COM1")), 0);
    EXPECT_EQ(Module1::portHandle(), 70'000);
}

TEST_F(ControlLines, OnlyTheFirstFourCharactersNameThePort) {
    Module1::OpenPort(QStringLiteral("COM2:9600,n,8,1"));
    EXPECT_EQ(lines.opens, std::vector<QString>{QStringLiteral("COM2")});
    EXPECT_EQ(lines.openPort, QStringLiteral("COM2"));
}

TEST_F(ControlLines, OnlyOneRaisesAnOutputEveryOtherValueDropsIt) {
    Module1::OpenPort(QStringLiteral("COM1"));
    for (std::int16_t value : {std::int16_t{0}, std::int16_t{2}, std::int16_t{-1}}) {
        Module1::SetDtr(1);
        Module1::SetDtr(value);
        EXPECT_FALSE(lines.level(Output::Dtr)) << value;
        Module1::SetRts(1);
        Module1::SetRts(value);
        EXPECT_FALSE(lines.level(Output::Rts)) << value;
        Module1::SetBreak(1);
        Module1::SetBreak(value);
        EXPECT_FALSE(lines.level(Output::Break)) << value;
    }
    Module1::SetRts(1);
    EXPECT_TRUE(lines.level(Output::Rts));
}

TEST_F(ControlLines, EachReaderLooksAtItsOwnBitOnly) {
    StatusWord port;
    Module1::installBackend(&port);
    Module1::OpenPort(QStringLiteral("COM1"));
    port.word = 0xB0;
    EXPECT_EQ(Module1::CtsOn(), 1);
    EXPECT_EQ(Module1::DsrOn(), 1);
    EXPECT_EQ(Module1::DcdOn(), 1);
    port.word = 0x40; // ring indicator alone
    EXPECT_EQ(Module1::CtsOn(), 0);
    EXPECT_EQ(Module1::DsrOn(), 0);
    EXPECT_EQ(Module1::DcdOn(), 0);
    port.word = 0x20;
    EXPECT_EQ(Module1::CtsOn(), 0);
    EXPECT_EQ(Module1::DsrOn(), 1);
    EXPECT_EQ(Module1::DcdOn(), 0);
}

TEST_F(ControlLines, APortHeldElsewhereReadsOffAndTakesNoOutput) {
    lines.busy.insert(QStringLiteral("COM1"));
    lines.cts = lines.dsr = lines.dcd = true;
    EXPECT_EQ(Module1::OpenPort(QStringLiteral("COM1")), 0);
    EXPECT_EQ(Module1::CtsOn(), 0);
    EXPECT_EQ(Module1::DsrOn(), 0);
    EXPECT_EQ(Module1::DcdOn(), 0);
    Module1::SetDtr(1);
    Module1::SetRts(1);
    Module1::SetBreak(1);
    EXPECT_TRUE(lines.outputs.empty());
    Module1::ClosePort();
    EXPECT_EQ(lines.closes, 0) << "closing a port that is not open has no effect";
}

TEST_F(ControlLines, EveryReadingIsAFreshSample) {
    Module1::OpenPort(QStringLiteral("COM1"));
    lines.script = [](Input, int read) { return read % 2 == 1; };
    EXPECT_EQ(Module1::DcdOn(), 0);
    EXPECT_EQ(Module1::DcdOn(), 1);
    EXPECT_EQ(Module1::CtsOn(), 0);
    EXPECT_EQ(lines.reads.size(), 3U);
}

TEST_F(ControlLines, PerfMillisFixesItsTickLengthAtTheFirstReading) {
    EXPECT_EQ(Module2::msPerTick(), 0.0);
    Module2::PerfMillis();
    EXPECT_EQ(Module2::msPerTick(), 0.000838096515);
    Module2::PerfMillis();
    EXPECT_EQ(Module2::msPerTick(), 0.000838096515);
}

TEST_F(ControlLines, PerfMillisGrowsAcrossTheHalvesOfTheCount) {
    ScriptedCounter scripted;
    scripted.values = {0x7FFFFFFF, 0x80000000, 0xFFFFFFFF, 0x100000000, 0x180000000};
    Module2::installCounter(&scripted);
    double last = -1;
    for (std::int64_t count : scripted.values) {
        const double ms = Module2::PerfMillis();
        EXPECT_DOUBLE_EQ(ms, static_cast<double>(count) * 0.000838096515);
        EXPECT_GT(ms, last);
        last = ms;
    }
}

TEST_F(ControlLines, WaitMillisEndsAtTheFirstReadingPastItsDuration) {
    ScriptedCounter scripted;
    Module2::installCounter(&scripted);
    scripted.values = {1000, 1000};
    Module2::WaitMillis(0);
    EXPECT_EQ(scripted.next, 2U) << "a wait of 0 returns at its first comparison";

    // 1000 ms are 1,193,180 ticks and a hair more, since the tick length is rounded down.
    scripted.values = {0, 500'000, 1'193'180, 1'193'181, 9'999'999};
    scripted.next = 0;
    Module2::WaitMillis(1000.0);
    EXPECT_EQ(scripted.next, 4U);
}

// With a sleep installed the wait sleeps through all but its last 2 ms, then watches the
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
        Module2::installSleep(&sleep);
        Module2::WaitMillis(1000.0);
        Module2::installSleep(nullptr);
        const std::int64_t lastRead = time.us - time.counterStepUs;
        EXPECT_GE(lastRead, c.lastReadFrom) << "wake scale " << c.wakeScale;
        EXPECT_LT(lastRead, c.lastReadTo) << "wake scale " << c.wakeScale;
        EXPECT_LE(counter.reads, c.readsAtMost) << "wake scale " << c.wakeScale;
        ASSERT_FALSE(sleep.asked.empty());
        EXPECT_NEAR(sleep.asked.front(), 997.9, 0.001) << "sleeps until 2 ms before the end";
    }
}

TEST_F(ControlLines, EachPulseHoldsItsLineForOneSecondThenDropsIt) {
    Module1::OpenPort(QStringLiteral("COM1"));
    time.us = 5'000'000;
    StartPulse();
    StopPulse();
    ResetPulse();
    const std::vector<FakeLines::Transition> expected{
        {Output::Break, true, 5'000'000}, {Output::Break, false, 6'000'200},
        {Output::Dtr, true, 6'000'200},   {Output::Dtr, false, 7'000'400},
        {Output::Rts, true, 7'000'400},   {Output::Rts, false, 8'000'600}};
    EXPECT_EQ(lines.outputs, expected);
}

TEST_F(ControlLines, APulseWithNoPortStillTakesItsSecond) {
    StopPulse();
    EXPECT_TRUE(lines.outputs.empty());
    EXPECT_GE(time.us, 1'000'000);
    EXPECT_LT(time.us, 1'001'000);
}

TEST(MonotonicCounter, RunsAt1193180TicksPerSecondOverTheWholeRange) {
    EXPECT_EQ(MonotonicCounter::ticksFromNanoseconds(1'000'000'000), 1'193'180);
    EXPECT_EQ(MonotonicCounter::ticksFromNanoseconds(500'000'000), 596'590);
    // Twenty years of uptime, where a plain product would overflow 64 bits.
    const std::int64_t twentyYears = 20LL * 365 * 86'400 * 1'000'000'000;
    EXPECT_EQ(MonotonicCounter::ticksFromNanoseconds(twentyYears), 20LL * 365 * 86'400 * 1'193'180);
}

} // namespace
