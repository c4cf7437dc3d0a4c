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
constexpr int ID_ROTATE_LEFT = 32814;  // rotation step buttons of the bottom tool bar
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

// The File Open dialog, the save-file dialog and the folder browser.
constexpr int IDD_FILE_OPEN = 171;
constexpr int IDR_FILE_OPEN_TOOLBAR = 174;
constexpr int IDB_FILE_OPEN_TOOLBAR = 185;  // OK, Cancel, tree and list, tree, list
constexpr int IDB_FILE_OPEN_TOOLBAR_DISABLED = 191;
constexpr int IDI_OPEN_FOLDER = 176;
constexpr int IDI_DEVICE_SELECTED = 177;
constexpr int IDI_DEVICE = 178;
constexpr int IDI_FOLDER = 179;
constexpr int IDB_FOLDER_BROWSER = 130;  // device, folder, open folder, archive, card
constexpr int ID_FILE_OPEN_OK = 32846;
constexpr int ID_FILE_OPEN_CANCEL = 32847;
constexpr int ID_VIEW_TREE_AND_LIST = 32848;
constexpr int ID_VIEW_TREE = 32849;
constexpr int ID_VIEW_LIST = 59410;
constexpr int IDC_FOLDER_TREE = 1042;
constexpr int IDC_FILE_LIST = 1043;
constexpr int IDC_FILTER_COMBO = 1044;
constexpr int IDC_SAVE_FOLDERS = 1121;
constexpr int IDC_SAVE_FILES = 1120;
constexpr int IDC_SAVE_TYPE = 1136;
constexpr int IDC_SAVE_NAME = 1152;
constexpr int IDC_BROWSER_TREE = 1001;
constexpr int IDC_INCLUDE_SUBFOLDERS = 1002;
constexpr int IDC_BROWSER_OK = 1003;
constexpr int IDC_BROWSER_CANCEL = 1004;
constexpr int IDW_FOLDER_BROWSER = 7468;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

}  // namespace Res
