#include "platform/regular_file.h"

#include "platform/host_bytes.h"

#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace RegularFile {

Kind KindOf(const QString& hostPath)
{
    struct stat st { };
    if (::stat(HostBytes::Encode(hostPath).constData(), &st) != 0)
        return Kind::Missing;
    return S_ISREG(st.st_mode) ? Kind::Regular : S_ISDIR(st.st_mode) ? Kind::Folder : Kind::Other;
}

bool Is(const QString& hostPath)
{
    return KindOf(hostPath) == Kind::Regular;
}

bool IsOtherKind(const QString& hostPath)
{
    const Kind kind = KindOf(hostPath);
    return kind != Kind::Missing && kind != Kind::Regular;
}

int OpenForRead(const QByteArray& hostPath)
{
    struct stat st { };
    if (::stat(hostPath.constData(), &st) != 0)
        return -1;
    // Opening a device may act on it (a tape rewinds): never open one at all.
    if (!S_ISREG(st.st_mode)) {
        errno = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        return -1;
    }
    const int fd = ::open(hostPath.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return -1;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        errno = EINVAL;
        return -1;
    }
    // Regular files never block; readers expect ordinary blocking reads.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

FILE* OpenStream(const QByteArray& hostPath)
{
    const int fd = OpenForRead(hostPath);
    if (fd < 0)
        return nullptr;
    FILE* stream = ::fdopen(fd, "rb");
    if (!stream)
        ::close(fd);
    return stream;
}

bool Open(QFile& file, const QString& hostPath)
{
    const int fd = OpenForRead(HostBytes::Encode(hostPath));
    if (fd < 0)
        return false;
    file.setFileName(hostPath);
    if (file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        return true;
    ::close(fd);
    return false;
}

}  // namespace RegularFile
