#include "image/dib_bitmap.h"

#include <utility>

namespace {

// A 24-bit bottom-up section of width x height pixels.
HBITMAP MakeSection(int width, int height, uint8_t** bits)
{
    BITMAPINFOHEADER header;
    header.biWidth = width;
    header.biHeight = height;
    header.biBitCount = 24;
    void* pixels = nullptr;
    HBITMAP bitmap = CreateDIBSection(header, nullptr, 0, &pixels);
    *bits = static_cast<uint8_t*>(pixels);
    return bitmap;
}

}  // namespace

CDibBitmap::~CDibBitmap()
{
    DeleteObject(m_handle);
}

void CDibBitmap::Adopt(int width, int height, HBITMAP handle, uint8_t* bits)
{
    // The new section is made before the old one goes, so a source that is
    // this holder's own section stays readable until the copy is done.
    DeleteObject(std::exchange(m_handle, handle));
    m_bits = bits;
    m_width = width;
    m_height = height;
}

int CDibBitmap::Create(int width, int height)
{
    uint8_t* bits = nullptr;
    HBITMAP handle = MakeSection(width, height, &bits);
    Adopt(width, height, handle, bits);
    return 1;
}

void CDibBitmap::CopyFrom(HBITMAP source)
{
    BITMAP info;
    if (!GetObject(source, &info)) {
        Adopt(0, 0, nullptr, nullptr);
        return;
    }
    uint8_t* bits = nullptr;
    HBITMAP handle = MakeSection(info.bmWidth, info.bmHeight, &bits);
    if (handle)
        BitBlt(handle, 0, 0, info.bmWidth, info.bmHeight, source, 0, 0);
    Adopt(info.bmWidth, info.bmHeight, handle, bits);
}

void CDibBitmap::StretchFrom(HBITMAP source, int width, int height)
{
    BITMAP info;
    if (!GetObject(source, &info)) {
        Adopt(0, 0, nullptr, nullptr);
        return;
    }
    uint8_t* bits = nullptr;
    HBITMAP handle = MakeSection(width, height, &bits);
    if (handle)
        StretchBlt(handle, 0, 0, width, height, source, 0, 0, info.bmWidth, info.bmHeight);
    Adopt(width, height, handle, bits);
}

void CDibBitmap::LoadRgb(const uint8_t* rgb, int width, int height)
{
    Create(width, height);
    if (!m_handle || !rgb || height < 1)
        return;
    const size_t rowBytes = size_t(m_handle->Stride());
    for (int y = 0; y < height; ++y) {
        const uint8_t* in = rgb + size_t(y) * width * 3;
        uint8_t* out = m_bits + size_t(height - 1 - y) * rowBytes;
        for (int x = 0; x < width; ++x, in += 3, out += 3) {
            out[0] = in[2];
            out[1] = in[1];
            out[2] = in[0];
        }
    }
}

HBITMAP CDibBitmap::Detach()
{
    m_bits = nullptr;
    return std::exchange(m_handle, nullptr);
}

HBITMAP BitmapFromRgb(const uint8_t* rgb, int width, int height)
{
    CDibBitmap holder;
    holder.LoadRgb(rgb, width, height);
    return holder.Detach();
}
