#include "image/orientation.h"

#include "platform/profile.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <libexif/exif-data.h>
#include <memory>
#include <utility>
#include <vector>

namespace {

constexpr uint8_t kExifHeader[6] = {'E', 'x', 'i', 'f', 0, 0};

struct ExifDataFree {
    void operator()(ExifData* data) const { exif_data_unref(data); }
};

// Where the upright pixel (x, y) is read from in the stored picture of width
// w and height h: sx = x0 + xx * x + xy * y, sy = y0 + yx * x + yy * y, with
// x0 and y0 counted in (w - 1) and (h - 1) units.
struct Mapping {
    int x0, xx, xy;
    int y0, yx, yy;
};

constexpr Mapping kMappings[9] = {
    {0, 1, 0, 0, 0, 1},    // 0: not a value; unused
    {0, 1, 0, 0, 0, 1},    // 1
    {1, -1, 0, 0, 0, 1},   // 2
    {1, -1, 0, 1, 0, -1},  // 3
    {0, 1, 0, 1, 0, -1},   // 4
    {0, 0, 1, 0, 1, 0},    // 5
    {0, 0, 1, 1, -1, 0},   // 6
    {1, 0, -1, 1, -1, 0},  // 7
    {1, 0, -1, 0, 1, 0},   // 8
};

// Fills every upright pixel from the stored byte offset the steps give; N is
// the bytes of a pixel when known, or 0 for any depth.
template <int N>
void CopyPixels(const CBitmapObject& stored, ptrdiff_t origin, ptrdiff_t stepX, ptrdiff_t stepY, HBITMAP upright)
{
    const size_t pixel = N ? size_t(N) : size_t(stored.BitsPerPixel() / 8);
    const uint8_t* from = stored.Bits();
    for (int y = 0; y < upright->Height(); ++y) {
        uint8_t* to = upright->RowFromTop(y);
        ptrdiff_t at = origin + y * stepY;
        for (int x = 0; x < upright->Width(); ++x, at += stepX, to += pixel)
            std::memcpy(to, from + at, N ? size_t(N) : pixel);
    }
}

}  // namespace

int ExifOrientation(const uint8_t* data, size_t size, bool tiffOnly)
{
    if (!data || size == 0 || size > UINT_MAX - sizeof kExifHeader)
        return kOrientationAsStored;
    // The library reads an APP1 payload: TIFF data alone gets its header first.
    std::vector<uint8_t> payload;
    if (tiffOnly) {
        payload.resize(sizeof kExifHeader + size);
        std::memcpy(payload.data(), kExifHeader, sizeof kExifHeader);
        std::memcpy(payload.data() + sizeof kExifHeader, data, size);
        data = payload.data();
        size = payload.size();
    } else if (size < sizeof kExifHeader || std::memcmp(data, kExifHeader, sizeof kExifHeader) != 0) {
        return kOrientationAsStored;
    }
    std::unique_ptr<ExifData, ExifDataFree> exif(exif_data_new());
    if (!exif)
        return kOrientationAsStored;
    // Read only: no tags added or corrected after loading.
    exif_data_unset_option(exif.get(), EXIF_DATA_OPTION_FOLLOW_SPECIFICATION);
    exif_data_load_data(exif.get(), data, unsigned(size));
    const ExifEntry* entry = exif_content_get_entry(exif->ifd[EXIF_IFD_0], EXIF_TAG_ORIENTATION);
    if (!entry || entry->format != EXIF_FORMAT_SHORT || entry->components < 1 || !entry->data || entry->size < 2)
        return kOrientationAsStored;
    const int value = exif_get_short(entry->data, exif_data_get_byte_order(exif.get()));
    return value >= 1 && value <= 8 ? value : kOrientationAsStored;
}

bool OrientationSwapsSides(int orientation)
{
    return orientation >= 5 && orientation <= 8;
}

HBITMAP UprightBitmap(HBITMAP stored, int orientation)
{
    if (!stored || orientation < 2 || orientation > 8 || stored->BitsPerPixel() % 8 != 0)
        return nullptr;
    const int w = stored->Width();
    const int h = stored->Height();
    const bool swap = OrientationSwapsSides(orientation);
    HBITMAP upright = CreateBitmap(swap ? h : w, swap ? w : h, 1, unsigned(stored->BitsPerPixel()), nullptr);
    if (!upright)
        return nullptr;
    upright->Palette() = stored->Palette();
    // Byte offsets into the stored pixels (rows bottom-up): the upright top
    // left pixel's, and the steps one pixel right and one row down.
    const Mapping& m = kMappings[orientation];
    const ptrdiff_t pixel = stored->BitsPerPixel() / 8;
    const ptrdiff_t stride = stored->Stride();
    const int sx0 = m.x0 * (w - 1);
    const int sy0 = m.y0 * (h - 1);
    const ptrdiff_t origin = ptrdiff_t(h - 1 - sy0) * stride + sx0 * pixel;
    const ptrdiff_t stepX = m.xx * pixel - m.yx * stride;
    const ptrdiff_t stepY = m.xy * pixel - m.yy * stride;
    switch (pixel) {
    case 3:
        CopyPixels<3>(*stored, origin, stepX, stepY, upright);
        break;
    case 4:
        CopyPixels<4>(*stored, origin, stepX, stepY, upright);
        break;
    default:
        CopyPixels<0>(*stored, origin, stepX, stepY, upright);
        break;
    }
    return upright;
}

CPixelRect StoredRect(const CPixelRect& upright, int orientation, int w, int h)
{
    if (upright.Empty())
        return {};
    const Mapping& m = kMappings[orientation >= 1 && orientation <= 8 ? orientation : 1];
    // The stored places of two opposite corners bound the rectangle there.
    const auto place = [&](int x, int y) {
        return std::pair(m.x0 * (w - 1) + m.xx * x + m.xy * y, m.y0 * (h - 1) + m.yx * x + m.yy * y);
    };
    const auto [ax, ay] = place(upright.x, upright.y);
    const auto [bx, by] = place(upright.x + upright.width - 1, upright.y + upright.height - 1);
    return {std::min(ax, bx), std::min(ay, by), std::abs(ax - bx) + 1, std::abs(ay - by) + 1};
}

bool ExifOrientationEnabled()
{
    return Profile::GetProfileInt(QString::fromLatin1(kExifOrientationSection),
                                  QString::fromLatin1(kExifOrientationName), kExifOrientationDefault)
           != 0;
}
