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
using Bgr = std::array<int, 3>;
using Rows = std::vector<std::vector<Bgr>>;

BitmapPtr Make(int width, int height, int bpp, std::vector<RGBQUAD> palette = {})
{
    const BITMAPINFOHEADER header {40, width, height, 1, uint16_t(bpp)};
    return BitmapPtr(CreateDIBSection(header, palette.data(), int(palette.size()), nullptr));
}

// A 24-bit bitmap of the given rows, top first.
BitmapPtr Of(const Rows& rows)
{
    BitmapPtr b = Make(int(rows[0].size()), int(rows.size()), 24);
    for (size_t y = 0; y < rows.size(); ++y)
        for (size_t x = 0; x < rows[y].size(); ++x)
            std::copy(rows[y][x].begin(), rows[y][x].end(), b->RowFromTop(int(y)) + x * 3);
    return b;
}

Rows Pixels(const CBitmapObject& b)
{
    Rows rows(size_t(b.Height()));
    for (size_t y = 0; y < rows.size(); ++y)
        for (const uint8_t* p = b.RowFromTop(int(y)); rows[y].size() < size_t(b.Width()); p += b.BitsPerPixel() / 8)
            rows[y].push_back({p[0], p[1], p[2]});
    return rows;
}

}  // namespace

TEST(GdiBitmap, RowsArePaddedToFourBytesForEveryDepthAndBadHeadersAreRefused)
{
    for (auto [bpp, stride] : {std::pair {1, 4}, {4, 4}, {8, 8}, {16, 12}, {24, 16}, {32, 20}}) {
        BitmapPtr b = Make(5, 3, bpp);
        BITMAP info;
        ASSERT_EQ(GetObject(b.get(), &info), int(sizeof(BITMAP))) << bpp;
        EXPECT_EQ(std::tuple(info.bmWidthBytes, info.bmBitsPixel, info.bmWidth, info.bmHeight),
                  std::tuple(stride, bpp, 5, 3));
    }
    EXPECT_FALSE(Make(0, 10, 24));
    EXPECT_FALSE(Make(10, -10, 24));  // top-down sections are not made
    EXPECT_FALSE(Make(10, 10, 12));
    EXPECT_FALSE(Make(100000, 100000, 24));
    EXPECT_EQ(CreateBitmap(1 << 20, 1 << 10, 1, 32, nullptr), nullptr);
    EXPECT_EQ(CreateBitmap(4, 4, 2, 24, nullptr), nullptr);
    BITMAP info;
    EXPECT_EQ(GetObject(nullptr, &info), 0);
}

