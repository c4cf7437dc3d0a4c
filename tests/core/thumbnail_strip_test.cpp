// Page, frame, hit-test, button, key and removal arithmetic of the strip.
#include "app/thumbnail_strip.h"

#include <gtest/gtest.h>

namespace {

constexpr int kLeft = 37, kUp = 38, kRight = 39, kDown = 40;

CThumbnailStrip Refreshed(int n, int current)
{
    CThumbnailStrip strip;
    strip.Refresh(n, current);
    return strip;
}

TEST(ThumbnailStrip, ButtonsPageWithoutMovingTheSelectionTapsHitOnlyEntriesAndNoEntriesBlankAll)
{
    bool last = false;
    CThumbnailStrip full = Refreshed(5, 0);
    EXPECT_EQ((std::vector<int> {full.m_lastPage, full.End(5)}), (std::vector<int> {0, 5}));
    EXPECT_FALSE(full.PageRight(&last) || full.PageLeft());
    EXPECT_TRUE(last);

    CThumbnailStrip strip = Refreshed(6, 0);
    EXPECT_EQ(strip.End(6), 5);
    ASSERT_TRUE(strip.PageRight(&last));
    EXPECT_TRUE(last);
    EXPECT_EQ((std::vector<int> {strip.m_first, strip.m_selected, strip.OccupiedCells(6), strip.FrameCell(6)}),
              (std::vector<int> {5, 0, 1, -1}));
    EXPECT_TRUE(!strip.PageRight(&last) && strip.PageLeft());
    EXPECT_EQ(strip.m_first, 0);

    CThumbnailStrip twelve = Refreshed(12, 7);
    EXPECT_EQ(twelve.End(12), 10);
    EXPECT_FALSE(twelve.Refresh(12, 9));
    EXPECT_TRUE(twelve.Refresh(12, 0));
    // Hit tests cover only occupied cells: the second page of 7 holds entries 5 and 6.
    CThumbnailStrip seven = Refreshed(7, 5);
    // Past the second cell is empty; below 15 is the "<" button.
    for (const auto& [x, y, hit] :
         {std::tuple {15, 0, true}, {98, 29, true}, {99, 10, false}, {14, 10, false}, {20, 30, false}})
        EXPECT_EQ(seven.HitTest(x, y, 7), hit) << x << "," << y;
    EXPECT_EQ((std::vector<int> {seven.IndexAt(150, 10, 7), seven.IndexAt(15 + 42, 10, 7), seven.IndexAt(5, 10, 7)}),
              (std::vector<int> {-1, 6, -1}));
    // An empty catalog blanks every index.
    twelve.Refresh(0, -1);
    for (int index : {twelve.m_selected, twelve.m_first, twelve.m_lastPage, twelve.m_minimum})
        EXPECT_EQ(index, -1);
    EXPECT_FALSE(twelve.CanDraw(0, -1) || twelve.HitTest(20, 10, 0));
}

TEST(ThumbnailStrip, APageIsAsManyWholeCellsAsTheWidthHolds)
{
    // clang-format off
    const struct {
        int width, cells, n, current, first, lastPage, tapX, tapIndex, downFrom, downTo;
    } cases[] = {
        {240,  5, 12,  7,  5, 10, 15 + 42 * 4 + 1,  9, 2,  7},  // the device's screen
        {480, 10, 12,  7,  0, 10, 15 + 42 * 9 + 1,  9, 2, 11},
        {480, 10, 12, 11, 10, 10, 15 + 42 * 2 + 1, -1, 0, 10},  // two shown, the rest blank
        {281,  5, 12,  0,  0, 10, 15 + 42 * 5 + 1, -1, 0,  5},
        {282,  6, 12,  0,  0,  6, 15 + 42 * 5 + 1,  5, 0,  6},
        {40,   1,  3,  2,  2,  2, 15 + 41,          2, 0,  1},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.width);
        CThumbnailStrip strip;
        EXPECT_EQ(strip.SetWidth(c.width), c.cells != CThumbnailStrip::kCells);
        EXPECT_EQ(strip.Cells(), c.cells);
        strip.Refresh(c.n, c.current);
        EXPECT_EQ(strip.m_first, c.first);
        EXPECT_EQ(strip.m_lastPage, c.lastPage);
        EXPECT_EQ(strip.FrameCell(c.n), c.current - c.first);
        EXPECT_EQ(strip.IndexAt(c.tapX, 15, c.n), c.tapIndex);
        strip.m_selected = c.downFrom;
        EXPECT_EQ(strip.KeyTarget(kDown, c.n), c.downTo);
    }
}

TEST(ThumbnailStrip, ArrowKeysStopAtTheEnds)
{
    const struct {
        int selected, key, target;
    } cases[] = {{9, kDown, 11}, {11, kDown, -1}, {11, kRight, -1}, {11, kLeft, 10}, {3, kUp, 0}, {0, kUp, -1},
                 {0, kLeft, -1}, {0, kRight, 1},  {7, kUp, 2},      {7, kDown, 11},  {7, 13, -1}};
    CThumbnailStrip strip = Refreshed(12, 0);
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.selected << " " << c.key);
        strip.Select(c.selected);
        EXPECT_EQ(strip.m_first, c.selected / 5 * 5);
        EXPECT_EQ(strip.KeyTarget(c.key, 12), c.target);
    }
}

TEST(ThumbnailStrip, RemovePagesOnlyWhenTheRemovedPicturesPageEmpties)
{
    const struct {
        int n, selected;
        bool paged;
        int first, selectedAfter, lastPage;
    } cases[] = {
        {6, 5, true, 0, 4, 0},    // alone on the last page
        {11, 7, false, 5, 7, 5},  // a middle page, while the last holds one picture
        {11, 10, true, 5, 9, 5}, {12, 7, false, 5, 7, 10}, {12, 11, false, 10, 10, 10},
        {2, 1, false, 0, 0, 0},  {1, 0, false, 0, -1, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.n << " " << c.selected);
        CThumbnailStrip strip = Refreshed(c.n, c.selected);
        EXPECT_EQ(strip.PageLeftBeforeRemove(c.n), c.paged);
        EXPECT_EQ(strip.AfterRemove(c.n - 1), c.selectedAfter);
        EXPECT_EQ(strip.m_first, c.first);
        EXPECT_EQ(strip.m_lastPage, c.lastPage);
        EXPECT_EQ(strip.FrameCell(c.n - 1), c.selectedAfter < 0 ? strip.FrameCell(c.n - 1) : c.selectedAfter % 5);
    }
}

}  // namespace
