#include "views/thumbnail_list_ctrl.h"

#include "app/file_list_text.h"
#include "app/lumo_doc.h"
#include "views/virtual_keys.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>

namespace {

// A row that makes its three texts when the list first asks for one (a
// paint, a search by keyboard): a build of thousands of rows formats only
// the rows that are shown. The row keeps the entry's facts, not the entry,
// which the catalog may delete first.
class CListRow : public QTreeWidgetItem {
public:
    explicit CListRow(const CImageItem& item)
        : m_path(item.m_path)
        , m_size(item.m_picture.m_fileSize)
        , m_modified(item.m_picture.m_modified)
    {
    }

    QVariant data(int column, int role) const override
    {
        if (role != Qt::DisplayRole || column < 0 || column > 2)
            return QTreeWidgetItem::data(column, role);
        if (m_texts.isEmpty())
            m_texts
                = {FileListText::NameOf(m_path), FileListText::SizeText(m_size), FileListText::DateText(m_modified)};
        return m_texts[column];
    }

private:
    QString m_path;
    uint32_t m_size;
    CTime m_modified;
    mutable QStringList m_texts;
};

}  // namespace

CThumbnailListCtrl::CThumbnailListCtrl(std::function<CLumoDoc*()> doc, const QRect& rect, QWidget* parent)
    : QTreeWidget(parent)
    , m_doc(std::move(doc))
{
    setObjectName(QStringLiteral("ThumbnailListCtrl"));
    setProperty("lumoClass", QStringLiteral("CThumbnailListCtrl"));
    setGeometry(rect);
    // A report list: flat rows, one highlighted row (the current picture's),
    // which stays visible without focus.
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setFrameShape(QFrame::Box);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setFocusPolicy(Qt::ClickFocus);
    // Rows and header in the device's small font, so that more of a size or
    // date fits; the pen drags a header edge to widen a column.
    QFont small = font();
    small.setPixelSize(kFontPixels);
    setFont(small);
    header()->setFont(small);
    setHeaderLabels({QStringLiteral("Name"), QStringLiteral("Size"), QStringLiteral("Date")});
    header()->setStretchLastSection(false);
    header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header()->setSectionResizeMode(QHeaderView::Interactive);
    header()->setSectionsMovable(false);
    header()->setMinimumSectionSize(16);
    setColumnWidth(0, 100);
    setColumnWidth(1, 60);
    setColumnWidth(2, 60);
}

void CThumbnailListCtrl::ResetRows()
{
    m_rowsAdded = 0;
    clear();
    update();
}

int CThumbnailListCtrl::AddNextRow()
{
    CLumoDoc* doc = m_doc();
    if (!doc)
        return 0;
    CImageCatalog& catalog = doc->Catalog();
    const int n = catalog.GetCount();
    if (n < 1) {
        ResetRows();
        return 0;
    }
    m_selected = catalog.GetCurrentIndex();
    const int selected = m_selected;
    const int row = m_rowsAdded;
    // Counted only when a row is appended, so an entry added later without a
    // rebuild still gets its row at the next notification.
    if (row >= n)
        return 0;
    CImageItem* item = catalog.GetAt(row);
    if (!item)
        return 0;
    ++m_rowsAdded;
    insertTopLevelItem(row, new CListRow(*item));
    // The current row is highlighted when it arrives, and again should
    // anything have taken the highlight since; not touched on every row.
    if (selected >= 0 && selected <= row && (row == selected || currentItem() != topLevelItem(selected))) {
        SetRowState(selected, true);
        if (row == selected)
            scrollToItem(topLevelItem(selected), QAbstractItemView::PositionAtTop);
    }
    return 1;
}

void CThumbnailListCtrl::SetRowState(int row, bool on)
{
    QTreeWidgetItem* item = topLevelItem(row);
    if (!item)
        return;
    if (on)
        setCurrentItem(item, 0, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    else
        item->setSelected(false);
}

void CThumbnailListCtrl::ShowCurrent()
{
    CLumoDoc* doc = m_doc();
    const int current = doc ? doc->Catalog().GetCurrentIndex() : -1;
    m_selected = current;
    QTreeWidgetItem* item = topLevelItem(current);
    if (!item) {
        clearSelection();
        return;
    }
    SetRowState(current, true);
    scrollToItem(item);
}

int CThumbnailListCtrl::HighlightedRow() const
{
    const QList<QTreeWidgetItem*> rows = selectedItems();
    return rows.size() == 1 ? indexOfTopLevelItem(rows.front()) : -1;
}

void CThumbnailListCtrl::MakeCurrent(int index)
{
    CLumoDoc* doc = m_doc();
    CImageCatalog& catalog = doc->Catalog();
    if (CImageItem* item = catalog.GetAt(index)) {
        catalog.SetCurrent(item);
        doc->UpdateAllViews(nullptr, CImageCatalog::kHintCurrentChanged);
    }
}

void CThumbnailListCtrl::mousePressEvent(QMouseEvent* event)
{
    QTreeWidget::mousePressEvent(event);
    if (event->button() != Qt::LeftButton || !m_doc())
        return;
    QTreeWidgetItem* item = itemAt(event->position().toPoint());
    const int row = item ? indexOfTopLevelItem(item) : -1;
    if (row >= 0 && row != m_selected)
        MakeCurrent(row);
    // A tap below the rows changes nothing: the current row stays highlighted.
    ShowCurrent();
}

bool CThumbnailListCtrl::OnKeyDown(int vk)
{
    CLumoDoc* doc = m_doc();
    const int n = doc ? doc->Catalog().GetCount() : 0;
    if (n < 1)
        return false;
    const int s = m_selected;
    int target = -1;
    switch (vk) {
    case VirtualKey::kLeft:
        if (s - 3 < 0 && s < 1)
            return false;
        target = std::max(s - 3, 0);
        break;
    case VirtualKey::kUp:
        if (s - 1 < 0)
            return false;
        target = s - 1;
        break;
    case VirtualKey::kRight:
        target = std::min(s + 3, n - 1);
        if (target <= s)
            return false;
        break;
    case VirtualKey::kDown:
        if (s + 1 >= n)
            return false;
        target = s + 1;
        break;
    default:
        return true;
    }
    MakeCurrent(target);
    ShowCurrent();
    update();
    return true;
}

void CThumbnailListCtrl::keyPressEvent(QKeyEvent* event)
{
    const int vk = VirtualKey::FromQt(event->key());
    if (vk && !OnKeyDown(vk))
        return;
    // The arrows moved the current picture, and the highlight with it; the
    // list's own handling would move its highlight on its own.
    if (VirtualKey::IsArrow(vk))
        return;
    QTreeWidget::keyPressEvent(event);
}
