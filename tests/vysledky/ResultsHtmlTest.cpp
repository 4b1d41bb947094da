#include "vysledky/ResultsHtml.h"
#include "tests/support/Printers.h"

#include <gtest/gtest.h>

// The title, the ranking, then the attempts; every text from the log escaped.
TEST(ResultsHtml, PutsTheRankingBeforeTheAttemptsAndEscapesTheLogsTexts) {
    Attempt attempt;
    attempt.number = 7;
    attempt.team = QStringLiteral("<b>A & B</b> %1");
    attempt.lane1 = QStringLiteral("<i>");
    attempt.lane2 = QStringLiteral("00:00:18:000");
    attempt.result = attempt.lane2;
    attempt.resultMillis = 18'000;
    attempt.state = AttemptState::Valid;
    const RankingRow row{1, attempt.team, attempt.result, 18'000, {}};
    const QString html = resultsHtml(QStringLiteral("Výsledky – <ZAVOD>"), {attempt}, {row});
    const qsizetype title = html.indexOf(u"<h1>Výsledky – &lt;ZAVOD&gt;</h1>");
    const qsizetype ranking = html.indexOf(u"<h2>Pořadí</h2>");
    ASSERT_GE(title, 0);
    ASSERT_GT(ranking, title);
    ASSERT_GT(html.indexOf(u"<h2>Pokusy</h2>"), ranking);
    EXPECT_TRUE(html.contains(u"<tr><th>místo</th><th>družstvo</th><th>výsledek</th></tr>"));
    EXPECT_TRUE(html.contains(u"<tr><td>1</td><td>&lt;b&gt;A &amp; B&lt;/b&gt; %1</td>"
                              u"<td>00:00:18:000</td></tr>"));
    EXPECT_TRUE(html.contains(u"<tr><td>7</td><td>&lt;b&gt;A &amp; B&lt;/b&gt; %1</td>"
                              u"<td>&lt;i&gt;</td><td>00:00:18:000</td><td>00:00:18:000</td>"
                              u"<td>platný</td></tr>"));
    EXPECT_FALSE(html.contains(u"<b>"));
}
