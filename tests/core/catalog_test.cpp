// The catalog's list operations: clearing, removal, moving the current entry,
// and the title rule used to name entries.
#include "app/image_catalog.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// A catalog of n entries named "0".."n-1", the given one current.
void Fill(CImageCatalog& catalog, int n, int current = -1)
{
    for (int i = 0; i < n; ++i) {
        auto* item = new CImageItem;
        item->m_path = QString::number(i);
        catalog.Append(item);
    }
    catalog.SetCurrent(catalog.GetAt(current));
}

QString Order(const CImageCatalog& catalog)
{
    QString order;
    for (const CImageItem* item : catalog.GetList())
        order += item->m_path;
    return order;
}

}  // namespace

TEST(Catalog, RemovalKeepsTheCurrentEntryOnlyWhileItIsListedAndMovingKeepsItCurrent)
{
    CImageCatalog catalog;
    catalog.SetSourcePath(u"\\pics"_s);
    EXPECT_EQ(catalog.RemoveAll(), 0);
    EXPECT_EQ(catalog.GetSourcePath(), u"\\pics"_s);
    Fill(catalog, 4, 3);
    CImageItem* last = catalog.GetCurrent();
    EXPECT_EQ(catalog.RemoveItem(catalog.GetAt(0)), 1);
    EXPECT_EQ(catalog.GetCurrentIndex(), 2);
    EXPECT_EQ(catalog.RemoveItem(last), 1);
    EXPECT_EQ(catalog.GetCurrent(), nullptr);
    EXPECT_EQ(Order(catalog), u"12"_s);
    EXPECT_EQ(catalog.RemoveItem(nullptr), 0);
    CImageItem stranger;
    catalog.SetCurrent(&stranger);
    EXPECT_EQ(catalog.GetCurrentIndex(), -1);
    catalog.SetCurrent(catalog.GetAt(1));
    EXPECT_EQ(catalog.RemoveAll(), 1);
    EXPECT_TRUE(catalog.GetCount() == 0 && catalog.GetCurrent() == nullptr);
    // Moving keeps the current entry current at its new place, never past an end.
    Fill(catalog, 5);
    EXPECT_EQ(catalog.MoveCurrent(1), 0);  // no current entry
    catalog.SetCurrent(catalog.GetAt(3));
    EXPECT_EQ(catalog.MoveCurrent(+2) + catalog.MoveCurrent(-4), 0);
    EXPECT_EQ(catalog.MoveCurrent(+1), 1);
    EXPECT_EQ(Order(catalog), u"01243"_s);
    EXPECT_EQ(catalog.GetCurrentIndex(), 4);
    EXPECT_EQ(catalog.MoveCurrent(-4), 1);
    EXPECT_EQ(Order(catalog), u"30124"_s);
    EXPECT_EQ(catalog.GetCurrentIndex(), 0);
}

TEST(Catalog, TitleIsTheTextBetweenLastBackslashAndLastDot)
{
    const std::pair<QString, QString> cases[] = {{u"\\My Documents\\IMG_0001.JPG"_s, u"IMG_0001"_s},
                                                 {u"dir/photo.jpg"_s, u"dir/photo"_s},
                                                 {u"a.b.c.png"_s, u"a.b.c"_s},
                                                 {u"\\x.y\\noext"_s, {}},
                                                 {u"\\dir\\.png"_s, {}},
                                                 {{}, {}}};
    for (const auto& [path, title] : cases)
        EXPECT_EQ(CImageCatalog::TitleOf(path), title) << path.toStdString();
}
