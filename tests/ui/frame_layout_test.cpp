// A real frame in-process, so that nothing but the test lets time pass: the
// pane layout of each stored mode, the full-screen base's frame rectangles,
// keys, the strip's hold timer, and the start-up splash, which closes on its
// own timer and not on another, and on a key or a tap that it keeps from the
// windows below.
#include "app/lumo_app.h"
#include "app/lumo_doc.h"
#include "app/settings.h"
#include "app/thumbnail_strip.h"
#include "automation/input.h"
#include "platform/device_path.h"
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
#include <QMenu>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <gtest/gtest.h>

namespace {

class InProcessFrame : public ::testing::Test {
protected:
    void SetUp() override { Start(false); }
    void Start(bool splash)
    {
        m_app.reset();
        EnsureApplication();
        UseScratchRegistry(m_dir);
        WriteBmp(m_dir.filePath(QStringLiteral("pics/a.bmp")), 60, 40, Qt::blue);
        WriteBmp(m_dir.filePath(QStringLiteral("pics/b.bmp")), 60, 40, Qt::red);
        DevicePath::SetDeviceRoot(m_dir.path());
        CLumoOptions options;
        options.script = QStringLiteral("-");  // no splash unless asked
        options.splash = splash;
        if (splash)
            options.rawPath = m_dir.filePath(QStringLiteral("pics"));
        m_app = std::make_unique<CLumoApp>(options);
        ASSERT_TRUE(m_app->InitInstance());
        QApplication::processEvents();
    }
    void TearDown() override
    {
        m_app.reset();
        DevicePath::SetDeviceRoot(QString());
        LeaveScratchRegistry(m_dir);
    }

    CMainFrame* Frame() const { return m_app->Frame(); }
    CLumoView* View() const { return Frame()->ImageView(); }
    // A child's rectangle in device-screen pixels.
    QRect OnScreen(const QWidget* w) const
    {
        return QRect(m_app->Screen()->mapFromGlobal(w->mapToGlobal(QPoint(0, 0))), w->size());
    }
    void SetMode(int mode)
    {
        Settings::SetThumbnailViewMode(mode);
        Frame()->ApplyViewMode();
    }
    int Current() const { return m_app->Document()->Catalog().GetCurrentIndex(); }

    QTemporaryDir m_dir;
    std::unique_ptr<CLumoApp> m_app;
};

class SplashTest : public InProcessFrame {
protected:
    void SetUp() override
    {
        Start(true);
        m_splash = m_app->Screen()->findChild<CSplashWnd*>();
        ASSERT_TRUE(m_splash);
    }
    static void Tap(QPoint p)
    {
        QWidget* target = Input::WidgetAt(p);
        Input::PenDown(target, p);
        Input::PenUp(target, p);
    }

