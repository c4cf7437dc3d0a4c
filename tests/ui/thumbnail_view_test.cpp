// The thumbnail strip, the file list and the slideshow through the real
// program: taps, the hold menu, keys, the stored mode and what the strip
// shows on screen.
#include "lumo_run.h"
#include "ui_pictures.h"

#include <QDir>
#include <QJsonArray>
#include <gtest/gtest.h>

using namespace UiPictures;

namespace {

// Strip mode: the thumbnail pane lies at 240..270 on the device screen.
constexpr int kStripTop = 240;

int CellX(int c)
{
    return 15 + 42 * c + 21;
}

QColor Shade(int i)
{
    return QColor(20 * i, 255 - 20 * i, 100);
}

class ThumbnailViewTest : public ::testing::Test {
protected:
    QString Path(const QString& name) const { return m_run.Root() + QLatin1Char('/') + name; }
    QString Out(const QString& name) const { return m_run.Dir() + QLatin1Char('/') + name; }
    // A folder of n pictures p00.bmp, p01.bmp, ... each in its own colour.
    void MakeFolder(int n)
    {
        QDir(m_run.Root()).mkpath(QStringLiteral("pics"));
        for (int i = 0; i < n; ++i)
            WriteBmp(Path(QStringLiteral("pics/p%1.bmp").arg(i, 2, 10, QLatin1Char('0'))), 84, 60, Shade(i));
    }
    void StoreSettings(int mode, const QString& direction = QStringLiteral("Forward"), int interval = 1)
    {
        QFile reg(m_run.Registry());
        ASSERT_TRUE(reg.open(QIODevice::WriteOnly));
        reg.write(QStringLiteral("REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\FARHAVEN\\lumo\\Setting]\n"
                                 "\"ThumbnailView Mode\"=dword:%1\n\n"
                                 "[HKEY_CURRENT_USER\\Software\\FARHAVEN\\lumo\\Settings\\Slideshow]\n"
                                 "\"Direction\"=\"%2\"\n\"Interval\"=dword:%3\n")
                      .arg(mode, 8, 16, QLatin1Char('0'))
                      .arg(direction)
                      .arg(interval, 8, 16, QLatin1Char('0'))
                      .toUtf8());
    }
    LumoResult Run(const QString& script, const QStringList& options = {})
    {
        const LumoResult r = m_run.Run(script, {Path(QStringLiteral("pics"))}, options);
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        return r;
    }
    LumoRun m_run;
};

QList<int> Strip(const QJsonObject& dump)
{
    const QJsonObject s = dump["strip"].toObject();
    return {s["first"].toInt(), s["selected"].toInt(), s["lastPage"].toInt()};
}

QString EntryName(const QJsonObject& dump, int index)
{
    return dump["entries"].toArray()[index].toObject()["path"].toString().section(QLatin1Char('\\'), -1);
}

TEST_F(ThumbnailViewTest, FirstPictureBecomesCurrentAndStripFramesIt)
{
    MakeFolder(3);
    const QString shot = Out("strip.png");
    const LumoResult r = Run(QStringLiteral("idle\nshot \"%1\"\ndump -\n").arg(shot));
    EXPECT_EQ(r.dump["current"].toInt(), 0);
    EXPECT_EQ(Strip(r.dump), (QList<int> {0, 0, 0}));
    const QImage image(shot);
    ASSERT_FALSE(image.isNull());
    // Thumbnail 2 fills its cell (minus the separator column) in its colour.
    EXPECT_EQ(image.pixelColor(15 + 42 + 30, kStripTop + 20), Shade(1));
    // The separator: the rightmost column of each thumbnail is dark.
    EXPECT_EQ(image.pixelColor(15 + 42 + 41, kStripTop + 20), QColor(Qt::black));
    // The red frame around cell 0 and none around cell 1.
    EXPECT_EQ(image.pixelColor(15, kStripTop + 15), QColor(255, 0, 0));
    EXPECT_EQ(image.pixelColor(15 + 20, kStripTop + 29), QColor(255, 0, 0));
    EXPECT_NE(image.pixelColor(15 + 42 + 20, kStripTop + 29), QColor(255, 0, 0));
    // Cells 3 and 4 are empty: white.
    EXPECT_EQ(image.pixelColor(15 + 42 * 3 + 20, kStripTop + 20), QColor(Qt::white));
}

TEST_F(ThumbnailViewTest, TapPicksAndButtonsPage)
{
    MakeFolder(7);
    const LumoResult r = Run(QStringLiteral("idle\ntap %1 250\ndump \"%2\"\ntap 232 250\ndump \"%3\"\n"
                                            "tap %4 250\ndump -\n")
                                 .arg(CellX(2))
                                 .arg(Out("a.json"), Out("b.json"))
                                 .arg(CellX(4)));
    const QJsonObject a = ReadDump(Out("a.json"));
    EXPECT_EQ(a["current"].toInt(), 2);
    EXPECT_EQ(Strip(a), (QList<int> {0, 2, 5}));
    const QJsonObject b = ReadDump(Out("b.json"));
    EXPECT_EQ(Strip(b), (QList<int> {5, 2, 5}));  // ">" pages only
    EXPECT_EQ(b["current"].toInt(), 2);
    // A tap on the empty part of the last page does nothing.
    EXPECT_EQ(r.dump["current"].toInt(), 2);
}

TEST_F(ThumbnailViewTest, HoldThenShiftMovesThePictureAndItStaysCurrent)
{
    MakeFolder(4);
    const LumoResult r = Run(QStringLiteral("idle\ntap %1 250\ndown %1 250\nwait 700\nmenu \"Shift +1\"\nup %1 250\n"
                                            "dump -\n")
                                 .arg(CellX(1)));
    EXPECT_EQ(r.dump["current"].toInt(), 2);
    EXPECT_EQ(EntryName(r.dump, 2), QStringLiteral("p01.bmp"));
    EXPECT_EQ(EntryName(r.dump, 1), QStringLiteral("p02.bmp"));
    EXPECT_EQ(Strip(r.dump)[1], 2);
}

TEST_F(ThumbnailViewTest, RemoveTakesThePictureOutOfTheCatalog)
{
    MakeFolder(6);
    const LumoResult r = Run(QStringLiteral("idle\nkey Down\nkey Right\ndown %1 250\nwait 700\nmenu Remove\n"
                                            "up %1 250\ndump -\n")
                                 .arg(CellX(0)));
    EXPECT_EQ(r.dump["entries"].toArray().size(), 5);
    EXPECT_EQ(r.dump["current"].toInt(), 4);
    EXPECT_EQ(Strip(r.dump), (QList<int> {0, 4, 0}));
}

TEST_F(ThumbnailViewTest, HoldOnEmptyCellsOpensNoMenu)
{
    MakeFolder(6);
    // Page 2 holds one entry; the pen rests on its empty third cell.
    const LumoResult r
        = m_run.Run(QStringLiteral("idle\ntap 232 250\ndown %1 250\nwait 700\nmenu Remove\n").arg(CellX(2)),
                    {Path(QStringLiteral("pics"))});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains(QStringLiteral("no menu"))) << r.err.toStdString();
}

