#include "shell/title_dialog.h"

#include "res/program_font.h"

#include <QPainter>

CTitleDialog::CTitleDialog(QWidget* screen, const QString& className, const QString& caption)
    : CDeviceDialog(screen, className, caption)
    , m_titleFont(kProgramFontFace)
{
    m_titleFont.setPixelSize(11);
    m_titleFont.setBold(true);
    m_titleFont.setStyleHint(QFont::SansSerif);
}

void CTitleDialog::SetTitle(const QString& title)
{
    m_title = title;
    update();
}

void CTitleDialog::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (!m_title.isEmpty()) {
        painter.setFont(m_titleFont);
        painter.setPen(QColor(0, 0, 156));
        painter.drawText(QRect(8, 0, width() - 8, kTitleHeight), Qt::AlignVCenter | Qt::TextSingleLine, m_title);
        painter.setPen(Qt::black);
        painter.drawLine(0, kTitleHeight, width(), kTitleHeight);
    }
    OnPaint(painter);
}

void CTitleDialog::OnPaint(QPainter&)
{
}