    QPointer<CSplashWnd> m_splash;
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
        EXPECT_EQ(View()->height(), c.viewHeight) << c.mode;
        EXPECT_EQ(Frame()->ThumbnailView()->height(), c.thumbnailHeight) << c.mode;
        EXPECT_EQ(Frame()->BottomToolBar()->isVisible(), c.toolBar) << c.mode;
        EXPECT_EQ(Frame()->CommandBar()->isVisible(), c.toolBar) << c.mode;
        // The canvas follows the view: its buffer is two columns wider.
        EXPECT_EQ(View()->Canvas()->BufferWidth(), 242);
        EXPECT_EQ(View()->Canvas()->BufferHeight(), c.viewHeight) << c.mode;
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

TEST_F(InProcessFrame, FullScreenOptionsPlaceTheFrameAndTheBarsAndToggleRestoresThem)
{
    CDeviceScreen* screen = m_app->Screen();
    const struct {
        int options;
        QRect frame;
        bool taskBar, commandBar, sipButton;
    } cases[] = {
        {15, QRect(0, 0, 240, 320), false, false, false},
        {0, QRect(0, 26, 240, 268), true, true, true},
        {2, QRect(0, 0, 240, 294), false, true, true},
    };
    for (const auto& c : cases) {
        View()->SetFullScreenOptions(c.options);
        View()->SetFullScreen(1);
        EXPECT_EQ(View()->ApplyFullScreen(), 1);
        EXPECT_EQ(OnScreen(Frame()), c.frame) << c.options;
        EXPECT_EQ(screen->TaskBarVisible(), c.taskBar) << c.options;
        EXPECT_EQ(Frame()->CommandBar()->isVisible(), c.commandBar) << c.options;
        EXPECT_EQ(Frame()->CommandBar()->SipButtonVisible(), c.sipButton) << c.options;
    }
    // Off again: the normal layout whatever the options; twice: full screen.
    View()->SetFullScreenOptions(15);
    for (const bool full : {false, true, false}) {
        View()->ToggleFullScreen();
        EXPECT_EQ(View()->GetFullScreen(), full ? 1 : 0);
        EXPECT_EQ(OnScreen(Frame()), full ? QRect(0, 0, 240, 320) : QRect(0, 26, 240, 268));
        EXPECT_EQ(screen->TaskBarVisible(), !full);
        EXPECT_EQ(Frame()->CommandBar()->isVisible(), !full);
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

TEST_F(InProcessFrame, ArrowKeysInTheImageViewGoToTheThumbnailViewAndMenuLabelsMatchExactly)
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
    QMenu* view = Frame()->MenuPopup(1);
    EXPECT_EQ(CMainFrame::FindMenuItem(view, QStringLiteral("Zoom")), 5);
    EXPECT_EQ(CMainFrame::FindMenuItem(view, QStringLiteral("zoom")), -1);
}

TEST_F(InProcessFrame, HoldTimerFiresOnceAndStops)
{
    CLumoDoc* doc = m_app->Document();
    for (int i = 0; i < 3; ++i)
        doc->Catalog().Append(new CImageItem);
    doc->UpdateAllViews(nullptr, CImageCatalog::kHintListChanged);
    CThumbnailCtrl* strip = Frame()->ThumbnailView()->Strip();
    auto* timer = strip->findChild<QTimer*>(QStringLiteral("HoldTimer"));
    ASSERT_NE(timer, nullptr);
    QTest::mousePress(strip, Qt::LeftButton, {}, QPoint(15 + 21, 15));
    EXPECT_TRUE(timer->isActive());
    QTest::qWait(CThumbnailCtrl::kHoldMs + 200);
    QWidget* menu = QApplication::activePopupWidget();
    EXPECT_NE(menu, nullptr);
    EXPECT_FALSE(timer->isActive());
    if (menu)
        menu->close();
    QTest::mouseRelease(strip, Qt::LeftButton, {}, QPoint(15 + 21, 15));
}

// Centred; another timer leaves it, a tap closes it, and its own timer
// destroys it.
TEST_F(SplashTest, TapClosesItAndSelectsNothingBelow)
{
    EXPECT_EQ(m_splash->geometry().center(), m_app->Screen()->rect().center());
    EXPECT_FALSE(m_splash->OnTimer(m_splash->TimerId() + 1));
    const CThumbnailCtrl* strip = Frame()->ThumbnailView()->Strip();
    const QPoint second = m_app->Screen()->mapFromGlobal(strip->mapToGlobal(
        QPoint(CThumbnailStrip::CellLeft(1) + CThumbnailStrip::kCellWidth / 2, strip->height() / 2)));
    ASSERT_TRUE(m_splash->geometry().contains(second));
    ASSERT_TRUE(m_splash->isVisible());
    ASSERT_EQ(Current(), 0);
    Tap(second);
    EXPECT_FALSE(m_splash->isVisible());
    EXPECT_EQ(Current(), 0);
    EXPECT_EQ(strip->Strip().m_selected, 0);
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
    View()->setFocus();
    ASSERT_TRUE(m_splash);
    Input::KeyPress(QStringLiteral("Right"));
    EXPECT_FALSE(m_splash->isVisible());
    EXPECT_EQ(Current(), 0);
    Input::KeyPress(QStringLiteral("Right"));
    EXPECT_EQ(Current(), 1);
}
