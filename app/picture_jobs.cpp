#include "app/picture_jobs.h"

#include "app/image_catalog.h"
#include "image/view_decode.h"

#include <QMetaObject>
#include <algorithm>
#include <optional>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

struct CPictureJobs::Job {
    // A decode of item's picture at view size.
    Job(CImageItem* item, bool quickView, bool mayFreeOthers)
        : item(item)
        , file(item->File())
    {
        decode.emplace(file, quickView, mayFreeOthers);
    }
    // A region of item's decoded picture, as it is turned and sized now.
    Job(CImageItem* item, const CPictureRegion& region)
        : item(item)
        , file(item->File())
        , detailRegion(region)
        , orientation(item->m_picture.m_orientation)
        , width(item->m_picture.m_width)
        , height(item->m_picture.m_height)
    {
    }
    ~Job() { DeleteObject(detail); }
    bool IsRegion() const { return !decode; }

    CImageItem* item;                   // the key: never dereferenced off the user-interface thread
    CPictureFile file;                  // the file read, the rest of the key
    std::optional<CViewDecode> decode;  // a view decode's; none for a region
    std::vector<CMessageCapture::Shown> shown;
    CPictureRegion detailRegion;
    int orientation = 1;
    int width = 0;
    int height = 0;
    HBITMAP detail = nullptr;  // the region decoded
};

namespace {

constexpr int kWorkerNice = 5;

bool SameFile(const CPictureFile& a, const CPictureFile& b)
{
    return a.path == b.path && a.source == b.source;
}

}  // namespace

CPictureJobs::CPictureJobs(CImageCatalog& catalog, int workers)
    : m_catalog(catalog)
    , m_context(std::make_unique<QObject>())
{
    for (int i = 0; i < std::max(1, workers); ++i)
        m_workers.emplace_back([this] { Work(); });
}

CPictureJobs::~CPictureJobs()
{
    {
        std::lock_guard lock(m_lock);
        m_stop = true;
        m_waiting.clear();
    }
    m_changed.notify_all();
    for (std::thread& worker : m_workers)
        worker.join();
}

std::unique_ptr<CPictureJobs::Job> CPictureJobs::MakeJob(CImageItem* item, bool quickView, bool ahead) const
{
    auto job = std::make_unique<Job>(item, quickView, !ahead);
    // Only Quick View off frees anything first: the catalog is not walked otherwise.
    if (!quickView)
        job->decode->Begin(Pictures(), item->m_picture);
    return job;
}

std::vector<CPicture*> CPictureJobs::Pictures() const
{
    std::vector<CPicture*> pictures;
    for (CImageItem* each : m_catalog.GetList())
        pictures.push_back(&each->m_picture);
    return pictures;
}

bool CPictureJobs::HasJob(const CImageItem* item, bool orFinished) const
{
    const auto same
        = [item](const Job* job) { return !job->IsRegion() && job->item == item && SameFile(job->file, item->File()); };
    const auto sameOwned = [&](const std::unique_ptr<Job>& job) { return same(job.get()); };
    return std::any_of(m_waiting.begin(), m_waiting.end(), sameOwned)
           || std::any_of(m_running.begin(), m_running.end(), same)
           || (orFinished && std::any_of(m_finished.begin(), m_finished.end(), sameOwned));
}

void CPictureJobs::Show(CImageItem* current, bool quickView, int64_t budget)
{
    m_budget = budget;
    m_shown = current;
    m_quickView = quickView;
    m_ahead.clear();
    const int index = current ? m_catalog.IndexOf(current) : -1;
    m_neighbourMissing = current && quickView && index + 1 >= m_catalog.GetCount();
    if (current && quickView) {
        const int step = index < m_lastIndex ? -1 : 1;
        for (int i : {index + step, index - step})
            if (CImageItem* neighbour = m_catalog.GetAt(i))
                m_ahead.push_back(neighbour);
    }
    m_lastIndex = index;
    std::deque<std::unique_ptr<Job>> jobs;
    if (current && !current->m_picture.m_fullBitmap) {
        jobs.push_back(MakeJob(current, quickView));
    } else if (current && !quickView) {
        // Decoded already (ahead, before Quick View went off): the others go.
        for (CPicture* each : Pictures())
            if (each != &current->m_picture)
                each->FreePicture();
    }
    for (CImageItem* neighbour : m_ahead)
        if (!neighbour->m_picture.m_fullBitmap)
            jobs.push_back(MakeJob(neighbour, true, true));
    {
        std::lock_guard lock(m_lock);
        m_waiting.clear();
        for (auto& job : jobs)
            if (!HasJob(job->item))
                m_waiting.push_back(std::move(job));
    }
    m_changed.notify_all();
}

void CPictureJobs::ShowDetail(CImageItem* item, const CPictureRegion& region)
{
    auto job = std::make_unique<Job>(item, region);
    {
        std::lock_guard lock(m_lock);
        m_waiting.erase(
            std::remove_if(m_waiting.begin(), m_waiting.end(), [](const auto& each) { return each->IsRegion(); }),
            m_waiting.end());
        m_waiting.push_front(std::move(job));
    }
    m_changed.notify_all();
}

