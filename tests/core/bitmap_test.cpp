// Bitmaps, blits, stretching, the DIB holder, the grow buffer and thumbnails.
#include "app/image_item.h"
#include "image/dib_bitmap.h"
#include "image/gdi.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <vector>

namespace {

struct BitmapDeleter {
    void operator()(CBitmapObject* b) const { DeleteObject(b); }
};
using BitmapPtr = std::unique_ptr<CBitmapObject, BitmapDeleter>;

BitmapPtr Make(int width, int height, int bpp, std::vector<RGBQUAD> palette = {})
{
    BITMAPINFOHEADER header;
    header.biWidth = width;
    header.biHeight = height;
    header.biBitCount = uint16_t(bpp);
    return BitmapPtr(CreateDIBSection(header, palette.data(), int(palette.size()), nullptr));
}

std::array<int, 3> Bgr(const CBitmapObject& b, int x, int y)
{
    const int bytes = b.BitsPerPixel() / 8;
    const uint8_t* p = b.RowFromTop(y) + x * bytes;
    return {p[0], p[1], p[2]};
}

void SetBgr(CBitmapObject& b, int x, int y, int blue, int green, int red)
{
    uint8_t* p = b.RowFromTop(y) + x * (b.BitsPerPixel() / 8);
    p[0] = uint8_t(blue);
    p[1] = uint8_t(green);
    p[2] = uint8_t(red);
}

}  // namespace

TEST(GdiBitmap, RowsArePaddedToFourBytesForEveryDepth)
{
    const std::array<std::pair<int, int>, 6> strideFor5Pixels
        = {{{1, 4}, {4, 4}, {8, 8}, {16, 12}, {24, 16}, {32, 20}}};
    for (auto [bpp, stride] : strideFor5Pixels) {
        BitmapPtr b = Make(5, 3, bpp);
        ASSERT_TRUE(b) << bpp;
        BITMAP info;
        ASSERT_EQ(GetObject(b.get(), &info), int(sizeof(BITMAP)));
        EXPECT_EQ(info.bmWidthBytes, stride) << bpp;
        EXPECT_EQ(info.bmBitsPixel, bpp);
        EXPECT_EQ(info.bmWidth, 5);
        EXPECT_EQ(info.bmHeight, 3);
    }
}

TEST(GdiBitmap, RefusesBadHeadersAndAbsurdSizes)
{
    EXPECT_FALSE(Make(0, 10, 24));
    EXPECT_FALSE(Make(10, 0, 24));
    EXPECT_FALSE(Make(10, -10, 24));  // top-down sections are not made
    EXPECT_FALSE(Make(10, 10, 12));
    EXPECT_FALSE(Make(100000, 100000, 24));
    EXPECT_FALSE(Make(0x7fffffff, 0x7fffffff, 32));
    EXPECT_EQ(CreateBitmap(1 << 20, 1 << 10, 1, 32, nullptr), nullptr);
    EXPECT_EQ(CreateBitmap(4, 4, 2, 24, nullptr), nullptr);
    BITMAP info;
    EXPECT_EQ(GetObject(nullptr, &info), 0);
}

TEST(GdiBlit, PaletteDepthsConvertTo24And32Bits)
{
    const std::vector<RGBQUAD> palette = {{10, 20, 30, 0}, {40, 50, 60, 0}, {70, 80, 90, 0}};
    // 1 bit: pixels 1,0,1 in the top bits of the first byte.
    BitmapPtr mono = Make(3, 1, 1, palette);
    mono->RowFromTop(0)[0] = 0xA0;
    // 4 bits: pixels 2,1,0 in nibbles, high nibble first.
    BitmapPtr nibble = Make(3, 1, 4, palette);
    nibble->RowFromTop(0)[0] = 0x21;
    nibble->RowFromTop(0)[1] = 0x00;
    // 8 bits: index 7 lies past the three-entry palette and reads as black.
    BitmapPtr byte = Make(3, 1, 8, palette);
    byte->RowFromTop(0)[0] = 2;
    byte->RowFromTop(0)[1] = 7;
    byte->RowFromTop(0)[2] = 1;

    for (int depth : {24, 32}) {
        BitmapPtr out = Make(3, 1, depth);
        ASSERT_EQ(BitBlt(out.get(), 0, 0, 3, 1, mono.get(), 0, 0), 1);
        EXPECT_EQ(Bgr(*out, 0, 0), (std::array<int, 3> {40, 50, 60}));
        EXPECT_EQ(Bgr(*out, 1, 0), (std::array<int, 3> {10, 20, 30}));
        EXPECT_EQ(Bgr(*out, 2, 0), (std::array<int, 3> {40, 50, 60}));
        ASSERT_EQ(BitBlt(out.get(), 0, 0, 3, 1, nibble.get(), 0, 0), 1);
        EXPECT_EQ(Bgr(*out, 0, 0), (std::array<int, 3> {70, 80, 90}));
        EXPECT_EQ(Bgr(*out, 1, 0), (std::array<int, 3> {40, 50, 60}));
        EXPECT_EQ(Bgr(*out, 2, 0), (std::array<int, 3> {10, 20, 30}));
        ASSERT_EQ(BitBlt(out.get(), 0, 0, 3, 1, byte.get(), 0, 0), 1);
        EXPECT_EQ(Bgr(*out, 0, 0), (std::array<int, 3> {70, 80, 90}));
        EXPECT_EQ(Bgr(*out, 1, 0), (std::array<int, 3> {0, 0, 0}));
        EXPECT_EQ(Bgr(*out, 2, 0), (std::array<int, 3> {40, 50, 60}));
    }
}

