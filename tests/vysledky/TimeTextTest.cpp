#include "vysledky/TimeText.h"
#include "tests/support/Printers.h"

#include <QString>

#include <gtest/gtest.h>

TEST(TimeText, ReadsTheLogsTimeFormat) {
    EXPECT_EQ(TimeText::millis(u"00:00:00:000"), 0);
    EXPECT_EQ(TimeText::millis(u"00:01:23:456"), 83'456);
    EXPECT_EQ(TimeText::millis(u"23:59:59:999"), 86'399'999);
    EXPECT_EQ(TimeText::millis(u"01:00:00:007"), 3'600'007);
}

TEST(TimeText, RefusesAnythingElse) {
    for (const char16_t* text :
         {u"", u"0:01:23:456", u"00:01:23:45", u"00:01:23:4567", u"00:01:23.456", u"00-01-23-456",
          u"00:1:23:4567", u" 00:01:23:456", u"00:01:23:456 ", u"aa:01:23:456", u"00:01:2x:456",
          u"24:00:00:000", u"00:60:00:000", u"00:00:60:000", u"００:01:23:456"}) {
        EXPECT_FALSE(TimeText::millis(text).has_value()) << QString::fromUtf16(text).toStdString();
    }
}
