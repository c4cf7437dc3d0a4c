// Start-up, the command line and the script's own failures, driven through
// the real program offscreen.
#include "lumo_run.h"

#include <gtest/gtest.h>

TEST(Startup, WithoutAPathTheFrameIsSplitBetweenTheBandsAndThePictureCommandsWait)
{
    LumoRun run;
    const LumoResult r = run.Run(QStringLiteral("shot screen.png\ndump -\n"));
    ExpectFields(
        r.dump,
        {{"entries", QJsonArray()}, {"current", -1}, {"mode", 1}, {"fullScreen", 0}, {"messages", QJsonArray()}});
    const QList<QPair<const char*, QJsonArray>> windows = {{"CTaskBar", {0, 0, 240, 26}},
                                                           {"CMainFrame", {0, 26, 240, 294}},
                                                           {"CThumbnailView", {0, 240, 240, 270}},
                                                           {"CToolBar", {0, 270, 240, 294}},
                                                           {"CSplashWnd", {}}};
    for (const auto& [cls, rect] : windows)
        EXPECT_EQ(WindowRect(r.dump, cls), rect) << cls;
    // Fill and no rotation are marked, no zoom; zoom in waits for a picture.
    EXPECT_EQ(CheckedAmong(r.dump, 32817, 32819), QList<int> {32818});
    EXPECT_EQ(CheckedAmong(r.dump, 32785, 32788), QList<int> {32788});
    EXPECT_TRUE(CheckedAmong(r.dump, 32792, 32797).isEmpty());
    EXPECT_FALSE(MenuFlag(r.dump, 32798, "enabled"));
    EXPECT_FALSE(MenuFlag(r.dump, 32841, "enabled"));
    EXPECT_TRUE(MenuFlag(r.dump, 32793, "enabled"));
    // The task bar band is drawn dark, the image view white.
    const QImage image(run.Out(QStringLiteral("screen.png")));
    ASSERT_EQ(image.size(), QSize(240, 320));
    EXPECT_LT(qGray(image.pixel(120, 3)), 100);
    EXPECT_EQ(image.pixel(120, 100), qRgb(255, 255, 255));
}

// Unquoted words of a path with blanks are one path; a stored full-screen
// mode starts in the strip; New keeps the catalog and resets the defaults;
// a scaled run's shots have device pixels, and the splash shows when asked.
TEST(Startup, PathWordsStoredModeNewScaleAndSplash)
{
    LumoRun run;
    run.StoreMode(2);
    WriteBmp(run.Path(QStringLiteral("My Pictures/sun set.bmp")), 8, 6, Qt::red);
    const LumoResult r
        = run.Run(QStringLiteral("dump first.json\ncommand 57600\nshot screen.png\ndump -\n"),
                  {run.Path(QStringLiteral("My")), QStringLiteral("Pictures/sun"), QStringLiteral("set.bmp")},
                  {QStringLiteral("--scale"), QStringLiteral("2"), QStringLiteral("--splash")});
    ExpectFields(run.Dump(QStringLiteral("first.json")), {{"sourcePath", "\\My Pictures\\sun set.bmp"}, {"mode", 1}});
    EXPECT_EQ(Paths(r.dump), QStringList {QStringLiteral("\\My Pictures\\sun set.bmp")});
    EXPECT_EQ(r.dump["fullScreenDefaults"].toArray(), (QJsonArray {1, 1, 270, 0}));
    EXPECT_EQ(QImage(run.Out(QStringLiteral("screen.png"))).size(), QSize(480, 640));
    EXPECT_EQ(WindowRect(r.dump, "CSplashWnd"), (QJsonArray {16, 32, 224, 288}));
}

// A run that fails, or exits, ends before the rest of its script, with a
// status and a line that say why; a stored mode that is no mode is reported.
// No run leaves a screen file behind in its XDG_RUNTIME_DIR, the run's folder.
TEST(Startup, FailuresEndTheRunWithTheirStatusAndMessage)
{
    const struct {
        const char* path;  // under the device root unless absolute
        const char* script;
        int status;
        const char* message;
        int mode = 1;
    } cases[] = {
        {"", "# comment\n\nwait 1\nfrobnicate 3\ndump -\n", 2, "lumo: script line 4: unknown command"},
        {"", "menu View \"Image Info\"\ndump -\n", 2, "script line 1: menu item \"Image Info\" is disabled"},
        {"", "browse\ndump -\n", 2, "lumo: script line 1: browse needs"},
        {"", "browse \\pics 2\ndump -\n", 2, "lumo: script line 1: browse needs"},
        {"missing.jpg", "dump -\n", 1, "lumo: message: Cannot open"},
        {"/etc/hostname", "dump -\n", 1, "outside the device"},
        {"", "menu File Exit\nwait 200\ndump -\n", 0, ""},
        {"", "quit\ndump -\n", 0, "lumo: message: Invalid ThumbnailView Mode", 5},
    };
    for (const auto& c : cases) {
        LumoRun run;
        run.StoreMode(c.mode);
        const QStringList before = QDir(run.Dir()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        const QString path = QLatin1String(c.path);
        const QStringList words
            = path.isEmpty() ? QStringList() : QStringList {path.startsWith('/') ? path : run.Path(path)};
        const LumoResult r = run.Run(QLatin1String(c.script), words, {}, c.status);
        EXPECT_TRUE(r.err.contains(QLatin1String(c.message))) << r.err.toStdString();
        EXPECT_TRUE(r.dump.isEmpty()) << c.script;
        QStringList after = QDir(run.Dir()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        for (const char* made : {"script.lumo", "registry.reg.lock", "config"})
            after.removeAll(QLatin1String(made));
        EXPECT_EQ(after, before) << c.script;
    }
}
