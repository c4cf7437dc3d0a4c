// PNG pictures through libspng, decoded scanline by scanline into the reducer.
// Interlaced pictures arrive as Adam7 pass rows whose pixels are placed at
// their own columns, so no full-size frame is ever held.
#include "image/decode_job.h"
#include "image/orientation.h"

#include <spng.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

namespace {

constexpr size_t kChunkSizeLimit = size_t(16) << 20;   // one ancillary chunk
constexpr size_t kChunkCacheLimit = size_t(64) << 20;  // all kept chunks together

// Where each Adam7 pass starts and how far apart its pixels are.
constexpr int kPassX0[7] = {0, 4, 0, 2, 0, 1, 0};
constexpr int kPassDx[7] = {8, 8, 4, 4, 2, 2, 1};

struct SpngFree {
    void operator()(spng_ctx* ctx) const { spng_ctx_free(ctx); }
};
using SpngContext = std::unique_ptr<spng_ctx, SpngFree>;

int ReadStream(spng_ctx*, void* user, void* out, size_t length)
{
    auto* source = static_cast<CByteSource*>(user);
    return source->Read(out, length) == length ? 0 : SPNG_IO_EOF;
}

SpngContext OpenPng(CByteSource& source)
{
    SpngContext ctx(spng_ctx_new(0));
    if (!ctx)
        return nullptr;
    spng_set_chunk_limits(ctx.get(), kChunkSizeLimit, kChunkCacheLimit);
    // Both inputs go through the stream so that a file cut short anywhere,
    // even in its last chunk, is noticed.
    return spng_set_png_stream(ctx.get(), ReadStream, &source) ? nullptr : std::move(ctx);
}

// n RGBA pixels composed over white into packed R, G, B: OverWhite on every
// channel. rgb must hold 3 n + 1 bytes (the vector loop stores four bytes per
// pixel, the fourth overwritten by the next pixel).
void ComposeOverWhite(const uint8_t* row, int n, uint8_t* rgb)
{
    int i = 0;
#if defined(__SSE2__)
    // Four pixels at a time in 16-bit lanes: c * a + 255 * (255 - a) + 128
    // stays below 65536, and so does the rounding step v + (v >> 8).
    const __m128i zero = _mm_setzero_si128();
    const __m128i full = _mm_set1_epi16(255);
    const __m128i half = _mm_set1_epi16(128);
    const auto compose = [&](__m128i c) {
        const __m128i a = _mm_shufflehi_epi16(_mm_shufflelo_epi16(c, 0xFF), 0xFF);
        __m128i v = _mm_add_epi16(_mm_mullo_epi16(c, a), _mm_mullo_epi16(full, _mm_sub_epi16(full, a)));
        v = _mm_add_epi16(v, half);
        return _mm_srli_epi16(_mm_add_epi16(v, _mm_srli_epi16(v, 8)), 8);
    };
    for (; i + 4 <= n; i += 4) {
        const __m128i px = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + size_t(i) * 4));
        __m128i out = _mm_packus_epi16(compose(_mm_unpacklo_epi8(px, zero)), compose(_mm_unpackhi_epi8(px, zero)));
        uint8_t* q = rgb + size_t(i) * 3;
        for (int k = 0; k < 4; ++k, q += 3, out = _mm_srli_si128(out, 4)) {
            const int word = _mm_cvtsi128_si32(out);
            std::memcpy(q, &word, 4);
        }
    }
#endif
    for (; i < n; ++i) {
        const uint8_t* p = row + size_t(i) * 4;
        uint8_t* q = rgb + size_t(i) * 3;
        q[0] = OverWhite(p[0], p[3]);
        q[1] = OverWhite(p[1], p[3]);
        q[2] = OverWhite(p[2], p[3]);
    }
}

// Turns one decoded row of n pixels in the decoder's format (RGB8 or RGBA8)
// into packed R, G, B over white. RGB8 rows are used as they are.
const uint8_t* ToRgb(int fmt, const uint8_t* row, int n, uint8_t* rgb)
{
    if (fmt == SPNG_FMT_RGB8)
        return row;
    ComposeOverWhite(row, n, rgb);
    return rgb;
}

int PassWidth(int width, int pass)
{
    return width > kPassX0[pass] ? (width - kPassX0[pass] + kPassDx[pass] - 1) / kPassDx[pass] : 0;
}

