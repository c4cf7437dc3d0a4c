#include "views/thumbnail_list_ctrl.h"

#include "app/file_list_text.h"
#include "app/lumo_doc.h"
#include "views/virtual_keys.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>

CThumbnailListCtrl::CThumbnailListCtrl(std::function<CLumoDoc*()> doc, const QRect& rect, QWidget* parent)
    : QTreeWidget(parent)
    , m_doc(std::move(doc))
{
    setObjectName(QStringLiteral("ThumbnailListCtrl"));
    setProperty("lumoClass", QStringLiteral("CThumbnailListCtrl"));
    setGeometry(rect);
    // A report list: flat rows, several may be selected at once, and the
    // selection stays visible without focus.
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setFrameShape(QFrame::Box);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setFocusPolicy(Qt::ClickFocus);
    setHeaderLabels({ QStringLiteral("Name"), QStringLiteral("Size"), QStringLiteral("Date") });
    header()->setStretchLastSection(false);
    header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
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
    auto* rowItem = new QTreeWidgetItem(QStringList { FileListText::NameOf(item->m_path),
        FileListText::SizeText(item->m_fileSize), FileListText::DateText(item->m_modified) });
    insertTopLevelItem(row, rowItem);
    if (selected >= 0 && selected <= row) {
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
    item->setSelected(on);
    if (on)
        setCurrentItem(item, 0, QItemSelectionModel::NoUpdate);
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
    if (row == m_selected)
        return;
    if (row >= 0)
        MakeCurrent(row);
    m_selected = row;
}

bool CThumbnailListCtrl::OnKeyDown(int vk)
{
    CLumoDoc* doc = m_doc();
    const int n = doc ? doc->Catalog().GetCount() : 0;
    if (n < 1)
        return false;
    const int s = m_selected;
    int target = -1;
    bool setStates = false;
    switch (vk) {
    case VirtualKey::kLeft:
        if (s - 3 < 0 && s < 1)
            return false;
        target = std::max(s - 3, 0);
        setStates = true;
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
        setStates = true;
        break;
    case VirtualKey::kDown:
        if (s + 1 >= n)
            return false;
        target = s + 1;
        break;
    default:
        return true;
    }
    if (setStates) {
        SetRowState(s, false);
        SetRowState(target, true);
    }
    m_selected = target;
    if (QTreeWidgetItem* item = topLevelItem(target))
        scrollToItem(item);
    update();
    MakeCurrent(target);
    return true;
}

void CThumbnailListCtrl::keyPressEvent(QKeyEvent* event)
{
    const int vk = VirtualKey::FromQt(event->key());
    if (vk && !OnKeyDown(vk))
        return;
    if (vk == VirtualKey::kLeft || vk == VirtualKey::kRight)
        return;  // the program set the row states itself
    QTreeWidget::keyPressEvent(event);
}
