#include "linetest/LineCheck.h"
#include "tests/support/FakeMachine.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>
#include <sstream>

namespace {

// Keys by the number of the pass that asks for them.
struct ScriptedKeys final : KeySource {
    std::map<int, int> at;
    int asked = 0, drops = 0;
    int nextKey() override { return at.contains(asked) ? at[asked++] : (++asked, -1); }
    void dropPending() override { ++drops; }
};

class LineCheckTest : public ::testing::Test, protected FakeMachine {
protected:
    std::ostringstream out;
    LineCheck check{port, pulses, pause,
                    [this] { return QTime(12, 3, 4).addMSecs(static_cast<int>(time.us / 1000)); },
                    out};
    // Devices in an empty folder: no test ever comes near a real port or the console.
    QTemporaryDir dev;
    DeviceNames names{dev.path(), dev.filePath(QStringLiteral("active"))};
    ScriptedKeys keys;
    // A console list that names no device here: with none, built-in port names count as busy.
    void SetUp() override {
        QFile list(names.consoleList);
        ASSERT_TRUE(list.open(QIODevice::WriteOnly));
        list.write("tty0\n");
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
    EXPECT_EQ(out.str().substr(out.str().find("12:03:04.000")),
              "12:03:04.000  rozhodčí / start contact: rozepnuto / open\n"
              "12:03:04.000  dráha č.1 / lane 1: rozepnuto / open\n"
              "12:03:04.000  dráha č.2 / lane 2: rozepnuto / open\n"
              "12:03:04.010  dráha č.1 / lane 1: sepnuto / closed\n"
              "12:03:04.020  rozhodčí / start contact: sepnuto / closed\n"
              "12:03:04.020  dráha č.1 / lane 1: rozepnuto / open\n"
              "12:03:04.025  dráha č.2 / lane 2: sepnuto / closed\n");
    EXPECT_EQ(pause.sleeps, 7);
    EXPECT_EQ(time.us, 35'000) << "one 5 ms sleep between samples";
    EXPECT_TRUE(QDir(folder.path()).isEmpty()) << "nothing written, no ZAVOD.TXT";
}

TEST_F(LineCheckTest, EachKeySendsOneSecondPulseOnItsLineWithoutSamplingMeanwhile) {
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
        EXPECT_NEAR(pulses[0].second - pulses[0].first, 1'000'100, 100);
        for (const std::int64_t read : lines.reads) {
            EXPECT_FALSE(read > pulses[0].first && read < pulses[0].second);
        }
        EXPECT_EQ(keys.drops, 1) << "keys typed during the pulse are dropped";
        EXPECT_NE(out.str().find("12:03:05.005  " + c.name + ": konec impulsu / pulse ended\n"),
                  std::string::npos);
    }
}

TEST_F(LineCheckTest, TheConsoleIsRefusedBeforeAnythingOpensIt) {
    QFile::link(QStringLiteral("/dev/null"), dev.filePath(QStringLiteral("COM1")));
    QFile list(names.consoleList);
    ASSERT_TRUE(list.open(QIODevice::WriteOnly) && list.write("tty0 null\n") == 10);
    list.close();

    EXPECT_EQ(check.open(QStringLiteral("COM1"), names),
              QStringLiteral("COM1 (%1/COM1) je konzole systému, ta se nikdy neotevře.\n"
                             "COM1 (%1/COM1) is the system console, which is never opened.\n")
                  .arg(dev.path()));
    EXPECT_TRUE(lines.opens.empty());
    EXPECT_TRUE(lines.outputs.empty());
    EXPECT_TRUE(out.str().empty());
}

} // namespace
