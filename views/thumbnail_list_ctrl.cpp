#include "views/thumbnail_list_ctrl.h"

#include "app/lumo_doc.h"
#include "views/file_list_model.h"
#include "views/virtual_keys.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>

CThumbnailListCtrl::CThumbnailListCtrl(std::function<CLumoDoc*()> doc, const QRect& rect, QWidget* parent)
    : QTreeView(parent)
    , m_doc(std::move(doc))
    , m_rows(new CFileListModel(this))
{
    m_announceLater.setSingleShot(true);
    connect(&m_announceLater, &QTimer::timeout, this, [this] { AnnounceRows(); });
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
    setModel(m_rows);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setFocusPolicy(Qt::ClickFocus);
    // Rows and header in the device's small font, so that more of a size or
    // date fits; the pen drags a header edge to widen a column.
    QFont small = font();
    small.setPixelSize(kFontPixels);
    setFont(small);
    header()->setFont(small);
    header()->setSectionsClickable(false);
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
    m_pending.clear();
    m_announceLater.stop();
    m_rows->Clear();
    update();
}

void CThumbnailListCtrl::AnnounceRows()
{
    if (m_pending.empty())
        return;
    m_announceLater.stop();
    m_announced.start();
    const int first = m_rows->Count();
    m_rows->Append(std::exchange(m_pending, {}));
    // The current row is highlighted when it arrives, and again should
    // anything have taken the highlight since; not touched on every run.
    const int selected = m_selected;
    if (selected >= 0 && selected < m_rows->Count() && (selected >= first || currentIndex().row() != selected)) {
        Highlight(selected);
        if (selected >= first)
            scrollTo(m_rows->index(selected, 0), QAbstractItemView::PositionAtTop);
    }
}

const CFileListModel& CThumbnailListCtrl::Rows() const
{
    // As the view lays itself out before answering where a row lies.
    const_cast<CThumbnailListCtrl*>(this)->AnnounceRows();
    return *m_rows;
}

int CThumbnailListCtrl::RowCount() const
{
    return Rows().Count();
}

QStringList CThumbnailListCtrl::RowTexts(int row) const
{
    return Rows().Texts(row);
}

int CThumbnailListCtrl::RowHeight() const
{
    return Rows().Count() > 0 ? visualRect(m_rows->index(0, 0)).height() : 0;
}

QList<int> CThumbnailListCtrl::ColumnWidths() const
{
    QList<int> widths;
    for (int c = 0; c < m_rows->columnCount(); ++c)
        widths << columnWidth(c);
    return widths;
}

int CThumbnailListCtrl::AddArrivedRows()
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
    // A build queues one notification per entry, but by the time one is
    // delivered more entries may have arrived: they all get their rows now,
    // and the later notifications find none left. Counted by rows, so an
    // entry added later without a rebuild still gets its row at the next
    // notification.
    const int first = m_rows->Count() + int(m_pending.size());
    for (int i = first; i < n; ++i) {
        const CImageItem* item = catalog.GetAt(i);
        if (!item)
            break;
        m_pending.push_back({item->m_path, item->m_picture.m_fileSize, item->m_picture.m_modified});
    }
    if (m_pending.empty())
        return 0;
    // Each announcement makes the view lay out the whole list again, so the
    // rows are announced at once only when they are the first, hold the
    // current picture's, are as many as those shown already, or end the
    // build; else when
    // 40 ms have passed and they add a quarter, or when the notifications
    // stop for 40 ms. The layouts of a build then cost a few times the last
    // one, not one per 40 ms over the whole list.
    const qint64 since = m_announced.isValid() ? m_announced.elapsed() : kAnnounceMs;
    const int shown = m_rows->Count();
    const int waiting = int(m_pending.size());
    const bool current = m_selected >= first && m_selected < n;
    const bool last = !doc->m_loader.IsRunning() && !doc->HasQueuedUpdates();
    if (shown > 0 && !current && !last && waiting < shown && (since < kAnnounceMs || waiting * 4 < shown)) {
        m_announceLater.start(kAnnounceMs);
        return 0;
    }
    const int count = int(m_pending.size());
    AnnounceRows();
    return count;
}

void CThumbnailListCtrl::Highlight(int row)
{
    selectionModel()->setCurrentIndex(m_rows->index(row, 0),
                                      QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void CThumbnailListCtrl::ShowCurrent()
{
    AnnounceRows();
    CLumoDoc* doc = m_doc();
    const int current = doc ? doc->Catalog().GetCurrentIndex() : -1;
    m_selected = current;
    if (current < 0 || current >= m_rows->Count()) {
        clearSelection();
        return;
    }
    Highlight(current);
    scrollTo(m_rows->index(current, 0));
}

int CThumbnailListCtrl::HighlightedRow() const
{
    Rows();
    // Each highlighted row is selected in all its columns.
    const QModelIndexList cells = selectionModel()->selectedIndexes();
    int row = -1;
    for (const QModelIndex& cell : cells) {
        if (row >= 0 && cell.row() != row)
            return -1;
        row = cell.row();
    }
    return row;
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
    AnnounceRows();
    QTreeView::mousePressEvent(event);
    if (event->button() != Qt::LeftButton || !m_doc())
        return;
    const QModelIndex at = indexAt(event->position().toPoint());
    const int row = at.isValid() ? at.row() : -1;
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
    AnnounceRows();
    const int vk = VirtualKey::FromQt(event->key());
    if (vk && !OnKeyDown(vk))
        return;
    // The arrows moved the current picture, and the highlight with it; the
    // list's own handling would move its highlight on its own.
    if (VirtualKey::IsArrow(vk))
        return;
    QTreeView::keyPressEvent(event);
}
