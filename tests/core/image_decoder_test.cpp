// The PNG, GIF and grayscale JPEG decoder: output sizes for the loader's
// scales and cap, the header-only size call, pixels after reduction,
// transparency over white, interlacing, the GIF logical screen, and refusal of
// damaged, absurd or oversized pictures.
#include "image/image_decoder.h"

#include "image/area_reducer.h"
#include "test_pictures.h"

#include <gtest/gtest.h>
#include <spng.h>
#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <thread>

namespace {

// Bytes decoded as the loader would; the bitmap is owned by the result.
struct Decoded {
    explicit Decoded(const Bytes& bytes, int scale = 100, int maxWidth = 1600, int maxHeight = 1200,
                     bool headerOnly = false)
    {
        info.data = bytes.data(), info.size = bytes.size(), info.headerOnly = headerOnly;
        info.iScale = scale, info.iMaxWidth = maxWidth, info.iMaxHeight = maxHeight;
        info.phBM = &bitmap;
        result = DecompressImageIndirect(&info);
    }
    Decoded(const Decoded&) = delete;
    ~Decoded() { DeleteObject(bitmap); }
    // 0xRRGGBB of output pixel (x, y) from the top-left.
    uint32_t Pixel(int x, int y) const
    {
        const uint8_t* p = bitmap->RowFromTop(y) + size_t(x) * 3;
        return uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
    }
    int result = -1;
    DecompressImageInfo info;
    HBITMAP bitmap = nullptr;
};

void ExpectSamePixels(const Decoded& a, const Decoded& b)
{
    ASSERT_EQ(a.result, 0);
    ASSERT_EQ(b.result, 0);
    ASSERT_EQ(std::pair(a.bitmap->Width(), a.bitmap->Height()), std::pair(b.bitmap->Width(), b.bitmap->Height()));
    for (int y = 0; y < a.bitmap->Height(); ++y)
        for (int x = 0; x < a.bitmap->Width(); ++x)
            ASSERT_EQ(a.Pixel(x, y), b.Pixel(x, y)) << "at " << x << "," << y;
}

TEST(ImageDecoderSize, OutputSizesRoundDownNeverBelowOnePixel)
{
    const struct {
        int width, height, scale, maxWidth, maxHeight, outWidth, outHeight;
    } cases[] = {
        {1000, 750, 20, 1600, 1200, 200, 150},      // the loader's first pass
        {3, 3, 20, 1600, 1200, 1, 1},               // never 0
        {100, 100, 0, 1600, 1200, 1, 1},            // scale clamped to 1 %
        {100, 100, 250, 1600, 1200, 100, 100},      // and to 100 %
        {2000, 1500, 100, 1600, 1200, 1600, 1200},  // the cap, one factor
        {3000, 100, 100, 0, 0, 3000, 100},          // no cap
        {4000, 3000, 30, 1600, 1200, 1200, 900},    // scale below the cap
        {0, 10, 100, 1600, 1200, 0, 0},
    };
    for (const auto& c : cases) {
        int w = -1, h = -1;
        ScaledImageSize(c.width, c.height, c.scale, c.maxWidth, c.maxHeight, &w, &h);
        EXPECT_EQ(std::pair(w, h), std::pair(c.outWidth, c.outHeight))
            << c.width << "x" << c.height << " at " << c.scale;
    }
}

uint32_t Gradient(int x, int y)
{
    return uint32_t((x * 7) & 255) << 16 | uint32_t((y * 5) & 255) << 8 | uint32_t((x + y) & 255);
}

// Rows come in runs of equal rows, run rows long.
GifLayout GradientGif(int width, int height, bool interlaced, int run = 1)
{
    GifLayout layout {width, height, 0, 0, width, height, interlaced};
    for (int i = 0; i < 256; ++i)
        layout.palette.insert(layout.palette.end(), {uint8_t(i), uint8_t(255 - i), uint8_t(i / 2)});
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            layout.indices.push_back(uint8_t(x * 3 + y / run * 11));
    return layout;
}

// A PNG header claiming the given size, with a valid CRC, and nothing else.
Bytes PngHeader(uint32_t width, uint32_t height)
{
    Bytes b = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
    for (uint32_t v : {width, height})
        b.insert(b.end(), {uint8_t(v >> 24), uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)});
    b.insert(b.end(), {8, 2, 0, 0, 0});
    const uLong crc = crc32(0, b.data() + 12, 17);
    b.insert(b.end(), {uint8_t(crc >> 24), uint8_t(crc >> 16), uint8_t(crc >> 8), uint8_t(crc)});
    return b;
}

