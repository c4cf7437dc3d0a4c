// Catalog building: turning a file, folder, ZIP archive or album path into
// catalog entries, each announced to the views as soon as it is appended.
#include "app/image_catalog.h"

#include "image/zip_archive.h"
#include "platform/device_path.h"
#include "platform/message_box.h"
#include "platform/regular_file.h"
#include "platform/visited_folders.h"
#include "res/file_types.h"

#include <algorithm>
#include <deque>
#include <future>
#include <memory>
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
    auto* item = new CImageItem;
    if (!FillEntry(path, item, 0, mode)) {
        delete item;
        return 0;
    }
    Append(item);
    Notify(kHintListChanged);
    return 1;
}

int CImageCatalog::FillEntry(const QString& path, CImageItem* item, int isZipMember, int mode)
{
    item->m_path = path;
    if (item->m_memo.content.isEmpty())
        item->m_memo.content = TitleOf(path);
    if (!isZipMember)
        item->m_source = GetSourcePath();
    int result;
    if (mode != 0)
        result = m_loader.LoadThumbnail(item->m_picture, item->File());
    else if (isZipMember)
        result = m_loader.LoadZipMember(item->m_picture, item->File(), CImageLoader::kModeView, true);
    else
        result = m_loader.LoadPicture(item->m_picture, item->File(), CImageLoader::kModeView, true);
    return result ? 1 : 0;
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

namespace {

// A folder's picture whose thumbnail is decoded on a pool thread, with what
// the decode showed.
struct CAheadEntry {
    std::unique_ptr<CImageItem> item;
    bool filled = false;
    std::vector<CMessageCapture::Shown> shown;
};

}  // namespace

int CImageCatalog::ScanFolder(const QString& folder, int includeSubfolders, int mode)
{
    CWalkScope scope;
    std::vector<CFindData> entries;
    if ((scope.IsOutermost() && !scope.Walk().Enter(folder)) || !EnumerateDirectory(folder, &entries)) {
        Notify(kHintListChanged);
        return 0;
    }
    // In thumbnail mode the pictures' thumbnails are decoded on every core, a
    // few ahead of the entry being appended; entries are appended, announced
    // and their failures shown in the folder's order, as one decode after
    // another would. Nothing is appended once a stop is asked for.
    const size_t cores = std::max(2u, std::thread::hardware_concurrency());
    std::deque<std::future<CAheadEntry>> ahead;
    const auto appendAhead = [&](size_t keep) {
        while (ahead.size() > keep) {
            CAheadEntry done = ahead.front().get();
            ahead.pop_front();
            if (StopRequested())
                continue;
            CMessageCapture::Replay(done.shown);
            if (done.filled) {
                Append(done.item.release());
                Notify(kHintListChanged);
            }
        }
    };
    for (const CFindData& entry : entries) {
        if (StopRequested())
            break;
        const QString full = JoinPath(folder, entry.name);
        if (entry.isDirectory) {
            // A folder met twice (a link loop, two links to one folder) or on a
            // pseudo file system is passed by.
            appendAhead(0);
            if (includeSubfolders && scope.Walk().Enter(full))
                BuildList(full, includeSubfolders, mode);
        } else if (!entry.isRegular) {
            // A pipe or device named like a picture or archive is never opened.
            continue;
        } else if (NamesKind(entry.name, FileKind::Archive)) {
            // Archives lying in a scanned folder are always listed.
            appendAhead(0);
            BuildList(full, 0, mode);
        } else if (FileTypes::IsPictureName(entry.name) && mode != 0) {
            ahead.push_back(std::async(std::launch::async, [this, full, mode] {
                CAheadEntry decoded;
                decoded.item = std::make_unique<CImageItem>();
                CMessageCapture capture;
                decoded.filled = FillEntry(full, decoded.item.get(), 0, mode) != 0;
                decoded.shown = capture.Take();
                return decoded;
            }));
            appendAhead(cores);
        } else if (FileTypes::IsPictureName(entry.name)) {
            const ListedFacts facts {uint64_t(entry.size), CTime(entry.modified), {}};
            AddPicture(full, QString(), mode, &facts);
        }
    }
    appendAhead(0);
    if (StopRequested())
        return 0;
    if (GetCount() == 0)
        Notify(kHintListChanged);
    return 1;
}

int CImageCatalog::ScanZip(const QString& archive, int mode)
{
    // The listing shows "Can't open ZIP file for thumbnail: " itself. The
    // archive is walked once: each entry is made from its listed facts, and a
    // thumbnail reads its member from the listed position.
    const int listed = ListZipPictures(archive, [&](const CZipMemberInfo& member) {
        if (StopRequested())
            return false;
        const ListedFacts facts {member.size, member.modified, member.position};
        AddPicture(member.name, archive, mode, &facts);
        return true;
    });
    if (!listed || StopRequested())
        return 0;
    if (GetCount() == 0)
        Notify(kHintListChanged);
    return 1;
}
