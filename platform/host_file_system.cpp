#include "platform/host_file_system.h"

#include "platform/host_bytes.h"

#include <QFile>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/vfs.h>

namespace HostFileSystem {

bool IsPseudoType(long fileSystemType)
{
    // Magic numbers of <linux/magic.h>, listed here so the rule reads in one place.
    static const unsigned long kPseudo[] = {
        0x9fa0,      // proc
        0x62656572,  // sysfs
        0x01021994,  // tmpfs and devtmpfs
        0x858458f6,  // ramfs
        0x1cd1,      // devpts
        0x27e0eb,    // cgroup
        0x63677270,  // cgroup2
        0x64626720,  // debugfs
        0x74726163,  // tracefs
        0x73636673,  // securityfs
        0x6165676c,  // pstore
        0xcafe4a11,  // bpf
        0x19800202,  // mqueue
        0x958458f6,  // hugetlbfs
        0x62656570,  // configfs
        0x65735543,  // fusectl
        0x42494e4d,  // binfmt_misc
        0x0187,      // autofs
        0xde5e81e4,  // efivarfs
        0xf97cff8c,  // selinuxfs
        0x6e736673,  // nsfs
        0x50495045,  // pipefs
        0x534f434b,  // sockfs
    };
    for (unsigned long magic : kPseudo)
        if ((static_cast<unsigned long>(fileSystemType) & 0xffffffffUL) == magic)
            return true;
    return false;
}

bool IsPseudo(const QString& hostFolder)
{
    struct statfs fs { };
    if (::statfs(HostBytes::Encode(hostFolder).constData(), &fs) != 0)
        return false;
    return IsPseudoType(long(fs.f_type));
}

bool IsMountRoot(int dirFd, const char* name, dev_t parentDevice, dev_t childDevice)
{
#ifdef STATX_ATTR_MOUNT_ROOT
    struct statx sx { };
    if (::statx(dirFd, name, AT_STATX_SYNC_AS_STAT, STATX_TYPE, &sx) == 0
        && (sx.stx_attributes_mask & STATX_ATTR_MOUNT_ROOT))
        return (sx.stx_attributes & STATX_ATTR_MOUNT_ROOT) != 0;
#else
    (void)dirFd;
    (void)name;
#endif
    return childDevice != parentDevice;
}

}  // namespace HostFileSystem

bool CPseudoFileSystems::IsPseudo(dev_t device, const QString& hostFolder)
{
    const auto known = m_known.find(device);
    if (known != m_known.end())
        return known->second;
    const bool pseudo = HostFileSystem::IsPseudo(hostFolder);
    m_known[device] = pseudo;
    return pseudo;
}
