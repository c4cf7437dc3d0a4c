// The main image view and the view-state commands through the real program:
// radio marks in the menus, zoom steps, panning, the double-tap full screen
// and the memo drawn over album pictures in full screen.
#include "lumo_run.h"
#include "ui_pictures.h"

#include <QJsonArray>
#include <gtest/gtest.h>

using namespace UiPictures;

namespace {

const QColor kBlue(0, 0, 200);
const QColor kMemoColor(255, 100, 0);

QJsonObject Entry(const QJsonObject& dump, int index = 0)
{
    return dump["entries"].toArray()[index].toObject();
}

bool Checked(const QJsonObject& dump, int id)
{
    return dump["menu"].toObject()[QString::number(id)].toObject()["checked"].toBool();
}

bool Enabled(const QJsonObject& dump, int id)
{
    return dump["menu"].toObject()[QString::number(id)].toObject()["enabled"].toBool();
}

QList<int> CheckedAmong(const QJsonObject& dump, int first, int last)
{
    QList<int> ids;
    for (int id = first; id <= last; ++id)
        if (Checked(dump, id))
            ids << id;
    return ids;
}

QList<int> Pan(const QJsonObject& dump)
{
    const QJsonArray pan = dump["pan"].toArray();
    return {pan[0].toInt(), pan[1].toInt()};
}

class ImageViewTest : public ::testing::Test {
protected:
    QString Path(const QString& name) const { return m_run.Root() + QLatin1Char('/') + name; }
    QString Out(const QString& name) const { return m_run.Dir() + QLatin1Char('/') + name; }
    LumoResult Run(const QString& script, const QString& picture, const QStringList& options = {})
    {
        const LumoResult r = m_run.Run(script, {Path(picture)}, options);
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        return r;
    }
    LumoRun m_run;
};

}  // namespace

TEST_F(ImageViewTest, FirstShownWithFillAndNoRotationMarked)
{
    const LumoResult r = m_run.Run(QStringLiteral("dump -\n"));
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(CheckedAmong(r.dump, 32817, 32819), QList<int> {32818});
    EXPECT_EQ(CheckedAmong(r.dump, 32785, 32788), QList<int> {32788});
    EXPECT_TRUE(CheckedAmong(r.dump, 32792, 32797).isEmpty());
    EXPECT_EQ(r.dump["fullScreen"].toInt(), 0);
    EXPECT_EQ(r.dump["pan"].toArray(), (QJsonArray {0, 0}));
    // No picture: the picture commands are off, the fixed ones stay on.
    EXPECT_FALSE(Enabled(r.dump, 32798));
    EXPECT_FALSE(Enabled(r.dump, 32841));
    EXPECT_TRUE(Enabled(r.dump, 32793));
}

TEST_F(ImageViewTest, OpenedFolderShowsItsFirstPicture)
{
    QDir(m_run.Root()).mkpath(QStringLiteral("pics"));
    WriteBmp(Path("pics/a.bmp"), 60, 40, kBlue);
    WriteBmp(Path("pics/b.bmp"), 60, 40, Qt::red);
    const QString shot = Out("first.png");
    const LumoResult r = Run(QStringLiteral("idle\nshot \"%1\"\ndump -\n").arg(shot), QStringLiteral("pics"));
    EXPECT_EQ(r.dump["current"].toInt(), 0);
    EXPECT_TRUE(Entry(r.dump)["hasPicture"].toBool());
    // Centred in the 240 x 210 view below the task bar: a 60 x 40 blue block.
    const QImage image(shot);
    EXPECT_EQ(CountNear(image, QRect(91, 26 + 86, 58, 38), kBlue, 0), 58 * 38);
    EXPECT_EQ(image.pixelColor(60, 60), QColor(Qt::white));
}

