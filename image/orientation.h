// Pictures upright by their Exif orientation (TIFF tag 274, Orientation).
//
// A camera stores the rows as its sensor read them and records in the
// picture's Exif block how they are to be shown. The eight values name where
// the stored first row and first column go:
//   1 as stored               2 mirrored left to right
//   3 turned half round       4 mirrored top to bottom
//   5 mirrored on the main diagonal (rows become columns)
//   6 turned a quarter clockwise to stand upright
//   7 mirrored on the other diagonal
//   8 turned a quarter anticlockwise to stand upright
// Values 5 to 8 swap the picture's width and height.
//
// The loader reads the value from the bytes it decodes (a JPEG's APP1 Exif
// marker, a PNG's eXIf chunk) and turns the decoded bitmap upright once, for
// every kind of load, unless the setting "Exif Orientation" (section
// "Setting", app/settings.h) is 0.
//
// Thread contract: pure functions, and a setting read that is safe from any
// thread (platform/profile.h).
#pragma once

#include "image/gdi.h"
#include "image/pixel_rect.h"

#include <cstddef>
#include <cstdint>

constexpr int kOrientationAsStored = 1;

// The setting's place and default; its row is in the settings table.
constexpr char kExifOrientationSection[] = "Setting";
constexpr char kExifOrientationName[] = "Exif Orientation";
constexpr int kExifOrientationDefault = 1;

// The Orientation of an Exif block: a JPEG APP1 payload ("Exif\0\0" and the
// TIFF data) or, with tiffOnly, the TIFF data alone (a PNG eXIf chunk). 1 when
// the block has none, or a damaged or out-of-range one.
int ExifOrientation(const uint8_t* data, size_t size, bool tiffOnly = false);

// True when the orientation turns the picture a quarter (5 to 8).
bool OrientationSwapsSides(int orientation);

// The upright copy of a bitmap stored in the given orientation, of any depth
// of whole bytes a pixel (palette kept). Null when there is nothing to do
// (orientation 1 or out of range), the depth has several pixels a byte, or
// the copy's memory could not be had.
HBITMAP UprightBitmap(HBITMAP stored, int orientation);

// Where a rectangle of the upright picture lies in the stored one, of width
// w and height h (the stored sides), for the given orientation.
CPixelRect StoredRect(const CPixelRect& upright, int orientation, int w, int h);

// Whether pictures are turned upright: the setting, read at the call.
bool ExifOrientationEnabled();
