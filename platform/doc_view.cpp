#include "platform/doc_view.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
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
        const unsigned generation = m_generation.load();
        QMetaObject::invokeMethod(
            m_context, [this, hint, generation] { Deliver(hint, generation); }, Qt::QueuedConnection);
        return;
    }
    // A copy: a view may be destroyed or created while the hint is delivered.
    const std::vector<CView*> views = m_views;
    for (CView* view : views) {
        if (view != sender && std::find(m_views.begin(), m_views.end(), view) != m_views.end())
            view->OnUpdate(sender, hint);
    }
}

void CDocument::Deliver(int hint, unsigned generation)
{
    if (generation == m_generation.load())
        UpdateAllViews(nullptr, hint);
}

void CDocument::DropQueuedUpdates()
{
    ++m_generation;
}

void CDocument::DeliverQueuedUpdates()
{
    QCoreApplication::sendPostedEvents(m_context, QEvent::MetaCall);
}

bool CDocument::OnOpenDocument(const QString& hostPath)
{
    if (QFileInfo(hostPath).isDir())
        return true;
    QFile file(hostPath);
    return file.open(QIODevice::ReadOnly);
}
