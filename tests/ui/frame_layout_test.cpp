// A real frame in-process, so that nothing but the test lets time pass: the
// pane layout of each stored mode, the full-screen base's frame rectangles,
// keys, and the start-up splash, which closes on its
// own timer and not on another, and on a key or a tap that it keeps from the
// windows below.
#include "app/lumo_app.h"
#include "app/lumo_doc.h"
#include "app/settings.h"
#include "app/thumbnail_strip.h"
#include "automation/input.h"
#include "shell/command_bar.h"
#include "shell/main_frame.h"
#include "shell/pane_splitter.h"
#include "views/device_screen.h"
#include "views/image_canvas.h"
#include "views/lumo_view.h"
#include "views/splash_wnd.h"
#include "views/thumbnail_ctrl.h"
#include "views/thumbnail_view.h"

#include "lumo_run.h"

#include <QAction>
#include <QKeyEvent>
#include <QPointer>
#include <QTest>
#include <QToolBar>
#include <gtest/gtest.h>

namespace {

class InProcessFrame : public ::testing::Test {
protected:
    void SetUp() override { Start(false); }
    void TearDown() override { m_app.reset(); }
    // The frame on its own, or on a folder of two pictures with the splash.
    void Start(bool splash)
    {
        m_app.reset();
        CLumoOptions options;
        options.script = QStringLiteral("-");  // no splash unless asked
        options.splash = splash;
        if (splash) {
            WriteBmp(m_root.dir.filePath(QStringLiteral("pics/a.bmp")), 60, 40, Qt::blue);
            WriteBmp(m_root.dir.filePath(QStringLiteral("pics/b.bmp")), 60, 40, Qt::red);
            options.rawPath = m_root.dir.filePath(QStringLiteral("pics"));
        }
        m_app = std::make_unique<CLumoApp>(options);
        ASSERT_TRUE(m_app->InitInstance());
        QApplication::processEvents();
    }

    CMainFrame* Frame() const { return m_app->Frame(); }
    CLumoView* View() const { return Frame()->ImageView(); }
    void SetMode(int mode)
    {
        Settings::SetThumbnailViewMode(mode);
        Frame()->ApplyViewMode();
    }
    int Current() const { return m_app->Document()->Catalog().GetCurrentIndex(); }

    ScratchRoot m_root;
    std::unique_ptr<CLumoApp> m_app;
};

}  // namespace

TEST_F(InProcessFrame, EachModeGivesTheRowsTheirHeights)
{
    const struct {
        int mode;
        int viewHeight;
        int thumbnailHeight;
        bool toolBar;
    } cases[] = {{0, 170, 70, true}, {-1, 240, 24, false}, {1, 210, 30, true}};  // of a frame 268 high
    for (const auto& c : cases) {
        SetMode(c.mode);
        // The canvas follows the view: its buffer is two columns wider.
        EXPECT_EQ(std::tuple(View()->height(), Frame()->ThumbnailView()->height(),
                             Frame()->BottomToolBar()->isVisible(), Frame()->CommandBar()->isVisible(),
                             View()->Canvas()->BufferWidth(), View()->Canvas()->BufferHeight()),
                  std::tuple(c.viewHeight, c.thumbnailHeight, c.toolBar, c.toolBar, 242, c.viewHeight))
            << c.mode;
    }
    // Full screen hides the tool bar and leaves the command bar as it was;
    // the effect layout keeps the gap of the mode before.
    SetMode(2);
    EXPECT_FALSE(Frame()->BottomToolBar()->isVisible());
    EXPECT_TRUE(Frame()->CommandBar()->isVisible());
    SetMode(-1);
    EXPECT_EQ(Frame()->Splitter()->Gap(), 0);
    SetMode(2);
    EXPECT_FALSE(Frame()->CommandBar()->isVisible());
    SetMode(0);
    SetMode(-1);
    EXPECT_EQ(Frame()->Splitter()->Gap(), 4);
    EXPECT_EQ(View()->height(), 240);
}

