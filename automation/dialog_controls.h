// How scripts and `dump` see the controls of dialogs and tool windows: each
// plain Qt widget has a kind (button, check, radio, combo, list, report,
// tree, edit, static, slider, tab), its numeric identifier and its state.
#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QList>
#include <QString>

class QWidget;

namespace DialogControls {

// The control's kind, or an empty string for a widget scripts do not drive
// (containers, the inner parts of controls).
QString KindOf(const QWidget* widget);
// The controls of a dialog or tool window in the order they were made: every
// widget with an identifier and a kind, and the labels and group boxes
// without one (identifier -1). Windows of their own inside it are left out.
QList<QWidget*> ControlsOf(QWidget* dialog);
// The control with that identifier in the dialog; a shown one is preferred
// where pages of a sheet reuse an identifier.
QWidget* Find(QWidget* dialog, int id);
// {id, kind, text, enabled, visible, checked, items, selected, value}.
QJsonObject Describe(QWidget* control);
// Every open dialog and tool window, top-most last:
// {class, caption, rect, controls}, rect in device-screen pixels.
QJsonArray DumpDialogs(QWidget* screen);

// A report list (a tree widget whose property lumoKind is "report") shows at
// most this many rows in a dump.
constexpr int kReportRowsShown = 200;

}  // namespace DialogControls
