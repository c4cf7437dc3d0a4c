// The cache policy when the current picture changes: with Quick View on every
// decoded picture stays; with it off only the shown one does.
#include "app/image_catalog.h"
#include "platform/device_path.h"
#include "test_pictures.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class CatalogCache : public ::testing::Test {
protected:
    void SetUp() override
    {
        DevicePath::SetDeviceRoot(m_dir.path());
        for (const char* name : {"a.bmp", "b.bmp"}) {
            ASSERT_TRUE(WriteBytes(m_dir.path() + "/" + name, BuildBmp(SolidBmp(16, 12, 24, 200, 100, 50))));
            auto* item = new CImageItem;
            item->m_path = QStringLiteral("\\") + name;
            item->m_source = QStringLiteral("\\");
            m_catalog.Append(item);
        }
    }
    void TearDown() override { DevicePath::SetDeviceRoot(QString()); }

    QTemporaryDir m_dir;
    CImageCatalog m_catalog;
};

}  // namespace

TEST_F(CatalogCache, QuickViewOffFreesThePreviousPicture)
{
    CImageItem* a = m_catalog.GetAt(0);
    CImageItem* b = m_catalog.GetAt(1);
    ASSERT_TRUE(m_catalog.LoadCurrentPicture(a, false));
    ASSERT_NE(a->m_fullBitmap, nullptr);
    ASSERT_TRUE(m_catalog.LoadCurrentPicture(b, false));
    EXPECT_EQ(a->m_fullBitmap, nullptr);
    EXPECT_EQ(a->m_displayBitmap, nullptr);
    EXPECT_NE(b->m_fullBitmap, nullptr);
}

TEST_F(CatalogCache, QuickViewOnKeepsEveryDecodedPicture)
{
    CImageItem* a = m_catalog.GetAt(0);
    CImageItem* b = m_catalog.GetAt(1);
    ASSERT_TRUE(m_catalog.LoadCurrentPicture(a, true));
    ASSERT_TRUE(m_catalog.LoadCurrentPicture(b, true));
    EXPECT_NE(a->m_fullBitmap, nullptr);
    EXPECT_NE(b->m_fullBitmap, nullptr);
    EXPECT_EQ(m_catalog.LoadCurrentPicture(nullptr, true), 0);
}
