// The thumbnail pane through the real program: the strip's cells, frame and
// paging, the hold menu, the list's rows and columns, and the slideshow
// moving the selection as the pen and the keys do.
#include "lumo_run.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

// The middle of a strip cell; the strip lies at 240..270 on the device screen.
int CellX(int c)
{
    return 15 + 42 * c + 21;
}

QColor Shade(int i)
{
    return QColor(20 * i, 255 - 20 * i, 100);
}

// A folder of n pictures pics/p00.bmp, p01.bmp, ... each in its own colour.
void MakeFolder(const LumoRun& run, int n)
{
    for (int i = 0; i < n; ++i)
        WriteBmp(run.Path(QStringLiteral("pics/p%1.bmp").arg(i, 2, 10, QLatin1Char('0'))), 84, 60, Shade(i));
}

LumoResult RunOnFolder(const LumoRun& run, const QString& script, const QStringList& options = {}, int status = 0)
{
    return run.Run(script, {run.Path(QStringLiteral("pics"))}, options, status);
}

// The strip's first cell, its selected entry and its last page.
QList<int> Strip(const QJsonObject& dump)
{
    const QJsonObject s = dump["strip"].toObject();
    return {s["first"].toInt(), s["selected"].toInt(), s["lastPage"].toInt()};
}

QString Names(const QJsonObject& dump)
{
    QStringList names;
    for (const QString& path : Paths(dump))
        names << path.section(QLatin1Char('\\'), -1).section(QLatin1Char('.'), 0, 0);
    return names.join(QLatin1Char(' '));
}

}  // namespace

// Then a tap gives the strip the focus: commands are offered to the
// thumbnail pane first, and the show still runs in the main view, steps
// backward from the first picture to the last, and takes its mark along.
TEST(ThumbnailView, TheFirstPictureIsShownAndTheStripFramesItsCellAndTheShowStepsFromIt)
{
    LumoRun run;
    MakeFolder(run, 3);
    run.StoreMode(1, QStringLiteral("\"Direction\"=\"Backward\"\n\"Interval\"=dword:00000001"));
    const LumoResult r = RunOnFolder(run, QStringLiteral("idle\nshot strip.png\ndump first.json\ntap %1 250\n"
                                                         "command 32810\ndump a.json\nwait 1300\ndump b.json\n"
                                                         "command 32810\ndump -\n")
                                              .arg(CellX(0)));
    const QJsonObject first = run.Dump(QStringLiteral("first.json"));
    EXPECT_EQ(first["current"].toInt(), 0);
    EXPECT_EQ(Strip(first), (QList<int> {0, 0, 0}));
    const QImage image(run.Out(QStringLiteral("strip.png")));
    ASSERT_FALSE(image.isNull());
    // Centred in the 240 x 210 view below the task bar.
    EXPECT_EQ(CountNear(image, QRect(79, 102, 82, 58), Shade(0), 0), 82 * 58);
    EXPECT_EQ(image.pixelColor(60, 60), QColor(Qt::white));
    // Thumbnail 2 fills its cell but for the dark separator column at its right.
    EXPECT_EQ(image.pixelColor(15 + 42 + 30, 260), Shade(1));
    EXPECT_EQ(image.pixelColor(15 + 42 + 41, 260), QColor(Qt::black));
    // The red frame around cell 0 and none around cell 1; cells 3 and 4 are
    // empty.
    EXPECT_EQ(image.pixelColor(15, 255), QColor(255, 0, 0));
    EXPECT_EQ(image.pixelColor(15 + 20, 269), QColor(255, 0, 0));
    EXPECT_NE(image.pixelColor(15 + 42 + 20, 269), QColor(255, 0, 0));
    EXPECT_EQ(image.pixelColor(15 + 42 * 3 + 20, 260), QColor(Qt::white));

    const QJsonObject a = run.Dump(QStringLiteral("a.json"));
    ExpectFields(a, {{"activeView", "thumbnails"}, {"slideshow", true}});
    EXPECT_TRUE(MenuFlag(a, 32810));
    const QJsonObject b = run.Dump(QStringLiteral("b.json"));
    EXPECT_EQ(std::pair(b["current"].toInt(), Strip(b)[1]), std::pair(2, 2));
    EXPECT_FALSE(r.dump["slideshow"].toBool() || MenuFlag(r.dump, 32810));
}

