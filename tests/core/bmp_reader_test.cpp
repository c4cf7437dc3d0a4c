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
    const std::vector<uint8_t> bytes = BuildBmp(layout);
    return Bitmap(DecodeBmp(bytes.data(), bytes.size()));
}

// Blue, green, red of pixel (x, y from the top) of a 24- or 32-bit bitmap.
uint32_t RgbAt(const CBitmapObject& b, int x, int y)
{
    const uint8_t* p = b.RowFromTop(y) + x * (b.BitsPerPixel() / 8);
    return uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
}

int IndexAt(const CBitmapObject& b, int x, int y)
{
    const uint8_t* row = b.RowFromTop(y);
    switch (b.BitsPerPixel()) {
    case 1:
        return (row[x / 8] >> (7 - x % 8)) & 1;
    case 4:
        return (row[x / 2] >> ((x & 1) ? 0 : 4)) & 15;
    default:
        return row[x];
    }
}

uint32_t PaletteColour(const CBitmapObject& b, int index)
{
    const RGBQUAD& q = b.Palette().at(size_t(index));
    return uint32_t(q.rgbRed) << 16 | uint32_t(q.rgbGreen) << 8 | q.rgbBlue;
}

TestBmp Layout(int width, int height, int bpp, uint32_t compression = 0)
{
    TestBmp layout;
    layout.width = width;
    layout.height = height;
    layout.bpp = bpp;
    layout.compression = compression;
    return layout;
}

}  // namespace

TEST(BmpReader, IndexedPicturesKeepDepthPaletteAndPixels)
{
    for (int bpp : {1, 4, 8}) {
        SCOPED_TRACE(bpp);
        TestBmp layout = Layout(13, 3, bpp);
        const int colours = 1 << bpp;
        for (int i = 0; i < colours; ++i)
            layout.palette.push_back(uint32_t(i * 0x030507));
        const int stride = BmpStride(13, bpp);
        layout.pixels.assign(size_t(stride) * 3, 0);
        // Index (x + 2 * row) mod colours, rows counted from the bottom as stored.
        for (int row = 0; row < 3; ++row)
            for (int x = 0; x < 13; ++x) {
                const int v = (x + 2 * row) % colours;
                uint8_t& byte = layout.pixels[size_t(row) * stride + x * bpp / 8];
                const int shift = 8 - bpp - (x * bpp) % 8;
                byte |= uint8_t(v << shift);
            }
        Bitmap b = Decode(layout);
        ASSERT_TRUE(b);
        EXPECT_EQ(b->BitsPerPixel(), bpp);
        EXPECT_EQ(b->Width(), 13);
        EXPECT_EQ(b->Height(), 3);
        ASSERT_EQ(b->Palette().size(), size_t(colours));
        EXPECT_EQ(PaletteColour(*b, colours - 1), uint32_t((colours - 1) * 0x030507) & 0xFFFFFF);
        for (int row = 0; row < 3; ++row)
            for (int x = 0; x < 13; ++x)
                EXPECT_EQ(IndexAt(*b, x, 2 - row), (x + 2 * row) % colours) << x << "," << row;
    }
}

TEST(BmpReader, TopDownAndBottomUpRowsGiveTheSamePicture)
{
    TestBmp up = SolidBmp(3, 2, 24, 0, 0, 0);
    // Stored bottom row first: bottom row red, top row blue.
    for (int x = 0; x < 3; ++x) {
        up.pixels[size_t(x) * 3 + 2] = 255;
        up.pixels[12 + size_t(x) * 3 + 0] = 255;
    }
    TestBmp down = up;
    down.height = -2;
    std::copy(up.pixels.begin() + 12, up.pixels.end(), down.pixels.begin());
    std::copy(up.pixels.begin(), up.pixels.begin() + 12, down.pixels.begin() + 12);
    for (const TestBmp* layout : {&up, &down}) {
        Bitmap b = Decode(*layout);
        ASSERT_TRUE(b);
        EXPECT_EQ(b->Height(), 2);
        EXPECT_EQ(RgbAt(*b, 1, 0), 0x0000FFu);
        EXPECT_EQ(RgbAt(*b, 1, 1), 0xFF0000u);
    }
}

