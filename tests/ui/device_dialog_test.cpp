// Dialogs over the device screen: a modal dialog runs its own event loop and
// the script goes on inside it; the dialog fills the screen below the task
// bar, which shows its caption. The bottom tool bar's B, C, i and M buttons
// open their windows; Image Info shows the current entry's facts; the about
// box shows the program's icon. A dialog blocks the screen only, so the
// on-screen keyboard's own window still takes taps.
#include "res/program_icon.h"
#include "shell/device_dialog.h"
#include "shell/image_info_dlg.h"
#include "views/device_screen.h"
#include "views/program_art.h"

#include "lumo_run.h"

#include <QDateTime>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

const QColor kTile = QColor::fromRgb(Resources::ProgramIconShapes().front().fill);

}  // namespace

TEST(DeviceDialog, BottomToolButtonsBCIMOpenTheirWindowsOnlyWithAPicture)
{
    const struct {
        int x;  // of the button on the bottom tool bar
        int id;
        const char* window;
        const char* chooser;  // the effect window's mode
        int top;
    } cases[] = {{107, 32815, "CEffectWnd", "Brightness", 268},
                 {128, 32816, "CEffectWnd", "Contrast", 268},
                 {157, 32800, "CImageInfoDlg", "", 26},
                 {178, 32840, "CMemoPropertyDlg", "", 26}};
    for (const auto& c : cases) {
        LumoRun run;
        // A name far wider than the screen is cut, not a reason to widen a dialog.
        const QString picture = run.Path(QStringLiteral("a_red_picture_with_a_very_long_name_indeed.bmp"));
        WriteBmp(picture, 240, 320, Qt::red);
        const LumoResult r
            = run.Run(QStringLiteral("idle\nshot a.png\ntap %1 282\nshot b.png\ndump -\nquit\n").arg(c.x), {picture});
        EXPECT_TRUE(MenuFlag(r.dump, c.id, "enabled")) << c.window;
        SCOPED_TRACE(c.window);
        ExpectFields(Top(r.dump), {{"class", c.window}, {"rect", QJsonArray {0, c.top, 240, 320}}});
        EXPECT_EQ(Control(Top(r.dump), 7370)["text"].toString(), QLatin1String(c.chooser));
        const QImage a(run.Out(QStringLiteral("a.png")));
        const QImage b(run.Out(QStringLiteral("b.png")));
        EXPECT_GT(CountNear(a, QRect(0, 26, 240, 294), Qt::red), 1000);
        EXPECT_EQ(CountNear(b, QRect(0, c.top, 240, 320 - c.top), Qt::red), 0) << c.window;
        EXPECT_EQ(b.copy(0, 0, 240, 26) != a.copy(0, 0, 240, 26), c.top == 26) << c.window;
    }
    // Without a picture the four wait, and a tap on each opens nothing.
    LumoRun run;
    const LumoResult r = run.Run(QStringLiteral("idle\ntap 107 282\ntap 128 282\ntap 157 282\ntap 178 282\ndump -\n"));
    for (const auto& c : cases)
        EXPECT_FALSE(MenuFlag(r.dump, c.id, "enabled")) << c.window;
    EXPECT_TRUE(r.dump["dialogs"].toArray().isEmpty());
}

TEST(DeviceDialog, BlocksTheScreenButNotAWindowOfItsOwnSuchAsTheKeyboard)
{
    EnsureApplication();
    CDeviceScreen screen(240, 320);
    QPushButton underneath(QStringLiteral("under"), &screen);
    screen.show();
    QPushButton key(QStringLiteral("q"));  // a separate window, as the on-screen keyboard is
    int taps[2] = {0, 0};
    QObject::connect(&underneath, &QPushButton::clicked, [&] { ++taps[0]; });
    QObject::connect(&key, &QPushButton::clicked, [&] { ++taps[1]; });
    CDeviceDialog dialog(&screen, QStringLiteral("CTest"), QStringLiteral("Test"));
    QTimer::singleShot(0, &dialog, [&] {
        key.show();
        // Through the windows, where the windowing system's taps arrive.
        QTest::mouseClick(screen.windowHandle(), Qt::LeftButton, {}, underneath.geometry().center());
        QTest::mouseClick(key.windowHandle(), Qt::LeftButton, {}, key.rect().center());
        dialog.reject();
    });
    dialog.exec();
    EXPECT_EQ(taps[0], 0) << "the screen under the dialog takes no tap";
    EXPECT_EQ(taps[1], 1) << "the keyboard's window does";
}