// A file cut right after its header: the header-only call must still give the
// sizes, which proves it reads no pixel data; the cut file cannot be decoded.
TEST(ImageDecoderHeader, HeaderOnlyGivesSizesWithoutDecodingAndRefusesAbsurdSizesAndWorkAboveTheBudget)
{
    Bytes gif = MakeGif(GradientGif(640, 400, false));
    gif.resize(13 + 256 * 3);  // screen descriptor and global palette
    for (const Bytes& file : {PngHeader(1000, 750), gif, EncodeJpeg({320, 200, JCS_GRAYSCALE})}) {
        Decoded d(file, 20, 1600, 1200, true);
        ASSERT_EQ(d.result, 0) << DecodeStatusText(d.info.status);
        EXPECT_EQ(d.bitmap, nullptr);
        EXPECT_EQ(d.info.outWidth, d.info.fullWidth / 5);
        EXPECT_EQ(d.info.outHeight, d.info.fullHeight / 5);
        EXPECT_EQ(Decoded(file, 20).result == 0, file.size() > 1000);
    }
    // Absurd sizes are refused from the header, and so is work above the budget
    // without a cap; with the cap the same pictures stream into a small output.
    for (uint32_t side : {1000000u, 0x7FFFFFFFu})
        EXPECT_EQ(Decoded(PngHeader(side, side), 20, 1600, 1200, true).info.status, DecodeStatus::TooLarge);
    EXPECT_EQ(Decoded(PngHeader(20000, 20000), 20, 1600, 1200, true).info.outWidth, 1200);
    // Without a cap the output itself would be 1.2 GB.
    EXPECT_EQ(Decoded(PngHeader(20000, 20000), 100, 0, 0, true).info.status, DecodeStatus::TooLarge);
    const GifLayout huge {65535, 65535, 0, 0, 1, 1, false, -1, {}, {0}};
    EXPECT_EQ(Decoded(MakeGif(huge), 100, 0, 0).info.status, DecodeStatus::TooLarge);
    Decoded capped(MakeGif(huge), 100);
    ASSERT_EQ(capped.result, 0);
    EXPECT_EQ(std::pair(capped.bitmap->Width(), capped.bitmap->Height()), std::pair(1200, 1200));
    EXPECT_EQ(capped.Pixel(1, 1), 0xFFFFFFu);
}

TEST(ImageDecoderPixels, ReductionAveragesTheCoveredAreaAndGrayJpegKeepsItsLevels)
{
    // Left half black, right half white; the top-left pixel red.
    const Bytes png = MakeRgbPng(4, 4, false, [](int x, int y) -> uint32_t {
        return x == 0 && y == 0 ? 0xFF0000 : x < 2 ? 0x000000 : 0xFFFFFF;
    });
    Decoded half(png, 50);
    ASSERT_EQ(half.result, 0);
    EXPECT_EQ(std::tuple(half.Pixel(0, 0), half.Pixel(1, 0), half.Pixel(0, 1)), std::tuple(0x400000u, 0xFFFFFFu, 0u));
    Decoded full(png, 100);
    // Rows are stored bottom-up: the top row is the last one in memory.
    EXPECT_EQ(full.bitmap->Bits()[size_t(full.bitmap->Stride()) * 3 + 2], 0xFF);
    Decoded d(EncodeJpeg({64, 48, JCS_GRAYSCALE, [](int, int, uint8_t* p) { *p = 100; }}), 25);
    ASSERT_EQ(d.result, 0);
    ASSERT_EQ(d.bitmap->Width(), 16);
    for (int i = 0; i < 16 * 12; ++i)
        ASSERT_NEAR(int(d.Pixel(i % 16, i / 16) & 0xFF), 100, 1);
    EXPECT_EQ(d.Pixel(5, 5) >> 16, d.Pixel(5, 5) & 0xFF);  // gray: equal channels

    EXPECT_EQ(Decoded(RgbJpeg(8, 8), 100).info.status, DecodeStatus::Unsupported);
}

uint32_t Over(const uint8_t* rgb, int alpha)
{
    const auto over = [&](int c) { return uint32_t((c * alpha + 255 * (255 - alpha) + 127) / 255); };
    return over(rgb[0]) << 16 | over(rgb[1]) << 8 | over(rgb[2]);
}

