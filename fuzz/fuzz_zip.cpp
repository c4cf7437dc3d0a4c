// Fuzz target: ZIP listing and member reads over arbitrary archive bytes.
#include "image/zip_archive.h"
#include "platform/device_path.h"
#include "platform/message_box.h"

#include <QDir>
#include <QFile>
#include <QString>
#include <cstdint>
#include <cstdlib>
#include <unistd.h>
#include <vector>

namespace {

// A folder of our own that serves as the device, holding the archive.
// Never destroyed, so the exit handler that removes the folder can still read it.
const QString& Folder()
{
    static const QString* folder = [] {
        auto* path = new QString(QDir(QDir::tempPath()).filePath(QStringLiteral("lumo-fuzz-zip-%1").arg(getpid())));
        QDir().mkpath(*path);
        DevicePath::SetDeviceRoot(*path);
        MessageBoxService::SetEcho(false);
        return path;
    }();
    static const bool cleanup = std::atexit([] { QDir(*folder).removeRecursively(); }) == 0;
    (void)cleanup;
    return *folder;
}

// Every readable member, through the reader with a small cap.
void CopyEveryMember(const QString& hostPath)
{
    CZipReader reader;
    if (!reader.Open(hostPath))
        return;
    QByteArray bytes;
    CZipMemberInfo info;
    int budget = 64;
    for (bool more = reader.GoToFirst(); more && budget-- > 0; more = reader.GoToNext()) {
        if (!reader.ReadCurrentInfo(&info))
            break;
        if (reader.OpenCurrent(info))
            reader.ReadCurrent(info, &bytes, 1 << 20);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString host = QDir(Folder()).filePath(QStringLiteral("f.zip"));
    {
        QFile file(host);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    }
    std::vector<CZipMemberInfo> pictures;
    ListZipPictures(QStringLiteral("\\f.zip"), [&](const CZipMemberInfo& member) {
        pictures.push_back(member);
        return pictures.size() < 4;
    });
    for (const CZipMemberInfo& listed : pictures) {
        CZipMemberInfo info;
        QByteArray bytes;
        // Reached by the listed position, then by the walk.
        FindZipMember(QStringLiteral("\\f.zip"), listed.name, &info, &bytes, listed.position);
        FindZipMember(QStringLiteral("\\f.zip"), listed.name, &info, nullptr);
    }
    CopyEveryMember(host);
    MessageBoxService::ClearMessages();
    return 0;
}
