// The area reducer's grouped forms (runs of equal rows, solid rows, a span of
// pixels in a fill colour) give exactly what adding every row whole gives.
#include "image/area_reducer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

// Rows first .. first + count - 1 of a source: solid, a span in a fill
// colour, or one whole row repeated.
struct RowGroup {
    enum Kind { Solid, Span, Whole } kind;
    int first, count;
    int x0, n;                 // Span: the columns of the pixels (may reach outside)
    uint8_t fill[3];           // Solid, Span
    std::vector<uint8_t> rgb;  // Span: n pixels; Whole: the full row
};

// Deterministic groups covering every row of a width x height source.
std::vector<RowGroup> MakeGroups(int width, int height)
{
    std::vector<RowGroup> groups;
    uint32_t seed = uint32_t(width * 7919 + height);
    auto next = [&](uint32_t range) {
        seed = seed * 1664525u + 1013904223u;
        return (seed >> 8) % range;
    };
    for (int y = 0; y < height;) {
        RowGroup g {RowGroup::Kind(next(3)), y, std::min(int(1 + next(9)), height - y), 0, 0, {}, {}};
        for (uint8_t& c : g.fill)
            c = uint8_t(next(256));
        if (g.kind == RowGroup::Span) {
            g.x0 = int(next(uint32_t(width + 6))) - 3;
            g.n = int(next(uint32_t(width + 3)));
        } else if (g.kind == RowGroup::Whole) {
            g.n = width;
        }
        g.rgb.resize(size_t(g.n) * 3);
        for (uint8_t& c : g.rgb)
            c = uint8_t(next(256));
        groups.push_back(std::move(g));
        y += groups.back().count;
    }
    return groups;
}

// The plain form: every row of the group made whole and added alone.
void AddPlain(CAreaReducer& reducer, const RowGroup& g, int width)
{
    std::vector<uint8_t> row(size_t(width) * 3);
    for (int x = 0; x < width; ++x) {
        const int i = x - g.x0;
        const uint8_t* c = g.kind == RowGroup::Whole                       ? &g.rgb[size_t(x) * 3]
                           : g.kind == RowGroup::Span && i >= 0 && i < g.n ? &g.rgb[size_t(i) * 3]
                                                                           : g.fill;
        std::memcpy(&row[size_t(x) * 3], c, 3);
    }
    for (int y = g.first; y < g.first + g.count; ++y)
        reducer.AddRow(y, row.data());
}

void AddGrouped(CAreaReducer& reducer, const RowGroup& g)
{
    switch (g.kind) {
    case RowGroup::Solid:
        reducer.AddSolidRows(g.first, g.count, g.fill[0], g.fill[1], g.fill[2]);
        break;
    case RowGroup::Span:
        reducer.AddRowSpan(g.first, g.count, g.x0, g.n, g.rgb.data(), g.fill);
        break;
    case RowGroup::Whole:
        reducer.AddRows(g.first, g.count, g.rgb.data());
        break;
    }
}

std::vector<uint8_t> Reduce(int width, int height, int outWidth, int outHeight, bool inOrder, bool grouped)
{
    HBITMAP out = CreateBitmap(outWidth, outHeight, 1, 24, nullptr);
    CAreaReducer reducer;
    EXPECT_TRUE(reducer.Init(width, height, out, inOrder));
    std::vector<RowGroup> groups = MakeGroups(width, height);
    // Rows in any order must give the same result when the reducer keeps every cell.
    if (!inOrder)
        std::reverse(groups.begin(), groups.end());
    for (const RowGroup& g : groups)
        grouped ? AddGrouped(reducer, g) : AddPlain(reducer, g, width);
    reducer.Finish();
    std::vector<uint8_t> bits(out->Bits(), out->Bits() + size_t(out->Stride()) * outHeight);
    DeleteObject(out);
    return bits;
}

TEST(AreaReducer, GroupedRowsGiveExactlyWhatEveryRowAddedWholeGives)
{
    struct Case {
        int width, height, outWidth, outHeight;
    };
    const Case cases[] = {
        {1, 1, 1, 1},       {7, 5, 3, 2},    {100, 37, 13, 8}, {997, 1201, 40, 30},
        {33, 200, 33, 200}, {5000, 3, 7, 1}, {3, 5000, 1, 9},  {640, 480, 639, 479},
    };
    for (const Case& c : cases) {
        for (bool inOrder : {true, false}) {
            EXPECT_EQ(Reduce(c.width, c.height, c.outWidth, c.outHeight, inOrder, true),
                      Reduce(c.width, c.height, c.outWidth, c.outHeight, inOrder, false))
                << c.width << "x" << c.height << " to " << c.outWidth << "x" << c.outHeight
                << (inOrder ? " in order" : " in any order");
        }
    }
}

}  // namespace
