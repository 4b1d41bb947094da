#include "tests/vysledky/LogBytes.h"
#include "tests/vysledky/ReadLog.h"
#include "vysledky/LogReader.h"

#include <gtest/gtest.h>

TEST(OddInput, BytesUndefinedInWindows1250ShowAsReplacementCharacters) {
    // 0x81, 0x83, 0x88, 0x90 and 0x98 (octal 201, 203, 210, 220, 230) are not in the code page.
    const QByteArray log =
        logOf({"A\201B\203C\210D\220E\230", "@1 00:00:17:000", "@2 00:00:1\x98:000"});
    EXPECT_EQ(ReadLog(log).attempts,
              attemptsHeader + "1;A\xEF\xBF\xBD"
                               "B\xEF\xBF\xBD"
                               "C\xEF\xBF\xBD"
                               "D\xEF\xBF\xBD"
                               "E\xEF\xBF\xBD;00:00:17:000;00:00:1\xEF\xBF\xBD:000;;neúplný\r\n");
}

TEST(OddInput, ControlCharactersShowAsReplacementCharacters) {
    const QByteArray log =
        logOf({QByteArray("A\0B\tC\x1B", 6), "@1 00:00:17:000", "D\rE", "@1 00:00:17:000"});
    EXPECT_EQ(ReadLog(log).attempts, attemptsHeader + "1;A\xEF\xBF\xBD"
                                                      "B\xEF\xBF\xBD"
                                                      "C\xEF\xBF\xBD;00:00:17:000;;;neúplný\r\n"
                                                      "2;D\xEF\xBF\xBD"
                                                      "E;00:00:17:000;;;neúplný\r\n");
}

TEST(OddInput, AnOverlongLineIsCut) {
    const QByteArray name(100'000, 'x');
    const QByteArray log = logOf({name, "@1 00:00:17:000", "@2 00:00:17:000"});
    EXPECT_EQ(ReadLog(log).attempts, attemptsHeader + "1;" +
                                         QByteArray(LogReader::maxLineBytes, 'x') +
                                         ";00:00:17:000;00:00:17:000;00:00:17:000;platný\r\n");
}

TEST(OddInput, AFileOfLineEndsOnlyHasNoAttempts) {
    EXPECT_EQ(ReadLog("\r\n\r\n\n\r\n\r").attempts, attemptsHeader);
}

TEST(OddInput, BinaryGarbageDoesNoHarm) {
    QByteArray garbage;
    for (int i = 0; i < 70'000; ++i) {
        garbage.append(static_cast<char>((i * 7919 + i / 256) % 256));
    }
    TempLog log;
    log.write(garbage);
    LogReader reader(log.path());
    reader.update();
    EXPECT_EQ(reader.status(), LogReader::Status::Read);
    EXPECT_EQ(reader.lineCount(), garbage.count('\n') + (garbage.endsWith('\n') ? 0 : 1));
    EXPECT_LE(reader.attempts().size(), reader.lineCount());
}
