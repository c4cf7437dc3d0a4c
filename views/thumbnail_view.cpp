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

void CThumbnailView::OnUpdate(CView*, int hint)
{
    ++m_updates;
    if (hint == CImageCatalog::kHintListChanged) {
        // A new catalog is arriving: its first entry becomes current and the
        // main view shows it.
        CLumoDoc* doc = GetDocument();
        CImageCatalog& catalog = doc->Catalog();
        if (catalog.GetCount() > 0 && !catalog.GetCurrent()) {
            catalog.SetCurrent(catalog.GetAt(0));
            doc->UpdateAllViews(nullptr, CImageCatalog::kHintCurrentChanged);
        }
    }
    update();
}

void CThumbnailView::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
}
