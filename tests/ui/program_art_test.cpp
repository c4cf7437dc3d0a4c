// The program's own pictures: the icon at any size, the splash picture, and
// the icon in the about box.
#include "in_process.h"
#include "lumo_run.h"
#include "res/program_icon.h"
#include "res/resource.h"
#include "shell/program_art.h"
#include "ui_pictures.h"

#include <gtest/gtest.h>

namespace {

const QColor kTile = QColor::fromRgb(Resources::ProgramIconShapes().front().fill);

}  // namespace

TEST(ProgramArt, IconIsDrawnAtEverySizeOnATransparentCorner)
{
    EnsureApplication();
    for (const int size : {16, 32, 48, 256}) {
        const QImage icon = ProgramArt::Icon(size).toImage();
        EXPECT_EQ(icon.size(), QSize(size, size));
        EXPECT_EQ(qAlpha(icon.pixel(0, 0)), 0) << size;
        // The tile's edge, halfway down its left side.
        EXPECT_EQ(icon.pixelColor(size / 16, size / 2), kTile) << size;
    }
    EXPECT_EQ(ProgramArt::LoadBitmap(Res::IDB_SPLASH).size(), QSize(208, 256));
    EXPECT_TRUE(ProgramArt::LoadBitmap(Res::IDB_SPLASH + 1).isNull());
}

TEST(ProgramArt, AboutBoxShowsTheIcon)
{
    LumoRun run;
    const QString shot = run.Dir() + QStringLiteral("/about.png");
    const LumoResult r = run.Run(QStringLiteral("command 57664\nshot \"%1\"\nclick 1\n").arg(shot));
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    // Below the task bar, where the title line starts.
    EXPECT_GT(UiPictures::CountNear(QImage(shot), QRect(0, 26, 80, 60), kTile, 0), 100);
}
