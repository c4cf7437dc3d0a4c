#include "image/canvas_transfer.h"

#include <cstdlib>
#include <cstring>

// The 32-byte vector helpers below are always inlined and never cross a call
// boundary, so the warning about their by-value ABI does not apply.
#pragma GCC diagnostic ignored "-Wpsabi"

namespace {

using Lanes = CCanvasTransfer::Lanes;
typedef uint8_t U8x16 __attribute__((vector_size(16)));
typedef int16_t I16x16 __attribute__((vector_size(32)));

// Settings beyond this keep every intermediate value of AdjustChannel inside
// 16-bit lanes (255 + 2 * 4096 < 32767); larger ones use the table.
constexpr int kLaneLimit = 4096;

[[gnu::always_inline]] inline I16x16 Select(I16x16 mask, I16x16 a, I16x16 b) { return (a & mask) | (b & ~mask); }

// AdjustChannel on 16 channel values at once, step for step.
template <bool Positive>
[[gnu::always_inline]] inline U8x16 AdjustVector(U8x16 v, I16x16 brightness, I16x16 amount)
{
    const I16x16 pivot = I16x16 {} + int16_t(128);
    I16x16 t = __builtin_convertvector(v, I16x16) + brightness;
    const I16x16 upper = t > pivot;
    if constexpr (Positive) {
        t = Select(upper, t + amount, t - amount);
    } else {
        // amount is the (non-positive) half contrast: toward the pivot, never past it.
        I16x16 above = t + amount;
        above = Select(above < pivot, pivot, above);
        I16x16 below = t - amount;
        below = Select(below > pivot, pivot, below);
        t = Select(upper, above, below);
    }
    const I16x16 zero = {};
    const I16x16 top = zero + int16_t(255);
    t = Select(t < zero, zero, t);
    t = Select(t > top, top, t);
    return __builtin_convertvector(t, U8x16);
}

// Maps whole blocks of 16 bytes; returns how many bytes it mapped.
template <bool Positive>
[[gnu::always_inline]] inline size_t ApplyBlocks(const uint8_t* in, uint8_t* out, size_t count, const Lanes& lanes)
{
    const I16x16 brightness = I16x16 {} + lanes.brightness;
    const I16x16 amount = I16x16 {} + (Positive ? lanes.contrast : lanes.half);
    size_t i = 0;
    for (; i + 16 <= count; i += 16) {
        U8x16 v;
        std::memcpy(&v, in + i, 16);
        v = AdjustVector<Positive>(v, brightness, amount);
        std::memcpy(out + i, &v, 16);
    }
    return i;
}

size_t ApplyBaseline(const uint8_t* in, uint8_t* out, size_t count, const Lanes& lanes)
{
    return lanes.positive ? ApplyBlocks<true>(in, out, count, lanes) : ApplyBlocks<false>(in, out, count, lanes);
}

using Kernel = size_t (*)(const uint8_t*, uint8_t*, size_t, const Lanes&);

#if defined(__x86_64__) || defined(__i386__)
__attribute__((target("avx2"))) size_t ApplyAvx2(const uint8_t* in, uint8_t* out, size_t count, const Lanes& lanes)
{
    return lanes.positive ? ApplyBlocks<true>(in, out, count, lanes) : ApplyBlocks<false>(in, out, count, lanes);
}

Kernel ChooseKernel()
{
    // LUMO_NO_AVX2 lets the baseline path be measured and tested on any machine.
    if (!std::getenv("LUMO_NO_AVX2") && __builtin_cpu_supports("avx2"))
        return ApplyAvx2;
    return ApplyBaseline;
}
#else
Kernel ChooseKernel() { return ApplyBaseline; }
#endif

Kernel ActiveKernel()
{
    static const Kernel kernel = ChooseKernel();
    return kernel;
}

} // namespace

CCanvasTransfer::CCanvasTransfer(int brightness, int contrast)
    : m_table(brightness, contrast)
{
    if (m_table.IsIdentity() || std::abs(int64_t(brightness)) > kLaneLimit || std::abs(int64_t(contrast)) > kLaneLimit)
        return;
    m_lanes.brightness = int16_t(brightness);
    m_lanes.contrast = int16_t(contrast);
    m_lanes.half = int16_t(contrast / 2);
    m_lanes.positive = contrast > 0;
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

void CCanvasTransfer::ApplyTable(const uint8_t* in, uint8_t* out, size_t count) const
{
    for (size_t i = 0; i < count; ++i)
        out[i] = m_table[in[i]];
}

void CCanvasTransfer::Apply(const uint8_t* in, uint8_t* out, size_t count) const
{
    if (m_table.IsIdentity()) {
        if (in != out)
            std::memcpy(out, in, count);
        return;
    }
    size_t done = m_vector ? ActiveKernel()(in, out, count, m_lanes) : 0;
    ApplyTable(in + done, out + done, count - done);
}
