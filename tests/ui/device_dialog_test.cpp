// Dialogs over the device screen through the real program: a modal dialog
// runs its own event loop and the script goes on inside it; the dialog fills
// the screen below the task bar, which shows its caption. The bottom tool
// bar's B, C, i and M buttons open their windows. A dialog blocks the screen
// only, so the on-screen keyboard's own window still takes taps.
#include "shell/device_dialog.h"
#include "shell/device_screen.h"

#include "dialog_dump.h"
#include "in_process.h"
#include "lumo_run.h"
#include "ui_pictures.h"

#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <QImage>
#include <QJsonArray>
#include <gtest/gtest.h>

TEST(DeviceDialog, ScriptGoesOnInsideTheModalAboutBoxUntilItCloses)
{
    for (const char* close : {"click 1", "key Escape"}) {
        LumoRun run;
        const QString inside = run.Dir() + QStringLiteral("/inside.json");
        const LumoResult r
            = run.Run(QStringLiteral("command 57664\ndump %1\n%2\ndump -\n").arg(inside, QString::fromLatin1(close)));
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        const QJsonObject in = UiPictures::ReadDump(inside);
        const QJsonObject about = DialogDump::Top(in);
        EXPECT_EQ(about["class"].toString(), QStringLiteral("CAboutBox")) << close;
        EXPECT_EQ(about["caption"].toString(), QStringLiteral("About Lumo"));
        EXPECT_EQ(about["rect"].toArray(), (QJsonArray {0, 26, 240, 320}));
        EXPECT_EQ(in["title"].toString(), QStringLiteral("About Lumo"));
        EXPECT_EQ(DialogDump::Control(about, 1)["kind"].toString(), QStringLiteral("button"));
        EXPECT_TRUE(r.dump["dialogs"].toArray().isEmpty()) << close;
        EXPECT_EQ(r.dump["title"].toString(), QStringLiteral("Lumo"));
    }
}

TEST(DeviceDialog, ShotShowsImageInfoFillingTheScreenBelowTheTaskBarWithItsCaption)
{
    LumoRun run;
    // A name far wider than the screen is cut, not a reason to widen the dialog.
    const QString picture = run.Root() + QStringLiteral("/a_red_picture_with_a_very_long_name_indeed.bmp");
    UiPictures::WriteBmp(picture, 240, 320, Qt::red);
    const QString before = run.Dir() + QStringLiteral("/before.png");
    const QString with = run.Dir() + QStringLiteral("/with.png");
    const LumoResult r = run.Run(
        QStringLiteral("idle\nshot %1\ncommand 32800\nshot %2\ndump -\nclick 1\n").arg(before, with), {picture});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(DialogDump::Top(r.dump)["rect"].toArray(), (QJsonArray {0, 26, 240, 320}));
    const QImage a(before);
    const QImage b(with);
    ASSERT_EQ(b.size(), QSize(240, 320));
    const QRect belowTaskBar(0, 26, 240, 294);
    EXPECT_GT(UiPictures::CountNear(a, belowTaskBar, Qt::red), 1000);
    EXPECT_EQ(UiPictures::CountNear(b, belowTaskBar, Qt::red), 0) << "the dialog covers the picture";
    const QRgb commandBar = a.pixel(120, 318);
    const QRgb dialog = b.pixel(120, 318);
    EXPECT_NE(commandBar, dialog) << "and the command bar's band";
    EXPECT_EQ(b.pixel(1, 30), dialog) << "and everything below the task bar";
    EXPECT_EQ(b.pixel(1, 1), a.pixel(1, 1)) << "the task bar stays";
    EXPECT_NE(b.copy(0, 0, 240, 26), a.copy(0, 0, 240, 26)) << "with the dialog's caption as its title";
}

TEST(DeviceDialog, BottomToolButtonsBCIMOpenTheirWindowsOnlyWithAPicture)
{
    struct Case {
        int x;  // of the button on the bottom tool bar
        int id;
        const char* window;
        const char* chooser;  // the effect window's mode
    };
    const Case cases[] = {{107, 32815, "CEffectWnd", "Brightness"},
                          {128, 32816, "CEffectWnd", "Contrast"},
                          {157, 32800, "CImageInfoDlg", ""},
                          {178, 32840, "CMemoPropertyDlg", ""}};
    for (const bool picture : {true, false}) {
        for (const Case& c : cases) {
            LumoRun run;
            UiPictures::WriteBmp(run.Root() + QStringLiteral("/red.bmp"), 24, 32, Qt::red);
            const QStringList path = picture ? QStringList {run.Root() + QStringLiteral("/red.bmp")} : QStringList();
            const LumoResult r = run.Run(QStringLiteral("idle\ntap %1 282\ndump -\nquit\n").arg(c.x), path);
            ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
            EXPECT_EQ(r.dump["menu"][QString::number(c.id)]["enabled"].toBool(), picture) << c.window;
            const QJsonObject top = DialogDump::Top(r.dump);
            EXPECT_EQ(top["class"].toString(), QString::fromLatin1(picture ? c.window : "")) << c.window;
            EXPECT_EQ(DialogDump::Text(top, 7370), QString::fromLatin1(picture ? c.chooser : "")) << c.window;
        }
    }
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
