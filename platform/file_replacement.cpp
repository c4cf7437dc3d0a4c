#include "platform/file_replacement.h"

#include "platform/host_bytes.h"

#include <QRandomGenerator>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray FolderOf(const QByteArray& path)
{
    const qsizetype slash = path.lastIndexOf('/');
    return slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : path.left(slash);
}

bool IsTemporarySuffix(const char* suffix)
{
    size_t length = 0;
    for (; suffix[length]; ++length)
        if (!((suffix[length] >= '0' && suffix[length] <= '9') || (suffix[length] >= 'a' && suffix[length] <= 'z')))
            return false;
    return length >= 1 && length <= 13;
}

// Removes our own temporaries of this target that no save has touched for a minute.
void SweepStaleTemporaries(const QByteArray& folder, const QByteArray& prefix)
{
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* dir = fd >= 0 ? ::fdopendir(fd) : nullptr;
    if (!dir) {
        if (fd >= 0)
            ::close(fd);
        return;
    }
    const time_t now = ::time(nullptr);
    while (const dirent* d = ::readdir(dir)) {
        if (std::strncmp(d->d_name, prefix.constData(), size_t(prefix.size())) != 0
            || !IsTemporarySuffix(d->d_name + prefix.size()))
            continue;
        struct stat st { };
        if (::fstatat(::dirfd(dir), d->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode)
            && st.st_uid == ::geteuid() && now - st.st_mtim.tv_sec > 60)
            ::unlinkat(::dirfd(dir), d->d_name, 0);
    }
    ::closedir(dir);
}

}  // namespace

CFileReplacement::CFileReplacement(const QString& hostPath)
    : m_target(HostBytes::Encode(hostPath))
{
    struct stat st { };
    if (::lstat(m_target.constData(), &st) == 0 && S_ISLNK(st.st_mode)) {
        if (char* real = ::realpath(m_target.constData(), nullptr)) {
            m_target = real;
            std::free(real);
        }
    }
    const QByteArray folder = FolderOf(m_target);
    const QByteArray prefix = '.' + m_target.mid(m_target.lastIndexOf('/') + 1) + '.';
    SweepStaleTemporaries(folder, prefix);
    for (int attempt = 0; m_fd < 0 && attempt < 100; ++attempt) {
        m_temp = folder + '/' + prefix + QByteArray::number(QRandomGenerator::global()->generate(), 36);
        // Created afresh (never an existing file), with the permissions the umask allows.
        m_fd = ::open(m_temp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (m_fd < 0 && errno != EEXIST)
            break;
    }
    if (m_fd < 0) {
        m_temp.clear();
        return;
    }
    if (::stat(m_target.constData(), &st) == 0)
        ::fchmod(m_fd, st.st_mode & 07777);
}

CFileReplacement::~CFileReplacement()
{
    if (m_fd >= 0)
        ::close(m_fd);
    if (!m_temp.isEmpty())
        ::unlink(m_temp.constData());
}

bool CFileReplacement::Write(const char* data, qsizetype size)
{
    while (size > 0 && m_fd >= 0 && !m_failed) {
        const ssize_t n = ::write(m_fd, data, size_t(size));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            m_failed = true;
        else {
            data += n;
            size -= n;
        }
    }
    return m_fd >= 0 && !m_failed;
}

bool CFileReplacement::Commit()
{
    if (m_fd < 0)
        return false;
    bool ok = !m_failed && ::fsync(m_fd) == 0;
    ok = ::close(m_fd) == 0 && ok;
    m_fd = -1;
    ok = ok && ::rename(m_temp.constData(), m_target.constData()) == 0;
    if (!ok)
        return false;  // the destructor removes the temporary file
    m_temp.clear();
    // The rename itself reaches the disk only with its folder.
    const int folder = ::open(FolderOf(m_target).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    return true;
}
