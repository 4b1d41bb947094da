#include "vysledky/CsvWriter.h"
#include "tests/vysledky/LogBytes.h"
#include "tests/vysledky/ReadLog.h"

#include <gtest/gtest.h>

TEST(CsvWriter, WritesTheHeadersInUtf8WithCrLf) {
    const ReadLog read("");
    EXPECT_EQ(read.attempts, QByteArray("pokus;dru\xC5\xBEstvo;dr\xC3\xA1ha 1;dr\xC3\xA1ha 2;"
                                        "v\xC3\xBDsledek;stav\r\n"));
    EXPECT_EQ(read.ranking, QByteArray("m\xC3\xADsto;dru\xC5\xBEstvo;v\xC3\xBDsledek\r\n"));
}

TEST(CsvWriter, QuotesFieldsHoldingSemicolonsOrQuotes) {
    const QByteArray log = logOf({"SDH \"Orel\"; Lhota", "@1 00:00:17:000", "\"", "@1 00:00:17:000",
                                  "a;b", "@1 00:00:17:000", "a, b 'c'", "@1 0;0"});
    const ReadLog read(log);
    EXPECT_EQ(read.attempts, attemptsHeader +
                                 "1;\"SDH \"\"Orel\"\"; Lhota\";00:00:17:000;;;neúplný\r\n"
                                 "2;\"\"\"\";00:00:17:000;;;neúplný\r\n"
                                 "3;\"a;b\";00:00:17:000;;;neúplný\r\n"
                                 "4;a, b 'c';\"0;0\";;;neúplný\r\n");
}

TEST(CsvWriter, QuotesALineBreakInAField) {
    EXPECT_EQ(CsvWriter::field(QStringLiteral("a\rb")), u"\"a\rb\"");
    EXPECT_EQ(CsvWriter::field(QStringLiteral("a\nb")), u"\"a\nb\"");
    EXPECT_EQ(CsvWriter::field(QStringLiteral("ab")), u"ab");
    EXPECT_EQ(CsvWriter::field(QString()), u"");
}
