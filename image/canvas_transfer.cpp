#include "image/canvas_transfer.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define LUMO_TRANSFER_X86 1
#endif

namespace {

using Lanes = CCanvasTransfer::Lanes;
using Kernel = size_t (*)(const uint8_t*, uint8_t*, size_t, const Lanes&);

// A signed constant as the pair (add, subtract) of saturating byte operations.
void SplitConstant(int64_t value, uint8_t* add, uint8_t* sub)
{
    *add = uint8_t(std::clamp<int64_t>(value, 0, 255));
    *sub = uint8_t(std::clamp<int64_t>(-value, 0, 255));
}

Lanes LanesFor(int brightness, int contrast)
{
    // Positive contrast moves each side by the full amount; negative contrast
    // moves it by half toward the pivot and stops there.
    const int64_t step = contrast > 0 ? contrast : -(contrast / 2);
    Lanes lanes {};
    SplitConstant(int64_t(brightness) + (contrast > 0 ? step : -step), &lanes.highAdd, &lanes.highSub);
    SplitConstant(int64_t(brightness) - (contrast > 0 ? step : -step), &lanes.lowAdd, &lanes.lowSub);
    lanes.highFloor = contrast > 0 ? 0 : 128;
    lanes.lowCeiling = contrast > 0 ? 255 : 128;
    // v + brightness > 128 exactly when v > 128 - brightness; a pivot below 0
    // puts every value on the high side.
    const int64_t pivot = 128 - int64_t(brightness);
    lanes.pivot = uint8_t(std::clamp<int64_t>(pivot, 0, 255));
    lanes.lowSide = pivot < 0 ? 0 : 0xff;
    return lanes;
}

#ifdef LUMO_TRANSFER_X86

size_t ApplySse2(const uint8_t* in, uint8_t* out, size_t count, const Lanes& l)
{
    const __m128i pivot = _mm_set1_epi8(char(l.pivot));
    const __m128i highAdd = _mm_set1_epi8(char(l.highAdd)), highSub = _mm_set1_epi8(char(l.highSub));
    const __m128i lowAdd = _mm_set1_epi8(char(l.lowAdd)), lowSub = _mm_set1_epi8(char(l.lowSub));
    const __m128i highFloor = _mm_set1_epi8(char(l.highFloor)), lowCeiling = _mm_set1_epi8(char(l.lowCeiling));
    const __m128i zero = _mm_setzero_si128();
    const __m128i lowSide = _mm_set1_epi8(char(l.lowSide));
    size_t i = 0;
    for (; i + 16 <= count; i += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
        const __m128i high = _mm_max_epu8(_mm_subs_epu8(_mm_adds_epu8(v, highAdd), highSub), highFloor);
        const __m128i low = _mm_min_epu8(_mm_subs_epu8(_mm_adds_epu8(v, lowAdd), lowSub), lowCeiling);
        const __m128i isLow = _mm_and_si128(_mm_cmpeq_epi8(_mm_subs_epu8(v, pivot), zero), lowSide);
        const __m128i r = _mm_or_si128(_mm_and_si128(isLow, low), _mm_andnot_si128(isLow, high));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), r);
    }
    return i;
}

__attribute__((target("avx2"))) size_t ApplyAvx2(const uint8_t* in, uint8_t* out, size_t count, const Lanes& l)
{
    const __m256i pivot = _mm256_set1_epi8(char(l.pivot));
    const __m256i highAdd = _mm256_set1_epi8(char(l.highAdd)), highSub = _mm256_set1_epi8(char(l.highSub));
    const __m256i lowAdd = _mm256_set1_epi8(char(l.lowAdd)), lowSub = _mm256_set1_epi8(char(l.lowSub));
    const __m256i highFloor = _mm256_set1_epi8(char(l.highFloor));
    const __m256i lowCeiling = _mm256_set1_epi8(char(l.lowCeiling));
    const __m256i zero = _mm256_setzero_si256();
    const __m256i lowSide = _mm256_set1_epi8(char(l.lowSide));
    size_t i = 0;
    for (; i + 32 <= count; i += 32) {
        const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + i));
        const __m256i high = _mm256_max_epu8(_mm256_subs_epu8(_mm256_adds_epu8(v, highAdd), highSub), highFloor);
        const __m256i low = _mm256_min_epu8(_mm256_subs_epu8(_mm256_adds_epu8(v, lowAdd), lowSub), lowCeiling);
        const __m256i isLow = _mm256_and_si256(_mm256_cmpeq_epi8(_mm256_subs_epu8(v, pivot), zero), lowSide);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i), _mm256_blendv_epi8(high, low, isLow));
    }
    return i + ApplySse2(in + i, out + i, count - i, l);
}

