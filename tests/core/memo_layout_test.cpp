// The memo overlay's decisions: when it shows, its font, colour, alignment
// and rectangle.
#include "app/image_item.h"
#include "app/memo_overlay.h"
#include "app/settings.h"
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
        m_item.m_memo.content = QStringLiteral("Harbour at dawn\nsecond line");
    }
    void TearDown() override { DevicePath::SetDeviceRoot(m_oldRoot); }

    QTemporaryDir m_root;
    QString m_oldRoot;
    CImageItem m_item;
};

}  // namespace

// The font follows the record's size (plus two), weight and slant, but not
// its face or colour: always Tahoma in orange, on a transparent background,
// centred at the top of the screen less a 10-pixel margin.
TEST_F(MemoLayoutTest, OverlayOfAnAlbumPictureInFullScreen)
{
    for (bool plain : {false, true}) {
        if (plain) {
            m_item.m_memo.size = QStringLiteral("20");
            m_item.m_memo.bold = 0;
            m_item.m_memo.italic = 1;
            m_item.m_memo.font = QStringLiteral("Courier New");
            m_item.m_memo.color = QStringLiteral("#0000FF");
        }
        const CMemoLayout layout = LayoutMemo(m_item, Settings::kModeFullScreen);
        ASSERT_TRUE(layout.visible);
        const CMemoFont& f = layout.font;
        EXPECT_EQ(std::tuple(f.m_height, f.PixelSize(), f.m_weight, f.m_italic),
                  plain ? std::tuple(22, 22, 400, true) : std::tuple(11, 11, 700, false));
        EXPECT_EQ(f.m_face, QStringLiteral("Tahoma"));
        EXPECT_EQ(std::tuple(f.m_textRed, f.m_textGreen, f.m_textBlue, f.m_transparent), std::tuple(255, 100, 0, 1));
        EXPECT_EQ(layout.flags, kDtCenter);
        EXPECT_EQ(std::tuple(layout.left, layout.top, layout.right, layout.bottom), std::tuple(10, 10, 230, 310));
        EXPECT_EQ(layout.text, m_item.m_memo.content);
    }
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

// Nine names in any case, Top Center otherwise; the flags keep both directions.
TEST(MemoAlignFlags, NineNamesIgnoringCaseAndTopCenterOtherwise)
{
    const std::tuple<const char*, int, Qt::Alignment> names[] = {
        {"Top Left", 0, Qt::AlignLeft | Qt::AlignTop},
        {"Top Center", 1, Qt::AlignHCenter | Qt::AlignTop},
        {"Middle Center", 5, Qt::AlignHCenter | Qt::AlignVCenter},
        {"Bottom Center", 9, Qt::AlignHCenter | Qt::AlignBottom},
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
}

// Leading digits plus two, saturating; the pixel size is always usable.
TEST(MemoFontHeight, LeadingDigitsPlusTwoAndAUsablePixelSize)
{
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
