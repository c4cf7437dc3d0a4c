// The document's view-state commands: rotation and zoom steps with their
// radio marks and enable rules, the "All to" modes, and entering and leaving
// full screen, driven through the command table as menus drive them.
#include "catalog_fixture.h"
#include "res/resource.h"

using namespace Res;

namespace {

// Labels as QStrings: two bare C strings would read as an iterator range.
QStringList Popup(const char* menu, const char* item)
{
    return {QLatin1String(menu), QLatin1String(item)};
}

class ViewCommandsTest : public DocFixture {
protected:
    std::vector<int> ZoomMarks() { return CheckedAmong(ID_ZOOM_50, ID_ZOOM_FILL); }
};

}  // namespace

TEST_F(ViewCommandsTest, ZoomStepsMoveByTwentyFromTheEffectiveZoomWithinTheirLimits)
{
    // clang-format off
    const struct {
        int zoom;
        double scale;
        int command;
        bool enabledBefore;
        int result;
        bool enabledAfter;
    } cases[] = {
        {290, 1.0, ID_ZOOM_IN,  true,  310, false},
        {60,  1.0, ID_ZOOM_OUT, true,  40,  false},  // 40 is not above 50
        {25,  1.0, ID_ZOOM_OUT, false, 20,  false},  // run past the enable rule: never below 20
        {0,   1.0, ID_ZOOM_IN,  true,  121, true},   // a fitted picture shown unscaled counts as 101
        {-1,  4.0, ID_ZOOM_IN,  true,  46,  true},   // filled at a quarter: trunc(100 / 4) + 1 = 26
        {-1,  4.0, ID_ZOOM_OUT, false, 20,  false},
    };
    // clang-format on
    int repaints = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.zoom << " " << c.command);
        CImageItem* item = AddCurrent(2000, 1500, c.zoom, c.scale);
        EXPECT_EQ(Enabled(c.command), c.enabledBefore);
        Run(c.command);
        EXPECT_EQ(item->m_zoom, c.result);
        EXPECT_EQ(Enabled(c.command), c.enabledAfter);
        EXPECT_EQ(m_view.repaints, ++repaints);
    }
}

// "All to" with an empty catalog changes not even the marks; with entries it
// reaches every one. A step clears the fixed zoom's mark but not the "All to" one.
TEST_F(ViewCommandsTest, FixedZoomsMoveTheirMarkAndAllToReachesEveryEntry)
{
    m_doc->MenuChecks().CheckRadio(Popup("View", "Zoom"), ID_ALL_FIT, ID_ALL_ORIGINAL, ID_ALL_FILL);
    Run(ID_ALL_ORIGINAL);
    EXPECT_EQ(CheckedAmong(ID_ALL_FIT, ID_ALL_ORIGINAL), std::vector<int> {ID_ALL_FILL});
    EXPECT_EQ(m_view.repaints, 0);
    CImageItem* item = AddCurrent(100, 100, 100);
    CImageItem* other = Add(100, 100, 0);
    for (const auto& [id, zoom] :
         {std::pair {ID_ZOOM_50, 50}, {ID_ZOOM_200, 200}, {ID_ZOOM_FIT, 0}, {ID_ZOOM_FILL, -1}}) {
        Run(id);
        EXPECT_EQ(item->m_zoom, zoom) << id;
        EXPECT_EQ(ZoomMarks(), std::vector<int> {id});
    }
    Run(ID_ALL_ORIGINAL);
    EXPECT_EQ((std::vector<int> {item->m_zoom, other->m_zoom}), (std::vector<int> {100, 100}));
    Run(ID_ZOOM_IN);
    EXPECT_TRUE(ZoomMarks().empty());
    EXPECT_EQ(CheckedAmong(ID_ALL_FIT, ID_ALL_ORIGINAL), std::vector<int> {ID_ALL_ORIGINAL});
}

TEST_F(ViewCommandsTest, RotationStepsWalkTheQuarterTurnsAndOddAnglesAreLeftAlone)
{
    CImageItem* item = AddCurrent(100, 100);
    item->m_rotation = 270;
    // clang-format off
    const struct { int command, rotation, mark; } steps[] = {
        {ID_ROTATE_RIGHT, 0, ID_ROTATE_0}, {ID_ROTATE_LEFT, 270, ID_ROTATE_270},
        {ID_ROTATE_LEFT, 180, ID_ROTATE_180}, {ID_ROTATE_LEFT, 90, ID_ROTATE_90}, {ID_ROTATE_180, 180, ID_ROTATE_180},
    };
    // clang-format on
    for (const auto& s : steps) {
        Run(s.command);
        EXPECT_EQ(item->m_rotation, s.rotation);
        EXPECT_EQ(CheckedAmong(ID_ROTATE_90, ID_ROTATE_0), std::vector<int> {s.mark});
    }
    item->m_rotation = 45;
    Run(ID_ROTATE_RIGHT);
    EXPECT_EQ((std::vector<int> {item->m_rotation, m_view.repaints}), (std::vector<int> {45, 6}));
    EXPECT_EQ(CheckedAmong(ID_ROTATE_90, ID_ROTATE_0), std::vector<int> {ID_ROTATE_180});
}

