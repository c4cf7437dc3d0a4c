#include "res/resources.h"

#include "res/resource.h"

#include <map>

using namespace Res;

namespace Resources {

// clang-format off
const std::vector<CMenuItemDef>& MainMenu()
{
    static const CMenuItemDef sep {};
    static const std::vector<CMenuItemDef> menu = {
        {"File", 0,
         {{"Browser Folder", ID_BROWSER_FOLDER},
          {"Open File", ID_FILE_OPEN},
          {"Add File", ID_ADD_FILE},
          sep,
          {"Save As", ID_FILE_SAVE_AS},
          {"Save As Album", ID_SAVE_AS_ALBUM},
          sep,
          {"Exit", ID_APP_EXIT}}},
        {"View", 0,
         {{"Image Info", ID_IMAGE_INFO},
          {"Full Screen", ID_FULL_SCREEN},
          {"Slide Show", ID_SLIDE_SHOW},
          sep,
          {"Rotate", 0,
           {{"Rotate Image +0", ID_ROTATE_0},
            {"Rotate Image +90", ID_ROTATE_90},
            {"Rotate Image +180", ID_ROTATE_180},
            {"Rotate Image +270", ID_ROTATE_270}}},
          {"Zoom", 0,
           {{"Zoom in", ID_ZOOM_IN},
            {"Zoom out", ID_ZOOM_OUT},
            sep,
            {"50%", ID_ZOOM_50},
            {"100%", ID_ZOOM_100},
            {"150%", ID_ZOOM_150},
            {"200%", ID_ZOOM_200},
            sep,
            {"Shrink to fit", ID_ZOOM_FIT},
            {"Shrink to fill", ID_ZOOM_FILL},
            sep,
            {"All to fit display", ID_ALL_FIT},
            {"All to fill display", ID_ALL_FILL},
            {"All to original size", ID_ALL_ORIGINAL}}},
          sep,
          {"Effect", 0, {{"Brightness", ID_BRIGHTNESS}, {"Contrast", ID_CONTRAST}}}}},
        {"Tools", 0, {{"Settings", ID_SETTINGS}, sep, {"About Lumo...", ID_APP_ABOUT}}},
    };
    return menu;
}
// clang-format on

const std::vector<MenuButtonDef>& MenuBarButtons()
{
    static const std::vector<MenuButtonDef> buttons = {
        {ID_MENU_FILE, IDS_MENU_FILE, 0},
        {ID_MENU_VIEW, IDS_MENU_VIEW, 1},
        {ID_MENU_TOOLS, IDS_MENU_TOOLS, 2},
    };
    return buttons;
}

const std::vector<CToolButtonDef>& CommandBarButtons()
{
    static const std::vector<CToolButtonDef> buttons = {{ID_BROWSER_FOLDER, 0}, {ID_SLIDE_SHOW, 1}, {ID_APP_ABOUT, 2}};
    return buttons;
}

const std::vector<CToolButtonDef>& BottomToolBarButtons()
{
    static const std::vector<CToolButtonDef> buttons
        = {{ID_ZOOM_OUT, 0}, {ID_ZOOM_IN, 1}, {ID_ROTATE_LEFT, 2}, {ID_ROTATE_RIGHT, 3}, {0, -1}, {ID_BRIGHTNESS, 4},
           {ID_CONTRAST, 5}, {0, -1},         {ID_IMAGE_INFO, 6},  {ID_MEMO, 7}};
    return buttons;
}

const std::vector<CToolButtonDef>& FileOpenToolBarButtons()
{
    static const std::vector<CToolButtonDef> buttons
        = {{ID_FILE_OPEN_OK, 0},       {ID_FILE_OPEN_CANCEL, 1}, {0, -1},
           {ID_VIEW_TREE_AND_LIST, 2}, {ID_VIEW_TREE, 3},        {ID_VIEW_LIST, 4}};
    return buttons;
}

const std::vector<CAccelDef>& Accelerators()
{
    static const std::vector<CAccelDef> accels
        = {{'N', true, ID_FILE_NEW}, {'O', true, ID_FILE_OPEN}, {'S', true, ID_FILE_SAVE}};
    return accels;
}

QString LoadString(int id)
{
    static const std::map<int, QString> table = {
        {IDR_MAINFRAME, "Lumo\n\nLumo\n\n\nLumo.Document\nLumo Document"},
        {IDS_TIP_NEW, "New"},
        {IDS_TIP_FILE, "File"},
        {IDS_TIP_HELP, "Help"},
        {IDS_TIP_BROWSER, "Browser Folder"},
        {IDS_TIP_SLIDESHOW, "SlideShow"},
        {IDS_TIP_ABOUT, "About LUMO"},
        {IDS_MENU_VIEW, "View"},
        {IDS_MENU_TOOLS, "Tools"},
    };
    auto it = table.find(id);
    return it == table.end() ? QString() : it->second;
}

const std::vector<int>& CommandBarTooltips()
{
    static const std::vector<int> ids
        = {IDS_TIP_NEW, IDS_TIP_FILE, IDS_TIP_HELP, IDS_TIP_BROWSER, IDS_TIP_SLIDESHOW, IDS_TIP_ABOUT};
    return ids;
}

}  // namespace Resources
