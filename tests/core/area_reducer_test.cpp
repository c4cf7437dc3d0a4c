// The area reducer's grouped forms (runs of equal rows, solid rows, a span of
// pixels in a fill colour) give exactly what adding every row whole gives.
#include "image/area_reducer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

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