// Where taps, the paging button, the arrows and the hold menu leave the
// catalog, the current picture and the strip.
TEST(ThumbnailView, PenKeysAndHoldMenuMoveTheSelectionAndTheCatalogTogether)
{
    // The cells' middles lie at x 36, 78, 120, 162 and 204; ">" lies at 232.
    const struct {
        int pictures;
        const char* script;
        QList<int> strip;  // first, selected, last page; empty: not looked at
        int current;
        const char* names = "";  // the catalog's order; empty: not looked at
        int status = 0;
    } cases[] = {
        {7, "tap 120 250", {0, 2, 5}, 2},
        // ">" pages only; the empty part of the last page selects nothing.
        {7, "tap 120 250\ntap 232 250\ntap 204 250", {5, 2, 5}, 2},
        {12, "key Down\nkey Down\nkey Down", {10, 11, 10}, 11},
        {12, "key Down\nkey Down\nkey Down\nkey Right\nkey Up\nkey Up\nkey Up\nkey Left", {}, 0},
        {4, "tap 78 250\ndown 78 250\nwait 700\nmenu \"Shift +1\"\nup 78 250", {0, 2, 0}, 2, "p00 p02 p01 p03"},
        {6, "key Down\nkey Right\ndown 36 250\nwait 700\nmenu Remove\nup 36 250", {0, 4, 0}, 4, "p00 p01 p02 p03 p04"},
        {3, "command 32841\nkey Right\nkey Right", {}, 2},  // full screen: the arrows reach the hidden strip
        {6, "tap 232 250\ndown 120 250\nwait 700\nmenu Remove", {}, 0, "", 2},  // an empty cell has no menu
    };
    for (const auto& c : cases) {
        LumoRun run;
        MakeFolder(run, c.pictures);
        const LumoResult r
            = RunOnFolder(run, QStringLiteral("idle\n%1\ndump -\n").arg(QLatin1String(c.script)), {}, c.status);
        EXPECT_EQ(r.dump["current"].toInt(), c.current) << c.script;
        EXPECT_TRUE(c.strip.isEmpty() || Strip(r.dump) == c.strip) << c.script;
        EXPECT_TRUE(!*c.names || Names(r.dump) == QLatin1String(c.names)) << Names(r.dump).toStdString();
    }
}

// The list's rows are in the device's small font and the highlighted row is
// the current picture whoever moves it: after a slideshow step to the second
// picture the list looks as it does after an arrow to it, and the show's
// ticks add no rows. The pen then drags a header edge to give the date the
// room it needs (the given widths are the first).
TEST(ThumbnailView, ListRowsFollowTheArrowsAndTheShowAndThePenResizesTheirColumns)
{
    LumoRun run;
    run.StoreMode(0, QStringLiteral("\"Direction\"=\"Forward\"\n\"Interval\"=dword:00000001"));
    MakeFolder(run, 5);
    const LumoResult r = RunOnFolder(
        run, QStringLiteral("idle\ndump a.json\nkey Down\nshot keys.png\nkey Up\nmenu View \"Slide Show\"\n"
                            "wait 1300\nmenu View \"Slide Show\"\nshot slideshow.png\ndump b.json\nkey Right\n"
                            "drag 100 208 40 208 8\ndrag 160 208 236 208 8\ndump -\n"));
    const QJsonObject first = run.Dump(QStringLiteral("a.json"));
    EXPECT_EQ(first["list"]["selected"].toInt(), 0);
    EXPECT_EQ(first["list"]["columns"].toArray(), (QJsonArray {100, 60, 60}));
    EXPECT_LE(first["list"]["rowHeight"].toInt(), 13);
    const QJsonArray texts = first["list"]["firstRow"].toArray();
    EXPECT_EQ(QJsonArray({texts[0], texts[1]}), (QJsonArray {"p00.bmp", "14.82 KB"}));
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d{4}(-\\d{1,2}){2} \\d{1,2}(:\\d{1,2}){2}$"))
                    .match(texts[2].toString())
                    .hasMatch())
        << texts[2].toString().toStdString();  // the file's time
    const QJsonObject shown = run.Dump(QStringLiteral("b.json"));
    EXPECT_EQ(shown["current"].toInt(), 1);
    EXPECT_EQ(shown["list"]["selected"].toInt(), 1);
    EXPECT_EQ(shown["list"]["rows"].toInt(), 5);
    const QJsonArray at = WindowRect(shown, QStringLiteral("CThumbnailListCtrl"));
    const QRect list(QPoint(at[0].toInt(), at[1].toInt()), QPoint(at[2].toInt() - 1, at[3].toInt() - 1));
    ASSERT_FALSE(list.isEmpty());
    EXPECT_EQ(QImage(run.Out(QStringLiteral("keys.png"))).copy(list),
              QImage(run.Out(QStringLiteral("slideshow.png"))).copy(list));
    EXPECT_EQ(r.dump["current"].toInt(), 4);  // Right pages on: here to the last row
    EXPECT_EQ(r.dump["list"]["selected"].toInt(), 4);
    EXPECT_EQ(r.dump["list"]["columns"].toArray(), (QJsonArray {40, 60, 136}));
}

