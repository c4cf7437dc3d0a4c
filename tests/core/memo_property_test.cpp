// The Memo Property dialog's list search and its font table.
#include "app/memo_property.h"
#include "image/memo_layout.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(MemoProperty, ListsFindTheFirstEntryBeginningWithTheTextInAnyCase)
{
    const QStringList& sizes = MemoProperty::Sizes();
    const QStringList aligns = MemoAlignNames();
    const struct {
        const QStringList& items;
        const char* text;
        int index;
    } cases[] = {
        {sizes, "9", 3},
        {sizes, "1", 4},  // "10" is the first to begin with 1
        {sizes, "", 0},   // an empty text begins every entry
        {aligns, "bottom right", 8},
        {aligns, "Centre", -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MemoProperty::FindPrefix(c.items, QString::fromLatin1(c.text)), c.index) << c.text;
}

TEST(MemoProperty, FontTableOffersTheFirstTwentyFourFamiliesSortedUntilEmptied)
{
    QStringList families;  // enumerated from "family 29" down to "Family 00"
    for (int i = 29; i >= 0; --i)
        families << QString::fromLatin1(i % 2 ? "family %1" : "Family %1").arg(i, 2, 10, QLatin1Char('0'));
    CFontTable table;
    table.Fill(families);
    EXPECT_EQ(table.Names(), families.mid(0, CFontTable::kSlots));
    EXPECT_FALSE(table.Add(u"late"_s));  // full: the enumeration stops
    // "Family 06", "family 07", ...: the slots filled, in reverse.
    EXPECT_EQ(table.Sorted(), QStringList(families.rbegin() + (families.size() - CFontTable::kSlots), families.rend()));
    table.Clear();
    table.Fill(families.mid(0, 3));
    EXPECT_EQ(table.Names(), families.mid(0, 3));
}
