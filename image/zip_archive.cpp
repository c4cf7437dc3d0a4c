#include "image/zip_archive.h"

#include "platform/device_path.h"
#include "platform/message_box.h"
#include "res/file_types.h"

namespace {

constexpr qsizetype kMaxArchivePathLength = 255;

bool OpenArchive(CZipReader* reader, const QString& archivePath)
{
    if (archivePath.isEmpty() || archivePath.size() > kMaxArchivePathLength)
        return false;
    return reader->Open(DevicePath::ToHost(archivePath));
}

// A temporary path as the user can find it: on the device when it lies there.
QString ShownPath(const QString& hostPath)
{
    QString devicePath;
    return DevicePath::FromHost(hostPath, &devicePath) ? devicePath : hostPath;
}

enum class CopyOutcome { Copied, NoTempFile, DataFailed };

// Copies the opened current member into a new temporary file; a failure is shown.
CopyOutcome CopyOut(CZipReader* reader, const CZipMemberInfo& member, const QString& archivePath, CZipTempCopy* copy)
{
    QString failedPath;
    if (!copy->Create(CZipTempCopy::CandidateFolders(DevicePath::ToHost(archivePath)), member.name, &failedPath)) {
        ShowFailure(QStringLiteral("Can't open file: %1"), ShownPath(failedPath));
        return CopyOutcome::NoTempFile;
    }
    const ZipCopyStatus status = reader->CopyCurrent(member, copy->Stream());
    if (!copy->FinishWriting() || status != ZipCopyStatus::Ok) {
        copy->Remove();
        ShowFailure(QStringLiteral("Cannot load %1"), member.name);
        return CopyOutcome::DataFailed;
    }
    return CopyOutcome::Copied;
}

} // namespace

bool IsZipPictureName(const QString& name)
{
    return FileTypes::IsPictureName(name);
}

int ListZipPictures(const QString& archivePath, const std::function<bool(const CZipMemberInfo&)>& onPicture)
{
    CZipReader reader;
    if (!OpenArchive(&reader, archivePath)) {
        ShowFailure(QStringLiteral("Can't open ZIP file for thumbnail: %1"), archivePath);
        return 0;
    }
    CZipMemberInfo member;
    for (bool more = reader.GoToFirst(); more; more = reader.GoToNext()) {
        if (!reader.ReadCurrentInfo(&member))
            break;
        if (!IsZipPictureName(member.name))
            continue;
        // A picture whose name is too long to be found again is not listed, but said.
        if (member.nameTooLong) {
            ShowFailure(QStringLiteral("Cannot load %1"), member.name);
            continue;
        }
        if (!onPicture(member))
            break;
    }
    return 1;
}

ZipFindResult FindZipMember(
    const QString& archivePath, const QString& memberName, CZipMemberInfo* info, CZipTempCopy* copy)
{
    CZipReader reader;
    if (!OpenArchive(&reader, archivePath)) {
        ShowFailure(QStringLiteral("Can't open ZIP file: %1"), archivePath);
        return ZipFindResult::Failed;
    }
    // Once a temporary file could not be made, later members are still opened
    // (and reported) but no second member of the same name is taken instead.
    bool tempFailed = false;
    CZipMemberInfo member;
    for (bool more = reader.GoToFirst(); more; more = reader.GoToNext()) {
        if (!reader.ReadCurrentInfo(&member))
            break;
        if (member.nameTooLong)
            continue;
        if (!reader.OpenCurrent(member)) {
            ShowFailure(QStringLiteral("Can't open file: %1"), member.name);
            continue;
        }
        if (tempFailed || !IsZipPictureName(member.name) || member.name.compare(memberName, Qt::CaseInsensitive) != 0)
            continue;
        if (info)
            *info = member;
        if (!copy)
            return ZipFindResult::Found;
        const CopyOutcome outcome = CopyOut(&reader, member, archivePath, copy);
        if (outcome == CopyOutcome::Copied)
            return ZipFindResult::Found;
        if (outcome == CopyOutcome::DataFailed)
            return ZipFindResult::Failed;
        tempFailed = true;
    }
    return tempFailed ? ZipFindResult::Failed : ZipFindResult::NotFound;
}
