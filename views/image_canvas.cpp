#include "views/image_canvas.h"

#include "app/image_item.h"
#include "app/memo_overlay.h"
#include "views/device_screen.h"

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QTextOption>
#include <QWidget>
#include <algorithm>
#include <cstring>

int CImageCanvas::SetItem(CImageItem* item)
{
    m_item = item;
    return SetPicture(item ? &item->m_picture : nullptr);
}

QImage CImageCanvas::BitmapImage(HBITMAP bitmap)
{
    if (!bitmap || bitmap->BitsPerPixel() != 24)
        return QImage();
    QImage image(bitmap->Width(), bitmap->Height(), QImage::Format_BGR888);
    for (int y = 0; y < bitmap->Height(); ++y)
        memcpy(image.scanLine(y), bitmap->RowFromTop(y), size_t(bitmap->Width()) * 3);
    return image;
}

int CImageCanvas::AdaptToWindow(const QWidget* view)
{
    return CCanvas::AdaptToWindow(view->width(), view->height());
}

int CImageCanvas::Draw(QPainter& painter, const QWidget* view, bool dragging)
{
    return Draw(painter, view->size(), dragging);
}

int CImageCanvas::Draw(QPainter& painter, QSize view, bool dragging)
{
    CCanvasPaint paint;
    paint.viewWidth = view.width();
    paint.viewHeight = view.height();
    paint.dragging = dragging;
    if (m_item) {
        paint.zoom = m_item->m_zoom;
        paint.rotation = m_item->m_rotation;
        paint.brightness = m_item->m_brightness;
        paint.contrast = m_item->m_contrast;
    }
    if (!CCanvas::Draw(paint))
        return 0;
    const CCanvasFrame frame = Frame();
    if (!frame.pixels || frame.width <= 0 || frame.height <= 0)
        return 0;
    // A view of the buffer, not a copy: blue, green, red bytes, rows top-down.
    const QImage image(frame.pixels, frame.width, frame.height, frame.bytesPerLine, QImage::Format_BGR888);
    painter.drawImage(QPoint(frame.x, frame.y), image);
    DrawMemo(painter);
    return 1;
}

namespace {

// The memo's format flags as Qt placement.
Qt::Alignment Placement(int flags)
{
    Qt::Alignment a = (flags & kDtRight) ? Qt::AlignRight : (flags & kDtCenter) ? Qt::AlignHCenter : Qt::AlignLeft;
    a |= (flags & kDtBottom) ? Qt::AlignBottom : (flags & kDtVCenter) ? Qt::AlignVCenter : Qt::AlignTop;
    return a;
}

}  // namespace

void CImageCanvas::DrawMemo(QPainter& painter) const
{
    const CImageItem* item = Item();
    if (!item)
        return;
    CMemoLayout memo = LayoutMemo(*item);
    if (!memo.visible)
        return;
    if (const CDeviceScreen* screen = CDeviceScreen::Instance())
        memo.FitScreen(screen->width(), screen->height());
    QFont font(memo.font.m_face);
    font.setStyleHint(QFont::SansSerif);  // "Tahoma" falls back to the system's sans-serif
    font.setPixelSize(memo.font.PixelSize());
    font.setWeight(QFont::Weight(std::clamp(memo.font.m_weight, 1, 1000)));
    font.setItalic(memo.font.m_italic);
    font.setUnderline(memo.font.m_underline);
    font.setStrikeOut(memo.font.m_strikeOut);
    painter.save();
    painter.setFont(font);
    painter.setPen(QColor(memo.font.m_textRed, memo.font.m_textGreen, memo.font.m_textBlue));
    painter.setBackgroundMode(memo.font.m_transparent ? Qt::TransparentMode : Qt::OpaqueMode);
    painter.setBackground(QColor(memo.font.m_backRed, memo.font.m_backGreen, memo.font.m_backBlue));
    // Lines break at the content's own line breaks and wrap between words
    // (inside a word only when it is wider than the rectangle), so a long
    // memo stays inside the rectangle whatever its alignment; the vertical
    // placement holds for any number of lines.
    QString text = memo.text;
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    const QRect rect(QPoint(memo.left, memo.top), QPoint(memo.right - 1, memo.bottom - 1));
    QTextOption option(Placement(memo.flags));
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    painter.drawText(QRectF(rect), text, option);
    painter.restore();
}
