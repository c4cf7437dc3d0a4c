// CThumbnailStrip: the page and selection arithmetic of the thumbnail strip:
// which catalog entries the cells show, which cell is framed, where a pen
// point lands, how the buttons page and how the arrow keys move. A page is as
// many whole cells as fit between the two buttons (five on the device's
// 240-pixel screen). It holds only indices, so the strip control draws from
// it and tests check it without a display.
#pragma once

class CThumbnailStrip {
public:
    static constexpr int kCells = 5;  // on the device's screen
    static constexpr int kCellWidth = 42;
    static constexpr int kCellHeight = 30;
    static constexpr int kButtonWidth = 15;

    // The whole cells a strip of this width shows between its buttons (at
    // least one). Returns true when the count changed; Refresh then lays out
    // the pages again.
    bool SetWidth(int width);
    int Cells() const { return m_cells; }

    // Every index to -1: the strip is blank.
    void Clear();
    // Recomputes the page for n entries and the current index. Returns true
    // when the page moved (the control is then erased before drawing).
    bool Refresh(int n, int currentIndex);
    // The page and frame can be drawn: entries exist and no index is negative.
    bool CanDraw(int n, int currentIndex) const;
    // One past the last entry shown on the current page.
    int End(int n) const;
    int OccupiedCells(int n) const { return End(n) - m_first; }
    // The cell that carries the red frame, or -1 when the selection is off the page.
    int FrameCell(int n) const;
    // Left edge of cell c.
    static int CellLeft(int c) { return kButtonWidth + kCellWidth * c; }
    // True inside the rectangle spanning the occupied cells of the page.
    bool HitTest(int x, int y, int n) const;
    // The catalog index of the picture shown under a pen point, or -1 where
    // none is shown (an empty cell, outside the cells).
    int IndexAt(int x, int y, int n) const;

    // The "<" button: true when the page moved.
    bool PageLeft();
    // The ">" button: true when the page moved; *onLastPage tells whether it
    // reached the last page (which may be only partly filled).
    bool PageRight(bool* onLastPage);
    // The selection an arrow key (virtual-key code 37..40) gives with n
    // entries, or -1 when the key is ignored. There is no wrap-around.
    int KeyTarget(int vk, int n) const;
    // A new selection: the page becomes the one that holds it.
    void Select(int index);

    // "Remove": before the selected entry goes, with n entries: true when the
    // strip pages left first (the selected entry is alone on the last page).
    bool PageLeftBeforeRemove(int n);
    // After the removal, with m entries left: the new selection (-1 when none).
    int AfterRemove(int m);

    int m_selected = -1;
    int m_first = -1;
    int m_lastPage = -1;
    int m_minimum = -1;

private:
    int PageOf(int index) const { return (index / m_cells) * m_cells; }

    int m_cells = kCells;
};