TEST_F(ThumbnailViewTest, ArrowKeysStopAtTheEnds)
{
    MakeFolder(12);
    const LumoResult r = Run(QStringLiteral("idle\nkey Down\nkey Down\nkey Down\ndump \"%1\"\nkey Right\n"
                                            "key Up\nkey Up\nkey Up\nkey Left\ndump -\n")
                                 .arg(Out("a.json")));
    EXPECT_EQ(Strip(ReadDump(Out("a.json"))), (QList<int> {10, 11, 10}));
    EXPECT_EQ(ReadDump(Out("a.json"))["current"].toInt(), 11);
    EXPECT_EQ(r.dump["current"].toInt(), 0);
}

TEST_F(ThumbnailViewTest, ListShowsARowPerPictureWithTheFirstSelected)
{
    StoreSettings(0);
    MakeFolder(3);
    const LumoResult r = Run(QStringLiteral("idle\ndump \"%1\"\nkey Down\nkey Right\ndump -\n").arg(Out("a.json")));
    const QJsonObject first = ReadDump(Out("a.json"));
    EXPECT_EQ(first["current"].toInt(), 0);
    EXPECT_EQ(first["list"].toObject()["selected"].toInt(), 0);
    const QJsonObject list = r.dump["list"].toObject();
    EXPECT_EQ(list["rows"].toInt(), 3);
    EXPECT_EQ(list["selected"].toInt(), 2);
    EXPECT_EQ(r.dump["current"].toInt(), 2);
}

// The row the list shows highlighted follows the current picture whoever
// moves it: the list after a slideshow step to the second picture looks as it
// does after an arrow to it.
TEST_F(ThumbnailViewTest, TheHighlightedRowIsAlwaysTheCurrentPicture)
{
    StoreSettings(0, QStringLiteral("Forward"), 1);
    MakeFolder(5);
    const LumoResult r = Run(QStringLiteral("idle\nkey Down\nshot \"%1\"\nkey Up\nmenu View \"Slide Show\"\nwait 1300\n"
                                            "menu View \"Slide Show\"\nshot \"%2\"\ndump -\n")
                                 .arg(Out("keys.png"), Out("slideshow.png")));
    EXPECT_EQ(r.dump["current"].toInt(), 1);
    EXPECT_EQ(r.dump["list"].toObject()["selected"].toInt(), 1);
    const QList<int> at = WindowRect(r.dump, QStringLiteral("CThumbnailListCtrl"));
    ASSERT_EQ(at.size(), 4);
    const QRect list(QPoint(at[0], at[1]), QPoint(at[2] - 1, at[3] - 1));
    EXPECT_EQ(QImage(Out("keys.png")).copy(list), QImage(Out("slideshow.png")).copy(list));
}