TEST_F(ImageViewTest, RadioMarksFollowTheCommands)
{
    WriteBmp(Path("a.bmp"), 100, 80, kBlue);
    const QString first = Out("first.json");
    const LumoResult r = Run(QStringLiteral("menu View Rotate \"Rotate Image +90\"\n"
                                            "menu View Zoom 200%\n"
                                            "dump \"%1\"\n"
                                            "command 32813\n"
                                            "menu View Zoom \"Zoom in\"\n"
                                            "menu View Zoom \"All to fit display\"\n"
                                            "dump -\n")
                                 .arg(first),
                             QStringLiteral("a.bmp"));
    const QJsonObject before = ReadDump(first);
    EXPECT_EQ(Entry(before)["rotation"].toInt(), 90);
    EXPECT_EQ(Entry(before)["zoom"].toInt(), 200);
    EXPECT_EQ(CheckedAmong(before, 32785, 32788), QList<int> {32785});
    EXPECT_EQ(CheckedAmong(before, 32792, 32797), QList<int> {32795});

    EXPECT_EQ(Entry(r.dump)["rotation"].toInt(), 180);
    EXPECT_EQ(CheckedAmong(r.dump, 32785, 32788), QList<int> {32786});
    EXPECT_EQ(Entry(r.dump)["zoom"].toInt(), 0);
    EXPECT_TRUE(CheckedAmong(r.dump, 32792, 32797).isEmpty());
    EXPECT_EQ(CheckedAmong(r.dump, 32817, 32819), QList<int> {32817});
}

TEST_F(ImageViewTest, ZoomInStopsOnceTheCodeReachesThreeHundred)
{
    WriteBmp(Path("a.bmp"), 100, 80, kBlue);
    QString script = QStringLiteral("menu View Zoom 50%\n");
    for (int i = 0; i < 12; ++i)  // 50 -> 290
        script += QStringLiteral("menu View Zoom \"Zoom in\"\n");
    script += QStringLiteral("dump \"%1\"\nmenu View Zoom \"Zoom in\"\ndump -\nmenu View Zoom \"Zoom in\"\n")
                  .arg(Out("at290.json"));
    const LumoResult r = m_run.Run(script, {Path("a.bmp")});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains(QStringLiteral("menu item \"Zoom in\" is disabled"))) << r.err.toStdString();
    EXPECT_EQ(Entry(ReadDump(Out("at290.json")))["zoom"].toInt(), 290);
    EXPECT_EQ(Entry(r.dump)["zoom"].toInt(), 310);
    EXPECT_FALSE(Enabled(r.dump, 32798));
}

TEST_F(ImageViewTest, ZoomOutStopsAtFortyFromSixty)
{
    WriteBmp(Path("a.bmp"), 100, 80, kBlue);
    const LumoResult r = m_run.Run(QStringLiteral("menu View Zoom 100%\n"
                                                  "menu View Zoom \"Zoom out\"\nmenu View Zoom \"Zoom out\"\n"
                                                  "dump \"%1\"\nmenu View Zoom \"Zoom out\"\ndump -\n"
                                                  "menu View Zoom \"Zoom out\"\n")
                                       .arg(Out("at60.json")),
                                   {Path("a.bmp")});
    EXPECT_EQ(Entry(ReadDump(Out("at60.json")))["zoom"].toInt(), 60);
    EXPECT_EQ(Entry(r.dump)["zoom"].toInt(), 40);
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains(QStringLiteral("menu item \"Zoom out\" is disabled"))) << r.err.toStdString();
}

TEST_F(ImageViewTest, FittedPictureStepsFromItsDrawnScale)
{
    // Unscaled when fitted: counts as 101.
    WriteBmp(Path("small.bmp"), 100, 80, kBlue);
    const LumoResult in
        = Run(QStringLiteral("wait 20\nmenu View Zoom \"Zoom in\"\ndump -\n"), QStringLiteral("small.bmp"));
    EXPECT_EQ(Entry(in.dump)["zoom"].toInt(), 121);
    const LumoResult out
        = Run(QStringLiteral("wait 20\nmenu View Zoom \"Zoom out\"\ndump -\n"), QStringLiteral("small.bmp"));
    EXPECT_EQ(Entry(out.dump)["zoom"].toInt(), 81);
    // 484 wide in a view 242 wide (with the canvas's two columns): halved, 51.
    WriteBmp(Path("wide.bmp"), 484, 100, kBlue);
    const LumoResult wide = Run(QStringLiteral("menu View Zoom \"Shrink to fit\"\nwait 20\ndump \"%1\"\n"
                                               "menu View Zoom \"Zoom out\"\ndump -\n")
                                    .arg(Out("fit.json")),
                                QStringLiteral("wide.bmp"));
    EXPECT_DOUBLE_EQ(Entry(ReadDump(Out("fit.json")))["displayScale"].toDouble(), 2.0);
    EXPECT_EQ(Entry(wide.dump)["zoom"].toInt(), 31);
}

