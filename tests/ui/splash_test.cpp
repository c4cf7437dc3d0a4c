// The start-up splash over a real frame, in-process so that nothing but the
// test lets time pass: it closes on its own timer and not on another, and a
// key or a tap closes it without reaching the windows below.
#include "app/lumo_app.h"
#include "app/lumo_doc.h"
#include "app/thumbnail_strip.h"
#include "automation/input.h"
#include "in_process.h"
#include "lumo_run.h"
#include "platform/device_path.h"
#include "shell/device_screen.h"
#include "shell/main_frame.h"
#include "ui_pictures.h"
#include "views/lumo_view.h"
#include "views/splash_wnd.h"
#include "views/thumbnail_ctrl.h"
#include "views/thumbnail_view.h"

#include <QPointer>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class SplashTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        EnsureApplication();
        ASSERT_TRUE(m_dir.isValid());
        UseScratchRegistry(m_dir);
        QDir(m_dir.path()).mkpath(QStringLiteral("pics"));
        UiPictures::WriteBmp(m_dir.filePath(QStringLiteral("pics/a.bmp")), 60, 40, Qt::blue);
        UiPictures::WriteBmp(m_dir.filePath(QStringLiteral("pics/b.bmp")), 60, 40, Qt::red);
        DevicePath::SetDeviceRoot(m_dir.path());
        CLumoOptions options;
        options.script = QStringLiteral("-");
        options.splash = true;
        options.rawPath = m_dir.filePath(QStringLiteral("pics"));
        m_app = std::make_unique<CLumoApp>(options);
        ASSERT_TRUE(m_app->InitInstance());
        m_splash = m_app->Screen()->findChild<CSplashWnd*>();
        ASSERT_TRUE(m_splash);
    }
    void TearDown() override
    {
        m_app.reset();
        DevicePath::SetDeviceRoot(QString());
        LeaveScratchRegistry(m_dir);
    }
    int Current() const { return m_app->Document()->Catalog().GetCurrentIndex(); }
    // The middle of the strip's second cell, in device-screen pixels.
    QPoint SecondThumbnail() const
    {
        const CThumbnailCtrl* strip = m_app->Frame()->ThumbnailView()->Strip();
        const QPoint local(CThumbnailStrip::CellLeft(1) + CThumbnailStrip::kCellWidth / 2, strip->height() / 2);
        return m_app->Screen()->mapFromGlobal(strip->mapToGlobal(local));
    }
    void Tap(QPoint p)
    {
        QWidget* target = Input::WidgetAt(p);
        Input::PenDown(target, p);
        Input::PenUp(target, p);
    }

    QTemporaryDir m_dir;
    std::unique_ptr<CLumoApp> m_app;
    QPointer<CSplashWnd> m_splash;
};

}  // namespace

TEST_F(SplashTest, ClosesOnItsOwnTimerOnly)
{
    EXPECT_TRUE(m_splash->isVisible());
    const QRect screen = m_app->Screen()->rect();
    EXPECT_EQ(m_splash->geometry().center(), screen.center());
    EXPECT_FALSE(m_splash->OnTimer(m_splash->TimerId() + 1));
    EXPECT_TRUE(m_splash->isVisible());
    EXPECT_TRUE(QTest::qWaitFor([this] { return m_splash.isNull(); }, 5000));
}

TEST_F(SplashTest, TapClosesItAndSelectsNothingBelow)
{
    const QPoint second = SecondThumbnail();
    ASSERT_TRUE(m_splash->geometry().contains(second));
    ASSERT_EQ(Current(), 0);
    Tap(second);
    EXPECT_FALSE(m_splash->isVisible());
    EXPECT_EQ(Current(), 0);
    EXPECT_EQ(m_app->Frame()->ThumbnailView()->Strip()->Strip().m_selected, 0);
    // The next tap is the user's own.
    Tap(second);
    EXPECT_EQ(Current(), 1);
    EXPECT_TRUE(QTest::qWaitFor([this] { return m_splash.isNull(); }, 5000));
}

TEST_F(SplashTest, KeyClosesItAndGoesNoFurther)
{
    // The arrows reach the main view, which passes them to the strip.
    m_app->Screen()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_app->Screen()));
    m_app->Frame()->ImageView()->setFocus();
    ASSERT_TRUE(m_splash);
    Input::KeyPress(QStringLiteral("Right"));
    EXPECT_FALSE(m_splash->isVisible());
    EXPECT_EQ(Current(), 0);
    Input::KeyPress(QStringLiteral("Right"));
    EXPECT_EQ(Current(), 1);
}

TEST(Splash, ScriptsShowItOnlyWhenAsked)
{
    for (const bool asked : {false, true}) {
        LumoRun run;
        const LumoResult r = run.Run(QStringLiteral("dump -\n"), {},
                                     asked ? QStringList {QStringLiteral("--splash")} : QStringList {});
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        EXPECT_EQ(UiPictures::WindowRect(r.dump, "CSplashWnd"),
                  asked ? (QList<int> {16, 32, 224, 288}) : QList<int> {});
    }
}
