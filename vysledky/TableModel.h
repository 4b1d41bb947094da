#pragma once

#include "vysledky/TableTexts.h"

#include <QAbstractTableModel>
#include <QList>
#include <QStringList>

#include <algorithm>
#include <utility>

// One of the two tables for a view. New rows replace the old ones with the least change a view
// sees: rows added at the end are inserted and changed rows repainted, so a view following a
// growing log keeps its scroll position and selection.
template <typename Row> class TableModel : public QAbstractTableModel {
public:
    TableModel(QStringList titles, QObject* parent)
        : QAbstractTableModel(parent), titles_(std::move(titles)) {}

    const QList<Row>& rows() const { return rows_; }

    // With a start list the table has a "kategorie" column first.
    void setCategories(bool categories, QStringList titles) {
        if (categories == categories_) {
            return;
        }
        beginResetModel();
        categories_ = categories;
        titles_ = std::move(titles);
        endResetModel();
    }
    bool categories() const { return categories_; }

    void setRows(const QList<Row>& fresh) {
        const qsizetype oldSize = rows_.size();
        const qsizetype newSize = fresh.size();
        if (newSize < oldSize) {
            beginRemoveRows({}, static_cast<int>(newSize), static_cast<int>(oldSize - 1));
            rows_.resize(newSize);
            endRemoveRows();
        }
        const qsizetype common = std::min(oldSize, newSize);
        qsizetype first = 0;
        while (first < common && rows_[first] == fresh[first]) {
            ++first;
        }
        qsizetype last = common - 1;
        while (last >= first && rows_[last] == fresh[last]) {
            --last;
        }
        if (newSize > oldSize) {
            beginInsertRows({}, static_cast<int>(oldSize), static_cast<int>(newSize - 1));
            rows_ = fresh;
            endInsertRows();
        } else {
            rows_ = fresh;
        }
        if (first <= last) {
            emit dataChanged(index(static_cast<int>(first), 0),
                             index(static_cast<int>(last), columnCount() - 1));
        }
    }

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : static_cast<int>(rows_.size());
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : static_cast<int>(titles_.size());
    }

    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
            section < titles_.size()) {
            return titles_[section];
        }
        return QAbstractTableModel::headerData(section, orientation, role);
    }

    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override {
        if (!index.isValid() || index.row() >= rows_.size() || index.column() >= titles_.size()) {
            return {};
        }
        const Row& row = rows_[index.row()];
        if (role == Qt::DisplayRole) {
            return TableTexts::cells(row, categories_).value(index.column());
        }
        // The columns after the category keep their numbers in extra().
        return extra(row, index.column() - (categories_ ? 1 : 0), role);
    }

protected:
    // Roles other than the text: alignment, tool tips. The category column is -1.
    virtual QVariant extra(const Row& row, int column, int role) const = 0;

private:
    QStringList titles_;
    QList<Row> rows_;
    bool categories_ = false;
};
