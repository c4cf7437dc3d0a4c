#include "image/area_reducer.h"

#include <algorithm>
#include <cstring>
#include <new>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// First source index whose cell is `cell`: the smallest i with i * out / src >= cell.
int FirstOfCell(int64_t cell, int64_t src, int64_t out)
{
    return int((cell * src + out - 1) / out);
}

// sums[i] += bytes[i], sixteen at a time where SSE2 is there (every x86-64).
void AddBytes(uint32_t* sums, const uint8_t* bytes, size_t n)
{
    size_t i = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    for (; i + 16 <= n; i += 16) {
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + i));
        const __m128i lo = _mm_unpacklo_epi8(b, zero);
        const __m128i hi = _mm_unpackhi_epi8(b, zero);
        auto* s = reinterpret_cast<__m128i*>(sums + i);
        _mm_storeu_si128(s, _mm_add_epi32(_mm_loadu_si128(s), _mm_unpacklo_epi16(lo, zero)));
        _mm_storeu_si128(s + 1, _mm_add_epi32(_mm_loadu_si128(s + 1), _mm_unpackhi_epi16(lo, zero)));
        _mm_storeu_si128(s + 2, _mm_add_epi32(_mm_loadu_si128(s + 2), _mm_unpacklo_epi16(hi, zero)));
        _mm_storeu_si128(s + 3, _mm_add_epi32(_mm_loadu_si128(s + 3), _mm_unpackhi_epi16(hi, zero)));
    }
#endif
    for (; i < n; ++i)
        sums[i] += bytes[i];
}

// sums[i] += bytes[i] * times: one row standing for `times` equal rows.
void AddBytesTimes(uint32_t* sums, const uint8_t* bytes, size_t n, uint32_t times)
{
    for (size_t i = 0; i < n; ++i)
        sums[i] += uint32_t(bytes[i]) * times;
}

// Adds a source row of R, G, B samples (bytes, or sums of `rows` rows) into
// its output cells, `times` over: source columns colStart[c] .. colStart[c + 1] - 1
// go to cell c, whose pixel count grows by the columns times rows times `times`.
template <typename Sample>
void FoldIntoCells(const Sample* p, const std::vector<int>& colStart, int outWidth, uint64_t rows, uint64_t times,
                   uint64_t* sums, uint64_t* counts)
{
    for (int ox = 0; ox < outWidth; ++ox, sums += 3) {
        const int x0 = colStart[size_t(ox)];
        const int x1 = colStart[size_t(ox) + 1];
        uint64_t r = 0, g = 0, b = 0;
        for (int x = x0; x < x1; ++x, p += 3) {
            r += p[0];
            g += p[1];
            b += p[2];
        }
        sums[0] += r * times;
        sums[1] += g * times;
        sums[2] += b * times;
        counts[ox] += uint64_t(x1 - x0) * rows * times;
    }
}

}  // namespace

int64_t CAreaReducer::WorkingBytes(int srcWidth, int outWidth, int outHeight, bool rowsInOrder)
{
    const int64_t cells = int64_t(outWidth) * (rowsInOrder ? 1 : outHeight);
    int64_t bytes = cells * 4 * int64_t(sizeof(uint64_t)) + (int64_t(outWidth) + 1) * int64_t(sizeof(int));
    bytes += int64_t(srcWidth) * (rowsInOrder ? 3 * int64_t(sizeof(uint32_t)) : int64_t(sizeof(int)));
    return bytes;
}

bool CAreaReducer::Init(int srcWidth, int srcHeight, HBITMAP out, bool rowsInOrder, int originX, int originY)
{
    if (!out || out->BitsPerPixel() != 24 || srcWidth < out->Width() || srcHeight < out->Height() || out->Width() < 1
        || out->Height() < 1 || originX < 0 || originY < 0)
        return false;
    m_originX = originX;
    m_originY = originY;
    m_srcWidth = srcWidth;
    m_srcHeight = srcHeight;
    m_outWidth = out->Width();
    m_outHeight = out->Height();
    m_rowsInOrder = rowsInOrder;
    m_pendingRow = -1;
    m_out = out;
    try {
        m_colStart.resize(size_t(m_outWidth) + 1);
        for (int ox = 0; ox <= m_outWidth; ++ox)
            m_colStart[ox] = FirstOfCell(ox, m_srcWidth, m_outWidth);
        const size_t cells = size_t(m_outWidth) * (rowsInOrder ? 1 : size_t(m_outHeight));
        m_sums.assign(cells * 3, 0);
        m_counts.assign(cells, 0);
        if (rowsInOrder)
            m_columnSums.assign(size_t(m_srcWidth) * 3, 0);
        m_columnRows = 0;
        if (!rowsInOrder) {
            m_colOf.resize(size_t(m_srcWidth));
            for (int ox = 0; ox < m_outWidth; ++ox)
                std::fill(m_colOf.begin() + m_colStart[ox], m_colOf.begin() + m_colStart[ox + 1], ox);
        }
    } catch (const std::bad_alloc&) {
        m_out = nullptr;
        return false;
    }
    for (int y = 0; y < m_outHeight; ++y)
        std::fill_n(out->RowFromTop(y), size_t(m_outWidth) * 3, uint8_t(255));
    return true;
}

