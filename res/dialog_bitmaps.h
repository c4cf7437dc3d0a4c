// Image strips and icons of the File Open dialog and the folder browser
// (bitmaps 185, 191 and 130, icons 176 to 179) as XPM text; their
// transparent colour is RGB(153, 153, 153). Reached through BitmapXpm.
#pragma once

namespace Resources {

// The XPM lines of one of those ids; null for any other.
const char* const* DialogBitmapXpm(int id);
constexpr unsigned kDialogBitmapTransparentColor = 0x999999u;

}  // namespace Resources
