// CCanvasTransfer: the brightness/contrast transfer in the form the canvas's
// copy loop runs it. AdjustChannel is monotone in the channel value, so for
// one brightness/contrast pair it is two saturating additions of constants
// (one for each side of the 128 pivot), a floor or ceiling at the pivot and a
// per-byte choice of side: whole vectors of bytes at once (AVX2 when the
// processor has it, else SSE2; elsewhere the compiler's generic vectors). The
// vector form is checked against the table for all 256 inputs when the object
// is made and is used only when they agree, so its results are the table's.
#pragma once

#include "image/transfer.h"

#include <cstddef>
#include <cstdint>

class CCanvasTransfer {
public:
    CCanvasTransfer(int brightness, int contrast);
    bool IsIdentity() const { return m_table.IsIdentity(); }
    // True when the vector form is in use (it matched the table).
    bool IsVectorised() const { return m_vector; }
    // Maps count bytes from in to out (in == out allowed, no other overlap).
    void Apply(const uint8_t* in, uint8_t* out, size_t count) const;
    // Maps count bytes in place.
    void Apply(uint8_t* bytes, size_t count) const { Apply(bytes, bytes, count); }

    // The vector form's constants: a byte v at or below `pivot` (0 .. 255;
    // the pivot less brightness) maps to min(sat(v + lowAdd - lowSub),
    // lowCeiling) unless lowSide is 0; any other byte to
    // max(sat(v + highAdd - highSub), highFloor).
    struct Lanes {
        uint8_t pivot;
        uint8_t lowSide;  // 0xff, or 0 when every value is on the high side
        uint8_t highAdd, highSub, highFloor;
        uint8_t lowAdd, lowSub, lowCeiling;
    };

private:
    CTransferTable m_table;
    Lanes m_lanes {};
    bool m_vector = false;
};