uint64_t* CAreaReducer::SumsOf(int outRow)
{
    return m_sums.data() + (m_rowsInOrder ? 0 : size_t(outRow) * m_outWidth * 3);
}

uint64_t* CAreaReducer::CountsOf(int outRow)
{
    return m_counts.data() + (m_rowsInOrder ? 0 : size_t(outRow) * m_outWidth);
}

// Maps source row y to its output row and, in rows-in-order mode, makes that
// row the one held (writing out the previous one). False for rows outside.
bool CAreaReducer::SelectRow(int y)
{
    if (!m_out || y < 0 || y >= m_srcHeight)
        return false;
    const int outRow = int(int64_t(y) * m_outHeight / m_srcHeight);
    if (m_rowsInOrder && outRow != m_pendingRow) {
        FlushRow();
        m_pendingRow = outRow;
    }
    m_selected = outRow;
    return true;
}

void CAreaReducer::AddRow(int y, const uint8_t* rgb)
{
    rgb += size_t(m_originX) * 3;
    if (!SelectRow(int(int64_t(y) - m_originY)))
        return;
    if (m_rowsInOrder) {
        // Summing whole rows column by column is a plain vector add; the
        // columns are folded into cells once per output row.
        AddBytes(m_columnSums.data(), rgb, size_t(m_srcWidth) * 3);
        ++m_columnRows;
        return;
    }
    FoldIntoCells(rgb, m_colStart, m_outWidth, 1, 1, SumsOf(m_selected), CountsOf(m_selected));
}

template <typename Add> void CAreaReducer::ForEachOutputRow(int y, int count, Add add)
{
    if (!m_out || count < 1)
        return;
    int64_t first = std::max<int64_t>(y, 0);
    const int64_t end = std::min<int64_t>(int64_t(y) + count, m_srcHeight);
    while (first < end) {
        SelectRow(int(first));
        // The first source row of the next output row ends this piece.
        const int64_t next = std::min<int64_t>(FirstOfCell(int64_t(m_selected) + 1, m_srcHeight, m_outHeight), end);
        add(m_selected, uint64_t(next - first));
        first = next;
    }
}

void CAreaReducer::AddRows(int y, int count, const uint8_t* rgb)
{
    AddRowsAt(int(int64_t(y) - m_originY), count, rgb + size_t(m_originX) * 3);
}

// AddRows for rows of the part, in its own places.
void CAreaReducer::AddRowsAt(int y, int count, const uint8_t* rgb)
{
    ForEachOutputRow(y, count, [&](int outRow, uint64_t rows) {
        if (m_rowsInOrder) {
            if (rows == 1)
                AddBytes(m_columnSums.data(), rgb, size_t(m_srcWidth) * 3);
            else
                AddBytesTimes(m_columnSums.data(), rgb, size_t(m_srcWidth) * 3, uint32_t(rows));
            m_columnRows += uint32_t(rows);
        } else {
            FoldIntoCells(rgb, m_colStart, m_outWidth, 1, rows, SumsOf(outRow), CountsOf(outRow));
        }
    });
}

void CAreaReducer::AddSolidRows(int y, int count, uint8_t red, uint8_t green, uint8_t blue)
{
    const uint8_t fill[3] = {red, green, blue};
    ForEachOutputRow(int(int64_t(y) - m_originY), count,
                     [&](int outRow, uint64_t rows) { AddSpanToCells(outRow, rows, 0, 0, nullptr, fill); });
}

void CAreaReducer::AddRowSpan(int y, int count, int x0, int n, const uint8_t* rgb, const uint8_t fill[3])
{
    // Only the columns of the source take part.
    y = int(int64_t(y) - m_originY);
    int64_t first = int64_t(x0) - m_originX;
    int64_t end = first + std::max(n, 0);
    if (first < 0) {
        if (rgb)  // a solid span has no pixels to skip
            rgb += size_t(-first) * 3;
        first = 0;
    }
    end = std::min<int64_t>(end, m_srcWidth);
    if (first >= end) {
        ForEachOutputRow(y, count,
                         [&](int outRow, uint64_t rows) { AddSpanToCells(outRow, rows, 0, 0, nullptr, fill); });
    } else if (first == 0 && end == m_srcWidth) {
        AddRowsAt(y, count, rgb);
    } else {
        ForEachOutputRow(y, count, [&](int outRow, uint64_t rows) {
            AddSpanToCells(outRow, rows, int(first), int(end - first), rgb, fill);
        });
    }
}