Kernel ChooseKernel()
{
    // LUMO_NO_AVX2 lets the SSE2 path be measured and tested on any machine.
    if (!std::getenv("LUMO_NO_AVX2") && __builtin_cpu_supports("avx2"))
        return ApplyAvx2;
    return ApplySse2;
}

#else

typedef uint8_t U8x16 __attribute__((vector_size(16)));

inline U8x16 Select(U8x16 mask, U8x16 a, U8x16 b)
{
    return (a & mask) | (b & ~mask);
}
inline U8x16 Min(U8x16 a, U8x16 b)
{
    return Select(U8x16(a < b), a, b);
}
inline U8x16 Max(U8x16 a, U8x16 b)
{
    return Select(U8x16(a > b), a, b);
}
// Saturating v + add - sub without leaving byte lanes.
inline U8x16 AddSub(U8x16 v, uint8_t add, uint8_t sub)
{
    const U8x16 a = U8x16 {} + add, s = U8x16 {} + sub;
    const U8x16 up = Min(v, U8x16 {} + uint8_t(255 - add)) + a;
    return Max(up, s) - s;
}

size_t ApplyGeneric(const uint8_t* in, uint8_t* out, size_t count, const Lanes& l)
{
    const U8x16 pivot = U8x16 {} + l.pivot;
    const U8x16 lowSide = U8x16 {} + l.lowSide;
    size_t i = 0;
    for (; i + 16 <= count; i += 16) {
        U8x16 v;
        std::memcpy(&v, in + i, 16);
        const U8x16 high = Max(AddSub(v, l.highAdd, l.highSub), U8x16 {} + l.highFloor);
        const U8x16 low = Min(AddSub(v, l.lowAdd, l.lowSub), U8x16 {} + l.lowCeiling);
        v = Select(U8x16(v <= pivot) & lowSide, low, high);
        std::memcpy(out + i, &v, 16);
    }
    return i;
}

Kernel ChooseKernel()
{
    return ApplyGeneric;
}

#endif

Kernel ActiveKernel()
{
    static const Kernel kernel = ChooseKernel();
    return kernel;
}

}  // namespace

CCanvasTransfer::CCanvasTransfer(int brightness, int contrast)
    : m_table(brightness, contrast)
{
    if (m_table.IsIdentity())
        return;
    m_lanes = LanesFor(brightness, contrast);
    // Proof for this pair: the vector form must give the table's value for
    // every possible channel value, or it is not used.
    uint8_t in[256];
    uint8_t out[256];
    for (int v = 0; v < 256; ++v)
        in[v] = uint8_t(v);
    if (ActiveKernel()(in, out, 256, m_lanes) != 256)
        return;
    for (int v = 0; v < 256; ++v)
        if (out[v] != m_table[uint8_t(v)])
            return;
    m_vector = true;
}

void CCanvasTransfer::Apply(const uint8_t* in, uint8_t* out, size_t count) const
{
    if (m_table.IsIdentity()) {
        if (in != out)
            std::memcpy(out, in, count);
        return;
    }
    const size_t done = m_vector ? ActiveKernel()(in, out, count, m_lanes) : 0;
    for (size_t i = done; i < count; ++i)
        out[i] = m_table[in[i]];
}
