// GIF pictures through giflib's record loop: the logical screen, white, with
// the first frame drawn at its offset (clipped to the screen). Interlaced
// frames deliver their rows by the four passes; each row is placed where its
// pass puts it. Later frames are never read.
#include "image/decode_job.h"

#include <gif_lib.h>

#include <algorithm>
#include <memory>
#include <new>
#include <vector>

namespace {

struct GifCloser {
    void operator()(GifFileType* gif) const
    {
        int error = 0;
        DGifCloseFile(gif, &error);
    }
};
using GifFile = std::unique_ptr<GifFileType, GifCloser>;

int ReadGif(GifFileType* gif, GifByteType* out, int length)
{
    if (length <= 0)
        return 0;
    return int(static_cast<CByteSource*>(gif->UserData)->Read(out, size_t(length)));
}

// The frame's row index i as a row of the frame, for interlaced order.
int InterlacedRow(int i, int height)
{
    static const int kStart[4] = {0, 4, 2, 1};
    static const int kStep[4] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass) {
        const int rows = height > kStart[pass] ? (height - kStart[pass] + kStep[pass] - 1) / kStep[pass] : 0;
        if (i < rows)
            return kStart[pass] + i * kStep[pass];
        i -= rows;
    }
    return -1;
}

// Reads records up to the first frame's descriptor, keeping the transparent
// index of the graphic control block that precedes it (-1: none).
DecodeStatus FindFirstFrame(GifFileType* gif, int* transparent)
{
    *transparent = -1;
    for (;;) {
        GifRecordType type;
        if (DGifGetRecordType(gif, &type) == GIF_ERROR)
            return DecodeStatus::Corrupt;
        if (type == IMAGE_DESC_RECORD_TYPE)
            return DGifGetImageDesc(gif) == GIF_ERROR ? DecodeStatus::Corrupt : DecodeStatus::Ok;
        if (type == TERMINATE_RECORD_TYPE)
            return DecodeStatus::Corrupt;  // no frame to show
        if (type != EXTENSION_RECORD_TYPE)
            continue;
        int code = 0;
        GifByteType* block = nullptr;
        if (DGifGetExtension(gif, &code, &block) == GIF_ERROR)
            return DecodeStatus::Corrupt;
        if (code == GRAPHICS_EXT_FUNC_CODE && block && block[0] >= 4) {
            GraphicsControlBlock gcb;
            if (DGifExtensionToGCB(block[0], block + 1, &gcb) == GIF_OK)
                *transparent = gcb.TransparentColor;
        }
        while (block) {
            if (DGifGetExtensionNext(gif, &block) == GIF_ERROR)
                return DecodeStatus::Corrupt;
        }
    }
}

// The frame's palette as packed R, G, B for all 256 indices: indices past the
// map are black, the transparent index is white.
std::vector<uint8_t> FramePalette(const ColorMapObject* map, int transparent)
{
    std::vector<uint8_t> rgb(256 * 3, 0);
    const int count = std::min(map->ColorCount, 256);
    for (int i = 0; i < count; ++i) {
        rgb[i * 3] = map->Colors[i].Red;
        rgb[i * 3 + 1] = map->Colors[i].Green;
        rgb[i * 3 + 2] = map->Colors[i].Blue;
    }
    if (transparent >= 0 && transparent < 256)
        std::fill_n(rgb.begin() + transparent * 3, 3, uint8_t(255));
    return rgb;
}

DecodeStatus DecodeFrame(DecodeJob& job, GifFileType* gif, int transparent)
{
    const GifImageDesc& frame = gif->Image;
    const ColorMapObject* map = frame.ColorMap ? frame.ColorMap : gif->SColorMap;
    if (frame.Width < 1 || frame.Height < 1 || !map || !map->Colors)
        return DecodeStatus::Corrupt;
    const int screenWidth = job.fullWidth;
    const int screenHeight = job.fullHeight;
    std::vector<uint8_t> palette;
    std::vector<GifPixelType> indices;
    std::vector<uint8_t> rgb;
    try {
        palette = FramePalette(map, transparent);
        indices.resize(size_t(frame.Width));
        rgb.assign(size_t(screenWidth) * 3, 255);
    } catch (const std::bad_alloc&) {
        return DecodeStatus::OutOfMemory;
    }
    // The part of each frame row that lies on the screen.
    const int x0 = std::clamp(frame.Left, 0, screenWidth);
    const int x1 = int(std::clamp<int64_t>(int64_t(frame.Left) + frame.Width, x0, screenWidth));
    const bool inOrder = !frame.Interlace;
    const int frameEnd = int(std::min<int64_t>(int64_t(frame.Top) + frame.Height, screenHeight));
    // Screen rows the frame does not cover stay white.
    for (int y = 0; y < std::min(frame.Top, screenHeight); ++y)
        job.reducer.AddSolidRow(y, 255, 255, 255);
    for (int i = 0; i < frame.Height; ++i) {
        if (DGifGetLine(gif, indices.data(), frame.Width) == GIF_ERROR)
            return DecodeStatus::Corrupt;
        const int64_t y = int64_t(frame.Top) + (inOrder ? i : InterlacedRow(i, frame.Height));
        if (y >= screenHeight)
            continue;
        uint8_t* out = rgb.data() + size_t(x0) * 3;
        for (int x = x0; x < x1; ++x, out += 3) {
            const uint8_t* c = palette.data() + size_t(indices[size_t(x - frame.Left)]) * 3;
            out[0] = c[0], out[1] = c[1], out[2] = c[2];
        }
        job.reducer.AddRow(int(y), rgb.data());
    }
    for (int y = std::max(frameEnd, 0); y < screenHeight; ++y)
        job.reducer.AddSolidRow(y, 255, 255, 255);
    job.reducer.Finish();
    return DecodeStatus::Ok;
}

}  // namespace

DecodeStatus DecodeGif(DecodeJob& job)
{
    int error = 0;
    GifFile gif(DGifOpen(job.source, ReadGif, &error));
    if (!gif)
        return DecodeStatus::Corrupt;
    const int width = gif->SWidth;
    const int height = gif->SHeight;
    if (width < 1 || height < 1)
        return DecodeStatus::Corrupt;
    // The frame's rows are read whole (at most 65535 indices) beside one
    // screen row of colour.
    const int64_t extra = 65536 + int64_t(width) * 3 + 256 * 3 + (int64_t(32) << 10);
    if (job.headerOnly)
        return job.Prepare(width, height, extra, true);
    int transparent = -1;
    DecodeStatus status = FindFirstFrame(gif.get(), &transparent);
    if (status != DecodeStatus::Ok)
        return status;
    // Interlaced rows arrive out of order: every output cell must be kept.
    status = job.Prepare(width, height, extra, !gif->Image.Interlace);
    if (status != DecodeStatus::Ok)
        return status;
    return DecodeFrame(job, gif.get(), transparent);
}
