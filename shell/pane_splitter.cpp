#include "shell/pane_splitter.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

CPaneSplitter::CPaneSplitter(QWidget* parent)
    : QWidget(parent)
{
    setProperty("lumoClass", QStringLiteral("CPaneSplitter"));
}

void CPaneSplitter::SetPane(int row, QWidget* pane)
{
    if (row < 0 || row > 1)
        return;
    m_panes[row] = pane;
    pane->setParent(this);
    pane->show();
}

void CPaneSplitter::SetRowInfo(int row, int ideal, int minimum)
{
    if (row < 0 || row > 1)
        return;
    m_ideal[row] = ideal;
    m_minimum[row] = minimum;
}

void CPaneSplitter::RecalcLayout()
{
    const int h = height();
    int top = std::max(m_ideal[0], m_minimum[0]);
    top = std::clamp(top, 0, h);
    const int gap = std::min(m_gap, h - top);
    const int bottom = std::max(0, h - top - gap);
    if (m_panes[0]) {
        m_panes[0]->setGeometry(0, 0, width(), top);
        m_panes[0]->setVisible(top > 0);
    }
    if (m_panes[1]) {
        m_panes[1]->setGeometry(0, top + gap, width(), bottom);
        m_panes[1]->setVisible(bottom > 0);
    }
    update();
}

void CPaneSplitter::resizeEvent(QResizeEvent*)
{
    RecalcLayout();
}

void CPaneSplitter::mousePressEvent(QMouseEvent* event)
{
    // Only the bar itself reaches here; locked, the press is swallowed.
    event->accept();
}

void CPaneSplitter::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), QColor(192, 192, 192));
}
