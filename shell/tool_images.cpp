#include "shell/tool_images.h"

#include "res/bitmaps.h"

#include <QBitmap>
#include <QImage>

namespace ToolImages {

namespace {

constexpr int kImageSize = 16;

}  // namespace

std::vector<QPixmap> LoadStrip(int bitmapId)
{
    std::vector<QPixmap> images;
    if (const char* const* xpm = Resources::BitmapXpm(bitmapId)) {
        const QImage strip(xpm);
        const QColor transparent = QColor::fromRgb(Resources::BitmapTransparentColor(bitmapId));
        QPixmap pixmap = QPixmap::fromImage(strip);
        pixmap.setMask(QBitmap::fromImage(strip.createMaskFromColor(transparent.rgb(), Qt::MaskInColor)));
        for (int x = 0; x + kImageSize <= strip.width(); x += kImageSize)
            images.push_back(pixmap.copy(x, 0, kImageSize, kImageSize));
    }
    return images;
}

QIcon Icon(int bitmapId, int disabledId, int index)
{
    QIcon icon;
    const std::vector<QPixmap> normal = LoadStrip(bitmapId);
    if (index >= 0 && index < int(normal.size()))
        icon.addPixmap(normal[size_t(index)], QIcon::Normal);
    if (disabledId) {
        const std::vector<QPixmap> disabled = LoadStrip(disabledId);
        if (index >= 0 && index < int(disabled.size()))
            icon.addPixmap(disabled[size_t(index)], QIcon::Disabled);
    }
    return icon;
}

}  // namespace ToolImages
