#include "image/canvas_engine.h"

#include "image/canvas_copy.h"
#include "image/canvas_transfer.h"
#include "image/dib_bitmap.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <new>

namespace {

// The decode scale a sharp display needs when a displayed pixel spans fewer
// picture pixels than a full bitmap pixel does (0 otherwise): the largest of
// 1, 2, 4 and 8 at most the picture pixels a displayed pixel spans, and
// below those a full bitmap pixel spans.
int DetailScale(const CPicture& picture, const CDisplaySize& display)
{
    const HBITMAP full = picture.m_fullBitmap;
    if (display.unscaled || !full || picture.m_width <= full->Width() || picture.m_height <= 0)
        return 0;
    const double perFullPixel = double(picture.m_width) / full->Width();
    if (picture.m_displayScale >= perFullPixel * 0.99)
        return 0;  // a displayed pixel spans a full bitmap pixel or more
    int scale = 1;
    while (scale < 8 && scale * 2 <= picture.m_displayScale)
        scale *= 2;
    return scale < perFullPixel * 0.99 ? scale : 0;
}

// Whether the picture's detail holds the wanted region at its scale.
bool HoldsDetail(const CPicture& picture, const CPictureRegion& wanted)
{
    return picture.m_detail && picture.m_detailRegion.scale == wanted.scale
           && picture.m_detailRegion.rect.Contains(wanted.rect);
}

// Picture pixel x of a picture `size` pixels long displayed `shown` long, in displayed pixels.
int64_t Displayed(int64_t x, int64_t size, int64_t shown)
{
    return (x * shown + size / 2) / size;
}

}  // namespace

CCanvas::CCanvas() = default;

CCanvas::~CCanvas() = default;

int CCanvas::BufferWidth() const
{
    return m_right - m_left + 2;
}

int CCanvas::BufferHeight() const
{
    return m_bottom - m_top;
}

int CCanvas::FreeBuffer()
{
    m_buffer.reset();
    m_drawn = false;
    return 1;
}

int CCanvas::AdaptToWindow(int clientWidth, int clientHeight)
{
    m_left = 0;
    m_top = 0;
    m_right = std::max(clientWidth, 0);
    m_bottom = std::max(clientHeight, 0);
    m_panX = 0;
    m_panY = 0;
    FreeBuffer();
    const int64_t bytes = int64_t(BufferWidth()) * BufferHeight() * 3;
    if (bytes <= 0 || bytes > kMaxBitmapBytes)
        return bytes == 0 ? 1 : 0;
    m_buffer.reset(new (std::nothrow) uint8_t[size_t(bytes)]);
    return m_buffer ? 1 : 0;
}

void CCanvas::Scroll(int dx, int dy)
{
    // Saturating, so that any number of drags cannot wrap the offsets around.
    m_panX = int(std::clamp<int64_t>(int64_t(m_panX) + dx, INT_MIN, INT_MAX));
    m_panY = int(std::clamp<int64_t>(int64_t(m_panY) + dy, INT_MIN, INT_MAX));
}

int CCanvas::SetPicture(CPicture* picture)
{
    // Whatever was bound before may be gone: forget everything about it.
    m_picture = picture;
    m_scaledValid = false;
    m_drawn = false;
    m_displayInfo = BITMAP {};
    if (!picture || !picture->m_fullBitmap)
        return 0;
    GetObject(picture->m_fullBitmap, &m_displayInfo);
    return 1;
}

CCanvasFrame CCanvas::Frame() const
{
    if (!m_drawn || !m_buffer)
        return {};
    return {m_buffer.get(), BufferWidth(), BufferHeight(), BufferWidth() * 3, 0, 0};
}

CCanvas::ScaleKey CCanvas::KeyFor(const CCanvasPaint& paint) const
{
    ScaleKey key;
    key.picture = m_picture;
    key.full = m_picture->m_fullBitmap;
    key.display = m_picture->m_displayBitmap;
    key.fullWidth = m_picture->m_fullBitmap ? m_picture->m_fullBitmap->Width() : 0;
    key.fullHeight = m_picture->m_fullBitmap ? m_picture->m_fullBitmap->Height() : 0;
    key.width = m_picture->m_width;
    key.height = m_picture->m_height;
    key.zoom = paint.zoom;
    key.rotation = paint.rotation;
    key.viewWidth = paint.viewWidth;
    key.viewHeight = paint.viewHeight;
    return key;
}

