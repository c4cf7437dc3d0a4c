// Numeric identifiers of commands, menus, tool bars, bitmaps and strings.
#pragma once

namespace Res {

// Commands (menu items, tool buttons, accelerators).
constexpr int ID_FILE_NEW = 57600;
constexpr int ID_FILE_OPEN = 57601;  // "Open File"
constexpr int ID_FILE_SAVE = 57603;
constexpr int ID_FILE_SAVE_AS = 57604;
constexpr int ID_APP_ABOUT = 57664;
constexpr int ID_BROWSER_FOLDER = 32779;
constexpr int ID_ADD_FILE = 32789;
constexpr int ID_SAVE_AS_ALBUM = 32790;
constexpr int ID_APP_EXIT = 32778;
constexpr int ID_IMAGE_INFO = 32800;
constexpr int ID_FULL_SCREEN = 32841;
constexpr int ID_SLIDE_SHOW = 32810;
constexpr int ID_ROTATE_0 = 32788;
constexpr int ID_ROTATE_90 = 32785;
constexpr int ID_ROTATE_180 = 32786;
constexpr int ID_ROTATE_270 = 32787;
constexpr int ID_ROTATE_LEFT = 32814;   // rotation step buttons of the bottom tool bar
constexpr int ID_ROTATE_RIGHT = 32813;
constexpr int ID_ZOOM_IN = 32798;
constexpr int ID_ZOOM_OUT = 32799;
constexpr int ID_ZOOM_50 = 32792;
constexpr int ID_ZOOM_100 = 32793;
constexpr int ID_ZOOM_150 = 32794;
constexpr int ID_ZOOM_200 = 32795;
constexpr int ID_ZOOM_FIT = 32796;
constexpr int ID_ZOOM_FILL = 32797;
constexpr int ID_ALL_FIT = 32817;
constexpr int ID_ALL_FILL = 32818;
constexpr int ID_ALL_ORIGINAL = 32819;
constexpr int ID_BRIGHTNESS = 32815;
constexpr int ID_CONTRAST = 32816;
constexpr int ID_SETTINGS = 32791;
constexpr int ID_MEMO = 32840;

// Command bar menu buttons.
constexpr int ID_MENU_FILE = 32775;
constexpr int ID_MENU_VIEW = 32780;
constexpr int ID_MENU_TOOLS = 106;

// Resources.
constexpr int IDR_MAINFRAME = 128;  // menu, menu bar, command-bar tool bar, icon, document strings
constexpr int IDR_BOTTOM_TOOLBAR = 136;
constexpr int IDB_COMMANDBAR_IMAGES = 155;
constexpr int IDB_TOOLBAR_IMAGES = 156;
constexpr int IDB_TOOLBAR_DISABLED = 158;
constexpr int IDB_SPLASH = 135;
constexpr int IDD_ABOUTBOX = 100;

// Strings.
constexpr int IDS_MENU_FILE = 65001;
constexpr int IDS_MENU_VIEW = 32820;
constexpr int IDS_MENU_TOOLS = 103;
constexpr int IDS_TIP_NEW = 65000;
constexpr int IDS_TIP_FILE = 65001;
constexpr int IDS_TIP_HELP = 65002;
constexpr int IDS_TIP_BROWSER = 65004;
constexpr int IDS_TIP_SLIDESHOW = 65005;
constexpr int IDS_TIP_ABOUT = 65007;

}  // namespace Res
