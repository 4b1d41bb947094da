#include "vysledky/LogFollower.h"

#include <QFileInfo>

LogFollower::LogFollower(const QString& path, QObject* parent)
    : QObject(parent), reader_(QFileInfo(path).absoluteFilePath()) {
    connect(&watcher_, &QFileSystemWatcher::fileChanged, this, &LogFollower::refresh);
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, &LogFollower::refresh);
    connect(&poll_, &QTimer::timeout, this, &LogFollower::refresh);
    poll_.start(pollMillis);
    watch();
}

void LogFollower::refresh() {
    const LogReader::Status before = reader_.status();
    const bool changed = reader_.update();
    watch();
    if (changed) {
        makeTables();
    }
    if (changed || reader_.status() != before) {
        emit updated();
    }
}

// A file that is replaced drops out of the watch, and one that does not exist yet cannot be
// watched at all: its folder is watched as well, and the file again after every change.
void LogFollower::watch() {
    const QFileInfo file(reader_.path());
    const QString folder = file.absolutePath();
    if (!watcher_.directories().contains(folder) && QFileInfo(folder).isDir()) {
        watcher_.addPath(folder);
    }
    if (!watcher_.files().contains(file.absoluteFilePath()) && file.isFile()) {
        watcher_.addPath(file.absoluteFilePath());
    }
}

void LogFollower::setStartList(const StartList& list) {
    startList_ = list;
    makeTables();
    emit updated();
}

void LogFollower::makeTables() {
    attempts_ = reader_.attempts();
    if (startList_.isEmpty()) {
        ranking_ = rankTeams(attempts_);
        return;
    }
    startList_.apply(attempts_);
    ranking_ = rankByCategory(attempts_, startList_.categories());
}
