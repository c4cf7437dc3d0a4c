// The BMP reader: turns a .bmp file into a bitmap that keeps the file's own
// depth and palette where the bitmap object can hold it.
//
// Reads Windows (40, 52, 56, 108 and 124-byte) and OS/2 (12 and 16..64-byte)
// headers; 1, 2, 4, 8, 16, 24 and 32 bits per pixel; BI_RGB, BI_RLE8, BI_RLE4,
// BI_BITFIELDS and BI_ALPHABITFIELDS; rows stored bottom-up or top-down.
// 2-bit pictures become 8-bit ones with the same palette; 16-bit layouts other
// than 5-5-5 become 24-bit, 32-bit layouts other than 8-8-8 become standard
// 32-bit. Absurd headers and pictures beyond the bitmap budget are refused;
// nothing is read outside the given bytes. Missing pixel data (a cut file or
// RLE stream) leaves the rest of the picture at colour index 0 / black.
#pragma once

#include "image/gdi.h"

#include <QString>
#include <cstddef>
#include <cstdint>

// Decodes a whole BMP file held in memory; null when it is refused, or when
// the memory for the bitmap could not be had (then *noMemory is set).
HBITMAP DecodeBmp(const uint8_t* data, size_t size, bool* noMemory = nullptr);

// The platform's BMP loader: decodes the file at a host path; null when the
// file can't be read or is refused (*noMemory as for DecodeBmp).
HBITMAP SHLoadDIBitmap(const QString& hostPath, bool* noMemory = nullptr);
