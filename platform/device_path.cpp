#include "platform/device_path.h"

#include "platform/host_bytes.h"
#include "platform/host_file_system.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <dirent.h>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

namespace DevicePath {

const char kMyDocuments[] = "My Documents";

}  // namespace DevicePath

namespace {

std::mutex g_rootMutex;
QString g_root;  // set by SetDeviceRoot; empty = default

QString CleanHostPath(const QString& path)
{
    return QDir::cleanPath(QDir::isAbsolutePath(path) ? path : QDir::current().absoluteFilePath(path));
}

QString Home()
{
    return QDir::cleanPath(QDir::homePath());
}

bool IsMyDocuments(const QString& name)
{
    return name.compare(QLatin1String(DevicePath::kMyDocuments), Qt::CaseInsensitive) == 0;
}

// Device path -> its names, with "." and ".." resolved; ".." stops at the root.
QStringList Components(const QString& devicePath)
{
    QStringList parts;
    QString path = devicePath;
    path.replace(QLatin1Char('/'), QLatin1Char('\\'));
    for (const QString& part : path.split(QLatin1Char('\\'), Qt::SkipEmptyParts)) {
        if (part == QLatin1String("."))
            continue;
        if (part == QLatin1String("..")) {
            if (!parts.isEmpty())
                parts.removeLast();
            continue;
        }
        parts.append(part);
    }
    return parts;
}

QString JoinHost(const QString& base, const QStringList& parts)
{
    if (parts.isEmpty())
        return base;
    return (base == QLatin1String("/") ? QString() : base) + QLatin1Char('/') + parts.join(QLatin1Char('/'));
}

// The names of path below base, when path is base or lies under it.
bool NamesUnder(const QString& path, const QString& base, QStringList* names)
{
    if (path == base) {
        names->clear();
        return true;
    }
    QString prefix = base == QLatin1String("/") ? base : base + QLatin1Char('/');
    if (!path.startsWith(prefix))
        return false;
    *names = path.mid(prefix.size()).split(QLatin1Char('/'), Qt::SkipEmptyParts);
    return true;
}

QString DeviceJoin(const QStringList& names)
{
    return QLatin1Char('\\') + names.join(QLatin1Char('\\'));
}

bool Refuse(QString* reason, const QString& text)
{
    if (reason)
        *reason = text;
    return false;
}

bool LessByName(const CFindData& a, const CFindData& b)
{
    int c = a.name.compare(b.name, Qt::CaseInsensitive);
    return c != 0 ? c < 0 : a.name.compare(b.name, Qt::CaseSensitive) < 0;
}

bool ReadEntry(int dirFd, const QByteArray& rawName, dev_t folderDevice, const QString& hostFolder, CFindData* entry)
{
    struct stat st { };
    if (::fstatat(dirFd, rawName.constData(), &st, 0) != 0)
        return false;
    entry->isDirectory = S_ISDIR(st.st_mode);
    entry->isRegular = S_ISREG(st.st_mode);
    entry->size = entry->isDirectory ? 0 : uint64_t(st.st_size);
    entry->modified = int64_t(st.st_mtim.tv_sec);
    entry->accessed = int64_t(st.st_atim.tv_sec);
    entry->device = uint64_t(st.st_dev);
    entry->inode = uint64_t(st.st_ino);
    entry->isStorageCard = entry->isDirectory
                           && HostFileSystem::IsMountRoot(dirFd, rawName.constData(), folderDevice, st.st_dev)
                           && !HostFileSystem::IsPseudo(hostFolder + QLatin1Char('/') + entry->name);
    return true;
}

}  // namespace

