// CThumbnailView: the lower pane of the main frame. It holds both forms of
// the catalog, the thumbnail strip and the file list, shows the one the
// stored "ThumbnailView Mode" asks for, passes the list notifications on to
// it, makes the first entry current when a new catalog starts to arrive, and
// routes the arrow keys to the form that navigates.
#pragma once

#include "platform/doc_view.h"

#include <QElapsedTimer>
#include <QWidget>

class CLumoDoc;
class CThumbnailCtrl;
class CThumbnailListCtrl;

class CThumbnailView : public QWidget, public CView {
    Q_OBJECT
public:
    explicit CThumbnailView(QWidget* parent = nullptr);
    CLumoDoc* GetDocument() const;
    // Shows the form of the stored mode and fills it once.
    void OnInitialUpdate() override;
    // Acts on the list notification (hint 2) only.
    void OnUpdate(CView* sender, int hint) override;
    int UpdatesSeen() const { return m_updates; }
    // Null only when the form could not be made.
    CThumbnailCtrl* Strip() const { return m_strip; }
    CThumbnailListCtrl* List() const { return m_list; }
    // Arrow keys as virtual-key codes 37..40, routed by the stored mode.
    void OnKeyDown(int vk);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    static void ShowForm(QWidget* form);
    static void HideForm(QWidget* form);
    // Creates both forms hidden; false after a message.
    bool CreateForms();

    int m_mode = 1;
    unsigned m_modeSerial = 0;  // the delivery m_mode was read in; 0 is never one
    CThumbnailCtrl* m_strip = nullptr;
    CThumbnailListCtrl* m_list = nullptr;
    int m_updates = 0;
    QElapsedTimer m_lastPaint;  // when the list was last painted from a hint
};
