// CImageCanvas: the canvas of the main view on the screen. It binds the
// current entry; the pixel engine (CCanvas) renders the entry's picture with
// the entry's zoom, rotation and transfer into its screen buffer; this class
// puts that buffer on the view in one blit, without copying it, and draws the
// entry's memo over it with QPainter.
#pragma once

#include "image/canvas_engine.h"
#include "image/gdi.h"

#include <QImage>

class CImageItem;
class QPainter;
class QSize;
class QWidget;

class CImageCanvas : public CCanvas {
public:
    using CCanvas::AdaptToWindow;
    using CCanvas::Draw;

    // Binds an entry (not owned) and its picture (see CCanvas::SetPicture).
    int SetItem(CImageItem* item);
    CImageItem* Item() const { return m_item; }
    // Takes the view's client size (see CCanvas::AdaptToWindow).
    int AdaptToWindow(const QWidget* view);
    // Renders and blits the bound entry onto the view's painter; the memo
    // follows when the entry came from an album and the layout is full
    // screen. Returns 1 when the picture was blitted, 0 when nothing was drawn.
    int Draw(QPainter& painter, const QWidget* view, bool dragging);
    // The same for a view of the given client size.
    int Draw(QPainter& painter, QSize view, bool dragging);
    // A copy of a 24-bit bitmap (a thumbnail) with its rows top-down, for a
    // painter; null for any other bitmap.
    static QImage BitmapImage(HBITMAP bitmap);

private:
    void DrawMemo(QPainter& painter) const;

    CImageItem* m_item = nullptr;
};