// Palette and grey pictures of up to 8 bits are decoded in their own form,
// one index or level per pixel, and coloured through a table made once: the
// palette (or the levels widened to 8 bits) with the transparency composed
// over white.
struct CSampleTable {
    int bitDepth = 8;
    uint8_t rgb[256 * 3] = {};

    // False when the picture is of another kind (or its palette cannot be read).
    bool Make(spng_ctx* ctx, const spng_ihdr& ihdr)
    {
        if (ihdr.bit_depth > 8
            || (ihdr.color_type != SPNG_COLOR_TYPE_GRAYSCALE && ihdr.color_type != SPNG_COLOR_TYPE_INDEXED))
            return false;
        bitDepth = ihdr.bit_depth;
        spng_trns trns;
        const bool hasTrns = spng_get_trns(ctx, &trns) == 0;
        if (ihdr.color_type == SPNG_COLOR_TYPE_GRAYSCALE) {
            const int top = (1 << bitDepth) - 1;
            for (int v = 0; v <= top; ++v) {
                const bool clear = hasTrns && trns.gray == v;
                std::fill_n(rgb + v * 3, 3, clear ? uint8_t(255) : uint8_t(v * 255 / top));
            }
            return true;
        }
        spng_plte plte;
        if (spng_get_plte(ctx, &plte) != 0)
            return false;
        for (uint32_t i = 0; i < plte.n_entries && i < 256; ++i) {
            const uint8_t a = hasTrns && i < trns.n_type3_entries ? trns.type3_alpha[i] : 255;
            rgb[i * 3] = OverWhite(plte.entries[i].red, a);
            rgb[i * 3 + 1] = OverWhite(plte.entries[i].green, a);
            rgb[i * 3 + 2] = OverWhite(plte.entries[i].blue, a);
        }
        return true;
    }

    // n samples packed at bitDepth bits, first pixel in the high bits, to R, G, B.
    const uint8_t* Colour(const uint8_t* row, int n, uint8_t* out) const
    {
        if (bitDepth == 8) {
            for (int i = 0; i < n; ++i)
                std::memcpy(out + size_t(i) * 3, rgb + size_t(row[i]) * 3, 3);
            return out;
        }
        const int perByte = 8 / bitDepth;
        const unsigned mask = (1u << bitDepth) - 1;
        for (int i = 0; i < n; ++i) {
            const int shift = 8 - bitDepth * (i % perByte + 1);
            std::memcpy(out + size_t(i) * 3, rgb + size_t((row[i / perByte] >> shift) & mask) * 3, 3);
        }
        return out;
    }
};

// 16-bit pictures are decoded in their own form, big-endian samples, and
// brought to 8 bits here, as libspng's 8-bit output would give them but
// without its conversion pass. Opaque samples keep their high byte; with alpha
// or a colour key every pixel is composed over white at 16-bit precision (a
// keyed pixel is white).
struct CWideSamples {
    int channels = 3;
    bool keyed = false;
    uint16_t key[3] = {};

    // False when the picture is not of 16-bit samples.
    bool Make(spng_ctx* ctx, const spng_ihdr& ihdr)
    {
        if (ihdr.bit_depth != 16)
            return false;
        channels = ihdr.color_type == SPNG_COLOR_TYPE_GRAYSCALE         ? 1
                   : ihdr.color_type == SPNG_COLOR_TYPE_GRAYSCALE_ALPHA ? 2
                   : ihdr.color_type == SPNG_COLOR_TYPE_TRUECOLOR       ? 3
                                                                        : 4;
        spng_trns trns;
        keyed = (channels == 1 || channels == 3) && spng_get_trns(ctx, &trns) == 0;
        if (keyed) {
            key[0] = channels == 1 ? trns.gray : trns.red;
            key[1] = channels == 1 ? trns.gray : trns.green;
            key[2] = channels == 1 ? trns.gray : trns.blue;
        }
        return true;
    }

    const uint8_t* Colour(const uint8_t* row, int n, uint8_t* out) const
    {
        const bool alpha = channels == 2 || channels == 4;
        const int colourStep = channels < 3 ? 0 : 2;  // gray repeats its one sample
        const size_t pixelBytes = size_t(channels) * 2;
        for (int i = 0; i < n; ++i) {
            const uint8_t* p = row + size_t(i) * pixelBytes;
            uint8_t* q = out + size_t(i) * 3;
            if (!alpha && !keyed) {
                q[0] = p[0];
                q[1] = p[colourStep];
                q[2] = p[colourStep * 2];
                continue;
            }
            uint32_t c[3];
            for (int k = 0; k < 3; ++k)
                c[k] = uint32_t(p[k * colourStep]) << 8 | p[k * colourStep + 1];
            const uint32_t a = alpha ? uint32_t(p[pixelBytes - 2]) << 8 | p[pixelBytes - 1]
                               : c[0] == key[0] && c[1] == key[1] && c[2] == key[2] ? 0
                                                                                    : 65535;
            for (int k = 0; k < 3; ++k)
                q[k] = Compose16(c[k], a);
        }
        return out;
    }

