// CImageCatalog: the ordered list of pictures being browsed, with one current
// entry and the path the catalog was built from.
//
// Thread contract: the list and the current entry are guarded by one lock, so
// the loader thread may append while the user-interface thread reads. Entries
// are filled completely before Append. Only the user-interface thread removes
// or deletes entries (RemoveAll, RemoveItem) or moves them, and it stops any
// worker build first; so an entry pointer taken on that thread stays valid
// until that thread itself removes it.
#pragma once

#include "app/image_item.h"
#include "image/image_loader.h"

#include <QString>
#include <atomic>
#include <functional>
#include <mutex>
#include <vector>

class CImageCatalog {
public:
    // Update hints given to the views.
    static constexpr int kHintCurrentChanged = 0;
    static constexpr int kHintListChanged = 2;

    CImageCatalog() = default;
    ~CImageCatalog();
    CImageCatalog(const CImageCatalog&) = delete;
    CImageCatalog& operator=(const CImageCatalog&) = delete;

    // A snapshot of the entries in catalog order.
    std::vector<CImageItem*> GetList() const;
    int GetCount() const;
    CImageItem* GetAt(int index) const;         // null when out of range
    int IndexOf(const CImageItem* item) const;  // -1 when absent

    CImageItem* GetCurrent() const;
    void SetCurrent(CImageItem* item);
    int GetCurrentIndex() const;

    void SetSourcePath(const QString& path);
    QString GetSourcePath() const;

    // Takes ownership of a completely filled entry.
    void Append(CImageItem* item);
    int RemoveAll();
    int RemoveItem(CImageItem* item);
    int MoveCurrent(int delta);

    // --- Catalog building (catalog_builder.cpp) and albums (album_file.cpp) ---
    // Path kinds of ClassifyPath.
    static constexpr int kPathFile = 1;
    static constexpr int kPathFolder = 2;
    static constexpr int kPathZip = 3;
    static constexpr int kPathAlbum = 4;
    static int ClassifyPath(const QString& path);
    int BuildList(const QString& path, int includeSubfolders, int mode);
    int ScanFolder(const QString& folder, int includeSubfolders, int mode);
    int ScanZip(const QString& archive, int mode);
    int LoadAlbum(const QString& path, int mode);
    int FillEntry(const QString& path, CImageItem* item, int isZipMember, int mode);
    // Writes every entry as an album record; returns 0 and shows a message on failure.
    int SaveAlbum(const QString& path) const;
    // A build checks this between entries and archive members and stops when set.
    void SetStopFlag(const std::atomic<bool>* stop) { m_stop = stop; }
    bool StopRequested() const { return m_stop && m_stop->load(std::memory_order_relaxed); }

private:
    // What a folder's or an archive's listing already read about a picture.
    struct ListedFacts {
        uint64_t size = 0;
        CTime modified;
        CZipMemberPos position;  // an archive member's entry
    };
    // Fills an entry for a picture file, or for a member of archive when archive
    // is not null, and appends it with a hint; false when its facts can't be read.
    // In list mode a listed picture takes the size and time its listing read, so
    // it is not looked at again; a listed member is reached by its position.
    bool AddPicture(const QString& path, const QString& archive, int mode, const ListedFacts* listed = nullptr);
    CImageLoader m_loader;

public:
    // --- end of catalog building ---

    // How the catalog tells the views that it changed (set by the document).
    void SetNotifier(std::function<void(int hint)> notifier);
    void Notify(int hint) const;

    // The file title of a path: the text between the last "\" and the last ".".
    static QString TitleOf(const QString& path);

private:
    mutable std::recursive_mutex m_mutex;
    std::vector<CImageItem*> m_list;
    CImageItem* m_current = nullptr;
    uint64_t m_shownCount = 0;  // stamps each entry made current, for the Quick View budget
    QString m_sourcePath;
    std::function<void(int)> m_notifier;
    const std::atomic<bool>* m_stop = nullptr;
};
