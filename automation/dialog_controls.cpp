#include "automation/dialog_controls.h"

#include "shell/device_dialog.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QSlider>
#include <QTabWidget>
#include <QTextEdit>
#include <QTreeWidget>

namespace DialogControls {

namespace {

// What a dump shows of one control besides its identity.
struct ControlState {
    QString text;
    bool checked = false;
    QJsonArray items;
    QJsonValue selected = -1;
    int value = 0;
    QJsonArray paths;  // trees: each item's device path, beside items
};

void FillButton(QWidget* w, ControlState* s)
{
    auto* b = static_cast<QAbstractButton*>(w);
    s->text = b->text();
    s->checked = b->isChecked();
}

void FillCombo(QWidget* w, ControlState* s)
{
    auto* c = static_cast<QComboBox*>(w);
    s->text = c->currentText();
    for (int i = 0; i < c->count(); ++i)
        s->items.append(c->itemText(i));
    s->selected = c->currentIndex();
}

void FillList(QWidget* w, ControlState* s)
{
    auto* l = static_cast<QListWidget*>(w);
    s->text = l->currentItem() ? l->currentItem()->text() : QString();
    for (int i = 0; i < l->count(); ++i)
        s->items.append(l->item(i)->text());
    s->selected = l->currentRow();
}

void AddTreeItems(const QTreeWidgetItem* item, ControlState* s)
{
    s->items.append(item->text(0));
    s->paths.append(item->data(0, Qt::UserRole).toString());
    for (int i = 0; i < item->childCount(); ++i)
        AddTreeItems(item->child(i), s);
}

void FillTree(QWidget* w, ControlState* s)
{
    auto* t = static_cast<QTreeWidget*>(w);
    QTreeWidgetItem* current = t->currentItem();
    s->text = current ? current->text(0) : QString();
    if (KindOf(w) == QLatin1String("report")) {
        // Rows are the top-level items, columns their texts.
        for (int row = 0; row < t->topLevelItemCount() && row < kReportRowsShown; ++row) {
            QJsonArray columns;
            for (int c = 0; c < t->columnCount(); ++c)
                columns.append(t->topLevelItem(row)->text(c));
            s->items.append(columns);
        }
        s->selected = current ? t->indexOfTopLevelItem(current) : -1;
        return;
    }
    for (int i = 0; i < t->topLevelItemCount(); ++i)
        AddTreeItems(t->topLevelItem(i), s);
    s->selected = current ? current->data(0, Qt::UserRole).toString() : QString();
}

void FillLineEdit(QWidget* w, ControlState* s)
{
    s->text = static_cast<QLineEdit*>(w)->text();
}

void FillPlainTextEdit(QWidget* w, ControlState* s)
{
    s->text = static_cast<QPlainTextEdit*>(w)->toPlainText();
}

void FillTextEdit(QWidget* w, ControlState* s)
{
    s->text = static_cast<QTextEdit*>(w)->toPlainText();
}

void FillLabel(QWidget* w, ControlState* s)
{
    s->text = static_cast<QLabel*>(w)->text();
}

void FillGroupBox(QWidget* w, ControlState* s)
{
    auto* g = static_cast<QGroupBox*>(w);
    s->text = g->title();
    s->checked = g->isChecked();
}

void FillSlider(QWidget* w, ControlState* s)
{
    auto* slider = static_cast<QSlider*>(w);
    s->value = slider->value();
    s->text = QString::number(slider->value());
}

void FillTab(QWidget* w, ControlState* s)
{
    auto* tabs = static_cast<QTabWidget*>(w);
    for (int i = 0; i < tabs->count(); ++i)
        s->items.append(tabs->tabText(i));
    s->selected = tabs->currentIndex();
    s->text = tabs->tabText(tabs->currentIndex());
}

struct KindRule {
    const char* qtClass;
    const char* kind;
    void (*fill)(QWidget*, ControlState*);
};

// The first rule whose class the widget inherits gives its kind.
const KindRule kRules[] = {
    {"QCheckBox", "check", FillButton},
    {"QRadioButton", "radio", FillButton},
    {"QPushButton", "button", FillButton},
    {"QToolButton", "button", FillButton},
    {"QComboBox", "combo", FillCombo},
    {"QListWidget", "list", FillList},
    {"QTreeWidget", "tree", FillTree},
    {"QLineEdit", "edit", FillLineEdit},
    {"QPlainTextEdit", "edit", FillPlainTextEdit},
    {"QTextEdit", "edit", FillTextEdit},
    {"QLabel", "static", FillLabel},
    {"QGroupBox", "static", FillGroupBox},
    {"QSlider", "slider", FillSlider},
    {"QTabWidget", "tab", FillTab},
};

const KindRule* RuleOf(const QWidget* widget)
{
    for (const KindRule& rule : kRules)
        if (widget->inherits(rule.qtClass))
            return &rule;
    return nullptr;
}

void Collect(QWidget* parent, QList<QWidget*>* out)
{
    for (QObject* child : parent->children()) {
        auto* w = qobject_cast<QWidget*>(child);
        if (!w || w->isWindow() || IsToolWindow(w))
            continue;
        const QString kind = KindOf(w);
        const bool named = ControlId(w) != DialogId::kStatic;
        // Unnamed statics are the dialog's labels; other unnamed widgets are
        // the inner parts of controls (a combo box's edit, a sheet's tab bar).
        if (!kind.isEmpty() && (named || (kind == QLatin1String("static") && w->objectName().isEmpty())))
            out->append(w);
        Collect(w, out);
    }
}

QJsonArray DeviceRect(QWidget* w, QWidget* screen)
{
    const QPoint topLeft = screen ? screen->mapFromGlobal(w->mapToGlobal(QPoint(0, 0))) : w->pos();
    return QJsonArray {topLeft.x(), topLeft.y(), topLeft.x() + w->width(), topLeft.y() + w->height()};
}

}  // namespace

QString KindOf(const QWidget* widget)
{
    const QString own = widget->property("lumoKind").toString();
    if (!own.isEmpty())
        return own;
    const KindRule* rule = RuleOf(widget);
    return rule ? QString::fromLatin1(rule->kind) : QString();
}

QList<QWidget*> ControlsOf(QWidget* dialog)
{
    QList<QWidget*> controls;
    Collect(dialog, &controls);
    return controls;
}

QWidget* Find(QWidget* dialog, int id)
{
    QWidget* found = nullptr;
    for (QWidget* w : ControlsOf(dialog)) {
        if (ControlId(w) != id)
            continue;
        if (w->isVisible())
            return w;
        if (!found)
            found = w;
    }
    return found;
}

QJsonObject Describe(QWidget* control)
{
    ControlState s;
    if (const KindRule* rule = RuleOf(control))
        rule->fill(control, &s);
    QJsonObject o {{"id", ControlId(control)},
                   {"kind", KindOf(control)},
                   {"text", s.text},
                   {"enabled", control->isEnabled()},
                   {"visible", control->isVisible()},
                   {"checked", s.checked},
                   {"items", s.items},
                   {"selected", s.selected},
                   {"value", s.value}};
    if (!s.paths.isEmpty())
        o["paths"] = s.paths;
    return o;
}

QJsonArray DumpDialogs(QWidget* screen)
{
    QJsonArray dialogs;
    for (QWidget* dialog : OpenToolWindows()) {
        QJsonArray controls;
        for (QWidget* control : ControlsOf(dialog))
            controls.append(Describe(control));
        dialogs.append(QJsonObject {{"class", dialog->property("lumoClass").toString()},
                                    {"caption", dialog->windowTitle()},
                                    {"rect", DeviceRect(dialog, screen)},
                                    {"controls", controls}});
    }
    return dialogs;
}

}  // namespace DialogControls
