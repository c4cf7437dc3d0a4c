#include "views/thumbnail_view.h"

#include "app/lumo_doc.h"
#include "app/settings.h"
#include "platform/message_box.h"
#include "views/thumbnail_ctrl.h"
#include "views/thumbnail_list_ctrl.h"
#include "views/virtual_keys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>

CThumbnailView::CThumbnailView(QWidget* parent)
    : QWidget(parent)
{
    setProperty("lumoClass", QStringLiteral("CThumbnailView"));
    setFocusPolicy(Qt::ClickFocus);
    CreateForms();
}

bool CThumbnailView::CreateForms()
{
    const QRect rect(0, 0, width(), height());
    const auto doc = [this] { return GetDocument(); };
    m_strip = new (std::nothrow) CThumbnailCtrl(doc, rect, this);
    if (!m_strip) {
        ShowMessage(QStringLiteral("Cannot create CThumbnailCtrl Object"));
        return false;
    }
    HideForm(m_strip);
    m_list = new (std::nothrow) CThumbnailListCtrl(doc, rect, this);
    if (!m_list) {
        ShowMessage(QStringLiteral("Cannot create CThumbnailListCtrl Object"));
        return false;
    }
    HideForm(m_list);
    return true;
}

CLumoDoc* CThumbnailView::GetDocument() const
{
    return static_cast<CLumoDoc*>(CView::GetDocument());
}

void CThumbnailView::ShowForm(QWidget* form)
{
    if (form && !form->isVisible()) {
        form->setEnabled(true);
        form->show();
    }
}

void CThumbnailView::HideForm(QWidget* form)
{
    if (form && !form->isHidden()) {
        form->setEnabled(false);
        form->hide();
    }
}

void CThumbnailView::OnInitialUpdate()
{
    m_mode = Settings::ThumbnailViewMode();
    CLumoDoc* doc = GetDocument();
    if (m_mode == Settings::kModeList) {
        HideForm(m_strip);
        ShowForm(m_list);
        if (!m_list)
            return;
        if (!doc || doc->Catalog().GetCount() < 1)
            m_list->ResetRows();
        else
            m_list->AddArrivedRows();
    } else if (m_mode == Settings::kModeStrip) {
        HideForm(m_list);
        ShowForm(m_strip);
        if (m_strip)
            m_strip->Refresh();
    } else {
        ShowMessage(QStringLiteral("Invalid ThumbnailView Mode"));
    }
}

void CThumbnailView::OnUpdate(CView*, int hint)
{
    ++m_updates;
    if (hint == CImageCatalog::kHintCurrentChanged && m_list && m_list->isVisible())
        m_list->ShowCurrent();
    if (hint != CImageCatalog::kHintListChanged)
        return;
    CLumoDoc* doc = GetDocument();
    if (!doc)
        return;
    // A new catalog is arriving: its first entry becomes current and the
    // main view shows it.
    CImageCatalog& catalog = doc->Catalog();
    if (catalog.GetCount() > 0 && !catalog.GetCurrent()) {
        catalog.SetCurrent(catalog.GetAt(0));
        doc->UpdateAllViews(nullptr, CImageCatalog::kHintCurrentChanged);
    }
    // Read once per delivery: a build queues one hint per entry, and the
    // stored mode cannot change between two hints of one slice.
    if (m_modeSerial != doc->DeliverySerial()) {
        m_mode = Settings::ThumbnailViewMode();
        m_modeSerial = doc->DeliverySerial();
    }
    if (m_mode == Settings::kModeList) {
        HideForm(m_strip);
        ShowForm(m_list);
        // Painted now when the list was told of new rows, so a build on this
        // thread shows rows as they come; at most every 40 ms, since the
        // first paint after that lays out the whole list.
        if (m_list && m_list->AddArrivedRows() > 0) {
            if (!m_lastPaint.isValid() || m_lastPaint.elapsed() >= 40) {
                m_list->viewport()->repaint();
                m_lastPaint.start();
            } else {
                m_list->viewport()->update();
            }
        }
    } else if (m_mode == Settings::kModeStrip) {
        HideForm(m_list);
        ShowForm(m_strip);
        if (m_strip)
            m_strip->Refresh();
    }
}

void CThumbnailView::OnKeyDown(int vk)
{
    if (!VirtualKey::IsArrow(vk))
        return;
    m_mode = Settings::ThumbnailViewMode();
    // Called directly rather than through a key event: in full screen the
    // strip is hidden (and may be disabled) yet still navigates.
    if (m_mode == Settings::kModeList) {
        if (m_list) {
            QKeyEvent key(QEvent::KeyPress, VirtualKey::ToQt(vk), Qt::NoModifier);
            QApplication::sendEvent(m_list, &key);
        }
    } else if (m_mode == Settings::kModeStrip || m_mode == Settings::kModeFullScreen) {
        if (m_strip)
            m_strip->OnKeyDown(vk);
    }
}

void CThumbnailView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (m_strip)
        m_strip->setGeometry(0, 0, width(), height());
    if (m_list)
        m_list->setGeometry(0, 0, width(), height());
}

void CThumbnailView::keyPressEvent(QKeyEvent* event)
{
    OnKeyDown(VirtualKey::FromQt(event->key()));
    QWidget::keyPressEvent(event);
}

void CThumbnailView::paintEvent(QPaintEvent*)
{
    // The forms paint themselves; the view shows white where neither lies.
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
}
