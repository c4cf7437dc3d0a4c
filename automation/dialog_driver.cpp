#include "automation/dialog_driver.h"

#include "automation/dialog_controls.h"
#include "automation/input.h"
#include "shell/device_dialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QSlider>
#include <QStyle>
#include <QTabWidget>
#include <QTextEdit>
#include <QTreeWidget>

namespace DialogDriver {

namespace {

using Action = bool (*)(QWidget* control, const QString& arg, QString* reason);

// A pen tap on an item of a list, tree or report, where it is drawn.
void TapItem(QAbstractItemView* view, const QModelIndex& index)
{
    view->scrollTo(index);
    const QRect rect = view->visualRect(index);
    if (rect.isEmpty() || !view->viewport()->rect().intersects(rect)) {
        view->setCurrentIndex(index);  // not drawn: chosen as the keys would
        return;
    }
    Input::TapLocal(view->viewport(), rect.intersected(view->viewport()->rect()).center());
}

bool ClickControl(QWidget* control, const QString&, QString* reason)
{
    auto* b = qobject_cast<QAbstractButton*>(control);
    if (!b)
        return Refuse(reason, QStringLiteral("control %1 is not a button").arg(ControlId(control)));
    b->click();
    return true;
}

bool CheckControl(QWidget* control, const QString& arg, QString* reason)
{
    auto* b = qobject_cast<QAbstractButton*>(control);
    if (!b || !b->isCheckable())
        return Refuse(reason, QStringLiteral("control %1 is not a check box").arg(ControlId(control)));
    if (arg != QLatin1String("0") && arg != QLatin1String("1"))
        return Refuse(reason, QStringLiteral("check needs 0 or 1"));
    const bool on = arg == QLatin1String("1");
    if (b->isChecked() == on)
        return true;
    if (!on && b->autoExclusive())
        return Refuse(reason, QStringLiteral("radio button %1 is cleared by checking another").arg(ControlId(control)));
    b->click();
    return b->isChecked() == on || Refuse(reason, QStringLiteral("control %1 did not change").arg(ControlId(control)));
}

bool SelectInCombo(QComboBox* c, const QString& text)
{
    const int index = c->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index < 0)
        return false;
    // What a pick from the drop-down does: the selection, then the pick's signals.
    c->setCurrentIndex(index);
    Q_EMIT c->activated(index);
    Q_EMIT c->textActivated(c->itemText(index));
    return true;
}

bool SelectInList(QListWidget* l, const QString& text)
{
    const QList<QListWidgetItem*> found = l->findItems(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (found.isEmpty())
        return false;
    TapItem(l, l->indexFromItem(found.first()));
    return true;
}

QTreeWidgetItem* FindByPath(QTreeWidgetItem* item, const QString& path, QTreeWidgetItem** deepestAbove)
{
    const QString own = item->data(0, Qt::UserRole).toString();
    if (own == path)
        return item;
    const QString prefix = own.endsWith(QLatin1Char('\\')) ? own : own + QLatin1Char('\\');
    if (own.isEmpty() || !path.startsWith(prefix))
        return nullptr;
    *deepestAbove = item;
    for (int i = 0; i < item->childCount(); ++i)
        if (QTreeWidgetItem* found = FindByPath(item->child(i), path, deepestAbove))
            return found;
    return nullptr;
}

// The item of a device path; folders on the way are opened, so that a tree
// that fills a folder when it opens shows the item.
bool SelectInTree(QTreeWidget* t, const QString& path)
{
    for (;;) {
        QTreeWidgetItem* above = nullptr;
        QTreeWidgetItem* found = nullptr;
        for (int i = 0; i < t->topLevelItemCount() && !found; ++i)
            found = FindByPath(t->topLevelItem(i), path, &above);
        if (found) {
            TapItem(t, t->indexFromItem(found));
            return true;
        }
        if (!above || above->isExpanded())
            return false;
        above->setExpanded(true);
    }
}

bool SelectInReport(QTreeWidget* t, const QString& text)
{
    for (int row = 0; row < t->topLevelItemCount(); ++row)
        if (t->topLevelItem(row)->text(0) == text) {
            TapItem(t, t->indexFromItem(t->topLevelItem(row)));
            return true;
        }
    return false;
}

bool SelectTab(QTabWidget* tabs, const QString& caption)
{
    for (int i = 0; i < tabs->count(); ++i)
        if (tabs->tabText(i) == caption) {
            Q_EMIT tabs->tabBarClicked(i);
            tabs->setCurrentIndex(i);
            return true;
        }
    return false;
}

bool SelectControl(QWidget* control, const QString& text, QString* reason)
{
    const QString kind = DialogControls::KindOf(control);
    bool found = false;
    if (auto* c = qobject_cast<QComboBox*>(control))
        found = SelectInCombo(c, text);
    else if (auto* l = qobject_cast<QListWidget*>(control))
        found = SelectInList(l, text);
    else if (auto* t = qobject_cast<QTreeWidget*>(control))
        found = kind == QLatin1String("report") ? SelectInReport(t, text) : SelectInTree(t, text);
    else if (auto* tabs = qobject_cast<QTabWidget*>(control))
        found = SelectTab(tabs, text);
    else
        return Refuse(reason, QStringLiteral("control %1 has no items").arg(ControlId(control)));
    return found || Refuse(reason, QStringLiteral("control %1 has no item \"%2\"").arg(ControlId(control)).arg(text));
}

bool SetControlText(QWidget* control, const QString& text, QString* reason)
{
    QString lines = text;
    lines.replace(QLatin1String("\\n"), QLatin1String("\n"));
    auto* combo = qobject_cast<QComboBox*>(control);
    if (auto* e = combo && combo->isEditable() ? combo->lineEdit() : qobject_cast<QLineEdit*>(control)) {
        // Typed over the whole text: the edit reports it as the user's.
        e->selectAll();
        e->insert(text);
    } else if (auto* p = qobject_cast<QPlainTextEdit*>(control)) {
        p->setPlainText(lines);
    } else if (auto* t = qobject_cast<QTextEdit*>(control)) {
        t->setPlainText(lines);
    } else {
        return Refuse(reason, QStringLiteral("control %1 is not a text field").arg(ControlId(control)));
    }
    return true;
}

// The pen takes the handle, moves it a pixel at a time to the place of the
// value (each new position is reported as the handle passes it, and the
// window is painted as between real pen moves), then lets go.
bool SlideControl(QWidget* control, const QString& arg, QString* reason)
{
    auto* s = qobject_cast<QSlider*>(control);
    if (!s)
        return Refuse(reason, QStringLiteral("control %1 is not a slider").arg(ControlId(control)));
    bool ok = false;
    const int target = arg.toInt(&ok);
    if (!ok || target < s->minimum() || target > s->maximum())
        return Refuse(reason, QStringLiteral("slide needs a value from %1 to %2").arg(s->minimum()).arg(s->maximum()));
    const int length = s->orientation() == Qt::Horizontal ? s->width() : s->height();
    const int span = std::max(1, length - s->style()->pixelMetric(QStyle::PM_SliderLength, nullptr, s));
    const bool upsideDown = s->invertedAppearance() != (s->orientation() == Qt::Vertical);
    const auto pixelOf
        = [&](int v) { return QStyle::sliderPositionFromValue(s->minimum(), s->maximum(), v, span, upsideDown); };
    const int from = pixelOf(s->sliderPosition());
    const int to = pixelOf(target);
    const int step = to >= from ? 1 : -1;
    s->setSliderDown(true);
    const auto moveTo = [s](int v) {
        if (v == s->sliderPosition())
            return;
        s->setSliderPosition(v);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
    };
    for (int p = from; p != to; p += step)
        moveTo(QStyle::sliderValueFromPosition(s->minimum(), s->maximum(), p + step, span, upsideDown));
    moveTo(target);
    s->setSliderDown(false);
    return true;
}

// The control the command's first argument names, if the pen can reach it.
QWidget* ControlOf(const ScriptArgs& args, QString* reason)
{
    const int id = args.Number(0);
    QWidget* top = Target();
    QWidget* control = top ? DialogControls::Find(top, id) : nullptr;
    if (!control)
        Refuse(reason, QStringLiteral("no control %1 in the topmost window").arg(id));
    else if (!control->isVisible())
        Refuse(reason, QStringLiteral("control %1 is hidden").arg(id));
    else if (!control->isEnabled())
        Refuse(reason, QStringLiteral("control %1 is disabled").arg(id));
    else
        return control;
    return nullptr;
}

template <Action action> bool OnControl(const ScriptArgs& args, QString* reason)
{
    QWidget* control = ControlOf(args, reason);
    return control && action(control, args.Text(1), reason);
}

}  // namespace

QWidget* Target()
{
    if (QWidget* popup = QApplication::activePopupWidget())
        return popup;
    const QList<QWidget*> open = OpenToolWindows();
    return open.isEmpty() ? Input::TopWindow() : open.last();
}

bool Click(ScriptContext&, const ScriptArgs& args, QString* reason)
{
    return OnControl<ClickControl>(args, reason);
}

bool Check(ScriptContext&, const ScriptArgs& args, QString* reason)
{
    return OnControl<CheckControl>(args, reason);
}

bool Select(ScriptContext&, const ScriptArgs& args, QString* reason)
{
    return OnControl<SelectControl>(args, reason);
}

bool SetText(ScriptContext&, const ScriptArgs& args, QString* reason)
{
    return OnControl<SetControlText>(args, reason);
}

bool Slide(ScriptContext&, const ScriptArgs& args, QString* reason)
{
    return OnControl<SlideControl>(args, reason);
}

}  // namespace DialogDriver
