// CThumbnailListCtrl: the "File List" form of the thumbnail view: a report
// list with one row per catalog entry (name, size, date), a view over a
// CFileListModel. While a catalog arrives, each list notification appends
// the rows of every entry that arrived since the last one; the view is told
// of them in runs, at most every 40 ms.
// Tapping a row or moving with the arrow keys makes that entry the current
// picture. One row at most is highlighted, and it is always the current
// picture's, whoever changed it (a tap, a key, the strip, a slideshow).
#pragma once

#include "views/file_list_model.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QTreeView>
#include <functional>

class CLumoDoc;

class CThumbnailListCtrl : public QTreeView {
    Q_OBJECT
public:
    static constexpr int kId = 65011;
    // The device's small font, in pixels.
    static constexpr int kFontPixels = 11;

    CThumbnailListCtrl(std::function<CLumoDoc*()> doc, const QRect& rect, QWidget* parent);

    // Appends a row for each catalog entry that has none yet; the count of
    // rows the view was told of now (0 when they wait for the next turn).
    int AddArrivedRows();
    // Clears every row and starts counting again (an empty catalog).
    void ResetRows();
    int RowCount() const;
    int Selected() const { return m_selected; }
    // The row's name, size and date texts; empty when there is no such row.
    QStringList RowTexts(int row) const;
    // The height of a row (0 when there is none) and the widths of the columns.
    int RowHeight() const;
    QList<int> ColumnWidths() const;
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
    static constexpr int kAnnounceMs = 40;
    // Tells the view of the rows appended since the last time.
    void AnnounceRows();
    // The rows, every one appended told to the view first.
    const CFileListModel& Rows() const;
    void Highlight(int row);
    void MakeCurrent(int index);

    std::function<CLumoDoc*()> m_doc;
    CFileListModel* m_rows;
    std::vector<CFileListModel::Row> m_pending;  // appended, the view not yet told
    QElapsedTimer m_announced;                   // when the view was last told
    QTimer m_announceLater;
    int m_selected = -1;
};