TEST_F(ViewCommandsTest, WithoutCurrentEntryOrBehindTheBrowserCommandsAreOffAndTheShowsMarkFollowsTheShow)
{
    CImageItem* item = Add(100, 100, 0);
    for (int id : {ID_ROTATE_RIGHT, ID_ROTATE_LEFT, ID_IMAGE_INFO, ID_BRIGHTNESS, ID_CONTRAST, ID_MEMO, ID_FULL_SCREEN,
                   ID_SLIDE_SHOW, ID_ZOOM_IN, ID_ZOOM_OUT})
        EXPECT_FALSE(Enabled(id)) << id;
    for (int id : {ID_ROTATE_RIGHT, ID_ROTATE_90, ID_ZOOM_IN, ID_ZOOM_200, ID_FULL_SCREEN})
        Run(id);
    EXPECT_EQ((std::vector<int> {item->m_zoom, item->m_rotation, m_view.repaints}), (std::vector<int> {0, 0, 0}));
    EXPECT_TRUE(m_frame.modes.empty() && ZoomMarks().empty());
    m_doc->Catalog().SetCurrent(item);
    EXPECT_TRUE(Enabled(ID_IMAGE_INFO) && Enabled(ID_BRIGHTNESS));
    // The show's mark follows the main view's show, also when it could not start.
    m_view.canStart = false;
    Run(ID_SLIDE_SHOW);
    EXPECT_FALSE(Query(ID_SLIDE_SHOW).checked || m_view.showToggles != 1);
    m_view.canStart = true;
    Run(ID_SLIDE_SHOW);
    EXPECT_TRUE(Query(ID_SLIDE_SHOW).checked);
    m_view.browserVisible = true;
    for (int id : {ID_ROTATE_RIGHT, ID_IMAGE_INFO, ID_CONTRAST, ID_FULL_SCREEN, ID_ZOOM_IN, ID_ZOOM_OUT})
        EXPECT_FALSE(Enabled(id)) << id;
    EXPECT_TRUE(Enabled(ID_ZOOM_200));  // no enable rule
}

// Full screen fits a picture and turns a large landscape with the document's
// auto values; a second entry keeps the values to return to; leaving gives
// the picture and the stored view mode back.
TEST_F(ViewCommandsTest, FullScreenFitsAndTurnsOnlyLargeLandscapesAndLeavingRestoresThem)
{
    // clang-format off
    const struct { int mode, width, height, zoom, rotation, autoZoom, autoAngle, fullZoom, fullRotation; } cases[] = {
        {1, 640, 480, -1,   90,   0, 270,   0, 270},
        {0, 200, 150, 150, 180,   0, 270,   0, 180},
        {1, 300, 200, -1,    0, 100,  90, 100,  90},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.width);
        Settings::SetThumbnailViewMode(c.mode);
        m_doc->m_autoResizeZoom = c.autoZoom;
        m_doc->m_autoRotationAngle = c.autoAngle;
        m_frame.modes.clear();
        CImageItem* item = AddCurrent(c.width, c.height, c.zoom);
        item->m_rotation = c.rotation;
        for (int entry = 0; entry < 2; ++entry) {
            Run(ID_FULL_SCREEN);
            EXPECT_EQ((std::vector<int> {item->m_zoom, item->m_rotation, m_view.options, m_view.fullScreen}),
                      (std::vector<int> {c.fullZoom, c.fullRotation, 15, 1}));
        }
        m_doc->LeaveFullScreen();
        EXPECT_EQ((std::vector<int> {item->m_zoom, item->m_rotation, m_view.options, m_view.fullScreen}),
                  (std::vector<int> {c.zoom, c.rotation, 0, 0}));
        EXPECT_EQ(m_frame.modes, (std::vector<int> {2, c.mode}));
        EXPECT_EQ(Settings::ThumbnailViewMode(), c.mode);
    }
}

TEST(MenuChecks, PopupsAreFoundByTheirExactLabels)
{
    CMenuChecks checks;
    EXPECT_TRUE(checks.CheckRadio(Popup("View", "Rotate"), ID_ROTATE_90, ID_ROTATE_0, ID_ROTATE_0));
    EXPECT_FALSE(checks.CheckRadio(Popup("view", "Rotate"), ID_ROTATE_90, ID_ROTATE_0, ID_ROTATE_90));
    EXPECT_FALSE(checks.CheckRadio(Popup("View", "Zoom"), ID_ROTATE_90, ID_ROTATE_0, ID_ROTATE_90));
    EXPECT_FALSE(checks.CheckRadio(Popup("View", "Rotate"), ID_ROTATE_90, ID_ROTATE_180, ID_ROTATE_0));
    EXPECT_TRUE(checks.IsChecked(ID_ROTATE_0) && !checks.IsChecked(ID_ROTATE_90));
    EXPECT_EQ(CMenuChecks::FindPopup(Popup("View", "Image Info")), nullptr);  // an item, not a pop-up
}
