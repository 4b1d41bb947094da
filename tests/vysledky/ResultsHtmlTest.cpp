#include "vysledky/ResultsHtml.h"
#include "tests/support/Printers.h"

#include <gtest/gtest.h>

TEST(ResultsHtml, EscapesTheTextsOfTheLog) {
    Attempt attempt;
    attempt.number = 1;
    attempt.team = QStringLiteral("<b>A & B</b> %1");
    attempt.lane1 = QStringLiteral("<i>");
    attempt.state = AttemptState::Incomplete;
    const QString html = resultsHtml(QStringLiteral("Výsledky – <ZAVOD>"), {attempt}, {});
    EXPECT_TRUE(html.contains(u"<td>&lt;b&gt;A &amp; B&lt;/b&gt; %1</td>"));
    EXPECT_TRUE(html.contains(u"<td>&lt;i&gt;</td>"));
    EXPECT_TRUE(html.contains(u"<h1>Výsledky – &lt;ZAVOD&gt;</h1>"));
    EXPECT_FALSE(html.contains(u"<b>"));
}

TEST(ResultsHtml, PutsTheRankingBeforeTheAttempts) {
    Attempt attempt;
    attempt.number = 7;
    attempt.team = QStringLiteral("Jiskra");
    attempt.lane1 = QStringLiteral("00:00:17:000");
    attempt.lane2 = QStringLiteral("00:00:18:000");
    attempt.result = attempt.lane2;
    attempt.resultMillis = 18'000;
    attempt.state = AttemptState::Valid;
    const RankingRow row{1, QStringLiteral("Jiskra"), QStringLiteral("00:00:18:000"), 18'000, {}};
    const QString html = resultsHtml(QStringLiteral("Výsledky"), {attempt}, {row});
    const qsizetype ranking = html.indexOf(u"<h2>Pořadí</h2>");
    const qsizetype attempts = html.indexOf(u"<h2>Pokusy</h2>");
    ASSERT_GE(ranking, 0);
    ASSERT_GT(attempts, ranking);
    EXPECT_TRUE(html.contains(u"<tr><th>místo</th><th>družstvo</th><th>výsledek</th></tr>"));
    EXPECT_TRUE(html.contains(u"<tr><td>1</td><td>Jiskra</td><td>00:00:18:000</td></tr>"));
    EXPECT_TRUE(html.contains(u"<tr><td>7</td><td>Jiskra</td><td>00:00:17:000</td>"
                              u"<td>00:00:18:000</td><td>00:00:18:000</td><td>platný</td></tr>"));
}