TEST_F(ImageViewTest, DragMovesThePanOffsetAndStopsAtTheEdge)
{
    WriteBmp(Path("big.bmp"), 1000, 800, kBlue, Qt::red);
    const LumoResult r = Run(QStringLiteral("menu View Zoom 100%\nwait 20\n"
                                            "drag 200 150 150 120\nwait 20\ndump \"%1\"\n"
                                            "drag 100 100 110 100\nwait 20\ndump \"%2\"\n"
                                            "drag 100 100 200 200\nwait 20\ndump -\n")
                                 .arg(Out("drag1.json"), Out("drag2.json")),
                             QStringLiteral("big.bmp"));
    EXPECT_EQ(Pan(ReadDump(Out("drag1.json"))), (QList<int> {50, 30}));
    EXPECT_EQ(Pan(ReadDump(Out("drag2.json"))), (QList<int> {40, 30}));
    EXPECT_EQ(Pan(r.dump), (QList<int> {0, 0}));
}

TEST_F(ImageViewTest, PanningShowsAnotherPartOfThePicture)
{
    // Red top-left quarter (500 x 400) on blue, shown at 100%.
    WriteBmp(Path("big.bmp"), 1000, 800, kBlue, Qt::red);
    const QString before = Out("before.png");
    const QString after = Out("after.png");
    Run(QStringLiteral("menu View Zoom 100%\nwait 20\nshot \"%1\"\ndrag 200 200 0 0\ndrag 200 200 0 0\n"
                       "drag 200 200 0 0\nwait 20\nshot \"%2\"\n")
            .arg(before, after),
        QStringLiteral("big.bmp"));
    EXPECT_EQ(QImage(before).pixelColor(120, 120), QColor(Qt::red));
    // Panned by 600 x 600: the view shows the blue part right of and below the quarter.
    EXPECT_EQ(QImage(after).pixelColor(120, 120), kBlue);
}

TEST_F(ImageViewTest, DoubleTapEntersFullScreenAndRestoresZoomAndRotation)
{
    WriteBmp(Path("land.bmp"), 640, 480, kBlue);
    const QString in = Out("in.json");
    const QString shot = Out("full.png");
    const LumoResult r = Run(QStringLiteral("menu View Rotate \"Rotate Image +90\"\nmenu View Zoom 150%\n"
                                            "dtap 120 100\nwait 20\ndump \"%1\"\nshot \"%2\"\n"
                                            "dtap 120 100\nwait 20\ndump -\n")
                                 .arg(in, shot),
                             QStringLiteral("land.bmp"));
    const QJsonObject full = ReadDump(in);
    EXPECT_EQ(full["fullScreen"].toInt(), 1);
    EXPECT_EQ(full["mode"].toInt(), 2);
    EXPECT_EQ(Entry(full)["zoom"].toInt(), 0);
    EXPECT_EQ(Entry(full)["rotation"].toInt(), 270);
    EXPECT_EQ(WindowRect(full, "CMainFrame"), (QList<int> {0, 0, 240, 320}));
    EXPECT_EQ(WindowRect(full, "CLumoView"), (QList<int> {0, 0, 240, 320}));
    EXPECT_TRUE(WindowRect(full, "CTaskBar").isEmpty());
    EXPECT_TRUE(WindowRect(full, "CCommandBar").isEmpty());
    EXPECT_TRUE(WindowRect(full, "CToolBar").isEmpty());
    // Turned and fitted: 480 x 640 shrunk into the screen fills its height.
    const QImage image(shot);
    EXPECT_EQ(image.pixelColor(120, 2), kBlue);
    EXPECT_EQ(image.pixelColor(120, 317), kBlue);

    EXPECT_EQ(r.dump["fullScreen"].toInt(), 0);
    EXPECT_EQ(r.dump["mode"].toInt(), 1);
    EXPECT_EQ(Entry(r.dump)["zoom"].toInt(), 150);
    EXPECT_EQ(Entry(r.dump)["rotation"].toInt(), 90);
    EXPECT_EQ(WindowRect(r.dump, "CMainFrame"), (QList<int> {0, 26, 240, 294}));
    EXPECT_EQ(WindowRect(r.dump, "CCommandBar"), (QList<int> {0, 294, 240, 320}));
    EXPECT_EQ(WindowRect(r.dump, "CLumoView"), (QList<int> {0, 26, 240, 236}));
}

