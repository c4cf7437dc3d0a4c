#include "views/thumbnail_ctrl.h"

#include "app/lumo_doc.h"
#include "app/settings.h"
#include "image/gdi.h"
#include "views/image_canvas.h"
#include "views/lumo_view.h"
#include "views/virtual_keys.h"

#include <QImage>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QResizeEvent>
#include <QTimer>

namespace {

constexpr int kW = CThumbnailStrip::kCellWidth;
constexpr int kH = CThumbnailStrip::kCellHeight;

// The main view: the document's first view, when it is one.
CLumoView* MainView(CLumoDoc* doc)
{
    if (!doc || doc->GetViews().empty())
        return nullptr;
    return dynamic_cast<CLumoView*>(doc->GetViews().front());
}

}  // namespace

CThumbnailCtrl::CThumbnailCtrl(std::function<CLumoDoc*()> doc, const QRect& rect, QWidget* parent)
    : QWidget(parent)
    , m_doc(std::move(doc))
{
    setObjectName(QStringLiteral("ThumbnailCtrl"));
    setProperty("lumoClass", QStringLiteral("CThumbnailCtrl"));
    setFocusPolicy(Qt::ClickFocus);
    setGeometry(rect);
    m_strip.Clear();
    m_strip.SetWidth(rect.width());
    // The ">" button sits at the right edge; the pane is sized only after
    // the control exists, so it follows the control's width (resizeEvent).
    m_left = new QPushButton(QStringLiteral("<"), this);
    m_left->setGeometry(0, 0, CThumbnailStrip::kButtonWidth, kH);
    m_left->setFocusPolicy(Qt::NoFocus);
    m_left->setProperty("lumoId", kLeftButtonId);
    m_right = new QPushButton(QStringLiteral(">"), this);
    m_right->setGeometry(rect.width() - CThumbnailStrip::kButtonWidth, 0, CThumbnailStrip::kButtonWidth, kH);
    m_right->setFocusPolicy(Qt::NoFocus);
    m_right->setProperty("lumoId", kRightButtonId);
    connect(m_left, &QPushButton::clicked, this, &CThumbnailCtrl::OnLeftButton);
    connect(m_right, &QPushButton::clicked, this, &CThumbnailCtrl::OnRightButton);

    m_menu = new QMenu(this);
    const auto add = [this](const char* label, int id) {
        QAction* action = m_menu->addAction(QString::fromLatin1(label));
        connect(action, &QAction::triggered, this, [this, id] { OnMenuCommand(id); });
    };
    add("Remove", kRemoveId);
    m_menu->addSeparator();
    add("Shift +5", kShiftPlus5Id);
    add("Shift +1", kShiftPlus1Id);
    add("Shift -1", kShiftMinus1Id);
    add("Shift -5", kShiftMinus5Id);

    // Armed by a pen-down on a thumbnail; it fires once, and a firing that
    // finds no press pending (the pen was lifted) does nothing.
    m_holdTimer = new QTimer(this);
    m_holdTimer->setObjectName(QStringLiteral("HoldTimer"));
    m_holdTimer->setSingleShot(true);
    m_holdTimer->setInterval(kHoldMs);
    connect(m_holdTimer, &QTimer::timeout, this, &CThumbnailCtrl::OnHoldTimer);
}

int CThumbnailCtrl::Count() const
{
    CLumoDoc* doc = m_doc();
    return doc ? doc->Catalog().GetCount() : 0;
}

int CThumbnailCtrl::Refresh()
{
    CLumoDoc* doc = m_doc();
    if (!doc) {
        m_strip.Clear();
        return 0;
    }
    CImageCatalog& catalog = doc->Catalog();
    const int n = catalog.GetCount();
    m_strip.Refresh(n, catalog.GetCurrentIndex());
    // Painted now rather than at the next paint event, so that a build on
    // this thread shows each entry as it arrives.
    RedrawNow();
    return n < 1 ? 0 : 1;
}

int CThumbnailCtrl::DrawStrip(QPainter& painter)
{
    CLumoDoc* doc = m_doc();
    if (!doc)
        return 0;
    CImageCatalog& catalog = doc->Catalog();
    const std::vector<CImageItem*> list = catalog.GetList();
    const int n = int(list.size());
    const int current = catalog.GetCurrentIndex();
    if (!m_strip.CanDraw(n, current))
        return 0;
    const int end = m_strip.End(n);
    QFont font = painter.font();
    font.setPixelSize(10);
    painter.setFont(font);
    for (int index = m_strip.m_first; index < end; ++index) {
        const int x = CThumbnailStrip::CellLeft(index - m_strip.m_first);
        // Each cell is drawn from its own entry: one without a thumbnail
        // leaves its cell blank instead of shifting the later ones.
        if (HBITMAP thumb = list[size_t(index)]->m_picture.m_thumbnail) {
            // The rightmost column becomes the dark separator between cells;
            // it stays in the entry's thumbnail.
            FillRect(thumb, kW - 1, 0, 1, kH, 0, 0, 0);
            const QImage image = CImageCanvas::BitmapImage(thumb);
            if (!image.isNull())
                painter.drawImage(QPoint(x, 0), image);
        }
        painter.setPen(QColor(255, 0, 0));
        painter.drawText(QRect(x, 0, kW, kH), Qt::AlignLeft | Qt::AlignTop, QString::number(index + 1));
    }
    const int cell = m_strip.FrameCell(n);
    if (cell >= 0) {
        painter.setPen(QColor(255, 0, 0));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRect(CThumbnailStrip::CellLeft(cell), 0, kW - 1, kH - 1));
    }
    return 1;
}

