// Start-up, the command line, and the automation harness, driven through
// the real program offscreen.
#include "lumo_run.h"
#include "ui_pictures.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <gtest/gtest.h>

namespace {

QJsonObject WindowOf(const QJsonObject& dump, const QString& cls)
{
    for (const auto& w : dump["windows"].toArray())
        if (w.toObject()["class"].toString() == cls)
            return w.toObject();
    return {};
}

QList<int> Rect(const QJsonObject& window)
{
    QList<int> r;
    for (const auto& v : window["rect"].toArray())
        r << v.toInt();
    return r;
}

}  // namespace

TEST(Startup, NoArgumentGivesEmptyCatalogAndFullScreenDefaults)
{
    LumoRun run;
    const LumoResult r = run.Run(QStringLiteral("dump -\n"));
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.dump["entries"].toArray().size(), 0);
    EXPECT_EQ(r.dump["current"].toInt(), -1);
    EXPECT_EQ(r.dump["mode"].toInt(), 1);
    const QJsonArray defaults = r.dump["fullScreenDefaults"].toArray();
    EXPECT_EQ(defaults, (QJsonArray {1, 1, 270, 0}));
    EXPECT_TRUE(r.dump["messages"].toArray().isEmpty());
}

TEST(Startup, StripLayoutSplitsTheFrameBetweenTheBands)
{
    LumoRun run;
    const LumoResult r = run.Run(QStringLiteral("dump -\n"));
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(Rect(WindowOf(r.dump, "CTaskBar")), (QList<int> {0, 0, 240, 26}));
    EXPECT_EQ(Rect(WindowOf(r.dump, "CMainFrame")), (QList<int> {0, 26, 240, 294}));
    EXPECT_EQ(Rect(WindowOf(r.dump, "CLumoView")), (QList<int> {0, 26, 240, 236}));
    EXPECT_EQ(Rect(WindowOf(r.dump, "CThumbnailView")), (QList<int> {0, 240, 240, 270}));
    EXPECT_EQ(Rect(WindowOf(r.dump, "CToolBar")), (QList<int> {0, 270, 240, 294}));
    EXPECT_EQ(Rect(WindowOf(r.dump, "CCommandBar")), (QList<int> {0, 294, 240, 320}));
}

TEST(Startup, StoredFullScreenModeStartsInStripLayout)
{
    LumoRun run;
    QFile reg(run.Registry());
    ASSERT_TRUE(reg.open(QIODevice::WriteOnly));
    reg.write("REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\FARHAVEN\\lumo\\Setting]\n"
              "\"ThumbnailView Mode\"=dword:00000002\n");
    reg.close();
    const LumoResult r = run.Run(QStringLiteral("dump -\n"));
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.dump["mode"].toInt(), 1);
}

TEST(Startup, PathWithBlanksAndNoQuotesIsOnePath)
{
    LumoRun run;
    QDir(run.Root()).mkpath(QStringLiteral("My Pictures"));
    UiPictures::WriteBmp(run.Root() + QStringLiteral("/My Pictures/sun set.bmp"), 8, 6, Qt::red);
    const LumoResult r
        = run.Run(QStringLiteral("dump -\n"),
                  {run.Root() + QStringLiteral("/My"), QStringLiteral("Pictures/sun"), QStringLiteral("set.bmp")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.dump["sourcePath"].toString(), QStringLiteral("\\My Pictures\\sun set.bmp"));
    const QJsonArray entries = r.dump["entries"].toArray();
    ASSERT_EQ(entries.size(), 1);
    EXPECT_EQ(entries[0].toObject()["path"].toString(), QStringLiteral("\\My Pictures\\sun set.bmp"));
}

TEST(Startup, NewKeepsTheCatalogAndResetsFullScreenDefaults)
{
    LumoRun run;
    UiPictures::WriteBmp(run.Root() + QStringLiteral("/a.bmp"), 4, 4, Qt::red);
    UiPictures::WriteBmp(run.Root() + QStringLiteral("/b.bmp"), 4, 4, Qt::blue);
    const LumoResult r = run.Run(QStringLiteral("command 57600\ndump -\n"), {run.Root()});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.dump["entries"].toArray().size(), 2);
    EXPECT_EQ(r.dump["fullScreenDefaults"].toArray(), (QJsonArray {1, 1, 270, 0}));
}

TEST(Startup, UnreadablePathEndsWithMessageAndStatusOne)
{
    LumoRun run;
    const LumoResult r = run.Run(QStringLiteral("dump -\n"), {run.Root() + QStringLiteral("/missing.jpg")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("lumo: message: Cannot open"))) << r.err.toStdString();
    EXPECT_TRUE(r.dump.isEmpty());
}

TEST(Startup, PathOutsideTheDeviceRootIsRefused)
{
    LumoRun run;
    const LumoResult r = run.Run(QStringLiteral("dump -\n"), {QStringLiteral("/etc/hostname")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("outside the device"))) << r.err.toStdString();
}

TEST(Startup, OffscreenRunLeavesNoScreenFileBehind)
{
    LumoRun run;  // its folder is the run's XDG_RUNTIME_DIR
    const QStringList before = QDir(run.Dir()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    for (const QString& script : {QStringLiteral("dump -\n"), QStringLiteral("quit\n")})
        ASSERT_EQ(run.Run(script).exitCode, 0);
    QStringList after = QDir(run.Dir()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    after.removeAll(QStringLiteral("script.lumo"));
    after.removeAll(QStringLiteral("registry.reg"));
    after.removeAll(QStringLiteral("registry.reg.lock"));
    after.removeAll(QStringLiteral("config"));
    EXPECT_EQ(after, before);
}

TEST(Script, FailingCommandNamesItsLineAndExitsWithTwo)
{
    LumoRun run;
    const LumoResult r = run.Run(QStringLiteral("# comment\n\nwait 1\nfrobnicate 3\ndump -\n"));
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains(QStringLiteral("lumo: script line 4: unknown command"))) << r.err.toStdString();
    EXPECT_TRUE(r.dump.isEmpty());
}

TEST(Script, DisabledMenuItemFails)
{
    LumoRun run;
    const LumoResult r = run.Run(QStringLiteral("menu View \"Image Info\"\n"));
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains(QStringLiteral("script line 1: menu item \"Image Info\" is disabled")));
}

TEST(Script, ShotWritesTheDeviceScreen)
{
    LumoRun run;
    const QString shot = run.Dir() + QStringLiteral("/screen.png");
    const LumoResult r = run.Run(QStringLiteral("shot \"%1\"\n").arg(shot));
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    QImage image(shot);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(240, 320));
    // The task bar band is drawn dark, the image view white.
    EXPECT_LT(qGray(image.pixel(120, 3)), 100);
    EXPECT_EQ(image.pixel(120, 100), qRgb(255, 255, 255));
}

TEST(Script, ScaledShotHasDevicePixels)
{
    LumoRun run;
    const QString shot = run.Dir() + QStringLiteral("/screen2.png");
    const LumoResult r
        = run.Run(QStringLiteral("shot \"%1\"\n").arg(shot), {}, {QStringLiteral("--scale"), QStringLiteral("2")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(QImage(shot).size(), QSize(480, 640));
}

TEST(Script, AboutBoxRunsInsideItsModalLoopAndClosesWithOk)
{
    LumoRun run;
    const LumoResult r = run.Run(QStringLiteral("menu Tools \"About Lumo...\"\ndump -\nclick 1\ndump -\n"));
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("CAboutBox")));
    EXPECT_FALSE(WindowOf(r.dump, "CAboutBox").contains("rect"));
}
