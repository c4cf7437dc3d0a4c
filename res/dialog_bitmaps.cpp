// Images of the File Open dialog and the folder browser as XPM text (16 x 16
// images side by side): tool bar 174's strip (bitmap 185, and 191 for its
// disabled look), the tree icons 176 to 179 of the File Open dialog, and the
// folder browser's strip 130. The transparent colour of each is its "."
// entry, RGB(153, 153, 153).
#include "res/dialog_bitmaps.h"

#include "res/resource.h"

#include <iterator>
#include <vector>

namespace {

// clang-format off
const char* const kColors[] = {
    ". c #999999", "Y c #FFF080", "b c #0050C0", "g c #808080", "k c #000000", "l c #E0E0E0",
    "n c #20A020", "o c #A07800", "r c #D02020", "s c #80C0FF", "w c #FFFFFF", "y c #FFD800"};
const char* const kDisabledColors[] = {
    ". c #999999", "Y c #F0F0F0", "b c #808080", "g c #A0A0A0", "k c #808080", "l c #F0F0F0",
    "n c #A8A8A8", "o c #989898", "r c #909090", "s c #E0E0E0", "w c #FFFFFF", "y c #E8E8E8"};
// The selected device: the same drawing with its screen lit.
const char* const kSelectedColors[] = {
    ". c #999999", "Y c #FFF080", "b c #0050C0", "g c #808080", "k c #000000", "l c #E0E0E0",
    "n c #20A020", "o c #A07800", "r c #D02020", "s c #0050C0", "w c #FFFFFF", "y c #FFD800"};

// ok, cross, panes, folder, list
const char* const kFileOpenToolRows[] = {
    "................................................................................",
    ".....nnnnnn......................kkkkkkkkkkkkkk.................................",
    "...nnnnnnnnnn.....rr........rr...kbbbbbbbbbbbbk...................kk.kkkkkkkkk..",
    "..nnnnnnnnnnnn....rrr......rrr...kkkkkkkkkkkkkk...oooo............kk............",
    ".nnnnnnnnnnnnnn....rrr....rrr....kwwwwwwwwwwwwk..oYYYYo.........................",
    ".nnwwwnnwnnwnnn.....rrr..rrr.....kwyyyywwwwwwwk..oYYYYYooooooo....kk.kkkkkkkkk..",
    "nnwnnnwnwnwnnnnn.....rrrrrr......kwwwwwwwwwwwwk..oYYYYYYYYYYYYo...kk............",
    "nnwnnnwnwwnnnnnn......rrrr.......kkkkkkkkkkkkkk..oyyyyyyyyyyyyo.................",
    "nnwnnnwnwnwnnnnn......rrrr.......kkkkkkkkkkkkkk..oyyyyyyyyyyyyo...kk.kkkkkkkkk..",
    "nnwnnnwnwnnwnnnn.....rrrrrr......kwwwwwwwwwwwwk..oyyyyyyyyyyyyo...kk............",
    ".nnwwwnnwnnwnnn.....rrr..rrr.....kwkkkkkkkkkwwk..oyyyyyyyyyyyyo.................",
    ".nnnnnnnnnnnnnn....rrr....rrr....kwwwwwwwwwwwwk..oyyyyyyyyyyyyo...kk.kkkkkkkkk..",
    "..nnnnnnnnnnnn....rrr......rrr...kwkkkkkkkwwwwk..oyyyyyyyyyyyyo...kk............",
    "...nnnnnnnnnn.....rr........rr...kwwwwwwwwwwwwk..oooooooooooooo.................",
    ".....nnnnnn......................kkkkkkkkkkkkkk.................................",
    "................................................................................",
};

// open
const char* const kOpenFolderRows[] = {
    "................",
    "................",
    "................",
    "..oooo..........",
    ".oYYYYo.........",
    ".oYYYYYooooooo..",
    ".oYYYYYYYYYYYo..",
    ".oYYoooooooooooo",
    ".oYoyyyyyyyyyyo.",
    ".oYoyyyyyyyyyyo.",
    ".ooyyyyyyyyyyo..",
    ".ooyyyyyyyyyyo..",
    ".oyyyyyyyyyyo...",
    ".ooooooooooo....",
    "................",
    "................",
};

// device
const char* const kDeviceRows[] = {
    "................",
    "....kkkkkkkk....",
    "...kggggggggk...",
    "...kgkkkkkkgk...",
    "...kgksssskgk...",
    "...kgksssskgk...",
    "...kgksssskgk...",
    "...kgksssskgk...",
    "...kgksssskgk...",
    "...kgkkkkkkgk...",
    "...kggggggggk...",
    "...kgkgkkgkgk...",
    "...kggggggggk...",
    "...kggggggggk...",
    "....kkkkkkkk....",
    "................",
};

// folder
const char* const kFolderRows[] = {
    "................",
    "................",
    "................",
    "..oooo..........",
    ".oYYYYo.........",
    ".oYYYYYooooooo..",
    ".oYYYYYYYYYYYYo.",
    ".oyyyyyyyyyyyyo.",
    ".oyyyyyyyyyyyyo.",
    ".oyyyyyyyyyyyyo.",
    ".oyyyyyyyyyyyyo.",
    ".oyyyyyyyyyyyyo.",
    ".oyyyyyyyyyyyyo.",
    ".oooooooooooooo.",
    "................",
    "................",
};

// device, folder, open, zip, card
const char* const kBrowserRows[] = {
    "................................................................................",
    "....kkkkkkkk.......................................................kkkkkkkk.....",
    "...kggggggggk......................................................kwkwkwkwk....",
    "...kgkkkkkkgk.....oooo............oooo............oooo.............kwkwkwkwwk...",
    "...kgksssskgk....oYYYYo..........oYYYYo..........oYYYYo............kbbbbbbbbk...",
    "...kgksssskgk....oYYYYYooooooo...oYYYYYooooooo...oYYYYYooooooo.....kbbbbbbbbk...",
    "...kgksssskgk....oYYYYYYYYYYYYo..oYYYYYYYYYYYo...oYYYYYkYYYYYYo....kbwwwwwwbk...",
    "...kgksssskgk....oyyyyyyyyyyyyo..oYYoooooooooooo.oyyyyywyyyyyyo....kbwwwwwwbk...",
    "...kgksssskgk....oyyyyyyyyyyyyo..oYoyyyyyyyyyyo..oyyyyykyyyyyyo....kbwwwwwwbk...",
    "...kgkkkkkkgk....oyyyyyyyyyyyyo..oYoyyyyyyyyyyo..oyyyyywyyyyyyo....kbbbbbbbbk...",
    "...kggggggggk....oyyyyyyyyyyyyo..ooyyyyyyyyyyo...oyyyyykyyyyyyo....kbbbbbbbbk...",
    "...kgkgkkgkgk....oyyyyyyyyyyyyo..ooyyyyyyyyyyo...oyyyyykkyyyyyo....kbbbbbbbbk...",
    "...kggggggggk....oyyyyyyyyyyyyo..oyyyyyyyyyyo....oyyyyykkyyyyyo....kbbbbbbbbk...",
    "...kggggggggk....oooooooooooooo..ooooooooooo.....oooooooooooooo....kkkkkkkkkk...",
    "....kkkkkkkk....................................................................",
    "................................................................................",
};

// clang-format on

struct CDialogBitmap {
    int id;
    const char* header;
    const char* const* colors;
    const char* const* rows;
};

const CDialogBitmap kBitmaps[] = {
    {Res::IDB_FILE_OPEN_TOOLBAR, "80 16 12 1", kColors, kFileOpenToolRows},
    {Res::IDB_FILE_OPEN_TOOLBAR_DISABLED, "80 16 12 1", kDisabledColors, kFileOpenToolRows},
    {Res::IDI_OPEN_FOLDER, "16 16 12 1", kColors, kOpenFolderRows},
    {Res::IDI_DEVICE_SELECTED, "16 16 12 1", kSelectedColors, kDeviceRows},
    {Res::IDI_DEVICE, "16 16 12 1", kColors, kDeviceRows},
    {Res::IDI_FOLDER, "16 16 12 1", kColors, kFolderRows},
    {Res::IDB_FOLDER_BROWSER, "80 16 12 1", kColors, kBrowserRows},
};

}  // namespace

namespace Resources {

const char* const* DialogBitmapXpm(int id)
{
    static const std::vector<std::vector<const char*>> xpms = [] {
        std::vector<std::vector<const char*>> all;
        for (const CDialogBitmap& b : kBitmaps) {
            std::vector<const char*> xpm {b.header};
            xpm.insert(xpm.end(), b.colors, b.colors + std::size(kColors));
            xpm.insert(xpm.end(), b.rows, b.rows + 16);
            all.push_back(std::move(xpm));
        }
        return all;
    }();
    for (size_t i = 0; i < std::size(kBitmaps); ++i)
        if (kBitmaps[i].id == id)
            return xpms[i].data();
    return nullptr;
}

}  // namespace Resources