void CCanvas::Rescale(const CCanvasPaint& paint)
{
    if (m_scaledValid && m_picture->m_displayBitmap && KeyFor(paint) == m_scaled)
        return;
    CPicture& picture = *m_picture;
    HBITMAP old = picture.m_displayBitmap;
    picture.m_displayBitmap = nullptr;
    if (old && old != picture.m_fullBitmap)
        picture.ReleaseBitmap(old);
    m_display = DisplaySizeFor(picture, paint.zoom, paint.rotation, paint.viewWidth, paint.viewHeight);
    m_detailScale = DetailScale(picture, m_display);
    m_wanted = {};
    m_windowed = !m_display.unscaled
                 && (int64_t(m_display.width) * m_display.height * 3 > kWholeDisplayBytes || m_detailScale > 0);
    m_windowWidth = m_windowHeight = 0;
    if (!m_windowed)
        picture.m_displayBitmap = ScaleForDisplay(picture, m_display, 0, 0, m_display.width, m_display.height);
    ++m_rescales;
    m_scaled = KeyFor(paint);
    // A window is made by Draw, once the pan is known.
    m_scaledValid = m_windowed || picture.m_displayBitmap != nullptr;
}

void CCanvas::ScaleWindow(int rotation, int64_t x, int64_t y, int64_t shownWidth, int64_t shownHeight)
{
    CPicture& picture = *m_picture;
    HBITMAP old = picture.m_displayBitmap;
    picture.m_displayBitmap = nullptr;
    if (old && old != picture.m_fullBitmap)
        picture.ReleaseBitmap(old);
    const int64_t bw = BufferWidth();
    const int64_t bh = BufferHeight();
    m_windowX = std::clamp<int64_t>(x - bw, 0, std::max<int64_t>(shownWidth - 3 * bw, 0));
    m_windowY = std::clamp<int64_t>(y - bh, 0, std::max<int64_t>(shownHeight - 3 * bh, 0));
    m_windowWidth = std::min(3 * bw, shownWidth - m_windowX);
    m_windowHeight = std::min(3 * bh, shownHeight - m_windowY);
    // The window as shown, found in the picture before the turn (columns c,
    // rows r from the top): the copy loop maps it back exactly.
    const int64_t w = m_display.width;
    const int64_t h = m_display.height;
    int64_t c = m_windowX, r = m_windowY, cw = m_windowWidth, rh = m_windowHeight;
    switch (rotation) {
    case 0:
        break;
    case 180:
        c = w - m_windowX - m_windowWidth;
        r = h - m_windowY - m_windowHeight;
        break;
    case 90:
        c = m_windowY, r = h - m_windowX - m_windowWidth, cw = m_windowHeight, rh = m_windowWidth;
        break;
    default:
        c = w - m_windowY - m_windowHeight, r = m_windowX, cw = m_windowHeight, rh = m_windowWidth;
        break;
    }
    if (m_detailScale == 0 || !ScaleWindowFromDetail(c, r, cw, rh))
        picture.m_displayBitmap = ScaleForDisplay(picture, m_display, int(c), int(r), int(cw), int(rh));
    m_scaled.display = picture.m_displayBitmap;
}