namespace DevicePath {

void SetDeviceRoot(const QString& hostRoot)
{
    std::lock_guard lock(g_rootMutex);
    g_root = hostRoot.isEmpty() ? QString() : CleanHostPath(hostRoot);
}

QString DeviceRoot()
{
    {
        std::lock_guard lock(g_rootMutex);
        if (!g_root.isEmpty())
            return g_root;
    }
    QString fromEnvironment = HostBytes::Decode(qgetenv("LUMO_DEVICE_ROOT"));
    return fromEnvironment.isEmpty() ? QString() : CleanHostPath(fromEnvironment);
}

QString ToHost(const QString& devicePath)
{
    QStringList parts = Components(devicePath);
    QString root = DeviceRoot();
    if (!root.isEmpty())
        return JoinHost(root, parts);
    if (!parts.isEmpty() && IsMyDocuments(parts.first())) {
        parts.removeFirst();
        return JoinHost(Home(), parts);
    }
    return JoinHost(QStringLiteral("/"), parts);
}

bool FromHost(const QString& hostPath, QString* devicePath, QString* reason)
{
    QString path = CleanHostPath(hostPath);
    QString root = DeviceRoot();
    QStringList names;
    if (!root.isEmpty()) {
        // A root or path reached through a symbolic link still counts as inside.
        if (!NamesUnder(path, root, &names)) {
            QString realPath = QFileInfo(path).canonicalFilePath();
            QString realRoot = QFileInfo(root).canonicalFilePath();
            if (realPath.isEmpty() || realRoot.isEmpty() || !NamesUnder(realPath, realRoot, &names))
                return Refuse(reason, QStringLiteral("%1 is outside the device folder %2").arg(hostPath, root));
        }
    } else {
        QString home = Home();
        if (home != QLatin1String("/") && NamesUnder(path, home, &names)) {
            names.prepend(QLatin1String(kMyDocuments));
        } else {
            NamesUnder(path, QStringLiteral("/"), &names);
            if (!names.isEmpty() && IsMyDocuments(names.first()))
                return Refuse(reason, QStringLiteral("%1 is hidden by the device's \"My Documents\"").arg(hostPath));
        }
    }
    for (const QString& name : names)
        if (name.contains(QLatin1Char('\\')))
            return Refuse(reason,
                          QStringLiteral("%1 has a name with \"\\\" that the device cannot show").arg(hostPath));
    *devicePath = DeviceJoin(names);
    return true;
}

}  // namespace DevicePath

bool EnumerateDirectory(const QString& deviceFolder, std::vector<CFindData>* entries)
{
    entries->clear();
    const QString host = DevicePath::ToHost(deviceFolder);
    int fd = ::open(HostBytes::Encode(host).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat folder { };
    DIR* dir = ::fstat(fd, &folder) == 0 ? ::fdopendir(fd) : nullptr;
    if (!dir) {
        ::close(fd);
        return false;
    }
    const bool aliasRoot = DevicePath::DeviceRoot().isEmpty() && Components(deviceFolder).isEmpty();
    while (dirent* d = ::readdir(dir)) {
        QByteArray raw(d->d_name);
        if (raw.startsWith('.'))
            continue;
        CFindData entry;
        entry.name = HostBytes::Decode(raw);
        if (entry.name.contains(QLatin1Char('\\')))
            continue;
        if (aliasRoot && IsMyDocuments(entry.name))
            continue;
        if (ReadEntry(::dirfd(dir), raw, folder.st_dev, host, &entry))
            entries->push_back(std::move(entry));
    }
    ::closedir(dir);
    if (aliasRoot) {
        CFindData home;
        home.name = QLatin1String(DevicePath::kMyDocuments);
        home.isDirectory = true;
        struct stat st { };
        if (::stat(HostBytes::Encode(Home()).constData(), &st) == 0) {
            home.modified = int64_t(st.st_mtim.tv_sec);
            home.accessed = int64_t(st.st_atim.tv_sec);
            home.device = uint64_t(st.st_dev);
            home.inode = uint64_t(st.st_ino);
        }
        entries->push_back(home);
    }
    std::sort(entries->begin(), entries->end(), LessByName);
    return true;
}
