// CPixelRect: a rectangle of whole pixels, x and y its top-left corner.
#pragma once

#include <algorithm>
#include <cstdint>

struct CPixelRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    bool Empty() const { return width < 1 || height < 1; }
    bool Contains(const CPixelRect& other) const
    {
        return !Empty() && other.x >= x && other.y >= y && int64_t(other.x) + other.width <= int64_t(x) + width
               && int64_t(other.y) + other.height <= int64_t(y) + height;
    }
    // The part inside 0, 0, w, h.
    CPixelRect ClippedTo(int w, int h) const
    {
        const int64_t left = std::max(x, 0), top = std::max(y, 0);
        const int64_t right = std::min<int64_t>(int64_t(x) + width, w);
        const int64_t bottom = std::min<int64_t>(int64_t(y) + height, h);
        if (left >= right || top >= bottom)
            return {};
        return {int(left), int(top), int(right - left), int(bottom - top)};
    }
    bool operator==(const CPixelRect&) const = default;
};
