#include "views/lumo_view.h"

#include "app/lumo_doc.h"
#include "app/settings.h"
#include "app/view_state.h"
#include "image/canvas_copy.h"
#include "image/canvas_engine.h"
#include "image/dib_bitmap.h"
#include "res/file_types.h"
#include "res/resource.h"
#include "views/folder_browser_hooks.h"
#include "views/image_canvas.h"
#include "views/slideshow_driver.h"
#include "views/virtual_keys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTransform>

const QString CLumoView::kNotShownText = QStringLiteral("This picture cannot be shown.");

CLumoView::CLumoView(QWidget* parent)
    : CSTFullScreenViewLite(parent)
{
    setProperty("lumoClass", QStringLiteral("CLumoView"));
    setFocusPolicy(Qt::StrongFocus);
    // The canvas paints every pixel it needs: repaints never erase first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_fullScreenOptions = 0;
    m_fullScreen = 0;
    m_slideshow = new CSlideshowDriver([this] { return GetDocument(); }, this);
}

void CLumoView::StartSlideshow()
{
    m_slideshow->StartSlideshow();
}

void CLumoView::StopSlideshow()
{
    m_slideshow->StopSlideshow();
}

void CLumoView::RestartSlideshow()
{
    m_slideshow->RestartSlideshow();
}

bool CLumoView::IsSlideshowRunning() const
{
    return m_slideshow->IsSlideshowRunning();
}

CLumoView::~CLumoView()
{
    if (m_canvas)
        m_canvas->FreeBuffer();
}

CLumoDoc* CLumoView::GetDocument() const
{
    return static_cast<CLumoDoc*>(CView::GetDocument());
}

void CLumoView::OnInitialUpdate()
{
    m_canvas = std::make_unique<CImageCanvas>();
    AdaptCanvas();
    if (CLumoDoc* doc = GetDocument()) {
        const QStringList view = {QStringLiteral("View")};
        doc->MenuChecks().CheckRadio(view + QStringList {QStringLiteral("Zoom")}, Res::ID_ALL_FIT, Res::ID_ALL_ORIGINAL,
                                     Res::ID_ALL_FILL);
        doc->MenuChecks().CheckRadio(view + QStringList {QStringLiteral("Rotate")}, Res::ID_ROTATE_90, Res::ID_ROTATE_0,
                                     Res::ID_ROTATE_0);
    }
}

void CLumoView::AdaptCanvas()
{
    if (m_canvas)
        m_canvas->AdaptToWindow(this);
}

bool CLumoView::IsFolderBrowserVisible() const
{
    return m_folderBrowser && m_folderBrowser->IsShown();
}

// Always over this view, also when the thumbnail pane is the active one:
// over the strip (30 rows) or the list the tree would show no folder at all.
void CLumoView::ShowFolderBrowser()
{
    if (m_folderBrowser)
        m_folderBrowser->ShowOver(this);
}

void CLumoView::PlaceFolderBrowser()
{
    if (IsFolderBrowserVisible())
        m_folderBrowser->PlaceOver(this);
}

void CLumoView::OnUpdate(CView*, int hint)
{
    CLumoDoc* doc = GetDocument();
    if (hint == CImageCatalog::kHintListChanged && doc)
        doc->PictureJobs().ListChanged();
    if (hint != CImageCatalog::kHintCurrentChanged || !m_canvas)
        return;
    CImageItem* item = doc ? doc->Catalog().GetCurrent() : nullptr;
    m_blank = !item;
    m_decoding = item && !item->m_picture.m_fullBitmap;
    // Without a thumbnail to stand in (list mode), the picture shown last
    // stays on the view until the new one lands: taken before Quick View
    // off frees it.
    if (!m_decoding)
        m_previous = QPixmap();
    else if (m_canvas->Item() && !item->m_picture.m_thumbnail)
        m_previous = grab();
    // The picture is decoded on a worker (and with Quick View on, its
    // neighbours after it); PictureDecoded shows it when it lands.
    if (doc)
        doc->PictureJobs().Show(item, doc->m_quickView != 0);
    // Nothing the catalog may delete stays bound to the canvas.
    m_canvas->SetItem(nullptr);
    m_detailItem = nullptr;
    if (item && !m_decoding)
        ShowPicture(item);
    update();
}

void CLumoView::PictureDecoded(CImageItem* item)
{
    CLumoDoc* doc = GetDocument();
    if (!m_canvas || !doc || item != doc->Catalog().GetCurrent())
        return;
    // A failed decode said why; the view then says that this picture is not shown.
    m_decoding = false;
    if (item->m_picture.m_fullBitmap)
        ShowPicture(item);
    update();
}

void CLumoView::ShowPicture(CImageItem* item)
{
    if (IsSlideshowRunning())
        ApplySlideshowViewState(item);
    m_canvas->SetItem(item);
}

void CLumoView::ApplySlideshowViewState(CImageItem* item)
{
    CLumoDoc* doc = GetDocument();
    const int mode = Settings::ThumbnailViewMode();
    const bool turn = ViewState::IsLargeLandscape(item->m_picture.m_width, item->m_picture.m_height)
                      && mode == Settings::kModeFullScreen;
    m_slideshow->Show(item, doc->m_autoResizeZoom, turn ? doc->m_autoRotationAngle : item->m_rotation);
}

