// CVisitedFolders: the memory of one recursive folder walk. It remembers the
// (device, inode) of every folder the walk entered, so no folder is listed
// twice and symbolic-link loops end, and it keeps walks out of pseudo file
// systems (host_file_system.h). One instance per walk, used by one thread.
#pragma once

#include "platform/host_file_system.h"

#include <QString>
#include <set>
#include <sys/types.h>
#include <utility>

class CVisitedFolders {
public:
    // Records a device folder and tells whether the walk should enter it:
    // false when it cannot be examined, was entered before, or lies on a pseudo
    // file system. The walk's first folder, and its own file system, are
    // entered whatever that file system is: the user chose them.
    bool Enter(const QString& deviceFolder);
    bool EnterHost(const QString& hostFolder);
    bool WasEntered(const QString& deviceFolder) const;

private:
    std::set<std::pair<dev_t, ino_t>> m_entered;
    CPseudoFileSystems m_pseudo;
    dev_t m_startDevice = 0;
};
