#include "race/LogFlusher.h"
#include "race/DiskFlush.h"
#include "race/ResultsLog.h"
#include "tests/support/Engine.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <fstream>
#include <optional>
#include <thread>
#include <unistd.h>

namespace {

using namespace std::chrono_literals;

// A disk whose flushes fail with error and, while held (at first), wait for the test to let them
// go. Each flush of a file notes the file's bytes as it begins; once it has worked, they are
// durable: what a power cut leaves.
struct HeldDisk final : DiskFlush {
    std::mutex m;
    std::condition_variable changed;
    bool held = true;
    int error = 0, folders = 0;
    std::vector<std::string> flushed;
    std::string durable;

    int flushFile(int fd) override {
        std::ifstream file("/proc/self/fd/" + std::to_string(fd), std::ios::binary);
        std::unique_lock lock(m);
        flushed.emplace_back(std::istreambuf_iterator<char>(file),
                             std::istreambuf_iterator<char>());
        changed.notify_all();
        changed.wait(lock, [this] { return !held; });
        if (error == 0) {
            durable = flushed.back();
        }
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

TEST(LogFlusher, AFailedFlushIsToldOnceUntilAFlushHasWorkedAgain) {
    QTemporaryDir dir;
    HeldDisk disk;
    LogFlusher flusher{disk};
    ResultsLog log{dir.filePath(QStringLiteral("ZAVOD.TXT"))};
    QStringList notices;
    log.flushWith(flusher), log.setNotice([&notices](auto m) { notices << m; });
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

// Blocked in the kernel, as a thread waiting for the flusher is, or ended.
bool waitingOrGone(pid_t tid) {
    std::ifstream stat("/proc/self/task/" + std::to_string(tid) + "/stat");
    const std::string line(std::istreambuf_iterator<char>(stat), {});
    const std::size_t state = line.rfind(") ");
    return state == std::string::npos || line[state + 2] == 'S' || line[state + 2] == 'D';
}

// However the program ends, what it wrote is on the disk once it has ended: a power cut right
// after takes nothing. The disk holds every flush until the thread that ends the program waits
// for it (or has gone on without waiting), so an end that does not wait is caught in the act.
// An append never waits for a held flush.
TEST(ProgramEnd, EveryRecordWrittenIsOnTheDiskWhenTheProgramHasEnded) {
    using Flusher = std::optional<LogFlusher>;
    const auto closeDown = [](Engine& e, Flusher&) { EXPECT_TRUE(e.race.closeDown()); };
    const struct {
        const char* name;
        std::function<void(Engine&, HeldDisk&)> records;
        std::function<void(Engine&, Flusher&)> end;
        std::vector<std::string> flushed; // the file as each flush began; the last is all of it
    } ways[] = {
        {"the end just after a record",
         [](Engine& e, HeldDisk&) { e.log.append(QStringLiteral(" Diskvalifikace ")); },
         closeDown,
         {" Diskvalifikace \r\n"}},
        {"the end writing a record kept from an outage",
         [](Engine& e, HeldDisk&) {
             ASSERT_TRUE(QDir().mkdir(e.logPath()));
             e.log.append(QStringLiteral(" Start anulovan "));
             ASSERT_TRUE(QDir().rmdir(e.logPath()));
         },
         closeDown,
         {" Start anulovan \r\n"}},
        {"the flusher ending with a record queued behind its flush",
         [](Engine& e, HeldDisk& disk) {
             e.log.append(QStringLiteral("SDH Lhota"));
             std::unique_lock lock(disk.m);
             disk.changed.wait(lock, [&disk] { return !disk.flushed.empty(); });
             lock.unlock();
             e.log.append(QStringLiteral(" Diskvalifikace "));
             EXPECT_FALSE(e.log.waitFlushed(0ms)) << "the end gives up at its limit";
         },
         [](Engine&, Flusher& flusher) { flusher.reset(); },
         {"SDH Lhota\r\n", "SDH Lhota\r\n Diskvalifikace \r\n"}},
    };
    for (const auto& w : ways) {
        SCOPED_TRACE(w.name);
        HeldDisk disk;
        Flusher flusher(std::in_place, disk);
        Engine e;
        e.log.flushWith(*flusher);
        w.records(e, disk);
        std::thread letGo([&disk, ending = gettid()] {
            while (!waitingOrGone(ending)) {
                std::this_thread::sleep_for(100us);
            }
            disk.set(false, 0);
        });
        w.end(e, flusher);
        std::unique_lock lock(disk.m);
        const std::string durable = disk.durable; // the power cut
        lock.unlock();
        letGo.join();
        EXPECT_EQ(durable, w.flushed.back());
        EXPECT_EQ(e.logBytes().toStdString(), w.flushed.back());
        EXPECT_EQ(disk.flushed, w.flushed);
        EXPECT_EQ(disk.folders, 1) << "the new file's name, once";
    }
}

} // namespace