// Every source depth to 24 and 32 bits: palette indices packed high bits
// first (an index past the palette reads as black), 16 bits as 5-5-5 widened
// to the full range, 32 bits without the fourth byte.
TEST(GdiBlit, EveryDepthConvertsTo24And32BitsAndTheCopyIsClippedToBothBitmaps)
{
    const std::vector<RGBQUAD> palette = {{10, 20, 30, 0}, {40, 50, 60, 0}, {70, 80, 90, 0}};
    const Bgr c0 = {10, 20, 30}, c1 = {40, 50, 60}, c2 = {70, 80, 90}, black = {0, 0, 0};
    const uint16_t mixed = (31 << 10) | (16 << 5) | 1;  // red 31, green 16, blue 1
    const struct {
        int bpp;
        std::vector<uint8_t> row;
        std::vector<Bgr> expected;
    } cases[] = {
        {1, {0xA0}, {c1, c0, c1}},
        {4, {0x21, 0x00}, {c2, c1, c0}},
        {8, {2, 7, 1}, {c2, black, c1}},
        {16, {0xFF, 0x7F, uint8_t(mixed), uint8_t(mixed >> 8), 0, 0}, {{255, 255, 255}, {8, 132, 255}, black}},
        {32, {1, 2, 3, 0xEE, 4, 5, 6, 0xEE, 7, 8, 9, 0xEE}, {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}},
    };
    for (const auto& c : cases) {
        BitmapPtr src = Make(3, 1, c.bpp, c.bpp >= 16 ? std::vector<RGBQUAD> {} : palette);
        std::copy(c.row.begin(), c.row.end(), src->RowFromTop(0));
        for (int depth : {24, 32}) {
            BitmapPtr out = Make(3, 1, depth);
            ASSERT_EQ(BitBlt(out.get(), 0, 0, 3, 1, src.get(), 0, 0), 1);
            EXPECT_EQ(Pixels(*out), Rows {c.expected}) << c.bpp << " to " << depth;
        }
    }
    Rows rows(3, std::vector<Bgr>(3));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x)
            rows[size_t(y)][size_t(x)] = {x, y, 100 + x + 10 * y};
    BitmapPtr src = Of(rows);
    BitmapPtr dst = Make(2, 2, 24);
    // Source origin at (-1,-1): only source (0..1, 0..1) lands, at dst (1..,1..).
    ASSERT_EQ(BitBlt(dst.get(), 0, 0, 5, 5, src.get(), -1, -1), 1);
    EXPECT_EQ(Pixels(*dst), (Rows {{{0, 0, 0}, {0, 0, 0}}, {{0, 0, 0}, {0, 0, 100}}}));
    ASSERT_EQ(BitBlt(dst.get(), -1, 0, 3, 2, src.get(), 1, 1), 1);
    // (1, 1) untouched: clipped by the source.
    EXPECT_EQ(Pixels(*dst), (Rows {{{2, 1, 112}, {0, 0, 0}}, {{2, 2, 122}, {0, 0, 100}}}));
    EXPECT_EQ(BitBlt(dst.get(), 0, 0, 1, 1, nullptr, 0, 0), 0);
}

// Shrinking averages each covered block, weighing partly covered pixels
// (3 -> 2: the middle one is shared half and half) and rounding half up;
// enlarging interpolates between pixel centres, also along one axis alone.
TEST(GdiStretch, ShrinkAveragesEnlargeInterpolatesAndAPaletteSourceIsClipped)
{
    const auto grey = [](std::vector<int> values) {
        std::vector<Bgr> row;
        for (int v : values)
            row.push_back({v, 255 - v, 7});
        return row;
    };
    const std::vector<Bgr> ramp = grey({0, 0, 32, 96, 159, 223, 255, 255});
    const Rows square = {grey({0, 10, 100, 200}), grey({20, 30, 50, 51}), grey({1, 2, 3, 4}), grey({5, 6, 7, 9})};
    const struct {
        int width, height;
        Rows src, expected;
    } cases[] = {
        {2, 2, square, {grey({15, 100}), {{4, 252, 7}, {6, 249, 7}}}},  // 60/4, 401/4, 14/4 = 3.5, 23/4
        {2, 1, {grey({0, 60, 120})}, {grey({20, 100})}},
        {8, 2, {grey({0, 255})}, {ramp, ramp}},
        {8, 2, {grey({0, 255}), grey({0, 255})}, {ramp, ramp}},
        {3, 2, {grey({0, 10, 100}), grey({5, 6, 7})}, {grey({0, 10, 100}), grey({5, 6, 7})}},  // an exact copy
    };
    for (const auto& c : cases) {
        BitmapPtr src = Of(c.src);
        BitmapPtr dst = Make(c.width, c.height, 24);
        ASSERT_EQ(StretchBlt(dst.get(), 0, 0, c.width, c.height, src.get(), 0, 0, src->Width(), src->Height()), 1);
        EXPECT_EQ(Pixels(*dst), c.expected) << c.width << "x" << c.height;
    }
    BitmapPtr src = Make(2, 2, 8, {{0, 0, 0, 0}, {200, 100, 50, 0}});
    for (int y = 0; y < 2; ++y)
        src->RowFromTop(y)[0] = src->RowFromTop(y)[1] = 1;
    BitmapPtr dst = Make(4, 4, 24);
    ASSERT_EQ(StretchBlt(dst.get(), 2, -2, 4, 4, src.get(), 0, 0, 2, 2), 1);
    const Bgr o = {0, 0, 0}, c = {200, 100, 50};
    EXPECT_EQ(Pixels(*dst), (Rows {{o, o, c, c}, {o, o, c, c}, {o, o, o, o}, {o, o, o, o}}));
    EXPECT_EQ(StretchBlt(dst.get(), 0, 0, 4, 4, src.get(), 1, 0, 2, 2), 0);  // source rectangle outside
    EXPECT_EQ(StretchBlt(dst.get(), 0, 0, -4, 4, src.get(), 0, 0, 2, 2), 0);
}

