#include "platform/doc_view.h"
#include "platform/regular_file.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QMetaObject>
#include <QThread>
#include <algorithm>

CView::~CView()
{
    if (m_document)
        m_document->RemoveView(this);
}

CDocument::CDocument()
    : m_context(new QObject)
{
}

CDocument::~CDocument()
{
    for (CView* view : m_views)
        view->m_document = nullptr;
    delete m_context;
}

void CDocument::AddView(CView* view)
{
    if (!view || std::find(m_views.begin(), m_views.end(), view) != m_views.end())
        return;
    m_views.push_back(view);
    view->m_document = this;
}

void CDocument::RemoveView(CView* view)
{
    auto it = std::find(m_views.begin(), m_views.end(), view);
    if (it != m_views.end()) {
        (*it)->m_document = nullptr;
        m_views.erase(it);
    }
}

void CDocument::UpdateAllViews(CView* sender, int hint)
{
    if (QThread::currentThread() != m_context->thread()) {
        std::lock_guard<std::mutex> lock(m_queueLock);
        m_queue.push_back({hint, m_generation.load()});
        if (!m_deliveryPosted) {
            m_deliveryPosted = true;
            PostDelivery();
        }
        return;
    }
    ++m_deliverySerial;
    Broadcast(sender, hint);
}

void CDocument::Broadcast(CView* sender, int hint)
{
    // A copy: a view may be destroyed or created while the hint is delivered.
    const std::vector<CView*> views = m_views;
    for (CView* view : views) {
        if (view != sender && std::find(m_views.begin(), m_views.end(), view) != m_views.end())
            view->OnUpdate(sender, hint);
    }
}

void CDocument::PostDelivery()
{
    QMetaObject::invokeMethod(
        m_context, [this] { DeliverSlice(kDeliverySliceMs); }, Qt::QueuedConnection);
}

bool CDocument::TakeQueued(QueuedHint* next)
{
    std::lock_guard<std::mutex> lock(m_queueLock);
    if (m_queue.empty()) {
        m_deliveryPosted = false;
        return false;
    }
    *next = m_queue.front();
    m_queue.pop_front();
    return true;
}

void CDocument::DeliverSlice(int sliceMs)
{
    QElapsedTimer slice;
    slice.start();
    ++m_deliverySerial;
    QueuedHint next;
    while (TakeQueued(&next)) {
        if (next.generation == m_generation.load())
            Broadcast(nullptr, next.hint);
        if (sliceMs >= 0 && slice.elapsed() >= sliceMs) {
            // The rest waits behind whatever the event loop holds now; the
            // posted flag stays set, so senders do not post a second one.
            PostDelivery();
            return;
        }
    }
}

bool CDocument::HasQueuedUpdates()
{
    std::lock_guard<std::mutex> lock(m_queueLock);
    return !m_queue.empty();
}

void CDocument::DropQueuedUpdates()
{
    ++m_generation;
}

void CDocument::DeliverQueuedUpdates()
{
    DeliverSlice(-1);
}

bool CDocument::OnOpenDocument(const QString& hostPath)
{
    if (RegularFile::KindOf(hostPath) == RegularFile::Kind::Folder)
        return true;
    QFile file;
    return RegularFile::Open(file, hostPath);
}
