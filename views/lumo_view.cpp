#include "views/lumo_view.h"

#include "app/lumo_doc.h"

#include <QPainter>

CLumoView::CLumoView(QWidget* parent)
    : QWidget(parent)
{
    setProperty("lumoClass", QStringLiteral("CLumoView"));
    setFocusPolicy(Qt::StrongFocus);
}

CLumoDoc* CLumoView::GetDocument() const
{
    return static_cast<CLumoDoc*>(CView::GetDocument());
}

void CLumoView::OnUpdate(CView*, int)
{
    ++m_updates;
    update();
}

void CLumoView::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
}
