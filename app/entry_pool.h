// CEntryPool: the entries of one scan (a folder, an archive, an album), filled
// ahead on every core and appended in the order they were queued.
//
// In thumbnail mode each entry's picture is decoded on a pool thread (one per
// core, started with the first jobs and kept to the scan's end; a window of
// one job per core ahead of the entry being appended) while the building
// thread goes on listing. Entries are appended,
// announced (one list hint each) and their failures shown in the order they
// were queued, as one fill after another would: what a fill shows is held by
// a CMessageCapture on its pool thread and replayed in the build's batch when
// its entry is appended. An archive member's bytes are read on the building
// thread (through the listing's open archive while one is walked), so pool
// threads only decode. Nothing is appended once a stop is asked for: the fills
// in flight end and are dropped. In list mode each entry is filled and
// appended at once on the building thread.
//
// The entry that becomes the catalog's first (queued while the catalog is
// empty and none is in flight) is the one the views make current: it is
// decoded once at view size, its thumbnail made from that bitmap, and it is
// appended holding both.
//
// Implemented with the builder, in catalog_builder.cpp.
#pragma once

#include "platform/message_box.h"

#include <QString>
#include <condition_variable>
#include <deque>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class CImageCatalog;
class CImageItem;

class CEntryPool {
public:
    CEntryPool(CImageCatalog& catalog, int mode);
    // Appends what is still in flight (nothing after a stop).
    ~CEntryPool();
    CEntryPool(const CEntryPool&) = delete;
    CEntryPool& operator=(const CEntryPool&) = delete;

    // Queues an entry for the picture at path: a plain file's device path, or
    // (isZipMember) a member of the archive named by the item's source, found
    // at its member position. The item may already hold its memo, source and
    // album. A picture that cannot be loaded is appended only when keepFailed.
    void Add(std::unique_ptr<CImageItem> item, const QString& path, bool isZipMember, bool keepFailed);
    // Runs show on this thread and shows what it showed after the entries
    // queued so far.
    void Hold(const std::function<void()>& show);
    // Appends every entry queued so far, waiting for their fills.
    void Flush() { AppendAhead(0); }

private:
    struct Done {
        std::unique_ptr<CImageItem> item;  // null: only messages
        bool filled = false;
        bool keepFailed = false;
        std::vector<CMessageCapture::Shown> shown;
    };
    using Job = std::packaged_task<Done()>;
    void AppendAhead(size_t keep);
    void Append(Done done);
    // A pool thread: runs the queued jobs until the pool closes; drain: only
    // those queued now (the building thread, when no thread could be made).
    void Serve(bool drain);

    CImageCatalog& m_catalog;
    const int m_mode;
    const size_t m_window;
    std::deque<std::future<Done>> m_ahead;  // the building thread's alone
    std::vector<std::thread> m_threads;     // likewise
    std::mutex m_mutex;                     // guards the two below
    std::condition_variable m_wake;
    std::deque<Job> m_jobs;
    bool m_closing = false;
};
