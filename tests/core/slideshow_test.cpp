// Slideshow stepping over a catalog: start positions, wrap-around, random
// picks, direction changes, entries that go away, and the view state given
// back at the end.
#include "app/image_catalog.h"
#include "app/slideshow.h"

#include <gtest/gtest.h>

#include <climits>
#include <deque>

using namespace Qt::StringLiterals;

namespace {

class SlideshowTest : public ::testing::Test {
protected:
    void Fill(int n, int current = -1)
    {
        catalog.RemoveAll();
        for (int i = 0; i < n; ++i) {
            auto* item = new CImageItem;
            item->m_path = u"\\p%1.bmp"_s.arg(i);
            catalog.Append(item);
        }
        catalog.SetCurrent(current < 0 ? nullptr : catalog.GetAt(current));
    }
    // The indices made current by count ticks.
    std::vector<int> Ticks(int count, const QString& direction = u"Forward"_s)
    {
        std::vector<int> shown;
        for (int i = 0; i < count; ++i) {
            EXPECT_EQ(show.Tick(direction), CSlideshow::Step::Shown);
            shown.push_back(catalog.GetCurrentIndex());
        }
        return shown;
    }
    CImageCatalog catalog;
    CSlideshow show {&catalog};
};

TEST_F(SlideshowTest, StartPositionsAndWrapAroundInEachDirection)
{
    const struct {
        int count, current;  // current -1: no current entry
        const char* direction;
        std::vector<int> shown;
    } cases[] = {
        {4, 3, "Forward", {0, 1, 2, 3, 0}},
        {4, -1, "Backward", {3, 2, 1, 0, 3}},
        {4, 0, "Backward", {3, 2}},
        {1, -1, "Random", {0, 0, 0}},
    };
    for (const auto& c : cases) {
        Fill(c.count, c.current);
        const QString direction = QString::fromLatin1(c.direction);
        ASSERT_TRUE(show.Start(direction)) << c.direction;
        EXPECT_EQ(catalog.GetCurrentIndex(), c.current);  // nothing changes before the first tick
        EXPECT_EQ(Ticks(int(c.shown.size()), direction), c.shown) << c.direction << " from " << c.current;
        show.Stop();
    }
}

TEST_F(SlideshowTest, DirectionIsReadAtEveryTickAndComparedExactlyAndRandomTakesEachPickModuloTheCount)
{
    Fill(5, 1);
    ASSERT_TRUE(show.Start(u"Forward"_s));
    EXPECT_EQ(Ticks(2), (std::vector<int> {2, 3}));
    // The next entry (4) was chosen going forward; from there it goes back.
    EXPECT_EQ(Ticks(2, u"Backward"_s), (std::vector<int> {4, 3}));
    EXPECT_EQ(show.Tick(u"forward"_s), CSlideshow::Step::Ended);
    EXPECT_FALSE(show.IsRunning());
    EXPECT_FALSE(show.Start(u"Sideways"_s));
    catalog.RemoveAll();
    EXPECT_FALSE(show.Start(u"Forward"_s));
    // Random takes each pick modulo the count.
    Fill(5);
    std::deque<int> picks {7, 13, 2};
    show.SetRandom([&] {
        const int v = picks.front();
        picks.pop_front();
        return v;
    });
    ASSERT_TRUE(show.Start(u"Random"_s));
    EXPECT_EQ(Ticks(3, u"Random"_s), (std::vector<int> {2, 3, 2}));
    // A restart after a pick continues from the picked entry.
    show.Stop();
    catalog.SetCurrent(catalog.GetAt(1));
    ASSERT_TRUE(show.Start(u"Forward"_s));
    EXPECT_EQ(Ticks(1), (std::vector<int> {2}));
}

TEST_F(SlideshowTest, RemovedNextEntryIsNeverTouched)
{
    Fill(4, 1);
    ASSERT_TRUE(show.Start(u"Forward"_s));
    ASSERT_EQ(show.Next(), catalog.GetAt(2));
    catalog.RemoveItem(catalog.GetAt(2));
    EXPECT_EQ(Ticks(1), std::vector<int> {0});  // re-anchored at the start of its direction
    EXPECT_EQ(show.Next(), catalog.GetAt(1));
    // A rebuilt catalog re-anchors the show too; an empty one ends it.
    Fill(2);
    EXPECT_EQ(Ticks(1, u"Backward"_s), std::vector<int> {1});
    catalog.RemoveAll();
    EXPECT_EQ(show.Tick(u"Backward"_s), CSlideshow::Step::Ended);
    EXPECT_FALSE(show.IsRunning());
}

TEST_F(SlideshowTest, StopGivesBackThePreShowStateOnlyToShownEntries)
{
    Fill(3, 2);
    catalog.GetAt(0)->m_zoom = 150;
    catalog.GetAt(0)->m_rotation = 90;
    catalog.GetAt(2)->m_zoom = 50;
    catalog.GetAt(2)->m_savedZoom = 200;  // left from an earlier show
    ASSERT_TRUE(show.Start(u"Forward"_s));
    for (int i = 0; i < 3; ++i) {  // entry 0 is shown twice: its lent state must not become its own
        show.Tick(u"Forward"_s);
        show.Show(catalog.GetAt(i == 1), 0, 270);
    }
    show.Stop();
    EXPECT_EQ((std::vector<int> {catalog.GetAt(0)->m_zoom, catalog.GetAt(0)->m_rotation, catalog.GetAt(1)->m_zoom,
                                 catalog.GetAt(1)->m_rotation, catalog.GetAt(2)->m_zoom}),
              (std::vector<int> {150, 90, -1, 0, 50}));
}

TEST(SlideshowPeriod, IntervalIsKeptBetweenASecondAndADay)
{
    const std::pair<int, int> cases[] = {{3, 3000}, {0, 1000}, {-5, 1000}, {86400, 86400000}, {INT_MAX, 86400000}};
    for (const auto& [seconds, ms] : cases)
        EXPECT_EQ(CSlideshow::PeriodMs(seconds), ms) << seconds;
}

}  // namespace
