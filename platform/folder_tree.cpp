#include "platform/folder_tree.h"

#include "platform/device_path.h"
#include "platform/host_bytes.h"

#include <QFile>
#include <algorithm>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool IsArchiveName(const QString& name)
{
    return name.size() > 4 && name.endsWith(QLatin1String(".zip"), Qt::CaseInsensitive);
}

bool IsArchiveName(const char* name, size_t length)
{
    return length > 4 && ::strncasecmp(name + length - 4, ".zip", 4) == 0;
}

}  // namespace

CFolderTreeSource::CFolderTreeSource(FolderTreeKind kind)
    : m_kind(kind)
{
    struct stat st { };
    if (::stat(HostBytes::Encode(DevicePath::ToHost(QStringLiteral("\\"))).constData(), &st) == 0)
        m_root = {uint64_t(st.st_dev), uint64_t(st.st_ino)};
}

QString CFolderTreeSource::ChildPath(const QString& folder, const QString& name)
{
    return folder.endsWith(QLatin1Char('\\')) ? folder + name : folder + QLatin1Char('\\') + name;
}

bool CFolderTreeSource::IsTreeEntry(const CFindData& entry, FolderTreeKind kind)
{
    return entry.isDirectory || (kind == FolderTreeKind::FoldersAndArchives && IsArchiveName(entry.name));
}

bool CFolderTreeSource::ShowsAsStorageCard(const CFindData& entry)
{
    return entry.isDirectory && entry.isStorageCard
           && entry.name.compare(QLatin1String("NETWORK"), Qt::CaseInsensitive) != 0;
}

bool CFolderTreeSource::ListChildren(const QString& folder, const std::vector<CHostFolderId>& lineage,
                                     std::vector<CFolderTreeNode>* children)
{
    children->clear();
    std::vector<CFindData> entries;
    if (!EnumerateDirectory(folder, &entries))
        return false;
    for (const CFindData& entry : entries) {
        if (!IsTreeEntry(entry, m_kind))
            continue;
        CFolderTreeNode node;
        node.name = entry.name;
        node.id = {entry.device, entry.inode};
        node.isArchive = !entry.isDirectory;
        node.isStorageCard = ShowsAsStorageCard(entry);
        if (entry.isDirectory) {
            const bool loop = std::find(lineage.begin(), lineage.end(), node.id) != lineage.end();
            node.canOpen
                = !loop
                  && (entry.device == m_root.device
                      || !m_pseudo.IsPseudo(dev_t(entry.device), DevicePath::ToHost(ChildPath(folder, entry.name))));
        }
        children->push_back(std::move(node));
    }
    return true;
}

bool CFolderTreeSource::HasChildren(const QString& folder) const
{
    // The listing's own rules, applied name by name until one qualifies.
    if (DevicePath::DeviceRoot().isEmpty() && DevicePath::ToHost(folder) == QLatin1String("/"))
        return true;  // the root always holds "My Documents"
    const QByteArray host = HostBytes::Encode(DevicePath::ToHost(folder));
    const int fd = ::open(host.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    DIR* dir = ::fdopendir(fd);
    if (!dir) {
        ::close(fd);
        return false;
    }
    const bool archives = m_kind == FolderTreeKind::FoldersAndArchives;
    bool found = false;
    while (!found) {
        const dirent* d = ::readdir(dir);
        if (!d)
            break;
        if (d->d_name[0] == '.')
            continue;
        const size_t length = std::strlen(d->d_name);
        const bool archiveName = archives && IsArchiveName(d->d_name, length);
        // A plain file that cannot be an archive needs no closer look.
        if (d->d_type == DT_REG && !archiveName)
            continue;
        const QByteArray raw(d->d_name, qsizetype(length));
        const QString name = HostBytes::Decode(raw);
        if (name.contains(QLatin1Char('\\')))
            continue;
        struct stat st { };
        if (::fstatat(::dirfd(dir), d->d_name, &st, 0) != 0)
            continue;
        found = S_ISDIR(st.st_mode) || archiveName;
    }
    ::closedir(dir);
    return found;
}
