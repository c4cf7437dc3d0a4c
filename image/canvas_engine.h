// The image canvas's pixel engine: everything the canvas of the main view
// does short of putting pixels on the screen. CCanvas keeps the screen buffer
// for the view's client area and, for each paint, decides whether the bound
// picture must be rescaled for the paint's zoom code, then copies the visible
// part of the display-sized picture into the buffer while rotating it and
// passing every channel through the brightness/contrast transfer. The UI
// wrapper (CImageCanvas in views/) binds the current entry's picture, calls
// Draw from the view's paint hook with the entry's zoom, rotation and
// transfer, and blits Frame() at its (x, y); it owns no pixel logic of its own.
//
// Threads: everything here runs on the user-interface thread, except that
// SetPicture may be reached from the catalog loader through the update broadcast;
// the view serialises that with its paints.
#pragma once

#include "image/gdi.h"
#include "image/picture.h"

#include <cstdint>
#include <memory>

// What a paint needs to know besides the bound picture: the view, and how the
// picture is to be shown in it.
struct CCanvasPaint {
    int viewWidth = 0;      // client size of the main view, the reference for
    int viewHeight = 0;     // ScaleForDisplay
    bool dragging = false;  // a pan drag is in progress: reuse the display bitmap
    int zoom = -1;          // percent (>= 1), 0 = fit, -1 = fill
    int rotation = 0;       // degrees: 0, 90, 180 or 270
    int brightness = 0;
    int contrast = 0;
};

// The screen buffer after a successful Draw: 24-bit pixels in blue, green,
// red order, rows top-down, bytesPerLine = width * 3 (no padding), to be
// copied unscaled to the view at (x, y). The buffer is two columns wider than
// the client area; the view clips them.
struct CCanvasFrame {
    const uint8_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    int bytesPerLine = 0;
    int x = 0;
    int y = 0;
};

// A picture displayed larger than this is stretched a window at a time; so is
// one shown sharper than its full bitmap holds, from a region decoded at the
// scale the zoom needs (CPicture::m_detail).
constexpr int64_t kWholeDisplayBytes = int64_t(16) << 20;

// The size of a picture as displayed, before the rotation; unscaled when the
// full bitmap is shown as it is.
struct CDisplaySize {
    int width = 0;
    int height = 0;
    bool unscaled = false;
};

class CCanvas {
public:
    CCanvas();
    virtual ~CCanvas();
    CCanvas(const CCanvas&) = delete;
    CCanvas& operator=(const CCanvas&) = delete;

    // Renders the bound picture into the screen buffer. Returns 1 when the
    // buffer holds a picture to blit, 0 when nothing is to be drawn (no
    // picture, no full bitmap, not 24 bits per pixel, no buffer, or the
    // display bitmap could not be made).
    virtual int Draw(const CCanvasPaint& paint);
    // Releases the screen buffer. Returns 1.
    virtual int FreeBuffer();
    // Takes the client size of the view, allocates a buffer of
    // (width + 2) x height pixels and resets the pan offsets. Returns 1, or 0
    // (and no buffer) when the memory could not be had.
    virtual int AdaptToWindow(int clientWidth, int clientHeight);

    // Moves the pan offsets; Draw clamps them to the picture.
    void Scroll(int dx, int dy);
    // Binds a picture (not owned). A null picture unbinds and returns 0; so
    // must the view call it whenever there is no current entry, so that the
    // canvas never reads a picture the catalog has deleted. Returns 0 when
    // the picture has no full bitmap (it stays bound and draws nothing), else 1.
    int SetPicture(CPicture* picture);
    CPicture* Picture() const { return m_picture; }

