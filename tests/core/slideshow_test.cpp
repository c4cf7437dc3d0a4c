// Slideshow stepping over a catalog: start positions, wrap-around, random
// picks, direction changes, entries that go away, and the view state given
// back at the end.
#include "app/image_catalog.h"
#include "app/slideshow.h"

#include <gtest/gtest.h>

#include <deque>

using namespace Qt::StringLiterals;

namespace {

class SlideshowTest : public ::testing::Test {
protected:
    void Fill(int n)
    {
        for (int i = 0; i < n; ++i) {
            auto* item = new CImageItem;
            item->m_path = u"\\p%1.bmp"_s.arg(i);
            catalog.Append(item);
        }
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
    struct Case {
        int count, current;  // current -1: no current entry
        const char* direction;
        std::vector<int> shown;
    };
    const Case cases[] = {
        {4, 3, "Forward", {0, 1, 2, 3, 0, 1}},
        {4, -1, "Backward", {3, 2, 1, 0, 3}},
        {4, 0, "Backward", {3, 2}},
        {1, -1, "Random", {0, 0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        catalog.RemoveAll();
        Fill(c.count);
        catalog.SetCurrent(c.current < 0 ? nullptr : catalog.GetAt(c.current));
        const QString direction = QString::fromLatin1(c.direction);
        ASSERT_TRUE(show.Start(direction)) << c.direction;
        EXPECT_EQ(catalog.GetCurrentIndex(), c.current);  // nothing changes before the first tick
        EXPECT_EQ(Ticks(int(c.shown.size()), direction), c.shown) << c.direction << " from " << c.current;
        show.Stop();
    }
}

TEST_F(SlideshowTest, RandomTakesEachPickModuloTheCount)
{
    Fill(5);
    std::deque<int> picks {7, 13, 2, 9};
    show.SetRandom([&] {
        const int v = picks.front();
        picks.pop_front();
        return v;
    });
    ASSERT_TRUE(show.Start(u"Random"_s));
    EXPECT_EQ(Ticks(3, u"Random"_s), (std::vector<int> {2, 3, 2}));
}

TEST_F(SlideshowTest, RestartAfterAPickContinuesFromThePickedEntry)
{
    Fill(10);
    catalog.SetCurrent(catalog.GetAt(2));
    ASSERT_TRUE(show.Start(u"Forward"_s));
    Ticks(1);
    catalog.SetCurrent(catalog.GetAt(7));
    show.Stop();
    ASSERT_TRUE(show.Start(u"Forward"_s));
    EXPECT_EQ(Ticks(1), (std::vector<int> {8}));
}

TEST_F(SlideshowTest, DirectionIsReadAtEveryTickAndComparedExactly)
{
    Fill(5);
    catalog.SetCurrent(catalog.GetAt(1));
    ASSERT_TRUE(show.Start(u"Forward"_s));
    EXPECT_EQ(Ticks(2), (std::vector<int> {2, 3}));
    // The next entry (4) was chosen going forward; from there it goes back.
    EXPECT_EQ(Ticks(3, u"Backward"_s), (std::vector<int> {4, 3, 2}));
    EXPECT_EQ(show.Tick(u"forward"_s), CSlideshow::Step::Ended);
    EXPECT_FALSE(show.IsRunning());
    EXPECT_FALSE(show.Start(u"Sideways"_s));
    catalog.RemoveAll();
    EXPECT_FALSE(show.Start(u"Forward"_s));  // nothing to show
    EXPECT_FALSE(show.IsRunning());
}

TEST_F(SlideshowTest, RemovedNextEntryIsNeverTouched)
{
    Fill(4);
    catalog.SetCurrent(catalog.GetAt(1));
    ASSERT_TRUE(show.Start(u"Forward"_s));
    ASSERT_EQ(show.Next(), catalog.GetAt(2));
    CImageItem* third = catalog.GetAt(3);
    catalog.RemoveItem(catalog.GetAt(2));
    // The show re-anchors at the start of its direction.
    EXPECT_EQ(show.Tick(u"Forward"_s), CSlideshow::Step::Shown);
    EXPECT_EQ(catalog.GetCurrentIndex(), 0);
    EXPECT_EQ(show.Next(), catalog.GetAt(1));
    Ticks(1);
    EXPECT_EQ(show.Next(), third);
}

TEST_F(SlideshowTest, RebuiltCatalogReanchorsAndEmptyOneEndsTheShow)
{
    Fill(3);
    catalog.SetCurrent(catalog.GetAt(0));
    ASSERT_TRUE(show.Start(u"Backward"_s));
    catalog.RemoveAll();
    Fill(2);
    EXPECT_EQ(show.Tick(u"Backward"_s), CSlideshow::Step::Shown);
    EXPECT_EQ(catalog.GetCurrentIndex(), 1);
    catalog.RemoveAll();
    EXPECT_EQ(show.Tick(u"Backward"_s), CSlideshow::Step::Ended);
    EXPECT_FALSE(show.IsRunning());
}

TEST_F(SlideshowTest, StopGivesBackThePreShowStateOnlyToShownEntries)
{
    Fill(3);
    catalog.GetAt(0)->m_zoom = 150;
    catalog.GetAt(0)->m_rotation = 90;
    catalog.GetAt(2)->m_zoom = 50;
    catalog.GetAt(2)->m_savedZoom = 200;  // left from an earlier show
    catalog.SetCurrent(catalog.GetAt(2));
    ASSERT_TRUE(show.Start(u"Forward"_s));
    // Entry 0 is shown twice; the slideshow state must not become its own.
    for (int i = 0; i < 4; ++i) {
        show.Tick(u"Forward"_s);
        CImageItem* item = catalog.GetCurrent();
        if (item == catalog.GetAt(2))
            break;
        show.Show(item, 0, 270);
    }
    show.Stop();
    EXPECT_EQ(catalog.GetAt(0)->m_zoom, 150);
    EXPECT_EQ(catalog.GetAt(0)->m_rotation, 90);
    EXPECT_EQ(catalog.GetAt(1)->m_zoom, -1);
    EXPECT_EQ(catalog.GetAt(1)->m_rotation, 0);
    EXPECT_EQ(catalog.GetAt(2)->m_zoom, 50);  // never shown: untouched
    EXPECT_FALSE(show.IsRunning());
}

TEST(SlideshowPeriod, IntervalIsKeptBetweenASecondAndADay)
{
    EXPECT_EQ(CSlideshow::PeriodMs(3), 3000);
    EXPECT_EQ(CSlideshow::PeriodMs(0), 1000);
    EXPECT_EQ(CSlideshow::PeriodMs(-5), 1000);
    EXPECT_EQ(CSlideshow::PeriodMs(86400), 86400000);
    EXPECT_EQ(CSlideshow::PeriodMs(2147483647), 86400000);
}
}  // namespace