TEST(GdiBlit, SixteenBitIsFiveFiveFiveWidenedToFullRange)
{
    BitmapPtr b = Make(2, 1, 16);
    const uint16_t white = 0x7FFF, mixed = (31 << 10) | (16 << 5) | 1;  // red 31, green 16, blue 1
    uint8_t* row = b->RowFromTop(0);
    row[0] = white & 0xFF;
    row[1] = white >> 8;
    row[2] = mixed & 0xFF;
    row[3] = mixed >> 8;
    BitmapPtr out = Make(2, 1, 24);
    ASSERT_EQ(BitBlt(out.get(), 0, 0, 2, 1, b.get(), 0, 0), 1);
    EXPECT_EQ(Bgr(*out, 0, 0), (std::array<int, 3> {255, 255, 255}));
    EXPECT_EQ(Bgr(*out, 1, 0), (std::array<int, 3> {8, 132, 255}));
}

TEST(GdiBlit, ThirtyTwoBitDropsTheFourthByteAndClipsToBothBitmaps)
{
    BitmapPtr src = Make(3, 3, 32);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x) {
            SetBgr(*src, x, y, x, y, 100 + x + 10 * y);
            src->RowFromTop(y)[4 * x + 3] = 0xEE;
        }
    BitmapPtr dst = Make(2, 2, 24);
    // Source origin at (-1,-1): only source (0..1, 0..1) lands, at dst (1..,1..).
    ASSERT_EQ(BitBlt(dst.get(), 0, 0, 5, 5, src.get(), -1, -1), 1);
    EXPECT_EQ(Bgr(*dst, 0, 0), (std::array<int, 3> {0, 0, 0}));
    EXPECT_EQ(Bgr(*dst, 1, 1), (std::array<int, 3> {0, 0, 100}));
    ASSERT_EQ(BitBlt(dst.get(), -1, 0, 3, 2, src.get(), 1, 1), 1);
    EXPECT_EQ(Bgr(*dst, 0, 0), (std::array<int, 3> {2, 1, 112}));
    EXPECT_EQ(Bgr(*dst, 1, 1), (std::array<int, 3> {0, 0, 100}));  // untouched: clipped by the source
    EXPECT_EQ(BitBlt(dst.get(), 0, 0, 1, 1, nullptr, 0, 0), 0);
}

TEST(GdiStretch, ShrinkAveragesEachCoveredBlock)
{
    BitmapPtr src = Make(4, 4, 24);
    const int values[4][4] = {{0, 10, 100, 200}, {20, 30, 50, 51}, {1, 2, 3, 4}, {5, 6, 7, 9}};
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            SetBgr(*src, x, y, values[y][x], 255 - values[y][x], 7);
    BitmapPtr dst = Make(2, 2, 24);
    ASSERT_EQ(StretchBlt(dst.get(), 0, 0, 2, 2, src.get(), 0, 0, 4, 4), 1);
    EXPECT_EQ(Bgr(*dst, 0, 0), (std::array<int, 3> {15, 240, 7}));   // (0+10+20+30)/4
    EXPECT_EQ(Bgr(*dst, 1, 0), (std::array<int, 3> {100, 155, 7}));  // 401/4 = 100.25
    EXPECT_EQ(Bgr(*dst, 0, 1), (std::array<int, 3> {4, 252, 7}));    // 14/4 = 3.5 rounds up
    EXPECT_EQ(Bgr(*dst, 1, 1), (std::array<int, 3> {6, 249, 7}));    // 23/4 = 5.75
}

