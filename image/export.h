// Writers that save a bitmap as a BMP or a baseline JPEG file, and the row
// conversion the JPEG writer feeds the compressor with. Paths are host paths.
//
// Both writers build the whole file beside the target and rename it into
// place only when it is complete, so a failed save leaves an existing file
// as it was and never leaves a partial one. Bitmaps of fewer than 24 bits
// per pixel are written as 24-bit pictures.
#pragma once

#include "image/gdi.h"

#include <QString>
#include <cstdint>

// A BMP file: 14-byte file header, 40-byte info header, no colour table, the
// bitmap's rows as stored (bottom row first, padded to 4 bytes). The header
// width is the bitmap's full width. Returns 1 written, 0 nothing written.
int SaveAsBmp(HBITMAP bitmap, const QString& path);

// A baseline JFIF file at quality 100, the library's defaults otherwise.
// A compressor error is reported on standard error and gives 0.
int SaveAsJpeg(HBITMAP bitmap, const QString& path);

// Fills rows[y] (y = 0 at the top, 3 * width bytes each) with red, green,
// blue triples from a bottom-up bitmap of 24 or 32 bits per pixel. Returns 1,
// or 0 for another depth (nothing written).
int DibToRgbRows(uint8_t** rows, const BITMAP& bitmap);