bool CThumbnailCtrl::HitTest(QPoint point) const
{
    return m_strip.HitTest(point.x(), point.y(), Count());
}

void CThumbnailCtrl::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    DrawStrip(painter);
}

void CThumbnailCtrl::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    CLumoDoc* doc = m_doc();
    const int n = Count();
    if (n < 1)
        return;
    const QPoint point = event->position().toPoint();
    CLumoView* view = MainView(doc);
    if (m_menu && HitTest(point)) {
        if (!view)
            return;
        m_pressPoint = point;
        m_pressPending = true;
        m_holdTimer->start();
    }
    // Only a picture the strip shows can be picked.
    const int index = m_strip.IndexAt(point.x(), point.y(), n);
    if (index == m_strip.m_selected)
        return;
    if (index >= 0) {
        CImageCatalog& catalog = doc->Catalog();
        catalog.SetCurrent(catalog.GetAt(index));
        doc->UpdateAllViews(nullptr, CImageCatalog::kHintCurrentChanged);
        m_strip.m_selected = index;
        RedrawNow();
        if (view && view->IsSlideshowRunning())
            view->RestartSlideshow();
    }
    QWidget::mousePressEvent(event);
}

void CThumbnailCtrl::mouseReleaseEvent(QMouseEvent* event)
{
    m_pressPending = false;
    QWidget::mouseReleaseEvent(event);
}

void CThumbnailCtrl::OnHoldTimer()
{
    if (!m_pressPending)
        return;
    m_pressPending = false;
    CLumoView* view = MainView(m_doc());
    if (!m_menu || !view)
        return;
    // Below the pen, as the device places it: under the main view's bottom edge.
    const QPoint viewBottom = view->mapToGlobal(QPoint(0, view->height()));
    const QPoint at(mapToGlobal(m_pressPoint).x(), viewBottom.y() + m_pressPoint.y());
    m_menu->popup(at);
}

void CThumbnailCtrl::OnMenuCommand(int id)
{
    CLumoDoc* doc = m_doc();
    if (!doc)
        return;
    CImageCatalog& catalog = doc->Catalog();
    if (id == kRemoveId) {
        const int n = catalog.GetCount();
        CImageItem* current = catalog.GetCurrent();
        if (n < 1 || !current)
            return;
        m_strip.PageLeftBeforeRemove(n);
        catalog.RemoveItem(current);
        const int selected = m_strip.AfterRemove(catalog.GetCount());
        catalog.SetCurrent(selected >= 0 ? catalog.GetAt(selected) : nullptr);
        doc->UpdateAllViews(nullptr, CImageCatalog::kHintCurrentChanged);
        update();
        return;
    }
    static const int kDeltas[] = {5, 1, -1, -5};
    if (id >= kShiftPlus5Id && id <= kShiftMinus5Id) {
        catalog.MoveCurrent(kDeltas[id - kShiftPlus5Id]);
        Refresh();
    }
}

void CThumbnailCtrl::OnLeftButton()
{
    if (m_strip.PageLeft())
        RedrawNow();
}

void CThumbnailCtrl::OnRightButton()
{
    bool onLastPage = false;
    if (m_strip.PageRight(&onLastPage))
        RedrawNow();
}

void CThumbnailCtrl::OnKeyDown(int vk)
{
    CLumoDoc* doc = m_doc();
    const int n = Count();
    if (n < 1)
        return;
    CImageCatalog& catalog = doc->Catalog();
    // Keys move from the picture on screen, also when the strip was hidden
    // (full screen) while something else changed the current entry.
    if (catalog.GetCurrentIndex() >= 0)
        m_strip.m_selected = catalog.GetCurrentIndex();
    const int target = m_strip.KeyTarget(vk, n);
    if (target < 0)
        return;
    m_strip.Select(target);
    CImageItem* item = catalog.GetAt(target);
    catalog.SetCurrent(item);
    if (Settings::ThumbnailViewMode() == Settings::kModeFullScreen)
        doc->ApplyFullScreenViewState(item);
    doc->UpdateAllViews(nullptr, CImageCatalog::kHintCurrentChanged);
    update();
}

void CThumbnailCtrl::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_right->move(width() - CThumbnailStrip::kButtonWidth, 0);
    // As many whole cells as the width holds: the pages are laid out again.
    if (m_strip.SetWidth(width())) {
        if (CLumoDoc* doc = m_doc())
            m_strip.Refresh(doc->Catalog().GetCount(), doc->Catalog().GetCurrentIndex());
        update();
    }
}

void CThumbnailCtrl::keyPressEvent(QKeyEvent* event)
{
    const int vk = VirtualKey::FromQt(event->key());
    if (!vk) {
        QWidget::keyPressEvent(event);
        return;
    }
    OnKeyDown(vk);  // handled here: the view must not route it a second time
    event->accept();
}
