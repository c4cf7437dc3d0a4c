// The memo overlay's decisions: when it shows, its font, colour, alignment
// and rectangle.
#include "app/image_item.h"
#include "app/settings.h"
#include "image/memo_layout.h"
#include "platform/device_path.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

class MemoLayoutTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_root.isValid());
        m_oldRoot = DevicePath::DeviceRoot();
        DevicePath::SetDeviceRoot(m_root.path());
        QFile album(m_root.filePath(QStringLiteral("trip.lab")));
        ASSERT_TRUE(album.open(QIODevice::WriteOnly));
        ASSERT_TRUE(QDir(m_root.path()).mkdir(QStringLiteral("pictures")));
        m_item.m_source = QStringLiteral("\\trip.lab");
        m_item.m_memoContent = QStringLiteral("Harbour at dawn\nsecond line");
    }
    void TearDown() override { DevicePath::SetDeviceRoot(m_oldRoot); }

    QTemporaryDir m_root;
    QString m_oldRoot;
    CImageItem m_item;
};

}  // namespace

TEST_F(MemoLayoutTest, DefaultRecordOfAnAlbumPictureInFullScreen)
{
    const CMemoLayout layout = LayoutMemo(m_item, Settings::kModeFullScreen);
    ASSERT_TRUE(layout.visible);
    EXPECT_EQ(layout.font.m_height, 11);
    EXPECT_EQ(layout.font.PixelSize(), 11);
    EXPECT_EQ(layout.font.m_weight, 700);
    EXPECT_FALSE(layout.font.m_italic);
    EXPECT_EQ(layout.font.m_face, QStringLiteral("Tahoma"));
    EXPECT_EQ(layout.font.m_textRed, 255);
    EXPECT_EQ(layout.font.m_textGreen, 100);
    EXPECT_EQ(layout.font.m_textBlue, 0);
    EXPECT_EQ(layout.font.m_transparent, 1);
    EXPECT_EQ(layout.flags, kDtCenter);
    EXPECT_EQ(layout.left, 10);
    EXPECT_EQ(layout.top, 10);
    EXPECT_EQ(layout.right, 230);
    EXPECT_EQ(layout.bottom, 310);
    EXPECT_EQ(layout.text, m_item.m_memoContent);
}

TEST_F(MemoLayoutTest, OverlayOnlyForAlbumPicturesInFullScreen)
{
    for (int mode : {Settings::kModeList, Settings::kModeStrip, Settings::kModeEffect})
        EXPECT_FALSE(LayoutMemo(m_item, mode).visible) << "mode " << mode;
    m_item.m_source = QStringLiteral("\\pictures");
    EXPECT_FALSE(LayoutMemo(m_item, Settings::kModeFullScreen).visible);
    m_item.m_source = QStringLiteral("\\gone.lab");  // an album file that no longer exists
    EXPECT_FALSE(LayoutMemo(m_item, Settings::kModeFullScreen).visible);
}

TEST_F(MemoLayoutTest, FontFollowsTheMemoFieldsButNotItsFontOrColour)
{
    m_item.m_memoSize = QStringLiteral("20");
    m_item.m_memoBold = 0;
    m_item.m_memoItalic = 1;
    m_item.m_memoFont = QStringLiteral("Courier New");
    m_item.m_memoColor = QStringLiteral("#0000FF");
    const CMemoLayout layout = LayoutMemo(m_item, Settings::kModeFullScreen);
    EXPECT_EQ(layout.font.m_height, 22);
    EXPECT_EQ(layout.font.m_weight, 400);
    EXPECT_TRUE(layout.font.m_italic);
    EXPECT_EQ(layout.font.m_face, QStringLiteral("Tahoma"));
    EXPECT_EQ(layout.font.m_textBlue, 0);
}

TEST(MemoAlignFlags, NineNamesIgnoringCaseAndTopCenterOtherwise)
{
    const std::pair<const char*, int> names[] = {
        {"Top Left", 0},     {"Top Center", 1},  {"Top Right", 2},     {"Middle Left", 4},   {"Middle Center", 5},
        {"Middle Right", 6}, {"Bottom Left", 8}, {"Bottom Center", 9}, {"Bottom Right", 10},
    };
    for (const auto& [name, flags] : names) {
        EXPECT_EQ(MemoAlignFlags(QString::fromLatin1(name)), flags) << name;
        EXPECT_EQ(MemoAlignFlags(QString::fromLatin1(name).toUpper()), flags) << name;
    }
    EXPECT_EQ(MemoAlignFlags(QStringLiteral("mIDDLE cENTER")), 5);
    EXPECT_EQ(MemoAlignFlags(QStringLiteral("Middle  Center")), 1);
    EXPECT_EQ(MemoAlignFlags(QStringLiteral("Centre")), 1);
    EXPECT_EQ(MemoAlignFlags(QString()), 1);
}

TEST(MemoAlignFlags, AlignmentKeepsBothDirections)
{
    CMemoLayout layout;
    EXPECT_EQ(layout.Alignment(), Qt::AlignHCenter | Qt::AlignTop);
    layout.flags = MemoAlignFlags(QStringLiteral("Bottom Right"));
    EXPECT_EQ(layout.Alignment(), Qt::AlignRight | Qt::AlignBottom);
    layout.flags = MemoAlignFlags(QStringLiteral("middle left"));
    EXPECT_EQ(layout.Alignment(), Qt::AlignLeft | Qt::AlignVCenter);
}

TEST(MemoFontHeight, LeadingDigitsPlusTwo)
{
    EXPECT_EQ(MemoFontHeight(QStringLiteral("9")), 11);
    EXPECT_EQ(MemoFontHeight(QStringLiteral(" 12pt")), 14);
    EXPECT_EQ(MemoFontHeight(QStringLiteral("large")), 2);
    EXPECT_EQ(MemoFontHeight(QString()), 2);
    EXPECT_EQ(MemoFontHeight(QStringLiteral("-5")), -3);
    // Absurd sizes saturate instead of overflowing.
    EXPECT_EQ(MemoFontHeight(QStringLiteral("99999999999999999999")), 100002);
}

TEST(MemoFont, PixelSizeIsAlwaysUsable)
{
    CMemoFont font;
    font.m_height = -3;  // a character height
    EXPECT_EQ(font.PixelSize(), 3);
    font.m_height = 0;
    EXPECT_EQ(font.PixelSize(), 1);
    font.m_height = 100002;
    EXPECT_EQ(font.PixelSize(), 100000);
}
