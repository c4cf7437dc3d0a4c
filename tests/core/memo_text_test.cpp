// The memo record's text form: formatting, positional parsing, odd texts.
#include "app/image_item.h"
#include "image/memo_text.h"

#include <gtest/gtest.h>

TEST(MemoText, NewPictureFormatsToTheDefaultLine)
{
    EXPECT_EQ(FormatMemoText(CMemoRecord()),
              QStringLiteral("font=Tahoma;size=9;bold=1;italic=0;align=Top Center;color=#FFFFFF;content="));
    CImageItem item;
    EXPECT_EQ(MemoRecordOf(item), CMemoRecord());
}

TEST(MemoText, ValuesMayHoldSemicolonsAndEqualsSigns)
{
    CMemoRecord memo;
    ASSERT_EQ(ParseMemoText(u"font=Arial;size=12;bold=0;italic=1;align=Bottom Right;color=#FFFFFF;content=Summer; "
                            u"beach=2004",
                            &memo),
              1);
    EXPECT_EQ(memo.font, QStringLiteral("Arial"));
    EXPECT_EQ(memo.size, QStringLiteral("12"));
    EXPECT_EQ(memo.bold, 0);
    EXPECT_EQ(memo.italic, 1);
    EXPECT_EQ(memo.align, QStringLiteral("Bottom Right"));
    EXPECT_EQ(memo.color, QStringLiteral("#FFFFFF"));
    EXPECT_EQ(memo.content, QStringLiteral("Summer; beach=2004"));
}

TEST(MemoText, FormatThenParseGivesTheSameRecord)
{
    CMemoRecord memo;
    memo.font = QStringLiteral("Courier New");
    memo.size = QStringLiteral("40");
    memo.bold = 0;
    memo.italic = 1;
    memo.align = QStringLiteral("Middle Left");
    memo.color = QStringLiteral("#12AB9F");
    memo.content = QStringLiteral("a=b;c;font=x;size=1 \u00e9\u4e2d");  // keys inside content are text
    CMemoRecord back;
    ASSERT_EQ(ParseMemoText(FormatMemoText(memo), &back), 1);
    EXPECT_EQ(back, memo);
}

TEST(MemoText, TextEndingAfterTheContentKeyHasEmptyContent)
{
    CMemoRecord memo;
    memo.content = QStringLiteral("old");
    ASSERT_EQ(ParseMemoText(u"font=Tahoma;size=9;bold=1;italic=0;align=Top Center;color=#FFFFFF;content=", &memo), 1);
    EXPECT_TRUE(memo.content.isEmpty());
}

TEST(MemoText, StyleFlagsTakeLeadingDigitsOnly)
{
    CMemoRecord memo;
    ParseMemoText(u"font=;size=;bold=12px;italic=-1;align=;color=;content=", &memo);
    EXPECT_EQ(memo.bold, 12);
    EXPECT_EQ(memo.italic, 0);  // does not start with a digit
    EXPECT_TRUE(memo.font.isEmpty());
    EXPECT_TRUE(memo.size.isEmpty());
    ParseMemoText(u"font=;size=;bold=99999999999999;italic= 1;align=;color=;content=", &memo);
    EXPECT_EQ(memo.bold, 2147483647);
    EXPECT_EQ(memo.italic, 0);
}

TEST(MemoText, MissingKeysKeepDefaultsAndTheValueBeforeRunsToTheNextKey)
{
    CMemoRecord memo;
    EXPECT_EQ(ParseMemoText(u"font=Arial;bold=0;content=Hi", &memo), 0);
    EXPECT_EQ(memo.font, QStringLiteral("Arial"));
    EXPECT_EQ(memo.size, QStringLiteral("9"));
    EXPECT_EQ(memo.bold, 0);
    EXPECT_EQ(memo.italic, 0);
    EXPECT_EQ(memo.align, QStringLiteral("Top Center"));
    EXPECT_EQ(memo.content, QStringLiteral("Hi"));

    EXPECT_EQ(ParseMemoText(u"font=Arial;size=12;content=Hi;bold=0", &memo), 0);
    EXPECT_EQ(memo.size, QStringLiteral("12;content=Hi"));
    EXPECT_EQ(memo.bold, 0);
    EXPECT_EQ(memo.content, QString());

    EXPECT_EQ(ParseMemoText(u"", &memo), 0);
    EXPECT_EQ(memo, CMemoRecord());
    EXPECT_EQ(ParseMemoText(u"just a note", &memo), 0);
    EXPECT_EQ(memo, CMemoRecord());
}

TEST(MemoText, KeysOutOfOrderAreFoundOnlyAfterTheOneBefore)
{
    CMemoRecord memo;
    EXPECT_EQ(ParseMemoText(u";size=12;font=Arial;bold=0;italic=1;align=Top Left;color=#000000;content=x", &memo), 0);
    // ;size= comes before font= here, so it is not found after it.
    EXPECT_EQ(memo.font, QStringLiteral("Arial"));
    EXPECT_EQ(memo.size, QStringLiteral("9"));
    EXPECT_EQ(memo.bold, 0);
    EXPECT_EQ(memo.italic, 1);
    EXPECT_EQ(memo.align, QStringLiteral("Top Left"));
    EXPECT_EQ(memo.content, QStringLiteral("x"));
}
