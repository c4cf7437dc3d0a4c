#include "views/thumbnail_view.h"

#include "app/lumo_doc.h"

#include <QPainter>

CThumbnailView::CThumbnailView(QWidget* parent)
    : QWidget(parent)
{
    setProperty("lumoClass", QStringLiteral("CThumbnailView"));
}

CLumoDoc* CThumbnailView::GetDocument() const
{
    return static_cast<CLumoDoc*>(CView::GetDocument());
}

void CThumbnailView::OnUpdate(CView*, int)
{
    ++m_updates;
    update();
}

void CThumbnailView::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
}
