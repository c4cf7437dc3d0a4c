// The Image Info texts of an entry: where it comes from, its size and its
// view state.
#include "app/image_info.h"
#include "app/image_item.h"

#include <QDateTime>
#include <gtest/gtest.h>

TEST(ImageInfo, NameAndLocationFollowWhereTheEntryWasGathered)
{
    struct Case {
        const char* path;
        const char* source;
        const char* name;
        const char* location;
    };
    const Case cases[] = {
        {"\\My Documents\\sun.jpg", "\\My Documents\\sun.jpg", "sun.jpg", "\\My Documents"},  // opened on its own
        {"\\sun.jpg", "\\sun.jpg", "sun.jpg", ""},                                            // in the root folder
        {"garden.png", "\\pics\\collection.zip", "garden.png", "\\pics\\collection.z\nip"},   // member without a folder
        {"trip\\a.png", "\\a.ZIP", "a.png", "\\a.ZIP"},
        {"\\pics\\sub\\x.jpg", "\\pics", "x.jpg", "\\pics"},  // scanned with subfolders: the top folder
        {"\\p\\x.jpg", "\\albums\\my.lab", "x.jpg", "\\albums\\my.lab"},
        {"\\abcdefghijklmnopq\\x.jpg", "\\abcdefghijklmnopq\\x.jpg", "x.jpg", "\\abcdefghijklmnopq"},  // 18: one line
        {"\\abcdefghijklmnopqr\\x.jpg", "\\abcdefghijklmnopqr\\x.jpg", "x.jpg", "\\abcdefghijklmnopq\nr"},  // 19
        {"\\v1.2\\x", "\\v1.2", "x", "\\v1.2"},  // a dot before the picture's own name
    };
    for (const Case& c : cases) {
        CImageItem item;
        item.m_path = QString::fromUtf8(c.path);
        item.m_source = QString::fromUtf8(c.source);
        const CImageInfoTexts t = ImageInfo::TextsOf(item);
        EXPECT_EQ(t.fileName, QString::fromUtf8(c.name)) << c.path;
        EXPECT_EQ(t.location, QString::fromUtf8(c.location)) << c.path;
    }
}

TEST(ImageInfo, FileSizeSwitchesUnitsOnTheExactByteCount)
{
    const std::pair<uint32_t, const char*> sizes[] = {
        {1023, "1023 Bytes"}, {1024, "1.00 KB"},      {1048575, "1024.00 KB"},
        {1572864, "1.50 MB"}, {16908289, "16.13 MB"},  // a float would round it to 16.125 MB and print 16.12
    };
    for (const auto& [bytes, text] : sizes) {
        CImageItem item;
        item.m_fileSize = bytes;
        EXPECT_EQ(ImageInfo::TextsOf(item).fileSize, QString::fromLatin1(text)) << bytes;
    }
}

TEST(ImageInfo, PictureFieldsOfAnEntry)
{
    CImageItem item;
    item.m_modified = CTime(QDateTime(QDate(2004, 3, 5), QTime(9, 7, 2)).toSecsSinceEpoch());
    item.m_bitsPerPixel = 8;
    item.m_width = 640;
    item.m_height = 480;
    item.m_rotation = 270;
    item.m_brightness = -30;
    item.m_contrast = 12;
    const CImageInfoTexts t = ImageInfo::TextsOf(item);
    EXPECT_EQ((QStringList {t.time, t.colors, t.dimensions, t.rotation, t.brightness, t.contrast}),
              (QStringList {"2004-3-5 9:7:2", "8 Bits", "640 x 480", "+270", "-30", "12"}));
    EXPECT_EQ(ImageInfo::TextsOf(CImageItem()).time, QString());  // no file facts: no time
}

TEST(ImageInfo, RotationAndZoomTexts)
{
    const std::pair<int, const char*> rotations[] = {{0, "+0"}, {90, "+90"}, {180, "+180"}, {270, "+270"}, {45, ""}};
    for (const auto& [degrees, text] : rotations)
        EXPECT_EQ(ImageInfo::Rotation(degrees), QString::fromLatin1(text)) << degrees;
    const std::pair<int, const char*> zooms[]
        = {{-1, "Shrink To Fill"}, {0, "Shrink To Fit"}, {1, "1 %"}, {100, "100 %"}};
    for (const auto& [zoom, text] : zooms)
        EXPECT_EQ(ImageInfo::Zoom(zoom), QString::fromLatin1(text)) << zoom;
}
