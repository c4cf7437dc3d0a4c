#include "automation/input.h"

#include "shell/device_dialog.h"
#include "views/device_screen.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

namespace Input {

namespace {

QPoint ToGlobal(QPoint devicePoint)
{
    CDeviceScreen* screen = CDeviceScreen::Instance();
    return screen ? screen->mapToGlobal(devicePoint) : devicePoint;
}

void SendMouseAt(QWidget* target, QEvent::Type type, QPoint global, Qt::MouseButtons buttons)
{
    if (!target)
        return;
    const QPointF local = target->mapFromGlobal(global);
    QMouseEvent event(type, local, local, global, Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

void SendMouse(QWidget* target, QEvent::Type type, QPoint devicePoint, Qt::MouseButtons buttons)
{
    SendMouseAt(target, type, ToGlobal(devicePoint), buttons);
}

// A real press gives the focus to the first widget from the target upwards
// that takes focus by click; events sent by a script are not spontaneous, so
// Qt leaves that to us.
void FocusAsClickDoes(QWidget* target)
{
    for (QWidget* w = target; w; w = w->isWindow() ? nullptr : w->parentWidget()) {
        if (w->isEnabled() && (w->focusPolicy() & Qt::ClickFocus) == Qt::ClickFocus) {
            w->setFocus(Qt::MouseFocusReason);
            return;
        }
    }
}

}  // namespace

QWidget* TopWindow()
{
    if (QWidget* popup = QApplication::activePopupWidget())
        return popup;
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    return CDeviceScreen::Instance();
}

QWidget* WidgetAt(QPoint devicePoint)
{
    QWidget* top = TopWindow();
    if (!top)
        return nullptr;
    const QPoint global = ToGlobal(devicePoint);
    // Without a pop-up or a modal dialog, a tool window of its own lies over
    // the screen where it is shown.
    if (top == CDeviceScreen::Instance()) {
        const QList<QWidget*> open = OpenToolWindows();
        for (auto it = open.rbegin(); it != open.rend(); ++it)
            if ((*it)->isWindow() && (*it)->rect().contains((*it)->mapFromGlobal(global))) {
                top = *it;
                break;
            }
    }
    const QPoint local = top->mapFromGlobal(global);
    if (!top->rect().contains(local))
        return top == QApplication::activePopupWidget() ? top : nullptr;
    QWidget* child = top->childAt(local);
    return child ? child : top;
}

void PenDown(QWidget* target, QPoint p)
{
    FocusAsClickDoes(target);
    SendMouse(target, QEvent::MouseButtonPress, p, Qt::LeftButton);
}

void PenMove(QWidget* target, QPoint p)
{
    SendMouse(target, QEvent::MouseMove, p, Qt::LeftButton);
}

void PenUp(QWidget* target, QPoint p)
{
    SendMouse(target, QEvent::MouseButtonRelease, p, Qt::NoButton);
}

void TapLocal(QWidget* target, QPoint local)
{
    const QPoint global = target->mapToGlobal(local);
    FocusAsClickDoes(target);
    SendMouseAt(target, QEvent::MouseButtonPress, global, Qt::LeftButton);
    SendMouseAt(target, QEvent::MouseButtonRelease, global, Qt::NoButton);
}

void DoubleTap(QWidget* target, QPoint p)
{
    FocusAsClickDoes(target);
    SendMouse(target, QEvent::MouseButtonPress, p, Qt::LeftButton);
    SendMouse(target, QEvent::MouseButtonRelease, p, Qt::NoButton);
    SendMouse(target, QEvent::MouseButtonDblClick, p, Qt::LeftButton);
    SendMouse(target, QEvent::MouseButtonRelease, p, Qt::NoButton);
}

bool KeyPress(const QString& name)
{
    static const QMap<QString, int> named = {
        {"Left", Qt::Key_Left},           {"Right", Qt::Key_Right},   {"Up", Qt::Key_Up},       {"Down", Qt::Key_Down},
        {"Return", Qt::Key_Return},       {"Escape", Qt::Key_Escape}, {"Space", Qt::Key_Space}, {"Tab", Qt::Key_Tab},
        {"Backspace", Qt::Key_Backspace}, {"Delete", Qt::Key_Delete}, {"Home", Qt::Key_Home},   {"End", Qt::Key_End}};
    int key = 0;
    QString text;
    if (named.contains(name)) {
        key = named.value(name);
        if (key == Qt::Key_Space)
            text = QStringLiteral(" ");
        else if (key == Qt::Key_Return)
            text = QStringLiteral("\r");
        else if (key == Qt::Key_Tab)
            text = QStringLiteral("\t");
    } else if (name.size() == 1) {
        key = name.at(0).toUpper().unicode();
        text = name;
    } else {
        return false;
    }
    QWidget* target = QApplication::activePopupWidget();
    if (!target)
        target = QApplication::focusWidget();
    if (!target)
        target = TopWindow();
    if (!target)
        return false;
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &release);
    return true;
}

}  // namespace Input
