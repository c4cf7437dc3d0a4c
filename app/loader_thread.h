// CWorkerThread: one worker thread that runs a begin, a run and an end hook.
// CLoaderThread: the document's catalog loader, which builds a catalog from
// a folder on that worker while the user-interface thread goes on.
//
// Thread contract:
// - StartLoad, StopThread, WaitThread and IsRunning are called on the
//   user-interface thread (the thread that owns the document), never from a
//   hook. The hooks run on the worker.
// - The worker writes nothing but the catalog, and only through Append, with
//   entries that are completely filled. It notifies the views through the
//   catalog's notifier; the document queues those hints to the user-interface
//   thread in order, so no view code runs on the worker.
// - StopThread sets the stop flag that the build checks between entries and
//   archive members, waits for the worker to end and drops the hints it queued
//   that were not delivered yet. On return the build does no further work, the
//   catalog holds the entries appended before the stop (each one whole), and
//   no hint of the stopped build reaches a view.
// - WaitThread lets a running build finish; its hints are still delivered.
// - At most one build runs: StartLoad stops a running one first, and drops
//   the undelivered hints of one that ended by itself, before it clears the
//   catalog.
#pragma once

#include <QString>
#include <atomic>
#include <thread>

class CDocument;
class CImageCatalog;

class CWorkerThread {
public:
    CWorkerThread() = default;
    // Stops the thread if there is one. A derived class whose hooks use its own
    // members must stop it in its own destructor, before those members go.
    virtual ~CWorkerThread();
    CWorkerThread(const CWorkerThread&) = delete;
    CWorkerThread& operator=(const CWorkerThread&) = delete;

    // True from the start of a thread until its end hook has returned.
    bool IsRunning() const { return m_running.load(std::memory_order_acquire); }
    // Stops the thread if one exists and forgets it; returns 1 when there was one.
    int StopThread();
    // Waits for the thread to end by itself and forgets it; returns 1 when there was one.
    int WaitThread();

protected:
    // Starts the thread; 0 when it cannot be created.
    int StartThread();
    bool StopRequested() const { return m_stop.load(std::memory_order_relaxed); }
    const std::atomic<bool>* StopFlag() const { return &m_stop; }

    virtual void BeginHook() { }
    virtual void RunHook() { }
    virtual void EndHook() { }
    // Runs on the calling thread after StopThread has ended a thread.
    virtual void OnStopped() { }

private:
    void Run();

    std::thread m_thread;  // not joinable when there is no thread
    std::atomic<bool> m_stop {false};
    std::atomic<bool> m_running {false};
};

class CLoaderThread : public CWorkerThread {
public:
    // Neither is owned; both outlive the loader. Without a document there are
    // no queued hints to drop on a stop.
    CLoaderThread(CImageCatalog* catalog, CDocument* document);
    ~CLoaderThread() override;

    // Stops a running build, clears the catalog, shows the views the empty
    // catalog (hint 0, then hint 2), sets the catalog's source path to folder
    // and builds the catalog from it on the worker in the given load mode.
    // Returns 0 when the thread cannot be created (the catalog stays empty).
    int StartLoad(const QString& folder, int includeSubfolders, int mode);

protected:
    void RunHook() override;
    void OnStopped() override;

private:
    void DropQueuedHints();

    CImageCatalog* m_catalog;
    CDocument* m_document;
    // Written before the thread starts, only read by it.
    QString m_path;
    int m_includeSubfolders = 0;
    int m_mode = 1;
};
