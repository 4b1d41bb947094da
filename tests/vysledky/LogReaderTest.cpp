#include "vysledky/LogReader.h"
#include "tests/vysledky/LogBytes.h"
#include "tests/vysledky/ReadLog.h"
#include "vysledky/CsvWriter.h"

#include <QDir>

#include <gtest/gtest.h>

namespace {
QByteArray csvOf(const LogReader& reader) {
    return CsvWriter::attempts(reader.attempts());
}

const QByteArray sample =
    logOf({"SDH Lhota", "@1 00:00:17:250", "@2 00:00:18:003", "Sokol T\370eb\355\350",
           "@1 00:00:03:000", "@annul", "@2 00:00:19:000", "@stop 00:00:35:000", "Jiskra",
           "@2 00:00:16:900", "@1 00:00:21:040", "@dq"});
} // namespace

TEST(LogReader, AMissingFileReadsAsNoAttempts) {
    TempLog log;
    LogReader reader(log.path());
    EXPECT_FALSE(reader.update());
    EXPECT_EQ(reader.status(), LogReader::Status::Missing);
    EXPECT_TRUE(reader.attempts().isEmpty());
    EXPECT_EQ(reader.lineCount(), 0);
}

TEST(LogReader, AFolderIsNoLog) {
    TempLog log;
    LogReader reader(log.folder());
    reader.update();
    EXPECT_EQ(reader.status(), LogReader::Status::Unreadable);
    EXPECT_TRUE(reader.attempts().isEmpty());
}

#ifdef Q_OS_UNIX
// A device could be endless or answer to being opened: only plain files are read.
TEST(LogReader, ADeviceIsNoLog) {
    LogReader reader(QStringLiteral("/dev/zero"));
    EXPECT_FALSE(reader.update());
    EXPECT_EQ(reader.status(), LogReader::Status::Unreadable);
    EXPECT_TRUE(reader.attempts().isEmpty());
}
#endif

TEST(LogReader, AnEmptyFileIsReadWithNoAttempts) {
    TempLog log;
    log.write("");
    LogReader reader(log.path());
    reader.update();
    EXPECT_EQ(reader.status(), LogReader::Status::Read);
    EXPECT_EQ(reader.lineCount(), 0);
    EXPECT_EQ(csvOf(reader), attemptsHeader);
}

TEST(LogReader, CountsALastLineWithoutItsLineEnd) {
    TempLog log;
    log.write(logOf({"A", "@1 00:00:17:000"}) + LogBytesText::lane2Label + "00:00:18:000");
    LogReader reader(log.path());
    reader.update();
    EXPECT_EQ(reader.lineCount(), 3);
    EXPECT_EQ(csvOf(reader),
              attemptsHeader + "1;A;00:00:17:000;00:00:18:000;00:00:18:000;platný\r\n");
}

TEST(LogReader, TakesABareLineFeedAsALineEnd) {
    TempLog log;
    log.write("A\n" + LogBytesText::lane1Label + "00:00:17:000\n" + LogBytesText::lane2Label +
              "00:00:18:000\n");
    LogReader reader(log.path());
    reader.update();
    EXPECT_EQ(csvOf(reader),
              attemptsHeader + "1;A;00:00:17:000;00:00:18:000;00:00:18:000;platný\r\n");
}

TEST(LogReader, ReadsAGrowingFileAsIfWholeWhereverTheWriterPaused) {
    const QByteArray whole = ReadLog(sample).attempts;
    for (qsizetype split = 0; split <= sample.size(); ++split) {
        TempLog log;
        log.write(sample.left(split));
        LogReader reader(log.path());
        reader.update();
        log.append(sample.mid(split));
        reader.update();
        ASSERT_EQ(csvOf(reader), whole) << "split at byte " << split;
        EXPECT_EQ(reader.lineCount(), 12);
    }
}

TEST(LogReader, UpdatesOnlyWhenTheFileChanged) {
    TempLog log;
    log.write(sample);
    LogReader reader(log.path());
    EXPECT_TRUE(reader.update());
    EXPECT_FALSE(reader.update());
    log.append(logOf({"B"}));
    EXPECT_TRUE(reader.update());
    EXPECT_FALSE(reader.update());
}

// The last attempt is provisional: its state follows the records appended after it.
TEST(LogReader, TheLastAttemptChangesAsRecordsArrive) {
    TempLog log;
    log.write(logOf({"A", "@1 00:00:17:000"}));
    LogReader reader(log.path());
    reader.update();
    EXPECT_EQ(csvOf(reader), attemptsHeader + "1;A;00:00:17:000;;;neúplný\r\n");
    log.append(logOf({"@2 00:00:18:000"}));
    reader.update();
    EXPECT_EQ(csvOf(reader),
              attemptsHeader + "1;A;00:00:17:000;00:00:18:000;00:00:18:000;platný\r\n");
    log.append(logOf({"@dq"}));
    reader.update();
    EXPECT_EQ(csvOf(reader),
              attemptsHeader + "1;A;00:00:17:000;00:00:18:000;00:00:18:000;diskvalifikace\r\n");
}

TEST(LogReader, ReadsAShorterFileAfresh) {
    TempLog log;
    log.write(sample);
    LogReader reader(log.path());
    reader.update();
    log.write(logOf({"Nov\xE9", "@1 00:00:17:000"}));
    EXPECT_TRUE(reader.update());
    EXPECT_EQ(csvOf(reader), attemptsHeader + "1;Nové;00:00:17:000;;;neúplný\r\n");
    EXPECT_EQ(reader.lineCount(), 2);
}

TEST(LogReader, ReadsALongerFileAfreshWhenItsBeginningChanged) {
    TempLog log;
    log.write(logOf({"A", "@1 00:00:17:000"}));
    LogReader reader(log.path());
    reader.update();
    log.write(logOf({"B", "@1 00:00:16:000", "@2 00:00:16:500"}));
    EXPECT_TRUE(reader.update());
    EXPECT_EQ(csvOf(reader),
              attemptsHeader + "1;B;00:00:16:000;00:00:16:500;00:00:16:500;platný\r\n");
}

TEST(LogReader, KeepsWhatItReadWhileTheFileIsGoneAndReadsItsSuccessor) {
    TempLog log;
    log.write(sample);
    LogReader reader(log.path());
    reader.update();
    const QByteArray read = csvOf(reader);
    ASSERT_TRUE(QFile::remove(log.path()));
    EXPECT_FALSE(reader.update());
    EXPECT_EQ(reader.status(), LogReader::Status::Gone);
    EXPECT_EQ(csvOf(reader), read);
    log.write(logOf({"C", "@annul"}));
    EXPECT_TRUE(reader.update());
    EXPECT_EQ(csvOf(reader), attemptsHeader + "1;C;;;;start anulován\r\n");
}

TEST(LogReader, LeavesTheFileAsItWas) {
    TempLog log;
    log.write(sample);
    const QDateTime modified = QFileInfo(log.path()).lastModified();
    LogReader reader(log.path());
    reader.update();
    reader.update();
    EXPECT_EQ(log.read(), sample);
    EXPECT_EQ(QFileInfo(log.path()).lastModified(), modified);
}
