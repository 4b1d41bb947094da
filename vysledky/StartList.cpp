#include "vysledky/StartList.h"

#include "records/LogRecords.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace {
struct Row {
    int line = 0; // where the row starts
    QStringList fields;
};

struct Decoded {
    QString text;
    QString encoding; // for the user
};

// A spreadsheet saves UTF-8, with or without its mark, the system's Windows-1250, or as
// "Unicode text" UTF-16 with its mark. Text that is not valid UTF-8 is taken for Windows-1250.
Decoded decode(QByteArray bytes) {
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        const bool little = bytes.startsWith("\xFF\xFE");
        QStringDecoder utf16(little ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE);
        return {utf16.decode(bytes.mid(2)), QStringLiteral("UTF-16")};
    }
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        bytes.remove(0, 3);
    }
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError()) {
        return {text, QStringLiteral("UTF-8")};
    }
    return {LogRecords::decodeLine(bytes), QStringLiteral("Windows-1250")};
}

// The separator is the one the header row uses outside quotes.
QChar separatorOf(const QString& text) {
    bool quoted = false;
    for (const QChar c : text) {
        if (c == u'"') {
            quoted = !quoted;
        } else if (!quoted && (c == u';' || c == u',' || c == u'\t')) {
            return c;
        } else if (!quoted && c == u'\n') {
            break;
        }
    }
    return u';';
}

bool isBlank(const QStringList& fields) {
    for (const QString& field : fields) {
        if (!field.trimmed().isEmpty()) {
            return false;
        }
    }
    return true;
}

bool splitRows(const QString& text, QList<Row>& rows, QString& error) {
    const QChar separator = separatorOf(text);
    int line = 1;
    qsizetype i = 0;
    while (i < text.size()) {
        Row row{line, {}};
        QString field;
        bool rowEnded = false;
        while (!rowEnded) {
            if (i < text.size() && text[i] == u'"' && field.trimmed().isEmpty()) {
                field.clear();
                const int opened = line;
                for (++i;; ++i) {
                    if (i >= text.size()) {
                        error = QStringLiteral("řádek %1: uvozovky nejsou uzavřeny").arg(opened);
                        return false;
                    }
                    if (text[i] == u'"') {
                        if (i + 1 < text.size() && text[i + 1] == u'"') {
                            field += u'"';
                            ++i;
                            continue;
                        }
                        ++i;
                        break;
                    }
                    if (text[i] == u'\n') {
                        ++line;
                    }
                    field += text[i];
                }
                while (i < text.size() && text[i] != separator &&
                       (text[i] == u' ' || text[i] == u'\t')) {
                    ++i;
                }
                if (i < text.size() && text[i] != separator && text[i] != u'\r' &&
                    text[i] != u'\n') {
                    error = QStringLiteral("řádek %1: za uzavřenými uvozovkami chybí oddělovač")
                                .arg(line);
                    return false;
                }
                continue;
            }
            if (i >= text.size() || text[i] == u'\n' || text[i] == u'\r') {
                row.fields.append(field);
                rowEnded = true;
                if (i < text.size() && text[i] == u'\r') {
                    ++i;
                }
                if (i < text.size() && text[i] == u'\n') {
                    ++i;
                }
                ++line;
            } else if (text[i] == separator) {
                row.fields.append(field);
                field.clear();
                ++i;
            } else if (text[i] == u'"') {
                error = QStringLiteral("řádek %1: uvozovky uprostřed pole").arg(line);
                return false;
            } else {
                field += text[i++];
            }
        }
        if (!isBlank(row.fields)) {
            rows.append(row);
        }
    }
    return true;
}

QString separatorText(QChar separator) {
    return separator == u'\t' ? QStringLiteral("tabulátor") : QString(separator);
}

qsizetype column(const QStringList& header, const QString& name) {
    for (qsizetype i = 0; i < header.size(); ++i) {
        if (header[i].trimmed().compare(name, Qt::CaseInsensitive) == 0) {
            return i;
        }
    }
    return -1;
}
} // namespace

QString StartList::noCategory() {
    return QStringLiteral("bez kategorie");
}

QString StartList::key(const QString& team) {
    return teamKey(team);
}

bool StartList::parse(const QByteArray& bytes, StartList& list, QString& error) {
    QList<Row> rows;
    const Decoded decoded = decode(bytes);
    if (!splitRows(decoded.text, rows, error)) {
        return false;
    }
    if (rows.isEmpty()) {
        error = QStringLiteral("soubor je prázdný");
        return false;
    }
    const Row& header = rows.first();
    const qsizetype teamColumn = column(header.fields, QStringLiteral("družstvo"));
    const qsizetype categoryColumn = column(header.fields, QStringLiteral("kategorie"));
    if (teamColumn < 0 || categoryColumn < 0) {
        error = QStringLiteral("řádek %1: záhlaví musí mít sloupce družstvo a kategorie; "
                               "přečteno „%2“ (kódování %3, oddělovač „%4“)")
                    .arg(header.line)
                    .arg(header.fields.join(QStringLiteral(" | ")), decoded.encoding,
                         separatorText(separatorOf(decoded.text)));
        return false;
    }
    StartList read;
    QHash<QString, int> lineOf;
    for (qsizetype r = 1; r < rows.size(); ++r) {
        const Row& row = rows[r];
        const QString team = row.fields.value(teamColumn).trimmed();
        const QString category = row.fields.value(categoryColumn).trimmed();
        if (team.isEmpty() || category.isEmpty()) {
            error =
                QStringLiteral("řádek %1: chybí %2")
                    .arg(row.line)
                    .arg(team.isEmpty() ? QStringLiteral("družstvo") : QStringLiteral("kategorie"));
            return false;
        }
        const QString teamKey = key(team);
        const auto known = read.teams_.constFind(teamKey);
        if (known != read.teams_.cend()) {
            if (known->category.compare(category, Qt::CaseInsensitive) != 0) {
                error = QStringLiteral("řádek %1: družstvo %2 už je na řádku %3 v kategorii %4")
                            .arg(row.line)
                            .arg(team)
                            .arg(lineOf.value(teamKey))
                            .arg(known->category);
                return false;
            }
            continue;
        }
        QString spelled = category;
        for (const QString& existing : std::as_const(read.categories_)) {
            if (existing.compare(category, Qt::CaseInsensitive) == 0) {
                spelled = existing;
            }
        }
        if (!read.categories_.contains(spelled)) {
            read.categories_.append(spelled);
        }
        read.teams_.insert(teamKey, {team, spelled});
        lineOf.insert(teamKey, row.line);
    }
    list = read;
    return true;
}

bool StartList::load(const QString& path, StartList& list, QString& error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = file.errorString();
        return false;
    }
    if (!parse(file.readAll(), list, error)) {
        return false;
    }
    list.path_ = QFileInfo(path).absoluteFilePath();
    return true;
}

QStringList StartList::teams() const {
    QStringList names;
    for (const Entry& entry : teams_) {
        names.append(entry.team);
    }
    names.sort(Qt::CaseInsensitive);
    return names;
}

void StartList::apply(QList<Attempt>& attempts) const {
    if (isEmpty()) {
        return;
    }
    for (Attempt& attempt : attempts) {
        const auto entry = teams_.constFind(key(attempt.team));
        if (entry == teams_.cend()) {
            attempt.category = noCategory();
        } else {
            attempt.team = entry->team;
            attempt.category = entry->category;
        }
    }
}
