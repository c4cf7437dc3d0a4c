// StretchBlt: separable resampling with precomputed fixed-point weights.
// Each axis on its own shrinks by area averaging, enlarges bilinearly, or
// copies. The first pass keeps six bits beyond 8-bit precision in 16-bit
// values; the second pass rounds to the final bytes. When the height shrinks
// the rows are combined first, so the costlier horizontal pass runs only on
// destination rows; otherwise each source row is resampled across once.
#include "image/gdi.h"

#include "image/gdi_rows.h"

#include <algorithm>
#include <vector>

// The row loops below run over every pixel of every rescale. GCC's cheapest
// vectorizer model, the one -O2 uses, leaves them scalar.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC optimize("vect-cost-model=dynamic")
#endif

namespace {

constexpr int kWeightBits = 14;
constexpr int32_t kWeightOne = 1 << kWeightBits;
constexpr int kFirstShift = 8;  // 14 weight bits less 6 kept for the second pass
constexpr int kSecondShift = 2 * kWeightBits - kFirstShift;

int32_t FirstPass(int32_t sum)
{
    return (sum + (1 << (kFirstShift - 1))) >> kFirstShift;
}
uint8_t SecondPass(int32_t sum)
{
    return uint8_t(std::min((sum + (1 << (kSecondShift - 1))) >> kSecondShift, 255));
}

// For each destination index of one axis: the source taps and their weights,
// which sum to kWeightOne. Bilinear axes have exactly two taps per index.
struct CAxisWeights {
    std::vector<int> first;   // first tap of each destination index, plus the end
    std::vector<int> source;  // tap source indices (relative to the rectangle)
    std::vector<int32_t> weight;
    bool twoTaps = false;
    size_t Count() const { return first.size() - 1; }
};

void AddTap(CAxisWeights& axis, int64_t source, int64_t weight)
{
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
        AddTap(axis, j, w);
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
    AddTap(axis, std::min(j + 1, srcLen - 1), frac);
}

CAxisWeights MakeWeights(int64_t srcLen, int64_t dstLen, int64_t begin, int64_t end)
{
    CAxisWeights axis;
    axis.twoTaps = dstLen > srcLen;
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

// Resamples one row across: in holds pixels Stride values apart; sink(x, b, g, r)
// receives each destination pixel's weighted sums.
template <int Stride, typename In, typename Sink>
void ResampleAcross(const In* in, const CAxisWeights& axis, Sink&& sink)
{
    const size_t count = axis.Count();
    const int* source = axis.source.data();
    const int32_t* weight = axis.weight.data();
    if (axis.twoTaps) {
        for (size_t x = 0; x < count; ++x) {
            const In* p = in + size_t(source[2 * x]) * Stride;
            const In* q = in + size_t(source[2 * x + 1]) * Stride;
            const int32_t wp = weight[2 * x], wq = weight[2 * x + 1];
            sink(x, p[0] * wp + q[0] * wq, p[1] * wp + q[1] * wq, p[2] * wp + q[2] * wq);
        }
        return;
    }
    const int* first = axis.first.data();
    for (size_t x = 0; x < count; ++x) {
        int32_t b = 0, g = 0, r = 0;
        for (int t = first[x]; t < first[x + 1]; ++t) {
            const In* p = in + size_t(source[t]) * Stride;
            const int32_t w = weight[t];
            b += p[0] * w;
            g += p[1] * w;
            r += p[2] * w;
        }
        sink(x, b, g, r);
    }
}

// acc = sum of rows[t] * weights[t], over n values.
template <typename In>
void CombineRows(const In* const* rows, const int32_t* weights, int taps, size_t n, int32_t* __restrict acc)
{
    const In* __restrict row = rows[0];
    const int32_t w0 = weights[0];
    for (size_t k = 0; k < n; ++k)
        acc[k] = row[k] * w0;
    for (int t = 1; t < taps; ++t) {
        const In* __restrict next = rows[t];
        const int32_t w = weights[t];
        for (size_t k = 0; k < n; ++k)
            acc[k] += next[k] * w;
    }
}

// Source rows of the rectangle as 24- or 32-bit pixels: straight from the
// bitmap when it has one of those depths, else converted to 24 bits.
class CSourceRows {
public:
    CSourceRows(const CBitmapObject& src, int sx, int sy, int sw)
        : m_src(src)
        , m_sx(sx)
        , m_sy(sy)
        , m_sw(sw)
        , m_direct(src.BitsPerPixel() == 24 || src.BitsPerPixel() == 32)
    {
    }
    int Stride() const { return m_direct ? m_src.BitsPerPixel() / 8 : 3; }
    // The row's pixels; a converted row stays valid until the next call with the same slot.
    const uint8_t* Row(int j, int slot)
    {
        if (m_direct)
            return m_src.RowFromTop(m_sy + j) + size_t(m_sx) * Stride();
        std::vector<uint8_t>& scratch = m_scratch[slot];
        scratch.resize(size_t(m_sw) * 3);
        ConvertRowToBgr(m_src, m_sy + j, m_sx, m_sw, scratch.data(), 3);
        return scratch.data();
    }
    // Enough converted rows for `taps` rows at once.
    void Reserve(size_t taps) { m_scratch.resize(std::max(m_scratch.size(), taps)); }

private:
    const CBitmapObject& m_src;
    int m_sx, m_sy, m_sw;
    bool m_direct;
    std::vector<std::vector<uint8_t>> m_scratch;
};

size_t MaxTaps(const CAxisWeights& axis)
{
    size_t most = 1;
    for (size_t i = 0; i < axis.Count(); ++i)
        most = std::max(most, size_t(axis.first[i + 1] - axis.first[i]));
    return most;
}

template <int Stride> void ResampleToBytes(const uint16_t* in, const CAxisWeights& axis, uint8_t* out, int bytes)
{
    ResampleAcross<Stride>(in, axis, [&](size_t x, int32_t b, int32_t g, int32_t r) {
        uint8_t* p = out + x * bytes;
        p[0] = SecondPass(b);
        p[1] = SecondPass(g);
        p[2] = SecondPass(r);
        if (bytes == 4)
            p[3] = 0;
    });
}

// Rows combined first (the height shrinks): each destination row is a
// weighted sum of whole source rows, then resampled across.
void ShrinkRowsFirst(CSourceRows& rows, int sw, const CAxisWeights& across, const CAxisWeights& down, HBITMAP dst,
                     int64_t dx, int64_t dy)
{
    rows.Reserve(MaxTaps(down));
    const int stride = rows.Stride();
    const size_t n = size_t(sw) * stride;
    std::vector<int32_t> acc(n);
    std::vector<uint16_t> combined(n);
    std::vector<const uint8_t*> taps;
    const int bytes = dst->BitsPerPixel() / 8;
    for (size_t i = 0; i < down.Count(); ++i) {
        const int first = down.first[i], count = down.first[i + 1] - first;
        taps.clear();
        for (int t = 0; t < count; ++t)
            taps.push_back(rows.Row(down.source[first + t], t));
        CombineRows(taps.data(), &down.weight[first], count, n, acc.data());
        for (size_t k = 0; k < n; ++k)
            combined[k] = uint16_t(FirstPass(acc[k]));
        uint8_t* out = dst->RowFromTop(int(dy + int64_t(i))) + dx * bytes;
        if (stride == 4)
            ResampleToBytes<4>(combined.data(), across, out, bytes);
        else
            ResampleToBytes<3>(combined.data(), across, out, bytes);
    }
}

// Source rows resampled across first (the height grows or stays), each once;
// the two most recent are kept, as consecutive destination rows share them.
void ResampleRowsFirst(CSourceRows& rows, const CAxisWeights& across, const CAxisWeights& down, HBITMAP dst, int64_t dx,
                       int64_t dy)
{
    const size_t n = across.Count() * 3;
    struct Slot {
        int row = -1;
        std::vector<uint16_t> values;
    } slots[2];
    for (Slot& slot : slots)
        slot.values.resize(n);
    auto resampled = [&](int j) -> const uint16_t* {
        for (Slot& slot : slots)
            if (slot.row == j)
                return slot.values.data();
        Slot& slot = slots[0].row < slots[1].row ? slots[0] : slots[1];
        slot.row = j;
        uint16_t* out = slot.values.data();
        auto sink = [out](size_t x, int32_t b, int32_t g, int32_t r) {
            out[3 * x] = uint16_t(FirstPass(b));
            out[3 * x + 1] = uint16_t(FirstPass(g));
            out[3 * x + 2] = uint16_t(FirstPass(r));
        };
        if (rows.Stride() == 4)
            ResampleAcross<4>(rows.Row(j, 0), across, sink);
        else
            ResampleAcross<3>(rows.Row(j, 0), across, sink);
        return slot.values.data();
    };
    rows.Reserve(1);
    std::vector<int32_t> acc(n);
    const int bytes = dst->BitsPerPixel() / 8;
    for (size_t i = 0; i < down.Count(); ++i) {
        const int first = down.first[i], count = down.first[i + 1] - first;
        const uint16_t* taps[2] = {nullptr, nullptr};  // enlarging: one or two taps per row
        for (int t = 0; t < count; ++t)
            taps[t] = resampled(down.source[first + t]);
        CombineRows(taps, &down.weight[first], count, n, acc.data());
        uint8_t* out = dst->RowFromTop(int(dy + int64_t(i))) + dx * bytes;
        if (bytes == 3) {
            for (size_t k = 0; k < n; ++k)
                out[k] = SecondPass(acc[k]);
            continue;
        }
        for (size_t k = 0; k < n; k += 3, out += 4) {
            out[0] = SecondPass(acc[k]);
            out[1] = SecondPass(acc[k + 1]);
            out[2] = SecondPass(acc[k + 2]);
            out[3] = 0;
        }
    }
}

}  // namespace

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
    const CAxisWeights across = MakeWeights(sw, dw, x0, x1);
    const CAxisWeights down = MakeWeights(sh, dh, y0, y1);
    CSourceRows rows(*src, sx, sy, sw);
    if (dh < sh)
        ShrinkRowsFirst(rows, sw, across, down, dst, dx + x0, dy + y0);
    else
        ResampleRowsFirst(rows, across, down, dst, dx + x0, dy + y0);
    return 1;
}