TEST(ImageDecoderTransparency, EveryKindOfTransparencyIsComposedOverWhiteAndEveryAlphaOfEveryLevelExactly)
{
    // Width, height, colour type, depth, interlacing, samples, palette, palette
    // alpha, grey key, colour key.
    const std::pair<Bytes, std::vector<uint32_t>> cases[] = {
        {MakePng({1, 1, 4, 8, false, {0, 64}}), {0xBFBFBF}},  // black at a quarter
        {MakePng({2, 1, 3, 8, false, {0, 1}, {0, 0, 255, 0, 255, 0}, {0}}), {0xFFFFFF, 0x00FF00}},
        {MakePng({2, 1, 2, 8, false, {1, 2, 3, 4, 5, 6}, {}, {}, -1, {1, 2, 3}}), {0xFFFFFF, 0x040506}},
        {MakePng({2, 1, 0, 8, false, {7, 8}, {}, {}, 8}), {0x070707, 0xFFFFFF}},
        // Screen and frame sizes and place, interlacing, transparent index, palette, indices.
        {MakeGif({2, 1, 0, 0, 2, 1, false, 1, {255, 0, 0, 0, 0, 255}, {0, 1}}), {0xFF0000, 0xFFFFFF}},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        Decoded d(cases[i].first);
        ASSERT_EQ(d.result, 0) << "case " << i << ": " << DecodeStatusText(d.info.status);
        for (size_t x = 0; x < cases[i].second.size(); ++x)
            EXPECT_EQ(d.Pixel(int(x), 0), cases[i].second[x]) << "case " << i << " pixel " << x;
    }
    // Row y has alpha y, column x level x % 256; 259 columns, so that runs of
    // four pixels and the three left over both meet every pair.
    const auto colour = [](int x) { return std::array {uint8_t(x), uint8_t(255 - x % 256), uint8_t(x * 7)}; };
    PngLayout rgba {259, 256, 6};
    for (int y = 0; y < rgba.height; ++y)
        for (int x = 0; x < rgba.width; ++x)
            rgba.samples.insert(rgba.samples.end(), {colour(x)[0], colour(x)[1], colour(x)[2], uint8_t(y)});
    ExpectSamePixels(Decoded(MakePng(rgba)),
                     Decoded(MakeRgbPng(259, 256, false, [&](int x, int y) { return Over(colour(x).data(), y); })));
}

// 16-bit PNGs are brought to 8 bits by the decoder itself: every sample value
// must come out as libspng's own conversion gives it (opaque: its 8-bit
// output; with alpha or a colour key: its 16-bit output composed over white).
TEST(PngWideSamples, EveryValueOfEachKindMatchesTheLibrarysConversion)
{
    const struct {
        int colorType, channels;
        bool keyed;
    } kinds[] = {{0, 1, false}, {2, 3, false}, {4, 2, false}, {6, 4, false}, {0, 1, true}, {2, 3, true}};
    for (const auto& kind : kinds) {
        SCOPED_TRACE(testing::Message() << "colour type " << kind.colorType << (kind.keyed ? " keyed" : ""));
        // 256 x 256 pixels: the first sample takes every 16-bit value, the
        // others (and the alpha) run through them in other orders.
        PngLayout png16 {256, 256, kind.colorType, 16};
        for (uint32_t v = 0; v < 65536; ++v)
            for (uint32_t k = 0; k < uint32_t(kind.channels); ++k) {
                const auto word = uint16_t(v * (2 * k + 1) + k * 12345);
                png16.samples.insert(png16.samples.end(), {uint8_t(word), uint8_t(word >> 8)});
            }
        if (kind.keyed) {
            png16.transparentGray = 1000;
            png16.transparentRgb[0] = 1000, png16.transparentRgb[1] = 3000 + 12345,
            png16.transparentRgb[2] = 5000 + 24690;
        }
        const Bytes png = MakePng(png16);
        // libspng's reference, composed over white at 16 bits when there is transparency.
        const bool composed = kind.channels % 2 == 0 || kind.keyed;
        spng_ctx* ctx = spng_ctx_new(0);
        spng_set_png_buffer(ctx, png.data(), png.size());
        std::vector<uint8_t> image(65536 * (composed ? 8 : 3));
        ASSERT_EQ(spng_decode_image(ctx, image.data(), image.size(), composed ? SPNG_FMT_RGBA16 : SPNG_FMT_RGB8,
                                    SPNG_DECODE_TRNS),
                  0);
        spng_ctx_free(ctx);
        const auto over = [](uint64_t c, uint64_t a) {
            return uint32_t((c * a + 65535 * (65535 - a) + 65535 * 257 / 2) / (65535 * 257));
        };
        const Decoded d(png, 100, 256, 256);
        ASSERT_EQ(d.result, 0);
        int wrong = 0;
        for (size_t i = 0; i < 65536; ++i) {
            uint32_t expected = uint32_t(image[i * 3]) << 16 | uint32_t(image[i * 3 + 1]) << 8 | image[i * 3 + 2];
            if (composed) {
                uint16_t s[4];
                std::memcpy(s, &image[i * 8], 8);
                expected = over(s[0], s[3]) << 16 | over(s[1], s[3]) << 8 | over(s[2], s[3]);
            }
            wrong += d.Pixel(int(i % 256), int(i / 256)) != expected;
            EXPECT_FALSE(kind.keyed && i == 1000 && expected != 0xFFFFFFu);  // the key is among the pixels
        }
        EXPECT_EQ(wrong, 0);
    }
}