// LoadRgb's row order and padding are proven through the saved files
// (ExportTest.JpegIsBaselineJfifAtFullQuality, BmpLayoutForEachDepth), the
// expansion of a palette source by GdiBlit and the loader's 8-bit BMPs.
TEST(DibBitmap, EveryFormReplacesTheSectionEvenFromItself)
{
    CDibBitmap dib;
    EXPECT_EQ(dib.Create(8, 8), 1);
    EXPECT_EQ(dib.Create(4, 4), 1);
    EXPECT_EQ(dib.m_width, 4);
    EXPECT_EQ(dib.Create(100000, 100000), 1);
    EXPECT_EQ(std::pair(dib.m_handle, dib.m_bits), std::pair(HBITMAP(nullptr), static_cast<uint8_t*>(nullptr)));
    EXPECT_EQ(BitmapFromRgb(nullptr, 100000, 100000), nullptr);
    const uint8_t two[] = {1, 2, 3, 4, 5, 6};
    dib.LoadRgb(two, 2, 1);
    dib.StretchFrom(dib.m_handle, 8, 2);
    ASSERT_NE(dib.m_handle, nullptr);
    EXPECT_EQ(dib.m_width, 8);
    EXPECT_EQ(Pixels(*dib.m_handle)[1][0], (Bgr {3, 2, 1}));  // red and blue swapped
    dib.CopyFrom(dib.m_handle);
    ASSERT_NE(dib.m_handle, nullptr);
    EXPECT_EQ(Pixels(*dib.m_handle)[0][0], (Bgr {3, 2, 1}));
    dib.CopyFrom(nullptr);
    EXPECT_EQ(dib.m_handle, nullptr);
}

TEST(Thumbnail, PictureIsCentredWithWhiteBarsAndReplacesAnEarlierOne)
{
    const struct {
        int width, height;
        int x, y, w, h;  // where the picture lands in the 42 x 30 thumbnail
    } cases[] = {{400, 300, 0, 0, 42, 30},
                 {1000, 140, 0, 12, 42, 5},  // 5.88 rows, truncated
                 {100, 1000, 19, 0, 3, 30},
                 {42, 30, 0, 0, 42, 30},
                 {30, 30, 6, 0, 30, 30}};
    CImageItem item;
    EXPECT_EQ(MakeThumbnail(item.m_picture), 0);  // nothing to make it from
    EXPECT_EQ(item.m_picture.m_thumbnail, nullptr);
    for (const auto& c : cases) {  // each replaces the one before (checked under the leak sanitizer)
        CDibBitmap black;          // the exact width: Create would pad it
        black.Create(c.width, c.height);
        item.m_picture.m_fullBitmap = black.Detach();
        ASSERT_EQ(MakeThumbnail(item.m_picture), 1);
        EXPECT_EQ(item.m_picture.m_fullBitmap, nullptr);
        Rows expected(30, std::vector<Bgr>(42, {255, 255, 255}));
        for (int y = c.y; y < c.y + c.h; ++y)
            std::fill_n(expected[size_t(y)].begin() + c.x, c.w, Bgr {0, 0, 0});
        EXPECT_EQ(Pixels(*item.m_picture.m_thumbnail), expected) << c.width << "x" << c.height;
    }
    // A picture held in the shrink copy is released.
    item.m_picture.m_shrinkCopy->Create(80, 60);
    item.m_picture.m_fullBitmap = item.m_picture.m_shrinkCopy->m_handle;
    ASSERT_EQ(MakeThumbnail(item.m_picture), 1);
    EXPECT_EQ(item.m_picture.m_shrinkCopy->m_handle, nullptr);
    EXPECT_EQ(item.m_picture.m_fullBitmap, nullptr);
}
