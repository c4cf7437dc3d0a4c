// GIF pictures through giflib's record loop: the logical screen, white, with
// the first frame drawn at its offset (clipped to the screen). Interlaced
// frames deliver their rows by the four passes; each row is placed where its
// pass puts it. Later frames are never read.
#include "image/decode_job.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>
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

// The frame's rows as they reach the screen: a run of equal rows in a row is
// coloured and reduced once, with the screen outside the frame white.
class CFrameRows {
public:
    // Screen columns x0 .. x1 - 1 show the frame.
    CFrameRows(DecodeJob& job, const std::vector<uint8_t>& palette, int x0, int x1)
        : m_job(job), m_palette(palette), m_x0(x0), m_x1(x1)
    {
    }

    bool Init()
    {
        try {
            m_run.resize(size_t(m_x1 - m_x0));
            m_rgb.resize(size_t(m_x1 - m_x0) * 3);
        } catch (const std::bad_alloc&) {
            return false;
        }
        return true;
    }

    // The palette indices of screen columns x0 .. x1 - 1 on screen row y.
    void Add(int y, const GifPixelType* indices)
    {
        const size_t shown = size_t(m_x1 - m_x0);
        if (m_count > 0 && y == m_y + m_count && std::memcmp(indices, m_run.data(), shown) == 0) {
            ++m_count;
            return;
        }
        Flush();
        std::memcpy(m_run.data(), indices, shown);
        m_y = y;
        m_count = 1;
    }

    void Flush()
    {
        if (m_count == 0)
            return;
        uint8_t* out = m_rgb.data();
        for (int x = m_x0; x < m_x1; ++x, out += 3) {
            const uint8_t* c = m_palette.data() + size_t(m_run[size_t(x - m_x0)]) * 3;
            out[0] = c[0], out[1] = c[1], out[2] = c[2];
        }
        m_job.reducer.AddRowSpan(m_y, m_count, m_x0, m_x1 - m_x0, m_rgb.data(), kWhite);
        m_count = 0;
    }

    static constexpr uint8_t kWhite[3] = {255, 255, 255};

private:
    DecodeJob& m_job;
    const std::vector<uint8_t>& m_palette;
    const int m_x0;
    const int m_x1;
    std::vector<GifPixelType> m_run;
    std::vector<uint8_t> m_rgb;
    int m_y = 0;
    int m_count = 0;
};

DecodeStatus DecodeFrame(DecodeJob& job, GifFileType* gif, int transparent)
{
    const GifImageDesc& frame = gif->Image;
    const ColorMapObject* map = frame.ColorMap ? frame.ColorMap : gif->SColorMap;
    if (frame.Width < 1 || frame.Height < 1 || !map || !map->Colors)
        return DecodeStatus::Corrupt;
    const int screenWidth = job.fullWidth;
    const int screenHeight = job.fullHeight;
    // The part of each frame row that lies on the screen.
    const int x0 = std::clamp(frame.Left, 0, screenWidth);
    const int x1 = int(std::clamp<int64_t>(int64_t(frame.Left) + frame.Width, x0, screenWidth));
    std::vector<uint8_t> palette;
    std::vector<GifPixelType> indices;
    try {
        palette = FramePalette(map, transparent);
        indices.resize(size_t(frame.Width));
    } catch (const std::bad_alloc&) {
        return DecodeStatus::OutOfMemory;
    }
    CFrameRows rows(job, palette, x0, x1);
    if (!rows.Init())
        return DecodeStatus::OutOfMemory;
    const bool inOrder = !frame.Interlace;
    const int frameEnd = int(std::min<int64_t>(int64_t(frame.Top) + frame.Height, screenHeight));
    // Screen rows the frame does not cover stay white.
    job.reducer.AddSolidRows(0, std::min(frame.Top, screenHeight), 255, 255, 255);
    for (int i = 0; i < frame.Height; ++i) {
        if (DGifGetLine(gif, indices.data(), frame.Width) == GIF_ERROR)
            return DecodeStatus::Corrupt;
        const int64_t y = int64_t(frame.Top) + (inOrder ? i : InterlacedRow(i, frame.Height));
        if (y < screenHeight)
            rows.Add(int(y), indices.data() + std::max(x0 - frame.Left, 0));
    }
    rows.Flush();
    job.reducer.AddSolidRows(std::max(frameEnd, 0), screenHeight - std::max(frameEnd, 0), 255, 255, 255);
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
