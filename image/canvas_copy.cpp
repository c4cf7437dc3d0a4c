#include "image/canvas_copy.h"

#include "image/canvas_transfer.h"

#include <algorithm>
#include <cstring>

namespace {

// Tiles for the turned copies: a tile's source rows (kTileColumns of them,
// kTileRows pixels each) stay in the first-level cache while it is written.
constexpr int kTileRows = 8;
constexpr int kTileColumns = 256;

// Copies count pixels from a source walking by step bytes into dst. Whole
// 4-byte moves when the pixel after each source pixel is still in memory
// that belongs to the picture (wide) and the 4th byte written is overwritten
// by the next pixel; the last pixel is always moved as 3 bytes.
inline void Gather(const uint8_t* src, ptrdiff_t step, uint8_t* dst, int count, bool wide)
{
    int i = 0;
    if (wide) {
        for (; i + 1 < count; ++i, src += step, dst += 3) {
            uint32_t pixel;
            std::memcpy(&pixel, src, 4);
            std::memcpy(dst, &pixel, 4);
        }
    }
    for (; i < count; ++i, src += step, dst += 3) {
        dst[0] = src[0];
        dst[1] = src[1];
        dst[2] = src[2];
    }
}

struct Extent {
    int columns;  // buffer columns that show the picture
    int rows;     // buffer rows that show the picture
};

Extent VisibleExtent(const CCanvasCopy& c)
{
    const bool turned = IsTurned(c.rotation);
    const int64_t shownWidth = turned ? c.height : c.width;
    const int64_t shownHeight = turned ? c.width : c.height;
    const int64_t columns = std::min<int64_t>(c.bufferWidth - int64_t(c.marginX), shownWidth - c.panX);
    const int64_t rows = std::min<int64_t>(c.bufferHeight - int64_t(c.marginY), shownHeight - c.panY);
    return {int(std::max<int64_t>(columns, 0)), int(std::max<int64_t>(rows, 0))};
}

// Memory row of picture row r (counted from the top).
inline const uint8_t* MemoryRow(const CCanvasCopy& c, int64_t memoryRow)
{
    return c.bits + memoryRow * c.stride;
}

uint8_t* BufferPixel(const CCanvasCopy& c, int x, int y)
{
    return c.buffer + (int64_t(c.marginY + y) * c.bufferWidth + c.marginX + x) * 3;
}

void CopyUpright(const CCanvasCopy& c, const Extent& e, const CCanvasTransfer& transfer)
{
    // Picture row panY + y is memory row height - 1 - panY - y.
    for (int y = 0; y < e.rows; ++y) {
        const uint8_t* src = MemoryRow(c, int64_t(c.height) - 1 - c.panY - y) + int64_t(c.panX) * 3;
        transfer.Apply(src, BufferPixel(c, 0, y), size_t(e.columns) * 3);
    }
}

void CopyUpsideDown(const CCanvasCopy& c, const Extent& e, const CCanvasTransfer& transfer)
{
    // Picture row height - 1 - (panY + y) is memory row panY + y; columns run
    // backwards from width - 1 - panX.
    for (int y = 0; y < e.rows; ++y) {
        const int64_t firstColumn = int64_t(c.width) - 1 - c.panX;
        const uint8_t* src = MemoryRow(c, int64_t(c.panY) + y) + firstColumn * 3;
        uint8_t* dst = BufferPixel(c, 0, y);
        // The first pixel read has the highest column: if a 4-byte read stays
        // in its row there, it does for every pixel of the row.
        Gather(src, -3, dst, e.columns, (firstColumn + 1) * 3 + 1 <= c.stride);
        transfer.Apply(dst, size_t(e.columns) * 3);
    }
}

// Rotation 90: buffer (x, y) shows picture column panY + y of picture row
// height - 1 - (panX + x), which is memory row panX + x. Rotation 270: picture
// column width - 1 - (panY + y) of picture row panX + x, memory row
// height - 1 - (panX + x). Either way a buffer row walks a picture column.
void CopyTurned(const CCanvasCopy& c, const Extent& e, const CCanvasTransfer& transfer)
{
    const bool clockwise = c.rotation == 90;
    const ptrdiff_t step = clockwise ? c.stride : -ptrdiff_t(c.stride);
    for (int y0 = 0; y0 < e.rows; y0 += kTileRows) {
        const int y1 = std::min(y0 + kTileRows, e.rows);
        for (int x0 = 0; x0 < e.columns; x0 += kTileColumns) {
            const int count = std::min(kTileColumns, e.columns - x0);
            const int64_t firstRow = clockwise ? int64_t(c.panX) + x0 : int64_t(c.height) - 1 - c.panX - x0;
            const uint8_t* rowStart = MemoryRow(c, firstRow);
            for (int y = y0; y < y1; ++y) {
                const int64_t column = clockwise ? int64_t(c.panY) + y : int64_t(c.width) - 1 - c.panY - y;
                // A 4-byte read of this column stays inside its row unless
                // it is the row's last pixel.
                Gather(rowStart + column * 3, step, BufferPixel(c, x0, y), count, (column + 1) * 3 + 1 <= c.stride);
            }
        }
        // The band's rows are still in cache: adjust them now.
        for (int y = y0; y < y1; ++y)
            transfer.Apply(BufferPixel(c, 0, y), size_t(e.columns) * 3);
    }
}

}  // namespace

void CopyRotated(const CCanvasCopy& copy, const CCanvasTransfer& transfer)
{
    if (!copy.bits || !copy.buffer)
        return;
    const Extent extent = VisibleExtent(copy);
    if (extent.columns == 0 || extent.rows == 0)
        return;
    switch (copy.rotation) {
    case 0:
        CopyUpright(copy, extent, transfer);
        break;
    case 180:
        CopyUpsideDown(copy, extent, transfer);
        break;
    default:
        CopyTurned(copy, extent, transfer);
        break;
    }
}
