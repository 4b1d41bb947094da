#include "vysledky/ResultsHtml.h"

#include "vysledky/TableTexts.h"

#include <QStringList>

namespace {
void addRow(QString& html, const QStringList& cells, const char* cellTag) {
    html += u"<tr>";
    for (const QString& cell : cells) {
        html += QStringLiteral("<%1>%2</%1>").arg(QLatin1String(cellTag), cell.toHtmlEscaped());
    }
    html += u"</tr>\n";
}

template <typename Row>
void addTable(QString& html, const QString& heading, const QStringList& titles,
              const QList<Row>& rows, bool categories = false, const char* level = "h2") {
    html += QStringLiteral("<%1>%2</%1>\n").arg(QLatin1String(level), heading.toHtmlEscaped());
    html += QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\">\n");
    addRow(html, titles, "th");
    for (const Row& row : rows) {
        addRow(html, TableTexts::cells(row, categories), "td");
    }
    html += QStringLiteral("</table>\n");
}
} // namespace

QString resultsHtml(const QString& title, const QList<Attempt>& attempts,
                    const QList<RankingRow>& ranking, bool categories, const QString& note,
                    const QString& appendix) {
    QString html = QStringLiteral("<html><head><meta charset=\"utf-8\"><title>%1</title></head>"
                                  "<body>\n<h1>%1</h1>\n")
                       .arg(title.toHtmlEscaped());
    if (categories) {
        html += QStringLiteral("<h2>Pořadí</h2>\n");
        for (qsizetype first = 0; first < ranking.size();) {
            qsizetype end = first;
            while (end < ranking.size() && ranking[end].category == ranking[first].category) {
                ++end;
            }
            addTable(html, ranking[first].category, TableTexts::rankingTitles(),
                     ranking.mid(first, end - first), false, "h3");
            first = end;
        }
    } else {
        addTable(html, QStringLiteral("Pořadí"), TableTexts::rankingTitles(), ranking);
    }
    if (!note.isEmpty()) {
        html += QStringLiteral("<p><b>%1</b></p>\n").arg(note.toHtmlEscaped());
    }
    addTable(html, QStringLiteral("Pokusy"), TableTexts::attemptTitles(categories), attempts,
             categories);
    html += appendix;
    html += QStringLiteral("</body></html>\n");
    return html;
}