    // c over white at alpha a, both of 16 bits, rounded to 8 bits.
    static uint8_t Compose16(uint64_t c, uint64_t a)
    {
        constexpr uint64_t kOne = 65535;
        constexpr uint64_t kDen = kOne * 257;
        return uint8_t((c * a + kOne * (kOne - a) + kDen / 2) / kDen);
    }
};

// The rows of a picture in the decoder's format as they reach the reducer. A
// run of equal rows in a row is coloured and reduced once; a run of one
// colour is reduced as a solid run.
class CPngRows {
public:
    CPngRows(DecodeJob& job, int fmt, const CSampleTable* table, const CWideSamples* wide)
        : m_job(job)
        , m_fmt(fmt)
        , m_table(table)
        , m_wide(wide)
    {
    }

    bool Init(size_t rowBytes)
    {
        try {
            m_row.resize(rowBytes);
            m_run.resize(rowBytes);
            m_rgb.resize(size_t(m_job.fullWidth) * 3 + 1);
        } catch (const std::bad_alloc&) {
            return false;
        }
        return true;
    }

    uint8_t* Row() { return m_row.data(); }

    // The row just decoded into Row() as row y, whole.
    void AddRow(int y)
    {
        if (m_count > 0 && y == m_y + m_count && m_row == m_run) {
            ++m_count;
            return;
        }
        Flush();
        m_row.swap(m_run);
        m_y = y;
        m_count = 1;
    }

    // The row just decoded into Row() as the n pixels of an Adam7 pass row.
    void AddPassRow(int y, int pass, int n)
    {
        m_job.reducer.AddPixels(y, kPassX0[pass], kPassDx[pass], Colour(m_row.data(), n), n);
    }

    void Flush()
    {
        if (m_count == 0)
            return;
        const int width = m_job.fullWidth;
        const uint8_t* pixels = Colour(m_run.data(), width);
        if (m_count > 1 && std::memcmp(pixels, pixels + 3, size_t(width - 1) * 3) == 0)
            m_job.reducer.AddSolidRows(m_y, m_count, pixels[0], pixels[1], pixels[2]);
        else
            m_job.reducer.AddRows(m_y, m_count, pixels);
        m_count = 0;
    }

private:
    const uint8_t* Colour(const uint8_t* row, int n)
    {
        if (m_table)
            return m_table->Colour(row, n, m_rgb.data());
        return m_wide ? m_wide->Colour(row, n, m_rgb.data()) : ToRgb(m_fmt, row, n, m_rgb.data());
    }

    DecodeJob& m_job;
    const int m_fmt;
    const CSampleTable* m_table;
    const CWideSamples* m_wide;
    std::vector<uint8_t> m_row;
    std::vector<uint8_t> m_run;  // the row of the run being gathered
    std::vector<uint8_t> m_rgb;
    int m_y = 0;
    int m_count = 0;
};

DecodeStatus DecodeRows(DecodeJob& job, spng_ctx* ctx, int fmt, size_t rowBytes, bool interlaced,
                        const CSampleTable* table, const CWideSamples* wide)
{
    CPngRows rows(job, fmt, table, wide);
    if (!rows.Init(rowBytes))
        return DecodeStatus::OutOfMemory;
    for (;;) {
        spng_row_info info;
        if (spng_get_row_info(ctx, &info) != 0)
            return DecodeStatus::Corrupt;
        const int error = spng_decode_scanline(ctx, rows.Row(), rowBytes);
        if (error != 0 && error != SPNG_EOI)
            return DecodeStatus::Corrupt;
        if (info.pass < 0 || info.pass > 6)
            return DecodeStatus::Corrupt;
        if (interlaced)
            rows.AddPassRow(int(info.row_num), info.pass, PassWidth(job.fullWidth, info.pass));
        else
            rows.AddRow(int(info.row_num));
        if (error == SPNG_EOI)
            break;
        // A region's last row is in: the rest is not needed (nor checked).
        if (!interlaced && !job.region.Empty()
            && int64_t(info.row_num) + 1 >= int64_t(job.region.y) + job.region.height) {
            rows.Flush();
            job.reducer.Finish();
            return DecodeStatus::Ok;
        }
    }
    // The rest of the stream (the zlib checksum, later chunks up to IEND) must
    // be sound too: a damaged file is refused, not shown half-checked.
    if (spng_decode_chunks(ctx) != 0 || job.source->HitEnd())
        return DecodeStatus::Corrupt;
    rows.Flush();
    job.reducer.Finish();
    return DecodeStatus::Ok;
}

