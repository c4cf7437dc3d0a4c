// The device's folder tree, one folder at a time: what each level holds for
// File Open and for the folder browser, which folders the walk enters, and
// the quick look for children agreeing with the listing everywhere.
#include "platform/device_path.h"
#include "platform/folder_tree.h"
#include "platform/host_bytes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

class FolderTree : public ::testing::Test {
protected:
    void SetUp() override
    {
        DevicePath::SetDeviceRoot(m_root.path());
        for (const char* folder : {"a/sub", "a/.hidden", "C", "e.zip", "y", "z/.hidden", "w", "deep/er/est"})
            ASSERT_TRUE(QDir(m_root.path()).mkpath(QLatin1String(folder)));
        // C's one folder is named in Latin-1, as on a card written elsewhere.
        ASSERT_EQ(::mkdir((QFile::encodeName(m_root.path()) + "/C/caf\xe9").constData(), 0755), 0);
        for (const char* file : {"b.zip", "d.ZIP", "C/x.txt", "y/in.zip", "z/.h.zip"}) {
            QFile f(m_root.filePath(QLatin1String(file)));
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        }
        const std::pair<const char*, const char*> links[]
            = {{".", "loop"},     {"..", "a/up"},        {"../C", "a/sib"},
               {"/proc", "proc"}, {"nowhere", "broken"}, {"../a", "w/link"}};
        for (const auto& [target, name] : links)
            ASSERT_TRUE(QFile::link(QLatin1String(target), m_root.filePath(QLatin1String(name))));
    }
    void TearDown() override { DevicePath::SetDeviceRoot(QString()); }

    // "name" for a folder the walk enters, "name-" for one it does not,
    // "name@" for an archive.
    static QStringList Level(CFolderTreeSource& source, const QString& folder,
                             const std::vector<CHostFolderId>& lineage)
    {
        std::vector<CFolderTreeNode> nodes;
        source.ListChildren(folder, lineage, &nodes);
        QStringList names;
        for (const CFolderTreeNode& n : nodes)
            names << n.name + (n.isArchive ? "@" : n.canOpen ? "" : "-");
        return names;
    }

    QTemporaryDir m_root;
};

TEST_F(FolderTree, LevelsHoldFoldersAndForTheBrowserArchivesInOneSortedList)
{
    CFolderTreeSource folders(FolderTreeKind::Folders);
    CFolderTreeSource browser(FolderTreeKind::FoldersAndArchives);
    const std::vector<CHostFolderId> root {folders.RootId()};
    const QString proc = QFileInfo(u"/proc/self"_s).exists() ? u"proc-"_s : QString();
    QStringList expected = {"a", "b.zip@", "C", "d.ZIP@", "deep", "e.zip", "loop-", proc, "w", "y", "z"};
    expected.removeAll(QString());
    EXPECT_EQ(Level(browser, u"\\"_s, root), expected);
    expected.removeAll(u"b.zip@"_s);
    expected.removeAll(u"d.ZIP@"_s);
    EXPECT_EQ(Level(folders, u"\\"_s, root), expected);
    // Inside a: a link back to the root is a loop, one to a sibling is walked.
    std::vector<CFolderTreeNode> top;
    folders.ListChildren(u"\\"_s, root, &top);
    EXPECT_EQ(Level(folders, u"\\a"_s, {folders.RootId(), top[0].id}), (QStringList {"sib", "sub", "up-"}));
    EXPECT_EQ(Level(browser, u"\\y"_s, root), (QStringList {"in.zip@"}));
    EXPECT_EQ(Level(folders, u"\\C"_s, root), QStringList {HostBytes::Decode("caf\xe9")});
    EXPECT_TRUE(Level(folders, u"\\missing"_s, root).isEmpty());
}

TEST_F(FolderTree, QuickLookForChildrenAgreesWithTheListingEverywhere)
{
    for (FolderTreeKind kind : {FolderTreeKind::Folders, FolderTreeKind::FoldersAndArchives}) {
        CFolderTreeSource source(kind);
        int folders = 0;
        std::function<void(const QString&, std::vector<CHostFolderId>)> walk;
        walk = [&](const QString& folder, std::vector<CHostFolderId> lineage) {
            std::vector<CFolderTreeNode> nodes;
            source.ListChildren(folder, lineage, &nodes);
            EXPECT_EQ(source.HasChildren(folder), !nodes.empty()) << folder.toStdString();
            ++folders;
            for (const CFolderTreeNode& n : nodes) {
                if (!n.canOpen)
                    continue;
                auto deeper = lineage;
                deeper.push_back(n.id);
                walk(CFolderTreeSource::ChildPath(folder, n.name), deeper);
            }
        };
        walk(u"\\"_s, {source.RootId()});
        EXPECT_GE(folders, 13);
    }
}

TEST(FolderTreeCards, NetworkInAnyCaseShowsAsAFolder)
{
    for (const auto& [name, isCard, shows] : {std::tuple {"Storage Card", true, true},
                                              {"nEtWoRk", true, false},
                                              {"Networks", true, true},
                                              {"Card", false, false}}) {
        CFindData entry;
        entry.name = QLatin1String(name);
        entry.isDirectory = true;
        entry.isStorageCard = isCard;
        EXPECT_EQ(CFolderTreeSource::ShowsAsStorageCard(entry), shows) << name;
    }
}

}  // namespace