void CLumoView::OnDraw(QPainter& painter)
{
    if (!m_blank && m_canvas && m_canvas->Draw(painter, this, m_dragging)) {
        AskForDetail();
        return;
    }
    if (m_decoding) {
        DrawStandIn(painter);
        return;
    }
    // Without a current entry the view is white; a current entry that cannot
    // be drawn, or a picture opened alone that gave no entry, is said in a
    // line, never left as whatever the view held.
    painter.fillRect(rect(), Qt::white);
    if (m_blank && !OpenedPictureFailed())
        return;
    QFont font = painter.font();
    font.setPixelSize(12);
    painter.setFont(font);
    painter.setPen(Qt::darkGray);
    painter.drawText(rect().adjusted(8, 0, -8, 0), Qt::AlignCenter | Qt::TextWordWrap, kNotShownText);
}

void CLumoView::AskForDetail()
{
    CLumoDoc* doc = GetDocument();
    const CPictureRegion& wanted = m_canvas->WantedDetail();
    CImageItem* item = m_canvas->Item();
    if (!doc || !item || wanted.Empty() || (item == m_detailItem && wanted == m_askedDetail))
        return;
    m_detailItem = item;
    m_askedDetail = wanted;
    doc->PictureJobs().ShowDetail(item, wanted);
}

void CLumoView::DrawStandIn(QPainter& painter) const
{
    CLumoDoc* doc = GetDocument();
    const CImageItem* item = doc ? doc->Catalog().GetCurrent() : nullptr;
    const QImage thumbnail = item ? CImageCanvas::BitmapImage(item->m_picture.m_thumbnail) : QImage();
    if (thumbnail.isNull()) {
        if (m_previous.isNull())
            painter.fillRect(rect(), Qt::white);
        else
            painter.drawPixmap(0, 0, m_previous);
        return;
    }
    // The picture's part of the thumbnail, turned and sized as the canvas
    // will show the picture: where it lands, the picture takes its place.
    const CPicture& picture = item->m_picture;
    const int w = picture.m_width > 0 && picture.m_height > 0 ? picture.m_width : kThumbWidth;
    const int h = picture.m_width > 0 && picture.m_height > 0 ? picture.m_height : kThumbHeight;
    const CPlacement p = PlaceInThumbnail(w, h);
    const QImage part = thumbnail.copy(p.x, p.y, p.width, p.height)
                            .transformed(QTransform().rotate(item->m_rotation), Qt::SmoothTransformation);
    const double ratio = DisplayRatio(item->m_zoom, item->m_rotation, w, h, width(), height());
    const bool turned = IsTurned(item->m_rotation);
    const QSize shown(int((turned ? h : w) / ratio), int((turned ? w : h) / ratio));
    // Centred on the canvas's buffer (two columns wider than the view) when smaller.
    const QPoint at(shown.width() < width() + 2 ? (width() + 2 - shown.width()) / 2 : 0,
                    shown.height() < height() ? (height() - shown.height()) / 2 : 0);
    painter.fillRect(rect(), Qt::white);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRect(at, shown), part);
}

bool CLumoView::OpenedPictureFailed() const
{
    CLumoDoc* doc = GetDocument();
    return doc && doc->Catalog().GetCount() == 0 && FileTypes::IsPictureName(doc->Catalog().GetSourcePath());
}

void CLumoView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    OnDraw(painter);
}

void CLumoView::OnLButtonDown(QPoint point)
{
    m_lastPen = point;
    m_dragging = true;
}

void CLumoView::OnMouseMove(QPoint point)
{
    if (!m_dragging)
        return;
    if (m_canvas)
        m_canvas->Scroll(m_lastPen.x() - point.x(), m_lastPen.y() - point.y());
    update();
    m_lastPen = point;
}

void CLumoView::OnLButtonUp(QPoint point)
{
    m_lastPen = point;
    m_dragging = false;
    // The next paint rescales the picture at rest.
    update();
}

void CLumoView::OnLButtonDblClk()
{
    CLumoDoc* doc = GetDocument();
    if (!doc)
        return;
    if (GetFullScreen() != 1)
        doc->EnterFullScreen();
    else
        doc->LeaveFullScreen();
}

void CLumoView::OnKeyDown(int vk, bool autoRepeat)
{
    if (!VirtualKey::IsArrow(vk))
        return;
    CLumoDoc* doc = GetDocument();
    if (!doc || doc->GetViews().size() < 2)
        return;
    if (auto* second = dynamic_cast<QWidget*>(doc->GetViews()[1])) {
        QKeyEvent key(QEvent::KeyPress, VirtualKey::ToQt(vk), Qt::NoModifier, QString(), autoRepeat);
        QApplication::sendEvent(second, &key);
    }
}

void CLumoView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        OnLButtonDown(event->position().toPoint());
}

void CLumoView::mouseMoveEvent(QMouseEvent* event)
{
    OnMouseMove(event->position().toPoint());
}

void CLumoView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        OnLButtonUp(event->position().toPoint());
}

void CLumoView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        OnLButtonDblClk();
}

void CLumoView::keyPressEvent(QKeyEvent* event)
{
    OnKeyDown(VirtualKey::FromQt(event->key()), event->isAutoRepeat());
    CSTFullScreenViewLite::keyPressEvent(event);
}