TEST(BmpReader, Rle8RunsAbsoluteRunsDeltasAndLineEnds)
{
    TestBmp layout = Layout(6, 3, 8, 1);
    for (uint32_t i = 0; i < 256; ++i)
        layout.palette.push_back(i);
    layout.pixels = {
        3, 7,              // bottom row: 7 7 7
        0, 3, 1, 2, 3, 0,  // absolute 1 2 3 (padded to an even count)
        0, 0,              // end of line
        0, 2, 2, 1,        // delta: right 2, up 1 (to row 2, x 2)
        2, 9,              // 9 9
        0, 1,              // end of bitmap
    };
    Bitmap b = Decode(layout);
    ASSERT_TRUE(b);
    EXPECT_EQ(b->BitsPerPixel(), 8);
    const int bottom[6] = {7, 7, 7, 1, 2, 3};
    const int top[6] = {0, 0, 9, 9, 0, 0};
    for (int x = 0; x < 6; ++x) {
        EXPECT_EQ(IndexAt(*b, x, 2), bottom[x]) << x;
        EXPECT_EQ(IndexAt(*b, x, 1), 0) << x;  // skipped by the delta: index 0
        EXPECT_EQ(IndexAt(*b, x, 0), top[x]) << x;
    }
}

TEST(BmpReader, Rle4AlternatesNibblesAndKeepsFourBits)
{
    TestBmp layout = Layout(7, 1, 4, 2);
    for (uint32_t i = 0; i < 16; ++i)
        layout.palette.push_back(i);
    layout.pixels = {5, 0x12, 0, 3, 0xAB, 0xC0, 0, 1};  // 1 2 1 2 1, then absolute A B C
    Bitmap b = Decode(layout);
    ASSERT_TRUE(b);
    EXPECT_EQ(b->BitsPerPixel(), 4);
    const int expected[7] = {1, 2, 1, 2, 1, 0xA, 0xB};
    for (int x = 0; x < 7; ++x)
        EXPECT_EQ(IndexAt(*b, x, 0), expected[x]) << x;
}

TEST(BmpReader, RleStreamThatRunsPastThePictureStopsAtItsEdges)
{
    TestBmp layout = Layout(4, 2, 8, 1);
    layout.palette.assign(256, 0);
    layout.pixels = {255, 1, 0, 2, 255, 255, 200, 3, 0, 255, 1};  // long run, far delta, cut absolute run
    Bitmap b = Decode(layout);
    ASSERT_TRUE(b);
    for (int x = 0; x < 4; ++x)
        EXPECT_EQ(IndexAt(*b, x, 1), 1);
}

TEST(BmpReader, SixteenAndThirtyTwoBitLayoutsAreKeptOnlyWhenTheBitmapCanHoldThem)
{
    TestBmp rgb555 = Layout(2, 1, 16);
    rgb555.pixels = {0x00, 0x7C, 0x1F, 0x00};  // pure red, pure blue
    Bitmap b = Decode(rgb555);
    ASSERT_TRUE(b);
    EXPECT_EQ(b->BitsPerPixel(), 16);
    EXPECT_EQ(b->RowFromTop(0)[1], 0x7C);

    TestBmp standard = SolidBmp(2, 2, 32, 1, 2, 3);
    standard.compression = 3;
    standard.masks = {0xFF0000, 0xFF00, 0xFF};
    b = Decode(standard);
    ASSERT_TRUE(b);
    EXPECT_EQ(b->BitsPerPixel(), 32);
    EXPECT_EQ(RgbAt(*b, 1, 1), 0x010203u);

    TestBmp rgb565 = Layout(3, 1, 16, 3);
    rgb565.masks = {0xF800, 0x07E0, 0x001F};
    rgb565.pixels = {0x00, 0xF8, 0xE0, 0x07, 0x1F, 0x00, 0, 0};
    b = Decode(rgb565);
    ASSERT_TRUE(b);
    EXPECT_EQ(b->BitsPerPixel(), 24);
    EXPECT_EQ(RgbAt(*b, 0, 0), 0xFF0000u);
    EXPECT_EQ(RgbAt(*b, 1, 0), 0x00FF00u);
    EXPECT_EQ(RgbAt(*b, 2, 0), 0x0000FFu);

    TestBmp rgba = Layout(1, 1, 32, 3);
    rgba.masks = {0xFF000000, 0x00FF0000, 0x0000FF00};
    rgba.pixels = {0x7F, 0x30, 0x20, 0x10};  // R 0x10, G 0x20, B 0x30, alpha byte ignored
    b = Decode(rgba);
    ASSERT_TRUE(b);
    EXPECT_EQ(b->BitsPerPixel(), 32);
    EXPECT_EQ(RgbAt(*b, 0, 0), 0x102030u);

    TestBmp tenBit = rgba;
    tenBit.masks = {0x3FF00000, 0x000FFC00, 0x000003FF};
    const uint32_t pixel = (1023u << 20) | (512u << 10) | 0u;
    tenBit.pixels = {uint8_t(pixel), uint8_t(pixel >> 8), uint8_t(pixel >> 16), uint8_t(pixel >> 24)};
    b = Decode(tenBit);
    ASSERT_TRUE(b);
    EXPECT_EQ(RgbAt(*b, 0, 0), 0xFF8000u);
}

