// Catalog building: turning a file, folder, ZIP archive or album path into
// catalog entries, each announced to the views as soon as it is appended.
#include "app/entry_pool.h"
#include "app/image_catalog.h"

#include "image/zip_archive.h"
#include "platform/device_path.h"
#include "platform/message_box.h"
#include "platform/regular_file.h"
#include "platform/visited_folders.h"
#include "res/file_types.h"

#include <algorithm>
#include <future>
#include <memory>
#include <optional>
#include <system_error>
#include <thread>

namespace {

// A name of the kind with more to it than the type's extension.
bool NamesKind(const QString& path, FileKind kind)
{
    const FileTypeDef* type = FileTypes::Of(path);
    return type && type->kind == kind && path.size() > qsizetype(qstrlen(type->extension));
}

// The folder walk of the build running on this thread. Subfolders are scanned
// through BuildList, so the walk outlives each ScanFolder call: the outermost
// scan owns it and the nested ones share it.
thread_local CVisitedFolders* t_walk = nullptr;

class CWalkScope {
public:
    CWalkScope()
        : m_owner(t_walk == nullptr)
    {
        if (m_owner)
            t_walk = &m_walk;
    }
    ~CWalkScope()
    {
        if (m_owner)
            t_walk = nullptr;
    }
    CWalkScope(const CWalkScope&) = delete;
    CWalkScope& operator=(const CWalkScope&) = delete;

    bool IsOutermost() const { return m_owner; }
    CVisitedFolders& Walk() { return *t_walk; }

private:
    bool m_owner;
    CVisitedFolders m_walk;
};

QString JoinPath(const QString& folder, const QString& name)
{
    // The device root "\" already ends in a separator.
    return folder.endsWith(QLatin1Char('\\')) ? folder + name : folder + QLatin1Char('\\') + name;
}

// FillEntry's work. An entry about to be shown (forView, thumbnail mode only)
// is decoded once for the view, and its thumbnail made from that bitmap.
bool FillPicture(const CImageCatalog& catalog, const QString& path, CImageItem* item, bool isZipMember, int mode,
                 bool forView)
{
    item->m_path = path;
    if (item->m_memo.content.isEmpty())
        item->m_memo.content = CImageCatalog::TitleOf(path);
    if (!isZipMember)
        item->m_source = catalog.GetSourcePath();
    const CImageLoader loader;
    if (forView)
        return loader.LoadViewAndThumbnail(item->m_picture, item->File());
    if (mode != 0)
        return loader.LoadThumbnail(item->m_picture, item->File());
    if (isZipMember)
        return loader.LoadZipMember(item->m_picture, item->File(), CImageLoader::kModeView, true);
    return loader.LoadPicture(item->m_picture, item->File(), CImageLoader::kModeView, true);
}

}  // namespace

int CImageCatalog::ClassifyPath(const QString& path)
{
    // A path whose attributes cannot be read counts as a folder: its scan
    // then fails quietly, as for any folder that cannot be listed.
    const RegularFile::Kind kind = RegularFile::KindOf(DevicePath::ToHost(path));
    if (kind == RegularFile::Kind::Missing || kind == RegularFile::Kind::Folder)
        return kPathFolder;
    if (NamesKind(path, FileKind::Archive))
        return kPathZip;
    if (NamesKind(path, FileKind::Album))
        return kPathAlbum;
    return kPathFile;
}

int CImageCatalog::BuildList(const QString& path, int includeSubfolders, int mode)
{
    // One build shows one message of each kind of failure and counts the rest.
    CMessageBatch oneBuild;
    switch (ClassifyPath(path)) {
    case kPathFolder:
        return ScanFolder(path, includeSubfolders, mode);
    case kPathZip:
        return ScanZip(path, mode);
    case kPathAlbum:
        return LoadAlbum(path, mode);
    default:
        break;
    }
    if (!FileTypes::IsPictureName(path)) {
        Notify(kHintListChanged);
        return 0;
    }
    // Only a regular file is ever opened: a pipe or device would block the read.
    if (const QString host = DevicePath::ToHost(path); RegularFile::IsOtherKind(host)) {
        ShowFailure(QStringLiteral("Cannot load %1"), path);
        return 0;
    }
    // A picture opened into an empty catalog is shown next.
    auto* item = new CImageItem;
    if (!FillPicture(*this, path, item, false, mode, mode != 0 && GetCount() == 0)) {
        delete item;
        return 0;
    }
    Append(item);
    Notify(kHintListChanged);
    return 1;
}