// The texts themselves are the core tests' (ImageInfo); Escape closes it.
// The script goes on inside the modal about box, which shows the icon, until
// it closes.
TEST(DeviceDialog, ImageInfoShowsTheCurrentEntrysFactsUnderTheirLabelsAndTheAboutBoxTheIcon)
{
    LumoRun run;
    const QString host = run.Path(QStringLiteral("pics/sub/sunset.bmp"));
    WriteBmp(host, 10, 6, Qt::green);
    QFile file(host);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    file.setFileTime(QDateTime(QDate(2004, 3, 5), QTime(9, 7, 2), Qt::UTC), QFileDevice::FileModificationTime);
    file.close();
    const LumoResult r = run.Run(QStringLiteral("browse \\pics 1\nidle\ncommand 32813\ncommand 32793\n"
                                                "command 32800\ndump inside.json\nkey Escape\n"
                                                "menu Tools \"About Lumo...\"\nshot about.png\ndump about.json\n"
                                                "click 1\ndump -\n"));
    const QJsonObject in = run.Dump(QStringLiteral("inside.json"));
    EXPECT_EQ(Top(in)["class"].toString(), QStringLiteral("CImageInfoDlg"));
    EXPECT_EQ(in["title"].toString(), QStringLiteral("Image Info"));
    QStringList fields;
    for (int id = 1007; id <= 1016; ++id)
        fields << Control(Top(in), id)["text"].toString();
    EXPECT_EQ(fields, (QStringList {"sunset.bmp", "\\pics", "2004-3-5 9:7:2", "246 Bytes", "24 Bits", "10 x 6", "+90",
                                    "100 %", "0", "0"}));
    const QJsonObject about = run.Dump(QStringLiteral("about.json"));
    ExpectFields(Top(about), {{"class", "CAboutBox"}, {"rect", QJsonArray {0, 26, 240, 320}}});
    EXPECT_EQ(about["title"].toString(), QStringLiteral("About Lumo"));
    // Below the task bar, where the title line starts.
    EXPECT_GT(CountNear(QImage(run.Out(QStringLiteral("about.png"))), QRect(0, 26, 80, 60), kTile, 0), 100);
    ExpectFields(r.dump, {{"dialogs", QJsonArray()}, {"title", "Lumo"}});
    // Without a current entry every field is empty.
    EnsureApplication();
    CImageInfoDlg dialog(nullptr);
    for (int id = 1007; id <= 1016; ++id)
        EXPECT_EQ(dialog.findChild<QLabel*>(QString::number(id))->text(), QString()) << id;
}

// In list mode a picture's size is known once it is decoded: Image Info asked
// for while it decodes waits for it (Quick View off: nothing decoded ahead).
TEST(DeviceDialog, ImageInfoOfAPictureStillDecodingShowsItsSize)
{
    LumoRun run;
    run.Store(QStringLiteral("\"ThumbnailView Mode\"=dword:0\n\"Quick View\"=dword:0"));
    // Noise: a decode slower than the script's next step.
    QImage photo(4000, 3000, QImage::Format_Grayscale8);
    uint32_t noise = 1;
    for (int y = 0; y < photo.height(); ++y)
        for (uchar *p = photo.scanLine(y), *end = p + photo.width(); p < end; ++p)
            *p = uchar((noise = noise * 1664525u + 1013904223u) >> 24);
    QDir().mkpath(run.Path(QStringLiteral("pics")));
    for (const char* name : {"pics/a.jpg", "pics/b.jpg"})
        ASSERT_TRUE(photo.save(run.Path(QLatin1String(name))));
    run.Run(QStringLiteral("browse \\pics 0\nidle\nkey Down\ncommand 32800\ndump inside.json\nkey Escape\n"));
    const QJsonObject in = run.Dump(QStringLiteral("inside.json"));
    EXPECT_EQ(Control(Top(in), 1007)["text"].toString(), QStringLiteral("b.jpg"));
    EXPECT_EQ(Control(Top(in), 1012)["text"].toString(), QStringLiteral("4000 x 3000"));
}

TEST(DeviceDialog, ProgramIconIsDrawnAtEverySizeOnATransparentCorner)
{
    EnsureApplication();
    for (const int size : {16, 32, 48, 256}) {
        const QImage icon = ProgramArt::Icon(size).toImage();
        EXPECT_EQ(icon.size(), QSize(size, size));
        EXPECT_EQ(qAlpha(icon.pixel(0, 0)), 0) << size;
        // The tile's edge, halfway down its left side.
        EXPECT_EQ(icon.pixelColor(size / 16, size / 2), kTile) << size;
    }
}
