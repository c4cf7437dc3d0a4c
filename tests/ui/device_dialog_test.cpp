// Dialogs over the device screen through the real program: a modal dialog
// runs its own event loop and the script goes on inside it; the dialog fills
// the screen below the task bar, which shows its caption.
#include "dialog_dump.h"
#include "lumo_run.h"
#include "ui_pictures.h"

#include <QImage>
#include <QJsonArray>
#include <gtest/gtest.h>

TEST(DeviceDialog, ScriptGoesOnInsideTheModalAboutBoxUntilItCloses)
{
    for (const char* close : {"click 1", "key Escape"}) {
        LumoRun run;
        const QString inside = run.Dir() + QStringLiteral("/inside.json");
        const LumoResult r =
            run.Run(QStringLiteral("command 57664\ndump %1\n%2\ndump -\n").arg(inside, QString::fromLatin1(close)));
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

TEST(DeviceDialog, ShotShowsTheDialogBelowTheTaskBarWithItsCaption)
{
    LumoRun run;
    const QString before = run.Dir() + QStringLiteral("/before.png");
    const QString with = run.Dir() + QStringLiteral("/with.png");
    const LumoResult r = run.Run(QStringLiteral("shot %1\ncommand 57664\nshot %2\nclick 1\n").arg(before, with));
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QImage a(before);
    const QImage b(with);
    ASSERT_EQ(b.size(), QSize(240, 320));
    const QRgb commandBar = a.pixel(120, 318);
    const QRgb dialog = b.pixel(120, 318);
    EXPECT_NE(commandBar, dialog) << "the dialog covers the command bar's band";
    EXPECT_EQ(b.pixel(1, 30), dialog) << "and everything below the task bar";
    EXPECT_EQ(b.pixel(1, 1), a.pixel(1, 1)) << "the task bar stays";
    EXPECT_NE(b.copy(0, 0, 240, 26), a.copy(0, 0, 240, 26)) << "with the dialog's caption as its title";
}
