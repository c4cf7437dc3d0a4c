// CThumbnailListCtrl: the "File List" form of the thumbnail view: a report
// list with one row per catalog entry (name, size, date), appended one row
// per list notification while a catalog arrives. Tapping a row or moving with
// the arrow keys makes that entry the current picture. One row at most is
// highlighted, and it is always the current picture's, whoever changed it
// (a tap, a key, the strip, a slideshow).
#pragma once

#include <QTreeWidget>
#include <functional>

class CLumoDoc;

class CThumbnailListCtrl : public QTreeWidget {
    Q_OBJECT
public:
    static constexpr int kId = 65011;
    // The device's small font, in pixels.
    static constexpr int kFontPixels = 11;

    CThumbnailListCtrl(std::function<CLumoDoc*()> doc, const QRect& rect, QWidget* parent);

    // Appends the next catalog entry as a row; 1 when it appended.
    int AddNextRow();
    // Clears every row and starts counting again (an empty catalog).
    void ResetRows();
    int RowsAdded() const { return m_rowsAdded; }
    int Selected() const { return m_selected; }
    // Highlights the current picture's row alone (none when it has no row yet).
    void ShowCurrent();
    // The row the list shows highlighted; -1 when none.
    int HighlightedRow() const;
    // Arrow keys as virtual-key codes 37..40; false when the key was ignored.
    bool OnKeyDown(int vk);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void SetRowState(int row, bool on);
    void MakeCurrent(int index);

    std::function<CLumoDoc*()> m_doc;
    int m_selected = -1;
    int m_rowsAdded = 0;
};
