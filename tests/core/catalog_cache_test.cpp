// The cache policy when the current picture changes, as the decode jobs keep
// it: with Quick View on every decoded picture stays within the budget, the
// least recently shown freed first past it, and the neighbours are decoded
// ahead; with it off only the shown one does.
#include "app/image_catalog.h"
#include "app/picture_jobs.h"
#include "platform/device_path.h"
#include "test_pictures.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <malloc.h>
#include <string>
#include <sys/resource.h>
#include <thread>

using namespace Qt::StringLiterals;

namespace {

// The size of this process's address space, from /proc/self/status.
[[maybe_unused]] int64_t AddressSpaceBytes()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmSize:", 0) == 0)
            return std::stoll(line.substr(7)) * 1024;
    return 0;
}

class CatalogCache : public ::testing::Test {
protected:
    void SetUp() override
    {
        DevicePath::SetDeviceRoot(m_dir.path());
        for (const char* name : {"a.bmp", "b.bmp", "c.bmp"}) {
            ASSERT_TRUE(WriteBytes(m_dir.path() + "/" + name, BuildBmp(SolidBmp(16, 12, 24, 200, 100, 50))));
            auto* item = new CImageItem;
            item->m_path = u"\\"_s + name;
            item->m_source = u"\\"_s;
            m_catalog.Append(item);
        }
    }
    void TearDown() override { DevicePath::SetDeviceRoot(QString()); }

    // Shows item as the main view does, then lets every job land.
    void Show(CImageItem* item, bool quickView, int64_t budget = kDecodedBudgetBytes)
    {
        m_catalog.SetCurrent(item);
        m_jobs.Show(item, quickView, budget);
        Settle();
    }
    void Settle()
    {
        while (m_jobs.IsBusy()) {
            m_jobs.LandFinished();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }
    // Which entries hold a decoded picture, in catalog order: "101".
    std::string Decoded() const
    {
        std::string decoded;
        for (const CImageItem* each : m_catalog.GetList())
            decoded += each->m_picture.m_fullBitmap ? '1' : '0';
        return decoded;
    }
    CImageItem* At(int i) const { return m_catalog.GetAt(i); }

    QTemporaryDir m_dir;
    CImageCatalog m_catalog;
    // One worker: the jobs end in the order they were asked for.
    CPictureJobs m_jobs {m_catalog, 1};
};

}  // namespace

// With Quick View on the neighbours are decoded ahead and pictures stay;
// off, showing one frees the others and nothing is decoded ahead.
TEST_F(CatalogCache, QuickViewOnDecodesTheNeighboursAheadAndOffKeepsOnlyTheShownOne)
{
    // Off after on: the pictures decoded while it was on go as soon as one is shown.
    for (bool quickView : {true, false}) {
        Show(At(0), quickView);
        EXPECT_EQ(Decoded(), quickView ? "110" : "100");
        Show(At(1), quickView);
        EXPECT_EQ(Decoded(), quickView ? "111" : "010");
    }
    // A neighbour appended while the last entry is shown is decoded once it arrives.
    Show(At(2), true);
    auto* d = new CImageItem;
    d->m_path = u"\\a.bmp"_s;
    d->m_source = u"\\"_s;
    m_catalog.Append(d);
    m_jobs.ListChanged();
    Settle();
    EXPECT_EQ(Decoded(), "0111");
}

// Pictures of 576 bytes each, shown in the order b, a, c: past the budget the
// least recently shown go first; a neighbour that does not fit is not kept;
// the shown one stays even alone over it.
TEST_F(CatalogCache, QuickViewFreesTheLeastRecentlyShownPicturesPastTheBudget)
{
    const struct {
        int64_t budget;
        const char* afterB;
        const char* kept;
    } cases[] = {{3 * 576, "111", "111"}, {2 * 576, "110", "101"}, {0, "010", "001"}};
    for (const auto& c : cases) {
        for (CImageItem* each : m_catalog.GetList())
            each->m_picture.FreePicture();
        Show(At(1), true, c.budget);
        EXPECT_EQ(Decoded(), c.afterB) << "budget " << c.budget;
        Show(At(0), true, c.budget);
        Show(At(2), true, c.budget);
        EXPECT_EQ(Decoded(), c.kept) << "budget " << c.budget;
    }
}

