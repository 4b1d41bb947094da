#include "vysledky/desk/CorrectionsFile.h"

#include "vysledky/CsvWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

namespace CorrectionsFile {

namespace {
const QStringList titles{QStringLiteral("čas"),     QStringLiteral("pokus"),
                         QStringLiteral("otisk"),   QStringLiteral("rozhodnutí"),
                         QStringLiteral("hodnota"), QStringLiteral("důvod")};

QByteArray csvLine(const QStringList& fields) {
    QStringList quoted;
    for (const QString& text : fields) {
        quoted.append(CsvWriter::field(text));
    }
    return quoted.join(u';').toUtf8() + "\r\n";
}

// The fields of one line, quotes as CsvWriter writes them; false for an unclosed quote.
bool split(const QString& line, QStringList& fields) {
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (quoted) {
            if (c != u'"') {
                field += c;
            } else if (i + 1 < line.size() && line[i + 1] == u'"') {
                field += c;
                ++i;
            } else {
                quoted = false;
            }
        } else if (c == u'"') {
            quoted = true;
        } else if (c == u';') {
            fields.append(field);
            field.clear();
        } else {
            field += c;
        }
    }
    fields.append(field);
    return !quoted;
}

// CsvWriter puts "'" before what a spreadsheet would run as a formula.
QString unguarded(const QString& field) {
    if (field.size() > 1 && field.front() == u'\'' && QStringView(u"=+-@\t\r").contains(field[1])) {
        return field.mid(1);
    }
    return field;
}

// The decision of one line, or why it is malformed.
QString read(const QStringList& fields, Decision& decision) {
    if (fields.size() != titles.size()) {
        return QStringLiteral("má %1 polí místo %2").arg(fields.size()).arg(titles.size());
    }
    bool number = false;
    decision.attempt = fields[1].toInt(&number);
    if (!number || decision.attempt < 1) {
        return QStringLiteral("číslo pokusu „%1“ není platné").arg(fields[1]);
    }
    const auto kind = kindFromText(fields[3]);
    if (!kind) {
        return QStringLiteral("neznámé rozhodnutí „%1“").arg(fields[3]);
    }
    decision.when = fields[0];
    decision.fingerprint = fields[2];
    decision.kind = *kind;
    decision.value = unguarded(fields[4]).trimmed();
    decision.reason = unguarded(fields[5]);
    if (decision.kind == Decision::Kind::Assign && decision.value.isEmpty()) {
        return QStringLiteral("chybí družstvo");
    }
    return {};
}
} // namespace

QString pathBeside(const QString& logPath) {
    const QFileInfo log(logPath);
    return log.dir().filePath(log.completeBaseName() + QStringLiteral(".opravy.csv"));
}

Contents parse(const QByteArray& bytes) {
    Contents contents;
    QByteArray text = bytes;
    if (text.startsWith(CsvWriter::utf8Bom)) {
        text.remove(0, 3);
    }
    const QList<QByteArray> lines = text.split('\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QByteArray raw = lines[i];
        if (raw.endsWith('\r')) {
            raw.chop(1);
        }
        const QString line = QString::fromUtf8(raw);
        const int number = static_cast<int>(i) + 1;
        if (line.trimmed().isEmpty() || (i == 0 && line == titles.join(u';'))) {
            continue;
        }
        QStringList fields;
        Decision decision;
        decision.line = number;
        const QString fault =
            split(line, fields) ? read(fields, decision) : QStringLiteral("neuzavřené uvozovky");
        if (fault.isEmpty()) {
            contents.decisions.append(decision);
        } else {
            contents.problems.append({number, QStringLiteral("chybný řádek (%1)").arg(fault)});
        }
    }
    return contents;
}

QByteArray line(const Decision& decision) {
    return csvLine({decision.when, QString::number(decision.attempt), decision.fingerprint,
                    kindText(decision.kind), decision.value, decision.reason});
}

bool append(const QString& path, const QString& logPath, const Decision& decision, QString& error) {
    if (QFileInfo(path).absoluteFilePath() == QFileInfo(logPath).absoluteFilePath()) {
        error = QStringLiteral("Do záznamu závodu se nezapisuje.");
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) {
        error = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), file.errorString());
        return false;
    }
    QByteArray bytes = file.size() == 0 ? CsvWriter::utf8Bom + csvLine(titles) : QByteArray();
    bytes += line(decision);
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        error = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), file.errorString());
        return false;
    }
    return true;
}

} // namespace CorrectionsFile
