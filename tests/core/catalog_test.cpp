// The catalog's list operations: clearing, removal, moving the current entry,
// and the title rule used to name entries.
#include "app/image_catalog.h"

#include <gtest/gtest.h>

namespace {

CImageItem* Item(const QString& path)
{
    auto* item = new CImageItem;
    item->m_path = path;
    return item;
}

// A catalog of n entries named "0".."n-1".
void Fill(CImageCatalog& catalog, int n)
{
    for (int i = 0; i < n; ++i)
        catalog.Append(Item(QString::number(i)));
}

QString Order(const CImageCatalog& catalog)
{
    QString order;
    for (const CImageItem* item : catalog.GetList())
        order += item->m_path;
    return order;
}

}  // namespace

TEST(Catalog, RemoveAllOnEmptyCatalogReturnsZeroAndKeepsSourcePath)
{
    CImageCatalog catalog;
    catalog.SetSourcePath(QStringLiteral("\\pics"));
    EXPECT_EQ(catalog.RemoveAll(), 0);
    EXPECT_EQ(catalog.GetSourcePath(), QStringLiteral("\\pics"));
    EXPECT_EQ(catalog.GetCurrentIndex(), -1);
}

TEST(Catalog, RemoveAllClearsEntriesAndCurrent)
{
    CImageCatalog catalog;
    Fill(catalog, 3);
    catalog.SetCurrent(catalog.GetAt(1));
    EXPECT_EQ(catalog.RemoveAll(), 1);
    EXPECT_EQ(catalog.GetCount(), 0);
    EXPECT_EQ(catalog.GetCurrent(), nullptr);
}

TEST(Catalog, RemovingCurrentEntryLeavesNoCurrentEntry)
{
    CImageCatalog catalog;
    Fill(catalog, 3);
    catalog.SetCurrent(catalog.GetAt(1));
    EXPECT_EQ(catalog.RemoveItem(catalog.GetCurrent()), 1);
    EXPECT_EQ(catalog.GetCurrent(), nullptr);
    EXPECT_EQ(Order(catalog), QStringLiteral("02"));
    EXPECT_EQ(catalog.RemoveItem(nullptr), 0);
}

TEST(Catalog, RemovingAnotherEntryKeepsCurrentAndItsIndexFollows)
{
    CImageCatalog catalog;
    Fill(catalog, 3);
    CImageItem* last = catalog.GetAt(2);
    catalog.SetCurrent(last);
    catalog.RemoveItem(catalog.GetAt(0));
    EXPECT_EQ(catalog.GetCurrent(), last);
    EXPECT_EQ(catalog.GetCurrentIndex(), 1);
}

TEST(Catalog, CurrentIsAlwaysAnEntryOfTheList)
{
    CImageCatalog catalog;
    Fill(catalog, 2);
    CImageItem stranger;
    catalog.SetCurrent(&stranger);
    EXPECT_EQ(catalog.GetCurrent(), nullptr);
    EXPECT_EQ(catalog.GetCurrentIndex(), -1);
}

TEST(Catalog, MoveCurrentBeyondEitherEndMovesNothing)
{
    CImageCatalog catalog;
    Fill(catalog, 5);
    catalog.SetCurrent(catalog.GetAt(2));
    EXPECT_EQ(catalog.MoveCurrent(+5), 0);
    EXPECT_EQ(catalog.MoveCurrent(-3), 0);
    EXPECT_EQ(Order(catalog), QStringLiteral("01234"));
}

TEST(Catalog, MoveCurrentKeepsItCurrentAtItsNewPlace)
{
    CImageCatalog catalog;
    Fill(catalog, 5);
    catalog.SetCurrent(catalog.GetAt(3));
    EXPECT_EQ(catalog.MoveCurrent(+1), 1);  // last but one moves to the end
    EXPECT_EQ(Order(catalog), QStringLiteral("01243"));
    EXPECT_EQ(catalog.GetCurrentIndex(), 4);
    EXPECT_EQ(catalog.MoveCurrent(-4), 1);
    EXPECT_EQ(Order(catalog), QStringLiteral("30124"));
    EXPECT_EQ(catalog.GetCurrentIndex(), 0);
}

TEST(Catalog, MoveWithoutCurrentEntryDoesNothing)
{
    CImageCatalog catalog;
    Fill(catalog, 3);
    EXPECT_EQ(catalog.MoveCurrent(1), 0);
}

TEST(Catalog, TitleIsTheTextBetweenLastBackslashAndLastDot)
{
    EXPECT_EQ(CImageCatalog::TitleOf(QStringLiteral("\\My Documents\\IMG_0001.JPG")), QStringLiteral("IMG_0001"));
    EXPECT_EQ(CImageCatalog::TitleOf(QStringLiteral("dir/photo.jpg")), QStringLiteral("dir/photo"));
    EXPECT_EQ(CImageCatalog::TitleOf(QStringLiteral("a.b.c.png")), QStringLiteral("a.b.c"));
    EXPECT_EQ(CImageCatalog::TitleOf(QStringLiteral("\\x.y\\noext")), QString());
    EXPECT_EQ(CImageCatalog::TitleOf(QStringLiteral("\\dir\\.png")), QString());
    EXPECT_EQ(CImageCatalog::TitleOf(QString()), QString());
}

TEST(Catalog, NotifierReceivesHints)
{
    CImageCatalog catalog;
    std::vector<int> hints;
    catalog.SetNotifier([&](int hint) { hints.push_back(hint); });
    catalog.Notify(CImageCatalog::kHintListChanged);
    catalog.Notify(CImageCatalog::kHintCurrentChanged);
    EXPECT_EQ(hints, (std::vector<int> {2, 0}));
}