// GIF interlacing is proven against RGB with the logical screen below.
TEST(ImageDecoderInterlace, InterlacedPngEqualsNonInterlaced)
{
    // Sizes that leave some Adam7 passes empty or ragged.
    for (const auto& [w, h] : {std::pair {37, 23}, {1, 1}, {3, 9}, {9, 2}, {5, 1}, {4, 3}, {16, 17}})
        for (int scale : {100, 37, 10}) {
            SCOPED_TRACE(testing::Message() << w << "x" << h << " at " << scale);
            ExpectSamePixels(Decoded(MakeRgbPng(w, h, false, Gradient), scale),
                             Decoded(MakeRgbPng(w, h, true, Gradient), scale));
        }
}

// The first frame on a white screen, clipped to it, coloured through a global
// or a local palette; later frames are not shown. The screen around it and its
// runs of equal rows are reduced at once, to what the same picture stored
// whole as RGB gives.
TEST(ImageDecoderGif, FirstFrameOnItsScreenEqualsThePictureStoredAsRgb)
{
    const struct {
        int screenWidth, screenHeight, left, top, width, height;
        bool local;
    } cases[] = {{10, 8, 5, 2, 4, 3, false},
                 {10, 8, 8, 6, 5, 5, false},
                 {10, 8, 40, 30, 2, 2, false},
                 {10, 8, 0, 0, 10, 8, true},
                 {700, 500, 203, 97, 31, 40, false}};
    for (const auto& c : cases)
        for (bool interlaced : {false, true}) {
            GifLayout layout = GradientGif(c.width, c.height, interlaced, 20);
            layout.screenWidth = c.screenWidth, layout.screenHeight = c.screenHeight;
            layout.left = c.left, layout.top = c.top;
            layout.localPalette = c.local;
            layout.extraFrames = 2;
            const Bytes rgb = MakeRgbPng(c.screenWidth, c.screenHeight, false, [&](int x, int y) -> uint32_t {
                const int fx = x - c.left, fy = y - c.top;
                if (fx < 0 || fy < 0 || fx >= c.width || fy >= c.height)
                    return 0xFFFFFF;
                return Over(&layout.palette[size_t(layout.indices[size_t(fy * c.width + fx)]) * 3], 255);
            });
            for (int scale : {100, 13}) {
                SCOPED_TRACE(testing::Message()
                             << c.left << "," << c.top << (interlaced ? " interlaced" : "") << " at " << scale);
                ExpectSamePixels(Decoded(MakeGif(layout), scale), Decoded(rgb, scale));
            }
        }
}

// Files other viewers show: LZW minimum code sizes above 8 and frames without
// any colour table.
TEST(ImageDecoderGif, WideCodesAndMissingColourTablesAreShown)
{
    const GifLayout gradient = GradientGif(160, 120, false);
    const Decoded reference(MakeGif(gradient));
    for (int codeSize : {9, 10, 11}) {
        GifLayout wide = gradient;
        wide.codeSize = codeSize;
        SCOPED_TRACE(codeSize);
        ExpectSamePixels(Decoded(MakeGif(wide)), reference);
    }
    // Indices past the table are black; without a colour table, a grey ramp
    // over the indices the code size allows.
    const struct {
        int codeSize;
        bool table;
        std::vector<uint16_t> indices;
        std::vector<uint32_t> colours;
    } rows[] = {
        {11, true, {1, 300, 2047, 0}, {0x0000FF, 0, 0, 0xFF0000}},
        {2, false, {0, 1, 2, 3}, {0x000000, 0x555555, 0xAAAAAA, 0xFFFFFF}},
        {8, false, {0, 128, 255, 7}, {0x000000, 0x808080, 0xFFFFFF, 0x070707}},
    };
    for (const auto& r : rows) {
        const Decoded d(MakeGif(
            {4, 1, 0, 0, 4, 1, false, -1, {255, 0, 0, 0, 0, 255}, {}, false, 0, r.codeSize, !r.table, r.indices}));
        ASSERT_EQ(d.result, 0) << r.codeSize;
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(d.Pixel(x, 0), r.colours[size_t(x)]) << r.codeSize << " at " << x;
    }
}

