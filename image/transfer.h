// The brightness and contrast transfer applied to every colour channel the
// canvas draws: AdjustChannel is the rule, CTransferTable its fast form.
#pragma once

#include <cstddef>
#include <cstdint>

// One 8-bit channel value through brightness then contrast, pivoting at 128
// (128 itself counts as the lower side): positive contrast pushes values away
// from 128 by the full amount, negative contrast pulls them toward it by half
// (truncated) and never past it. Clamped to 0..255.
int AdjustChannel(int value, int brightness, int contrast);

// AdjustChannel for one brightness/contrast pair, tabulated for all 256
// channel values.
class CTransferTable {
public:
    CTransferTable(int brightness, int contrast);
    uint8_t operator[](uint8_t value) const { return m_table[value]; }
    // True when every value maps to itself (brightness and contrast both 0).
    bool IsIdentity() const { return m_identity; }
    // Maps count bytes in place.
    void Apply(uint8_t* bytes, size_t count) const;
    // Maps count bytes from in to out.
    void Apply(const uint8_t* in, uint8_t* out, size_t count) const;

private:
    uint8_t m_table[256];
    bool m_identity = true;
};
