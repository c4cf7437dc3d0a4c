#include "image/gdi.h"

#include "image/gdi_rows.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace {

bool IsAllowedDepth(int bitsPerPixel)
{
    switch (bitsPerPixel) {
    case 1:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32:
        return true;
    default:
        return false;
    }
}

void PutPixel(uint8_t* out, int bytesPerPixel, uint8_t blue, uint8_t green, uint8_t red)
{
    out[0] = blue;
    out[1] = green;
    out[2] = red;
    if (bytesPerPixel == 4)
        out[3] = 0;
}

// Five bits widened to eight by repeating the top bits, so 31 becomes 255.
uint8_t Widen5(unsigned v)
{
    return uint8_t((v << 3) | (v >> 2));
}

void ConvertIndexedRow(const CBitmapObject& src, const uint8_t* row, int x, int count, uint8_t* out, int outBpp)
{
    // Indices past the palette read as black rather than past its end.
    RGBQUAD table[256] = {};
    const auto& palette = src.Palette();
    std::copy_n(palette.begin(), std::min<size_t>(palette.size(), 256), table);
    const int bpp = src.BitsPerPixel();
    for (int i = 0; i < count; ++i, out += outBpp) {
        const int64_t bit = int64_t(x + i) * bpp;
        const unsigned byte = row[bit >> 3];
        const unsigned shift = 8 - bpp - unsigned(bit & 7);
        const RGBQUAD& c = table[(byte >> shift) & ((1u << bpp) - 1)];
        PutPixel(out, outBpp, c.rgbBlue, c.rgbGreen, c.rgbRed);
    }
}

void Convert16Row(const uint8_t* row, int x, int count, uint8_t* out, int outBpp)
{
    const uint8_t* in = row + size_t(x) * 2;
    for (int i = 0; i < count; ++i, in += 2, out += outBpp) {
        const unsigned v = in[0] | (unsigned(in[1]) << 8);
        PutPixel(out, outBpp, Widen5(v & 31), Widen5((v >> 5) & 31), Widen5((v >> 10) & 31));
    }
}

void ConvertDirectRow(const uint8_t* row, int inBpp, int x, int count, uint8_t* out, int outBpp)
{
    const uint8_t* in = row + size_t(x) * inBpp;
    if (inBpp == outBpp) {
        std::memcpy(out, in, size_t(count) * inBpp);
        if (outBpp == 4)
            for (int i = 0; i < count; ++i)
                out[4 * i + 3] = 0;
        return;
    }
    for (int i = 0; i < count; ++i, in += inBpp, out += outBpp)
        PutPixel(out, outBpp, in[0], in[1], in[2]);
}

// Clips one axis of a blit: moves both origins past negative positions and
// shortens the length to what both bitmaps hold.
void ClipAxis(int64_t& d, int64_t& s, int64_t& len, int dstLimit, int srcLimit)
{
    if (s < 0) {
        d -= s;
        len += s;
        s = 0;
    }
    if (d < 0) {
        s -= d;
        len += d;
        d = 0;
    }
    len = std::min({len, int64_t(dstLimit) - d, int64_t(srcLimit) - s});
}

}  // namespace

CBitmapObject::CBitmapObject(int width, int height, int bitsPerPixel)
    : m_width(width)
    , m_height(height)
    , m_bpp(bitsPerPixel)
    , m_stride(0)
{
    if (width < 1 || height < 1 || !IsAllowedDepth(bitsPerPixel))
        return;
    const int64_t stride = StrideFor(width, bitsPerPixel);
    if (stride > kMaxBitmapBytes / height)
        return;
    try {
        m_bits.assign(size_t(stride * height), 0);
    } catch (const std::bad_alloc&) {
        return;
    }
    m_stride = int(stride);
}

HBITMAP CreateDIBSection(const BITMAPINFOHEADER& header, const RGBQUAD* palette, int paletteCount, void** bits)
{
    if (bits)
        *bits = nullptr;
    if (header.biPlanes != 1 || header.biCompression != 0 || header.biHeight <= 0)
        return nullptr;
    auto* object = new (std::nothrow) CBitmapObject(header.biWidth, header.biHeight, header.biBitCount);
    if (!object)
        return nullptr;
    if (!object->Valid()) {
        delete object;
        return nullptr;
    }
    if (header.biBitCount <= 8 && palette && paletteCount > 0) {
        const int n = std::min(paletteCount, 1 << header.biBitCount);
        object->Palette().assign(palette, palette + n);
    }
    if (bits)
        *bits = object->Bits();
    return object;
}

