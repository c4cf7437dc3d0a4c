// Fuzz target: the PNG, GIF and grayscale JPEG decoder on arbitrary bytes.
// Input that starts with a known signature is decoded as it is; otherwise the
// first byte picks a format whose signature is put before the rest. Each input
// is decoded as the loader does it (header only at 20 %, then at a small scale)
// and at full size, and the results must agree with the header-only sizes;
// then a region of it, as sharp zooms decode one.
#include "image/image_decoder.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

void DecodeAt(const std::vector<uint8_t>& bytes, int scale)
{
    DecompressImageInfo header;
    header.data = bytes.data();
    header.size = bytes.size();
    header.iScale = scale;
    header.headerOnly = true;
    const bool headerOk = DecompressImageIndirect(&header) == 0;

    HBITMAP bitmap = nullptr;
    DecompressImageInfo full = header;
    full.headerOnly = false;
    full.phBM = &bitmap;
    if (DecompressImageIndirect(&full) != 0) {
        if (bitmap)
            std::abort();  // a failed decode must not hand out a bitmap
        return;
    }
    BITMAP bm;
    if (!headerOk || !bitmap || GetObject(bitmap, &bm) == 0 || bm.bmBitsPixel != 24)
        std::abort();
    // The header-only call promised this size; it is never 0 and never above the cap.
    if (bm.bmWidth != header.outWidth || bm.bmHeight != header.outHeight || bm.bmWidth < 1 || bm.bmHeight < 1
        || bm.bmWidth > 1600 || bm.bmHeight > 1200)
        std::abort();
    DeleteObject(bitmap);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    std::vector<uint8_t> bytes;
    if (SniffImageFormat(data, size) != ImageFormat::Unknown) {
        bytes.assign(data, data + size);
    } else {
        static const uint8_t png[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
        static const uint8_t gif[] = {'G', 'I', 'F', '8', '9', 'a'};
        static const uint8_t jpeg[] = {0xFF, 0xD8, 0xFF};
        const uint8_t* signature = data[0] % 3 == 0 ? png : data[0] % 3 == 1 ? gif : jpeg;
        const size_t length = data[0] % 3 == 0 ? sizeof png : data[0] % 3 == 1 ? sizeof gif : sizeof jpeg;
        bytes.assign(signature, signature + length);
        bytes.insert(bytes.end(), data + 1, data + size);
    }
    DecodeAt(bytes, 7);
    DecodeAt(bytes, 100);
    HBITMAP bitmap = nullptr;
    DecompressImageInfo region;
    region.data = bytes.data();
    region.size = bytes.size();
    region.iMaxWidth = 25;
    region.iMaxHeight = 20;
    region.region = {int(size % 37), int(size % 23), 50, 40};
    region.phBM = &bitmap;
    if (DecompressImageIndirect(&region) == 0 && (!bitmap || bitmap->Width() > 25 || bitmap->Height() > 20))
        std::abort();
    DeleteObject(bitmap);
    return 0;
}
