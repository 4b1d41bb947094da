#include "vysledky/CommandLine.h"
#include "vysledky/ResultsWindow.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFile>

#include <cstdio>

#ifdef Q_OS_WIN
#include <fcntl.h>
#include <io.h>
#endif

namespace {
int writeTable(const CommandLine& line) {
#ifdef Q_OS_WIN
    // The CSV carries its own CR LF; a text-mode stdout would double the CR.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    QFile out;
    QFile err;
    out.open(stdout, QIODevice::WriteOnly);
    err.open(stderr, QIODevice::WriteOnly);
    return line.run(out, err);
}
} // namespace

int main(int argc, char** argv) {
    QCoreApplication::setApplicationName(QStringLiteral("vysledky"));
    // CSV for scripts needs no display: no GUI application is made for it.
    if (CommandLine::withoutWindow(argc, argv)) {
        QCoreApplication app(argc, argv);
        return writeTable(CommandLine::parse(QCoreApplication::arguments()));
    }
    QApplication app(argc, argv);
    const CommandLine line = CommandLine::parse(QCoreApplication::arguments());
    if (line.mode != CommandLine::Mode::Window) {
        return writeTable(line);
    }
    ResultsWindow window(line.file);
    window.show();
    return QApplication::exec();
}
