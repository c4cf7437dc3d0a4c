// Menus, tool bars, accelerators and strings as data: the one place that says
// which labels and identifiers the user interface shows.
#pragma once

#include <QString>
#include <vector>

struct CMenuItemDef {
    CMenuItemDef(const char* text = "", int command = 0, std::vector<CMenuItemDef> items = {})
        : label(QString::fromUtf8(text))
        , id(command)
        , children(std::move(items))
    {
    }
    QString label;                       // empty for a separator
    int id = 0;                          // 0 for a separator or a pop-up
    std::vector<CMenuItemDef> children;  // a pop-up when not empty
    bool IsSeparator() const { return label.isEmpty(); }
    bool IsPopup() const { return !children.empty(); }
};

struct CToolButtonDef {
    int id = 0;      // 0 for a separator
    int image = -1;  // index into the tool bar's image strip
};

struct CAccelDef {
    int key;  // Qt key code of the letter
    bool ctrl;
    int id;
};

namespace Resources {

// Menu 128: the pop-ups "File", "View" and "Tools" in order.
const std::vector<CMenuItemDef>& MainMenu();
// Command-bar menu buttons: (command, caption string id, pop-up index).
struct MenuButtonDef {
    int id;
    int captionString;
    int popup;
};
const std::vector<MenuButtonDef>& MenuBarButtons();
// Tool bar 128 (command bar) and 136 (bottom tool bar).
const std::vector<CToolButtonDef>& CommandBarButtons();
const std::vector<CToolButtonDef>& BottomToolBarButtons();
// Tool bar 174 of the File Open dialog (images of bitmap 185).
const std::vector<CToolButtonDef>& FileOpenToolBarButtons();
const std::vector<CAccelDef>& Accelerators();
// The string table: the text of id, empty when there is none.
QString LoadString(int id);
// Tooltip string ids of the command bar, in button order.
const std::vector<int>& CommandBarTooltips();

}  // namespace Resources
