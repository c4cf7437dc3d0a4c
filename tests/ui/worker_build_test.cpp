// Folder builds on the loader thread, driven through the program's script
// commands `browse` and `idle`: the first picture becomes current, a new
// browse replaces a running build, a dump in the middle sees whole entries,
// and quitting while a build runs ends the program cleanly.
#include "lumo_run.h"
#include "ui_pictures.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <gtest/gtest.h>

namespace {

class WorkerBuild : public ::testing::Test {
protected:
    // count pictures named p000.bmp ... in a folder under the device root.
    void MakeFolder(const QString& folder, int count, int w = 16, int h = 12)
    {
        const QString host = m_run.Root() + QLatin1Char('/') + folder;
        ASSERT_TRUE(QDir().mkpath(host));
        for (int i = 0; i < count; ++i)
            UiPictures::WriteBmp(host + QStringLiteral("/p%1.bmp").arg(i, 3, 10, QLatin1Char('0')), w, h,
                                 QColor::fromRgb(QRgb(0x9E3779 * uint(i + 1))));
    }
    void StoreMode(int mode)
    {
        QFile reg(m_run.Registry());
        ASSERT_TRUE(reg.open(QIODevice::WriteOnly));
        reg.write(QStringLiteral("REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\FARHAVEN\\lumo\\Setting]\n"
                                 "\"ThumbnailView Mode\"=dword:%1\n")
                      .arg(mode, 8, 16, QLatin1Char('0'))
                      .toUtf8());
    }
    QJsonObject ReadDump(const QString& name) const
    {
        QFile f(m_run.Dir() + QLatin1Char('/') + name);
        return f.open(QIODevice::ReadOnly) ? QJsonDocument::fromJson(f.readAll()).object() : QJsonObject();
    }
    static QStringList Paths(const QJsonObject& dump)
    {
        QStringList paths;
        for (const auto& e : dump["entries"].toArray())
            paths << e.toObject()["path"].toString();
        return paths;
    }

    LumoRun m_run;
};

}  // namespace

TEST_F(WorkerBuild, BrowseThenIdleListsTheFolderWithTheFirstPictureCurrent)
{
    MakeFolder(QStringLiteral("pics"), 5);
    MakeFolder(QStringLiteral("pics/sub"), 2);
    const LumoResult r = m_run.Run(QStringLiteral("browse \\pics\nidle\ndump -\n"));
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.dump["sourcePath"].toString(), QStringLiteral("\\pics"));
    const QJsonArray entries = r.dump["entries"].toArray();
    ASSERT_EQ(entries.size(), 5);
    EXPECT_EQ(entries[0].toObject()["path"].toString(), QStringLiteral("\\pics\\p000.bmp"));
    // Strip mode: every entry came with its thumbnail.
    for (const auto& e : entries)
        EXPECT_TRUE(e.toObject()["hasThumbnail"].toBool());
    EXPECT_EQ(r.dump["current"].toInt(), 0);
    EXPECT_TRUE(r.dump["messages"].toArray().isEmpty());
}

TEST_F(WorkerBuild, BrowseWithSubfoldersInListModeReadsFactsOnly)
{
    StoreMode(0);
    MakeFolder(QStringLiteral("pics"), 5);
    MakeFolder(QStringLiteral("pics/sub"), 2);
    const LumoResult r = m_run.Run(QStringLiteral("browse \\pics 1\nidle\ndump -\n"));
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.dump["mode"].toInt(), 0);
    const QJsonArray entries = r.dump["entries"].toArray();
    ASSERT_EQ(entries.size(), 7);
    EXPECT_EQ(entries[5].toObject()["path"].toString(), QStringLiteral("\\pics\\sub\\p000.bmp"));
    for (const auto& e : entries) {
        EXPECT_FALSE(e.toObject()["hasThumbnail"].toBool());
        EXPECT_GT(e.toObject()["fileSize"].toInt(), 0);
    }
    EXPECT_EQ(r.dump["current"].toInt(), 0);
}

TEST_F(WorkerBuild, SecondBrowseWhileOneRunsReplacesTheCatalog)
{
    MakeFolder(QStringLiteral("big"), 300, 64, 48);
    MakeFolder(QStringLiteral("small"), 3);
    const LumoResult r = m_run.Run(QStringLiteral("browse \\big\nbrowse \\small\nidle\ndump -\n"));
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(Paths(r.dump), (QStringList {QStringLiteral("\\small\\p000.bmp"), QStringLiteral("\\small\\p001.bmp"),
                                           QStringLiteral("\\small\\p002.bmp")}));
    EXPECT_EQ(r.dump["sourcePath"].toString(), QStringLiteral("\\small"));
    EXPECT_EQ(r.dump["current"].toInt(), 0);
}

TEST_F(WorkerBuild, DumpDuringABuildSeesWholeEntriesInOrder)
{
    MakeFolder(QStringLiteral("big"), 300, 64, 48);
    const LumoResult r = m_run.Run(QStringLiteral("browse \\big\ndump mid.json\nidle\ndump -\n"));
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QJsonObject mid = ReadDump(QStringLiteral("mid.json"));
    const QStringList midPaths = Paths(mid);
    const QStringList endPaths = Paths(r.dump);
    ASSERT_EQ(endPaths.size(), 300);
    // Whatever had arrived is a prefix of the finished catalog, each entry filled.
    EXPECT_EQ(midPaths, endPaths.mid(0, midPaths.size()));
    for (const auto& e : mid["entries"].toArray()) {
        EXPECT_TRUE(e.toObject()["hasThumbnail"].toBool());
        EXPECT_EQ(e.toObject()["width"].toInt(), 64);
    }
    EXPECT_EQ(r.dump["current"].toInt(), 0);
}

TEST_F(WorkerBuild, QuitWhileABuildRunsEndsCleanly)
{
    MakeFolder(QStringLiteral("big"), 300, 64, 48);
    const LumoResult r = m_run.Run(QStringLiteral("browse \\big 1\nquit\n"));
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_FALSE(r.err.contains(QStringLiteral("script line"))) << r.err.toStdString();
}

TEST_F(WorkerBuild, CommandLineOpenThenBrowseStartsANewCatalog)
{
    MakeFolder(QStringLiteral("first"), 2);
    MakeFolder(QStringLiteral("second"), 4);
    const LumoResult r
        = m_run.Run(QStringLiteral("browse \\second\nidle\ndump -\n"), {m_run.Root() + QStringLiteral("/first")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.dump["entries"].toArray().size(), 4);
    EXPECT_EQ(r.dump["current"].toInt(), 0);
}

TEST_F(WorkerBuild, BrowseRefusesAMissingPathOrAnOddFlag)
{
    for (const QString& script : {QStringLiteral("browse\n"), QStringLiteral("browse \\pics 2\n")}) {
        const LumoResult r = m_run.Run(script);
        EXPECT_EQ(r.exitCode, 2) << script.toStdString();
        EXPECT_TRUE(r.err.contains(QStringLiteral("lumo: script line 1: browse needs"))) << r.err.toStdString();
    }
}
