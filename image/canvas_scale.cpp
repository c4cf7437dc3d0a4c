// Display scaling for the canvas: the ratio for a zoom code, the display
// bitmap it gives, and the effective zoom the zoom steps start from.
#include "app/image_item.h"
#include "image/canvas_copy.h"
#include "image/canvas_engine.h"
#include "image/dib_bitmap.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

double FitRatio(double w, double h, double cw, double ch)
{
    if (w >= cw && h >= ch)
        return std::max(w / cw, h / ch);
    if (w >= cw)
        return w / cw;
    if (h >= ch)
        return h / ch;
    return 1.0;
}

// The full bitmap already shows the picture at the entry's size.
bool HoldsPictureAtSize(const BITMAP& full, int width, int height)
{
    return full.bmHeight == height && full.bmWidth == width;
}

}  // namespace

double DisplayRatio(int zoom, int rotation, int width, int height, int viewWidth, int viewHeight)
{
    const double cw = double(viewWidth) + 2.0;
    const double ch = double(viewHeight) - 1.0;
    const double w = width;
    const double h = height;
    const bool turned = IsTurned(rotation);
    if (zoom == 0 || zoom == -1) {
        // A view too small to measure against (or a picture without a size)
        // gives no scaling rather than a ratio of zero or infinity.
        if (cw <= 0.0 || ch <= 0.0 || width <= 0 || height <= 0)
            return 1.0;
        if (zoom == 0)
            return turned ? FitRatio(h, w, cw, ch) : FitRatio(w, h, cw, ch);
        if (turned)
            return (h < cw || w < ch) ? 1.0 : std::min(h / cw, w / ch);
        return (w < cw || h < ch) ? 1.0 : std::min(w / cw, h / ch);
    }
    // Percent zoom codes are 1 or more; any other code would give a negative size.
    return zoom >= 1 ? 100.0 / zoom : 1.0;
}

HBITMAP ScaleForDisplay(CImageItem& item, int viewWidth, int viewHeight)
{
    HBITMAP full = item.m_fullBitmap;
    BITMAP info;
    if (!GetObject(full, &info))
        return nullptr;
    int width = item.m_width;
    int height = item.m_height;
    if (width <= 0 || height <= 0) {
        // An entry whose facts were not read: the decoded picture is all we know.
        width = info.bmWidth;
        height = info.bmHeight;
    }
    const double ratio = DisplayRatio(item.m_zoom, item.m_rotation, width, height, viewWidth, viewHeight);
    item.m_displayScale = ratio;
    if (ratio == 1.0 && HoldsPictureAtSize(info, width, height))
        return full;

    // The stretched copy replaces the display copy's section: the entry must
    // not keep pointing at the old one.
    if (item.m_displayBitmap && item.m_displayBitmap == item.m_displayCopy->m_handle)
        item.m_displayBitmap = nullptr;
    if (full == item.m_displayCopy->m_handle)
        return nullptr;

    const double k = 1.0 / ratio;
    const double wantedWidth = std::trunc(width * k + 2.0);
    const double wantedHeight = std::trunc(height * k);
    // Sizes beyond what a bitmap may hold are refused here, before they
    // could overflow an int.
    if (wantedWidth * std::max(wantedHeight, 1.0) * 3.0 > double(kMaxBitmapBytes))
        return nullptr;
    int displayWidth = int(wantedWidth);
    displayWidth -= displayWidth % 4;
    // A picture scaled below one pixel still shows one.
    displayWidth = std::max(displayWidth, 1);
    const int displayHeight = std::max(int(wantedHeight), 1);
    item.m_displayCopy->StretchFrom(full, displayWidth, displayHeight);
    return item.m_displayCopy->m_handle;
}

int EffectiveZoom(const CImageItem& item)
{
    if (item.m_zoom >= 1)
        return item.m_zoom;
    double scale = item.m_displayScale;
    if (!(scale > 0.0) || !std::isfinite(scale))
        scale = 1.0;
    const double zoom = 1.0 - std::trunc(-100.0 / scale);
    return int(std::clamp(zoom, double(INT_MIN), double(INT_MAX)));
}
