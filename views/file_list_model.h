// CFileListModel: the rows of the file list, one per catalog entry, in three
// columns (name, size, date). A row keeps the entry's path, size and time by
// value, not the entry, which the catalog may delete first; its texts are
// made each time the view asks for one (a paint, a search by keyboard), so a
// list of thousands of rows formats only the rows shown. Rows are only ever
// appended in runs, each announced once, or all cleared.
#pragma once

#include "platform/time_value.h"

#include <QAbstractTableModel>
#include <QStringList>
#include <cstdint>
#include <vector>

class CFileListModel : public QAbstractTableModel {
public:
    struct Row {
        QString path;
        uint32_t size = 0;
        CTime modified;
    };

    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Appends the rows after the last one.
    void Append(std::vector<Row> rows);
    void Clear();
    int Count() const { return int(m_rows.size()); }
    // The row's name, size and date texts; empty when there is no such row.
    QStringList Texts(int row) const;

private:
    std::vector<Row> m_rows;
};
