#include "vysledky/LogFollower.h"

#include <QFileInfo>

LogFollower::LogFollower(const QString& path, QObject* parent)
    : QObject(parent), reader_(QFileInfo(path).absoluteFilePath()) {
    connect(&watcher_, &QFileSystemWatcher::fileChanged, this, &LogFollower::refresh);
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, &LogFollower::refresh);
    connect(&poll_, &QTimer::timeout, this, &LogFollower::refresh);
    poll_.start(pollMillis);
    watch();
    followCorrections(CorrectionsFile::pathBeside(reader_.path()));
}

void LogFollower::setCorrectionsPath(const QString& path) {
    followCorrections(path);
    makeTables();
    emit updated();
}

void LogFollower::followCorrections(const QString& path) {
    corrections_ = std::make_unique<CorrectionsFollower>(path);
    connect(corrections_.get(), &CorrectionsFollower::changed, this, [this] {
        makeTables();
        emit updated();
    });
}

QStringList LogFollower::problems() const {
    const QString name = QFileInfo(corrections_->path()).fileName();
    QStringList told;
    for (const LineProblem& problem : standings_.problems) {
        told.append(problem.told(name));
    }
    return told;
}

void LogFollower::refresh() {
    corrections_->refresh();
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
    standings_ = makeStandings(reader_.attempts(), corrections_->contents(), startList_);
}
