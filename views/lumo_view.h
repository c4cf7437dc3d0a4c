// CLumoView: the main image view, the upper pane of the main frame. It shows
// the current picture of the document's catalog.
#pragma once

#include "platform/doc_view.h"

#include <QWidget>

class CLumoDoc;

class CLumoView : public QWidget, public CView {
    Q_OBJECT
public:
    explicit CLumoView(QWidget* parent = nullptr);
    CLumoDoc* GetDocument() const;
    void OnUpdate(CView* sender, int hint) override;
    int UpdatesSeen() const { return m_updates; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_updates = 0;
};
