// Pen and key input delivered to the window under a device-screen point, as
// the windowing system would deliver it.
#pragma once

#include <QPoint>
#include <QString>

class QWidget;

namespace Input {

// The topmost window at a device-screen point (pop-up menus, then dialogs,
// then tool windows of their own, then the screen) and its deepest child there.
QWidget* WidgetAt(QPoint devicePoint);
// The topmost window: a pop-up menu, a modal dialog, or the screen.
QWidget* TopWindow();

void PenDown(QWidget* target, QPoint devicePoint);
void PenMove(QWidget* target, QPoint devicePoint);
void PenUp(QWidget* target, QPoint devicePoint);
void DoubleTap(QWidget* target, QPoint devicePoint);
// A pen tap at a point in the target's own coordinates.
void TapLocal(QWidget* target, QPoint local);
// Key by name: Left Right Up Down Return Escape Space Tab Backspace Delete
// Home End, or one character.
bool KeyPress(const QString& name);

}  // namespace Input
