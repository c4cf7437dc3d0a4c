// The cache policy when the current picture changes: with Quick View on every
// decoded picture stays within the budget, the least recently shown freed
// first past it; with it off only the shown one does.
#include "app/image_catalog.h"
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

    QTemporaryDir m_dir;
    CImageCatalog m_catalog;
};

}  // namespace

TEST_F(CatalogCache, QuickViewOnKeepsEveryDecodedPictureAndOffOnlyTheShownOne)
{
    CImageItem* a = m_catalog.GetAt(0);
    CImageItem* b = m_catalog.GetAt(1);
    for (bool quickView : {true, false}) {
        ASSERT_TRUE(m_catalog.LoadCurrentPicture(a, quickView));
        ASSERT_TRUE(m_catalog.LoadCurrentPicture(b, quickView));
        EXPECT_EQ(a->m_picture.m_fullBitmap != nullptr, quickView);
        EXPECT_NE(b->m_picture.m_fullBitmap, nullptr);
    }
    EXPECT_EQ(m_catalog.LoadCurrentPicture(nullptr, true), 0);
}

// Pictures of 576 bytes each, made current and decoded in the order b, a, c:
// past the budget b goes first, then a; the shown one stays even alone over it.
TEST_F(CatalogCache, QuickViewFreesTheLeastRecentlyShownPicturesPastTheBudget)
{
    const CImageLoader loader;
    std::vector<CPicture*> pictures;
    for (int i = 0; i < 3; ++i)
        pictures.push_back(&m_catalog.GetAt(i)->m_picture);
    const struct {
        int64_t budget;
        const char* kept;  // a, b, c
    } cases[] = {{3 * 576, "111"}, {2 * 576, "101"}, {0, "001"}};
    for (const auto& c : cases) {
        for (CPicture* each : pictures)
            each->FreePicture();
        for (int i : {1, 0, 2}) {
            CImageItem* item = m_catalog.GetAt(i);
            m_catalog.SetCurrent(item);
            ASSERT_EQ(LoadCurrentPicture(loader, pictures, item->m_picture, item->File(), true, c.budget), 1);
        }
        std::string kept;
        for (const CPicture* each : pictures)
            kept += each->m_fullBitmap ? '1' : '0';
        EXPECT_EQ(kept, c.kept) << "budget " << c.budget;
    }
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
        if (!m_catalog.LoadCurrentPicture(a, true))
            return 2;
        rlimit limit {};
        limit.rlim_cur = limit.rlim_max = rlim_t(AddressSpaceBytes() + (10 << 20));
        setrlimit(RLIMIT_AS, &limit);
        return m_catalog.LoadCurrentPicture(b, true) && b->m_picture.m_fullBitmap && !a->m_picture.m_fullBitmap ? 0 : 1;
    };
    // A fresh process: memory other tests freed would otherwise be room.
    const std::string style = GTEST_FLAG_GET(death_test_style);
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(std::exit(run()), testing::ExitedWithCode(0), "");
    GTEST_FLAG_SET(death_test_style, style);
}
#endif