// Results for a picture no longer shown, or for a catalog rebuilt meanwhile,
// never land; jobs running when their owner goes end first.
TEST_F(CatalogCache, AResultNoLongerWantedIsDroppedAndJobsEndWithTheirOwner)
{
    m_catalog.SetCurrent(At(0));
    m_jobs.Show(At(0), false);
    Show(At(1), false);
    EXPECT_EQ(Decoded(), "010");

    m_catalog.SetCurrent(At(2));
    m_jobs.Show(At(2), true);
    m_catalog.RemoveAll();
    auto* fresh = new CImageItem;
    fresh->m_path = u"\\c.bmp"_s;
    fresh->m_source = u"\\"_s;
    m_catalog.Append(fresh);
    Settle();
    EXPECT_EQ(Decoded(), "0");

    auto ending = std::make_unique<CPictureJobs>(m_catalog, 2);
    m_catalog.SetCurrent(fresh);
    ending->Show(fresh, true);
    ending.reset();
    EXPECT_EQ(Decoded(), "0");
}

// A sharper region lands in its entry's decoded picture and is told; one whose
// picture was freed meanwhile (or an entry no longer in the catalog) is dropped.
TEST_F(CatalogCache, ARegionLandsInItsDecodedPictureOnly)
{
    int told = 0;
    m_jobs.SetOnDecoded([&](CImageItem*) { ++told; });
    Show(At(0), true);
    told = 0;
    const CPictureRegion region {{2, 2, 8, 6}, 1};
    m_jobs.ShowDetail(At(0), region);
    Settle();
    const CPicture& picture = At(0)->m_picture;
    ASSERT_NE(picture.m_detail, nullptr);
    EXPECT_EQ(std::tuple(picture.m_detailRegion, picture.m_detail->Width(), told), std::tuple(region, 8, 1));

    m_jobs.ShowDetail(At(0), {{0, 0, 4, 4}, 1});
    At(0)->m_picture.FreePicture();
    m_jobs.ShowDetail(At(1), region);
    m_catalog.RemoveItem(At(1));
    Settle();
    EXPECT_EQ(std::tuple(picture.m_detail, told), std::tuple(nullptr, 1));
}

// Sanitizers reserve address space of their own: no limit can be set there.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define LUMO_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer) || __has_feature(memory_sanitizer)
#define LUMO_SANITIZED 1
#endif
#endif

#ifndef LUMO_SANITIZED
// A decode that lacks memory is tried again once the other pictures are freed.
// Run in a child whose address space is held to a little more than one
// picture: b fails beside a's cached picture and fits once a is freed.
TEST_F(CatalogCache, QuickViewRetriesADecodeThatLackedMemoryWithTheCacheFreed)
{
    // 8000 x 300 pixels: 7.2 MB each, kept at their own size (never shrunk).
    for (const char* name : {"a.bmp", "b.bmp"})
        ASSERT_TRUE(WriteBytes(m_dir.path() + "/" + name, BuildBmp(SolidBmp(8000, 300, 24, 200, 100, 50))));
    CImageItem* a = m_catalog.GetAt(0);
    CImageItem* b = m_catalog.GetAt(1);
    auto run = [&] {
        mallopt(M_MMAP_THRESHOLD, 64 << 10);  // large blocks go back to the system when freed
        const CImageLoader loader;
        const std::vector<CPicture*> pictures = {&a->m_picture, &b->m_picture};
        if (!LoadCurrentPicture(loader, pictures, a->m_picture, a->File(), true))
            return 2;
        rlimit limit {};
        limit.rlim_cur = limit.rlim_max = rlim_t(AddressSpaceBytes() + (10 << 20));
        setrlimit(RLIMIT_AS, &limit);
        return LoadCurrentPicture(loader, pictures, b->m_picture, b->File(), true) && !a->m_picture.m_fullBitmap ? 0
                                                                                                                 : 1;
    };
    // A fresh process: memory other tests freed would otherwise be room.
    const std::string style = GTEST_FLAG_GET(death_test_style);
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(std::exit(run()), testing::ExitedWithCode(0), "");
    GTEST_FLAG_SET(death_test_style, style);
}
#endif