    // The buffer produced by the last successful Draw.
    CCanvasFrame Frame() const;
    int BufferWidth() const;   // client width + 2
    int BufferHeight() const;  // client height
    int PanX() const { return m_panX; }
    int PanY() const { return m_panY; }
    // The display bitmap's record as read by SetPicture or the last Draw.
    const BITMAP& DisplayInfo() const { return m_displayInfo; }
    // How many times Draw has rescaled; a paint with an unchanged zoom,
    // rotation, picture and view size reuses the previous display bitmap.
    int RescaleCount() const { return m_rescales; }
    // The region the last Draw would have shown sharper, had the picture
    // held it (CPicture::m_detail): the window around the view in picture
    // pixels, at the scale the zoom needs. Empty when what was drawn is as
    // sharp as the zoom shows.
    const CPictureRegion& WantedDetail() const { return m_wanted; }

protected:
    // Client rectangle of the view, as AdaptToWindow took it.
    int m_left = 0;
    int m_top = 0;
    int m_right = 0;
    int m_bottom = 0;
    int m_panX = 0;
    int m_panY = 0;
    std::unique_ptr<uint8_t[]> m_buffer;

private:
    // Everything the display bitmap depends on; equal keys give equal bitmaps.
    struct ScaleKey {
        const CPicture* picture = nullptr;
        HBITMAP full = nullptr;
        HBITMAP display = nullptr;
        int fullWidth = 0;
        int fullHeight = 0;
        int width = 0;
        int height = 0;
        int zoom = 0;
        int rotation = 0;
        int viewWidth = 0;
        int viewHeight = 0;
        bool operator==(const ScaleKey&) const = default;
    };
    void Rescale(const CCanvasPaint& paint);
    ScaleKey KeyFor(const CCanvasPaint& paint) const;
    // Makes the display bitmap the window around the view's rectangle at
    // (x, y) of the displayed picture (shownWidth x shownHeight, turned by
    // rotation): three views wide and high, clipped to the picture.
    void ScaleWindow(int rotation, int64_t x, int64_t y, int64_t shownWidth, int64_t shownHeight);
    // Stretches the window (c, r, cw x rh of the display, before the turn)
    // from the picture's detail when it holds the part the window needs, at
    // m_detailScale; else records that part as wanted. False when it did not.
    bool ScaleWindowFromDetail(int64_t c, int64_t r, int64_t cw, int64_t rh);

    CPicture* m_picture = nullptr;
    BITMAP m_displayInfo;
    // The picture as displayed; past kWholeDisplayBytes the display bitmap
    // holds only a window of it, at (m_windowX, m_windowY) of the turned
    // picture and m_windowWidth x m_windowHeight as shown.
    CDisplaySize m_display;
    bool m_windowed = false;
    int64_t m_windowX = 0;
    int64_t m_windowY = 0;
    int64_t m_windowWidth = 0;
    int64_t m_windowHeight = 0;
    // Past the full bitmap's sharpness the window is stretched from a
    // sharper region at this scale (0: the full bitmap is sharp enough).
    int m_detailScale = 0;
    CPictureRegion m_wanted;  // what the window lacks; empty when it is sharp
    ScaleKey m_scaled;        // key of the display bitmap the last rescale made
    bool m_scaledValid = false;
    bool m_drawn = false;
    int m_rescales = 0;
};

// The size of the picture as displayed for a zoom code and rotation in a view
// of the given client size; unscaled when the full bitmap already holds the
// picture at that size. Stores the ratio (source pixels per displayed pixel)
// as the picture's display scale. Zero for a picture without a full bitmap or
// a size beyond an int.
CDisplaySize DisplaySizeFor(CPicture& picture, int zoom, int rotation, int viewWidth, int viewHeight);

// The window (x, y, width, height) of the picture as displayed at size: the
// full bitmap itself when it is unscaled, else that part of the stretched
// picture, computed alone, in the picture's display copy (owned by the
// picture). Null when the picture has no full bitmap or the copy could not be
// made.
HBITMAP ScaleForDisplay(CPicture& picture, const CDisplaySize& size, int x, int y, int width, int height);

// The ratio ScaleForDisplay uses: source pixels per displayed pixel for the
// zoom code, rotation and picture size in a view of the given client size;
// 1.0 when the picture is shown unscaled.
double DisplayRatio(int zoom, int rotation, int width, int height, int viewWidth, int viewHeight);

// The zoom in percent that the zoom steps start from: the zoom code when it
// is 1 or more, else the percentage the picture was last drawn at (its
// display scale), plus one (a fitted picture drawn unscaled counts as 101).
int EffectiveZoom(int zoom, double displayScale);
