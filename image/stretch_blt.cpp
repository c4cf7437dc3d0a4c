// StretchBlt: separable resampling with precomputed fixed-point weights.
// Each axis on its own shrinks by area averaging, enlarges bilinearly, or
// copies. Rows are resampled horizontally once each into 16-bit values with
// six extra bits of precision, then combined vertically.
#include "image/gdi.h"

#include "image/gdi_rows.h"

#include <algorithm>
#include <vector>

namespace {

constexpr int kWeightBits = 14;
constexpr int32_t kWeightOne = 1 << kWeightBits;
// Horizontal sums drop 8 of their 14 weight bits, keeping 6 for the vertical pass.
constexpr int kHorizontalShift = 8;
constexpr int kVerticalShift = 2 * kWeightBits - kHorizontalShift;

// For each destination index of one axis: the source taps and their weights,
// which sum to kWeightOne.
struct CAxisWeights {
    std::vector<int> first;  // first tap of each destination index
    std::vector<int> source; // tap source indices (relative to the rectangle)
    std::vector<int32_t> weight;
};

void AddTap(CAxisWeights& axis, int64_t source, int64_t weight)
{
    if (weight == 0)
        return;
    axis.source.push_back(int(source));
    axis.weight.push_back(int32_t(weight));
}

// Destination index i covers source span [i*srcLen, (i+1)*srcLen) measured in
// units of 1/dstLen source pixel; each source pixel weighs by its overlap.
void AddAreaTaps(CAxisWeights& axis, int64_t i, int64_t srcLen, int64_t dstLen)
{
    const int64_t lo = i * srcLen, hi = lo + srcLen;
    const size_t begin = axis.weight.size();
    int64_t total = 0;
    for (int64_t j = lo / dstLen; j * dstLen < hi; ++j) {
        const int64_t overlap = std::min((j + 1) * dstLen, hi) - std::max(j * dstLen, lo);
        const int64_t w = (overlap * kWeightOne + srcLen / 2) / srcLen;
        total += w;
        // Zero weights are kept here so the heaviest tap below always exists.
        axis.source.push_back(int(j));
        axis.weight.push_back(int32_t(w));
    }
    // Rounding leftovers go to the heaviest tap so the weights sum exactly.
    auto heaviest = std::max_element(axis.weight.begin() + begin, axis.weight.end());
    *heaviest += int32_t(kWeightOne - total);
}

// Destination pixel centres mapped onto source pixel centres, clamped at the edges.
void AddBilinearTaps(CAxisWeights& axis, int64_t i, int64_t srcLen, int64_t dstLen)
{
    const int64_t num = (2 * i + 1) * srcLen - dstLen;
    int64_t j = 0, frac = 0;
    if (num > 0) {
        j = num / (2 * dstLen);
        frac = ((num % (2 * dstLen)) * kWeightOne + dstLen) / (2 * dstLen);
    }
    if (j >= srcLen - 1) {
        j = srcLen - 1;
        frac = 0;
    }
    AddTap(axis, j, kWeightOne - frac);
    AddTap(axis, j + 1, frac);
}

CAxisWeights MakeWeights(int64_t srcLen, int64_t dstLen, int64_t begin, int64_t end)
{
    CAxisWeights axis;
    axis.first.reserve(size_t(end - begin + 1));
    for (int64_t i = begin; i < end; ++i) {
        axis.first.push_back(int(axis.source.size()));
        if (dstLen < srcLen)
            AddAreaTaps(axis, i, srcLen, dstLen);
        else if (dstLen > srcLen)
            AddBilinearTaps(axis, i, srcLen, dstLen);
        else
            AddTap(axis, i, kWeightOne);
    }
    axis.first.push_back(int(axis.source.size()));
    return axis;
}

template <int Bpp>
void ResampleRow(const uint8_t* in, const CAxisWeights& axis, uint16_t* out)
{
    const size_t count = axis.first.size() - 1;
    for (size_t x = 0; x < count; ++x, out += 3) {
        int32_t b = 0, g = 0, r = 0;
        for (int t = axis.first[x]; t < axis.first[x + 1]; ++t) {
            const uint8_t* p = in + axis.source[t] * Bpp;
            const int32_t w = axis.weight[t];
            b += p[0] * w;
            g += p[1] * w;
            r += p[2] * w;
        }
        constexpr int32_t half = 1 << (kHorizontalShift - 1);
        out[0] = uint16_t((b + half) >> kHorizontalShift);
        out[1] = uint16_t((g + half) >> kHorizontalShift);
        out[2] = uint16_t((r + half) >> kHorizontalShift);
    }
}

// Horizontally resampled source rows, the two most recent kept: consecutive
// destination rows share at most their boundary rows, in increasing order.
class CRowCache {
public:
    CRowCache(const CBitmapObject& src, int sx, int sy, int sw, const CAxisWeights& axis)
        : m_src(src)
        , m_sx(sx)
        , m_sy(sy)
        , m_axis(axis)
        , m_width(axis.first.size() - 1)
    {
        for (auto& slot : m_slots)
            slot.values.resize(m_width * 3);
        const int bpp = src.BitsPerPixel();
        if (bpp != 24 && bpp != 32)
            m_scratch.resize(size_t(sw) * 3);
    }

