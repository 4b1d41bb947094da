#pragma once

#include "vysledky/Attempt.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

// The start list: which category each team runs in. A CSV with a header row naming the columns
// "družstvo" and "kategorie" (others are ignored), ";", "," or a tab between fields, as a
// spreadsheet saves it: UTF-8 with or without a byte-order mark, Windows-1250, or UTF-16 with its
// mark; quoted fields with their quotes doubled, line breaks inside quotes included.
//
// A team of the log is the list's team when their teamKey() is the same ("sdh  lhota" is
// "SDH Lhota"); it is then shown as the list spells it.
class StartList {
public:
    // Teams the list does not know are ranked under this category.
    static QString noCategory();

    // Reads the list, or tells why not in error, naming the line (from 1).
    static bool parse(const QByteArray& bytes, StartList& list, QString& error);
    static bool load(const QString& path, StartList& list, QString& error);

    bool isEmpty() const { return teams_.isEmpty(); }
    // The file it was loaded from, never to be written over; empty when parsed from bytes.
    const QString& path() const { return path_; }
    // The teams as the list spells them, in alphabetical order.
    QStringList teams() const;
    // Categories in the order they first appear in the list.
    const QStringList& categories() const { return categories_; }

    // Names the attempts' teams as the list does and gives each its category.
    void apply(QList<Attempt>& attempts) const;

private:
    struct Entry {
        QString team;
        QString category;
    };
    static QString key(const QString& team);

    QHash<QString, Entry> teams_; // key(team) -> entry
    QStringList categories_;
    QString path_;
};
