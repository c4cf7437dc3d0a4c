// The document/view core: a document keeps its views in creation order and
// tells them about changes through UpdateAllViews(hint).
//
// Thread contract: views live on the user-interface thread. UpdateAllViews
// called on that thread runs every view's OnUpdate at once, one after the
// other (nested calls are allowed). Called on any other thread it queues the
// hint for the user-interface thread, where hints are delivered in the order
// they were raised. DropQueuedUpdates() discards hints queued before it (a
// stopped build stays silent); hints queued after it are delivered.
#pragma once

#include "platform/cmd_target.h"

#include <QObject>
#include <QString>
#include <atomic>
#include <vector>

class CDocument;

class CView : public CCmdTarget {
public:
    ~CView() override;
    CDocument* GetDocument() const { return m_document; }
    virtual void OnInitialUpdate() { OnUpdate(nullptr, 0); }
    virtual void OnUpdate(CView* sender, int hint) = 0;

private:
    friend class CDocument;
    CDocument* m_document = nullptr;
};

class CDocument : public CCmdTarget {
public:
    CDocument();
    ~CDocument() override;

    void AddView(CView* view);
    void RemoveView(CView* view);
    const std::vector<CView*>& GetViews() const { return m_views; }

    void UpdateAllViews(CView* sender, int hint);
    void DropQueuedUpdates();
    // Runs queued hints now (the user-interface thread only; tests use it).
    void DeliverQueuedUpdates();

    // Creates the document's content anew; false ends the start-up.
    virtual bool OnNewDocument() { return true; }
    // The framework's open step: the path must be readable as a file, or be
    // a folder. Nothing is read from it.
    virtual bool OnOpenDocument(const QString& hostPath);

    void SetTitle(const QString& title) { m_title = title; }
    QString GetTitle() const { return m_title; }
    bool IsModified() const { return m_modified; }

private:
    void Deliver(int hint, unsigned generation);

    std::vector<CView*> m_views;
    QObject* m_context;  // lives on the user-interface thread; queued hints go through it
    std::atomic<unsigned> m_generation {0};
    QString m_title;
    bool m_modified = false;  // never set: closing never asks to save
};