// Straight into the cells of one output row, `rows` times over: the fill for
// the columns of each cell outside x0 .. x0 + n - 1, the pixels for the rest.
void CAreaReducer::AddSpanToCells(int outRow, uint64_t rows, int x0, int n, const uint8_t* rgb, const uint8_t fill[3])
{
    uint64_t* sums = SumsOf(outRow);
    uint64_t* counts = CountsOf(outRow);
    const int x1 = x0 + n;
    for (int ox = 0; ox < m_outWidth; ++ox) {
        const int c0 = m_colStart[size_t(ox)];
        const int c1 = m_colStart[size_t(ox) + 1];
        const int covered = std::max(0, std::min(x1, c1) - std::max(x0, c0));
        const uint64_t filled = uint64_t(c1 - c0 - covered) * rows;
        uint64_t* s = sums + size_t(ox) * 3;
        s[0] += filled * fill[0];
        s[1] += filled * fill[1];
        s[2] += filled * fill[2];
        counts[ox] += filled;
    }
    if (n <= 0)
        return;
    for (int ox = int(int64_t(x0) * m_outWidth / m_srcWidth); ox < m_outWidth && m_colStart[size_t(ox)] < x1; ++ox) {
        const int xa = std::max(x0, m_colStart[size_t(ox)]);
        const int xb = std::min(x1, m_colStart[size_t(ox) + 1]);
        uint64_t r = 0, g = 0, b = 0;
        for (const uint8_t* p = rgb + size_t(xa - x0) * 3; p < rgb + size_t(xb - x0) * 3; p += 3) {
            r += p[0];
            g += p[1];
            b += p[2];
        }
        uint64_t* s = sums + size_t(ox) * 3;
        s[0] += r * rows;
        s[1] += g * rows;
        s[2] += b * rows;
        counts[ox] += uint64_t(std::max(xb - xa, 0)) * rows;
    }
}

void CAreaReducer::AddPixels(int y, int x0, int dx, const uint8_t* rgb, int n)
{
    if (dx < 1 || !SelectRow(int(int64_t(y) - m_originY)))
        return;
    uint64_t* sums = SumsOf(m_selected);
    uint64_t* counts = CountsOf(m_selected);
    for (int64_t i = 0, x = int64_t(x0) - m_originX; i < n && x < m_srcWidth; ++i, x += dx, rgb += 3) {
        if (x < 0)
            continue;
        const int ox = m_rowsInOrder ? int(x * m_outWidth / m_srcWidth) : m_colOf[size_t(x)];
        uint64_t* s = sums + size_t(ox) * 3;
        s[0] += rgb[0];
        s[1] += rgb[1];
        s[2] += rgb[2];
        ++counts[ox];
    }
}

static void WriteRow(uint8_t* dst, const uint64_t* sums, const uint64_t* counts, int width)
{
    for (int ox = 0; ox < width; ++ox, sums += 3, dst += 3) {
        const uint64_t n = counts[ox];
        if (n == 0)
            continue;  // stays white
        if (n < (uint64_t(1) << 24)) {
            // Sums of fewer than 2^24 bytes fit 32 bits, whose division is much cheaper.
            const uint32_t n32 = uint32_t(n);
            dst[0] = uint8_t((uint32_t(sums[2]) + n32 / 2) / n32);
            dst[1] = uint8_t((uint32_t(sums[1]) + n32 / 2) / n32);
            dst[2] = uint8_t((uint32_t(sums[0]) + n32 / 2) / n32);
        } else {
            dst[0] = uint8_t((sums[2] + n / 2) / n);
            dst[1] = uint8_t((sums[1] + n / 2) / n);
            dst[2] = uint8_t((sums[0] + n / 2) / n);
        }
    }
}

void CAreaReducer::FoldColumns()
{
    if (m_columnRows == 0)
        return;
    FoldIntoCells(m_columnSums.data(), m_colStart, m_outWidth, m_columnRows, 1, m_sums.data(), m_counts.data());
    std::fill(m_columnSums.begin(), m_columnSums.end(), 0);
    m_columnRows = 0;
}

void CAreaReducer::FlushRow()
{
    if (m_pendingRow < 0)
        return;
    FoldColumns();
    WriteRow(m_out->RowFromTop(m_pendingRow), m_sums.data(), m_counts.data(), m_outWidth);
    std::fill(m_sums.begin(), m_sums.end(), 0);
    std::fill(m_counts.begin(), m_counts.end(), 0);
    m_pendingRow = -1;
}

void CAreaReducer::Finish()
{
    if (!m_out)
        return;
    if (m_rowsInOrder) {
        FlushRow();
    } else {
        for (int oy = 0; oy < m_outHeight; ++oy)
            WriteRow(m_out->RowFromTop(oy), SumsOf(oy), CountsOf(oy), m_outWidth);
    }
    m_out = nullptr;
}