// Each option set in full screen, then off and on again by toggling.
TEST_F(InProcessFrame, FullScreenOptionsPlaceTheFrameAndTheBarsAndToggleRestoresThem)
{
    const QRect whole(0, 0, 240, 320), normal(0, 26, 240, 268);
    const struct {
        int options;
        bool toggle;
        QRect frame;
        bool taskBar, commandBar, sipButton;
    } cases[] = {
        {15, false, whole, false, false, false},
        {0, false, normal, true, true, true},
        {2, false, QRect(0, 0, 240, 294), false, true, true},
        {15, true, normal, true, true, true},
        {15, true, whole, false, false, false},
    };
    for (const auto& c : cases) {
        View()->SetFullScreenOptions(c.options);
        if (c.toggle)
            View()->ToggleFullScreen();
        else
            View()->SetFullScreen(1);
        EXPECT_TRUE(c.toggle || View()->ApplyFullScreen() == 1);
        EXPECT_EQ(View()->GetFullScreen(), c.toggle ? int(c.frame == whole) : 1);
        EXPECT_EQ(std::tuple(Frame()->geometry(), m_app->Screen()->TaskBarVisible(), Frame()->CommandBar()->isVisible(),
                             Frame()->CommandBar()->SipButtonVisible()),
                  std::tuple(c.frame, c.taskBar, c.commandBar, c.sipButton))
            << c.options;
    }
}

TEST_F(InProcessFrame, EveryToolButtonHasItsOwnImageAndADisabledOne)
{
    QList<QImage> images;
    for (QAction* a : Frame()->BottomToolBar()->actions()) {
        if (a->isSeparator())
            continue;
        const QImage normal = a->icon().pixmap(16, 16, QIcon::Normal).toImage();
        EXPECT_NE(normal, a->icon().pixmap(16, 16, QIcon::Disabled).toImage()) << a->data().toInt();
        EXPECT_FALSE(normal.isNull() || images.contains(normal)) << a->data().toInt();
        images << normal;
    }
    EXPECT_EQ(images.size(), 8);
}

TEST_F(InProcessFrame, OnlyArrowKeysInTheImageViewGoOnToTheThumbnailView)
{
    struct KeyRecorder : QObject {
        bool eventFilter(QObject*, QEvent* event) override
        {
            if (event->type() == QEvent::KeyPress)
                keys << static_cast<QKeyEvent*>(event)->key();
            return false;
        }
        QList<int> keys;
    } recorder;
    Frame()->ThumbnailView()->installEventFilter(&recorder);
    for (int key : {int(Qt::Key_Left), int(Qt::Key_A), int(Qt::Key_Down), int(Qt::Key_Return)}) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(View(), &press);
    }
    EXPECT_EQ(recorder.keys, (QList<int> {Qt::Key_Left, Qt::Key_Down}));
}

// Centred; another timer leaves it, a tap or a key closes it and reaches
// nothing below, and its own timer destroys it. The arrows reach the main
// view, which passes them to the strip.
TEST_F(InProcessFrame, SplashClosesOnATapOrAKeyThatSelectsNothingBelow)
{
    for (const bool tap : {true, false}) {
        Start(true);
        QPointer<CSplashWnd> splash = m_app->Screen()->findChild<CSplashWnd*>();
        ASSERT_TRUE(splash && splash->isVisible());
        EXPECT_EQ(splash->geometry().center(), m_app->Screen()->rect().center());
        EXPECT_FALSE(splash->OnTimer(splash->TimerId() + 1));
        const CThumbnailCtrl* strip = Frame()->ThumbnailView()->Strip();
        const QPoint second = m_app->Screen()->mapFromGlobal(strip->mapToGlobal(
            QPoint(CThumbnailStrip::CellLeft(1) + CThumbnailStrip::kCellWidth / 2, strip->height() / 2)));
        ASSERT_TRUE(splash->geometry().contains(second));
        m_app->Screen()->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_app->Screen()));
        View()->setFocus();
        for (const int current : {0, 1}) {
            if (tap) {
                QWidget* target = Input::WidgetAt(second);
                Input::PenDown(target, second);
                Input::PenUp(target, second);
            } else {
                Input::KeyPress(QStringLiteral("Right"));
            }
            EXPECT_FALSE(splash && splash->isVisible()) << tap;
            EXPECT_EQ(Current(), current) << tap;
            EXPECT_EQ(strip->Strip().m_selected, current) << tap;
        }
        EXPECT_TRUE(QTest::qWaitFor([&splash] { return splash.isNull(); }, 5000));
    }
}
