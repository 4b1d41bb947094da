#include "race/ResultsLog.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "tests/support/Printers.h"

#include <gtest/gtest.h>

namespace {

class ResultsLogTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("ZAVOD.TXT"));
    ResultsLog log{path};
    QStringList notices;

    void SetUp() override {
        log.setNotice([this](const QString& m) { notices << m; });
    }

    QByteArray content() const {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    void write(const QByteArray& bytes) const {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
};

TEST_F(ResultsLogTest, TheFirstRecordCreatesTheFileWithExactlyThatLine) {
    log.append(QStringLiteral(" Diskvalifikace "));
    EXPECT_EQ(content(), QByteArray(" Diskvalifikace \r\n"));
    EXPECT_TRUE(notices.isEmpty());
}

TEST_F(ResultsLogTest, AppendsAfterWhatIsThereEvenWithoutALineEnd) {
    write("SDH Lhota\r\n dráha c.1 00:00:1");
    log.append(QStringLiteral("SDH Ves"));
    log.append(QStringLiteral("SDH Ves"));
    EXPECT_EQ(content(), QByteArray("SDH Lhota\r\n dráha c.1 00:00:1SDH Ves\r\nSDH Ves\r\n"));
}

TEST_F(ResultsLogTest, TheTextIsTakenOnlyOnceTheFileIsOpen) {
    bool existedWhenAsked = false;
    log.append([&] {
        existedWhenAsked = QFile::exists(path);
        return QStringLiteral("STOP ZAVODU TLACITKEM 00:00:01:000");
    });
    EXPECT_TRUE(existedWhenAsked);
}

TEST_F(ResultsLogTest, NoFileHandleStaysOpenBetweenRecords) {
    log.append(QStringLiteral("a"));
    QFile::remove(path);
    log.append(QStringLiteral("b"));
    EXPECT_EQ(content(), QByteArray("b\r\n"));
}

TEST_F(ResultsLogTest, AFileThatCannotBeOpenedKeepsRecordsInOrderAndTellsOncePerOutage) {
    // A folder in the file's place: no process, root included, can open it for writing.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("ZAVOD.TXT")));
    log.append(QStringLiteral("one"));
    log.append(QStringLiteral("two"));
    EXPECT_EQ(notices, QStringList{QStringLiteral(
                           "Zápis do souboru ZAVOD.TXT selhal: na místě souboru je složka\n"
                           "Záznam je uschován a bude zapsán při dalším zápisu.")});
    EXPECT_EQ(log.pending(), (QStringList{QStringLiteral("one"), QStringLiteral("two")}));

    ASSERT_TRUE(QDir(dir.path()).rmdir(QStringLiteral("ZAVOD.TXT")));
    log.append(QStringLiteral("three"));
    EXPECT_EQ(content(), QByteArray("one\r\ntwo\r\nthree\r\n"));
    EXPECT_TRUE(log.pending().isEmpty());
    EXPECT_EQ(notices.size(), 1);
}

TEST_F(ResultsLogTest, AFullDiskLosesNothingAndANewOutageIsToldAgain) {
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/full"), path));
    log.append(QStringLiteral(" dráha c.1 00:00:10:000"));
    log.append(QStringLiteral(" dráha c.2 00:00:11:000"));
    ASSERT_EQ(notices.size(), 1);
    EXPECT_TRUE(
        notices[0].startsWith(QStringLiteral("Zápis do souboru ZAVOD.TXT selhal: disk je plný\n")))
        << notices[0].toStdString();
    EXPECT_FALSE(log.retryPending());

    ASSERT_TRUE(QFile::remove(path));
    EXPECT_TRUE(log.retryPending());
    EXPECT_EQ(content(),
              QByteArray(" dr\xE1ha c.1 00:00:10:000\r\n dr\xE1ha c.2 00:00:11:000\r\n"));

    // Back to a full disk: the operator hears of it again, once.
    ASSERT_TRUE(QFile::remove(path));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/full"), path));
    log.append(QStringLiteral("x"));
    log.append(QStringLiteral("y"));
    EXPECT_EQ(notices.size(), 2);
    EXPECT_EQ(log.pending(), (QStringList{QStringLiteral("x"), QStringLiteral("y")}));
}

TEST_F(ResultsLogTest, AMissingFolderIsAnOutageToo) {
    ResultsLog nowhere(dir.filePath(QStringLiteral("gone/ZAVOD.TXT")));
    QStringList told;
    nowhere.setNotice([&](const QString& m) { told << m; });
    nowhere.append(QStringLiteral("a"));
    EXPECT_EQ(told.size(), 1);
    EXPECT_EQ(nowhere.pending(), QStringList{QStringLiteral("a")});
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("gone")));
    EXPECT_TRUE(nowhere.retryPending());
    QFile f(dir.filePath(QStringLiteral("gone/ZAVOD.TXT")));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("a\r\n"));
}

} // namespace