TEST(BmpReader, PalettesOfTwoBitOs2AndShortFilesAreReadAsEightBitOrTheirOwnDepth)
{
    // Two bits per pixel become eight, with the palette.
    TestBmp twoBit = Layout(5, 1, 2);
    twoBit.palette = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
    twoBit.pixels = {0b00011011, 0b10000000, 0, 0};  // 0 1 2 3 2
    Bitmap b = Decode(twoBit);
    ASSERT_TRUE(b);
    EXPECT_EQ(b->BitsPerPixel(), 8);
    const int expected[5] = {0, 1, 2, 3, 2};
    for (int x = 0; x < 5; ++x)
        EXPECT_EQ(IndexAt(*b, x, 0), expected[x]);
    EXPECT_EQ(PaletteColour(*b, 3), 0x0000FFu);

    // The OS/2 core header has three-byte palette entries.
    TestBmp os2 = Layout(2, 1, 1);
    os2.headerSize = 12;
    os2.palette = {0x112233, 0x445566};
    os2.pixels = {0b01000000, 0, 0, 0};
    b = Decode(os2);
    ASSERT_TRUE(b);
    EXPECT_EQ(PaletteColour(*b, 1), 0x445566u);
    EXPECT_EQ(IndexAt(*b, 1, 0), 1);

    // Indices beyond a short palette show black.
    TestBmp shortPalette = Layout(1, 1, 8);
    shortPalette.colorsUsed = 2;
    shortPalette.palette = {0xFFFFFF, 0xFFFFFF};
    shortPalette.pixels = {200, 0, 0, 0};
    b = Decode(shortPalette);
    ASSERT_TRUE(b);
    ASSERT_EQ(b->Palette().size(), 256u);
    EXPECT_EQ(PaletteColour(*b, 200), 0u);
}

TEST(BmpReader, CutPixelDataLeavesTheRestBlack)
{
    TestBmp layout = SolidBmp(4, 4, 24, 255, 255, 255);
    layout.pixels.resize(layout.pixels.size() / 2 + 5);
    Bitmap b = Decode(layout);
    ASSERT_TRUE(b);
    EXPECT_EQ(RgbAt(*b, 0, 3), 0xFFFFFFu);  // bottom rows came first
    EXPECT_EQ(RgbAt(*b, 3, 0), 0u);
}

TEST(BmpReader, HostileHeadersAreRefused)
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
    bad[8].height = -4;                   // top-down RLE
    bad[9] = Layout(40000, 40000, 8, 1);  // 1.6 GB of 8-bit pixels from a few bytes: refused before allocating
    bad[9].palette.assign(256, 0);
    bad[9].pixels = {0, 1};
    for (size_t i = 0; i < bad.size(); ++i)
        EXPECT_FALSE(Decode(bad[i])) << i;
    EXPECT_TRUE(Decode(good));
}

TEST(BmpReader, EveryCutOfAFileDecodesOrFailsWithoutOverrun)
{
    std::vector<TestBmp> layouts = {SolidBmp(5, 3, 24, 9, 8, 7), Gray8Bmp(7, 5)};
    TestBmp rle = Layout(6, 3, 4, 2);
    rle.palette.assign(16, 0x808080);
    rle.pixels = {4, 0x12, 0, 5, 0x12, 0x34, 0x50, 0, 0, 0, 0, 2, 1, 1, 3, 0x77, 0, 1};
    layouts.push_back(rle);
    for (const TestBmp& layout : layouts) {
        const std::vector<uint8_t> bytes = BuildBmp(layout);
        for (size_t n = 0; n <= bytes.size(); ++n) {
            // An exact-size copy lets AddressSanitizer see any read past the end.
            std::unique_ptr<uint8_t[]> copy(new uint8_t[n + 1]);
            std::memcpy(copy.get(), bytes.data(), n);
            DeleteObject(DecodeBmp(copy.get(), n));
        }
    }
}

TEST(BmpReader, MissingOrEmptyFileGivesNoBitmap)
{
    EXPECT_EQ(SHLoadDIBitmap(QStringLiteral("/nonexistent/lumo/none.bmp")), nullptr);
    EXPECT_EQ(DecodeBmp(nullptr, 0), nullptr);
}
