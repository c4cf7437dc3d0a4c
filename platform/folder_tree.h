// The device's folder tree as the File Open dialog and the folder browser
// show it, read one folder at a time, so that a tree over a whole host file
// system opens at once and grows as the user opens folders.
//
// The tree is the one a full walk from the device root draws: under each
// folder its subfolders (for the folder browser also its ZIP archives), in
// listing order. The walk descends into every folder except one on a pseudo
// file system other than the root's own, and one that is the same host
// folder as one of its ancestors (a link loop); those stand in the tree
// without children. A folder seen at two places (through a link, or the
// device's "My Documents" beside the host's home folder) is walked at both,
// so each place shows it whole.
//
// One source per tree, used by one thread.
#pragma once

#include "platform/host_file_system.h"

#include <QString>
#include <cstdint>
#include <vector>

struct CFindData;

enum class FolderTreeKind {
    Folders,             // File Open, the save-file dialog
    FoldersAndArchives,  // the folder browser
};

// Which host folder a tree item stands for.
struct CHostFolderId {
    uint64_t device = 0;
    uint64_t inode = 0;
    bool operator==(const CHostFolderId& o) const { return device == o.device && inode == o.inode; }
};

struct CFolderTreeNode {
    QString name;
    bool isArchive = false;
    // A storage card (a mount point of a real file system), unless it is
    // named "NETWORK" in any mix of case, which shows as a plain folder.
    bool isStorageCard = false;
    // Whether the walk descends into it; archives never.
    bool canOpen = false;
    CHostFolderId id;
};

class CFolderTreeSource {
public:
    explicit CFolderTreeSource(FolderTreeKind kind);

    FolderTreeKind Kind() const { return m_kind; }
    // The device root's own identity: the first of every lineage.
    CHostFolderId RootId() const { return m_root; }

    // The children of folder, whose lineage holds the identities of the root,
    // the folders between and folder itself. False (no children) when the
    // folder cannot be read.
    bool ListChildren(const QString& folder, const std::vector<CHostFolderId>& lineage,
                      std::vector<CFolderTreeNode>* children);
    // Whether ListChildren would give any child; reads the folder only up to
    // the first one and examines only names that may be one.
    bool HasChildren(const QString& folder) const;

    // The device path of a child: "\" + name below the root, else folder + "\" + name.
    static QString ChildPath(const QString& folder, const QString& name);
    // Whether a listed entry belongs in a tree of kind.
    static bool IsTreeEntry(const CFindData& entry, FolderTreeKind kind);
    // A mount point of a real file system, unless named "NETWORK" in any case.
    static bool ShowsAsStorageCard(const CFindData& entry);

private:
    FolderTreeKind m_kind;
    CHostFolderId m_root;
    CPseudoFileSystems m_pseudo;
};
