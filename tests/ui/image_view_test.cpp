// The main image view through the real program: the menus' radio marks,
// zoom steps from the drawn scale, panning, full screen by double tap, the
// memo drawn over album pictures, and a picture that cannot be shown.
#include "lumo_run.h"

#include <gtest/gtest.h>

namespace {

const QColor kBlue(0, 0, 200);
const QColor kMemoColor(255, 100, 0);

}  // namespace

// A step starts from the scale the view draws the picture at (the steps and
// their limits are the core tests' ViewCommandsTest).
TEST(ImageView, ZoomStepsStartFromTheDrawnScale)
{
    const struct {
        int width;
        const char* script;
        int zoom;
    } cases[] = {
        {100, "wait 20\nmenu View Zoom \"Zoom in\"", 121},  // unscaled when fitted: counts as 101
        // 484 wide in a view 242 wide (with the canvas's two columns): halved, 51.
        {484, "menu View Zoom \"Shrink to fit\"\nwait 20\nmenu View Zoom \"Zoom out\"", 31},
    };
    for (const auto& c : cases) {
        LumoRun run;
        WriteBmp(run.Path(QStringLiteral("a.bmp")), c.width, 80, kBlue);
        const LumoResult r
            = run.Run(QLatin1String(c.script) + QStringLiteral("\ndump -\n"), {run.Path(QStringLiteral("a.bmp"))});
        EXPECT_EQ(Entry(r.dump)["zoom"].toInt(), c.zoom) << c.script;
    }
}

TEST(ImageView, DragPansThePictureAndStopsAtTheEdge)
{
    LumoRun run;
    // Red top-left quarter (500 x 400) on blue, shown at 100%.
    WriteBmp(run.Path(QStringLiteral("big.bmp")), 1000, 800, kBlue, Qt::red);
    run.Run(QStringLiteral("menu View Zoom 100%\nwait 20\nshot before.png\n"
                           "drag 200 150 150 120\nwait 20\ndump drag1.json\n"
                           "drag 100 100 110 100\nwait 20\ndump drag2.json\n"
                           "drag 100 100 200 200\nwait 20\ndump edge.json\n"
                           "drag 200 200 0 0\ndrag 200 200 0 0\ndrag 200 200 0 0\nwait 20\nshot after.png\n"),
            {run.Path(QStringLiteral("big.bmp"))});
    EXPECT_EQ(run.Dump(QStringLiteral("drag1.json"))["pan"], (QJsonArray {50, 30}));
    EXPECT_EQ(run.Dump(QStringLiteral("drag2.json"))["pan"], (QJsonArray {40, 30}));
    EXPECT_EQ(run.Dump(QStringLiteral("edge.json"))["pan"], (QJsonArray {0, 0}));
    EXPECT_EQ(QImage(run.Out(QStringLiteral("before.png"))).pixelColor(120, 120), QColor(Qt::red));
    // Panned by 600 x 600: the view shows the blue part right of and below the quarter.
    EXPECT_EQ(QImage(run.Out(QStringLiteral("after.png"))).pixelColor(120, 120), kBlue);
}

