// The memo record's text form: formatting, positional parsing, odd texts.
#include "app/image_item.h"
#include "image/memo_text.h"

#include <gtest/gtest.h>

namespace {

CMemoRecord Record(const char* font, const char* size, int bold, int italic, const char* align, const char* color,
                   const char* content)
{
    return {QString::fromUtf8(font),  QString::fromUtf8(size),   bold, italic, QString::fromUtf8(align),
            QString::fromUtf8(color), QString::fromUtf8(content)};
}

}  // namespace

TEST(MemoText, FormatThenParseGivesTheSameRecord)
{
    EXPECT_EQ(FormatMemoText(CMemoRecord()),
              QStringLiteral("font=Tahoma;size=9;bold=1;italic=0;align=Top Center;color=#FFFFFF;content="));
    EXPECT_EQ(CImageItem().m_memo, CMemoRecord());
    // Keys inside the content are text.
    const CMemoRecord memo = Record("Courier New", "40", 0, 1, "Middle Left", "#12AB9F", "a=b;c;font=x;size=1 é中");
    CMemoRecord back;
    ASSERT_EQ(ParseMemoText(FormatMemoText(memo), &back), 1);
    EXPECT_EQ(back, memo);
}

// Each value runs from its key to the next key, each key looked for only
// after the one before: values may hold semicolons and equals signs, a key
// out of order is not found and keeps its default, style flags take leading
// digits only (saturating), and a text with a key missing is refused but read.
TEST(MemoText, ParsingIsPositional)
{
    const CMemoRecord defaults;
    const struct {
        const char16_t* text;
        int result;
        CMemoRecord memo;
    } cases[] = {
        {u"font=Arial;size=12;bold=0;italic=1;align=Bottom Right;color=#FFFFFF;content=Summer; beach=2004", 1,
         Record("Arial", "12", 0, 1, "Bottom Right", "#FFFFFF", "Summer; beach=2004")},
        {u"font=Tahoma;size=9;bold=1;italic=0;align=Top Center;color=#FFFFFF;content=", 1, defaults},
        {u"font=;size=;bold=12px;italic=-1;align=;color=;content=", 1, Record("", "", 12, 0, "", "", "")},
        {u"font=;size=;bold=99999999999999;italic= 1;align=;color=;content=", 1,
         Record("", "", 2147483647, 0, "", "", "")},
        {u"font=Arial;bold=0;content=Hi", 0, Record("Arial", "9", 0, 0, "Top Center", "#FFFFFF", "Hi")},
        {u"font=Arial;size=12;content=Hi;bold=0", 0,
         Record("Arial", "12;content=Hi", 0, 0, "Top Center", "#FFFFFF", "")},
        {u";size=12;font=Arial;bold=0;italic=1;align=Top Left;color=#000000;content=x", 0,
         Record("Arial", "9", 0, 1, "Top Left", "#000000", "x")},
        {u"just a note", 0, defaults},
    };
    for (const auto& c : cases) {
        CMemoRecord memo;
        memo.content = QStringLiteral("old");
        EXPECT_EQ(ParseMemoText(c.text, &memo), c.result) << QString::fromUtf16(c.text).toStdString();
        EXPECT_EQ(memo, c.memo) << QString::fromUtf16(c.text).toStdString();
    }
}
