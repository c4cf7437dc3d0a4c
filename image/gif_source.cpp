// GIF pictures through giflib's record loop: the logical screen, white, with
// the first frame drawn at its offset (clipped to the screen). Interlaced
// frames deliver their rows by the four passes; each row is placed where its
// pass puts it. Later frames are never read.
//
// Two kinds of file that giflib refuses but other viewers show are shown too:
// a frame with no colour table at all is drawn through a grey ramp over the
// indices its LZW code size allows, and a frame whose LZW minimum code size is
// 9, 10 or 11 is decompressed here (CWideLzw); its indices past the colour
// table are black.
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

// giflib's input: the picture's bytes, remembering the last single byte read,
// which after a frame's descriptor is its LZW minimum code size.
struct GifInput {
    CByteSource* source = nullptr;
    int lastByte = -1;
};

int ReadGif(GifFileType* gif, GifByteType* out, int length)
{
    if (length <= 0)
        return 0;
    auto* input = static_cast<GifInput*>(gif->UserData);
    const int n = int(input->source->Read(out, size_t(length)));
    input->lastByte = (length == 1 && n == 1) ? out[0] : -1;
    return n;
}

// The largest LZW minimum code size taken (codes then start at 12 bits).
constexpr int kMaxCodeSize = 11;

// LZW decompression of a frame whose minimum code size giflib does not take:
// codes of up to 12 bits, least significant bit first, in sub-blocks that
// follow the code size byte.
class CWideLzw {
public:
    CWideLzw(CByteSource& source, int codeSize)
        : m_source(source)
        , m_codeSize(codeSize)
    {
        Reset();
    }

    // The next width indices of the frame; false when the data is broken or ends first.
    bool GetLine(uint16_t* out, int width)
    {
        for (int x = 0; x < width; ++x) {
            while (m_stack.empty())
                if (!DecodeCode())
                    return false;
            out[x] = m_stack.back();
            m_stack.pop_back();
        }
        return true;
    }

private:
    static constexpr int kTableSize = 4096;

    void Reset()
    {
        m_next = (1 << m_codeSize) + 2;
        m_width = m_codeSize + 1;
        m_prev = -1;
    }

    // The next code from the bit stream; -1 when the sub-blocks end.
    int ReadCode()
    {
        while (m_bitCount < m_width) {
            if (m_blockLeft == 0) {
                uint8_t length = 0;
                if (m_ended || m_source.Read(&length, 1) != 1 || length == 0) {
                    m_ended = true;
                    return -1;
                }
                m_blockLeft = length;
            }
            uint8_t byte = 0;
            if (m_source.Read(&byte, 1) != 1) {
                m_ended = true;
                return -1;
            }
            --m_blockLeft;
            m_bits |= uint32_t(byte) << m_bitCount;
            m_bitCount += 8;
        }
        const int code = int(m_bits & ((1u << m_width) - 1));
        m_bits >>= m_width;
        m_bitCount -= m_width;
        return code;
    }

    // Pushes the indices of one code (last index first); false at the end or on broken data.
    bool DecodeCode()
    {
        const int clear = 1 << m_codeSize;
        const int code = ReadCode();
        if (code < 0 || code == clear + 1)
            return false;
        if (code == clear) {
            Reset();
            return true;
        }
        if (m_prev < 0) {
            if (code >= clear)
                return false;
            m_stack.push_back(uint16_t(code));
            m_first[code] = uint16_t(code);
            m_prev = code;
            return true;
        }
        if (code > m_next || (code == m_next && m_next >= kTableSize))
            return false;
        // The code not yet in the table is the previous string and its own first index.
        const int known = code == m_next ? m_prev : code;
        const uint16_t first = known < clear ? uint16_t(known) : m_first[known];
        if (code == m_next)
            m_stack.push_back(first);
        for (int c = known; c >= clear; c = m_prefix[c])
            m_stack.push_back(m_suffix[c]);
        m_stack.push_back(uint16_t(known < clear ? known : m_first[known]));
        if (m_next < kTableSize) {
            m_prefix[m_next] = uint16_t(m_prev);
            m_suffix[m_next] = first;
            m_first[m_next] = m_prev < clear ? uint16_t(m_prev) : m_first[m_prev];
            ++m_next;
            if (m_next == (1 << m_width) && m_width < 12)
                ++m_width;
        }
        m_prev = code;
        return true;
    }

    CByteSource& m_source;
    const int m_codeSize;
    uint16_t m_prefix[kTableSize] = {};
    uint16_t m_suffix[kTableSize] = {};
    uint16_t m_first[kTableSize] = {};
    std::vector<uint16_t> m_stack;
    int m_next = 0;
    int m_width = 0;
    int m_prev = -1;
    uint32_t m_bits = 0;
    int m_bitCount = 0;
    int m_blockLeft = 0;
    bool m_ended = false;
};

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

