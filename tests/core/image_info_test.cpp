// The Image Info texts of an entry: where it comes from, its size and its
// view state.
#include "app/image_info.h"
#include "app/image_item.h"

#include <QDateTime>
#include <gtest/gtest.h>

TEST(ImageInfo, LocationIsThePicturesFolderUnlessGatheredFromAnArchiveAlbumOrFolder)
{
    struct Case {
        const char* path;
        const char* source;
        const char* location;
    };
    const Case cases[] = {
        {"\\My Documents\\sun.jpg", "\\My Documents\\sun.jpg", "\\My Documents"},     // opened on its own
        {"\\sun.jpg", "\\sun.jpg", ""},                                               // in the root folder
        {"garden.png", "\\pics\\collection.zip", "\\pics\\collection.z\nip"},         // member without a folder
        {"trip\\a.png", "\\a.ZIP", "\\a.ZIP"},
        {"\\pics\\sub\\x.jpg", "\\pics", "\\pics"},                                   // scanned with subfolders
        {"\\p\\x.jpg", "\\albums\\my.lab", "\\albums\\my.lab"},
        {"\\abcdefghijklmnopq\\x.jpg", "\\abcdefghijklmnopq\\x.jpg", "\\abcdefghijklmnopq"},  // 18: one line
        {"\\abcdefghijklmnopqr\\x.jpg", "\\abcdefghijklmnopqr\\x.jpg", "\\abcdefghijklmnopq\nr"},
        {"\\v1.2\\x", "\\v1.2", "\\v1.2"},  // a dot before the picture's own name
    };
    for (const Case& c : cases)
        EXPECT_EQ(ImageInfo::Location(QString::fromUtf8(c.path), QString::fromUtf8(c.source)),
                  QString::fromUtf8(c.location))
            << c.path;
}

TEST(ImageInfo, FieldsOfAnEntry)
{
    CImageItem item;
    item.m_path = QStringLiteral("\\pics\\sunset.bmp");
    item.m_source = item.m_path;
    item.m_modified = CTime(QDateTime(QDate(2004, 3, 5), QTime(9, 7, 2)).toSecsSinceEpoch());
    item.m_fileSize = 1572864;
    item.m_bitsPerPixel = 24;
    item.m_width = 640;
    item.m_height = 480;
    item.m_rotation = 270;
    item.m_zoom = 100;
    item.m_brightness = -30;
    item.m_contrast = 12;
    const CImageInfoTexts t = ImageInfo::TextsOf(item);
    const QStringList all = {t.fileName, t.location, t.time, t.fileSize, t.colors,
                             t.dimensions, t.rotation, t.zoom, t.brightness, t.contrast};
    EXPECT_EQ(all, (QStringList {"sunset.bmp", "\\pics", "2004-3-5 9:7:2", "1.50 MB", "24 Bits", "640 x 480", "+270",
                                 "100 %", "-30", "12"}));
    EXPECT_EQ(ImageInfo::Time(CTime()), QString());
}

TEST(ImageInfo, RotationAndZoomTexts)
{
    const std::pair<int, const char*> rotations[] = {{0, "+0"}, {90, "+90"}, {180, "+180"}, {270, "+270"}, {45, ""}};
    for (const auto& [degrees, text] : rotations)
        EXPECT_EQ(ImageInfo::Rotation(degrees), QString::fromLatin1(text)) << degrees;
    const std::pair<int, const char*> zooms[] = {{-1, "Shrink To Fill"}, {0, "Shrink To Fit"}, {1, "1 %"}, {150, "150 %"}};
    for (const auto& [zoom, text] : zooms)
        EXPECT_EQ(ImageInfo::Zoom(zoom), QString::fromLatin1(text)) << zoom;
}
