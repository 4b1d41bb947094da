#include "tests/support/Rig.h"
#include "tests/support/RunningTime.h"

#include <QLabel>
#include <QLineEdit>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

// Runs far longer than a test of one situation: the real loop, pass after pass, on fake time.
// The expected running time comes from the fake time line itself (64 bits, microseconds), not
// from the 32-bit millisecond clock the program reads. TAVORIN_LONG_PASSES lengthens both runs.
namespace {

std::int64_t longPasses(std::int64_t fallback) {
    const char* value = std::getenv("TAVORIN_LONG_PASSES");
    return value != nullptr && *value != '\0' ? std::strtoll(value, nullptr, 10) : fallback;
}

constexpr std::int64_t twoTo31 = std::int64_t{1} << 31;
constexpr std::int64_t twoTo32 = std::int64_t{1} << 32;

// The clock passes 2^31 and then 2^32 during one race of nearly 25 days. Around each passage
// the loop runs pass by pass (1 ms apart); elsewhere each pass lets hours go by, so that the
// whole race fits the pass count. A lane's target closes just after each passage.
TEST(LongRun, TheRunningTimeIsRightEveryPassWhileTheClockPassesTwoTo31AndTwoTo32) {
    constexpr std::int64_t closeMs = 5'000; // pass by pass within 5 s of each passage
    Rig rig;
    // Set before the program starts: a jump of the clock under it would be a silence of the port.
    rig.time.us = 999'000;
    rig.time.millisOffset = static_cast<std::uint32_t>(twoTo31 - closeMs - 1'000);
    Form1& form = rig.start();
    const std::int64_t passes = std::max<std::int64_t>(longPasses(100'000), 5 * closeMs);
    const std::int64_t raceMs = twoTo31 + 2 * closeMs;
    const std::int64_t fine = 4 * closeMs;
    const std::int64_t coarseStepMs =
        (raceMs - fine) / std::max<std::int64_t>(passes - fine, 1) + 1;

    // The start contact closes for the lines' read in the first pass's pause, at 1000 ms; the
    // second pass starts the race there, and its start pulse goes out at once.
    rig.lines.dcd = true;
    rig.passes(1);
    rig.lines.dcd = false;
    rig.passes(1);
    ASSERT_EQ(form.state().raceState, 1);
    const std::int64_t startMs = rig.lines.pulses(Output::Break).at(0).first / 1000;
    ASSERT_EQ(startMs, 1000);
    const std::int64_t startClock = startMs + rig.time.millisOffset;

    // Where each lane's target closed: the millisecond of the read that found it closed.
    std::int64_t lane1Ms = -1;
    std::int64_t lane2Ms = -1;
    // Outside the windows each pass lets time go by, but never past a window's beginning.
    rig.pause.hook = [&] {
        const std::int64_t clock = rig.time.us / 1000 + rig.time.millisOffset;
        const std::int64_t next = clock < twoTo31 + closeMs ? twoTo31 : twoTo32;
        if (clock < next - closeMs) {
            rig.time.us += std::min(coarseStepMs - 1, next - closeMs - clock) * 1000;
        }
    };
    std::int64_t compared = 0;
    while (rig.time.us / 1000 - startMs < raceMs) {
        // The millisecond the pass shows: nothing in it moves time before the running time.
        const std::int64_t passMs = rig.time.us / 1000;
        const std::int64_t clock = passMs + rig.time.millisOffset;
        // Lane 1's target closes just after 2^31, lane 2's just after 2^32, each for the one
        // read in this pass's pause, a millisecond on; the next pass times it at that read.
        rig.lines.cts = lane1Ms < 0 && clock >= twoTo31 + 2;
        rig.lines.dsr = lane2Ms < 0 && clock >= twoTo32 + 6;
        rig.passes(1);
        ++compared;
        ASSERT_EQ(form.controls().LblTimer->text(), runningTime(passMs - startMs))
            << "pass " << compared << ", clock " << clock;
        lane1Ms = rig.lines.cts ? passMs + 1 : lane1Ms;
        lane2Ms = rig.lines.dsr ? passMs + 1 : lane2Ms;
        ASSERT_EQ(rig.end.calls, 0);
        if (form.state().raceState == 0) {
            break; // both lanes timed: the race is over
        }
    }
    ASSERT_GE(lane1Ms, 0);
    ASSERT_GE(lane2Ms, 0);
    EXPECT_EQ(form.controls().Text2->text(), runningTime(lane1Ms - startMs));
    EXPECT_EQ(form.controls().Text3->text(), runningTime(lane2Ms - startMs));
    EXPECT_EQ(form.state().raceState, 0);
    EXPECT_GT(rig.time.us / 1000 + rig.time.millisOffset, twoTo32);
    EXPECT_EQ(form.state().startTick, static_cast<std::int32_t>(startClock));
    EXPECT_GE(compared, 4 * closeMs - 2);
    EXPECT_LE(compared, passes);
    // Lane 1 5.003 s into the race; lane 2 2^31 ms (24 days, 20 h, 31 min, 23.648 s) and
    // 5.007 s into it, with the hours taken modulo 24.
    EXPECT_EQ(rig.log(),
              QByteArray(" dr\xE1ha c.1 00:00:05:003\r\n dr\xE1ha c.2 20:31:28:655\r\n"));
    std::printf("[ figures  ] %lld passes of one race across 2^31 and 2^32 ms\n",
                static_cast<long long>(compared));
}

// A start contact held closed holds the count at 32767 pass after pass: no crash, a start pulse
// every pass, no annulment, and the running time goes on, across the clock's wrap. The contact
// alone never counts past 2 (the annul test and the start test read the same lines), so the
// count is set just below its limit and the contact counts the rest.
TEST(LongRun, AStartCountHeldAtItsLimitStaysThereAndEveryPassStillSendsItsPulse) {
    Rig rig;
    // A coarse counter: each reading moves time on by 400 ms. The wait ends at its fourth
    // reading, the first at least 1000 ms after its first (at 1200 ms), which moves time on
    // once more: every pulse lasts 1600 ms.
    rig.time.counterStepUs = 400'000;
    rig.time.millisOffset = static_cast<std::uint32_t>(twoTo32 - 60'000'000); // 1000 min to wrap
    Form1& form = rig.start();
    const std::int64_t heldPasses = longPasses(60'000);
    rig.lines.dcd = true; // read closed in the first pass's pause, a start from the second on
    rig.passes(2);
    ASSERT_EQ(form.state().startSignals, 1);
    const std::int32_t startTick = form.state().startTick;
    const std::int64_t startUs = rig.lines.pulses(Output::Break).at(0).first;
    RaceState near = form.state();
    near.startSignals = 32765;
    form.race().restore(near);
    rig.passes(2);
    ASSERT_EQ(form.state().startSignals, 32767);

    for (std::int64_t i = 0; i < heldPasses; ++i) {
        rig.lines.forget(); // a pulse is 1600 reads of the lines
        const std::int64_t passBeganUs = rig.time.us;
        rig.passes(1);
        ASSERT_EQ(form.state().startSignals, 32767) << "held pass " << i;
        ASSERT_EQ(rig.lines.outputs.size(), 2U) << "one start pulse a pass, nothing else";
        const FakeLines::Transition& up = rig.lines.outputs[0];
        const FakeLines::Transition& down = rig.lines.outputs[1];
        ASSERT_EQ(up.line, Output::Break);
        ASSERT_EQ(up.us, passBeganUs);
        ASSERT_EQ(down.us - up.us, 1'600'000);
        // The running time is shown right after the pulse.
        ASSERT_EQ(form.controls().LblTimer->text(), runningTime(down.us / 1000 - startUs / 1000));
        ASSERT_EQ(rig.end.calls, 0);
    }
    EXPECT_EQ(form.state().startTick, startTick) << "the race was never started again";
    EXPECT_EQ(form.state().raceState, 1);
    EXPECT_EQ(rig.log(), QByteArray());
    EXPECT_TRUE(rig.messages.seen.empty());
    std::printf("[ figures  ] start count held at 32767 for %lld passes\n",
                static_cast<long long>(heldPasses));
}

} // namespace
