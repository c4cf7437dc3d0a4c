// The main frame's pane layout for each stored mode and the full-screen
// base's frame rectangles, checked in-process on a real frame.
#include "app/lumo_app.h"
#include "app/lumo_doc.h"
#include "app/settings.h"
#include "platform/message_box.h"
#include "platform/profile.h"
#include "platform/registry_store.h"
#include "res/resource.h"
#include "shell/command_bar.h"
#include "shell/device_screen.h"
#include "shell/main_frame.h"
#include "shell/pane_splitter.h"
#include "views/image_canvas.h"
#include "views/lumo_view.h"
#include "views/thumbnail_ctrl.h"
#include "views/thumbnail_view.h"

#include "in_process.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <gtest/gtest.h>

namespace {

class FrameLayoutTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        EnsureApplication();
        ASSERT_TRUE(m_dir.isValid());
        UseScratchRegistry(m_dir);
        CLumoOptions options;
        options.script = QStringLiteral("-");  // no splash
        m_app = std::make_unique<CLumoApp>(options);
        ASSERT_TRUE(m_app->InitInstance());
        QApplication::processEvents();
    }
    void TearDown() override
    {
        m_app.reset();
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

    QTemporaryDir m_dir;
    std::unique_ptr<CLumoApp> m_app;
};

}  // namespace

TEST_F(FrameLayoutTest, EachModeGivesTheRowsTheirHeights)
{
    struct Case {
        int mode;
        int viewHeight;
        int thumbnailHeight;
        bool toolBar;
    };
    // The frame is 268 pixels high between the bands.
    const Case cases[] = {{0, 170, 70, true}, {1, 210, 30, true}, {-1, 240, 24, false}};
    for (const Case& c : cases) {
        SetMode(c.mode);
        EXPECT_EQ(View()->height(), c.viewHeight) << c.mode;
        EXPECT_EQ(Frame()->ThumbnailView()->height(), c.thumbnailHeight) << c.mode;
        EXPECT_EQ(Frame()->BottomToolBar()->isVisible(), c.toolBar) << c.mode;
        EXPECT_EQ(Frame()->CommandBar()->isVisible(), c.toolBar) << c.mode;
        // The canvas follows the view: its buffer is two columns wider.
        EXPECT_EQ(View()->Canvas()->BufferWidth(), 242);
        EXPECT_EQ(View()->Canvas()->BufferHeight(), c.viewHeight) << c.mode;
    }
}

TEST_F(FrameLayoutTest, EffectLayoutKeepsTheGapOfTheModeBefore)
{
    SetMode(2);
    EXPECT_EQ(Frame()->Splitter()->Gap(), 0);
    SetMode(-1);
    EXPECT_EQ(Frame()->Splitter()->Gap(), 0);
    SetMode(0);
    SetMode(-1);
    EXPECT_EQ(Frame()->Splitter()->Gap(), 4);
    EXPECT_EQ(View()->height(), 240);
}

TEST_F(FrameLayoutTest, FullScreenLayoutHidesTheToolBarAndLeavesTheCommandBar)
{
    Frame()->CommandBar()->hide();
    SetMode(2);
    EXPECT_FALSE(Frame()->BottomToolBar()->isVisible());
    EXPECT_FALSE(Frame()->CommandBar()->isVisible());
    SetMode(1);
    EXPECT_TRUE(Frame()->CommandBar()->isVisible());
    Frame()->CommandBar()->show();
    SetMode(2);
    EXPECT_TRUE(Frame()->CommandBar()->isVisible());
    EXPECT_FALSE(View()->Canvas() == nullptr);
}

