// CPictureJobs: decodes the current picture, and with Quick View on its
// neighbours in the direction of travel, on worker threads, so that the
// user-interface thread never decodes a picture itself.
//
// Thread contract:
// - Show, Finish, IsBusy and the destructor are called on the user-interface
//   thread (the thread that made the object); results land on it too.
// - A job decodes into a picture of its own (CViewDecode) and never touches
//   an entry: the entry is only its key. A finished job is queued and the
//   user-interface thread is woken; there its picture goes into its entry
//   only if that entry is still in the catalog with the same file, still
//   without a decoded picture, and still wanted (current, or a neighbour of
//   the last Show). Anything else is dropped: a rebuilt catalog, or a user
//   who moved on, never sees a stale picture.
// - What a job shows (a failure) is held, and shown when the current
//   picture's result lands; a neighbour's failure is dropped and shown once
//   it becomes current and is decoded again.
// - Show drops the jobs that have not started; a running decode is never cut
//   short, its result is judged when it lands. The destructor lets running
//   decodes end, joins the workers and drops every result not landed.
// - A region job (ShowDetail) decodes a part of a picture that is shown
//   already, sharper, for a zoom past what its decoded picture holds. It
//   lands in the picture's detail if the entry still has the same file and
//   its decoded picture; a new ShowDetail or Show drops the region jobs not
//   started.
#pragma once

#include "image/image_loader.h"
#include "image/picture.h"
#include "platform/message_box.h"

#include <QObject>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class CImageCatalog;
class CImageItem;
class CViewDecode;

class CPictureJobs {
public:
    // workers: how many pictures may decode at once.
    CPictureJobs(CImageCatalog& catalog, int workers);
    ~CPictureJobs();
    CPictureJobs(const CPictureJobs&) = delete;
    CPictureJobs& operator=(const CPictureJobs&) = delete;

    // Called on the user-interface thread when the current picture's decode
    // has landed (item has its picture) or failed (its message shown).
    void SetOnDecoded(std::function<void(CImageItem*)> onDecoded) { m_onDecoded = std::move(onDecoded); }

    // current is the picture to show now (null: none). Without a decoded
    // picture it gets a job, ahead of everything; with Quick View off every
    // other decoded picture is freed first. With Quick View on, the
    // neighbours without one follow: the one in the direction of the last
    // move, then the other.
    void Show(CImageItem* current, bool quickView, int64_t budget = kDecodedBudgetBytes);
    // Decodes region of item's decoded picture sharper (CImageLoader::
    // LoadRegion) ahead of the jobs waiting; onDecoded is called when it
    // has landed in the picture's detail. Nothing happens when it fails.
    void ShowDetail(CImageItem* item, const CPictureRegion& region);
    // Entries were appended: a neighbour the last Show could not find yet
    // (the current picture was the last entry) is decoded ahead now.
    void ListChanged();
    // Returns once item has its decoded picture or its decode failed, waiting
    // for the workers (a job is started if item has none).
    void Finish(CImageItem* item, bool quickView);
    // True while a job waits, runs or has a result not landed yet.
    bool IsBusy() const;
    // Lands the results of the jobs that ended, now (the event loop does it
    // otherwise; tests without one call it).
    void LandFinished();

private:
    struct Job;
    void Work();
    void Land(std::unique_ptr<Job> job);
    void LandDetail(Job& job);
    // Whether item, with its present file, has a job waiting or running (or,
    // orFinished, ended and not landed); m_lock held.
    // Region jobs do not count.
    bool HasJob(const CImageItem* item, bool orFinished = true) const;
    std::unique_ptr<Job> MakeJob(CImageItem* item, bool quickView, bool ahead = false) const;
    std::vector<CPicture*> Pictures() const;

    CImageCatalog& m_catalog;
    const CImageLoader m_loader {};
    std::function<void(CImageItem*)> m_onDecoded;
    // The user-interface thread's alone.
    std::vector<CImageItem*> m_ahead;  // the neighbours of the last Show
    int m_lastIndex = -1;
    CImageItem* m_shown = nullptr;  // the last Show's; only compared
    bool m_quickView = false;       // the last Show's
    bool m_neighbourMissing = false;
    int64_t m_budget = kDecodedBudgetBytes;
    std::unique_ptr<QObject> m_context;  // lives on the user-interface thread; landings are posted to it

    mutable std::mutex m_lock;  // guards the four below
    std::condition_variable m_changed;
    std::deque<std::unique_ptr<Job>> m_waiting;
    std::vector<const Job*> m_running;  // owned by the workers decoding them
    std::vector<std::unique_ptr<Job>> m_finished;
    bool m_stop = false;
    std::vector<std::thread> m_workers;
};