// The list's rows are in the device's small font, and the pen drags a header
// edge to give the date the room it needs (the given widths are the first).
TEST_F(ThumbnailViewTest, ListRowsAreSmallAndThePenResizesItsColumns)
{
    StoreSettings(0);
    MakeFolder(3);
    const LumoResult r
        = Run(QStringLiteral("idle\ndump \"%1\"\ndrag 100 208 40 208 8\ndrag 160 208 236 208 8\ndump -\n")
                  .arg(Out("a.json")));
    const QJsonObject first = ReadDump(Out("a.json"))["list"].toObject();
    EXPECT_EQ(first["columns"].toArray(), (QJsonArray {100, 60, 60}));
    EXPECT_LE(first["rowHeight"].toInt(), 13);
    EXPECT_EQ(r.dump["list"].toObject()["columns"].toArray(), (QJsonArray {40, 60, 136}));
}

TEST_F(ThumbnailViewTest, TheStripShowsTheCellsItsWidthHoldsAndFullScreenFillsTheScreen)
{
    MakeFolder(12);
    const struct {
        int width, height, cells;
        int pagesToLast;  // ">" taps from the first page to the last (entries 10 and 11)
    } screens[] = {{240, 320, 5, 2}, {480, 640, 10, 1}};
    for (const auto& c : screens) {
        const int stripY = c.height - 80 + 15;
        const QString size = QStringLiteral("%1x%2").arg(c.width).arg(c.height);
        QString script = QStringLiteral("idle\ntap %1 %2\nshot \"%3\"\ndump \"%4\"\n")
                             .arg(CellX(c.cells - 1))
                             .arg(stripY)
                             .arg(Out("strip.png"), Out("a.json"));
        for (int i = 0; i < c.pagesToLast; ++i)
            script += QStringLiteral("tap %1 %2\n").arg(c.width - 8).arg(stripY);
        // A tap on the blank part of the last page, then full screen.
        script += QStringLiteral("tap %1 %2\ndump \"%3\"\ndtap %4 100\nwait 20\nshot \"%5\"\n")
                      .arg(CellX(2))
                      .arg(stripY)
                      .arg(Out("b.json"))
                      .arg(c.width / 2)
                      .arg(Out("full.png"));
        Run(script, {QStringLiteral("--screen"), size});

        const QImage strip(Out("strip.png"));
        EXPECT_EQ(strip.pixelColor(CellX(c.cells - 1), stripY), Shade(c.cells - 1)) << size.toStdString();
        EXPECT_EQ(ReadDump(Out("a.json"))["current"].toInt(), c.cells - 1) << size.toStdString();
        const QJsonObject b = ReadDump(Out("b.json"));
        EXPECT_EQ(Strip(b), (QList<int> {10, c.cells - 1, 10})) << size.toStdString();
        EXPECT_EQ(b["current"].toInt(), c.cells - 1) << size.toStdString();
        // The picture lies at the middle of the whole screen; no strip below it.
        const QImage full(Out("full.png"));
        EXPECT_EQ(full.pixelColor(c.width / 2, c.height / 2), Shade(c.cells - 1)) << size.toStdString();
        EXPECT_EQ(full.pixelColor(CellX(0), c.height / 2 + 15), full.pixelColor(1, c.height - 1)) << size.toStdString();
    }
}

TEST_F(ThumbnailViewTest, FullScreenArrowsReachTheHiddenStrip)
{
    MakeFolder(3);
    const LumoResult r = Run(QStringLiteral("idle\ncommand 32841\nkey Right\nkey Right\ndump -\n"));
    EXPECT_EQ(r.dump["mode"].toInt(), 2);
    EXPECT_EQ(r.dump["current"].toInt(), 2);
}

TEST_F(ThumbnailViewTest, StoredModeFiveIsReportedAndRoutesNoKeys)
{
    MakeFolder(3);
    StoreSettings(5);
    const LumoResult r = Run(QStringLiteral("idle\nkey Right\ndump -\n"));
    const QJsonArray messages = r.dump["messages"].toArray();
    EXPECT_TRUE(messages.contains(QStringLiteral("Invalid ThumbnailView Mode")));
}