TEST_F(FrameLayoutTest, FullScreenOptionsPlaceTheFrameAndTheBars)
{
    CDeviceScreen* screen = m_app->Screen();
    struct Case {
        int options;
        QRect frame;
        bool taskBar;
        bool commandBar;
        bool sipButton;
    };
    const Case cases[] = {
        {15, QRect(0, 0, 240, 320), false, false, false},
        {0, QRect(0, 26, 240, 268), true, true, true},
        {2, QRect(0, 0, 240, 294), false, true, true},
    };
    for (const Case& c : cases) {
        View()->SetFullScreenOptions(c.options);
        View()->SetFullScreen(1);
        EXPECT_EQ(View()->ApplyFullScreen(), 1);
        EXPECT_EQ(OnScreen(Frame()), c.frame) << c.options;
        EXPECT_EQ(screen->TaskBarVisible(), c.taskBar) << c.options;
        EXPECT_EQ(Frame()->CommandBar()->isVisible(), c.commandBar) << c.options;
        EXPECT_EQ(Frame()->CommandBar()->SipButtonVisible(), c.sipButton) << c.options;
    }
    // Off again: the normal layout whatever the options.
    View()->SetFullScreenOptions(15);
    View()->ToggleFullScreen();
    EXPECT_EQ(View()->GetFullScreen(), 0);
    EXPECT_EQ(OnScreen(Frame()), QRect(0, 26, 240, 268));
    EXPECT_TRUE(screen->TaskBarVisible());
    EXPECT_TRUE(Frame()->CommandBar()->isVisible());
}

TEST_F(FrameLayoutTest, ToggleTwiceReturnsToTheStartingLayout)
{
    View()->SetFullScreenOptions(15);
    View()->ToggleFullScreen();
    EXPECT_EQ(OnScreen(Frame()), QRect(0, 0, 240, 320));
    View()->ToggleFullScreen();
    EXPECT_EQ(OnScreen(Frame()), QRect(0, 26, 240, 268));
    EXPECT_TRUE(m_app->Screen()->TaskBarVisible());
}

TEST_F(FrameLayoutTest, CommandBarCarriesTheSixTooltipsInButtonOrder)
{
    EXPECT_EQ(Frame()->Tooltips(), (QStringList {"New", "File", "Help", "Browser Folder", "SlideShow", "About LUMO"}));
    EXPECT_EQ(CMainFrame::LoadStringCopy(Res::IDS_TIP_ABOUT), QStringLiteral("About LUMO"));
    EXPECT_TRUE(CMainFrame::LoadStringCopy(12345).isEmpty());
}

TEST_F(FrameLayoutTest, EveryToolButtonHasItsOwnImage)
{
    QList<QImage> images;
    for (QAction* a : Frame()->BottomToolBar()->actions()) {
        if (a->isSeparator())
            continue;
        ASSERT_FALSE(a->icon().isNull()) << a->data().toInt();
        const QImage normal = a->icon().pixmap(16, 16, QIcon::Normal).toImage();
        const QImage disabled = a->icon().pixmap(16, 16, QIcon::Disabled).toImage();
        EXPECT_NE(normal, disabled) << a->data().toInt();
        EXPECT_FALSE(images.contains(normal));
        images << normal;
    }
    EXPECT_EQ(images.size(), 8);
}

namespace {

// Records the keys that reach a window.
class KeyRecorder : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress)
            keys << static_cast<QKeyEvent*>(event)->key();
        return false;
    }
    QList<int> keys;
};

}  // namespace

TEST_F(FrameLayoutTest, ArrowKeysInTheImageViewGoToTheThumbnailView)
{
    KeyRecorder recorder;
    Frame()->ThumbnailView()->installEventFilter(&recorder);
    for (int key : {int(Qt::Key_Left), int(Qt::Key_A), int(Qt::Key_Down), int(Qt::Key_Return)}) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(View(), &press);
    }
    EXPECT_EQ(recorder.keys, (QList<int> {Qt::Key_Left, Qt::Key_Down}));
}

TEST_F(FrameLayoutTest, FindMenuItemComparesLabelsExactly)
{
    QMenu* view = Frame()->MenuPopup(1);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(CMainFrame::FindMenuItem(view, QStringLiteral("Zoom")), 5);
    EXPECT_EQ(CMainFrame::FindMenuItem(view, QStringLiteral("zoom")), -1);
    EXPECT_EQ(CMainFrame::FindMenuItem(nullptr, QStringLiteral("Zoom")), -1);
}

TEST_F(FrameLayoutTest, HoldTimerFiresOnceAndStops)
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
