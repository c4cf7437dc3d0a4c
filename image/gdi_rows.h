// Row readers shared by the blits: one row of a bitmap of any depth turned
// into 24- or 32-bit blue-green-red pixels.
#pragma once

#include "image/gdi.h"

// Converts count pixels of row y (from the top) of src, starting at column x,
// into out at outBytesPerPixel (3 or 4; the fourth byte is written as 0).
// The caller has clipped x, y and count to the bitmap.
void ConvertRowToBgr(const CBitmapObject& src, int y, int x, int count, uint8_t* out, int outBytesPerPixel);
