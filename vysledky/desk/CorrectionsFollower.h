#pragma once

#include "vysledky/desk/CorrectionsFile.h"

#include <QByteArray>
#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>

// Follows the corrections file like the log: a change the file system reports is read at once,
// and a poll each second catches the rest (a network drive, a file made later). The file is
// small, so it is read whole; a file that is not there holds no decisions.
class CorrectionsFollower final : public QObject {
    Q_OBJECT

public:
    static constexpr int pollMillis = 1000;

    explicit CorrectionsFollower(const QString& path, QObject* parent = nullptr);

    const QString& path() const { return path_; }
    const CorrectionsFile::Contents& contents() const { return contents_; }

public slots:
    // Reads the file; changed() follows when its bytes changed.
    void refresh();

signals:
    void changed();

private:
    void watch();

    QString path_;
    QByteArray bytes_;
    CorrectionsFile::Contents contents_;
    QFileSystemWatcher watcher_;
    QTimer poll_;
};