bool CCanvas::ScaleWindowFromDetail(int64_t c, int64_t r, int64_t cw, int64_t rh)
{
    CPicture& picture = *m_picture;
    const int64_t w = picture.m_width, h = picture.m_height;
    const int64_t dw = m_display.width, dh = m_display.height;
    // The picture pixels under the window, widened to whole decoded pixels.
    const int64_t d = m_detailScale;
    const int64_t left = c * w / dw / d * d, top = r * h / dh / d * d;
    const int64_t right = std::min(((c + cw) * w + dw - 1) / dw, w), bottom = std::min(((r + rh) * h + dh - 1) / dh, h);
    CPictureRegion wanted;
    wanted.rect = CPixelRect {int(left), int(top), int(right - left), int(bottom - top)};
    wanted.scale = m_detailScale;
    if (!HoldsDetail(picture, wanted)) {
        m_wanted = wanted;
        return false;
    }
    m_wanted = {};
    const CPictureRegion& held = picture.m_detailRegion;
    picture.m_displayCopy->Create(int(cw), int(rh));
    const int64_t x0 = Displayed(held.rect.x, w, dw), x1 = Displayed(int64_t(held.rect.x) + held.rect.width, w, dw);
    const int64_t y0 = Displayed(held.rect.y, h, dh), y1 = Displayed(int64_t(held.rect.y) + held.rect.height, h, dh);
    HBITMAP detail = picture.m_detail;
    if (!picture.m_displayCopy->m_handle
        || !StretchBlt(picture.m_displayCopy->m_handle, int(x0 - c), int(y0 - r), int(x1 - x0), int(y1 - y0), detail, 0,
                       0, detail->Width(), detail->Height()))
        return false;
    picture.m_displayBitmap = picture.m_displayCopy->m_handle;
    return true;
}

int CCanvas::Draw(const CCanvasPaint& paint)
{
    m_drawn = false;
    if (!m_picture || !m_picture->m_fullBitmap || m_picture->m_fullBitmap->BitsPerPixel() != 24 || !m_buffer)
        return 0;
    const int bw = BufferWidth();
    const int bh = BufferHeight();

    // A drag pans the display bitmap as it is; with none yet there is nothing
    // to pan, so one is made even then.
    if (!paint.dragging || !m_picture->m_displayBitmap)
        Rescale(paint);
    if (!m_windowed && (!GetObject(m_picture->m_displayBitmap, &m_displayInfo) || m_displayInfo.bmBitsPixel != 24))
        return 0;
    const int dw = m_windowed ? m_display.width : m_displayInfo.bmWidth;
    const int dh = m_windowed ? m_display.height : m_displayInfo.bmHeight;

    // Both orientations are tested whatever the rotation, as the display
    // bitmap may be shown either way round.
    if (dw < bw || dh < bh || dw < bh || dh < bw)
        std::memset(m_buffer.get(), 255, size_t(bw) * size_t(bh) * 3);

    const bool turned = IsTurned(paint.rotation);
    const int64_t vw = turned ? dh : dw;
    const int64_t vh = turned ? dw : dh;
    int64_t ox = m_panX;
    int64_t oy = m_panY;
    if (vw < ox + bw)
        ox = vw - bw;
    if (vh < oy + bh)
        oy = vh - bh;
    if (ox < 0 || vw <= bw)
        ox = 0;
    if (oy < 0 || vh <= bh)
        oy = 0;
    m_panX = int(ox);
    m_panY = int(oy);
    // A window is stretched again once the view leaves it.
    if (m_windowed) {
        const int64_t right = std::min<int64_t>(ox + bw, vw), bottom = std::min<int64_t>(oy + bh, vh);
        // So is a window drawn scaled up once the detail it wanted has come.
        if (!m_picture->m_displayBitmap || ox < m_windowX || oy < m_windowY || right > m_windowX + m_windowWidth
            || bottom > m_windowY + m_windowHeight || (!m_wanted.Empty() && HoldsDetail(*m_picture, m_wanted)))
            ScaleWindow(paint.rotation, ox, oy, vw, vh);
        if (!GetObject(m_picture->m_displayBitmap, &m_displayInfo) || m_displayInfo.bmBitsPixel != 24)
            return 0;
    }

    CCanvasCopy copy;
    copy.bits = static_cast<const uint8_t*>(m_displayInfo.bmBits);
    copy.stride = m_displayInfo.bmWidthBytes;
    copy.width = m_displayInfo.bmWidth;
    copy.height = m_displayInfo.bmHeight;
    copy.rotation = paint.rotation;
    copy.panX = int(m_panX - (m_windowed ? m_windowX : 0));
    copy.panY = int(m_panY - (m_windowed ? m_windowY : 0));
    copy.buffer = m_buffer.get();
    copy.bufferWidth = bw;
    copy.bufferHeight = bh;
    copy.marginX = vw < bw ? int((bw - vw) / 2) : 0;
    copy.marginY = vh < bh ? int((bh - vh) / 2) : 0;
    CopyRotated(copy, CCanvasTransfer(paint.brightness, paint.contrast));
    m_drawn = true;
    return 1;
}
