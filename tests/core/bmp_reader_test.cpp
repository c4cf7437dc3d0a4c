// The BMP reader: depths and palettes kept, every row order and compression
// decoded to the right pixels, hostile headers refused without overruns.
#include "image/bmp_reader.h"

#include "test_pictures.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

struct BitmapDeleter {
    void operator()(CBitmapObject* b) const { DeleteObject(b); }
};
using Bitmap = std::unique_ptr<CBitmapObject, BitmapDeleter>;

Bitmap Decode(const TestBmp& layout)
{
    const Bytes bytes = BuildBmp(layout);
    return Bitmap(DecodeBmp(bytes.data(), bytes.size()));
}

// What a decoded bitmap shows, row by row from the top: indices for palette
// bitmaps, 0xRRGGBB for the others; and its depth and palette.
struct Seen {
    int bpp;
    std::vector<std::vector<uint32_t>> rows;
    std::vector<uint32_t> palette;  // 0xRRGGBB
};

Seen See(const CBitmapObject& b)
{
    Seen seen {b.BitsPerPixel(), {}, {}};
    for (int y = 0; y < b.Height(); ++y) {
        const uint8_t* row = b.RowFromTop(y);
        std::vector<uint32_t>& out = seen.rows.emplace_back();
        for (int x = 0; x < b.Width(); ++x) {
            const int bpp = b.BitsPerPixel(), at = x * bpp;
            const uint8_t* p = row + at / 8;
            out.push_back(bpp < 16 ? (p[0] >> (8 - bpp - at % 8)) & ((1u << bpp) - 1)
                                   : (bpp > 16 ? uint32_t(p[2]) << 16 : 0) | uint32_t(p[1]) << 8 | p[0]);
        }
    }
    for (const RGBQUAD& q : b.Palette())
        seen.palette.push_back(uint32_t(q.rgbRed) << 16 | uint32_t(q.rgbGreen) << 8 | q.rgbBlue);
    return seen;
}

}  // namespace

TEST(BmpReader, EveryLayoutGivesItsPixels)
{
    const auto ramp = [](uint32_t n, uint32_t step) {
        std::vector<uint32_t> palette;
        for (uint32_t i = 0; i < n; ++i)
            palette.push_back(i * step);
        return palette;
    };
    // Width, height, bits, compression, header size, planes, colours used,
    // palette, masks, pixels. RLE8: a run, an absolute run padded to an even
    // count, end of line, a delta (right 2, up 1) over a row left at index 0,
    // a run, end of bitmap.
    const TestBmp rle8 {6, 3, 8, 1, 40, 1, 0, ramp(256, 1), {}, {3, 7, 0, 3, 1, 2, 3, 0, 0, 0, 0, 2, 2, 1, 2, 9, 0, 1}};
    // RLE4 alternates nibbles and keeps four bits: 1 2 1 2 1, then absolute A B C.
    const TestBmp rle4 {7, 1, 4, 2, 40, 1, 0, ramp(16, 1), {}, {5, 0x12, 0, 3, 0xAB, 0xC0, 0, 1}};
    // A stream running past the picture stops at its edges: a long run, a far
    // delta, a cut absolute run.
    const TestBmp past {4, 2, 8, 1, 40, 1, 0, ramp(256, 0), {}, {255, 1, 0, 2, 255, 255, 200, 3, 0, 255, 1}};
    // 16 bits 5-5-5 is kept; so is the standard 32-bit mask; 5-6-5 becomes 24 bits.
    const TestBmp rgb555 {2, 1, 16, 0, 40, 1, 0, {}, {}, {0x00, 0x7C, 0x1F, 0x00}};
    TestBmp standard = SolidBmp(2, 1, 32, 1, 2, 3);
    standard.compression = 3;
    standard.masks = {0xFF0000, 0xFF00, 0xFF};
    const TestBmp rgb565 {3, 1, 16, 3, 40, 1, 0, {}, {0xF800, 0x07E0, 0x001F}, {0x00, 0xF8, 0xE0, 0x07, 0x1F, 0, 0, 0}};
    // Other masks: R 0x10, G 0x20, B 0x30 with the alpha byte ignored, and
    // ten bits a channel (1023, 512, 0).
    const TestBmp rgba {1, 1, 32, 3, 40, 1, 0, {}, {0xFF000000, 0x00FF0000, 0x0000FF00}, {0x7F, 0x30, 0x20, 0x10}};
    const TestBmp tenBit {1, 1, 32, 3, 40, 1, 0, {}, {0x3FF00000, 0x000FFC00, 0x000003FF}, {0, 0, 0xF8, 0x3F}};
    // Two bits a pixel become eight; the OS/2 core header has 3-byte entries.
    const TestBmp twoBit {5, 1, 2, 0, 40, 1, 0, {0, 0xFF0000, 0x00FF00, 0x0000FF}, {}, {0b00011011, 0b10000000, 0, 0}};
    const TestBmp os2 {2, 1, 1, 0, 12, 1, 0, {0x112233, 0x445566}, {}, {0b01000000, 0, 0, 0}};
    // Palette pictures keep their depth and palette, packed high bits first,
    // rows bottom-up or top-down; an index past a short palette shows black.
    const TestBmp oneBit {10, 1, 1, 0, 40, 1, 0, {0x010203, 0xFFFEFD}, {}, {0b10110011, 0b01000000, 0, 0}};
    const TestBmp fourBit {3, 1, 4, 0, 40, 1, 0, ramp(16, 0x030507), {}, {0x1F, 0xE0, 0, 0}};
    const TestBmp up {2, 2, 8, 0, 40, 1, 0, {0, 1, 2, 3, 0x123456}, {}, {1, 2, 0, 0, 3, 4, 0, 0}};
    TestBmp down = up;
    down.height = -2;
    const TestBmp shortPalette {1, 1, 8, 0, 40, 1, 2, {0xFFFFFF, 0xFFFFFF}, {}, {200, 0, 0, 0}};
    // Cut pixel data leaves the rest black; the bottom rows came first.
    TestBmp cut = SolidBmp(2, 4, 24, 255, 255, 255);
    cut.pixels.resize(19);  // two rows and a pixel
    using Rows = std::vector<std::vector<uint32_t>>;
    const std::tuple<const char*, const TestBmp*, int, Rows> cases[] = {
        {"rle8", &rle8, 8, {{0, 0, 9, 9, 0, 0}, {0, 0, 0, 0, 0, 0}, {7, 7, 7, 1, 2, 3}}},
        {"rle4", &rle4, 4, {{1, 2, 1, 2, 1, 0xA, 0xB}}},
        {"past the edges", &past, 8, {{0, 0, 0, 0}, {1, 1, 1, 1}}},
        {"555", &rgb555, 16, {{0x7C00, 0x001F}}},  // kept as stored
        {"standard 32", &standard, 32, {{0x010203, 0x010203}}},
        {"565", &rgb565, 24, {{0xFF0000, 0x00FF00, 0x0000FF}}},
        {"rgba", &rgba, 32, {{0x102030}}},
        {"ten bits", &tenBit, 32, {{0xFF8000}}},
        {"two bits", &twoBit, 8, {{0, 1, 2, 3, 2}}},
        {"os/2", &os2, 1, {{0, 1}}},
        {"one bit", &oneBit, 1, {{1, 0, 1, 1, 0, 0, 1, 1, 0, 1}}},
        {"four bits", &fourBit, 4, {{1, 15, 14}}},
        {"bottom-up", &up, 8, {{3, 4}, {1, 2}}},
        {"top-down", &down, 8, {{1, 2}, {3, 4}}},
        {"short palette", &shortPalette, 8, {{200}}},
        {"cut", &cut, 24, {{0, 0}, {0xFFFFFF, 0}, {0xFFFFFF, 0xFFFFFF}, {0xFFFFFF, 0xFFFFFF}}},
    };
    for (const auto& [what, layout, bpp, rows] : cases) {
        SCOPED_TRACE(what);
        Bitmap b = Decode(*layout);
        ASSERT_TRUE(b);
        const Seen seen = See(*b);
        EXPECT_EQ(seen.bpp, bpp);
        EXPECT_EQ(seen.rows, rows);
        // Palette bitmaps hold every entry their depth allows; those the file
        // does not give are black.
        ASSERT_EQ(seen.palette.size(), bpp <= 8 ? 1u << bpp : 0u);
        std::vector<uint32_t> expected = layout->palette;
        expected.resize(seen.palette.size());
        EXPECT_EQ(seen.palette, expected);
    }
}

