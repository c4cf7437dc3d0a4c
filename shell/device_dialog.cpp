#include "shell/device_dialog.h"

#include "shell/device_screen.h"

CDeviceDialog::CDeviceDialog(QWidget* screen, const QString& className, const QString& caption)
    : QDialog(screen)
{
    setProperty("lumoClass", className);
    MarkToolWindow(this);
    setWindowTitle(caption);
    const QRect area = DialogArea(screen);
    if (!area.isEmpty())
        setGeometry(area);
}

QRect CDeviceDialog::DialogArea(QWidget* screen)
{
    auto* s = qobject_cast<CDeviceScreen*>(screen);
    if (!s)
        return {};
    return QRect(s->mapToGlobal(QPoint(0, CDeviceScreen::kTaskBarHeight)),
                 QSize(s->width(), s->height() - CDeviceScreen::kTaskBarHeight));
}

void CDeviceDialog::showEvent(QShowEvent* event)
{
    if (auto* s = qobject_cast<CDeviceScreen*>(parentWidget()); s && !m_titleShown) {
        m_savedTitle = s->TaskBar()->Title();
        s->TaskBar()->SetTitle(windowTitle());
        m_titleShown = true;
    }
    QDialog::showEvent(event);
}

void CDeviceDialog::hideEvent(QHideEvent* event)
{
    if (auto* s = qobject_cast<CDeviceScreen*>(parentWidget()); s && m_titleShown) {
        s->TaskBar()->SetTitle(m_savedTitle);
        m_titleShown = false;
    }
    QDialog::hideEvent(event);
}

void SetControlId(QWidget* control, int id)
{
    control->setObjectName(QString::number(id));
}

void MarkToolWindow(QWidget* window)
{
    window->setProperty("lumoDialog", true);
}