TEST_F(ImageViewTest, DoubleTapOnPortraitPictureLeavesItsRotation)
{
    WriteBmp(Path("tall.bmp"), 200, 300, kBlue);
    const LumoResult r = Run(QStringLiteral("menu View Rotate \"Rotate Image +180\"\ndtap 120 100\ndump -\n"),
                             QStringLiteral("tall.bmp"));
    EXPECT_EQ(r.dump["fullScreen"].toInt(), 1);
    EXPECT_EQ(Entry(r.dump)["rotation"].toInt(), 180);
    EXPECT_EQ(Entry(r.dump)["zoom"].toInt(), 0);
}

TEST_F(ImageViewTest, FullScreenCommandTurnsOnlyLargeLandscapePictures)
{
    WriteBmp(Path("large.bmp"), 640, 480, kBlue);
    WriteBmp(Path("small.bmp"), 200, 150, kBlue);
    const LumoResult large = Run(QStringLiteral("menu View \"Full Screen\"\ndump -\n"), QStringLiteral("large.bmp"));
    EXPECT_EQ(Entry(large.dump)["zoom"].toInt(), 0);
    EXPECT_EQ(Entry(large.dump)["rotation"].toInt(), 270);
    EXPECT_EQ(large.dump["fullScreen"].toInt(), 1);
    const LumoResult small = Run(QStringLiteral("menu View \"Full Screen\"\ndump -\n"), QStringLiteral("small.bmp"));
    EXPECT_EQ(Entry(small.dump)["zoom"].toInt(), 0);
    EXPECT_EQ(Entry(small.dump)["rotation"].toInt(), 0);
    EXPECT_EQ(small.dump["mode"].toInt(), 2);
}

TEST_F(ImageViewTest, MemoIsDrawnOnlyOverAlbumPicturesInFullScreen)
{
    WriteBmp(Path("blue.bmp"), 240, 320, kBlue);
    WriteAlbum(Path("memo.lab"), {{QStringLiteral("\\blue.bmp"), MemoText("Top Center", "HELLO WORLD")}});
    const QString strip = Out("strip.png");
    const QString full = Out("full.png");
    const LumoResult r
        = Run(QStringLiteral("wait 20\nshot \"%1\"\ndtap 120 100\nwait 20\nshot \"%2\"\ndump -\n").arg(strip, full),
              QStringLiteral("memo.lab"));
    EXPECT_EQ(Entry(r.dump)["memo"].toObject()["content"].toString(), QStringLiteral("HELLO WORLD"));
    EXPECT_EQ(CountNear(QImage(strip), QRect(0, 26, 240, 210), kMemoColor), 0);
    const QImage image(full);
    // Near the top of the rectangle 10, 10, 230, 310, and nowhere else.
    EXPECT_GT(CountNear(image, QRect(10, 10, 220, 20), kMemoColor), 20);
    EXPECT_EQ(CountNear(image, QRect(0, 40, 240, 280), kMemoColor), 0);

    // The same picture from a folder shows no memo in full screen.
    const QString plain = Out("plain.png");
    Run(QStringLiteral("wait 20\ndtap 120 100\nwait 20\nshot \"%1\"\n").arg(plain), QStringLiteral("blue.bmp"));
    EXPECT_EQ(CountNear(QImage(plain), QRect(0, 0, 240, 320), kMemoColor), 0);
}

