// CLumoView: the main image view, the upper pane of the main frame and the
// document's first view. It shows the current picture through the image
// canvas, pans it under the pen, toggles full screen on a double tap and
// passes the arrow keys to the thumbnail view, which does the navigating.
#pragma once

#include "app/view_hooks.h"
#include "image/picture.h"
#include "views/full_screen_view.h"

#include <QPixmap>
#include <QPoint>
#include <memory>

class CFolderBrowserHooks;
class CImageCanvas;
class CImageItem;
class CSlideshowDriver;
class CLumoDoc;

class CLumoView : public CSTFullScreenViewLite, public CImageViewHooks {
    Q_OBJECT
public:
    explicit CLumoView(QWidget* parent = nullptr);
    ~CLumoView() override;

    CLumoDoc* GetDocument() const;
    // The line the view shows in place of a current picture it cannot draw.
    static const QString kNotShownText;
    // Makes the canvas, fits it to the view and sets the first radio marks.
    void OnInitialUpdate() override;
    // Hint 0: the current entry changed: show it, or have it decoded and
    // show its thumbnail enlarged meanwhile.
    void OnUpdate(CView* sender, int hint) override;
    // Fits the canvas to the view's size (the frame calls it after a layout).
    void AdaptCanvas();
    CImageCanvas* Canvas() const { return m_canvas.get(); }
    bool IsDragging() const { return m_dragging; }
    // The slideshow (timer 1035): a toggle, a stop that gives the shown
    // entries their view state back, and a restart from the current entry.
    void StartSlideshow() override;
    void StopSlideshow();
    void RestartSlideshow();
    bool IsSlideshowRunning() const override;

    // CImageViewHooks
    void InvalidatePicture() override { update(); }
    void SetFullScreenOptions(int options) override { CSTFullScreenViewLite::SetFullScreenOptions(options); }
    int GetFullScreen() const override { return CSTFullScreenViewLite::GetFullScreen(); }
    void ToggleFullScreen() override { CSTFullScreenViewLite::ToggleFullScreen(); }
    bool IsFolderBrowserVisible() const override;
    void PlaceFolderBrowser() override;
    void PictureDecoded(CImageItem* item) override;
    // The folder browser the shell made for this view (not owned).
    void SetFolderBrowser(CFolderBrowserHooks* browser) { m_folderBrowser = browser; }
    // Browser Folder: the folder browser laid over this view, shown.
    void ShowFolderBrowser();

protected:
    void OnDraw(QPainter& painter);
    // The catalog is empty although a single picture was opened: it failed.
    bool OpenedPictureFailed() const;
    void OnLButtonDown(QPoint point);
    void OnMouseMove(QPoint point);
    void OnLButtonUp(QPoint point);
    void OnLButtonDblClk();
    // vk is a virtual-key code; the arrows go to the thumbnail view.
    void OnKeyDown(int vk, bool autoRepeat);
    // While a slideshow runs, each picture it shows gets the full-screen
    // zoom (and rotation, for a large landscape picture in full screen),
    // lent until the show stops.
    void ApplySlideshowViewState(CImageItem* item);
    // Binds the canvas to a decoded current entry.
    void ShowPicture(CImageItem* item);
    // While the current picture decodes: its thumbnail fitted to the view,
    // else the picture shown before it, else white.
    void DrawStandIn(QPainter& painter) const;
    // Asks for the sharper region the canvas's last paint wanted, once.
    void AskForDetail();

    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

    QPoint m_lastPen;
    CSlideshowDriver* m_slideshow = nullptr;  // child object
    std::unique_ptr<CImageCanvas> m_canvas;
    bool m_dragging = false;
    bool m_blank = true;      // no current entry: the next paint is white
    bool m_decoding = false;  // the current entry's picture is being decoded
    QPixmap m_previous;       // what the view showed before a decode without a thumbnail
    // The region last asked for, and of which entry (only compared).
    const CImageItem* m_detailItem = nullptr;
    CPictureRegion m_askedDetail;
    // A sibling of the panes, laid over this view when shown; the shell's.
    CFolderBrowserHooks* m_folderBrowser = nullptr;
};
