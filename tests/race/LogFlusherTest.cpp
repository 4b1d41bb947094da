#include "race/LogFlusher.h"
#include "race/DiskFlush.h"
#include "race/ResultsLog.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <fstream>

namespace {

using namespace std::chrono_literals;

// A disk whose flushes fail with error and, while held, wait for the test to let them go. Each
// flush of a file notes the file's bytes as it begins.
struct HeldDisk final : DiskFlush {
    std::mutex m;
    std::condition_variable changed;
    bool held = false;
    int error = 0, folders = 0;
    std::vector<std::string> flushed;

    int flushFile(int fd) override {
        std::ifstream file("/proc/self/fd/" + std::to_string(fd), std::ios::binary);
        std::unique_lock lock(m);
        flushed.emplace_back(std::istreambuf_iterator<char>(file),
                             std::istreambuf_iterator<char>());
        changed.notify_all();
        changed.wait(lock, [this] { return !held; });
        return error;
    }
    int flushFolder(int) override {
        const std::lock_guard lock(m);
        return ++folders, error;
    }
    void set(bool hold, int fail) {
        const std::lock_guard lock(m);
        held = hold, error = fail;
        changed.notify_all();
    }
};

struct Flushed : ::testing::Test {
    QTemporaryDir dir;
    HeldDisk disk;
    LogFlusher flusher{disk};
    ResultsLog log{dir.filePath(QStringLiteral("ZAVOD.TXT"))};
    QStringList notices;
    void SetUp() override {
        log.flushWith(flusher), log.setNotice([this](auto m) { notices << m; });
    }
};

TEST_F(Flushed, EveryRecordIsFlushedInOrderWhileAppendsNeverWaitForASlowFlush) {
    disk.set(true, 0);
    log.append(QStringLiteral("SDH Lhota"));
    {
        std::unique_lock lock(disk.m);
        disk.changed.wait(lock, [this] { return !disk.flushed.empty(); });
    }
    // The first flush hangs; the next records are written all the same.
    log.append(QStringLiteral(" dráha c.1 00:00:17:250"));
    log.append(QStringLiteral(" dráha c.2 00:00:18:004"));
    log.poll();
    EXPECT_FALSE(log.waitFlushed(0ms)) << "the end gives up at its limit";
    disk.set(false, 0);
    ASSERT_TRUE(log.waitFlushed(1h));
    EXPECT_EQ(disk.flushed, (std::vector<std::string>{"SDH Lhota\r\n",
                                                      "SDH Lhota\r\n dr\xE1ha c.1 00:00:17:250\r\n "
                                                      "dr\xE1ha c.2 00:00:18:004\r\n"}));
    EXPECT_EQ(disk.folders, 1) << "the new file's name, once";
    EXPECT_TRUE(notices.isEmpty());
}

TEST_F(Flushed, AFailedFlushIsToldOnceUntilAFlushHasWorkedAgain) {
    for (const int error : {EIO, EIO, 0, ENOSPC}) {
        disk.set(false, error);
        log.append(QStringLiteral("x"));
        ASSERT_TRUE(log.waitFlushed(1h));
        log.poll();
    }
    const QString told =
        QStringLiteral("Uložení souboru ZAVOD.TXT na disk selhalo: %1\nZáznamy jsou "
                       "v souboru, ale při výpadku napájení se mohou ztratit.");
    EXPECT_EQ(notices, (QStringList{told.arg(QStringLiteral("chyba čtení nebo zápisu na disk")),
                                    told.arg(QStringLiteral("disk je plný"))}));
}

} // namespace
