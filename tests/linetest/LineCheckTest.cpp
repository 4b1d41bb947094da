#include "linetest/LineCheck.h"
#include "linetest/ReadTiming.h"
#include "tests/support/FakeMachine.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>
#include <sstream>

namespace {

// A port whose reads take as long as the test says, timed on a clock that only they move on.
struct SlowReads final : LineBackend, ReadClock {
    std::function<std::int64_t(int read)> takesNs;
    std::function<bool(int read)> fails; // none: every read answers
    std::int64_t ns = 0;
    int reads = 0;
    std::int32_t open(const QString&) override { return 1; }
    void close() override {}
    void setDtr(bool) override {}
    void setRts(bool) override {}
    void setBreak(bool) override {}
    std::optional<std::uint32_t> modemStatus() override {
        const int read = reads++;
        ns += takesNs(read);
        return fails && fails(read) ? std::nullopt : std::optional<std::uint32_t>(0);
    }
    std::int64_t nowNs() override { return ns; }
};

// Reads that take no time at all.
struct StillClock final : ReadClock {
    std::int64_t nowNs() override { return 0; }
};

// Keys by the number of the pass that asks for them.
struct ScriptedKeys final : KeySource {
    std::map<int, int> at;
    int asked = 0, drops = 0;
    int nextKey() override { return at.contains(asked) ? at[asked++] : (++asked, -1); }
    void dropPending() override { ++drops; }
};

class LineCheckTest : public ::testing::Test, protected FakeMachine {
protected:
    StillClock readClock;
    std::ostringstream out;
    LineCheck check{
        lines,     port,
        pulses,    pause,
        readClock, sampler,
        clock,     [this] { return QTime(12, 3, 4).addMSecs(static_cast<int>(time.us / 1000)); },
        out};
    // Devices in an empty folder: no test ever comes near a real port or the console.
    QTemporaryDir dev;
    DeviceNames names{dev.path(), dev.filePath(QStringLiteral("active"))};
    ScriptedKeys keys;
    // A console list that names no device here: with none, built-in port names count as busy.
    void SetUp() override { consoles("tty0\n"); }
    void consoles(const QByteArray& list) const {
        QFile file(names.consoleList);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(file.write(list), list.size());
    }
};

TEST_F(LineCheckTest, OpensWithOutputsDroppedAndShowsEachInputChangeWithItsTime) {
    QTemporaryDir folder;
    const QString before = QDir::currentPath();
    QDir::setCurrent(folder.path());
    pause.hook = [this] { // levels from the sleep on: cts from 2 to 3, dcd from 4, dsr from 5
        lines.cts = pause.sleeps >= 2 && pause.sleeps < 4;
        lines.dcd = pause.sleeps >= 4;
        lines.dsr = pause.sleeps >= 5;
    };
    keys.at[7] = 'q';
    ASSERT_EQ(check.open(QStringLiteral("COM2"), names), QString());
    check.run(keys);
    QDir::setCurrent(before);
    const std::vector<FakeLines::Transition> dropped{
        {Output::Break, false, 0}, {Output::Dtr, false, 0}, {Output::Rts, false, 0}};
    EXPECT_EQ(lines.outputs, dropped);
    const std::string device = dev.filePath(QStringLiteral("ttyS1")).toStdString();
    EXPECT_EQ(out.str(),
              "Test linek COM2 (" + device + "), nic se nezapisuje / line test of COM2 (" + device +
                  "), nothing is written.\n"
                  "Čtení stavu linek (1000×): medián 0,000 ms, nejdelší 0,000 ms / line status "
                  "reads (1000): median 0.000 ms, longest 0.000 ms\n"
                  "Adaptér hlásí změny linek sám (nebo je to vestavěný port): k měření se hodí "
                  "výborně. / The adapter reports line changes itself (or this is a built-in "
                  "port): well suited for timing.\n"
                  "s = start, z = stop, r = reset: impuls / pulse 1000 ms; q = konec / quit\n"
                  "12:03:04.005  rozhodčí / start contact: rozepnuto / open\n"
                  "12:03:04.005  dráha č.1 / lane 1: rozepnuto / open\n"
                  "12:03:04.005  dráha č.2 / lane 2: rozepnuto / open\n"
                  "12:03:04.015  dráha č.1 / lane 1: sepnuto / closed\n"
                  "12:03:04.025  rozhodčí / start contact: sepnuto / closed\n"
                  "12:03:04.025  dráha č.1 / lane 1: rozepnuto / open\n"
                  "12:03:04.030  dráha č.2 / lane 2: sepnuto / closed\n");
    EXPECT_EQ(lines.reads.size(), 1000U + 35) << "1000 reads timed, then the sampler's";
    EXPECT_EQ(pause.sleeps, 7);
    EXPECT_EQ(time.us, 35'000) << "one 5 ms sleep between samples";
    EXPECT_TRUE(QDir(folder.path()).isEmpty()) << "nothing written, no ZAVOD.TXT";
}

TEST_F(LineCheckTest, EachKeySendsOneSecondPulseOnItsLineWithoutShowingTheLinesMeanwhile) {
    const struct {
        int key;
        Output line;
        std::string name;
    } cases[] = {
        {'s', Output::Break, "start"}, {'z', Output::Dtr, "stop"}, {'R', Output::Rts, "reset"}};
    ASSERT_EQ(check.open(QStringLiteral("COM1"), names), QString());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        time.us = 0;
        keys = {};
        keys.at = {{1, c.key}, {2, 'x'}, {3, 'q'}};
        out.str({});
        lines.forget();
        check.run(keys);
        const auto pulses = lines.pulses(c.line);
        ASSERT_EQ(pulses.size(), 1U);
        EXPECT_EQ(lines.outputs.size(), 2U) << "no other line moves";
        EXPECT_EQ(pulses[0].first, 5'000);
        EXPECT_EQ(keys.drops, 1) << "keys typed during the pulse are dropped";
        EXPECT_NE(out.str().find("12:03:05.005  " + c.name + ": konec impulsu / pulse ended\n"),
                  std::string::npos);
    }
}

// A read that hangs from 10 ms to 400 ms: the test says the port is silent and, once it answers,
// for how long; q ends it at once, hung read or not.
TEST_F(LineCheckTest, AHungReadIsToldAndNeverHoldsUpTheKeys) {
    const std::string silent = "12:03:04.015  port neodpovídá / the port does not answer\n";
    const struct {
        int quitAt; // the key asked for this time, one every 5 ms
        std::string shown;
    } cases[] = {
        {40, silent},
        {100, silent + "12:03:04.400  port opět odpovídá, neodpovídal 391 ms / the port answers "
                       "again after 391 ms\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.quitAt);
        FakeMachine machine;
        std::ostringstream shown;
        LineCheck hung(
            machine.lines, machine.port, machine.pulses, machine.pause, readClock, machine.sampler,
            machine.clock,
            [&machine] {
                return QTime(12, 3, 4).addMSecs(static_cast<int>(machine.time.us / 1000));
            },
            shown);
        ASSERT_EQ(hung.open(QStringLiteral("COM2"), names), QString());
        machine.hangRead(10'000, 400'000);
        keys = {};
        keys.at[c.quitAt] = 'q';
        shown.str({});
        hung.run(keys);
        EXPECT_EQ(machine.time.us, c.quitAt * 5'000);
        const std::string out = shown.str();
        EXPECT_EQ(out.substr(out.find("12:03:04.015")), c.shown);
    }
}

TEST(ReadTimesTest, TheMedianAndLongestReadJudgeTheAdapter) {
    const std::string wellSuited =
        "Adaptér hlásí změny linek sám (nebo je to vestavěný port): k měření se hodí výborně. / "
        "The adapter reports line changes itself (or this is a built-in port): well suited for "
        "timing.\n";
    const std::string usable =
        "Ovladač se adaptéru ptá po USB při každém čtení: použitelný, časy drah jsou až asi o 1 "
        "ms méně přesné. / The driver asks the adapter over USB on every read: usable, lane times "
        "up to about 1 ms less exact.\n";
    const std::string unsuitable = "Čtení trvá příliš dlouho: k měření se nehodí. / Reads take "
                                   "too long: unsuitable for timing.\n";
    const std::string slowRead =
        "Některé čtení trvalo přes 5 ms (vytížený počítač nebo rozbočovač USB): o tolik se může "
        "opozdit i čas dráhy. / Some read took over 5 ms (a busy computer or USB hub): a lane "
        "time can be late by as much.\n";
    const auto figures = [](const char* czech, const char* english) {
        return std::string("Čtení stavu linek (1000×): medián ") + czech +
               " / line status reads (1000): median " + english + "\n";
    };
    const struct {
        const char* adapter;
        std::function<std::int64_t(int)> takesNs;
        std::function<bool(int)> fails;
        std::string report;
    } cases[] = {
        {"built-in port, one slow read", [](int read) { return read == 400 ? 300'000 : 20'000; },
         nullptr,
         figures("0,020 ms, nejdelší 0,300 ms", "0.020 ms, longest 0.300 ms") + wellSuited},
        {"interrupt reports, at the limit", [](int) { return 200'000; }, nullptr,
         figures("0,200 ms, nejdelší 0,200 ms", "0.200 ms, longest 0.200 ms") + wellSuited},
        {"control transfers", [](int read) { return read % 3 == 0 ? 1'250'000 : 1'000'000; },
         nullptr, figures("1,000 ms, nejdelší 1,250 ms", "1.000 ms, longest 1.250 ms") + usable},
        {"control transfers, at the limit", [](int) { return 1'500'000; }, nullptr,
         figures("1,500 ms, nejdelší 1,500 ms", "1.500 ms, longest 1.500 ms") + usable},
        {"too slow", [](int read) { return read < 499 ? 1'000'000 : 1'501'000; }, nullptr,
         figures("1,501 ms, nejdelší 1,501 ms", "1.501 ms, longest 1.501 ms") + unsuitable},
        {"a hub that stalls once", [](int read) { return read == 999 ? 5'001'000 : 1'000'000; },
         nullptr,
         figures("1,000 ms, nejdelší 5,001 ms", "1.000 ms, longest 5.001 ms") + usable + slowRead},
        {"pulled out now and then", [](int) { return 30'000; },
         [](int read) { return read % 250 == 7; },
         figures("0,030 ms, nejdelší 0,030 ms", "0.030 ms, longest 0.030 ms") +
             "Nezdařená čtení: 4 z 1000; port neodpovídá spolehlivě, k měření se nehodí. / Failed "
             "reads: 4 of 1000; the port does not answer reliably, unsuitable for timing.\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.adapter);
        SlowReads port;
        port.takesNs = c.takesNs;
        port.fails = c.fails;
        EXPECT_EQ(readTimesReport(timeReads(port, port, LineCheck::timedReads)).toStdString(),
                  c.report);
        EXPECT_EQ(port.reads, 1000);
    }
}

TEST_F(LineCheckTest, TheConsoleIsRefusedBeforeAnythingOpensIt) {
    QFile::link(QStringLiteral("/dev/null"), dev.filePath(QStringLiteral("COM1")));
    consoles("tty0 null\n");
    EXPECT_EQ(check.open(QStringLiteral("COM1"), names),
              QStringLiteral("COM1 (%1/COM1) je konzole systému, ta se nikdy neotevře.\n"
                             "COM1 (%1/COM1) is the system console, which is never opened.\n")
                  .arg(dev.path()));
    EXPECT_TRUE(lines.opens.empty());
    EXPECT_TRUE(lines.outputs.empty());
    EXPECT_TRUE(out.str().empty());
}

} // namespace
