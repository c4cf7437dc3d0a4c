// What the document's view-state commands ask of the windows that show it.
// The main view and the main frame live in the user interface and implement
// these; the document reaches the main view as its first view and the frame
// through the pointer the frame leaves with it.
#pragma once

// CImageViewHooks: the main image view as the document drives it.
class CImageViewHooks {
public:
    virtual ~CImageViewHooks() = default;
    // Repaints the picture on the next paint, without erasing first.
    virtual void InvalidatePicture() = 0;
    // The full-screen option bits and switch of the view's full-screen base.
    virtual void SetFullScreenOptions(int options) = 0;
    virtual int GetFullScreen() const = 0;
    virtual void ToggleFullScreen() = 0;
    // True while the folder browser window is shown over the view.
    virtual bool IsFolderBrowserVisible() const = 0;
    // The slideshow runs on the main view's timer: a toggle, and its state.
    virtual void StartSlideshow() = 0;
    virtual bool IsSlideshowRunning() const = 0;
};

// CFrameHooks: the main frame as the document drives it.
class CFrameHooks {
public:
    virtual ~CFrameHooks() = default;
    // Re-lays out the panes and bars from the stored "ThumbnailView Mode".
    virtual void ApplyViewMode() = 0;
};
