// CAreaReducer: shrinks a picture into a smaller 24-bit bitmap while its rows
// arrive, so the whole picture never has to be held.
//
// Every source pixel belongs to exactly one output cell (column x goes to
// x * outWidth / width, row y likewise) and a cell is the rounded mean of the
// pixels it received. Rows may therefore come in any order and in pieces
// (interlaced passes) and give the same result as rows in order. Cells that
// received nothing are white.
#pragma once

#include "image/gdi.h"

#include <cstdint>
#include <vector>

class CAreaReducer {
public:
    // Bytes Init will allocate for these sizes.
    static int64_t WorkingBytes(int srcWidth, int outWidth, int outHeight, bool rowsInOrder);

    // out is a 24-bit bitmap no larger than the source; it is filled white.
    // rowsInOrder: each source row arrives once, top to bottom, so only the
    // current output row is kept; otherwise every output cell is kept.
    // Returns false for bad sizes or when memory cannot be had.
    bool Init(int srcWidth, int srcHeight, HBITMAP out, bool rowsInOrder);

    // A whole source row of packed R, G, B pixels.
    void AddRow(int y, const uint8_t* rgb);
    // A whole source row of one colour.
    void AddSolidRow(int y, uint8_t red, uint8_t green, uint8_t blue);
    // n packed R, G, B pixels of row y at columns x0, x0 + dx, x0 + 2 dx, ...
    void AddPixels(int y, int x0, int dx, const uint8_t* rgb, int n);

    // Writes the cells still pending into the bitmap.
    void Finish();

private:
    bool SelectRow(int y);
    void FoldColumns();
    void FlushRow();
    uint64_t* SumsOf(int outRow);
    uint64_t* CountsOf(int outRow);

    int m_srcWidth = 0;
    int m_srcHeight = 0;
    int m_outWidth = 0;
    int m_outHeight = 0;
    bool m_rowsInOrder = true;
    int m_pendingRow = -1;  // output row held in the sums (rows-in-order mode)
    int m_selected = 0;     // output row of the source row being added
    std::vector<int> m_colStart;  // first source column of each output column, plus the end
    std::vector<int> m_colOf;     // output column of each source column (random mode)
    std::vector<uint32_t> m_columnSums;  // whole rows added column by column (rows-in-order mode)
    uint32_t m_columnRows = 0;           // rows in m_columnSums
    std::vector<uint64_t> m_sums;    // R, G, B sums per held cell
    std::vector<uint64_t> m_counts;  // pixels per held cell
    HBITMAP m_out = nullptr;
};
