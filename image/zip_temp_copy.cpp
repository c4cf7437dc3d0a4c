#include "image/zip_temp_copy.h"

#include "platform/host_bytes.h"
#include "res/file_types.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtGlobal>
#include <cerrno>
#include <cstdlib>
#include <unistd.h>
#include <utility>

namespace {

// The member's extension when it is one of the picture extensions, lower
// case; decoders see the kind of the file they read.
QString PictureSuffix(const QString& memberName)
{
    const FileTypeDef* type = FileTypes::PictureOf(memberName);
    return type ? QString::fromLatin1(type->extension) : QString();
}

} // namespace

CZipTempCopy::~CZipTempCopy()
{
    Remove();
}

CZipTempCopy::CZipTempCopy(CZipTempCopy&& other) noexcept
    : m_hostPath(std::exchange(other.m_hostPath, QString()))
    , m_stream(std::exchange(other.m_stream, nullptr))
{
}

CZipTempCopy& CZipTempCopy::operator=(CZipTempCopy&& other) noexcept
{
    if (this != &other) {
        Remove();
        m_hostPath = std::exchange(other.m_hostPath, QString());
        m_stream = std::exchange(other.m_stream, nullptr);
    }
    return *this;
}

bool CZipTempCopy::Create(const QStringList& hostFolders, const QString& memberName, QString* failedPath)
{
    Remove();
    const QString suffix = PictureSuffix(memberName);
    for (const QString& folder : hostFolders) {
        const QString pattern = QDir(folder).filePath(QStringLiteral(".lumo-zip-XXXXXX") + suffix);
        QByteArray name = HostBytes::Encode(pattern);
        // mkstemps opens with O_CREAT | O_EXCL and mode 0600.
        const int fd = mkstemps(name.data(), static_cast<int>(suffix.size()));
        if (fd < 0) {
            if (failedPath)
                *failedPath = pattern;
            continue;
        }
        m_stream = fdopen(fd, "wb");
        m_hostPath = HostBytes::Decode(name);
        if (!m_stream) {
            close(fd);
            Remove();
            continue;
        }
        return true;
    }
    return false;
}

bool CZipTempCopy::FinishWriting()
{
    if (!m_stream)
        return false;
    const bool ok = std::fflush(m_stream) == 0 && !std::ferror(m_stream);
    const bool closed = std::fclose(m_stream) == 0;
    m_stream = nullptr;
    return ok && closed;
}

void CZipTempCopy::Remove()
{
    if (m_stream) {
        std::fclose(m_stream);
        m_stream = nullptr;
    }
    if (!m_hostPath.isEmpty()) {
        unlink(HostBytes::Encode(m_hostPath).constData());
        m_hostPath.clear();
    }
}

QStringList CZipTempCopy::CandidateFolders(const QString& hostArchivePath)
{
    QStringList folders { QFileInfo(hostArchivePath).absolutePath() };
    // Only absolute folders: Qt gives an empty temporary path when $TMPDIR
    // names no folder, which would mean the working folder.
    for (const QString& folder : { qEnvironmentVariable("XDG_RUNTIME_DIR"), QDir::tempPath() })
        if (QDir::isAbsolutePath(folder))
            folders.append(folder);
    if (folders.size() == 1)
        folders.append(QStringLiteral("/tmp"));
    folders.removeDuplicates();
    return folders;
}