// The size in the IHDR chunk, read before libspng sees the file, so that an
// absurd size is told apart from damage.
bool HeaderClaimsAbsurdSize(CByteSource& source)
{
    uint8_t head[24];
    if (source.Peek(head, sizeof head) != sizeof head || std::memcmp(head + 12, "IHDR", 4) != 0)
        return false;
    const auto word = [&](int at) {
        return uint32_t(head[at]) << 24 | uint32_t(head[at + 1]) << 16 | uint32_t(head[at + 2]) << 8 | head[at + 3];
    };
    return word(16) > uint32_t(kMaxImageSide) || word(20) > uint32_t(kMaxImageSide);
}

}  // namespace

DecodeStatus DecodePng(DecodeJob& job)
{
    if (HeaderClaimsAbsurdSize(*job.source))
        return DecodeStatus::TooLarge;
    SpngContext ctx = OpenPng(*job.source);
    if (!ctx)
        return DecodeStatus::OutOfMemory;
    spng_ihdr ihdr;
    if (spng_get_ihdr(ctx.get(), &ihdr) != 0)
        return DecodeStatus::Corrupt;
    if (ihdr.width > uint32_t(kMaxImageSide) || ihdr.height > uint32_t(kMaxImageSide))
        return DecodeStatus::TooLarge;

    const int width = int(ihdr.width);
    const bool interlaced = ihdr.interlace_method != SPNG_INTERLACE_NONE;
    // libspng keeps a raw scanline, the previous one and a converted row; we
    // keep the row decoded and the row of the run of equal rows gathered.
    const int64_t rowBytes = int64_t(width) * 8;
    const int64_t extra = 5 * (rowBytes + 1) + int64_t(width) * 3 + (int64_t(64) << 10);
    DecodeStatus status = job.Prepare(width, int(ihdr.height), extra, !interlaced);
    // An eXIf chunk before the pixels is read with the header: the loader
    // picks the reduction by the upright width.
    spng_exif exif;
    if (status == DecodeStatus::Ok && spng_get_exif(ctx.get(), &exif) == 0)
        job.orientation = ExifOrientation(reinterpret_cast<const uint8_t*>(exif.data), exif.length, true);
    if (status != DecodeStatus::Ok || job.headerOnly)
        return status;

    spng_trns trns;
    const bool hasTrns = spng_get_trns(ctx.get(), &trns) == 0;
    const bool hasAlpha = ihdr.color_type == SPNG_COLOR_TYPE_GRAYSCALE_ALPHA
                          || ihdr.color_type == SPNG_COLOR_TYPE_TRUECOLOR_ALPHA || hasTrns;
    CSampleTable table;
    CWideSamples wide;
    const bool ownForm = table.Make(ctx.get(), ihdr);
    const bool wideForm = !ownForm && wide.Make(ctx.get(), ihdr);
    const int fmt = ownForm ? SPNG_FMT_PNG : wideForm ? SPNG_FMT_RAW : hasAlpha ? SPNG_FMT_RGBA8 : SPNG_FMT_RGB8;
    const int flags = ownForm || wideForm ? SPNG_DECODE_PROGRESSIVE : SPNG_DECODE_TRNS | SPNG_DECODE_PROGRESSIVE;
    if (spng_decode_image(ctx.get(), nullptr, 0, fmt, flags) != 0)
        return DecodeStatus::Corrupt;
    size_t imageBytes = 0;
    if (spng_decoded_image_size(ctx.get(), fmt, &imageBytes) != 0)
        return DecodeStatus::Corrupt;
    status = DecodeRows(job, ctx.get(), fmt, imageBytes / ihdr.height, interlaced, ownForm ? &table : nullptr,
                        wideForm ? &wide : nullptr);
    // An eXIf chunk after the pixels: libspng kept it once read.
    if (status == DecodeStatus::Ok && spng_get_exif(ctx.get(), &exif) == 0)
        job.orientation = ExifOrientation(reinterpret_cast<const uint8_t*>(exif.data), exif.length, true);
    return status;
}
