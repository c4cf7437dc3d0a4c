// CDeviceDialog: the base of every dialog shown over the device screen. As on
// a handheld, it fills the screen below the task bar, and while it is shown the
// task bar's title is the dialog's caption (given back when it closes).
//
// Scripts find its controls by their numeric identifiers, kept as the widgets'
// object names (SetControlId); OK and Cancel are 1 and 2.
#pragma once

#include <QDialog>
#include <QList>
#include <QString>

class CImageItem;
class CLumoDoc;

class CDeviceDialog : public QDialog {
    Q_OBJECT
public:
    // className is what `dump` reports for the dialog; caption its title.
    CDeviceDialog(QWidget* screen, const QString& className, const QString& caption);

    // The device screen's client area for dialogs, in global coordinates.
    static QRect DialogArea(QWidget* screen);
    // The main window's active document; null without one.
    static CLumoDoc* ActiveDocument();
    // Its catalog's current entry; null when there is none.
    static CImageItem* ActiveEntry();

protected:
    // The dialog's title line, as a handheld draws it at the top of a dialog:
    // the caption, and at the right an "ok" button (OK, 1) that accepts it.
    QWidget* MakeTitleLine();

    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QString m_savedTitle;
    bool m_titleShown = false;
};

// Standard identifiers of dialog controls.
namespace DialogId {
constexpr int kOk = 1;
constexpr int kCancel = 2;
constexpr int kStatic = -1;           // labels and group boxes that carry no identifier
constexpr int kPropertyTabs = 12320;  // a property sheet's tab control
}  // namespace DialogId

// Names a control by its numeric identifier, as scripts and `dump` know it.
void SetControlId(QWidget* control, int id);
// The identifier SetControlId gave, or DialogId::kStatic when it gave none.
int ControlId(const QWidget* control);

// Marks a dialog or tool window (also one that is not a CDeviceDialog, such as
// a window laid over a view) so that scripts drive its controls and `dump`
// lists it among the open dialogs.
void MarkToolWindow(QWidget* window);
// True for a window MarkToolWindow marked.
bool IsToolWindow(const QWidget* widget);
// Every shown dialog and tool window, bottom to top: windows laid inside the
// device screen first, then separate windows, each group in the order they
// were last shown (a window shown later lies above).
QList<QWidget*> OpenToolWindows();
// The window's place in the order windows were shown (0: never shown).
int ShowOrder(const QWidget* window);
