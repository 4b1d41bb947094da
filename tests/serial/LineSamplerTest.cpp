#include "serial/LineSampler.h"
#include "serial/SampleSchedule.h"
#include "serial/SamplerThread.h"
#include "tests/support/FakeMachine.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <semaphore>
#include <thread>
#include <unistd.h>

namespace {

// The sampler stepped by the fake time: it reads at every whole millisecond.
class LineSamplerTest : public ::testing::Test, protected FakeMachine {
protected:
    void SetUp() override {
        lines.open(QStringLiteral("COM1"));
        sampler.portOpened();
    }
    LineSnapshot after(std::int64_t us) {
        time.advance(us - time.us);
        return sampler.snapshot();
    }
};

TEST_F(LineSamplerTest, EachClosureIsStampedWithTheFirstReadThatFoundItClosed) {
    at(1'200, [this] { lines.dsr = true; }); // and open again before the read at 2 ms
    at(1'700, [this] { lines.dsr = false; });
    at(2'300, [this] { lines.cts = true; });
    at(2'400, [this] { lines.dcd = true; });
    at(5'000, [this] { lines.cts = false; });
    at(7'999, [this] { lines.cts = true; });
    const struct {
        std::int64_t us;
        std::array<bool, 3> closed;           // start, lane 1, lane 2
        std::uint32_t lane1At, lane1Closures; // meaningful while lane 1 is closed
    } readings[] = {
        {2'000, {false, false, false}, 0, 0}, {3'000, {true, true, false}, 3, 1},
        {4'999, {true, true, false}, 3, 1},   {5'000, {true, false, false}, 3, 1},
        {8'000, {true, true, false}, 8, 2},
    };
    for (const auto& r : readings) {
        SCOPED_TRACE(r.us);
        const LineSnapshot s = after(r.us);
        EXPECT_EQ(s.closed, r.closed);
        EXPECT_EQ(s.closure(Contact::Lane1), r.lane1Closures);
        if (s.isClosed(Contact::Lane1)) {
            EXPECT_EQ(s.closedTick(Contact::Lane1), r.lane1At);
        }
        EXPECT_FALSE(s.readFailed);
        EXPECT_EQ(s.reads, static_cast<std::uint64_t>(r.us / 1000));
    }
    const LineSnapshot last = after(9'000);
    EXPECT_EQ(last.closedTick(Contact::Start), 3U) << "held since its first read";
    EXPECT_EQ(last.closure(Contact::Lane2), 0U) << "a closure between two reads is never seen";
}

// A failed read tells nothing of the lines: the closure read before stands, the same one when
// reads work again, and a closure first found after the failures notes the silence before it.
TEST_F(LineSamplerTest, AFailedReadLeavesTheClosuresAsTheyWereReadAndCountsItsSilence) {
    lines.cts = true;
    LineSnapshot s = after(1'000);
    EXPECT_EQ(s.closure(Contact::Lane1), 1U);
    EXPECT_TRUE(s.closedWhenOpened(Contact::Lane1)) << "closed already when the port opened";
    lines.unplugged = true;
    s = after(4'000);
    EXPECT_TRUE(s.readFailed);
    EXPECT_EQ(s.failedReads, 3U);
    EXPECT_EQ(s.failingSince, 2U);
    EXPECT_EQ(s.answeredAt, 1U);
    lines.unplugged = false;
    lines.dsr = true;
    s = after(5'000);
    EXPECT_FALSE(s.readFailed);
    EXPECT_EQ(s.failedReads, 0U);
    EXPECT_EQ(s.closure(Contact::Lane1), 1U) << "the same closure";
    EXPECT_EQ(s.closedTick(Contact::Lane2), 5U);
    EXPECT_EQ(s.silenceBeforeClosing(Contact::Lane2), 4U);
    EXPECT_FALSE(s.closedWhenOpened(Contact::Lane2));
}

TEST_F(LineSamplerTest, AClosedPortIsNotReadAndAReopenedOneStartsAfresh) {
    lines.dcd = true;
    EXPECT_TRUE(after(1'000).isClosed(Contact::Start));
    sampler.portClosing();
    EXPECT_FALSE(sampler.snapshot().isClosed(Contact::Start)) << "open as soon as it closes";
    const std::size_t readsBefore = lines.reads.size();
    after(5'000);
    EXPECT_EQ(lines.reads.size(), readsBefore);
    sampler.portOpened();
    const LineSnapshot s = after(6'000);
    EXPECT_TRUE(s.isClosed(Contact::Start));
    EXPECT_EQ(s.closedTick(Contact::Start), 6U);
    EXPECT_EQ(s.closure(Contact::Start), 2U);
}

// Reads fall just after the millisecond clock ticks, so that a read on time and one that wakes
// a little late are stamped alike: each read on the grid is due 0.05 to 0.25 ms into its
// millisecond. Each row's read follows the one before.
TEST(MillisecondSchedule, KeepsItsPlaceInEachMillisecondAndNeverCatchesUp) {
    const std::int64_t ms = MillisecondSchedule::periodNs;
    const std::int64_t atOnce = -1;
    const struct {
        std::int64_t now, dueIn; // dueIn: the millisecond the read is due in, or atOnce
    } reads[] = {
        {5 * ms + 300, atOnce}, // the first
        {5 * ms + 400, 5},      // then onto the grid
        {5 * ms + 260'000, 6},  // awake late, the next still in its own millisecond
        {7 * ms + 40'000, 7},   // a slow read still before its place
        {12 * ms + 5, atOnce},  // overran by four: at once, no backlog
        {12 * ms + 900, 12},    // and back to its place
    };
    std::int64_t previous = 0;
    for (const auto& r : reads) {
        SCOPED_TRACE(r.now);
        const std::int64_t next = MillisecondSchedule::nextDeadline(previous, r.now);
        if (r.dueIn == atOnce) {
            EXPECT_EQ(next, r.now);
        } else {
            EXPECT_GE(next, r.dueIn * ms + 50'000);
            EXPECT_LE(next, r.dueIn * ms + 250'000);
        }
        previous = next;
    }
}

// The real thread, stepped one read at a time by the test instead of the clock.
class SteppedSchedule final : public SampleSchedule {
public:
    bool waitNext() override {
        granted_.acquire();
        return !stopped_;
    }
    void stop() override {
        stopped_ = true;
        granted_.release(); // wakes the wait in progress
    }
    void grant(int reads) { granted_.release(reads); }

private:
    std::counting_semaphore<> granted_{0};
    std::atomic<bool> stopped_{false};
};

// Lines and a clock that the sampler's thread and the test's may both touch.
class SharedLines final : public LineBackend, public MillisClock {
public:
    std::atomic<std::uint32_t> status{0};
    std::atomic<std::uint32_t> millis{0};
    std::int32_t open(const QString&) override { return 3; }
    void close() override {}
    void setDtr(bool) override {}
    void setRts(bool) override {}
    void setBreak(bool) override {}
    std::optional<std::uint32_t> modemStatus() override { return status.load(); }
    std::uint32_t timeGetTime() override { return millis.load(); }
};

// Waits (a bounded while) until the sampler's thread has published what the test looks for.
template <typename Seen> LineSnapshot once(const LineSampler& sampler, Seen seen) {
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    LineSnapshot s = sampler.snapshot();
    while (!seen(s) && std::chrono::steady_clock::now() < giveUp) {
        std::this_thread::yield();
        s = sampler.snapshot();
    }
    return s;
}

TEST(SamplerThread, ReadsOnItsOwnThreadWhileThePortChangesAndStopsWhenDestroyed) {
    SharedLines lines;
    LineSampler sampler(lines, lines);
    SteppedSchedule schedule;
    {
        SamplerThread thread(sampler, schedule);
        EXPECT_GT(thread.threadId(), 0);
        EXPECT_NE(thread.threadId(), static_cast<long long>(gettid()));
        sampler.portOpened();
        lines.status = ModemStatus::CtsOn;
        lines.millis = 7;
        schedule.grant(1);
        LineSnapshot s = once(sampler, [](const LineSnapshot& s) { return s.reads == 1; });
        ASSERT_EQ(s.reads, 1U);
        EXPECT_TRUE(s.isClosed(Contact::Lane1));
        EXPECT_EQ(s.closedTick(Contact::Lane1), 7U);
        // The port closed and opened again while reads go on; a turn that finds it closed
        // reads nothing.
        schedule.grant(200);
        for (int i = 0; i < 20; ++i) {
            sampler.portClosing();
            sampler.portOpened();
        }
        lines.status = ModemStatus::CtsOn | ModemStatus::RlsdOn;
        schedule.grant(1);
        s = once(sampler, [](const LineSnapshot& s) { return s.isClosed(Contact::Start); });
        EXPECT_TRUE(s.isClosed(Contact::Start));
    } // the thread is stopped in its wait and joined
    EXPECT_LE(sampler.snapshot().reads, 202U);
}

// A port whose read hangs in the kernel until the test lets it come back.
class HangingLines final : public LineBackend, public MillisClock {
public:
    std::binary_semaphore inRead{0}, comeBack{0};
    std::atomic<bool> hang{true};
    std::int32_t open(const QString&) override { return 3; }
    void close() override {}
    void setDtr(bool) override {}
    void setRts(bool) override {}
    void setBreak(bool) override {}
    std::optional<std::uint32_t> modemStatus() override {
        if (hang.exchange(false)) {
            inRead.release();
            comeBack.acquire();
            return ModemStatus::RlsdOn; // what the old port said
        }
        return ModemStatus::CtsOn;
    }
    std::uint32_t timeGetTime() override { return 0; }
};

TEST(SamplerThread, ChoosingAPortWhileAReadHangsNeitherWaitsNorGetsTheOldPortsReading) {
    HangingLines lines;
    LineSampler sampler(lines, lines);
    SteppedSchedule schedule;
    SamplerThread thread(sampler, schedule);
    sampler.portOpened();
    schedule.grant(1);
    lines.inRead.acquire(); // the read is out and hangs
    auto change = std::async(std::launch::async, [&sampler] {
        sampler.portClosing();
        sampler.portOpened();
    });
    // Bounded only so that a wait for the read fails here instead of hanging the suite.
    const bool returned = change.wait_for(std::chrono::seconds(20)) == std::future_status::ready;
    lines.comeBack.release();
    ASSERT_TRUE(returned) << "the port change waited for the hung read";
    schedule.grant(1); // the next read, on the new port
    const LineSnapshot s =
        once(sampler, [](const LineSnapshot& s) { return s.isClosed(Contact::Lane1); });
    EXPECT_TRUE(s.isClosed(Contact::Lane1));
    EXPECT_EQ(s.reads, 1U) << "the hung read's answer was published";
    EXPECT_EQ(s.closure(Contact::Start), 0U);
}

} // namespace
