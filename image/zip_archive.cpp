#include "image/zip_archive.h"

#include "platform/device_path.h"
#include "platform/message_box.h"
#include "res/file_types.h"

#include <QHash>
#include <utility>

namespace {

constexpr qsizetype kMaxArchivePathLength = 255;

bool OpenArchive(CZipReader* reader, const QString& archivePath)
{
    if (archivePath.isEmpty() || archivePath.size() > kMaxArchivePathLength)
        return false;
    return reader->Open(DevicePath::ToHost(archivePath));
}

// The archive a listing on this thread holds open while it hands out a
// picture. A member found meanwhile (the thumbnail a build makes of each
// listed member) is read through the listing's reader, which then goes back
// to the listing's place: opening an archive searches its last 64 KiB for
// the directory, far more than reading one small member costs.
struct OpenListing {
    const QString& archivePath;
    CZipReader& reader;
    bool moved = false;
};
thread_local OpenListing* t_listing = nullptr;

// The member read on another thread that finds on this one answer from.
thread_local const CZipReadMember* t_lent = nullptr;

class CListingScope {
public:
    CListingScope(const QString& archivePath, CZipReader& reader)
        : m_listing {archivePath, reader}
        , m_outer(std::exchange(t_listing, &m_listing))
    {
    }
    ~CListingScope() { t_listing = m_outer; }
    CListingScope(const CListingScope&) = delete;
    CListingScope& operator=(const CListingScope&) = delete;

    // Puts the reader back on the member the listing handed out, when a find moved it.
    bool Return(const CZipMemberPos& position)
    {
        return !std::exchange(m_listing.moved, false) || m_listing.reader.GoTo(position);
    }

private:
    OpenListing m_listing;
    OpenListing* m_outer;
};

}  // namespace

QString ZipNameKey(const QString& name)
{
    return name.toCaseFolded();
}

bool IndexZipPictures(const QString& archivePath, QHash<QString, CZipMemberPos>* index)
{
    CZipReader reader;
    if (!OpenArchive(&reader, archivePath))
        return false;
    CZipMemberInfo member;
    for (bool more = reader.GoToFirst(); more; more = reader.GoToNext()) {
        if (!reader.ReadCurrentInfo(&member))
            break;
        const QString key = ZipNameKey(member.name);
        if (!member.nameTooLong && FileTypes::IsPictureName(member.name) && !index->contains(key))
            index->insert(key, member.position);
    }
    return true;
}

void ShowUnlistedZipPicture(const QString& name)
{
    ShowFailure(QStringLiteral("Cannot load %1"), name);
}

int ListZipPictures(const QString& archivePath, const std::function<bool(const CZipMemberInfo&)>& onPicture,
                    const std::function<void(const QString& name)>& onUnlisted)
{
    CZipReader reader;
    if (!OpenArchive(&reader, archivePath)) {
        ShowFailure(QStringLiteral("Can't open ZIP file for thumbnail: %1"), archivePath);
        return 0;
    }
    // A name met again (letter case aside) stands for the first member of that
    // name, the one finding it gives: its facts and its position.
    QHash<QString, CZipMemberInfo> firstOfName;
    CZipMemberInfo member;
    CListingScope scope(archivePath, reader);
    for (bool more = reader.GoToFirst(); more; more = reader.GoToNext()) {
        if (!reader.ReadCurrentInfo(&member))
            break;
        if (!FileTypes::IsPictureName(member.name))
            continue;
        // A picture whose name is too long to be found again is not listed, but said.
        if (member.nameTooLong) {
            if (onUnlisted)
                onUnlisted(member.name);
            else
                ShowUnlistedZipPicture(member.name);
            continue;
        }
        const QString key = ZipNameKey(member.name);
        auto first = firstOfName.constFind(key);
        if (first == firstOfName.cend())
            first = firstOfName.insert(key, member);
        CZipMemberInfo listed = first.value();
        listed.name = member.name;
        if (!onPicture(listed) || !scope.Return(member.position))
            break;
    }
    return 1;
}

ZipFindResult FindZipMember(const QString& archivePath, const QString& memberName, CZipMemberInfo* info,
                            QByteArray* bytes, const CZipMemberPos& position)
{
    if (t_lent && t_lent->archivePath == archivePath && t_lent->memberName == memberName) {
        if (info && t_lent->result == ZipFindResult::Found)
            *info = t_lent->info;
        if (bytes)
            *bytes = t_lent->bytes;
        return t_lent->result;
    }
    CZipReader own;
    const bool listing = t_listing && t_listing->archivePath == archivePath;
    if (listing)
        t_listing->moved = true;
    else if (!OpenArchive(&own, archivePath)) {
        ShowFailure(QStringLiteral("Can't open ZIP file: %1"), archivePath);
        return ZipFindResult::Failed;
    }
    CZipReader& reader = listing ? t_listing->reader : own;
    CZipMemberInfo member;
    auto isWanted = [&] {
        return !member.nameTooLong && FileTypes::IsPictureName(member.name)
               && member.name.compare(memberName, Qt::CaseInsensitive) == 0;
    };
    auto take = [&] {
        if (info)
            *info = member;
        if (bytes && reader.ReadCurrent(member, bytes) != ZipReadStatus::Ok) {
            ShowFailure(QStringLiteral("Cannot load %1"), member.name);
            return ZipFindResult::Failed;
        }
        return ZipFindResult::Found;
    };
    auto refuse = [&] { ShowFailure(QStringLiteral("Can't open file: %1"), member.name); };
    // Straight to the listed entry when it still holds the member.
    if (reader.GoTo(position) && reader.ReadCurrentInfo(&member) && isWanted()) {
        if (reader.OpenCurrent(member))
            return take();
        refuse();
        return ZipFindResult::NotFound;
    }
    for (bool more = reader.GoToFirst(); more; more = reader.GoToNext()) {
        if (!reader.ReadCurrentInfo(&member))
            break;
        if (member.nameTooLong)
            continue;
        if (!reader.OpenCurrent(member))
            refuse();
        else if (isWanted())
            return take();
    }
    return ZipFindResult::NotFound;
}

CZipReadMember::CZipReadMember(const QString& archivePath, const QString& memberName, const CZipMemberPos& position)
    : archivePath(archivePath)
    , memberName(memberName)
    , result(FindZipMember(archivePath, memberName, &info, &bytes, position))
{
}

CZipLentMember::CZipLentMember(const CZipReadMember& read)
    : m_outer(std::exchange(t_lent, &read))
{
}

CZipLentMember::~CZipLentMember()
{
    t_lent = m_outer;
}
