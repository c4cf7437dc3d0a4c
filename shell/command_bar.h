// CCommandBar: the bar in the screen's bottom band with the menu buttons
// "File", "View", "Tools", the tool buttons of tool bar 128 and the
// input-panel button. Each menu button opens its pop-up of menu 128 upwards.
#pragma once

#include <QStringList>
#include <QWidget>
#include <vector>

class QMenu;
class QToolButton;

class CCommandBar : public QWidget {
    Q_OBJECT
public:
    explicit CCommandBar(QWidget* parent);
    // The pop-up of menu 128 behind menu button index 0..2.
    QMenu* Popup(int index) const;
    const std::vector<QMenu*>& Popups() const { return m_popups; }
    // Runs every update handler for the tool buttons (done when idle).
    void UpdateButtons();
    // Tooltips in button order: the three menu buttons, then the tool buttons.
    void SetTooltips(const QStringList& tips);
    // The input-panel button at the right end (full screen may hide it).
    void ShowSipButton(bool show);
    bool SipButtonVisible() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<QMenu*> m_popups;
    std::vector<QToolButton*> m_menuButtons;
    std::vector<QToolButton*> m_toolButtons;
    QToolButton* m_sipButton = nullptr;
};

// Builds a menu from the resource data; picks route through the application
// and update handlers run before it opens.
QMenu* BuildMenu(const struct CMenuItemDef& def, QWidget* parent);
// Runs the update handlers of a menu's items (and of its sub-menus).
void UpdateMenu(QMenu* menu);
