// Button images of the tool bars, cut from the image strips of res/bitmaps
// with their transparent colour masked out.
#pragma once

#include <QIcon>
#include <QPixmap>
#include <vector>

namespace ToolImages {

// The 16 x 16 images of bitmap id, left to right; empty when there is none.
std::vector<QPixmap> LoadStrip(int bitmapId);
// Image index of a strip as a button icon; disabledId (0 for none) gives the
// disabled look.
QIcon Icon(int bitmapId, int disabledId, int index);

}  // namespace ToolImages
