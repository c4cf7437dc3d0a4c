// What the format decoders behind DecompressImageIndirect share: the input
// stream (a host file or bytes in memory), the request and its results, and
// the step that sizes the output and checks the memory budget.
#pragma once

#include "image/area_reducer.h"
#include "image/image_decoder.h"

#include <cstdio>

// The picture's bytes: an open host file or a block of memory, read forward.
class CByteSource {
public:
    CByteSource(const uint8_t* data, size_t size)
        : m_data(data)
        , m_size(size)
    {
    }
    explicit CByteSource(FILE* file)
        : m_file(file)
    {
    }
    ~CByteSource();
    CByteSource(const CByteSource&) = delete;
    CByteSource& operator=(const CByteSource&) = delete;

    // Opens a host file; null when it cannot be opened.
    static CByteSource* OpenFile(const QString& path);

    // Copies up to n bytes; returns how many were copied (0 at the end).
    size_t Read(void* out, size_t n);
    // True once a read came back short: the data ended before the reader expected.
    bool HitEnd() const { return m_hitEnd; }
    // The first bytes without consuming them.
    size_t Peek(uint8_t* out, size_t n);

    FILE* File() const { return m_file; }
    const uint8_t* Data() const { return m_data; }
    size_t Size() const { return m_size; }

private:
    FILE* m_file = nullptr;
    const uint8_t* m_data = nullptr;
    size_t m_size = 0;
    size_t m_pos = 0;
    bool m_hitEnd = false;
};

// One decode: the request, then what the decoder fills in.
struct DecodeJob {
    CByteSource* source = nullptr;
    int scalePercent = 100;
    int maxWidth = 1600;
    int maxHeight = 1200;
    bool headerOnly = false;
    CPixelRect region;  // DecompressImageInfo::region

    int fullWidth = 0;
    int fullHeight = 0;
    int outWidth = 0;
    int outHeight = 0;
    int orientation = 1;       // the Exif orientation the file records (orientation.h)
    HBITMAP bitmap = nullptr;  // owned by the job until taken
    CAreaReducer reducer;

    DecodeJob() = default;
    ~DecodeJob();
    DecodeJob(const DecodeJob&) = delete;
    DecodeJob& operator=(const DecodeJob&) = delete;

    // Records the picture's full size and computes the output size; refuses
    // absurd sizes and work above the budget. Unless header-only, makes the
    // output bitmap and the reducer for a source of sourceWidth x sourceHeight
    // (the full size unless the decoder reduces on its own first).
    // extraBytes: the decoder's own row buffers. With a region, the output
    // and the reducer are the region's (clipped to the picture).
    DecodeStatus Prepare(int width, int height, int64_t extraBytes, bool rowsInOrder);
    DecodeStatus Prepare(int width, int height, int sourceWidth, int sourceHeight, int64_t extraBytes,
                         bool rowsInOrder);
    // Gives up the finished bitmap to the caller.
    HBITMAP TakeBitmap();
};

DecodeStatus DecodePng(DecodeJob& job);
DecodeStatus DecodeGif(DecodeJob& job);
DecodeStatus DecodeGrayJpeg(DecodeJob& job);

// c over white with alpha a (0..255): c * a / 255 + (255 - a), rounded.
inline uint8_t OverWhite(uint8_t c, uint8_t a)
{
    const unsigned v = unsigned(c) * a + 255u * (255u - a) + 128u;
    return uint8_t((v + (v >> 8)) >> 8);
}
