#include "app/loader_thread.h"

#include "app/image_catalog.h"
#include "platform/doc_view.h"

#include <system_error>

CWorkerThread::~CWorkerThread()
{
    if (m_thread.joinable()) {
        m_stop.store(true, std::memory_order_relaxed);
        m_thread.join();
    }
}

int CWorkerThread::StartThread()
{
    // Two builds never run at once: a thread still alive is stopped first.
    StopThread();
    m_running.store(true, std::memory_order_release);
    try {
        m_thread = std::thread(&CWorkerThread::Run, this);
    } catch (const std::system_error&) {
        m_running.store(false, std::memory_order_release);
        return 0;
    }
    return 1;
}

int CWorkerThread::StopThread()
{
    if (!m_thread.joinable())
        return 0;
    m_stop.store(true, std::memory_order_relaxed);
    m_thread.join();
    // Builds run later on this thread must not see the old request.
    m_stop.store(false, std::memory_order_relaxed);
    OnStopped();
    return 1;
}

int CWorkerThread::WaitThread()
{
    if (!m_thread.joinable())
        return 0;
    m_thread.join();
    return 1;
}

void CWorkerThread::Run()
{
    BeginHook();
    RunHook();
    EndHook();
    m_running.store(false, std::memory_order_release);
}

CLoaderThread::CLoaderThread(CImageCatalog* catalog, CDocument* document)
    : m_catalog(catalog)
    , m_document(document)
{
    m_catalog->SetStopFlag(StopFlag());
}

CLoaderThread::~CLoaderThread()
{
    StopThread();
    m_catalog->SetStopFlag(nullptr);
}

int CLoaderThread::StartLoad(const QString& folder, int includeSubfolders, int mode)
{
    StopThread();
    // Hints still queued by a build that ended by itself speak of entries that go now.
    DropQueuedHints();
    m_path = folder;
    m_includeSubfolders = includeSubfolders;
    m_mode = mode;
    m_catalog->RemoveAll();
    m_catalog->Notify(CImageCatalog::kHintCurrentChanged);
    m_catalog->Notify(CImageCatalog::kHintListChanged);
    m_catalog->SetSourcePath(folder);
    return StartThread();
}

void CLoaderThread::RunHook()
{
    m_catalog->BuildList(m_path, m_includeSubfolders, m_mode);
}

void CLoaderThread::OnStopped()
{
    DropQueuedHints();
}

void CLoaderThread::DropQueuedHints()
{
    if (m_document)
        m_document->DropQueuedUpdates();
}