// The menus' radio marks follow the commands; a double tap fills the screen
// and a second one gives back zoom, rotation and bars.
TEST(ImageView, RadioMarksFollowTheCommandsAndDoubleTapFillsTheScreenAndRestoresTheView)
{
    LumoRun run;
    WriteBmp(run.Path(QStringLiteral("land.bmp")), 640, 480, kBlue);
    const LumoResult r = run.Run(QStringLiteral("menu View Rotate \"Rotate Image +90\"\nmenu View Zoom 200%\n"
                                                "dtap 120 100\nwait 20\ndump in.json\nshot full.png\n"
                                                "dtap 120 100\nwait 20\ndump back.json\ncommand 32813\n"
                                                "menu View Zoom \"Zoom in\"\nmenu View Zoom \"All to fit display\"\n"
                                                "dump -\n"),
                                 {run.Path(QStringLiteral("land.bmp"))});
    const QJsonObject full = run.Dump(QStringLiteral("in.json"));
    ExpectFields(full, {{"fullScreen", 1}, {"mode", 2}});
    ExpectFields(Entry(full), {{"zoom", 0}, {"rotation", 270}});
    EXPECT_EQ(WindowRect(full, "CLumoView"), (QJsonArray {0, 0, 240, 320}));
    for (const char* bar : {"CTaskBar", "CCommandBar", "CToolBar"})
        EXPECT_TRUE(WindowRect(full, bar).isEmpty()) << bar;
    // Turned and fitted: 480 x 640 shrunk into the screen fills its height.
    const QImage image(run.Out(QStringLiteral("full.png")));
    EXPECT_EQ(image.pixelColor(120, 2), kBlue);
    EXPECT_EQ(image.pixelColor(120, 317), kBlue);

    const QJsonObject back = run.Dump(QStringLiteral("back.json"));
    ExpectFields(back, {{"fullScreen", 0}, {"mode", 1}});
    ExpectFields(Entry(back), {{"zoom", 200}, {"rotation", 90}});
    EXPECT_EQ(WindowRect(back, "CCommandBar"), (QJsonArray {0, 294, 240, 320}));
    EXPECT_EQ(WindowRect(back, "CLumoView"), (QJsonArray {0, 26, 240, 236}));
    EXPECT_EQ(CheckedAmong(back, 32785, 32788), QList<int> {32785});
    EXPECT_EQ(CheckedAmong(back, 32792, 32797), QList<int> {32795});
    ExpectFields(Entry(r.dump), {{"rotation", 180}, {"zoom", 0}});
    EXPECT_EQ(CheckedAmong(r.dump, 32785, 32788), QList<int> {32786});
    EXPECT_TRUE(CheckedAmong(r.dump, 32792, 32797).isEmpty());
    EXPECT_EQ(CheckedAmong(r.dump, 32817, 32819), QList<int> {32817});
}

// The memo stands where its placement says, in full screen only and only
// over a picture of an album; a long one wraps inside the rectangle.
TEST(ImageView, MemoIsDrawnOverAlbumPicturesInFullScreenWhereItsPlacementSays)
{
    const QString longText = QStringLiteral("THE BEGINNING OF A LONG MEMO THAT RUNS WELL PAST THE WIDTH OF THE SCREEN "
                                            "AND WRAPS BETWEEN ITS WORDS TO THE END");
    const struct {
        const char* align;
        QString text;
        QRect inside;
        QRect outside;
        const char* screen = "240x320";
        const char* opened = "memo.lab";
        const char* before = "";  // lines run before full screen
    } cases[] = {
        {"Top Center", QStringLiteral("HELLO WORLD"), QRect(10, 10, 220, 20), QRect(0, 40, 240, 280)},
        {"Bottom Right", QStringLiteral("NOTE"), QRect(120, 285, 110, 25), QRect(0, 0, 240, 270)},
        {"middle left", QStringLiteral("NOTE"), QRect(10, 145, 110, 30), QRect(0, 0, 240, 130)},
        // Its first lines stand above the last; nothing spills past the left margin.
        {"Bottom Right", longText, QRect(10, 230, 220, 50), QRect(0, 0, 10, 320)},
        // On a larger screen the rectangle keeps its margins.
        {"Bottom Right", QStringLiteral("NOTE"), QRect(360, 605, 110, 25), QRect(0, 0, 480, 590), "480x640"},
        // Set with OK in the Memo Property dialog.
        {"Bottom Right", QStringLiteral("Hi"), QRect(10, 10, 110, 25), QRect(0, 40, 240, 280), "240x320", "memo.lab",
         "command 32840\nsettext 1018 NOTE\nselect 1027 \"Top Left\"\nclick 1\n"},
        // The same picture from a folder shows none.
        {"Top Center", QStringLiteral("NOTE"), QRect(), QRect(0, 0, 240, 320), "240x320", "blue.bmp"},
    };
    for (const auto& c : cases) {
        LumoRun run;
        WriteBmp(run.Path(QStringLiteral("blue.bmp")), 240, 320, kBlue);
        WriteAlbum(run.Path(QStringLiteral("memo.lab")), {{QStringLiteral("\\blue.bmp"), MemoText(c.align, c.text)}});
        run.Run(QStringLiteral("wait 20\nshot strip.png\n%1dtap 120 100\nwait 20\nshot full.png\n").arg(c.before),
                {run.Path(QLatin1String(c.opened))}, {QStringLiteral("--screen"), QLatin1String(c.screen)});
        const QImage image(run.Out(QStringLiteral("full.png")));
        EXPECT_EQ(CountNear(QImage(run.Out(QStringLiteral("strip.png"))), QRect(0, 26, 240, 210), kMemoColor), 0);
        EXPECT_EQ(CountNear(image, c.inside, kMemoColor) > 10, !c.inside.isNull()) << c.align;
        EXPECT_EQ(CountNear(image, c.outside, kMemoColor), 0) << c.align;
    }
}

