#include "vysledky/desk/CorrectionsFollower.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

CorrectionsFollower::CorrectionsFollower(const QString& path, QObject* parent)
    : QObject(parent), path_(QFileInfo(path).absoluteFilePath()) {
    connect(&watcher_, &QFileSystemWatcher::fileChanged, this, &CorrectionsFollower::refresh);
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, &CorrectionsFollower::refresh);
    connect(&poll_, &QTimer::timeout, this, &CorrectionsFollower::refresh);
    poll_.start(pollMillis);
    refresh();
}

void CorrectionsFollower::refresh() {
    watch();
    QFile file(path_);
    QByteArray bytes;
    // Only a plain file: a device given by mistake could be endless.
    if (QFileInfo(path_).isFile() && file.open(QIODevice::ReadOnly)) {
        bytes = file.readAll();
    }
    if (bytes == bytes_) {
        return;
    }
    bytes_ = bytes;
    contents_ = CorrectionsFile::parse(bytes_);
    emit changed();
}

// The file drops out of the watch when it is replaced and cannot be watched before it exists.
void CorrectionsFollower::watch() {
    const QFileInfo file(path_);
    if (!watcher_.directories().contains(file.absolutePath()) && file.dir().exists()) {
        watcher_.addPath(file.absolutePath());
    }
    if (!watcher_.files().contains(path_) && file.isFile()) {
        watcher_.addPath(path_);
    }
}
