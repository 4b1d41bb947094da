#include "vysledky/desk/CorrectionsHtml.h"

#include <QMap>
#include <QStringList>

namespace {
void addRow(QString& html, const QStringList& cells, const char* tag) {
    html += u"<tr>";
    for (const QString& cell : cells) {
        html += QStringLiteral("<%1>%2</%1>").arg(QLatin1String(tag), cell.toHtmlEscaped());
    }
    html += u"</tr>\n";
}
} // namespace

QString correctionsHtml(const QString& fileName, const QList<Decision>& decisions,
                        const QList<LineProblem>& problems) {
    if (decisions.isEmpty() && problems.isEmpty()) {
        return {};
    }
    QMap<int, QString> unused; // line -> why it does not apply, by line
    for (const LineProblem& problem : problems) {
        unused.insert(problem.line, problem.text);
    }
    QString html = QStringLiteral("<h2 style=\"page-break-before: always\">Opravy</h2>\n"
                                  "<p>%1</p>\n")
                       .arg(fileName.toHtmlEscaped());
    html += QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\">\n");
    addRow(html,
           {QStringLiteral("řádek"), QStringLiteral("čas"), QStringLiteral("pokus"),
            QStringLiteral("rozhodnutí"), QStringLiteral("družstvo"), QStringLiteral("důvod"),
            QStringLiteral("použito")},
           "th");
    for (const Decision& decision : decisions) {
        const auto fault = unused.constFind(decision.line);
        addRow(html,
               {QString::number(decision.line), decision.when, QString::number(decision.attempt),
                kindText(decision.kind), decision.value, decision.reason,
                fault == unused.cend() ? QStringLiteral("ano") : QStringLiteral("ne: ") + *fault},
               "td");
        if (fault != unused.cend()) {
            unused.erase(fault);
        }
    }
    for (auto it = unused.cbegin(); it != unused.cend(); ++it) {
        addRow(html, {QString::number(it.key()), {}, {}, {}, {}, {}, QStringLiteral("ne: ") + *it},
               "td");
    }
    html += QStringLiteral("</table>\n<p><br>Podpis hlavního rozhodčího: "
                           "……………………………………</p>\n");
    return html;
}