// Palette and grey pictures are coloured through their own table and runs of
// equal rows are reduced at once; the same colours stored as RGB take the
// plain way, and both must give the same pixels. Rows 3 to 9 repeat row 2 and
// rows 12 to 15 are of one colour.
TEST(ImageDecoderPixels, PaletteAndGreyPicturesEqualTheSameColoursStoredAsRgb)
{
    const int width = 41, height = 29;
    const auto level = [](int x, int y, int top) {
        const int row = y >= 3 && y <= 9 ? 2 : y;
        return row >= 12 && row <= 15 ? top : (x * 5 + row * 3) % (top + 1);
    };
    for (int kind = 0; kind < 8; ++kind) {
        const int colorType = kind < 4 ? 0 : 3, depth = 1 << kind % 4, top = (1 << depth) - 1;
        PngLayout own {width, height, colorType, depth};
        for (int i = 0; i <= top && colorType == 3; ++i)
            own.palette.insert(own.palette.end(), {uint8_t(i * 37), uint8_t(255 - i), uint8_t(i * 11)});
        if (colorType == 3)
            own.paletteAlpha = {0, 128};  // entry 0 clear, entry 1 half
        else
            own.transparentGray = top / 2;
        const auto colour = [&](int index) -> uint32_t {
            if (colorType == 0)
                return (index == top / 2 ? 255 : uint32_t(index * 255 / top)) * 0x010101u;
            return Over(&own.palette[size_t(index) * 3], index == 0 ? 0 : index == 1 ? 128 : 255);
        };
        const int stride = (width * depth + 7) / 8;  // packed, first pixel in the high bits
        own.samples.assign(size_t(stride) * height, 0);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                own.samples[size_t(y * stride + x * depth / 8)]
                    |= uint8_t(level(x, y, top) << (8 - depth - x * depth % 8));
        const Bytes rgb = MakeRgbPng(width, height, false, [&](int x, int y) { return colour(level(x, y, top)); });
        for (bool interlaced : {false, true})
            for (int scale : {100, 30}) {
                own.interlaced = interlaced;
                SCOPED_TRACE(testing::Message() << "type " << colorType << ", " << depth << " bits, interlaced "
                                                << interlaced << ", at " << scale);
                ExpectSamePixels(Decoded(MakePng(own), scale), Decoded(rgb, scale));
            }
    }
}

// Every prefix of a file: refused, or shown; never a crash (run under the
// sanitizers this also proves no read out of bounds). A PNG cut inside its
// data, a broken checksum and unknown data are refused.
TEST(ImageDecoderDamage, DamagedFilesAreRefusedOrShownWithoutCrash)
{
    const Bytes png = MakeRgbPng(40, 30, false, Gradient);
    const std::pair<Bytes, size_t> files[] = {{png, 1},
                                              {MakeRgbPng(40, 30, true, Gradient), 3},
                                              {MakeGif(GradientGif(40, 30, true)), 1},
                                              {EncodeJpeg({40, 30, JCS_GRAYSCALE}), 7}};
    for (const auto& [file, step] : files)
        for (size_t n = 0; n < file.size(); n += step) {
            Decoded d(Bytes(file.begin(), file.begin() + ptrdiff_t(n)), 50);
            EXPECT_EQ(d.result == 0, d.bitmap != nullptr);
        }
    EXPECT_EQ(Decoded(Bytes(png.begin(), png.begin() + ptrdiff_t(png.size() / 2))).info.status, DecodeStatus::Corrupt);
    Bytes broken = png;
    broken[broken.size() - 20] ^= 0x55;  // inside the image data's zlib checksum or CRC
    EXPECT_NE(Decoded(broken).result, 0);
    EXPECT_EQ(Decoded({'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd'}).info.status,
              DecodeStatus::NotRecognised);
    EXPECT_NE(Decoded(Bytes {}).result, 0);
}