// On a 480 x 640 screen ten cells make a page: one ">" tap reaches the last
// (entries 10 and 11), where a tap on its blank part selects nothing.
TEST(ThumbnailView, TheStripShowsTheCellsItsWidthHoldsAndFullScreenFillsTheScreen)
{
    LumoRun run;
    MakeFolder(run, 12);
    RunOnFolder(run,
                QStringLiteral("idle\ntap %1 575\nshot strip.png\ndump a.json\ntap 472 575\ntap %2 575\ndump b.json\n"
                               "dtap 240 100\nwait 20\nshot full.png\n")
                    .arg(CellX(9))
                    .arg(CellX(2)),
                {QStringLiteral("--screen"), QStringLiteral("480x640")});
    EXPECT_EQ(QImage(run.Out(QStringLiteral("strip.png"))).pixelColor(CellX(9), 575), Shade(9));
    EXPECT_EQ(run.Dump(QStringLiteral("a.json"))["current"].toInt(), 9);
    const QJsonObject b = run.Dump(QStringLiteral("b.json"));
    EXPECT_EQ(Strip(b), (QList<int> {10, 9, 10}));
    EXPECT_EQ(b["current"].toInt(), 9);
    // The picture lies at the middle of the whole screen; no strip below it.
    const QImage full(run.Out(QStringLiteral("full.png")));
    EXPECT_EQ(full.pixelColor(240, 320), Shade(9));
    EXPECT_EQ(full.pixelColor(CellX(0), 335), full.pixelColor(1, 639));
}

// What the user sees after full screen: each picture as it was before.
TEST(ThumbnailView, FullScreenBrowsingAndSlideshowLeaveEveryPictureAsItWas)
{
    LumoRun run;
    // Large landscape pictures, each with a marker that shows turns and zooms.
    WriteBmp(run.Path(QStringLiteral("pics/a.bmp")), 320, 200, Shade(1), Qt::black);
    WriteBmp(run.Path(QStringLiteral("pics/b.bmp")), 320, 200, Shade(5), Qt::white);
    run.StoreMode(1, QStringLiteral("\"Direction\"=\"Forward\"\n\"Interval\"=dword:00000001"));
    const QString script = QStringLiteral("idle\n"
                                          "tap %1 250\nshot b0.png\ntap %2 250\n"  // b as it starts
                                          "menu View Rotate \"Rotate Image +90\"\nmenu View Zoom 200%\nshot "
                                          "a0.png\n"                                   // a at 200 % and +90
                                          "dtap 120 100\nkey Right\nkey Left\n"        // browse in full screen
                                          "command 32810\nwait 1300\ncommand 32810\n"  // a slideshow shows b
                                          "dtap 120 100\nwait 20\ntap %2 250\nshot a1.png\ntap %1 250\nshot "
                                          "b1.png\ndump -\n");
    const LumoResult r = RunOnFolder(run, script.arg(CellX(1)).arg(CellX(0)));
    EXPECT_EQ(r.dump["fullScreen"].toInt(), 0);
    for (const char* name : {"a", "b"}) {
        const QImage before(run.Out(QLatin1String(name) + QStringLiteral("0.png")));
        ASSERT_FALSE(before.isNull()) << name;
        EXPECT_TRUE(before == QImage(run.Out(QLatin1String(name) + QStringLiteral("1.png")))) << name;
    }
}
