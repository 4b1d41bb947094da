#include "vysledky/LogFollower.h"
#include "tests/vysledky/LogBytes.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

// refresh() is what the file watch and the poll call; the test calls it itself, twice a step:
// each change of the file's state or of the tables is reported once, with the tables made. A
// decision appended to the corrections file beside the log is such a change too.
TEST(LogFollower, ReportsEachChangeOnceWithItsTables) {
    TempLog log;
    LogFollower follower(log.path());
    QSignalSpy updates(&follower, &LogFollower::updated);
    follower.refresh();
    follower.refresh();
    EXPECT_EQ(follower.reader().status(), LogReader::Status::Missing);
    EXPECT_EQ(updates.size(), 1);

    const struct {
        QByteArray appended;
        AttemptState state;
        const char16_t* result;
        QByteArray decision = {};
    } steps[] = {
        {logOf({"A", "@1 00:00:17:000"}), AttemptState::Incomplete, u"NP"},
        {logOf({"@2 00:00:18:000"}), AttemptState::Valid, u"00:00:18:000"},
        {logOf({"@annul"}), AttemptState::Annulled, u"NP"},
        {{},
         AttemptState::Disqualified,
         u"NP",
         "t;1;00:00:17:000|00:00:18:000|start anulován;"
         "neplatný;;rozhodčí\r\n"},
    };
    qsizetype reported = updates.size();
    for (const auto& s : steps) {
        log.append(s.appended);
        writeFile(follower.corrections().path(), s.decision, QIODevice::Append);
        follower.refresh();
        follower.refresh();
        EXPECT_EQ(updates.size(), ++reported) << s.appended.toStdString();
        ASSERT_EQ(follower.attempts().size(), 1);
        EXPECT_EQ(follower.attempts()[0].state, s.state);
        ASSERT_EQ(follower.ranking().size(), 1);
        EXPECT_EQ(follower.ranking()[0].result, QString::fromUtf16(s.result));
    }
}
