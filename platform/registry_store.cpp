#include "platform/registry_store.h"

#include "platform/host_bytes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

const char CRegistryStore::kSystemViewerCommand[] = "xdg-open \"%1\"";
const char* const CRegistryStore::kPictureTypeKeys[4] = {
    "HKEY_CLASSES_ROOT\\bmpimage\\Shell\\Open\\Command",
    "HKEY_CLASSES_ROOT\\gifimage\\Shell\\Open\\Command",
    "HKEY_CLASSES_ROOT\\jpegimage\\Shell\\Open\\Command",
    "HKEY_CLASSES_ROOT\\pngimage\\Shell\\Open\\Command",
};
const char CRegistryStore::kIdentKey[] = "HKEY_LOCAL_MACHINE\\Ident";

namespace {

QByteArray Encode(const QString& path)
{
    return HostBytes::Encode(path);
}

bool ReadAll(int fd, QByteArray* out)
{
    char buffer[16384];
    for (;;) {
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n == 0)
            return true;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        out->append(buffer, n);
    }
}

bool WriteAll(int fd, const QByteArray& bytes)
{
    const char* p = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        ssize_t n = ::write(fd, p, size_t(left));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        p += n;
        left -= n;
    }
    return true;
}

// Holds flock on "FILE.lock" for as long as it lives, waiting at most
// waitMs for it. The lock file itself is never removed: removing it would let
// two writers lock two different files. It is private to its owner, so no
// other user can hold it.
class FileLock {
public:
    FileLock(const QString& path, int waitMs)
    {
        const QByteArray lockPath = Encode(path + QStringLiteral(".lock"));
        m_fd = ::open(lockPath.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (m_fd < 0)
            return;
        struct stat st { };
        if (::fstat(m_fd, &st) == 0 && st.st_uid == ::geteuid() && (st.st_mode & 077))
            ::fchmod(m_fd, 0600);
        constexpr int kStepMs = 2;
        for (int waited = 0;; waited += kStepMs) {
            if (::flock(m_fd, LOCK_EX | LOCK_NB) == 0)
                return;
            if ((errno != EWOULDBLOCK && errno != EINTR) || waited >= waitMs)
                break;
            ::usleep(kStepMs * 1000);
        }
        if (errno == EWOULDBLOCK)
            std::fprintf(stderr, "lumo: registry %s is locked by another program; the change was not saved\n",
                         Encode(path).constData());
        ::close(m_fd);
        m_fd = -1;
    }
    ~FileLock()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    bool IsHeld() const { return m_fd >= 0; }

private:
    int m_fd = -1;
};

// Temporary files of a write are "FILE.XXXXXX.tmp" beside FILE.
constexpr char kTempSuffix[] = ".tmp";

// Creates a new temporary file for a replacement of path exclusively, under a
// random name, mode 0666 & ~umask; -1 when it cannot.
int CreateTemporary(const QString& path, QByteArray* temp)
{
    for (int attempt = 0; attempt < 16; ++attempt) {
        *temp = Encode(path) + '.' + QByteArray::number(QRandomGenerator::system()->generate64(), 36) + kTempSuffix;
        const int fd = ::open(temp->constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

// Removes what killed writers of path left: our own temporary files beside
// it. Called under the lock, so no live writer's file is among them.
void SweepTemporaries(const QString& path)
{
    const QFileInfo info(path);
    QDir folder = info.absoluteDir();
    const QString prefix = info.fileName() + QLatin1Char('.');
    for (const QString& name : folder.entryList({prefix + QStringLiteral("*") + QLatin1String(kTempSuffix)},
                                                QDir::Files | QDir::Hidden | QDir::System)) {
        const QByteArray host = Encode(folder.filePath(name));
        struct stat st { };
        if (::lstat(host.constData(), &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid())
            ::unlink(host.constData());
    }
}

QString HostName()
{
    char name[256] = {};
    if (::gethostname(name, sizeof name - 1) != 0 || name[0] == '\0')
        return QStringLiteral("My Device");
    return QString::fromLocal8Bit(name);
}

}  // namespace

CRegistryStore& CRegistryStore::Instance()
{
    static CRegistryStore store;
    return store;
}

void CRegistryStore::SetFile(const QString& hostPath)
{
    std::lock_guard lock(m_mutex);
    m_file = hostPath.isEmpty() ? QString() : QFileInfo(hostPath).absoluteFilePath();
}

QString CRegistryStore::File() const
{
    std::lock_guard lock(m_mutex);
    return ResolvedFile();
}

QString CRegistryStore::DefaultFile()
{
    QString explicitFile = qEnvironmentVariable("LUMO_REGISTRY");
    if (!explicitFile.isEmpty())
        return QFileInfo(explicitFile).absoluteFilePath();
    // XDG: a relative XDG_CONFIG_HOME is invalid and ignored.
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty() || !QDir::isAbsolutePath(config))
        config = QDir::homePath() + QStringLiteral("/.config");
    return QDir::cleanPath(config + QStringLiteral("/lumo/registry.reg"));
}

CRegistryData CRegistryStore::FreshDevice()
{
    CRegistryData data;
    for (const char* key : kPictureTypeKeys)
        data.Set(QString::fromLatin1(key), QStringLiteral("Default"),
                 RegValue::String(QString::fromLatin1(kSystemViewerCommand)));
    data.Set(QString::fromLatin1(kIdentKey), QStringLiteral("Name"), RegValue::String(HostName()));
    return data;
}

QString CRegistryStore::ResolvedFile() const
{
    return m_file.isEmpty() ? DefaultFile() : m_file;
}

bool CRegistryStore::IsHeldFileCurrent(const struct stat& st) const
{
    return m_heldFd >= 0 && st.st_dev == m_heldStat.st_dev && st.st_ino == m_heldStat.st_ino
           && st.st_size == m_heldStat.st_size && st.st_mtim.tv_sec == m_heldStat.st_mtim.tv_sec
           && st.st_mtim.tv_nsec == m_heldStat.st_mtim.tv_nsec;
}

void CRegistryStore::ForgetFile()
{
    if (m_heldFd >= 0)
        ::close(m_heldFd);
    m_heldFd = -1;
    m_heldStat = {};
    m_heldPath.clear();
    m_data = CRegistryData();
    m_createFailed = false;
}

void CRegistryStore::HoldFile(int fd, const struct stat& st, const QString& path, CRegistryData data)
{
    if (m_heldFd >= 0)
        ::close(m_heldFd);
    m_heldFd = fd;
    m_heldStat = st;
    m_heldPath = path;
    m_data = std::move(data);
    m_createFailed = false;
}

CRegistryStore::LoadResult CRegistryStore::LoadFile(const QString& path)
{
    int fd = ::open(Encode(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return LoadResult::kFailed;
    struct stat st { };
    QByteArray text;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || !ReadAll(fd, &text)) {
        ::close(fd);
        return LoadResult::kFailed;
    }
    if (!CRegistryData::HasHeader(text)) {
        ::close(fd);
        return LoadResult::kDamaged;
    }
    CRegistryData data;
    QStringList problems;
    if (!CRegistryData::FromText(text, &data, &problems)) {
        // A hand-edited line we cannot read is kept out of the values; say so
        // once per change of the file rather than lose it silently.
        for (const QString& p : problems)
            std::fprintf(stderr, "lumo: registry %s %s: ignored\n", Encode(path).constData(), p.toUtf8().constData());
    }
    HoldFile(fd, st, path, std::move(data));
    return LoadResult::kLoaded;
}

bool CRegistryStore::SetAside(const QString& path)
{
    for (int n = 1; n < 1000; ++n) {
        const QString aside = path + QStringLiteral(".damaged-%1").arg(n);
        // link() never replaces an existing file; the damaged one then goes.
        if (::link(Encode(path).constData(), Encode(aside).constData()) == 0) {
            ::unlink(Encode(path).constData());
            std::fprintf(stderr, "lumo: registry %s is damaged; kept as %s, starting from fresh settings\n",
                         Encode(path).constData(), Encode(aside).constData());
            return true;
        }
        if (errno != EEXIST)
            return false;
    }
    return false;
}

void CRegistryStore::Refresh()
{
    QString path = ResolvedFile();
    if (path != m_heldPath)
        ForgetFile();
    struct stat st { };
    if (::stat(Encode(path).constData(), &st) == 0) {
        if (IsHeldFileCurrent(st))
            return;
        const LoadResult loaded = LoadFile(path);
        if (loaded == LoadResult::kLoaded)
            return;
        if (loaded == LoadResult::kFailed || !SetAside(path)) {
            ForgetFile();
            m_heldPath = path;
            return;
        }
        errno = ENOENT;
    }
    if (errno != ENOENT && errno != ENOTDIR) {
        ForgetFile();
        m_heldPath = path;
        return;
    }
    if (m_createFailed)
        return;
    // A missing file is a fresh device: create it now so every instance agrees.
    if (!Modify([](CRegistryData*) { return true; })) {
        ForgetFile();
        m_heldPath = path;
        m_data = FreshDevice();
        m_createFailed = true;
    }
}

bool CRegistryStore::WriteReplacement(const QString& path, const CRegistryData& data)
{
    // A replaced file keeps its permissions; a new one gets the usual 0666 & ~umask.
    struct stat old { };
    const bool replacing = ::stat(Encode(path).constData(), &old) == 0;
    SweepTemporaries(path);
    QByteArray temp;
    const int fd = CreateTemporary(path, &temp);
    if (fd < 0)
        return false;
    struct stat st { };
    // The permissions are set before any byte is written, so the data is
    // never readable by more users than the file it replaces.
    bool ok = (!replacing || ::fchmod(fd, old.st_mode & 07777) == 0) && WriteAll(fd, data.ToText()) && ::fsync(fd) == 0
              && ::fstat(fd, &st) == 0 && ::rename(temp.constData(), Encode(path).constData()) == 0;
    if (!ok) {
        ::close(fd);
        ::unlink(temp.constData());
        return false;
    }
    int dir = ::open(Encode(QFileInfo(path).absolutePath()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    HoldFile(fd, st, m_heldPath, data);
    return true;
}

bool CRegistryStore::Modify(const std::function<bool(CRegistryData*)>& change)
{
    QString path = ResolvedFile();
    if (path != m_heldPath) {
        ForgetFile();
        m_heldPath = path;
    }
    if (m_file.isEmpty())
        QDir().mkpath(QFileInfo(path).absolutePath());
    // Write through a symbolic link to the file it names instead of replacing the link.
    QFileInfo info(path);
    QString target = info.isSymLink() ? info.symLinkTarget() : path;

    FileLock lock(target, kLockWaitMs);
    if (!lock.IsHeld())
        return false;
    struct stat st { };
    bool exists = ::stat(Encode(target).constData(), &st) == 0;
    if (exists && !IsHeldFileCurrent(st)) {
        const LoadResult loaded = LoadFile(path);
        if (loaded == LoadResult::kFailed || (loaded == LoadResult::kDamaged && !SetAside(target)))
            return false;
        exists = loaded == LoadResult::kLoaded;
    }
    CRegistryData data = exists ? m_data : FreshDevice();
    if (!change(&data))
        return false;
    if (exists && data == m_data)
        return true;
    return WriteReplacement(target, data);
}

bool CRegistryStore::KeyExists(const QString& key)
{
    std::lock_guard lock(m_mutex);
    Refresh();
    return m_data.HasKey(key);
}

bool CRegistryStore::Read(const QString& key, const QString& name, RegValue* value)
{
    std::lock_guard lock(m_mutex);
    Refresh();
    const RegValue* found = m_data.Find(key, name);
    if (!found)
        return false;
    *value = *found;
    return true;
}

QStringList CRegistryStore::ValueNames(const QString& key)
{
    std::lock_guard lock(m_mutex);
    Refresh();
    return m_data.ValueNames(key);
}

uint32_t CRegistryStore::ReadDword(const QString& key, const QString& name, uint32_t defaultValue)
{
    RegValue value;
    return Read(key, name, &value) && value.IsDword() ? value.ToDword() : defaultValue;
}

QString CRegistryStore::ReadString(const QString& key, const QString& name, const QString& defaultValue)
{
    RegValue value;
    return Read(key, name, &value) && value.IsText() ? value.ToText() : defaultValue;
}

bool CRegistryStore::CreateKey(const QString& key)
{
    std::lock_guard lock(m_mutex);
    return Modify([&](CRegistryData* data) { return data->CreateKey(key); });
}

bool CRegistryStore::Write(const QString& key, const QString& name, const RegValue& value)
{
    std::lock_guard lock(m_mutex);
    return Modify([&](CRegistryData* data) { return data->Set(key, name, value); });
}

bool CRegistryStore::WriteDword(const QString& key, const QString& name, uint32_t value)
{
    return Write(key, name, RegValue::Dword(value));
}

bool CRegistryStore::WriteString(const QString& key, const QString& name, const QString& text)
{
    return Write(key, name, RegValue::String(text));
}

bool CRegistryStore::DeleteValue(const QString& key, const QString& name)
{
    std::lock_guard lock(m_mutex);
    return Modify([&](CRegistryData* data) { return data->Remove(key, name); });
}

CRegistryData CRegistryStore::Snapshot()
{
    std::lock_guard lock(m_mutex);
    Refresh();
    return m_data;
}
