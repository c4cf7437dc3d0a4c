// Folder builds on the loader thread, driven through the program's script
// commands `browse` and `idle`: the first picture becomes current, the list
// (in list mode) holds a row for each entry however many arrive at once, a new
// browse replaces a running build, a dump in the middle sees whole entries,
// quitting while a build runs ends the program cleanly, and pen and key
// input during two builds (and keys during decodes) leave a catalog and strip
// that agree.
#include "lumo_run.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

namespace {

// count pictures named p000.bmp ... in a folder under the device root.
void MakeFolder(const LumoRun& run, const QString& folder, int count, int w = 16, int h = 12)
{
    for (int i = 0; i < count; ++i)
        WriteBmp(run.Path(QStringLiteral("%1/p%2.bmp").arg(folder).arg(i, 3, 10, QLatin1Char('0'))), w, h,
                 QColor::fromRgb(QRgb(0x9E3779 * uint(i + 1))));
}

}  // namespace

TEST(WorkerBuild, BrowseListsTheFolderItNamesWithTheFirstPictureCurrent)
{
    const struct {
        int mode;
        const char* script;
        const char* opened;  // on the command line
        int count;
        int index;
        const char* path;  // of the entry at index
        const char* source;
    } cases[] = {
        // Strip mode: every entry comes with its thumbnail.
        {1, "browse \\pics", "", 5, 0, "\\pics\\p000.bmp", "\\pics"},
        // List mode with subfolders reads the facts only.
        {0, "browse \\pics 1", "", 7, 5, "\\pics\\sub\\p000.bmp", "\\pics"},
        {0, "browse \\big", "", 300, 299, "\\big\\p299.bmp", "\\big"},
        // A second browse replaces a build that still runs.
        {1, "browse \\big\nbrowse \\small", "", 3, 2, "\\small\\p002.bmp", "\\small"},
        {1, "browse \\small", "pics", 3, 0, "\\small\\p000.bmp", "\\small"},
    };
    for (const auto& c : cases) {
        LumoRun run;
        run.StoreMode(c.mode);
        MakeFolder(run, QStringLiteral("pics"), 5);
        MakeFolder(run, QStringLiteral("pics/sub"), 2);
        MakeFolder(run, QStringLiteral("small"), 3);
        if (QLatin1String(c.script).contains(QLatin1String("big")))
            MakeFolder(run, QStringLiteral("big"), 300, 64, 48);
        const QStringList words = *c.opened ? QStringList {run.Path(QLatin1String(c.opened))} : QStringList();
        const LumoResult r = run.Run(QLatin1String(c.script) + QStringLiteral("\nidle\ndump -\n"), words);
        SCOPED_TRACE(c.script);
        ExpectFields(r.dump, {{"mode", c.mode}, {"sourcePath", c.source}, {"current", 0}, {"messages", QJsonArray()}});
        ASSERT_EQ(Paths(r.dump).size(), c.count) << c.script;
        EXPECT_EQ(r.dump["list"]["rows"].toInt(), c.mode == 0 ? c.count : 0) << c.script;  // a row for each entry
        EXPECT_EQ(Paths(r.dump)[c.index], QLatin1String(c.path)) << c.script;
        for (const QJsonValue& e : r.dump["entries"].toArray()) {
            EXPECT_EQ(e["hasThumbnail"].toBool(), c.mode == 1) << c.script;
            EXPECT_GT(e["fileSize"].toInt(), 0) << c.script;
        }
    }
}

TEST(WorkerBuild, DumpDuringABuildSeesWholeEntriesInOrderAndQuitEndsCleanly)
{
    LumoRun run;
    MakeFolder(run, QStringLiteral("big"), 300, 64, 48);
    const LumoResult r = run.Run(QStringLiteral("browse \\big\ndump mid.json\nidle\ndump -\nbrowse \\big 1\nquit\n"));
    const QJsonObject mid = run.Dump(QStringLiteral("mid.json"));
    const QStringList endPaths = Paths(r.dump);
    ASSERT_EQ(endPaths.size(), 300);
    // Whatever had arrived is a prefix of the finished catalog, each entry filled.
    EXPECT_EQ(Paths(mid), endPaths.mid(0, Paths(mid).size()));
    for (const QJsonValue& e : mid["entries"].toArray()) {
        EXPECT_TRUE(e["hasThumbnail"].toBool());
        EXPECT_EQ(e["width"].toInt(), 64);
    }
    EXPECT_EQ(r.dump["current"].toInt(), 0);
    EXPECT_FALSE(r.err.contains(QStringLiteral("script line"))) << r.err.toStdString();
}

