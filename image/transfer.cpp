#include "image/transfer.h"

#include <algorithm>
#include <cstring>

int AdjustChannel(int value, int brightness, int contrast)
{
    // 64-bit so that any int brightness or contrast stays free of overflow.
    int64_t t = int64_t(value) + brightness;
    if (contrast > 0) {
        t = t <= 128 ? t - contrast : t + contrast;
    } else {
        const int64_t half = contrast / 2;  // truncates toward zero
        if (t > 128)
            t = std::max<int64_t>(t + half, 128);
        else
            t = std::min<int64_t>(t - half, 128);
    }
    return int(std::clamp<int64_t>(t, 0, 255));
}

CTransferTable::CTransferTable(int brightness, int contrast)
{
    // The rule as two straight pieces either side of the pivot, each with a
    // fixed offset and one cap, so filling the table needs no per-value
    // branching on the contrast. A test holds it equal to AdjustChannel.
    const int64_t pivot = 128 - int64_t(brightness);  // values up to here are on the lower side
    const int64_t half = contrast / 2;
    const bool more = contrast > 0;
    const int64_t lowOffset = int64_t(brightness) - (more ? contrast : half);
    const int64_t highOffset = int64_t(brightness) + (more ? contrast : half);
    const int64_t lowCap = more ? 255 : 128;
    const int64_t highFloor = more ? 0 : 128;
    for (int v = 0; v < 256; ++v) {
        const int64_t t = v <= pivot ? std::min(v + lowOffset, lowCap) : std::max(v + highOffset, highFloor);
        m_table[v] = uint8_t(std::clamp<int64_t>(t, 0, 255));
        m_identity = m_identity && m_table[v] == v;
    }
}

void CTransferTable::Apply(uint8_t* bytes, size_t count) const
{
    if (m_identity)
        return;
    for (size_t i = 0; i < count; ++i)
        bytes[i] = m_table[bytes[i]];
}

void CTransferTable::Apply(const uint8_t* in, uint8_t* out, size_t count) const
{
    if (m_identity) {
        if (in != out)
            std::memmove(out, in, count);
        return;
    }
    for (size_t i = 0; i < count; ++i)
        out[i] = m_table[in[i]];
}
