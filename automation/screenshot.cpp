#include "automation/screenshot.h"

#include "shell/device_dialog.h"

#include <QApplication>
#include <QPainter>
#include <QPixmap>
#include <QWidget>

namespace {

int StackRank(const QWidget* w)
{
    if (w->windowType() == Qt::Popup || w->windowType() == Qt::ToolTip)
        return 2;
    return 1;
}

}  // namespace

QImage GrabDeviceScreen(QWidget* screen)
{
    QPixmap base = screen->grab();
    const qreal dpr = base.devicePixelRatio();
    QImage image = base.toImage().convertToFormat(QImage::Format_RGB32);
    image.setDevicePixelRatio(1.0);
    QPainter painter(&image);
    QList<QWidget*> tops;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top != screen && top->isVisible() && !top->size().isEmpty())
            tops.append(top);
    // Pop-ups lie over every window; among the others a later shown one lies above.
    std::stable_sort(tops.begin(), tops.end(), [](const QWidget* a, const QWidget* b) {
        if (StackRank(a) != StackRank(b))
            return StackRank(a) < StackRank(b);
        return ShowOrder(a) < ShowOrder(b);
    });
    for (QWidget* top : tops) {
        const QPoint at = screen->mapFromGlobal(top->mapToGlobal(QPoint(0, 0)));
        QImage part = top->grab().toImage();
        part.setDevicePixelRatio(1.0);  // compose in device pixels
        painter.drawImage(QPointF(at.x() * dpr, at.y() * dpr), part);
    }
    painter.end();
    return image;
}
