#include "shell/folder_tree_ctrl.h"

#include <QApplication>
#include <QHeaderView>

namespace {

enum Role {
    kPathRole = Qt::UserRole,
    kStateRole,
    kDeviceRole,
    kInodeRole,
    kArchiveRole,
    kLookedRole,  // whether the "+" was decided
};

}  // namespace

CFolderTreeCtrl::CFolderTreeCtrl(FolderTreeKind kind, IconFor iconFor, QWidget* parent)
    : QTreeWidget(parent)
    , m_source(kind)
    , m_iconFor(std::move(iconFor))
{
    setHeaderHidden(true);
    setColumnCount(1);
    setRootIsDecorated(true);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setIconSize(QSize(16, 16));
    setIndentation(14);
    connect(this, &QTreeWidget::itemExpanded, this, &CFolderTreeCtrl::Fill);
}

QTreeWidgetItem* CFolderTreeCtrl::AddRoot(const QString& text, const QIcon& icon)
{
    CFolderTreeNode root;
    root.name = text;
    root.canOpen = true;
    root.id = m_source.RootId();
    QTreeWidgetItem* item = MakeItem(QStringLiteral("\\"), root);
    item->setIcon(0, icon);
    addTopLevelItem(item);
    return item;
}

QTreeWidgetItem* CFolderTreeCtrl::MakeItem(const QString& path, const CFolderTreeNode& node) const
{
    auto* item = new QTreeWidgetItem(QStringList {node.name});
    item->setData(0, kPathRole, path);
    item->setData(0, kStateRole, node.canOpen ? kUnread : kClosed);
    item->setData(0, kDeviceRole, qulonglong(node.id.device));
    item->setData(0, kInodeRole, qulonglong(node.id.inode));
    item->setData(0, kArchiveRole, node.isArchive);
    if (m_iconFor)
        item->setIcon(0, m_iconFor(node));
    // A folder the walk enters shows a "+" until its row is drawn and the
    // look into it decides.
    item->setChildIndicatorPolicy(node.canOpen ? QTreeWidgetItem::ShowIndicator
                                               : QTreeWidgetItem::DontShowIndicatorWhenChildless);
    return item;
}

QString CFolderTreeCtrl::PathOf(const QTreeWidgetItem* item)
{
    return item ? item->data(0, kPathRole).toString() : QString();
}

bool CFolderTreeCtrl::IsArchive(const QTreeWidgetItem* item)
{
    return item && item->data(0, kArchiveRole).toBool();
}

CFolderTreeCtrl::State CFolderTreeCtrl::StateOf(const QTreeWidgetItem* item)
{
    return State(item->data(0, kStateRole).toInt());
}

CHostFolderId CFolderTreeCtrl::IdOf(const QTreeWidgetItem* item)
{
    return {item->data(0, kDeviceRole).toULongLong(), item->data(0, kInodeRole).toULongLong()};
}

void CFolderTreeCtrl::Fill(QTreeWidgetItem* item)
{
    if (!item || StateOf(item) != kUnread)
        return;
    item->setData(0, kStateRole, kRead);
    item->setData(0, kLookedRole, true);
    std::vector<CHostFolderId> lineage;
    for (const QTreeWidgetItem* i = item; i; i = i->parent())
        lineage.insert(lineage.begin(), IdOf(i));
    const QString folder = PathOf(item);
    std::vector<CFolderTreeNode> nodes;
    m_source.ListChildren(folder, lineage, &nodes);
    QList<QTreeWidgetItem*> children;
    children.reserve(qsizetype(nodes.size()));
    for (const CFolderTreeNode& node : nodes)
        children.append(MakeItem(CFolderTreeSource::ChildPath(folder, node.name), node));
    item->addChildren(children);
    item->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicatorWhenChildless);
}

QTreeWidgetItem* CFolderTreeCtrl::FindPath(const QString& devicePath)
{
    QTreeWidgetItem* item = Root();
    if (!item || devicePath == PathOf(item))
        return item;
    while (item && StateOf(item) != kClosed) {
        Fill(item);
        QTreeWidgetItem* deeper = nullptr;
        for (int i = 0; i < item->childCount(); ++i) {
            QTreeWidgetItem* child = item->child(i);
            const QString path = PathOf(child);
            if (path == devicePath)
                return child;
            if (devicePath.startsWith(path + QLatin1Char('\\')))
                deeper = child;
        }
        item = deeper;
    }
    return nullptr;
}

void CFolderTreeCtrl::drawBranches(QPainter* painter, const QRect& rect, const QModelIndex& index) const
{
    // Only rows that are drawn pay for the look into their folder.
    QTreeWidgetItem* item = itemFromIndex(index);
    if (item && StateOf(item) == kUnread && !item->data(0, kLookedRole).toBool()) {
        item->setData(0, kLookedRole, true);
        if (!m_source.HasChildren(PathOf(item)))
            item->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicator);
    }
    QTreeWidget::drawBranches(painter, rect, index);
}