TEST(GdiStretch, ShrinkByThreeWeighsPartlyCoveredPixels)
{
    // 3 -> 2: the middle source pixel is shared half and half.
    BitmapPtr src = Make(3, 1, 24);
    SetBgr(*src, 0, 0, 0, 90, 255);
    SetBgr(*src, 1, 0, 60, 90, 255);
    SetBgr(*src, 2, 0, 120, 90, 255);
    BitmapPtr dst = Make(2, 1, 24);
    ASSERT_EQ(StretchBlt(dst.get(), 0, 0, 2, 1, src.get(), 0, 0, 3, 1), 1);
    EXPECT_EQ(Bgr(*dst, 0, 0), (std::array<int, 3> {20, 90, 255}));   // (0*2 + 60)/3
    EXPECT_EQ(Bgr(*dst, 1, 0), (std::array<int, 3> {100, 90, 255}));  // (60 + 120*2)/3
}

TEST(GdiStretch, EnlargeInterpolatesBetweenPixelCentres)
{
    BitmapPtr src = Make(2, 1, 24);
    SetBgr(*src, 0, 0, 0, 0, 0);
    SetBgr(*src, 1, 0, 255, 255, 255);
    BitmapPtr dst = Make(8, 3, 24);
    ASSERT_EQ(StretchBlt(dst.get(), 0, 0, 8, 3, src.get(), 0, 0, 2, 1), 1);
    const int expected[8] = {0, 0, 32, 96, 159, 223, 255, 255};
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ(Bgr(*dst, x, y)[1], expected[x]) << x << "," << y;
}

TEST(GdiStretch, EqualSizeIsAnExactCopyAndOneAxisMayStayUnscaled)
{
    BitmapPtr src = Make(7, 5, 24);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x)
            SetBgr(*src, x, y, x * 37 % 256, y * 51 % 256, (x * y * 13) % 256);
    BitmapPtr copy = Make(7, 5, 24);
    ASSERT_EQ(StretchBlt(copy.get(), 0, 0, 7, 5, src.get(), 0, 0, 7, 5), 1);
    BitmapPtr wide = Make(14, 5, 24);
    ASSERT_EQ(StretchBlt(wide.get(), 0, 0, 14, 5, src.get(), 0, 0, 7, 5), 1);
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 7; ++x)
            EXPECT_EQ(Bgr(*copy, x, y), Bgr(*src, x, y));
        // Enlarging only across keeps each row's end pixels exactly.
        EXPECT_EQ(Bgr(*wide, 0, y), Bgr(*src, 0, y));
        EXPECT_EQ(Bgr(*wide, 13, y), Bgr(*src, 6, y));
    }
}

TEST(GdiStretch, UniformPicturesStayUniformAtAnyScale)
{
    BitmapPtr src = Make(97, 61, 24);
    FillRect(src.get(), 0, 0, 97, 61, 201, 13, 255);
    for (auto [w, h] : {std::pair {13, 7}, {200, 150}, {97, 3}, {1, 1}, {300, 20}}) {
        BitmapPtr dst = Make(w, h, 32);
        ASSERT_EQ(StretchBlt(dst.get(), 0, 0, w, h, src.get(), 0, 0, 97, 61), 1);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                ASSERT_EQ(Bgr(*dst, x, y), (std::array<int, 3> {255, 13, 201})) << w << "x" << h;
    }
}

TEST(GdiStretch, PaletteSourceAndClippedDestination)
{
    BitmapPtr src = Make(2, 2, 8, {{0, 0, 0, 0}, {200, 100, 50, 0}});
    for (int y = 0; y < 2; ++y)
        src->RowFromTop(y)[0] = src->RowFromTop(y)[1] = 1;
    BitmapPtr dst = Make(4, 4, 24);
    ASSERT_EQ(StretchBlt(dst.get(), 2, -2, 4, 4, src.get(), 0, 0, 2, 2), 1);
    EXPECT_EQ(Bgr(*dst, 3, 1), (std::array<int, 3> {200, 100, 50}));
    EXPECT_EQ(Bgr(*dst, 1, 1), (std::array<int, 3> {0, 0, 0}));
    EXPECT_EQ(Bgr(*dst, 3, 2), (std::array<int, 3> {0, 0, 0}));
    EXPECT_EQ(StretchBlt(dst.get(), 0, 0, 4, 4, src.get(), 1, 0, 2, 2), 0);  // source rectangle outside
    EXPECT_EQ(StretchBlt(dst.get(), 0, 0, -4, 4, src.get(), 0, 0, 2, 2), 0);
}