TEST_F(ThumbnailViewTest, SlideShowStepsAndItsMarkFollows)
{
    MakeFolder(3);
    StoreSettings(1, QStringLiteral("Backward"), 1);
    const LumoResult r = Run(QStringLiteral("idle\nmenu View \"Slide Show\"\ndump \"%1\"\nwait 1300\n"
                                            "dump \"%2\"\nmenu View \"Slide Show\"\ndump -\n")
                                 .arg(Out("a.json"), Out("b.json")));
    const QJsonObject a = ReadDump(Out("a.json"));
    EXPECT_TRUE(a["slideshow"].toBool());
    EXPECT_TRUE(a["menu"].toObject()["32810"].toObject()["checked"].toBool());
    const QJsonObject b = ReadDump(Out("b.json"));
    EXPECT_EQ(b["current"].toInt(), 2);  // backward from 0 wraps to the last
    EXPECT_EQ(Strip(b)[1], 2);
    EXPECT_FALSE(r.dump["slideshow"].toBool());
    EXPECT_FALSE(r.dump["menu"].toObject()["32810"].toObject()["checked"].toBool());
}

TEST_F(ThumbnailViewTest, SlideShowStartsAndStopsWhileTheStripHasTheFocus)
{
    MakeFolder(3);
    StoreSettings(1, QStringLiteral("Forward"), 1);
    // The tap gives the strip the focus: commands are offered to the
    // thumbnail pane first, and the show still runs in the main view.
    const LumoResult r = Run(QStringLiteral("idle\ntap %1 250\ncommand 32810\ndump \"%2\"\ncommand 32810\ndump -\n")
                                 .arg(CellX(1))
                                 .arg(Out("a.json")));
    const QJsonObject a = ReadDump(Out("a.json"));
    EXPECT_EQ(a["activeView"].toString(), QStringLiteral("thumbnails"));
    EXPECT_TRUE(a["slideshow"].toBool());
    EXPECT_TRUE(a["menu"].toObject()["32810"].toObject()["checked"].toBool());
    EXPECT_FALSE(r.dump["slideshow"].toBool());
    EXPECT_FALSE(r.dump["menu"].toObject()["32810"].toObject()["checked"].toBool());
}

TEST_F(ThumbnailViewTest, SlideShowTicksAddNoRowsToACompleteList)
{
    StoreSettings(0, QStringLiteral("Forward"), 1);
    MakeFolder(3);
    const LumoResult r = Run(QStringLiteral("idle\nmenu View \"Slide Show\"\nwait 2300\ndump -\n"));
    EXPECT_TRUE(r.dump["slideshow"].toBool());
    EXPECT_EQ(r.dump["current"].toInt(), 2);
    EXPECT_EQ(r.dump["list"].toObject()["rows"].toInt(), 3);
}

// What the user sees after full screen: each picture as it was before.
TEST_F(ThumbnailViewTest, FullScreenBrowsingAndSlideshowLeaveEveryPictureAsItWas)
{
    QDir(m_run.Root()).mkpath(QStringLiteral("pics"));
    // Large landscape pictures, each with a marker that shows turns and zooms.
    WriteBmp(Path("pics/a.bmp"), 320, 200, Shade(1), Qt::black);
    WriteBmp(Path("pics/b.bmp"), 320, 200, Shade(5), Qt::white);
    StoreSettings(1, QStringLiteral("Forward"), 1);
    const QString script = QStringLiteral(
        "idle\n"
        "tap %1 250\nshot \"%3\"\ntap %2 250\n"                                      // b as it starts
        "menu View Rotate \"Rotate Image +90\"\nmenu View Zoom 200%\nshot \"%4\"\n"  // a at 200 % and +90
        "dtap 120 100\nkey Right\nkey Left\n"                                        // browse in full screen
        "command 32810\nwait 1300\ncommand 32810\n"                                  // a slideshow shows b
        "dtap 120 100\nwait 20\ntap %2 250\nshot \"%5\"\ntap %1 250\nshot \"%6\"\ndump -\n");
    const LumoResult r
        = Run(script.arg(CellX(1)).arg(CellX(0)).arg(Out("b0.png"), Out("a0.png"), Out("a1.png"), Out("b1.png")));
    EXPECT_EQ(r.dump["fullScreen"].toInt(), 0);
    for (const QString& name : {QStringLiteral("a"), QStringLiteral("b")}) {
        const QImage before(Out(name + QStringLiteral("0.png")));
        const QImage after(Out(name + QStringLiteral("1.png")));
        ASSERT_FALSE(before.isNull()) << name.toStdString();
        EXPECT_TRUE(before == after) << name.toStdString();
    }
}

}  // namespace
