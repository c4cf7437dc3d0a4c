// The canvas's copy loop: the visible part of a 24-bit, bottom-up display
// bitmap, rotated by 0, 90, 180 or 270 degrees (clockwise) and passed through
// the brightness/contrast transfer, written into the top-down screen buffer.
// No rotated or adjusted copy of the picture is kept anywhere.
#pragma once

#include <cstdint>

class CCanvasTransfer;

struct CCanvasCopy {
    const uint8_t* bits = nullptr;  // display bitmap pixels, bottom-up rows
    int stride = 0;                 // bytes per bitmap row
    int width = 0;                  // DW
    int height = 0;                 // DH
    int rotation = 0;               // 0, 90, 180; any other value turns as 270
    int panX = 0;                   // pan offsets in the displayed picture,
    int panY = 0;                   // already clamped to it
    uint8_t* buffer = nullptr;      // screen buffer, rows top-down, 3 bytes a pixel
    int bufferWidth = 0;            // BW; a row is BW * 3 bytes
    int bufferHeight = 0;           // BH
    int marginX = 0;                // where the picture's first pixel lands
    int marginY = 0;
};

// True for rotations that swap the displayed width and height.
inline bool IsTurned(int rotation)
{
    return rotation != 0 && rotation != 180;
}

// Copies every buffer pixel (x, y) with x >= marginX and y >= marginY that
// lies on the picture; the rest of the buffer is left as it was.
void CopyRotated(const CCanvasCopy& copy, const CCanvasTransfer& transfer);
