#include "l10n/QtTranslations.h"
#include "vysledky/CommandLine.h"
#include "vysledky/LogFollower.h"
#include "vysledky/ResultsWindow.h"
#include "vysledky/StartList.h"
#include "vysledky/live/LiveFeed.h"
#include "vysledky/web/GuardedTcpServer.h"
#include "vysledky/web/WebAddresses.h"
#include "vysledky/web/WebResults.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDBusConnection>
#include <QFile>
#include <QMessageBox>
#include <QSet>

#include <cstdio>

namespace {
int writeTable(const CommandLine& line) {
    QFile out;
    QFile err;
    out.open(stdout, QIODevice::WriteOnly);
    err.open(stderr, QIODevice::WriteOnly);
    return line.run(out, err);
}

void say(FILE* stream, const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

bool readStartList(const CommandLine& line, StartList& list, QString& error) {
    if (line.startList.isEmpty()) {
        return true;
    }
    if (StartList::load(line.startList, list, error)) {
        return true;
    }
    error = QStringLiteral("%1: %2").arg(line.startList, error);
    return false;
}

// Serves until the process is ended (Ctrl+C).
int serve(const CommandLine& line) {
    StartList list;
    QString error;
    if (!readStartList(line, list, error)) {
        say(stderr, QStringLiteral("vysledky: %1\n").arg(error));
        return 1;
    }
    LogFollower follower(line.file);
    follower.setCorrectionsPath(line.correctionsPath());
    follower.setStartList(list);
    follower.refresh();
    // Each line of the corrections file that does not apply is told once.
    QSet<QString> told;
    const auto tell = [&] {
        for (const QString& problem : follower.problems()) {
            if (!told.contains(problem)) {
                told.insert(problem);
                say(stderr, QStringLiteral("vysledky: %1\n").arg(problem));
            }
        }
    };
    QObject::connect(&follower, &LogFollower::updated, tell);
    tell();
    WebResults web;
    web.follow(&follower);
    LiveFeed live;
    live.follow(&follower);
    live.listen(QDBusConnection::sessionBus());
    web.followLive(&live);
    const QHostAddress address =
        line.webAddress.isEmpty() ? QHostAddress(QHostAddress::Any) : QHostAddress(line.webAddress);
    if (address.isNull() || !web.start(address, line.webPort, error)) {
        say(stderr, QStringLiteral("vysledky: %1:%2: %3\n")
                        .arg(line.webAddress.isEmpty() ? QStringLiteral("*") : line.webAddress)
                        .arg(line.webPort)
                        .arg(address.isNull() ? QStringLiteral("neplatná adresa") : error));
        return 1;
    }
    QStringList urls;
    for (const QString& url : webAddresses(address, web.port())) {
        urls << url << url + QStringLiteral("tabule");
    }
    say(stdout, QStringLiteral("Výsledky z %1 na síti (telefon: /, velká obrazovka: /tabule):\n"
                               "  %2\nUkončí Ctrl+C.\n")
                    .arg(follower.reader().path(), urls.join(QStringLiteral("\n  "))));
    return QCoreApplication::exec();
}
} // namespace

int main(int argc, char** argv) {
    QCoreApplication::setApplicationName(QStringLiteral("vysledky"));
    GuardedTcpServer::raiseOpenFileLimit();
    // CSV and the web server need no display: no GUI application is made for them.
    if (CommandLine::withoutWindow(argc, argv)) {
        QCoreApplication app(argc, argv);
        loadQtTranslations(app);
        const CommandLine line = CommandLine::parse(QCoreApplication::arguments());
        return line.mode == CommandLine::Mode::Web ? serve(line) : writeTable(line);
    }
    QApplication app(argc, argv);
    loadQtTranslations(app);
    const CommandLine line = CommandLine::parse(QCoreApplication::arguments());
    if (line.mode != CommandLine::Mode::Window) {
        return writeTable(line);
    }
    ResultsWindow window(line.file);
    if (!line.corrections.isEmpty()) {
        window.setCorrectionsPath(line.corrections);
    }
    window.show();
    QString error;
    if (!line.startList.isEmpty() && !window.openStartList(line.startList, error)) {
        QMessageBox::warning(&window, QStringLiteral("Startovní listinu nelze načíst"),
                             QStringLiteral("%1: %2").arg(line.startList, error));
    }
    return QApplication::exec();
}
