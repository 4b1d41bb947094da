#include "vysledky/ResultsPrinter.h"

#include <QPageSize>
#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>
#include <QTextDocument>

namespace {
void printOn(QPagedPaintDevice& device, const QString& html) {
    QTextDocument document;
    document.setHtml(html);
    document.print(&device);
}
} // namespace

void printResults(QPrinter& printer, const QString& html) {
    printOn(printer, html);
}

bool saveResultsPdf(const QString& path, const QString& html) {
    // Through a save file: a failed export leaves an earlier file of that name as it was.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    {
        QPdfWriter writer(&file);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setTitle(QStringLiteral("Výsledky"));
        printOn(writer, html);
    }
    return file.commit();
}
