#include "race/ResultsLog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "tests/support/FileSizeLimit.h"
#include "tests/support/OrdinaryUser.h"
#include "tests/support/Printers.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

const QByteArray noFile = "<no file>";

// ZAVOD.TXT in a folder of its own, reached as an ordinary user even by root.
class LogFolder {
public:
    QTemporaryDir top;
    OrdinaryUser user{top.path()};
    QString folder = top.filePath(QStringLiteral("zavod"));
    QString path = folder + QStringLiteral("/ZAVOD.TXT");
    ResultsLog log{path};
    QStringList notices;

    LogFolder() {
        QDir().mkdir(folder);
        log.setNotice([this](const QString& m) { notices << m; });
    }

    QByteArray content() const {
        QFile f(path);
        return QFileInfo(path).isFile() && f.open(QIODevice::ReadOnly) ? f.readAll() : noFile;
    }
    void write(const QByteArray& bytes) const {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
};

class ResultsLogTest : public ::testing::Test, public LogFolder {};

// Each record is one line after whatever the file holds then, even without a line end. No
// handle stays open between records: a file deleted in between is no outage, the next record
// starts a new one.
TEST_F(ResultsLogTest, EachRecordIsOneLineAfterWhatTheFileHoldsThen) {
    log.append(QStringLiteral(" Diskvalifikace "));
    EXPECT_EQ(content(), QByteArray(" Diskvalifikace \r\n"));
    ASSERT_TRUE(QFile::remove(path));
    log.append(QStringLiteral("a"));
    EXPECT_EQ(content(), QByteArray("a\r\n"));
    write("SDH Lhota\r\n dráha c.1 00:00:1");
    log.append(QStringLiteral("SDH Ves"));
    log.append(QStringLiteral("SDH Ves"));
    EXPECT_EQ(content(), QByteArray("SDH Lhota\r\n dráha c.1 00:00:1SDH Ves\r\nSDH Ves\r\n"));
    EXPECT_TRUE(notices.isEmpty());
}

TEST_F(ResultsLogTest, TheTextIsTakenOnlyOnceTheFileIsOpen) {
    bool existedWhenAsked = false;
    log.append([&] {
        existedWhenAsked = QFile::exists(path);
        return QStringLiteral("STOP ZAVODU TLACITKEM 00:00:01:000");
    });
    EXPECT_TRUE(existedWhenAsked);
}

// Each way the file fails: the reason the operator reads, the file while it lasts (never half
// a record in it), and every kept record written in order once the fault is gone.
TEST(ResultsLogOutage, EachWayTheFileFailsIsToldOnceWithItsReasonAndLosesNothing) {
    FileSizeLimit nearlyFull;
    // The file's or the folder's permissions set to these.
    const auto mode = [](QString LogFolder::*which, QFile::Permissions to) {
        return [which, to](LogFolder& f) { return QFile::setPermissions(f.*which, to); };
    };
    const QFile::Permissions rw = QFile::ReadOwner | QFile::WriteOwner;
    const struct Way {
        const char* name;
        QByteArray before;
        std::function<bool(LogFolder&)> fault, repair;
        QString reason;
        QByteArray during;
    } ways[] = {
        {"a read-only file", "Sokol Ves\r\n", mode(&LogFolder::path, QFile::ReadOwner),
         mode(&LogFolder::path, rw), QStringLiteral("přístup odepřen"), "Sokol Ves\r\n"},
        {"a read-only folder", "", mode(&LogFolder::folder, QFile::ReadOwner | QFile::ExeOwner),
         mode(&LogFolder::folder, rw | QFile::ExeOwner), QStringLiteral("přístup odepřen"), noFile},
        {"a folder in the file's place", "", [](LogFolder& f) { return QDir().mkdir(f.path); },
         [](LogFolder& f) { return QDir().rmdir(f.path); },
         QStringLiteral("na místě souboru je složka"), noFile},
        {"the folder removed", "", [](LogFolder& f) { return QDir(f.folder).removeRecursively(); },
         [](LogFolder& f) { return QDir().mkdir(f.folder); },
         QStringLiteral("soubor nebo složka chybí"), noFile},
        {"a full disk", "",
         [](LogFolder& f) { return QFile::link(QStringLiteral("/dev/full"), f.path); },
         [](LogFolder& f) { return QFile::remove(f.path); }, QStringLiteral("disk je plný"),
         noFile},
        {"a disk that takes five bytes of the next line", "Sokol Ves\r\n",
         [&](LogFolder&) { return nearlyFull.set(11 + 5), true; },
         [&](LogFolder&) { return nearlyFull.lift(), true; },
         QStringLiteral("soubor je příliš velký"), "Sokol Ves\r\n"},
    };
    for (const Way& w : ways) {
        SCOPED_TRACE(w.name);
        LogFolder f;
        ASSERT_TRUE(f.user.enforced());
        if (!w.before.isEmpty()) {
            f.write(w.before);
        }
        ASSERT_TRUE(w.fault(f));
        f.log.append(QStringLiteral("SDH Lhota"));
        f.log.append(QStringLiteral(" dráha c.1 00:00:17:250"));
        EXPECT_EQ(f.notices,
                  QStringList{QStringLiteral("Zápis do souboru ZAVOD.TXT selhal: ") + w.reason +
                              QStringLiteral("\nZáznam je uschován a bude zapsán při "
                                             "dalším zápisu.")});
        EXPECT_EQ(f.content(), w.during);
        EXPECT_EQ(f.log.pending(), (QStringList{QStringLiteral("SDH Lhota"),
                                                QStringLiteral(" dráha c.1 00:00:17:250")}));
        EXPECT_FALSE(f.log.retryPending()) << "still down";

        ASSERT_TRUE(w.repair(f));
        f.log.append(QStringLiteral(" Diskvalifikace "));
        EXPECT_EQ(f.content(),
                  w.before + "SDH Lhota\r\n dr\xE1ha c.1 00:00:17:250\r\n Diskvalifikace \r\n");
        EXPECT_TRUE(f.log.pending().isEmpty());
        EXPECT_EQ(f.notices.size(), 1);

        // After that success a new outage is a new one, and told again.
        ASSERT_TRUE(QFile::setPermissions(f.path, QFile::ReadOwner));
        f.log.append(QStringLiteral("Sokol Ves"));
        ASSERT_EQ(f.notices.size(), 2);
        EXPECT_TRUE(f.notices[1].contains(QStringLiteral("přístup odepřen")));
    }
}

} // namespace
