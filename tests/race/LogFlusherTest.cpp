#include "race/LogFlusher.h"
#include "race/DiskFlush.h"
#include "race/ResultsLog.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <fstream>
#include <mutex>

namespace {

using namespace std::chrono_literals;
constexpr auto never = std::chrono::hours(1);

// A disk whose flushes fail with the error given and, while held, wait for the test to let
// them go. Each flush of a file notes the file's bytes as it began.
class HeldDisk final : public DiskFlush {
public:
    int flushFile(int fd) override {
        std::ifstream file("/proc/self/fd/" + std::to_string(fd), std::ios::binary);
        std::unique_lock lock(m_);
        flushed_.emplace_back(std::istreambuf_iterator<char>(file),
                              std::istreambuf_iterator<char>());
        changed_.notify_all();
        changed_.wait(lock, [this] { return !held_; });
        return error_;
    }
    int flushFolder(int) override {
        const std::lock_guard lock(m_);
        return ++folders_, error_;
    }
    void hold(bool held) {
        const std::lock_guard lock(m_);
        held_ = held;
        changed_.notify_all();
    }
    void failWith(int error) {
        const std::lock_guard lock(m_);
        error_ = error;
    }
    void awaitFlushes(std::size_t n) {
        std::unique_lock lock(m_);
        changed_.wait(lock, [&] { return flushed_.size() >= n; });
    }
    std::vector<std::string> flushed() {
        const std::lock_guard lock(m_);
        return flushed_;
    }
    int folders() {
        const std::lock_guard lock(m_);
        return folders_;
    }

private:
    std::mutex m_;
    std::condition_variable changed_;
    bool held_ = false;
    int error_ = 0;
    int folders_ = 0;
    std::vector<std::string> flushed_;
};

struct Flushed {
    QTemporaryDir dir;
    HeldDisk disk;
    LogFlusher flusher{disk};
    ResultsLog log{dir.filePath(QStringLiteral("ZAVOD.TXT"))};
    QStringList notices;
    Flushed() {
        log.flushWith(flusher);
        log.setNotice([this](const QString& m) { notices << m; });
    }
};

TEST(LogFlusher, EveryRecordIsFlushedInOrderWhileAppendsNeverWaitForASlowFlush) {
    Flushed f;
    f.disk.hold(true);
    f.log.append(QStringLiteral("SDH Lhota"));
    f.disk.awaitFlushes(1);
    // The first flush hangs; the next records are written all the same.
    f.log.append(QStringLiteral(" dráha c.1 00:00:17:250"));
    f.log.append(QStringLiteral(" dráha c.2 00:00:18:004"));
    f.log.poll();
    EXPECT_FALSE(f.log.waitFlushed(0ms)) << "the end gives up at its limit";
    f.disk.hold(false);
    EXPECT_TRUE(f.log.waitFlushed(never));
    const std::string all =
        "SDH Lhota\r\n dr\xE1ha c.1 00:00:17:250\r\n dr\xE1ha c.2 00:00:18:004\r\n";
    EXPECT_EQ(f.disk.flushed(), (std::vector<std::string>{"SDH Lhota\r\n", all}));
    EXPECT_EQ(f.disk.folders(), 1) << "the new file's name, once";
    EXPECT_TRUE(f.notices.isEmpty());
}

TEST(LogFlusher, AFailedFlushIsToldOnceUntilAFlushHasWorkedAgain) {
    Flushed f;
    const struct {
        int error;
        qsizetype notices;
    } steps[] = {{EIO, 1}, {EIO, 1}, {0, 1}, {ENOSPC, 2}};
    for (const auto& step : steps) {
        f.disk.failWith(step.error);
        f.log.append(QStringLiteral("x"));
        ASSERT_TRUE(f.log.waitFlushed(never));
        f.log.poll();
        EXPECT_EQ(f.notices.size(), step.notices) << step.error;
    }
    EXPECT_EQ(f.notices,
              (QStringList{QStringLiteral("Uložení souboru ZAVOD.TXT na disk selhalo: chyba čtení "
                                          "nebo zápisu na disk\nZáznamy jsou v souboru, ale při "
                                          "výpadku napájení se mohou ztratit."),
                           QStringLiteral("Uložení souboru ZAVOD.TXT na disk selhalo: disk je "
                                          "plný\nZáznamy jsou v souboru, ale při výpadku "
                                          "napájení se mohou ztratit.")}));
}

} // namespace
