// CImageCanvas: the canvas of the main view on the screen. The pixel engine
// (CCanvas) renders the bound entry into its screen buffer; this class puts
// that buffer on the view in one blit, without copying it, and draws the
// entry's memo over it with QPainter.
#pragma once

#include "image/canvas_engine.h"

class QPainter;
class QSize;
class QWidget;

class CImageCanvas : public CCanvas {
public:
    using CCanvas::AdaptToWindow;
    using CCanvas::Draw;

    // Takes the view's client size (see CCanvas::AdaptToWindow).
    int AdaptToWindow(const QWidget* view);
    // Renders and blits the bound entry onto the view's painter; the memo
    // follows when the entry came from an album and the layout is full
    // screen. Returns 1 when the picture was blitted, 0 when nothing was drawn.
    int Draw(QPainter& painter, const QWidget* view, bool dragging);
    // The same for a view of the given client size.
    int Draw(QPainter& painter, QSize view, bool dragging);

private:
    void DrawMemo(QPainter& painter) const;
};