// The strip under fire: a worker build of a few hundred pictures while taps,
// paging, keys, the hold menu, the slideshow and a second build hit the
// program. The run must end cleanly (under the sanitizer build any memory or
// undefined-behaviour fault ends it with a report).
TEST(WorkerBuild, InputDuringTwoBuildsLeavesACatalogAndStripThatAgree)
{
    constexpr int kPictures = 300;
    LumoRun run;
    MakeFolder(run, QStringLiteral("pics"), kPictures, 160, 120);
    run.StoreMode(1, QStringLiteral("\"Direction\"=\"Random\"\n\"Interval\"=dword:00000001"));
    // Bursts of pen and key input on the strip's cells and buttons and on the
    // picture pane, picked by a seeded generator so a failure can be replayed.
    const QStringList moves
        = {"tap 36 250",  "tap 78 250", "tap 120 250", "tap 162 250", "tap 204 250", "tap 7 250",
           "tap 232 250", "key Right",  "key Left",    "key Down",    "key Up",      "tap 120 100\nkey Right"};
    QRandomGenerator random(20261206);
    const auto burst = [&](int steps) {
        QString s;
        for (int i = 0; i < steps; ++i)
            s += moves[random.bounded(int(moves.size()))] + QStringLiteral("\nwait %1\n").arg(random.bounded(1, 8));
        return s;
    };
    QString script = QStringLiteral("browse \\pics 0\nwait 20\n") + burst(40);
    // The hold menu on the first cell, which exists by now: remove it, then
    // shift another picture; the slideshow steps while the build runs.
    script += QStringLiteral("down 36 250\nwait 600\nmenu Remove\nup 36 250\n"
                             "tap 36 250\ndown 36 250\nwait 600\nmenu \"Shift +1\"\nup 36 250\ncommand 32810\n");
    script += burst(40);
    // Keys faster than large pictures decode, some zoomed to 100 % and
    // dragged (sharper regions asked for, then left), then a build that
    // replaces their catalog while the decodes run.
    MakeFolder(run, QStringLiteral("big"), 8, 1600, 1200);
    script += QStringLiteral("browse \\big 0\nidle\n");
    for (int i = 0; i < 24; ++i)
        script += QLatin1String(i % 4 == 3 ? "key Left\n" : "key Right\n")
                  + QLatin1String(i % 3 == 1 ? "command 32793\ndrag 200 150 120 80 3\n" : "") + "wait 2\n";
    // A second build replaces the first, running or not, while input goes on.
    script += QStringLiteral("browse \\pics 0\n") + burst(60) + QStringLiteral("command 32810\nidle\ndump -\n");
    const LumoResult r = run.Run(script);
    EXPECT_FALSE(r.err.contains(QStringLiteral("runtime error"))) << r.err.toStdString();

    // The second build made the whole catalog again, in order, every entry
    // with its thumbnail.
    QStringList expected;
    for (int i = 0; i < kPictures; ++i)
        expected << QStringLiteral("\\pics\\p%1.bmp").arg(i, 3, 10, QLatin1Char('0'));
    EXPECT_EQ(Paths(r.dump), expected);
    for (const QJsonValue& e : r.dump["entries"].toArray())
        EXPECT_TRUE(e["hasThumbnail"].toBool()) << e["path"].toString().toStdString();
    EXPECT_FALSE(r.dump["slideshow"].toBool());
    // The strip's selection is the current entry; its page (which the
    // buttons may have moved away from the selection) lies on the strip.
    const QJsonObject strip = r.dump["strip"].toObject();
    EXPECT_EQ(strip["selected"].toInt(), r.dump["current"].toInt());
    EXPECT_LT(uint(r.dump["current"].toInt()), uint(kPictures));
    EXPECT_EQ(strip["lastPage"].toInt(), (kPictures - 1) / 5 * 5);
    EXPECT_EQ(strip["first"].toInt() % 5, 0);
    EXPECT_GE(strip["first"].toInt(), 0);
    EXPECT_LE(strip["first"].toInt(), strip["lastPage"].toInt());
}