// Neither the picture shown before nor a blank area: a line of text on white,
// in the list (which lists the broken file) and in the strip (whose build
// leaves it out, so nothing is current).
TEST(ImageView, APictureThatCannotBeShownSaysSoInTheView)
{
    const struct {
        int mode;
        const char* opened;
        const char* keys;
    } cases[] = {{0, "pics", "key Down\nidle\n"}, {1, "pics/b.jpg", ""}};
    for (const auto& c : cases) {
        LumoRun run;
        run.StoreMode(c.mode);
        WriteBmp(run.Path(QStringLiteral("pics/a.bmp")), 240, 210, kBlue);
        WriteFile(run.Path(QStringLiteral("pics/b.jpg")), "\xFF\xD8\xFF\xD9 not a picture");
        const LumoResult r = run.Run(QStringLiteral("idle\n%1shot broken.png\ndump -\n").arg(QLatin1String(c.keys)),
                                     {run.Path(QLatin1String(c.opened))});
        EXPECT_EQ(r.dump["messages"].toArray(), QJsonArray {QStringLiteral("Cannot load \\pics\\b.jpg")}) << c.mode;
        const QImage image(run.Out(QStringLiteral("broken.png")));
        const QRect view(0, 26, 240, 150);
        EXPECT_EQ(CountNear(image, view, kBlue), 0) << c.mode;
        EXPECT_GT(CountNear(image, view, Qt::darkGray, 90), 20) << c.mode;
        EXPECT_GT(CountNear(image, view, Qt::white, 0), 240 * 140) << c.mode;
    }
}

// A JPEG and a large PNG zoomed to 100 % show the file's own pixels, one to
// a screen pixel, once the region in view is decoded (the view decodes hold
// a quarter of the JPEG and 320 pixels across of the PNG). At 280 %, panned,
// the squares stay sharp: over a quarter of the view black or white (the rest
// is their enlarged edges), where the picture scaled up from the view decode
// would be grey.
TEST(ImageView, AtOneHundredPercentAPictureShowsEachOfItsPixels)
{
    for (const auto& [name, width, height] :
         {std::tuple("board.jpg", 1280, 960), std::tuple("board.png", 5000, 3000)}) {
        LumoRun run;
        QImage board(width, height, QImage::Format_Grayscale8);
        for (int y = 0; y < board.height(); ++y)
            for (int x = 0; x < board.width(); ++x)
                board.scanLine(y)[x] = (x / 2 + y / 2) % 2 ? 255 : 0;
        const QString path = run.Path(QLatin1String(name));
        ASSERT_TRUE(board.save(path, nullptr, 100));
        const LumoResult r = run.Run(QStringLiteral("menu View Zoom 100%\nidle\nshot board.png\nmenu View Zoom 200%\n"
                                                    "command 32798\ncommand 32798\ncommand 32798\ncommand 32798\n"
                                                    "drag 200 150 10 10 5\nidle\nshot 280.png\ndump -\n"),
                                     {path});
        const QJsonArray view = WindowRect(r.dump, QStringLiteral("CLumoView"));
        const QImage shot(run.Out(QStringLiteral("board.png")));
        ASSERT_EQ(view.size(), 4);
        int wrong = 0;
        for (int y = 0; y < view[3].toInt() - view[1].toInt(); ++y)
            for (int x = 0; x < view[2].toInt() - view[0].toInt(); ++x)
                wrong += std::abs(qGray(shot.pixel(view[0].toInt() + x, view[1].toInt() + y)) - board.scanLine(y)[x])
                         > 40;
        EXPECT_EQ(wrong, 0) << name;
        const QImage zoomed(run.Out(QStringLiteral("280.png")));
        int sharp = 0;
        for (int y = view[1].toInt(); y < view[3].toInt(); ++y)
            for (int x = view[0].toInt(); x < view[2].toInt(); ++x)
                sharp += std::abs(qGray(zoomed.pixel(x, y)) - 128) > 100;
        EXPECT_GT(sharp, view[2].toInt() * (view[3].toInt() - view[1].toInt()) / 4) << name;
        EXPECT_EQ(Entry(r.dump)["zoom"].toInt(), 280);
    }
}
