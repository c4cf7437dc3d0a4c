// CPaneSplitter: two rows in one column with a gap (the split bar) between
// them. Rows get their ideal heights at every layout; the lock swallows pen
// presses on the bar, so the user can never drag it.
#pragma once

#include <QWidget>

class CPaneSplitter : public QWidget {
    Q_OBJECT
public:
    explicit CPaneSplitter(QWidget* parent);
    void SetPane(int row, QWidget* pane);
    QWidget* Pane(int row) const { return row == 0 || row == 1 ? m_panes[row] : nullptr; }
    void SetGap(int gap) { m_gap = gap; }
    int Gap() const { return m_gap; }
    void SetLock(bool lock) { m_lock = lock; }
    bool Locked() const { return m_lock; }
    void SetRowInfo(int row, int ideal, int minimum);
    // Places the rows: row 0 its ideal height (at least its minimum, at most
    // what there is), the gap, then row 1; a row of height 0 is hidden.
    void RecalcLayout();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QWidget* m_panes[2] = {nullptr, nullptr};
    int m_gap = 0;
    bool m_lock = false;
    int m_ideal[2] = {0, 0};
    int m_minimum[2] = {0, 0};
};
