#include "views/file_list_model.h"

#include "app/file_list_text.h"

namespace {

constexpr int kColumns = 3;

QString RowText(const CFileListModel::Row& row, int column)
{
    switch (column) {
    case 0:
        return FileListText::NameOf(row.path);
    case 1:
        return FileListText::SizeText(row.size);
    default:
        return FileListText::DateText(row.modified);
    }
}

}  // namespace

int CFileListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : Count();
}

int CFileListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kColumns;
}

QVariant CFileListModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= Count())
        return QVariant();
    return RowText(m_rows[size_t(index.row())], index.column());
}

QVariant CFileListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    static const char* const labels[kColumns] = {"Name", "Size", "Date"};
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 || section >= kColumns)
        return QVariant();
    return QString::fromLatin1(labels[section]);
}

Qt::ItemFlags CFileListModel::flags(const QModelIndex& index) const
{
    // Flat rows: the view never looks for children when it lays them out.
    return index.isValid() ? Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemNeverHasChildren : Qt::NoItemFlags;
}

void CFileListModel::Append(std::vector<Row> rows)
{
    if (rows.empty())
        return;
    beginInsertRows(QModelIndex(), Count(), Count() + int(rows.size()) - 1);
    m_rows.insert(m_rows.end(), std::make_move_iterator(rows.begin()), std::make_move_iterator(rows.end()));
    endInsertRows();
}

void CFileListModel::Clear()
{
    if (m_rows.empty())
        return;
    beginResetModel();
    m_rows.clear();
    endResetModel();
}

QStringList CFileListModel::Texts(int row) const
{
    if (row < 0 || row >= Count())
        return {};
    QStringList texts;
    for (int column = 0; column < kColumns; ++column)
        texts << RowText(m_rows[size_t(row)], column);
    return texts;
}
