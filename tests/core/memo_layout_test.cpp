// The memo record's text form (formatting, positional parsing, odd texts) and
// the memo overlay's decisions: when it shows, its font, colour, alignment and
// rectangle.
#include "app/image_item.h"
#include "app/memo_overlay.h"
#include "app/settings.h"
#include "image/memo_text.h"
#include "platform/device_path.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>

namespace {

CMemoRecord Record(const char* font, const char* size, int bold, int italic, const char* align, const char* color,
                   const char* content)
{
    return {QString::fromUtf8(font),  QString::fromUtf8(size),   bold, italic, QString::fromUtf8(align),
            QString::fromUtf8(color), QString::fromUtf8(content)};
}

}  // namespace

// The font follows the record's size (plus two), weight and slant, but not
// its face or colour: always Tahoma in orange, on a transparent background,
// centred at the top of the screen less a 10-pixel margin.
TEST(MemoLayout, OverlayOfAnAlbumPictureInFullScreenOnly)
{
    QTemporaryDir root;
    const QString oldRoot = DevicePath::DeviceRoot();
    DevicePath::SetDeviceRoot(root.path());
    const auto restore = qScopeGuard([&] { DevicePath::SetDeviceRoot(oldRoot); });
    QFile album(root.filePath(QStringLiteral("trip.lab")));
    ASSERT_TRUE(album.open(QIODevice::WriteOnly) && QDir(root.path()).mkdir(QStringLiteral("pictures")));
    CImageItem item;
    item.m_source = QStringLiteral("\\trip.lab");
    item.m_memo.content = QStringLiteral("Harbour at dawn\nsecond line");
    for (bool plain : {false, true}) {
        if (plain) {
            item.m_memo.size = QStringLiteral("20");
            item.m_memo.bold = 0;
            item.m_memo.italic = 1;
            item.m_memo.font = QStringLiteral("Courier New");
            item.m_memo.color = QStringLiteral("#0000FF");
        }
        const CMemoLayout layout = LayoutMemo(item, Settings::kModeFullScreen);
        ASSERT_TRUE(layout.visible);
        const CMemoFont& f = layout.font;
        EXPECT_EQ(std::tuple(f.m_height, f.PixelSize(), f.m_weight, f.m_italic),
                  plain ? std::tuple(22, 22, 400, true) : std::tuple(11, 11, 700, false));
        EXPECT_EQ(f.m_face, QStringLiteral("Tahoma"));
        EXPECT_EQ(std::tuple(f.m_textRed, f.m_textGreen, f.m_textBlue, f.m_transparent), std::tuple(255, 100, 0, 1));
        EXPECT_EQ(layout.flags, kDtCenter);
        EXPECT_EQ(std::tuple(layout.left, layout.top, layout.right, layout.bottom), std::tuple(10, 10, 230, 310));
        EXPECT_EQ(layout.text, item.m_memo.content);
    }
    // Only album pictures in full screen show it.
    for (int mode : {Settings::kModeList, Settings::kModeStrip, Settings::kModeEffect})
        EXPECT_FALSE(LayoutMemo(item, mode).visible) << "mode " << mode;
    item.m_source = QStringLiteral("\\pictures");
    EXPECT_FALSE(LayoutMemo(item, Settings::kModeFullScreen).visible);
    item.m_source = QStringLiteral("\\gone.lab");  // an album file that no longer exists
    EXPECT_FALSE(LayoutMemo(item, Settings::kModeFullScreen).visible);
}

// Nine names in any case, Top Center otherwise; the flags keep both directions.
TEST(MemoStyle, NineAlignNamesIgnoringCaseAndFontHeightsFromLeadingDigits)
{
    const std::tuple<const char*, int, Qt::Alignment> names[] = {
        {"Top Left", 0, Qt::AlignLeft | Qt::AlignTop},
        {"Bottom Right", 10, Qt::AlignRight | Qt::AlignBottom},
        {"mIDDLE cENTER", 5, Qt::AlignHCenter | Qt::AlignVCenter},
        {"Middle  Center", 1, Qt::AlignHCenter | Qt::AlignTop},
        {"Centre", 1, Qt::AlignHCenter | Qt::AlignTop},
        {"", 1, Qt::AlignHCenter | Qt::AlignTop},
    };
    for (const auto& [name, flags, alignment] : names) {
        CMemoLayout layout;
        layout.flags = MemoAlignFlags(QString::fromLatin1(name).toUpper());
        EXPECT_EQ(layout.flags, flags) << name;
        EXPECT_EQ(layout.Alignment(), alignment) << name;
        EXPECT_EQ(MemoAlignFlags(QString::fromLatin1(name)), flags) << name;
    }
    // Leading digits plus two, saturating; the pixel size is always usable.
    const std::tuple<const char*, int, int> sizes[] = {
        {"9", 11, 11},
        {" 12pt", 14, 14},
        {"large", 2, 2},
        {"", 2, 2},
        {"-5", -3, 3},
        {"-2", 0, 1},
        {"99999999999999999999", 100002, 100000},
    };
    for (const auto& [size, height, pixels] : sizes) {
        CMemoFont font;
        font.m_height = MemoFontHeight(QString::fromLatin1(size));
        EXPECT_EQ(std::pair(font.m_height, font.PixelSize()), std::pair(height, pixels)) << size;
    }
}

// Each value runs from its key to the next key, each key looked for only
// after the one before: values may hold semicolons and equals signs, a key
// out of order is not found and keeps its default, style flags take leading
// digits only (saturating), and a text with a key missing is refused but read.
// Every record read is written back in the same form and read again as it was.
TEST(MemoText, ParsingIsPositionalAndFormatThenParseGivesTheSameRecord)
{
    const CMemoRecord defaults;
    const struct {
        const char16_t* text;
        int result;
        CMemoRecord memo;
    } cases[] = {
        {u"font=Arial;size=12;bold=0;italic=1;align=Bottom Right;color=#FFFFFF;content=Summer; font=x;size=1 é中", 1,
         Record("Arial", "12", 0, 1, "Bottom Right", "#FFFFFF", "Summer; font=x;size=1 é中")},
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
        CMemoRecord back;
        EXPECT_EQ(ParseMemoText(FormatMemoText(memo), &back), 1);
        EXPECT_EQ(back, memo);
    }
    EXPECT_EQ(FormatMemoText(defaults), QString::fromUtf16(cases[1].text));
}