TEST(DibBitmap, LoadRgbKeepsTheWidthFlipsRowsAndSwapsRedAndBlue)
{
    std::vector<uint8_t> rgb(101 * 2 * 3, 0);
    rgb[0] = 10;  // top-left red
    rgb[1] = 20;
    rgb[2] = 30;
    rgb[101 * 3] = 99;  // bottom-left red
    CDibBitmap dib;
    dib.LoadRgb(rgb.data(), 101, 2);
    ASSERT_NE(dib.m_handle, nullptr);
    BITMAP info;
    GetObject(dib.m_handle, &info);
    EXPECT_EQ(info.bmWidth, 101);
    EXPECT_EQ(info.bmWidthBytes, 304);  // rows padded to 4 bytes, not widened
    EXPECT_EQ(info.bmHeight, 2);
    EXPECT_EQ(dib.m_width, 101);
    const uint8_t* secondRow = dib.m_bits + 304;
    EXPECT_EQ(secondRow[0], 30);
    EXPECT_EQ(secondRow[1], 20);
    EXPECT_EQ(secondRow[2], 10);
    EXPECT_EQ(dib.m_bits[2], 99);
}

TEST(DibBitmap, CreateAgainReplacesTheSectionAndFailureLeavesNoHandle)
{
    CDibBitmap dib;
    EXPECT_EQ(dib.Create(8, 8), 1);
    HBITMAP first = dib.m_handle;
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(dib.Create(4, 4), 1);
    EXPECT_NE(dib.m_handle, nullptr);
    EXPECT_EQ(dib.m_width, 4);
    EXPECT_EQ(dib.Create(100000, 100000), 1);
    EXPECT_EQ(dib.m_handle, nullptr);
    EXPECT_EQ(dib.m_bits, nullptr);
    EXPECT_EQ(BitmapFromRgb(nullptr, 100000, 100000), nullptr);
}

TEST(DibBitmap, CopyAndStretchMayReadTheirOwnSection)
{
    CDibBitmap dib;
    const uint8_t rgb[] = {1, 2, 3, 4, 5, 6};
    dib.LoadRgb(rgb, 2, 1);
    dib.StretchFrom(dib.m_handle, 8, 2);
    ASSERT_NE(dib.m_handle, nullptr);
    EXPECT_EQ(dib.m_width, 8);
    EXPECT_EQ(Bgr(*dib.m_handle, 0, 1), (std::array<int, 3> {3, 2, 1}));
    dib.CopyFrom(dib.m_handle);
    ASSERT_NE(dib.m_handle, nullptr);
    EXPECT_EQ(Bgr(*dib.m_handle, 0, 0), (std::array<int, 3> {3, 2, 1}));
    dib.CopyFrom(nullptr);
    EXPECT_EQ(dib.m_handle, nullptr);
}

TEST(DibBitmap, CopyFromExpandsPaletteBitmapAtItsOwnWidth)
{
    BitmapPtr src = Make(5, 1, 4, {{1, 2, 3, 0}, {4, 5, 6, 0}});
    src->RowFromTop(0)[0] = 0x01;
    src->RowFromTop(0)[1] = 0x10;
    src->RowFromTop(0)[2] = 0x10;
    CDibBitmap dib;
    dib.CopyFrom(src.get());
    BITMAP info;
    ASSERT_EQ(GetObject(dib.m_handle, &info), int(sizeof(BITMAP)));
    EXPECT_EQ(info.bmBitsPixel, 24);
    EXPECT_EQ(info.bmWidth, 5);
    EXPECT_EQ(Bgr(*dib.m_handle, 0, 0), (std::array<int, 3> {1, 2, 3}));
    EXPECT_EQ(Bgr(*dib.m_handle, 1, 0), (std::array<int, 3> {4, 5, 6}));
    EXPECT_EQ(Bgr(*dib.m_handle, 4, 0), (std::array<int, 3> {4, 5, 6}));
}

