// Page, frame, hit-test, button, key and removal arithmetic of the strip.
#include "app/thumbnail_strip.h"

#include <gtest/gtest.h>

namespace {

constexpr int kLeft = 37;
constexpr int kUp = 38;
constexpr int kRight = 39;
constexpr int kDown = 40;

CThumbnailStrip Refreshed(int n, int current)
{
    CThumbnailStrip strip;
    strip.Refresh(n, current);
    return strip;
}

TEST(ThumbnailStrip, FiveEntriesFitOnePageAndDoNotPage)
{
    CThumbnailStrip strip = Refreshed(5, 0);
    EXPECT_EQ(strip.m_first, 0);
    EXPECT_EQ(strip.m_lastPage, 0);
    EXPECT_EQ(strip.End(5), 5);
    bool last = false;
    EXPECT_FALSE(strip.PageRight(&last));
    EXPECT_TRUE(last);
    EXPECT_FALSE(strip.PageLeft());
    EXPECT_EQ(strip.m_first, 0);
}

TEST(ThumbnailStrip, SixEntriesMakeASecondPageOfOneCell)
{
    CThumbnailStrip strip = Refreshed(6, 0);
    EXPECT_EQ(strip.m_lastPage, 5);
    EXPECT_EQ(strip.End(6), 5);
    bool last = false;
    ASSERT_TRUE(strip.PageRight(&last));
    EXPECT_TRUE(last);
    EXPECT_EQ(strip.m_first, 5);
    EXPECT_EQ(strip.OccupiedCells(6), 1);
    // The selection (entry 0) is on the first page: no frame here.
    EXPECT_EQ(strip.FrameCell(6), -1);
    strip.Refresh(6, 5);
    EXPECT_EQ(strip.FrameCell(6), 0);
    EXPECT_TRUE(strip.PageLeft());
    EXPECT_EQ(strip.m_first, 0);
    EXPECT_EQ(strip.FrameCell(6), -1);
}

TEST(ThumbnailStrip, TwelveEntriesWithCurrentSevenFrameCellTwoOfSecondPage)
{
    CThumbnailStrip strip;
    EXPECT_TRUE(strip.Refresh(12, 7));
    EXPECT_EQ(strip.m_first, 5);
    EXPECT_EQ(strip.m_lastPage, 10);
    EXPECT_EQ(strip.End(12), 10);
    EXPECT_EQ(strip.FrameCell(12), 2);
    // Refreshing on the same page does not move it.
    EXPECT_FALSE(strip.Refresh(12, 9));
}

TEST(ThumbnailStrip, ButtonsPageWithoutMovingTheSelection)
{
    CThumbnailStrip strip = Refreshed(12, 7);
    bool last = false;
    ASSERT_TRUE(strip.PageRight(&last));
    EXPECT_TRUE(last);
    EXPECT_EQ(strip.m_first, 10);
    EXPECT_EQ(strip.m_selected, 7);
    EXPECT_EQ(strip.FrameCell(12), -1);
    EXPECT_FALSE(strip.PageRight(&last));
    ASSERT_TRUE(strip.PageLeft());
    ASSERT_TRUE(strip.PageLeft());
    EXPECT_EQ(strip.m_first, 0);
    EXPECT_FALSE(strip.PageLeft());
}

TEST(ThumbnailStrip, EmptyCatalogBlanksEveryIndex)
{
    CThumbnailStrip strip = Refreshed(3, 1);
    strip.Refresh(0, -1);
    EXPECT_EQ(strip.m_selected, -1);
    EXPECT_EQ(strip.m_first, -1);
    EXPECT_EQ(strip.m_lastPage, -1);
    EXPECT_EQ(strip.m_minimum, -1);
    EXPECT_FALSE(strip.CanDraw(0, -1));
    EXPECT_FALSE(strip.HitTest(20, 10, 0));
}

TEST(ThumbnailStrip, HitTestCoversOnlyOccupiedCells)
{
    CThumbnailStrip strip = Refreshed(7, 5);  // second page holds entries 5 and 6
    EXPECT_TRUE(strip.HitTest(15, 0, 7));
    EXPECT_TRUE(strip.HitTest(98, 29, 7));
    EXPECT_FALSE(strip.HitTest(99, 10, 7));  // third cell is empty
    EXPECT_FALSE(strip.HitTest(14, 10, 7));  // the "<" button
    EXPECT_FALSE(strip.HitTest(20, 30, 7));
    // Only a shown picture is under the pen: the empty cells and the
    // buttons name none.
    EXPECT_EQ(strip.IndexAt(150, 10, 7), -1);
    EXPECT_EQ(strip.IndexAt(15 + 42, 10, 7), 6);
    EXPECT_EQ(strip.IndexAt(5, 10, 7), -1);
}

TEST(ThumbnailStrip, APageIsAsManyWholeCellsAsTheWidthHolds)
{
    const struct {
        int width, cells;
        int n, current;        // catalog and current entry
        int first, lastPage;   // the page then shown
        int tapX, tapIndex;    // a tap at x in the cells' row
        int downFrom, downTo;  // the Down key moves a page of cells
    } cases[] = {
        {240, 5, 12, 7, 5, 10, 15 + 42 * 4 + 1, 9, 2, 7},  // the device's screen
        {480, 10, 12, 7, 0, 10, 15 + 42 * 9 + 1, 9, 2, 11},
        {480, 10, 12, 11, 10, 10, 15 + 42 * 2 + 1, -1, 0, 10},  // two shown, the rest blank
        {281, 5, 12, 0, 0, 10, 15 + 42 * 5 + 1, -1, 0, 5},
        {282, 6, 12, 0, 0, 6, 15 + 42 * 5 + 1, 5, 0, 6},
        {40, 1, 3, 2, 2, 2, 15 + 41, 2, 0, 1},
    };
    for (const auto& c : cases) {
        CThumbnailStrip strip;
        EXPECT_EQ(strip.SetWidth(c.width), c.cells != CThumbnailStrip::kCells) << c.width;
        EXPECT_EQ(strip.Cells(), c.cells) << c.width;
        strip.Refresh(c.n, c.current);
        EXPECT_EQ(strip.m_first, c.first) << c.width;
        EXPECT_EQ(strip.m_lastPage, c.lastPage) << c.width;
        EXPECT_EQ(strip.FrameCell(c.n), c.current - c.first) << c.width;
        EXPECT_EQ(strip.IndexAt(c.tapX, 15, c.n), c.tapIndex) << c.width;
        strip.m_selected = c.downFrom;
        EXPECT_EQ(strip.KeyTarget(kDown, c.n), c.downTo) << c.width;
    }
}

TEST(ThumbnailStrip, ArrowKeysStopAtTheEnds)
{
    CThumbnailStrip strip = Refreshed(12, 9);
    EXPECT_EQ(strip.KeyTarget(kDown, 12), 11);
    strip.Select(11);
    EXPECT_EQ(strip.m_first, 10);
    EXPECT_EQ(strip.KeyTarget(kDown, 12), -1);
    EXPECT_EQ(strip.KeyTarget(kRight, 12), -1);
    EXPECT_EQ(strip.KeyTarget(kLeft, 12), 10);

    strip.Select(3);
    EXPECT_EQ(strip.KeyTarget(kUp, 12), 0);
    strip.Select(0);
    EXPECT_EQ(strip.m_first, 0);
    EXPECT_EQ(strip.KeyTarget(kUp, 12), -1);
    EXPECT_EQ(strip.KeyTarget(kLeft, 12), -1);
    EXPECT_EQ(strip.KeyTarget(kRight, 12), 1);
    strip.Select(7);
    EXPECT_EQ(strip.KeyTarget(kUp, 12), 2);
    EXPECT_EQ(strip.KeyTarget(kDown, 12), 11);
    EXPECT_EQ(strip.KeyTarget(13, 12), -1);
}

TEST(ThumbnailStrip, RemovePagesOnlyWhenTheRemovedPicturesPageEmpties)
{
    struct Case {
        int n;
        int selected;
        bool paged;
        int first;  // after the removal
        int selectedAfter;
        int lastPage;
    };
    const Case cases[] = {
        {6, 5, true, 0, 4, 0},    // alone on the last page
        {11, 7, false, 5, 7, 5},  // a middle page, while the last holds one picture
        {11, 10, true, 5, 9, 5}, {12, 7, false, 5, 7, 10}, {12, 11, false, 10, 10, 10},
        {2, 1, false, 0, 0, 0},  {1, 0, false, 0, -1, 0},
    };
    for (const Case& c : cases) {
        CThumbnailStrip strip = Refreshed(c.n, c.selected);
        EXPECT_EQ(strip.PageLeftBeforeRemove(c.n), c.paged) << c.n << " " << c.selected;
        EXPECT_EQ(strip.AfterRemove(c.n - 1), c.selectedAfter) << c.n << " " << c.selected;
        EXPECT_EQ(strip.m_first, c.first) << c.n << " " << c.selected;
        EXPECT_EQ(strip.m_lastPage, c.lastPage) << c.n << " " << c.selected;
        if (c.selectedAfter >= 0) {
            EXPECT_EQ(strip.FrameCell(c.n - 1), c.selectedAfter % 5) << c.n << " " << c.selected;
        }
    }
}
}  // namespace
