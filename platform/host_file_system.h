// Facts about host folders that the device file system needs: whether a
// folder is the root of a mounted file system, and whether that file system
// is a pseudo or memory one (proc, sysfs, devtmpfs, tmpfs, cgroup, ...).
//
// Memory file systems count as pseudo: /dev, /run, /dev/shm and often /tmp
// are tmpfs, and none of them is a storage card with pictures on it.
#pragma once

#include <QString>
#include <map>
#include <sys/types.h>

namespace HostFileSystem {

// Whether the folder lies on a pseudo or memory file system. False when it
// cannot be examined.
bool IsPseudo(const QString& hostFolder);
// The same for a statfs f_type.
bool IsPseudoType(long fileSystemType);
// Whether the folder `name` inside the open folder dirFd is the root of a
// mount: asked of the kernel where it can tell (statx), else decided by a
// device that differs from the parent's (childDevice vs parentDevice).
bool IsMountRoot(int dirFd, const char* name, dev_t parentDevice, dev_t childDevice);

}  // namespace HostFileSystem

// Whether the file systems a walk meets are pseudo ones, asked once per file
// system (by its device number), not once per folder.
class CPseudoFileSystems {
public:
    // hostFolder is any folder on that device.
    bool IsPseudo(dev_t device, const QString& hostFolder);

private:
    std::map<dev_t, bool> m_known;
};