int CImageCatalog::FillEntry(const QString& path, CImageItem* item, int isZipMember, int mode)
{
    return FillPicture(*this, path, item, isZipMember != 0, mode, false) ? 1 : 0;
}

// Appends one picture of a folder or archive when its facts can be read.
bool CImageCatalog::AddPicture(const QString& path, const QString& archive, int mode, const ListedFacts* listed)
{
    auto* item = new CImageItem;
    if (!archive.isNull())
        item->m_source = archive;
    if (listed)
        item->m_memberPosition = listed->position;
    bool filled;
    if (listed && mode == 0) {
        // The listing read what the loader would: no second look.
        item->m_path = path;
        item->m_memo.content = TitleOf(path);
        if (archive.isNull())
            item->m_source = GetSourcePath();
        item->m_picture.m_fileSize = uint32_t(listed->size);
        item->m_picture.m_modified = listed->modified;
        filled = true;
    } else {
        filled = FillEntry(path, item, archive.isNull() ? 0 : 1, mode);
    }
    if (!filled) {
        delete item;
        return false;
    }
    Append(item);
    Notify(kHintListChanged);
    return true;
}

int CImageCatalog::ScanFolder(const QString& folder, int includeSubfolders, int mode)
{
    CWalkScope scope;
    std::vector<CFindData> entries;
    if ((scope.IsOutermost() && !scope.Walk().Enter(folder)) || !EnumerateDirectory(folder, &entries)) {
        Notify(kHintListChanged);
        return 0;
    }
    // In thumbnail mode the pictures are decoded ahead on every core.
    CEntryPool pool(*this, mode);
    for (const CFindData& entry : entries) {
        if (StopRequested())
            break;
        const QString full = JoinPath(folder, entry.name);
        if (entry.isDirectory) {
            // A folder met twice (a link loop, two links to one folder) or on a
            // pseudo file system is passed by.
            pool.Flush();
            if (includeSubfolders && scope.Walk().Enter(full))
                BuildList(full, includeSubfolders, mode);
        } else if (!entry.isRegular) {
            // A pipe or device named like a picture or archive is never opened.
            continue;
        } else if (NamesKind(entry.name, FileKind::Archive)) {
            // Archives lying in a scanned folder are always listed.
            pool.Flush();
            BuildList(full, 0, mode);
        } else if (FileTypes::IsPictureName(entry.name) && mode != 0) {
            pool.Add(std::make_unique<CImageItem>(), full, false, false);
        } else if (FileTypes::IsPictureName(entry.name)) {
            const ListedFacts facts {uint64_t(entry.size), CTime(entry.modified), {}};
            AddPicture(full, QString(), mode, &facts);
        }
    }
    pool.Flush();
    if (StopRequested())
        return 0;
    if (GetCount() == 0)
        Notify(kHintListChanged);
    return 1;
}

int CImageCatalog::ScanZip(const QString& archive, int mode)
{
    // The listing shows "Can't open ZIP file for thumbnail: " itself. The
    // archive is walked once: a list-mode entry is made from its listed facts;
    // a thumbnail's member is read from the listed position through the
    // listing, and decoded ahead on every core.
    CEntryPool pool(*this, mode);
    const int listed = ListZipPictures(
        archive,
        [&](const CZipMemberInfo& member) {
            if (StopRequested())
                return false;
            if (mode == 0) {
                const ListedFacts facts {member.size, member.modified, member.position};
                AddPicture(member.name, archive, mode, &facts);
                return true;
            }
            auto item = std::make_unique<CImageItem>();
            item->m_source = archive;
            item->m_memberPosition = member.position;
            pool.Add(std::move(item), member.name, true, false);
            return true;
        },
        [&](const QString& name) { pool.Hold([&] { ShowUnlistedZipPicture(name); }); });
    pool.Flush();
    if (!listed || StopRequested())
        return 0;
    if (GetCount() == 0)
        Notify(kHintListChanged);
    return 1;
}

