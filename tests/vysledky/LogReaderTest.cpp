#include "vysledky/LogReader.h"
#include "tests/vysledky/LogBytes.h"
#include "tests/vysledky/ReadLog.h"
#include "vysledky/CsvWriter.h"

#include <QDir>

#include <gtest/gtest.h>

namespace {
using Status = LogReader::Status;

QByteArray csvOf(const LogReader& reader) {
    return CsvWriter::attempts(reader.attempts());
}

const QByteArray sample =
    logOf({"SDH Lhota", "@1 00:00:17:250", "@2 00:00:18:003", "Sokol T\370eb\355\350",
           "@1 00:00:03:000", "@annul", "@2 00:00:19:000", "@stop 00:00:35:000", "Jiskra",
           "@2 00:00:16:900", "@1 00:00:21:040", "@dq"});
const QByteArray validA = "1;A;00:00:17:000;00:00:18:000;00:00:18:000;platný\r\n";
const QByteArray replaced = "\xEF\xBF\xBD"; // U+FFFD in UTF-8
} // namespace

// A device could be endless or answer to being opened: only plain files are read.
TEST(LogReader, ReadsNothingFromWhatIsNoLog) {
    TempLog log;
    const struct {
        QString path;
        Status status;
    } cases[] = {{log.path(), Status::Missing},
                 {log.folder(), Status::Unreadable},
                 {QStringLiteral("/dev/zero"), Status::Unreadable}};
    for (const auto& c : cases) {
        LogReader reader(c.path);
        EXPECT_FALSE(reader.update()) << c.path.toStdString();
        EXPECT_EQ(reader.status(), c.status) << c.path.toStdString();
        EXPECT_TRUE(reader.attempts().isEmpty());
        EXPECT_EQ(reader.lineCount(), 0);
    }
}

// CR LF, a bare LF, a last line without its line end, and lines of nothing at all.
TEST(LogReader, EndsALineAtEachKindOfLineEnd) {
    using namespace LogBytesText;
    const struct {
        QByteArray bytes;
        qint64 lines;
        QByteArray attempts; // after the header
    } cases[] = {
        {"", 0, ""},
        {"\r\n\r\n\n\r\n\r", 5, ""},
        {logOf({"A", "@1 00:00:17:000"}) + lane2Label + "00:00:18:000", 3, validA},
        {"A\n" + lane1Label + "00:00:17:000\n" + lane2Label + "00:00:18:000\n", 3, validA},
    };
    for (const auto& c : cases) {
        TempLog log;
        log.write(c.bytes);
        LogReader reader(log.path());
        reader.update();
        EXPECT_EQ(reader.status(), Status::Read) << c.bytes.toStdString();
        EXPECT_EQ(reader.lineCount(), c.lines) << c.bytes.toStdString();
        EXPECT_EQ(csvOf(reader), attemptsHeader + c.attempts) << c.bytes.toStdString();
    }
}

// Bytes Windows-1250 leaves undefined (0x81, 0x83, 0x88, 0x90, 0x98) and control characters
// show as U+FFFD; a line of 100,000 bytes is cut after 4096.
TEST(LogReader, ShowsDamagedBytesReplacedAndCutsAnOverlongLine) {
    const struct {
        QByteArray log;
        QByteArray attempts; // after the header
    } cases[] = {
        {logOf({"A\201B\203C\210D\220E\230", "@1 00:00:17:000", "@2 00:00:1\x98:000"}),
         "1;A" + replaced + "B" + replaced + "C" + replaced + "D" + replaced + "E" + replaced +
             ";00:00:17:000;00:00:1" + replaced + ":000;;neúplný\r\n"},
        {logOf({QByteArray("A\0B\tC\x1B", 6), "@1 00:00:17:000", "D\rE", "@1 00:00:17:000"}),
         "1;A" + replaced + "B" + replaced + "C" + replaced + ";00:00:17:000;;;neúplný\r\n2;D" +
             replaced + "E;00:00:17:000;;;neúplný\r\n"},
        {logOf({QByteArray(100'000, 'x'), "@1 00:00:17:000", "@2 00:00:17:000"}),
         "1;" + QByteArray(4096, 'x') + ";00:00:17:000;00:00:17:000;00:00:17:000;platný\r\n"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ReadLog(c.log).attempts, attemptsHeader + c.attempts);
    }
}

TEST(LogReader, BinaryGarbageDoesNoHarm) {
    QByteArray garbage;
    for (int i = 0; i < 70'000; ++i) {
        garbage.append(static_cast<char>((i * 7919 + i / 256) % 256));
    }
    TempLog log;
    log.write(garbage);
    LogReader reader(log.path());
    reader.update();
    EXPECT_EQ(reader.status(), Status::Read);
    EXPECT_EQ(reader.lineCount(), garbage.count('\n') + (garbage.endsWith('\n') ? 0 : 1));
    EXPECT_LE(reader.attempts().size(), reader.lineCount());
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

// The file step by step as the timing program and the user change it: whether each update
// reports a change, and what is read after it. The last attempt is provisional: its state
// follows the records appended after it. A file that shrank, or whose beginning changed, is read
// afresh; while it is gone, what was read stays.
TEST(LogReader, FollowsTheFileThroughEachChange) {
    enum Change { Write, Append, Remove, Nothing };
    const struct {
        Change change;
        QByteArray bytes;
        bool updated;
        Status status;
        qint64 lines;
        QByteArray attempts; // after the header
    } steps[] = {
        {Write, logOf({"A", "@1 00:00:17:000"}), true, Status::Read, 2,
         "1;A;00:00:17:000;;;neúplný\r\n"},
        {Nothing, {}, false, Status::Read, 2, "1;A;00:00:17:000;;;neúplný\r\n"},
        {Append, logOf({"@2 00:00:18:000"}), true, Status::Read, 3, validA},
        {Nothing, {}, false, Status::Read, 3, validA},
        {Append, logOf({"@dq"}), true, Status::Read, 4,
         "1;A;00:00:17:000;00:00:18:000;00:00:18:000;diskvalifikace\r\n"},
        {Write, logOf({"B", "@1 00:00:16:000", "@2 00:00:16:500", "C", "@annul"}), true,
         Status::Read, 5,
         "1;B;00:00:16:000;00:00:16:500;00:00:16:500;platný\r\n2;C;;;;start anulován\r\n"},
        {Write, logOf({"Nov\xE9", "@1 00:00:17:000"}), true, Status::Read, 2,
         "1;Nové;00:00:17:000;;;neúplný\r\n"},
        {Remove, {}, false, Status::Gone, 2, "1;Nové;00:00:17:000;;;neúplný\r\n"},
        {Write, logOf({"C", "@annul"}), true, Status::Read, 2, "1;C;;;;start anulován\r\n"},
    };
    TempLog log;
    LogReader reader(log.path());
    int step = 0;
    for (const auto& s : steps) {
        ++step;
        if (s.change == Write) {
            log.write(s.bytes);
        } else if (s.change == Append) {
            log.append(s.bytes);
        } else if (s.change == Remove) {
            ASSERT_TRUE(QFile::remove(log.path()));
        }
        EXPECT_EQ(reader.update(), s.updated) << "step " << step;
        EXPECT_EQ(reader.status(), s.status) << "step " << step;
        EXPECT_EQ(reader.lineCount(), s.lines) << "step " << step;
        EXPECT_EQ(csvOf(reader), attemptsHeader + s.attempts) << "step " << step;
    }
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