TEST(BmpReader, HostileHeadersAreRefusedAndEveryCutOfAFileDecodesOrFailsWithoutOverrun)
{
    const TestBmp good = SolidBmp(4, 4, 24, 1, 2, 3);
    std::vector<TestBmp> bad(10, good);
    bad[0].planes = 2;
    bad[1].bpp = 7;
    bad[2].width = -4;
    bad[3].height = 0;
    bad[4].width = 3000000;  // 3000000 x 2000000: far over the memory budget
    bad[4].height = 2000000;
    bad[5].compression = 4;  // embedded JPEG
    bad[6].bpp = 8;
    bad[6].colorsUsed = 0x12341234;
    bad[7].compression = 1;  // RLE8 needs 8 bits per pixel
    bad[8].bpp = 8;
    bad[8].compression = 1;
    bad[8].height = -4;                     // top-down RLE
    bad[9] = TestBmp {40000, 40000, 8, 1};  // 1.6 GB of 8-bit pixels from a few bytes: refused before allocating
    bad[9].palette.assign(256, 0);
    bad[9].pixels = {0, 1};
    for (size_t i = 0; i < bad.size(); ++i)
        EXPECT_FALSE(Decode(bad[i])) << i;
    EXPECT_TRUE(Decode(good));
    EXPECT_EQ(SHLoadDIBitmap(QStringLiteral("/nonexistent/lumo/none.bmp")), nullptr);
    EXPECT_EQ(DecodeBmp(nullptr, 0), nullptr);
    TestBmp rle {6, 3, 4, 2};
    rle.palette.assign(16, 0x808080);
    rle.pixels = {4, 0x12, 0, 5, 0x12, 0x34, 0x50, 0, 0, 0, 0, 2, 1, 1, 3, 0x77, 0, 1};
    for (const TestBmp& layout : {SolidBmp(5, 3, 24, 9, 8, 7), SolidBmp(7, 5, 8, 1, 2, 3), rle}) {
        const Bytes bytes = BuildBmp(layout);
        for (size_t n = 0; n <= bytes.size(); ++n) {
            // An exact-size copy lets AddressSanitizer see any read past the end.
            std::unique_ptr<uint8_t[]> copy(new uint8_t[n + 1]);
            std::memcpy(copy.get(), bytes.data(), n);
            DeleteObject(DecodeBmp(copy.get(), n));
        }
    }
}