TEST_F(ImageViewTest, MemoHonoursMiddleAndBottomPlacement)
{
    WriteBmp(Path("blue.bmp"), 240, 320, kBlue);
    const QString longText = QStringLiteral("THE BEGINNING OF A LONG MEMO THAT RUNS WELL PAST THE WIDTH OF THE SCREEN "
                                            "AND WRAPS BETWEEN ITS WORDS TO THE END");
    struct Case {
        const char* align;
        QString text;
        QRect inside;
        QRect outside;
        const char* screen = "240x320";
    };
    const Case cases[] = {
        {"Bottom Right", QStringLiteral("NOTE"), QRect(120, 285, 110, 25), QRect(0, 0, 240, 270)},
        {"middle left", QStringLiteral("NOTE"), QRect(10, 145, 110, 30), QRect(0, 0, 240, 130)},
        // A long memo wraps inside the rectangle: its first lines stand
        // above the last, and nothing spills past the left margin.
        {"Bottom Right", longText, QRect(10, 230, 220, 50), QRect(0, 0, 10, 320)},
        // On a larger screen the rectangle keeps its margins.
        {"Bottom Right", QStringLiteral("NOTE"), QRect(360, 605, 110, 25), QRect(0, 0, 480, 590), "480x640"},
    };
    for (const Case& c : cases) {
        WriteAlbum(Path("memo.lab"), {{QStringLiteral("\\blue.bmp"), MemoText(c.align, c.text)}});
        const QString shot = Out("memo.png");
        Run(QStringLiteral("dtap 120 100\nwait 20\nshot \"%1\"\n").arg(shot), QStringLiteral("memo.lab"),
            {QStringLiteral("--screen"), QLatin1String(c.screen)});
        const QImage image(shot);
        EXPECT_GT(CountNear(image, c.inside, kMemoColor), 10) << c.align;
        EXPECT_EQ(CountNear(image, c.outside, kMemoColor), 0) << c.align;
    }
}

TEST(MainFrame, ExitEndsTheProgramBeforeTheRestOfTheScript)
{
    LumoRun run;
    const LumoResult r = run.Run(QStringLiteral("menu File Exit\nwait 200\ndump -\n"));
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.dump.isEmpty());
}

// Neither the picture shown before nor a blank area: a line of text on white,
// in the list (which lists the broken file) and in the strip (whose build
// leaves it out, so nothing is current).
TEST_F(ImageViewTest, APictureThatCannotBeShownSaysSoInTheView)
{
    QDir(m_run.Root()).mkpath(QStringLiteral("pics"));
    WriteBmp(Path("pics/a.bmp"), 240, 210, kBlue);
    QFile broken(Path("pics/b.jpg"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("\xFF\xD8\xFF\xD9 not a picture");
    broken.close();
    const struct {
        int mode;
        const char* opened;
        const char* keys;
    } cases[] = {{0, "pics", "key Down\nidle\n"}, {1, "pics/b.jpg", ""}};
    for (const auto& c : cases) {
        QFile registry(m_run.Registry());
        ASSERT_TRUE(registry.open(QIODevice::WriteOnly));
        registry.write(QStringLiteral("REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\FARHAVEN\\lumo\\Setting]\n"
                                      "\"ThumbnailView Mode\"=dword:%1\n")
                           .arg(c.mode, 8, 10, QLatin1Char('0'))
                           .toUtf8());
        registry.close();
        const QString shot = Out("broken.png");
        const LumoResult r = Run(QStringLiteral("idle\n%1shot \"%2\"\ndump -\n").arg(QLatin1String(c.keys), shot),
                                 QLatin1String(c.opened));
        EXPECT_EQ(r.dump["messages"].toArray(), QJsonArray {QStringLiteral("Cannot load \\pics\\b.jpg")}) << c.mode;
        const QImage image(shot);
        const QRect view(0, 26, 240, 150);
        EXPECT_EQ(CountNear(image, view, kBlue), 0) << c.mode;
        EXPECT_GT(CountNear(image, view, Qt::darkGray, 90), 20) << c.mode;
        EXPECT_GT(CountNear(image, view, Qt::white, 0), 240 * 140) << c.mode;
    }
}