CEntryPool::CEntryPool(CImageCatalog& catalog, int mode)
    : m_catalog(catalog)
    , m_mode(mode)
    , m_window(std::max(2u, std::thread::hardware_concurrency()))
{
}

CEntryPool::~CEntryPool()
{
    Flush();
    {
        std::lock_guard lock(m_mutex);
        m_closing = true;
    }
    m_wake.notify_all();
    for (std::thread& thread : m_threads)
        thread.join();
}

void CEntryPool::Add(std::unique_ptr<CImageItem> item, const QString& path, bool isZipMember, bool keepFailed)
{
    const bool forView = m_mode != 0 && m_ahead.empty() && m_catalog.GetCount() == 0;
    if (m_mode == 0) {
        const bool filled = FillPicture(m_catalog, path, item.get(), isZipMember, m_mode, false);
        Append({std::move(item), filled, keepFailed, {}});
        return;
    }
    // A member is read here, where its archive's listing holds it open.
    std::unique_ptr<const CZipReadMember> read;
    std::vector<CMessageCapture::Shown> shown;
    if (isZipMember) {
        CMessageCapture capture;
        read = std::make_unique<const CZipReadMember>(item->m_source, path, item->m_memberPosition);
        shown = capture.Take();
    }
    Job job([this, item = std::move(item), path, isZipMember, keepFailed, forView, read = std::move(read),
             shown = std::move(shown)]() mutable {
        CMessageCapture capture;
        std::optional<CZipLentMember> lent;
        if (read)
            lent.emplace(*read);
        const bool filled = FillPicture(m_catalog, path, item.get(), isZipMember, m_mode, forView);
        for (CMessageCapture::Shown& each : capture.Take())
            shown.push_back(std::move(each));
        return Done {std::move(item), filled, keepFailed, std::move(shown)};
    });
    m_ahead.push_back(job.get_future());
    {
        std::lock_guard lock(m_mutex);
        m_jobs.push_back(std::move(job));
    }
    // The pool's threads start with its first jobs and serve it to its end.
    if (m_threads.size() < m_window) {
        try {
            m_threads.emplace_back(&CEntryPool::Serve, this, false);
        } catch (const std::system_error&) {
            if (m_threads.empty())
                Serve(true);  // no thread at all: the jobs run here
        }
    }
    m_wake.notify_one();
    AppendAhead(m_window);
}

void CEntryPool::Serve(bool drain)
{
    for (;;) {
        Job job;
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [&] { return drain || m_closing || !m_jobs.empty(); });
            if (m_jobs.empty())
                return;
            job = std::move(m_jobs.front());
            m_jobs.pop_front();
        }
        job();
    }
}

void CEntryPool::Hold(const std::function<void()>& show)
{
    if (m_mode == 0) {
        show();
        return;
    }
    CMessageCapture capture;
    show();
    m_ahead.push_back(std::async(std::launch::deferred, [shown = capture.Take()]() mutable {
        return Done {nullptr, false, false, std::move(shown)};
    }));
}

void CEntryPool::AppendAhead(size_t keep)
{
    while (m_ahead.size() > keep) {
        Done done = m_ahead.front().get();
        m_ahead.pop_front();
        Append(std::move(done));
    }
}

void CEntryPool::Append(Done done)
{
    if (m_catalog.StopRequested())
        return;
    CMessageCapture::Replay(done.shown);
    if (done.item && (done.filled || done.keepFailed)) {
        m_catalog.Append(done.item.release());
        m_catalog.Notify(CImageCatalog::kHintListChanged);
    }
}