TEST(ImageDecoderThreads, ConcurrentDecodesGiveTheSameResult)
{
    const Bytes files[2] = {MakeGif(GradientGif(120, 90, false)), MakeRgbPng(120, 90, true, Gradient)};
    const Decoded refs[2] = {Decoded(files[0], 33), Decoded(files[1], 33)};
    const size_t size = size_t(refs[0].bitmap->Stride()) * refs[0].bitmap->Height();
    std::vector<std::thread> threads;
    std::vector<int> failures(4, 0);
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&, t] {
            for (int i = 0; i < 20; ++i) {
                Decoded a(files[t % 2], 33);
                failures[size_t(t)]
                    += a.result != 0 || std::memcmp(a.bitmap->Bits(), refs[t % 2].bitmap->Bits(), size) != 0;
            }
        });
    for (std::thread& t : threads)
        t.join();
    EXPECT_EQ(failures, std::vector<int>(4, 0));
}

// The area reducer's grouped forms (runs of equal rows, solid rows, a span of
// pixels in a fill colour) give exactly what adding every row whole gives.
// A width x height source in deterministic groups of rows: solid, a span of
// pixels in a fill colour (which may reach outside), or one whole row
// repeated; added grouped, or each row made whole and added alone. Out of
// order, the groups come from the bottom up.
std::vector<uint8_t> Reduce(int width, int height, int outWidth, int outHeight, bool inOrder, bool grouped)
{
    HBITMAP out = CreateBitmap(outWidth, outHeight, 1, 24, nullptr);
    CAreaReducer reducer;
    EXPECT_TRUE(reducer.Init(width, height, out, inOrder));
    uint32_t seed = uint32_t(width * 7919 + height);
    auto next = [&](int range) {
        seed = seed * 1664525u + 1013904223u;
        return int((seed >> 8) % uint32_t(range));
    };
    std::vector<uint8_t> row(size_t(width) * 3), rgb;
    for (int done = 0; done < height;) {
        const int kind = next(3), count = std::min(1 + next(9), height - done);
        const int first = inOrder ? done : height - done - count;
        done += count;
        const uint8_t fill[3] = {uint8_t(next(256)), uint8_t(next(256)), uint8_t(next(256))};
        const int x0 = kind == 1 ? next(width + 6) - 3 : 0, n = kind == 0 ? 0 : kind == 1 ? next(width + 3) : width;
        rgb.resize(size_t(n) * 3);
        for (uint8_t& c : rgb)
            c = uint8_t(next(256));
        if (grouped && kind == 0)
            reducer.AddSolidRows(first, count, fill[0], fill[1], fill[2]);
        else if (grouped && kind == 1)
            reducer.AddRowSpan(first, count, x0, n, rgb.data(), fill);
        else if (grouped)
            reducer.AddRows(first, count, rgb.data());
        for (int x = 0; !grouped && x < width; ++x)
            std::memcpy(&row[size_t(x) * 3], x >= x0 && x < x0 + n ? &rgb[size_t(x - x0) * 3] : fill, 3);
        for (int y = first; !grouped && y < first + count; ++y)
            reducer.AddRow(y, row.data());
    }
    reducer.Finish();
    std::vector<uint8_t> bits(out->Bits(), out->Bits() + size_t(out->Stride()) * outHeight);
    DeleteObject(out);
    return bits;
}

TEST(AreaReducer, GroupedRowsGiveExactlyWhatEveryRowAddedWholeGives)
{
    const struct {
        int width, height, outWidth, outHeight;
    } cases[] = {
        {1, 1, 1, 1},       {7, 5, 3, 2},    {100, 37, 13, 8}, {997, 1201, 40, 30},
        {33, 200, 33, 200}, {5000, 3, 7, 1}, {3, 5000, 1, 9},  {640, 480, 639, 479},
    };
    for (const auto& c : cases)
        for (bool inOrder : {true, false})  // the same result when the reducer keeps every cell
            EXPECT_EQ(Reduce(c.width, c.height, c.outWidth, c.outHeight, inOrder, true),
                      Reduce(c.width, c.height, c.outWidth, c.outHeight, inOrder, false))
                << c.width << "x" << c.height << " to " << c.outWidth << "x" << c.outHeight
                << (inOrder ? " in order" : " in any order");
}

}  // namespace
