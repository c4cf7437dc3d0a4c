// CCanvasTransfer: the brightness/contrast transfer in the form the canvas's
// copy loop runs it. For the settings the sliders can reach, AdjustChannel is
// evaluated on whole vectors of 16 channel values at once (AVX2 when the
// processor has it, else the baseline vector unit); the vector form is checked
// against the table for all 256 inputs when the object is made and is used
// only when they agree, so its results are always the table's.
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

    // The vector arithmetic's parameters, kept in 16-bit lanes.
    struct Lanes {
        int16_t brightness;
        int16_t contrast;  // for positive contrast
        int16_t half;      // contrast / 2 for negative contrast (truncated)
        bool positive;
    };

private:
    void ApplyTable(const uint8_t* in, uint8_t* out, size_t count) const;

    CTransferTable m_table;
    Lanes m_lanes {};
    bool m_vector = false;
};
