#include "vysledky/LogFollower.h"
#include "tests/vysledky/LogBytes.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

// refresh() is what the file watch and the poll call; the tests call it themselves.
TEST(LogFollower, PicksUpALogThatAppearsLater) {
    TempLog log;
    LogFollower follower(log.path());
    QSignalSpy updates(&follower, &LogFollower::updated);
    follower.refresh();
    EXPECT_EQ(follower.reader().status(), LogReader::Status::Missing);
    EXPECT_EQ(updates.size(), 1);
    follower.refresh();
    EXPECT_EQ(updates.size(), 1);

    log.write(logOf({"A", "@1 00:00:17:000", "@2 00:00:18:000"}));
    follower.refresh();
    EXPECT_EQ(updates.size(), 2);
    ASSERT_EQ(follower.attempts().size(), 1);
    EXPECT_EQ(follower.attempts()[0].state, AttemptState::Valid);
    ASSERT_EQ(follower.ranking().size(), 1);
    EXPECT_EQ(follower.ranking()[0].result, u"00:00:18:000");
}

TEST(LogFollower, ReportsOnlyChanges) {
    TempLog log;
    log.write(logOf({"A", "@1 00:00:17:000"}));
    LogFollower follower(log.path());
    QSignalSpy updates(&follower, &LogFollower::updated);
    follower.refresh();
    follower.refresh();
    EXPECT_EQ(updates.size(), 1);
    log.append(logOf({"@annul"}));
    follower.refresh();
    EXPECT_EQ(updates.size(), 2);
    ASSERT_EQ(follower.attempts().size(), 1);
    EXPECT_EQ(follower.attempts()[0].state, AttemptState::Annulled);
    ASSERT_EQ(follower.ranking().size(), 1);
    EXPECT_EQ(follower.ranking()[0].result, u"NP");
}