// The frame's palette as packed R, G, B for every index its code size allows
// (at least 256): indices past the map are black, the transparent index is
// white. Without a map, a grey ramp from black to white over those indices.
std::vector<uint8_t> FramePalette(const ColorMapObject* map, int codeSize, int transparent)
{
    const int levels = 1 << (codeSize >= 1 && codeSize <= kMaxCodeSize ? codeSize : 8);
    std::vector<uint8_t> rgb(size_t(std::max(levels, 256)) * 3, 0);
    if (map) {
        const int count = std::min(map->ColorCount, 256);
        for (int i = 0; i < count; ++i) {
            rgb[i * 3] = map->Colors[i].Red;
            rgb[i * 3 + 1] = map->Colors[i].Green;
            rgb[i * 3 + 2] = map->Colors[i].Blue;
        }
    } else {
        for (int i = 0; i < levels; ++i)
            std::fill_n(rgb.begin() + i * 3, 3, uint8_t(i * 255 / (levels - 1)));
    }
    if (transparent >= 0 && size_t(transparent) < rgb.size() / 3)
        std::fill_n(rgb.begin() + transparent * 3, 3, uint8_t(255));
    return rgb;
}

// The frame's rows as they reach the screen: a run of equal rows in a row is
// coloured and reduced once, with the screen outside the frame white.
template <typename Index> class CFrameRows {
public:
    // Screen columns x0 .. x1 - 1 show the frame.
    CFrameRows(DecodeJob& job, const std::vector<uint8_t>& palette, int x0, int x1)
        : m_job(job)
        , m_palette(palette)
        , m_x0(x0)
        , m_x1(x1)
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
    void Add(int y, const Index* indices)
    {
        const size_t shown = size_t(m_x1 - m_x0) * sizeof(Index);
        // A frame wholly off the screen shows no column: nothing to compare or keep.
        if (m_count > 0 && y == m_y + m_count && (shown == 0 || std::memcmp(indices, m_run.data(), shown) == 0)) {
            ++m_count;
            return;
        }
        Flush();
        if (shown != 0)
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
    std::vector<Index> m_run;
    std::vector<uint8_t> m_rgb;
    int m_y = 0;
    int m_count = 0;
};

// Draws the frame, whose rows readRow(Index* row) delivers in file order.
template <typename Index, typename ReadRow>
DecodeStatus DrawFrame(DecodeJob& job, const GifImageDesc& frame, const std::vector<uint8_t>& palette, ReadRow readRow)
{
    if (frame.Width < 1 || frame.Height < 1)
        return DecodeStatus::Corrupt;
    const int screenWidth = job.fullWidth;
    const int screenHeight = job.fullHeight;
    // The part of each frame row that lies on the screen.
    const int x0 = std::clamp(frame.Left, 0, screenWidth);
    const int x1 = int(std::clamp<int64_t>(int64_t(frame.Left) + frame.Width, x0, screenWidth));
    std::vector<Index> indices;
    try {
        indices.resize(size_t(frame.Width));
    } catch (const std::bad_alloc&) {
        return DecodeStatus::OutOfMemory;
    }
    CFrameRows<Index> rows(job, palette, x0, x1);
    if (!rows.Init())
        return DecodeStatus::OutOfMemory;
    const bool inOrder = !frame.Interlace;
    const int frameEnd = int(std::min<int64_t>(int64_t(frame.Top) + frame.Height, screenHeight));
    // Screen rows the frame does not cover stay white.
    job.reducer.AddSolidRows(0, std::min(frame.Top, screenHeight), 255, 255, 255);
    for (int i = 0; i < frame.Height; ++i) {
        if (!readRow(indices.data()))
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
    GifInput input;
    input.source = job.source;
    GifFile gif(DGifOpen(&input, ReadGif, &error));
    if (!gif)
        return DecodeStatus::Corrupt;
    const int width = gif->SWidth;
    const int height = gif->SHeight;
    if (width < 1 || height < 1)
        return DecodeStatus::Corrupt;
    // The frame's rows are read whole (at most 65535 indices of two bytes)
    // beside one screen row of colour and the decompressor's tables.
    const int64_t extra = 2 * 65536 + int64_t(width) * 3 + (int64_t(64) << 10);
    if (job.headerOnly)
        return job.Prepare(width, height, extra, true);
    int transparent = -1;
    DecodeStatus status = FindFirstFrame(gif.get(), &transparent);
    // giflib refuses a code size above 8 after reading the whole descriptor.
    const int codeSize = input.lastByte;
    const bool wide = status == DecodeStatus::Corrupt && gif->Error == D_GIF_ERR_READ_FAILED && codeSize > 8
                      && codeSize <= kMaxCodeSize;
    if (status != DecodeStatus::Ok && !wide)
        return status;
    // Interlaced rows arrive out of order: every output cell must be kept.
    status = job.Prepare(width, height, extra, !gif->Image.Interlace);
    if (status != DecodeStatus::Ok)
        return status;
    const GifImageDesc& frame = gif->Image;
    std::vector<uint8_t> palette;
    try {
        palette = FramePalette(frame.ColorMap ? frame.ColorMap : gif->SColorMap, codeSize, transparent);
    } catch (const std::bad_alloc&) {
        return DecodeStatus::OutOfMemory;
    }
    if (!wide)
        return DrawFrame<GifPixelType>(job, frame, palette, [&](GifPixelType* row) {
            return DGifGetLine(gif.get(), row, frame.Width) != GIF_ERROR;
        });
    auto lzw = std::make_unique<CWideLzw>(*job.source, codeSize);
    return DrawFrame<uint16_t>(job, frame, palette, [&](uint16_t* row) { return lzw->GetLine(row, frame.Width); });
}