HBITMAP CreateBitmap(int width, int height, unsigned planes, unsigned bitsPerPixel, const void* bits)
{
    if (planes != 1 || bitsPerPixel > 32)
        return nullptr;
    auto* object = new (std::nothrow) CBitmapObject(width, height, int(bitsPerPixel));
    if (!object)
        return nullptr;
    if (!object->Valid()) {
        delete object;
        return nullptr;
    }
    if (bits)
        std::memcpy(object->Bits(), bits, size_t(object->Stride()) * object->Height());
    return object;
}

int GetObject(HBITMAP bitmap, BITMAP* out)
{
    if (!bitmap || !out || !bitmap->Valid())
        return 0;
    out->bmType = 0;
    out->bmWidth = bitmap->Width();
    out->bmHeight = bitmap->Height();
    out->bmWidthBytes = bitmap->Stride();
    out->bmPlanes = 1;
    out->bmBitsPixel = uint16_t(bitmap->BitsPerPixel());
    out->bmBits = bitmap->Bits();
    return int(sizeof(BITMAP));
}

void DeleteObject(HBITMAP bitmap)
{
    delete bitmap;
}

void ConvertRowToBgr(const CBitmapObject& src, int y, int x, int count, uint8_t* out, int outBytesPerPixel)
{
    const uint8_t* row = src.RowFromTop(y);
    switch (src.BitsPerPixel()) {
    case 1:
    case 4:
    case 8:
        ConvertIndexedRow(src, row, x, count, out, outBytesPerPixel);
        break;
    case 16:
        Convert16Row(row, x, count, out, outBytesPerPixel);
        break;
    default:
        ConvertDirectRow(row, src.BitsPerPixel() / 8, x, count, out, outBytesPerPixel);
        break;
    }
}

int BitBlt(HBITMAP dst, int dx, int dy, int w, int h, HBITMAP src, int sx, int sy)
{
    if (!dst || !src || !dst->Valid() || !src->Valid())
        return 0;
    const int dstBpp = dst->BitsPerPixel();
    const bool converting = dstBpp == 24 || dstBpp == 32;
    // Other depths are copied byte for byte, which needs whole-byte pixels.
    if (!converting && (dstBpp != src->BitsPerPixel() || dstBpp < 8))
        return 0;
    int64_t x = dx, y = dy, width = w, height = h, fromX = sx, fromY = sy;
    ClipAxis(x, fromX, width, dst->Width(), src->Width());
    ClipAxis(y, fromY, height, dst->Height(), src->Height());
    if (width <= 0 || height <= 0)
        return 1;
    const int bytes = dstBpp / 8;
    for (int64_t r = 0; r < height; ++r) {
        uint8_t* out = dst->RowFromTop(int(y + r)) + x * bytes;
        if (converting)
            ConvertRowToBgr(*src, int(fromY + r), int(fromX), int(width), out, bytes);
        else
            std::memcpy(out, src->RowFromTop(int(fromY + r)) + fromX * bytes, size_t(width) * bytes);
    }
    return 1;
}

int FillRect(HBITMAP dst, int x, int y, int w, int h, uint8_t red, uint8_t green, uint8_t blue)
{
    if (!dst || !dst->Valid() || (dst->BitsPerPixel() != 24 && dst->BitsPerPixel() != 32))
        return 0;
    const int64_t left = std::max<int64_t>(x, 0), top = std::max<int64_t>(y, 0);
    const int64_t right = std::min<int64_t>(int64_t(x) + w, dst->Width());
    const int64_t bottom = std::min<int64_t>(int64_t(y) + h, dst->Height());
    const int bytes = dst->BitsPerPixel() / 8;
    for (int64_t row = top; row < bottom; ++row) {
        uint8_t* out = dst->RowFromTop(int(row)) + left * bytes;
        for (int64_t col = left; col < right; ++col, out += bytes)
            PutPixel(out, bytes, blue, green, red);
    }
    return 1;
}