void CPictureJobs::ListChanged()
{
    if (m_neighbourMissing && m_shown == m_catalog.GetCurrent()
        && m_catalog.IndexOf(m_shown) + 1 < m_catalog.GetCount())
        Show(m_shown, m_quickView, m_budget);
}

void CPictureJobs::Finish(CImageItem* item, bool quickView)
{
    if (!item || item->m_picture.m_fullBitmap)
        return;
    bool asked;
    {
        std::lock_guard lock(m_lock);
        asked = HasJob(item);
    }
    // Only this thread adds jobs: none can appear meanwhile.
    if (!asked) {
        auto job = MakeJob(item, quickView);
        std::lock_guard lock(m_lock);
        m_waiting.push_front(std::move(job));
    }
    m_changed.notify_all();
    // A landing may send the job back (a retry with the other pictures freed).
    for (;;) {
        std::unique_lock lock(m_lock);
        m_changed.wait(lock, [&] { return !HasJob(item, false); });
        if (!HasJob(item))
            return;
        lock.unlock();
        LandFinished();
    }
}

bool CPictureJobs::IsBusy() const
{
    std::lock_guard lock(m_lock);
    return !m_waiting.empty() || !m_running.empty() || !m_finished.empty();
}

void CPictureJobs::Work()
{
    // Below the user-interface thread: a decode ahead never delays a paint or
    // the answer to a key (on two cores two decodes would otherwise share
    // them with it). The nice value is the thread's own on Linux.
    setpriority(PRIO_PROCESS, pid_t(syscall(SYS_gettid)), kWorkerNice);
    for (;;) {
        std::unique_ptr<Job> job;
        {
            std::unique_lock lock(m_lock);
            m_changed.wait(lock, [this] { return m_stop || !m_waiting.empty(); });
            if (m_stop)
                return;
            job = std::move(m_waiting.front());
            m_waiting.pop_front();
            m_running.push_back(job.get());
        }
        if (job->IsRegion()) {
            job->detail = m_loader.LoadRegion(job->file, job->detailRegion, job->orientation, job->width, job->height);
        } else {
            CMessageCapture capture;
            job->decode->Run(m_loader);
            job->shown = capture.Take();
        }
        {
            std::lock_guard lock(m_lock);
            m_running.erase(std::find(m_running.begin(), m_running.end(), job.get()));
            m_finished.push_back(std::move(job));
        }
        m_changed.notify_all();
        QMetaObject::invokeMethod(
            m_context.get(), [this] { LandFinished(); }, Qt::QueuedConnection);
    }
}

void CPictureJobs::LandFinished()
{
    std::vector<std::unique_ptr<Job>> finished;
    {
        std::lock_guard lock(m_lock);
        finished.swap(m_finished);
    }
    for (auto& job : finished)
        Land(std::move(job));
}

void CPictureJobs::LandDetail(Job& job)
{
    CImageItem* item = job.item;
    if (!job.detail || m_catalog.IndexOf(item) < 0 || !SameFile(item->File(), job.file))
        return;
    CPicture& picture = item->m_picture;
    // The picture it was cut from: decoded, and turned the same way.
    if (!picture.m_fullBitmap || picture.m_orientation != job.orientation || picture.m_width != job.width
        || picture.m_height != job.height)
        return;
    DeleteObject(picture.m_detail);
    picture.m_detail = job.detail;
    picture.m_detailRegion = job.detailRegion;
    job.detail = nullptr;
    if (m_onDecoded)
        m_onDecoded(item);
}

void CPictureJobs::Land(std::unique_ptr<Job> job)
{
    if (job->IsRegion()) {
        LandDetail(*job);
        return;
    }
    CImageItem* item = job->item;
    const bool current = item == m_catalog.GetCurrent();
    const bool wanted = current || std::find(m_ahead.begin(), m_ahead.end(), item) != m_ahead.end();
    if (!wanted || m_catalog.IndexOf(item) < 0 || item->m_picture.m_fullBitmap || !SameFile(item->File(), job->file))
        return;
    // A neighbour decoded ahead counts as shown with the current picture, so
    // that the others go before it past the budget, and the neighbours stay
    // while others go; one that does not fit beside them is not kept.
    std::vector<const CPicture*> keep;
    if (CImageItem* shown = m_catalog.GetCurrent(); !current && shown) {
        item->m_picture.m_lastShown = shown->m_picture.m_lastShown;
        for (CImageItem* each : m_catalog.GetList())
            if (each == shown || std::find(m_ahead.begin(), m_ahead.end(), each) != m_ahead.end())
                keep.push_back(&each->m_picture);
    }
    CMessageBatch oneLoad;
    switch (job->decode->Land(Pictures(), item->m_picture, keep, m_budget)) {
    case CViewDecode::Landing::kRetry: {
        {
            std::lock_guard lock(m_lock);
            m_waiting.push_front(std::move(job));
        }
        m_changed.notify_all();
        return;
    }
    case CViewDecode::Landing::kFailed:
        if (!current)
            return;
        CMessageCapture::Replay(job->shown);
        break;
    case CViewDecode::Landing::kLanded:
        if (!current && DecodedBytes(Pictures()) > m_budget)
            item->m_picture.FreePicture();
        break;
    }
    if (current && m_onDecoded)
        m_onDecoded(item);
}
