#include "image/bmp_reader.h"
#include "platform/regular_file.h"

#include <QFile>
#include <algorithm>
#include <bit>
#include <cstring>
#include <vector>

namespace {

constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiRle8 = 1;
constexpr uint32_t kBiRle4 = 2;
constexpr uint32_t kBiBitfields = 3;
constexpr uint32_t kBiAlphaBitfields = 6;

constexpr size_t kFileHeaderSize = 14;
constexpr uint32_t kLargestInfoHeader = 4096;

uint16_t U16(const uint8_t* p)
{
    return uint16_t(p[0] | (p[1] << 8));
}

uint32_t U32(const uint8_t* p)
{
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

// One colour channel of a bit-field pixel layout.
struct Channel {
    int shift = 0;
    int bits = 0;

    explicit Channel(uint32_t mask)
    {
        if (!mask)
            return;
        shift = std::countr_zero(mask);
        bits = std::countr_one(mask >> shift);
    }
    uint8_t Extract(uint32_t pixel) const
    {
        if (bits == 0)
            return 0;
        uint32_t max = uint32_t((uint64_t(1) << bits) - 1);
        uint32_t value = (pixel >> shift) & max;
        if (bits >= 8)
            return uint8_t(value >> (bits - 8));
        return uint8_t((value * 255 + max / 2) / max);
    }
};

struct BmpLayout {
    int64_t width = 0;
    int64_t height = 0;  // always positive; topDown tells the row order
    bool topDown = false;
    int bpp = 0;
    uint32_t compression = kBiRgb;
    uint32_t masks[3] = {0, 0, 0};
    std::vector<RGBQUAD> palette;  // the file's colours, at most 256
    size_t pixelOffset = 0;
    int outBpp = 0;
};

bool IsStandardLayout(const BmpLayout& b)
{
    if (b.bpp == 16)
        return b.masks[0] == 0x7C00 && b.masks[1] == 0x03E0 && b.masks[2] == 0x001F;
    if (b.bpp == 32)
        return b.masks[0] == 0xFF0000 && b.masks[1] == 0xFF00 && b.masks[2] == 0xFF;
    return true;
}

int OutputDepth(const BmpLayout& b)
{
    if (b.bpp == 2)
        return 8;
    if (b.bpp == 16 && !IsStandardLayout(b))
        return 24;
    return b.bpp;
}

bool ReadPalette(const uint8_t* data, size_t size, size_t offset, int entrySize, uint32_t colorsUsed, BmpLayout* b)
{
    const uint32_t maxColors = 1u << b->bpp;
    uint64_t count = colorsUsed ? colorsUsed : maxColors;
    // pixelOffset is 0 when the file's own offset was unusable.
    const size_t end = b->pixelOffset >= offset ? b->pixelOffset : size;
    if (count > maxColors && offset + count * entrySize > end)
        return false;
    // A palette may not run into the pixels that follow it.
    count = std::min<uint64_t>({count, (end - offset) / entrySize, maxColors});
    if (offset + count * entrySize > size)
        return false;
    for (uint64_t i = 0; i < count; ++i) {
        const uint8_t* p = data + offset + i * entrySize;
        b->palette.push_back(RGBQUAD {p[0], p[1], p[2], 0});
    }
    return true;
}

bool ParseLayout(const uint8_t* data, size_t size, BmpLayout* b)
{
    if (size < kFileHeaderSize + 12 || data[0] != 'B' || data[1] != 'M')
        return false;
    const uint32_t fileOffset = U32(data + 10);
    const uint32_t headerSize = U32(data + 14);
    if (headerSize < 12 || headerSize > kLargestInfoHeader || kFileHeaderSize + headerSize > size)
        return false;
    const uint8_t* h = data + kFileHeaderSize;
    int planes = 0;
    uint32_t colorsUsed = 0;
    int entrySize = 4;
    bool os2v2 = false;
    if (headerSize == 12) {
        b->width = U16(h + 4);
        b->height = U16(h + 6);
        planes = U16(h + 8);
        b->bpp = U16(h + 10);
        entrySize = 3;
    } else {
        if (headerSize < 16)
            return false;
        const int32_t height = int32_t(U32(h + 8));
        b->width = int32_t(U32(h + 4));
        b->topDown = height < 0;
        b->height = b->topDown ? -int64_t(height) : height;
        planes = U16(h + 12);
        b->bpp = U16(h + 14);
        b->compression = headerSize >= 20 ? U32(h + 16) : kBiRgb;
        colorsUsed = headerSize >= 36 ? U32(h + 32) : 0;
        os2v2 = headerSize == 64 || headerSize < 40;
    }
    if (planes != 1 || b->width < 1 || b->height < 1 || b->height > INT32_MAX)
        return false;
    switch (b->bpp) {
    case 1:
    case 2:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32:
        break;
    default:
        return false;
    }

    size_t paletteOffset = kFileHeaderSize + headerSize;
    const bool bitfields = !os2v2 && (b->compression == kBiBitfields || b->compression == kBiAlphaBitfields);
    if (b->compression == kBiRle8) {
        if (b->bpp != 8 || b->topDown)
            return false;
    } else if (b->compression == kBiRle4) {
        if (b->bpp != 4 || b->topDown)
            return false;
    } else if (bitfields) {
        if (b->bpp != 16 && b->bpp != 32)
            return false;
        size_t maskOffset = paletteOffset;
        if (headerSize >= 52)
            maskOffset = kFileHeaderSize + 40;
        else
            paletteOffset += b->compression == kBiAlphaBitfields ? 16 : 12;
        if (maskOffset + 12 > size)
            return false;
        for (int i = 0; i < 3; ++i)
            b->masks[i] = U32(data + maskOffset + 4 * i);
    } else if (b->compression != kBiRgb) {
        return false;  // OS/2 Huffman and RLE24, embedded JPEG and PNG
    }
    if (!bitfields && b->bpp == 16) {
        b->masks[0] = 0x7C00, b->masks[1] = 0x03E0, b->masks[2] = 0x001F;
    } else if (!bitfields && b->bpp == 32) {
        b->masks[0] = 0xFF0000, b->masks[1] = 0xFF00, b->masks[2] = 0xFF;
    }

    const bool offsetValid = fileOffset >= paletteOffset && fileOffset < size;
    b->pixelOffset = offsetValid ? fileOffset : 0;
    if (b->bpp <= 8) {
        if (!ReadPalette(data, size, paletteOffset, entrySize, colorsUsed, b))
            return false;
        if (!offsetValid)
            b->pixelOffset = paletteOffset + b->palette.size() * entrySize;
    } else if (!offsetValid) {
        b->pixelOffset = paletteOffset;
    }
    if (b->pixelOffset >= size)
        return false;
    b->outBpp = OutputDepth(*b);
    return CBitmapObject::StrideFor(int(std::min<int64_t>(b->width, INT32_MAX)), b->outBpp) * b->height
           <= kMaxBitmapBytes;
}

void SetNibble(uint8_t* row, int64_t x, uint8_t value)
{
    uint8_t& byte = row[x / 2];
    byte = (x & 1) ? uint8_t((byte & 0xF0) | (value & 0x0F)) : uint8_t((byte & 0x0F) | (value << 4));
}

// RLE rows run bottom-up like the bitmap's, so row y of the stream is row y in memory.
void DecodeRle(const uint8_t* data, size_t size, const BmpLayout& b, CBitmapObject* out)
{
    const bool rle8 = b.compression == kBiRle8;
    auto put = [&](int64_t x, int64_t y, uint8_t value) {
        if (x >= b.width || y >= b.height)
            return;
        uint8_t* row = out->Bits() + size_t(y) * out->Stride();
        if (rle8)
            row[x] = value;
        else
            SetNibble(row, x, value);
    };
    size_t p = b.pixelOffset;
    int64_t x = 0;
    int64_t y = 0;
    while (p + 1 < size && y < b.height) {
        const uint8_t count = data[p];
        const uint8_t code = data[p + 1];
        p += 2;
        if (count) {
            for (int i = 0; i < count; ++i, ++x)
                put(x, y, rle8 ? code : ((i & 1) ? code & 0x0F : code >> 4));
        } else if (code == 0) {
            x = 0;
            ++y;
        } else if (code == 1) {
            return;
        } else if (code == 2) {
            if (p + 1 >= size)
                return;
            x += data[p];
            y += data[p + 1];
            p += 2;
        } else {
            const size_t bytes = rle8 ? code : (code + 1) / 2;
            if (p + bytes > size)
                return;
            for (int i = 0; i < code; ++i, ++x) {
                const uint8_t v = rle8 ? data[p + i] : data[p + i / 2];
                put(x, y, rle8 ? v : ((i & 1) ? v & 0x0F : v >> 4));
            }
            p += (bytes + 1) & ~size_t(1);
        }
    }
}

// Converts the whole pixels among the first `available` bytes of one stored row.
void ConvertRow(const uint8_t* src, size_t available, const BmpLayout& b, uint8_t* dst)
{
    const int64_t width = b.width;
    if (b.bpp == 2) {
        const int64_t n = std::min<int64_t>(width, int64_t(available) * 4);
        for (int64_t x = 0; x < n; ++x)
            dst[x] = (src[x / 4] >> (6 - 2 * (x % 4))) & 3;
        return;
    }
    const Channel red(b.masks[0]), green(b.masks[1]), blue(b.masks[2]);
    const int bytes = b.bpp / 8;
    const int outBytes = b.outBpp / 8;
    const int64_t n = std::min<int64_t>(width, int64_t(available) / bytes);
    for (int64_t x = 0; x < n; ++x) {
        const uint8_t* s = src + x * bytes;
        const uint32_t pixel = bytes == 2 ? U16(s) : U32(s);
        uint8_t* d = dst + x * outBytes;
        d[0] = blue.Extract(pixel);
        d[1] = green.Extract(pixel);
        d[2] = red.Extract(pixel);
    }
}

void DecodeRows(const uint8_t* data, size_t size, const BmpLayout& b, CBitmapObject* out)
{
    const size_t srcStride = size_t(CBitmapObject::StrideFor(int(b.width), b.bpp));
    const bool sameLayout = b.bpp == b.outBpp && IsStandardLayout(b);
    for (int64_t r = 0; r < b.height; ++r) {
        const size_t start = b.pixelOffset + size_t(r) * srcStride;
        if (start >= size)
            return;
        const size_t available = std::min(srcStride, size - start);
        const int64_t memoryRow = b.topDown ? b.height - 1 - r : r;
        uint8_t* dst = out->Bits() + size_t(memoryRow) * out->Stride();
        if (sameLayout)
            std::memcpy(dst, data + start, std::min<size_t>(available, out->Stride()));
        else
            ConvertRow(data + start, available, b, dst);
    }
}

}  // namespace

HBITMAP DecodeBmp(const uint8_t* data, size_t size, bool* noMemory)
{
    BmpLayout layout;
    if (!data || !ParseLayout(data, size, &layout))
        return nullptr;
    BITMAPINFOHEADER header;
    header.biWidth = int32_t(layout.width);
    header.biHeight = int32_t(layout.height);
    header.biBitCount = uint16_t(layout.outBpp);
    std::vector<RGBQUAD> palette;
    if (layout.outBpp <= 8) {
        // Indices beyond the file's palette show black rather than reading past it.
        palette = layout.palette;
        palette.resize(size_t(1) << layout.outBpp);
    }
    HBITMAP bitmap = CreateDIBSection(header, palette.empty() ? nullptr : palette.data(), int(palette.size()), nullptr);
    if (!bitmap) {
        // The layout passed the budget: only the memory was missing.
        if (noMemory)
            *noMemory = true;
        return nullptr;
    }
    if (layout.compression == kBiRle8 || layout.compression == kBiRle4)
        DecodeRle(data, size, layout, bitmap);
    else
        DecodeRows(data, size, layout, bitmap);
    return bitmap;
}

HBITMAP SHLoadDIBitmap(const QString& hostPath, bool* noMemory)
{
    QFile file;
    if (!RegularFile::Open(file, hostPath))
        return nullptr;
    // Read, never mapped: a file cut short by another program while it is
    // decoded must give a short buffer, not a fault on a page past its end.
    // A file beyond the bitmap budget holds more pixels than may be made.
    const qint64 size = file.size();
    if (size <= 0 || size > kMaxBitmapBytes)
        return nullptr;
    const QByteArray bytes = file.readAll();
    return DecodeBmp(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size()), noMemory);
}
