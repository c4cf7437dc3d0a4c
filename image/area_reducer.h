// CAreaReducer: shrinks a picture into a smaller 24-bit bitmap while its rows
// arrive, so the whole picture never has to be held.
//
// Every source pixel belongs to exactly one output cell (column x goes to
// x * outWidth / width, row y likewise) and a cell is the rounded mean of the
// pixels it received. Rows may therefore come in any order and in pieces
// (interlaced passes) and give the same result as rows in order. Cells that
// received nothing are white.
//
// The sums are exact integers, so how pixels are grouped never changes the
// result: a run of equal rows, a row of one colour and the part of a row
// outside a small frame are each added once per output cell they reach
// (AddRows, AddSolidRows, AddRowSpan), which costs what the output needs
// rather than one step per source pixel. AddRow is the plain form they equal.
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
    // The source may be the part at (originX, originY) of a larger picture
    // whose rows are added whole, in that picture's places (AddRow's rows
    // then hold originX + srcWidth pixels at least): what lies outside the
    // part is ignored. Returns false for bad sizes or when memory cannot be had.
    bool Init(int srcWidth, int srcHeight, HBITMAP out, bool rowsInOrder, int originX = 0, int originY = 0);

    // A whole source row of packed R, G, B pixels.
    void AddRow(int y, const uint8_t* rgb);
    // Rows y .. y + count - 1, each the same whole row of packed R, G, B pixels.
    void AddRows(int y, int count, const uint8_t* rgb);
    // Rows y .. y + count - 1, every pixel of one colour.
    void AddSolidRows(int y, int count, uint8_t red, uint8_t green, uint8_t blue);
    // Rows y .. y + count - 1, each holding the n packed R, G, B pixels of rgb
    // at columns x0 .. x0 + n - 1 and the colour fill (R, G, B) everywhere
    // else. Columns outside the source are ignored.
    void AddRowSpan(int y, int count, int x0, int n, const uint8_t* rgb, const uint8_t fill[3]);
    // n packed R, G, B pixels of row y at columns x0, x0 + dx, x0 + 2 dx, ...
    void AddPixels(int y, int x0, int dx, const uint8_t* rgb, int n);

    // Writes the cells still pending into the bitmap.
    void Finish();

private:
    bool SelectRow(int y);
    void AddRowsAt(int y, int count, const uint8_t* rgb);
    // Source rows y .. y + count - 1 clipped to the source, cut where their
    // output row changes: calls add(outputRow, rows) for each piece, in order.
    template <typename Add> void ForEachOutputRow(int y, int count, Add add);
    void AddSpanToCells(int outRow, uint64_t rows, int x0, int n, const uint8_t* rgb, const uint8_t fill[3]);
    void FoldColumns();
    void FlushRow();
    uint64_t* SumsOf(int outRow);
    uint64_t* CountsOf(int outRow);

    int m_srcWidth = 0;
    int m_srcHeight = 0;
    int m_originX = 0;
    int m_originY = 0;
    int m_outWidth = 0;
    int m_outHeight = 0;
    bool m_rowsInOrder = true;
    int m_pendingRow = -1;               // output row held in the sums (rows-in-order mode)
    int m_selected = 0;                  // output row of the source row being added
    std::vector<int> m_colStart;         // first source column of each output column, plus the end
    std::vector<int> m_colOf;            // output column of each source column (random mode)
    std::vector<uint32_t> m_columnSums;  // whole rows added column by column (rows-in-order mode)
    uint32_t m_columnRows = 0;           // rows in m_columnSums
    std::vector<uint64_t> m_sums;        // R, G, B sums per held cell
    std::vector<uint64_t> m_counts;      // pixels per held cell
    HBITMAP m_out = nullptr;
};
