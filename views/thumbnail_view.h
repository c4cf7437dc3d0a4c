// CThumbnailView: the lower pane of the main frame, which shows the catalog
// as a list of files or a strip of thumbnails by the stored mode.
#pragma once

#include "platform/doc_view.h"

#include <QWidget>

class CLumoDoc;

class CThumbnailView : public QWidget, public CView {
    Q_OBJECT
public:
    explicit CThumbnailView(QWidget* parent = nullptr);
    CLumoDoc* GetDocument() const;
    void OnUpdate(CView* sender, int hint) override;
    int UpdatesSeen() const { return m_updates; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_updates = 0;
};
