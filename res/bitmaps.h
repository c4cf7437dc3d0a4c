// Button image strips of the tool bars as XPM text (16 x 16 images side by
// side): bitmap 155 for the command bar, 156 for the bottom tool bar and 158,
// its grey disabled form. Edit the pixel rows below; each character is one
// pixel, its colour given by the palette of the strip. The transparent
// colour of each strip is its "." entry.
#pragma once

namespace Resources {

// The XPM lines of bitmap id (155, 156, 158, or one of dialog_bitmaps.h);
// null for any other id.
const char* const* BitmapXpm(int id);
// The colour that stands for transparency in bitmap id, as 0xRRGGBB.
unsigned BitmapTransparentColor(int id);

}  // namespace Resources
