// Device-independent bitmaps and the blits between them: the pixel store that
// every decoded picture, thumbnail and screen buffer lives in.
//
// A bitmap has any depth of 1, 4, 8, 16, 24 or 32 bits per pixel, a palette
// for the depths up to 8, and rows stored bottom-up (the first row in memory
// is the bottom row of the picture), each padded to a multiple of 4 bytes.
// 24-bit pixels are blue, green, red in memory order; 32-bit pixels are blue,
// green, red and an unused byte; 16-bit pixels are little-endian 5-5-5 words
// (bits 10-14 red, 5-9 green, 0-4 blue). The handle type is a
// plain owning pointer released with DeleteObject, as the code that builds on
// it expects; CDibBitmap (dib_bitmap.h) is the RAII holder.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct RGBQUAD {
    uint8_t rgbBlue = 0;
    uint8_t rgbGreen = 0;
    uint8_t rgbRed = 0;
    uint8_t rgbReserved = 0;
};

// The 40-byte info header of a DIB, field for field.
struct BITMAPINFOHEADER {
    uint32_t biSize = 40;
    int32_t biWidth = 0;
    int32_t biHeight = 0;  // positive: rows bottom-up; sections are never top-down
    uint16_t biPlanes = 1;
    uint16_t biBitCount = 24;
    uint32_t biCompression = 0;  // BI_RGB
    uint32_t biSizeImage = 0;
    int32_t biXPelsPerMeter = 3780;
    int32_t biYPelsPerMeter = 3780;
    uint32_t biClrUsed = 0;
    uint32_t biClrImportant = 0;
};

// What GetObject reports of a bitmap (the 24-byte BITMAP record).
struct BITMAP {
    int32_t bmType = 0;
    int32_t bmWidth = 0;
    int32_t bmHeight = 0;
    int32_t bmWidthBytes = 0;
    uint16_t bmPlanes = 1;
    uint16_t bmBitsPixel = 0;
    void* bmBits = nullptr;
};

// The object behind a bitmap handle. Pixel memory is owned by the object.
class CBitmapObject {
public:
    // Zero-filled pixels; Valid() is false when the size or depth is not
    // allowed or the memory could not be had.
    CBitmapObject(int width, int height, int bitsPerPixel);
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    int BitsPerPixel() const { return m_bpp; }
    int Stride() const { return m_stride; }  // bytes per row, a multiple of 4
    uint8_t* Bits() { return m_bits.data(); }
    const uint8_t* Bits() const { return m_bits.data(); }
    // Row y counted from the top of the picture.
    uint8_t* RowFromTop(int y) { return m_bits.data() + size_t(m_height - 1 - y) * m_stride; }
    const uint8_t* RowFromTop(int y) const { return m_bits.data() + size_t(m_height - 1 - y) * m_stride; }
    std::vector<RGBQUAD>& Palette() { return m_palette; }
    const std::vector<RGBQUAD>& Palette() const { return m_palette; }
    bool Valid() const { return !m_bits.empty(); }

    // Bytes per row for a width and depth: the DIB rule.
    static int64_t StrideFor(int width, int bitsPerPixel) { return ((int64_t(width) * bitsPerPixel + 31) / 32) * 4; }

private:
    int m_width;
    int m_height;
    int m_bpp;
    int m_stride;
    std::vector<uint8_t> m_bits;
    std::vector<RGBQUAD> m_palette;
};

using HBITMAP = CBitmapObject*;

// Largest pixel block any bitmap may hold; creation beyond it fails cleanly.
constexpr int64_t kMaxBitmapBytes = int64_t(256) << 20;

// A DIB section of the header's size and depth (palette copied for depths up
// to 8), zero-filled. *bits receives the pixel pointer when not null. Returns
// null for an invalid header or one whose pixels exceed kMaxBitmapBytes. The
// section is always bottom-up: a negative (top-down) height is refused, so
// callers with top-down rows flip them while copying.
HBITMAP CreateDIBSection(const BITMAPINFOHEADER& header, const RGBQUAD* palette, int paletteCount, void** bits);
// A bitmap of the given size and depth, rows copied from bits (bottom-up,
// padded) when given, else zero-filled. Null when not allowed (planes other
// than 1, bad size or depth, too large).
HBITMAP CreateBitmap(int width, int height, unsigned planes, unsigned bitsPerPixel, const void* bits);
// Fills *out and returns sizeof(BITMAP), or 0 for a null handle.
int GetObject(HBITMAP bitmap, BITMAP* out);
void DeleteObject(HBITMAP bitmap);

// Copies a w x h block from src (x, y from the top-left) into dst, converting
// any source depth to the destination's depth (24 or 32 bits; a destination of
// another depth takes only a source of its own depth). Palette indices past the
// palette read as black; 5-bit channels widen by bit replication (31 -> 255).
// Coordinates are clipped to both bitmaps. Returns 1, or 0 for a null or
// unsupported bitmap.
int BitBlt(HBITMAP dst, int dx, int dy, int w, int h, HBITMAP src, int sx, int sy);
// Stretches the source rectangle onto the destination rectangle (both from the
// top-left): area average when shrinking, bilinear when enlarging, chosen per
// axis; equal sizes copy. The source rectangle must lie inside the source; the
// destination rectangle is clipped. Fixed-point integer arithmetic, so results
// are the same on every machine. The destination must be 24 or 32 bits.
// Returns 1, or 0 for null bitmaps, empty or mirrored rectangles, or a source
// rectangle outside the source.
int StretchBlt(HBITMAP dst, int dx, int dy, int dw, int dh, HBITMAP src, int sx, int sy, int sw, int sh);
// Fills a rectangle of a 24- or 32-bit bitmap with one colour.
int FillRect(HBITMAP dst, int x, int y, int w, int h, uint8_t red, uint8_t green, uint8_t blue);
