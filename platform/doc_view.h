// The document/view core: a document keeps its views in creation order and
// tells them about changes through UpdateAllViews(hint).
//
// Thread contract: views live on the user-interface thread. UpdateAllViews
// called on that thread runs every view's OnUpdate at once, one after the
// other (nested calls are allowed). Called on any other thread it queues the
// hint for the user-interface thread, where hints are delivered in the order
// they were raised, in slices of a few milliseconds: between two slices the
// event loop takes input and paints, so a long queue never makes a tap wait.
// DropQueuedUpdates() discards hints queued before it (a stopped build stays
// silent); hints queued after it are delivered.
#pragma once

#include "platform/cmd_target.h"

#include <QObject>
#include <QString>
#include <atomic>
#include <deque>
#include <mutex>
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
    // Runs every queued hint now (the user-interface thread only; tests use it).
    void DeliverQueuedUpdates();

    // True while hints raised on other threads wait for delivery.
    bool HasQueuedUpdates();
    // Changes with every delivery: once per slice of queued hints and once
    // per direct call on the user-interface thread. A view may keep what it
    // read for one hint (a stored setting, say) for the rest of the delivery.
    unsigned DeliverySerial() const { return m_deliverySerial; }

    // How long one slice of queued hints may run before input gets its turn.
    static constexpr int kDeliverySliceMs = 8;

    // Creates the document's content anew; false ends the start-up.
    virtual bool OnNewDocument() { return true; }
    // The framework's open step: the path must be readable as a file, or be
    // a folder. Nothing is read from it.
    virtual bool OnOpenDocument(const QString& hostPath);

    void SetTitle(const QString& title) { m_title = title; }
    QString GetTitle() const { return m_title; }
    bool IsModified() const { return m_modified; }

private:
    struct QueuedHint {
        int hint;
        unsigned generation;
    };
    // Delivers queued hints until the queue is empty or sliceMs have passed
    // (a negative sliceMs: until empty); then posts itself again if any remain.
    void DeliverSlice(int sliceMs);
    void PostDelivery();
    bool TakeQueued(QueuedHint* next);
    void Broadcast(CView* sender, int hint);

    std::vector<CView*> m_views;
    QObject* m_context;  // lives on the user-interface thread; deliveries are posted to it
    std::atomic<unsigned> m_generation {0};
    unsigned m_deliverySerial = 0;   // the user-interface thread's only
    std::mutex m_queueLock;          // guards the two below
    std::deque<QueuedHint> m_queue;  // raised on other threads, not yet delivered
    bool m_deliveryPosted = false;   // a delivery is waiting in the event loop
    QString m_title;
    bool m_modified = false;  // never set: closing never asks to save
};
