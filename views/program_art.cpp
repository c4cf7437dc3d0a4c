#include "views/program_art.h"

#include "res/program_icon.h"
#include "res/resource.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

namespace ProgramArt {

namespace {

constexpr int kSplashWidth = 208;
constexpr int kSplashHeight = 256;
constexpr int kSplashIcon = 96;
const QColor kInk(0x0B, 0x2E, 0x6E);

QPixmap Splash()
{
    QPixmap pixmap(kSplashWidth, kSplashHeight);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF all(0, 0, kSplashWidth, kSplashHeight);
    QLinearGradient sky(all.topLeft(), all.bottomLeft());
    sky.setColorAt(0, QColor(0xFF, 0xFF, 0xFF));
    sky.setColorAt(1, QColor(0xD2, 0xE2, 0xF8));
    p.fillRect(all, sky);
    p.setPen(QPen(kInk, 1));
    p.drawRect(all.adjusted(0.5, 0.5, -0.5, -0.5));
    PaintIcon(p, QRectF((kSplashWidth - kSplashIcon) / 2.0, 36, kSplashIcon, kSplashIcon));

    QFont name = p.font();
    name.setPixelSize(26);
    name.setBold(true);
    p.setFont(name);
    p.setPen(kInk);
    p.drawText(QRectF(0, 150, kSplashWidth, 34), Qt::AlignCenter, QStringLiteral("Lumo " LUMO_VERSION));
    QFont line = p.font();
    line.setPixelSize(15);
    line.setBold(false);
    p.setFont(line);
    p.setPen(QColor(0x3A, 0x5A, 0x8C));
    p.drawText(QRectF(0, 186, kSplashWidth, 22), Qt::AlignCenter, QStringLiteral("Picture Viewer"));
    return pixmap;
}

}  // namespace

void PaintIcon(QPainter& painter, const QRectF& rect)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(rect.topLeft());
    painter.scale(rect.width() / Resources::kIconGrid, rect.height() / Resources::kIconGrid);
    painter.setPen(Qt::NoPen);
    for (const Resources::CIconShape& s : Resources::ProgramIconShapes()) {
        painter.setBrush(QColor::fromRgb(s.fill));
        const std::vector<double>& v = s.values;
        switch (s.kind) {
        case Resources::CIconShape::RoundRect:
            painter.drawRoundedRect(QRectF(v[0], v[1], v[2], v[3]), v[4], v[4]);
            break;
        case Resources::CIconShape::Ellipse:
            painter.drawEllipse(QPointF(v[0], v[1]), v[2], v[3]);
            break;
        case Resources::CIconShape::Polygon: {
            QPolygonF polygon;
            for (size_t i = 0; i + 1 < v.size(); i += 2)
                polygon << QPointF(v[i], v[i + 1]);
            painter.drawPolygon(polygon);
            break;
        }
        }
    }
    painter.restore();
}

QPixmap Icon(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    PaintIcon(painter, QRectF(0, 0, size, size));
    return pixmap;
}

QPixmap LoadBitmap(int id)
{
    return id == Res::IDB_SPLASH ? Splash() : QPixmap();
}

}  // namespace ProgramArt