TEST(GrowBuffer, GrowsByWholeStepsAndKeepsContents)
{
    CGrowBuffer buffer(10);
    EXPECT_EQ(buffer.m_capacity, 0);
    EXPECT_EQ(buffer.Append("abcd", 4), 1);
    EXPECT_EQ(buffer.m_capacity, 10);
    EXPECT_EQ(buffer.Append("efghijklmnopqrstuvw", 19), 1);
    EXPECT_EQ(buffer.m_capacity, 30);
    EXPECT_EQ(buffer.m_used, 23);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer.m_data), 23), "abcdefghijklmnopqrstuvw");
}

TEST(GrowBuffer, RefusesWhatCannotFitAndNeverLoopsOnAZeroStep)
{
    CGrowBuffer zero(0);
    EXPECT_EQ(zero.Append("xyz", 3), 1);
    EXPECT_EQ(zero.m_capacity, 3);
    CGrowBuffer buffer(1 << 30);
    EXPECT_EQ(buffer.Append("a", 1), 1);
    EXPECT_EQ(buffer.Append("b", -1), 0);
    buffer.m_used = 0x7ffffff0;  // as if nearly full: growing past 2 GiB is refused
    EXPECT_EQ(buffer.Append("0123456789abcdefghij", 20), 0);
    EXPECT_EQ(buffer.m_capacity, 1 << 30);
    buffer.m_used = 1;
}

struct ThumbCase {
    int width, height;
    int x, y, w, h;  // where the picture lands in the 42 x 30 thumbnail
};

class ThumbnailPlacement : public testing::TestWithParam<ThumbCase> { };

TEST_P(ThumbnailPlacement, PictureIsCentredWithWhiteBars)
{
    const ThumbCase c = GetParam();
    CImageItem item;
    CDibBitmap black;  // the exact width: Create would pad it
    black.Create(c.width, c.height);
    item.m_fullBitmap = black.Detach();
    ASSERT_EQ(MakeThumbnail(item), 1);
    EXPECT_EQ(item.m_fullBitmap, nullptr);
    ASSERT_NE(item.m_thumbnail, nullptr);
    BITMAP info;
    GetObject(item.m_thumbnail, &info);
    ASSERT_EQ(info.bmWidth, 42);
    ASSERT_EQ(info.bmHeight, 30);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 42; ++x) {
            const bool inside = x >= c.x && x < c.x + c.w && y >= c.y && y < c.y + c.h;
            const int expected = inside ? 0 : 255;
            ASSERT_EQ(Bgr(*item.m_thumbnail, x, y), (std::array<int, 3> {expected, expected, expected}))
                << x << "," << y;
        }
}

INSTANTIATE_TEST_SUITE_P(Sizes, ThumbnailPlacement,
                         testing::Values(ThumbCase {400, 300, 0, 0, 42, 30}, ThumbCase {1000, 100, 0, 13, 42, 4},
                                         ThumbCase {100, 1000, 19, 0, 3, 30}, ThumbCase {42, 30, 0, 0, 42, 30},
                                         ThumbCase {30, 30, 6, 0, 30, 30}));

TEST(Thumbnail, ReplacesAnEarlierThumbnailAndRefusesAnEmptyItem)
{
    CImageItem item;
    EXPECT_EQ(MakeThumbnail(item), 0);
    EXPECT_EQ(item.m_thumbnail, nullptr);
    const uint8_t rgb[12] = {};
    item.m_fullBitmap = BitmapFromRgb(rgb, 2, 2);
    ASSERT_EQ(MakeThumbnail(item), 1);
    item.m_fullBitmap = BitmapFromRgb(rgb, 2, 2);
    ASSERT_EQ(MakeThumbnail(item), 1);  // the first thumbnail is freed (checked under the leak sanitizer)
    EXPECT_NE(item.m_thumbnail, nullptr);
}

TEST(Thumbnail, PictureHeldByAHolderIsReleasedThroughIt)
{
    CImageItem item;
    item.m_shrinkCopy->Create(80, 60);
    item.m_fullBitmap = item.m_shrinkCopy->m_handle;
    ASSERT_EQ(MakeThumbnail(item), 1);
    EXPECT_EQ(item.m_shrinkCopy->m_handle, nullptr);
    EXPECT_EQ(item.m_fullBitmap, nullptr);
}
