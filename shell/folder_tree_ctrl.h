// CFolderTreeCtrl: a tree of the device's folders (for the folder browser
// also its archives) that reads a folder only when it is first opened, or
// passed through on the way to an item that is looked for: opening it over a
// whole host file system costs one listing of the root. What it shows is
// what a full walk from the root would show (platform/folder_tree.h); the
// "+" of a folder is decided when its row is first drawn, by a look into
// the folder that stops at its first child.
//
// Each item keeps its device path in data(0, Qt::UserRole) ("\" for the root,
// "\a\b" below it), as scripts find tree items.
#pragma once

#include "platform/folder_tree.h"

#include <QIcon>
#include <QTreeWidget>
#include <functional>

class CFolderTreeCtrl : public QTreeWidget {
    Q_OBJECT
public:
    using IconFor = std::function<QIcon(const CFolderTreeNode& node)>;
    CFolderTreeCtrl(FolderTreeKind kind, IconFor iconFor, QWidget* parent);

    // The one top-level item, standing for the device root.
    QTreeWidgetItem* AddRoot(const QString& text, const QIcon& icon);
    QTreeWidgetItem* Root() const { return topLevelItemCount() ? topLevelItem(0) : nullptr; }

    static QString PathOf(const QTreeWidgetItem* item);
    static bool IsArchive(const QTreeWidgetItem* item);

    // The item of a device path, reading the folders on the way; null when
    // the full walk shows no such item. Letter case counts.
    QTreeWidgetItem* FindPath(const QString& devicePath);
    // Reads the children of item unless that was done (or the walk does not
    // enter it).
    void Fill(QTreeWidgetItem* item);

protected:
    void drawBranches(QPainter* painter, const QRect& rect, const QModelIndex& index) const override;

private:
    enum State { kUnread, kRead, kClosed };
    QTreeWidgetItem* MakeItem(const QString& path, const CFolderTreeNode& node) const;
    static State StateOf(const QTreeWidgetItem* item);
    static CHostFolderId IdOf(const QTreeWidgetItem* item);

    CFolderTreeSource m_source;
    IconFor m_iconFor;
};
