// Display scaling for the canvas: the ratio for a zoom code, the display
// bitmap it gives, and the effective zoom the zoom steps start from.
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

// The full bitmap already shows the picture at its recorded size.
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

CDisplaySize DisplaySizeFor(CPicture& picture, int zoom, int rotation, int viewWidth, int viewHeight)
{
    CDisplaySize size;
    BITMAP info;
    if (!GetObject(picture.m_fullBitmap, &info))
        return size;
    int width = picture.m_width;
    int height = picture.m_height;
    if (width <= 0 || height <= 0) {
        // A picture whose facts were not read: the decoded bitmap is all we know.
        width = info.bmWidth;
        height = info.bmHeight;
    }
    const double ratio = DisplayRatio(zoom, rotation, width, height, viewWidth, viewHeight);
    picture.m_displayScale = ratio;
    if (ratio == 1.0 && HoldsPictureAtSize(info, width, height))
        return {info.bmWidth, info.bmHeight, true};
    const double k = 1.0 / ratio;
    const double wantedWidth = std::trunc(width * k + 2.0);
    const double wantedHeight = std::trunc(height * k);
    // Sizes beyond any int are refused here, before they could overflow one.
    if (wantedWidth > double(INT_MAX) || wantedHeight > double(INT_MAX))
        return size;
    int displayWidth = int(wantedWidth);
    displayWidth -= displayWidth % 4;
    // A picture scaled below one pixel still shows one.
    return {std::max(displayWidth, 1), std::max(int(wantedHeight), 1), false};
}

HBITMAP ScaleForDisplay(CPicture& picture, const CDisplaySize& size, int x, int y, int width, int height)
{
    HBITMAP full = picture.m_fullBitmap;
    if (size.width <= 0 || !full)
        return nullptr;
    if (size.unscaled)
        return full;
    // The stretched copy replaces the display copy's section: the picture
    // must not keep pointing at the old one.
    if (picture.m_displayBitmap && picture.m_displayBitmap == picture.m_displayCopy->m_handle)
        picture.m_displayBitmap = nullptr;
    if (full == picture.m_displayCopy->m_handle || int64_t(width) * height * 3 > kMaxBitmapBytes)
        return nullptr;
    // Only the window's part of the stretched picture is computed.
    picture.m_displayCopy->Create(width, height);
    if (!picture.m_displayCopy->m_handle
        || !StretchBlt(picture.m_displayCopy->m_handle, -x, -y, size.width, size.height, full, 0, 0, full->Width(),
                       full->Height()))
        return nullptr;
    return picture.m_displayCopy->m_handle;
}

int EffectiveZoom(int zoom, double displayScale)
{
    if (zoom >= 1)
        return zoom;
    double scale = displayScale;
    if (!(scale > 0.0) || !std::isfinite(scale))
        scale = 1.0;
    const double drawn = 1.0 - std::trunc(-100.0 / scale);
    return int(std::clamp(drawn, double(INT_MIN), double(INT_MAX)));
}
