// CThumbnailCtrl: the "Image Icon" form of the thumbnail view: five 42 x 30
// thumbnails between a "<" and a ">" button, numbered, the current picture
// framed in red. A tap picks a picture, the buttons page, the arrow keys move,
// and holding the pen on a thumbnail opens a menu that removes the current
// picture or moves it within the catalog.
#pragma once

#include "app/thumbnail_strip.h"

#include <QWidget>

class CLumoDoc;
class QMenu;
class QPainter;
class QPushButton;
class QTimer;

class CThumbnailCtrl : public QWidget {
    Q_OBJECT
public:
    static constexpr int kId = 65008;
    static constexpr int kLeftButtonId = 65009;
    static constexpr int kRightButtonId = 65010;
    static constexpr int kHoldTimerId = 1030;
    static constexpr int kHoldMs = 500;
    static constexpr int kRemoveId = 1025;
    static constexpr int kShiftPlus5Id = 1026;
    static constexpr int kShiftPlus1Id = 1027;
    static constexpr int kShiftMinus1Id = 1028;
    static constexpr int kShiftMinus5Id = 1029;

    // doc is asked for at every use (it is the owning view's document).
    CThumbnailCtrl(std::function<CLumoDoc*()> doc, const QRect& rect, QWidget* parent);

    // Follows the catalog's current entry and redraws at once.
    int Refresh();
    // Draws the cells of the page, their numbers and the frame; 1 when it drew.
    int DrawStrip(QPainter& painter);
    bool HitTest(QPoint point) const;
    const CThumbnailStrip& Strip() const { return m_strip; }
    // Arrow keys as virtual-key codes 37..40.
    void OnKeyDown(int vk);
    // One pop-up menu command (1025..1029).
    void OnMenuCommand(int id);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void OnLeftButton();
    void OnRightButton();
    void OnHoldTimer();
    int Count() const;
    // Erases and repaints the whole control now.
    void RedrawNow() { repaint(); }

    std::function<CLumoDoc*()> m_doc;
    CThumbnailStrip m_strip;
    QPushButton* m_left = nullptr;
    QPushButton* m_right = nullptr;
    QMenu* m_menu = nullptr;
    QTimer* m_holdTimer = nullptr;
    bool m_pressPending = false;
    QPoint m_pressPoint;
};
