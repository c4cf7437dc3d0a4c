// The cache policy when the current picture changes: with Quick View on every
// decoded picture stays; with it off only the shown one does.
#include "app/image_catalog.h"
#include "platform/device_path.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

void WriteBmp(const QString& path, int w, int h)
{
    const int stride = (w * 3 + 3) & ~3;
    QByteArray b(54 + stride * h, '\0');
    auto put32 = [&](int at, quint32 v) { memcpy(b.data() + at, &v, 4); };
    b[0] = 'B';
    b[1] = 'M';
    put32(2, quint32(b.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, quint32(w));
    put32(22, quint32(h));
    b[26] = 1;
    b[28] = 24;
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(b);
}

class CatalogCache : public ::testing::Test {
protected:
    void SetUp() override
    {
        DevicePath::SetDeviceRoot(m_dir.path());
        for (const char* name : {"a.bmp", "b.bmp"}) {
            WriteBmp(m_dir.path() + "/" + name, 16, 12);
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