    const uint16_t* Row(int j)
    {
        for (auto& slot : m_slots)
            if (slot.row == j)
                return slot.values.data();
        Slot& slot = m_slots[0].row < m_slots[1].row ? m_slots[0] : m_slots[1];
        slot.row = j;
        const int y = m_sy + j;
        if (!m_scratch.empty()) {
            ConvertRowToBgr(m_src, y, m_sx, int(m_scratch.size() / 3), m_scratch.data(), 3);
            ResampleRow<3>(m_scratch.data(), m_axis, slot.values.data());
        } else if (m_src.BitsPerPixel() == 24) {
            ResampleRow<3>(m_src.RowFromTop(y) + size_t(m_sx) * 3, m_axis, slot.values.data());
        } else {
            ResampleRow<4>(m_src.RowFromTop(y) + size_t(m_sx) * 4, m_axis, slot.values.data());
        }
        return slot.values.data();
    }

private:
    struct Slot {
        int row = -1;
        std::vector<uint16_t> values;
    };
    const CBitmapObject& m_src;
    int m_sx;
    int m_sy;
    const CAxisWeights& m_axis;
    size_t m_width;
    Slot m_slots[2];
    std::vector<uint8_t> m_scratch;
};

void WriteRow(const int32_t* acc, size_t values, uint8_t* out, int bytes)
{
    constexpr int32_t half = 1 << (kVerticalShift - 1);
    for (size_t k = 0; k < values; k += 3, out += bytes) {
        out[0] = uint8_t(std::min((acc[k] + half) >> kVerticalShift, 255));
        out[1] = uint8_t(std::min((acc[k + 1] + half) >> kVerticalShift, 255));
        out[2] = uint8_t(std::min((acc[k + 2] + half) >> kVerticalShift, 255));
        if (bytes == 4)
            out[3] = 0;
    }
}

} // namespace

int StretchBlt(HBITMAP dst, int dx, int dy, int dw, int dh, HBITMAP src, int sx, int sy, int sw, int sh)
{
    if (!dst || !src || !dst->Valid() || !src->Valid())
        return 0;
    if (dst->BitsPerPixel() != 24 && dst->BitsPerPixel() != 32)
        return 0;
    if (dw < 1 || dh < 1 || sw < 1 || sh < 1 || sx < 0 || sy < 0 || int64_t(sx) + sw > src->Width()
        || int64_t(sy) + sh > src->Height())
        return 0;
    if (dw == sw && dh == sh)
        return BitBlt(dst, dx, dy, dw, dh, src, sx, sy);

    // Only the part of the destination rectangle inside the bitmap is computed.
    const int64_t x0 = std::max<int64_t>(0, -int64_t(dx)), x1 = std::min<int64_t>(dw, int64_t(dst->Width()) - dx);
    const int64_t y0 = std::max<int64_t>(0, -int64_t(dy)), y1 = std::min<int64_t>(dh, int64_t(dst->Height()) - dy);
    if (x0 >= x1 || y0 >= y1)
        return 1;
    const CAxisWeights horizontal = MakeWeights(sw, dw, x0, x1);
    const CAxisWeights vertical = MakeWeights(sh, dh, y0, y1);
    CRowCache rows(*src, sx, sy, sw, horizontal);
    const size_t values = size_t(x1 - x0) * 3;
    std::vector<int32_t> acc(values);
    const int bytes = dst->BitsPerPixel() / 8;
    for (int64_t y = y0; y < y1; ++y) {
        const size_t i = size_t(y - y0);
        std::fill(acc.begin(), acc.end(), 0);
        for (int t = vertical.first[i]; t < vertical.first[i + 1]; ++t) {
            const uint16_t* row = rows.Row(vertical.source[t]);
            const int32_t w = vertical.weight[t];
            for (size_t k = 0; k < values; ++k)
                acc[k] += row[k] * w;
        }
        WriteRow(acc.data(), values, dst->RowFromTop(int(dy + y)) + (dx + x0) * bytes, bytes);
    }
    return 1;
}
