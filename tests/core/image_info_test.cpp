// The texts of an entry shown by Image Info and the file list: where it comes
// from, its size and date, and its view state.
#include "app/file_list_text.h"
#include "app/image_info.h"
#include "app/image_item.h"

#include <QDateTime>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(ImageInfo, TextsOfAnEntry)
{
    const struct {
        const char* path;
        const char* source;
        const char* name;
        const char* location;
    } cases[] = {
        {"\\My Documents\\sun.jpg", "\\My Documents\\sun.jpg", "sun.jpg", "\\My Documents"},  // opened on its own
        {"\\sun.jpg", "\\sun.jpg", "sun.jpg", ""},                                            // in the root folder
        {"garden.png", "\\pics\\collection.zip", "garden.png", "\\pics\\collection.z\nip"},   // member without a folder
        {"\\pics\\sub\\x.jpg", "\\pics", "x.jpg", "\\pics"},  // scanned with subfolders: the top folder
        {"\\abcdefghijklmnopq\\x.jpg", "\\abcdefghijklmnopq\\x.jpg", "x.jpg", "\\abcdefghijklmnopq"},  // 18: one line
        {"\\abcdefghijklmnopqr\\x.jpg", "\\abcdefghijklmnopqr\\x.jpg", "x.jpg", "\\abcdefghijklmnopq\nr"},  // 19
        {"\\v1.2\\x", "\\v1.2", "x", "\\v1.2"},  // a dot before the picture's own name
    };
    for (const auto& c : cases) {
        CImageItem item;
        item.m_path = QString::fromUtf8(c.path);
        item.m_source = QString::fromUtf8(c.source);
        const CImageInfoTexts t = ImageInfo::TextsOf(item);
        EXPECT_EQ(t.fileName, QString::fromUtf8(c.name)) << c.path;
        EXPECT_EQ(t.location, QString::fromUtf8(c.location)) << c.path;
    }
    EXPECT_EQ(FileListText::NameOf(u"dir\\"_s), QString());
    // The size switches units at KiB and MiB.
    // Image Info uses the exact count; the file list passes it through a 32-bit float.
    const struct {
        uint32_t bytes;
        bool exact;
        const char* text;
    } sizes[] = {
        {0, false, "0 Bytes"},         {1023, true, "1023 Bytes"},         {1024, true, "1.00 KB"},
        {1048575, true, "1024.00 KB"}, {1048576, false, "1.00 MB"},        {1536000, false, "1.46 MB"},
        {16908289, true, "16.13 MB"},  {4294967295u, false, "4096.00 MB"},
    };
    for (const auto& c : sizes) {
        CImageItem item;
        item.m_picture.m_fileSize = c.bytes;
        EXPECT_EQ(c.exact ? ImageInfo::TextsOf(item).fileSize : FileListText::SizeText(c.bytes),
                  QString::fromLatin1(c.text))
            << c.bytes;
    }
    CImageItem item;
    item.m_picture.m_modified = CTime(QDateTime(QDate(2004, 3, 5), QTime(9, 7, 2)).toSecsSinceEpoch());
    item.m_picture.m_bitsPerPixel = 8;
    item.m_picture.m_width = 640;
    item.m_picture.m_height = 480;
    item.m_rotation = 270;
    item.m_brightness = -30;
    item.m_contrast = 12;
    const CImageInfoTexts t = ImageInfo::TextsOf(item);
    EXPECT_EQ((QStringList {t.time, t.colors, t.dimensions, t.rotation, t.brightness, t.contrast}),
              (QStringList {"2004-3-5 9:7:2", "8 Bits", "640 x 480", "+270", "-30", "12"}));
    EXPECT_EQ(ImageInfo::TextsOf(CImageItem()).time, QString());  // no file facts: no time
    EXPECT_EQ((QStringList {ImageInfo::Rotation(180), ImageInfo::Rotation(45), ImageInfo::Zoom(-1), ImageInfo::Zoom(0),
                            ImageInfo::Zoom(100)}),
              (QStringList {"+180", "", "Shrink To Fill", "Shrink To Fit", "100 %"}));
}
