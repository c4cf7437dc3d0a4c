// What the document's view-state commands ask of the windows that show it.
// The main view and the main frame live in the user interface and implement
// these; the document reaches the main view as its first view and the frame
// through the pointer the frame leaves with it.
#pragma once

class CImageItem;

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
    // Lays the shown folder browser over the active view again, after the
    // panes moved.
    virtual void PlaceFolderBrowser() { }
    // The current entry's picture was decoded (or its decode failed).
    virtual void PictureDecoded(CImageItem*) { }
};

// CFrameHooks: the main frame as the document drives it.
class CFrameHooks {
public:
    virtual ~CFrameHooks() = default;
    // Re-lays out the panes and bars from the stored "ThumbnailView Mode".
    virtual void ApplyViewMode() = 0;
};

// The View page's choices, which the Settings command applies after OK.
struct CViewPageChoice {
    int mode = 1;           // "ThumbnailView Mode" chosen
    int resizeChoice = -1;  // 0 "100%", 1 "Fit", 2 "Fill"
    int angleChoice = -1;   // 0 "0", 1 "90", 2 "180", 3 "270"
};

// CSettingsSheetHooks: the settings sheet as the Settings command runs it.
class CSettingsSheetHooks {
public:
    virtual ~CSettingsSheetHooks() = default;
    // Runs the sheet modally; true when it ended with OK, with the View
    // page's choices in *choice.
    virtual bool RunSettingsSheet(CViewPageChoice* choice) = 0;
};
