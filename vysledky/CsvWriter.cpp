#include "vysledky/CsvWriter.h"

#include "vysledky/TableTexts.h"

#include <QRegularExpression>

namespace CsvWriter {

namespace {
void addLine(QByteArray& csv, const QStringList& fields) {
    QStringList quoted;
    quoted.reserve(fields.size());
    for (const QString& text : fields) {
        quoted.append(field(text));
    }
    csv += quoted.join(u';').toUtf8();
    csv += "\r\n";
}

template <typename Row>
QByteArray table(const QStringList& titles, const QList<Row>& rows, bool categories) {
    QByteArray csv = utf8Bom;
    addLine(csv, titles);
    for (const Row& row : rows) {
        addLine(csv, TableTexts::cells(row, categories));
    }
    return csv;
}
} // namespace

QString field(const QString& raw) {
    static const QRegularExpression number(QStringLiteral("^[-+]?[0-9]+([.,][0-9]+)?$"));
    const bool formula = !raw.isEmpty() && QStringView(u"=+-@\t\r").contains(raw.front()) &&
                         !number.match(raw).hasMatch();
    const QString text = formula ? u'\'' + raw : raw;
    const bool needsQuotes =
        text.contains(u';') || text.contains(u'"') || text.contains(u'\r') || text.contains(u'\n');
    if (!needsQuotes) {
        return text;
    }
    QString doubled = text;
    doubled.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + doubled + u'"';
}

QByteArray attempts(const QList<Attempt>& attempts, bool categories) {
    return table(TableTexts::attemptTitles(categories), attempts, categories);
}

QByteArray ranking(const QList<RankingRow>& ranking, bool categories, const QString& note) {
    QByteArray csv = table(TableTexts::rankingTitles(categories), ranking, categories);
    if (!note.isEmpty()) {
        RankingRow row;
        row.team = note;
        addLine(csv, TableTexts::cells(row, categories));
    }
    return csv;
}

} // namespace CsvWriter
