#include "res/bitmaps.h"

#include "res/dialog_bitmaps.h"
#include "res/resource.h"

#include <iterator>
#include <vector>

namespace {

// clang-format off
// Bitmap 155: an open folder, a projector, a framed picture marked A.
// Transparent: RGB(153, 153, 153).
const char* const kCommandBarColors[] = {
    ". c #999999", "Y c #FFF080", "b c #0050C0", "g c #808080", "k c #000000", "l c #E0E0E0",
    "n c #20A020", "o c #A07800", "r c #D02020", "s c #80C0FF", "w c #FFFFFF", "y c #FFD800"};

// Bitmaps 156 and 158 share their pixel rows: a magnifier with minus, one
// with plus, a picture with a turning arrow on the left, the same with the
// arrow on the right, B, C, i and M. Transparent: RGB(192, 192, 192).
const char* const kToolBarColors[] = {
    ". c #C0C0C0", "Y c #FFF080", "b c #0050C0", "g c #808080", "k c #000000", "l c #E0E0E0",
    "n c #20A020", "o c #A07800", "r c #D02020", "s c #80C0FF", "w c #FFFFFF", "y c #FFD800"};
// The disabled look: dark strokes turn mid grey, light fills pale grey.
const char* const kDisabledColors[] = {
    ". c #C0C0C0", "Y c #F0F0F0", "b c #808080", "g c #A0A0A0", "k c #808080", "l c #F0F0F0",
    "n c #A8A8A8", "o c #989898", "r c #909090", "s c #E0E0E0", "w c #FFFFFF", "y c #E8E8E8"};

const char* const kCommandBarRows[] = {
    "................................................",
    "...................kkk..kkk.....oooooooooooooooo",
    ".oooooo...........kgggkkgggk....oooooooooooooooo",
    ".oyyyyo...........kgkgkkgkgk....oossssssssssssoo",
    ".oooooooooooo.....kgggkkgggk....oossssrrrsssssoo",
    ".oyyyyyyyyyyo.....kgggkkgggk....oosssrsssrssssoo",
    ".oyyyyyyyyyyo....kkkkkkkkkkk...yoosssrsssrssssoo",
    ".oyyoooooooooooo.klllllllllk..y.oosssrrrrrssssoo",
    ".oyyoYYYYYYYYYYo.kgggggggggkkk..oosssrsssrssssoo",
    ".oyoYYYYYYYYYYo..kgggggggggkkkyyoossnrnnnrnnssoo",
    ".oyoYYYYYYYYYYo..kgggggggggkkk..oonnnrnnnrnnnnoo",
    ".ooYYYYYYYYYYo...kgggggggggk..y.oonnnnnnnnnnnnoo",
    ".ooYYYYYYYYYYo...kkkkkkkkkkk...yoonnnnnnnnnnnnoo",
    ".oooooooooooo......k.....k......oooooooooooooooo",
    "..................k.......k.....oooooooooooooooo",
    "..................k.......k....................."};

const char* const kToolBarRows[] = {
    "....................................bbbbb..............bbbbb....................................................................",
    ".....kkk.............kkk...........bbbbbbb............bbbbbbb...................................................................",
    "...kkkwkkk.........kkkwkkk........bbb...bbb..........bbb...bbb..................................................................",
    "..kkwwwwwkk.......kkwwwwwkk......bbb.....bbb........bbb.....bbb.....kkkkkk...........kkkkkk............bb..........kk.....kk....",
    "..kwwwwwwwk.......kwwwbwwwk......bb.......bb........bb.......bb.....kk...kk.........kk....kk...........bb..........kkk...kkk....",
    ".kkwwwwwwwkk.....kkwwwbwwwkk.....bb.......bb........bb.......bb.....kk...kk.........kk.............................kkkk.kkkk....",
    ".kwwbbbbbwwk.....kwwbbbbbwwk.....bb..........................bb.....kkkkkk..........kk...............bbbb..........kk.kkk.kk....",
    ".kkwwwwwwwkk.....kkwwwbwwwkk....bbbbb..kkkkkkkkkkkkkkkkkk..bbbbb....kk...kk.........kk.................bb..........kk..k..kk....",
    "..kwwwwwwwk.......kwwwbwwwk......bbb...kssssssskksssssssk...bbb.....kk....kk........kk.................bb..........kk.....kk....",
    "..kkwwwwwkk.......kkwwwwwkk.......b....kssssyyskksyyssssk....b......kk....kk........kk.................bb..........kk.....kk....",
    "...kkkwkkkok.......kkkwkkkok...........kssssyyskksyyssssk...........kk...kk.........kk....kk...........bb..........kk.....kk....",
    ".....kkk..kok........kkk..kok..........kssssssskksssssssk...........kkkkkk...........kkkkkk..........bbbbbb........kk.....kk....",
    "...........kok.............kok.........knnnnnnnkknnnnnnnk.......................................................................",
    "............kok.............kok........knnnnnnnkknnnnnnnk.......................................................................",
    ".............ko..............ko........knnnnnnnkknnnnnnnk.......................................................................",
    ".......................................kkkkkkkkkkkkkkkkkk......................................................................."};

// clang-format on

// Header line, palette, then the rows, as an XPM array.
std::vector<const char*> MakeXpm(const char* header, const char* const* colors, size_t colorCount,
                                 const char* const* rows, size_t rowCount)
{
    std::vector<const char*> xpm {header};
    xpm.insert(xpm.end(), colors, colors + colorCount);
    xpm.insert(xpm.end(), rows, rows + rowCount);
    return xpm;
}

}  // namespace

namespace Resources {

const char* const* BitmapXpm(int id)
{
    static const std::vector<const char*> commandBar = MakeXpm(
        "48 16 12 1", kCommandBarColors, std::size(kCommandBarColors), kCommandBarRows, std::size(kCommandBarRows));
    static const std::vector<const char*> toolBar
        = MakeXpm("128 16 12 1", kToolBarColors, std::size(kToolBarColors), kToolBarRows, std::size(kToolBarRows));
    static const std::vector<const char*> disabled
        = MakeXpm("128 16 12 1", kDisabledColors, std::size(kDisabledColors), kToolBarRows, std::size(kToolBarRows));
    switch (id) {
    case Res::IDB_COMMANDBAR_IMAGES:
        return commandBar.data();
    case Res::IDB_TOOLBAR_IMAGES:
        return toolBar.data();
    case Res::IDB_TOOLBAR_DISABLED:
        return disabled.data();
    default:
        return DialogBitmapXpm(id);
    }
}

unsigned BitmapTransparentColor(int id)
{
    if (DialogBitmapXpm(id))
        return kDialogBitmapTransparentColor;
    return id == Res::IDB_COMMANDBAR_IMAGES ? 0x999999u : 0xC0C0C0u;
}

}  // namespace Resources
