// The image loader: decoder choice by extension, the reduction tables of both
// load modes, the sizes recorded in the item, the BMP shrink and 24-bit
// expansion, the image decoder's two passes, archive members, thumbnails and
// the Quick View cache policy.
#include "image/image_loader.h"

#include "image/dib_bitmap.h"
#include "image/zip_reader.h"
#include "platform/device_path.h"
#include "platform/message_box.h"
#include "test_pictures.h"
#include "zip_test_writer.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstring>
#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <unistd.h>

namespace {

BITMAP Info(HBITMAP bitmap)
{
    BITMAP info;
    GetObject(bitmap, &info);
    return info;
}

class ImageLoaderTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        DevicePath::SetDeviceRoot(m_dir.path());
        MessageBoxService::SetEcho(false);
        MessageBoxService::ClearMessages();
    }
    void TearDown() override
    {
        if (!m_tmp.isEmpty())
            qputenv("TMPDIR", m_savedTmp);
        DevicePath::SetDeviceRoot(QString());
        MessageBoxService::SetEcho(true);
    }

    // Writes a file at the device root and returns its device path.
    QString Put(const QString& name, const std::vector<uint8_t>& bytes)
    {
        EXPECT_TRUE(WriteBytes(m_dir.filePath(name), bytes));
        return QStringLiteral("\\") + name;
    }
    QString PutBmp(const QString& name, const TestBmp& layout) { return Put(name, BuildBmp(layout)); }

    // An item for a plain file, loaded in a mode.
    int Load(CImageItem& item, const QString& path, int mode)
    {
        item.m_path = path;
        return m_loader.LoadPicture(item, mode, false);
    }

    // Folders a member's bytes could be written to: the archive's own (the
    // device root), the runtime folder and the temporary folder (a private
    // one while the test runs).
    QStringList MemberCopyFolders()
    {
        if (m_tmp.isEmpty()) {
            m_tmp = m_dir.filePath(QStringLiteral("tmp"));
            QDir().mkpath(m_tmp);
            m_savedTmp = qgetenv("TMPDIR");
            qputenv("TMPDIR", QFile::encodeName(m_tmp));
        }
        return {m_dir.path(), qEnvironmentVariable("XDG_RUNTIME_DIR"), m_tmp};
    }

    QTemporaryDir m_dir;
    QString m_tmp;
    QByteArray m_savedTmp;
    CImageLoader m_loader;
};

// The names of the files and folders created in some folders while it lives:
// a file made and removed again is seen too, so what a killed process would
// have left behind is seen.
class CreationWatch {
public:
    explicit CreationWatch(const QStringList& folders)
        : m_fd(inotify_init1(IN_NONBLOCK | IN_CLOEXEC))
    {
        for (const QString& folder : folders)
            EXPECT_GE(inotify_add_watch(m_fd, QFile::encodeName(folder).constData(), IN_CREATE | IN_MOVED_TO), 0)
                << folder.toStdString();
    }
    ~CreationWatch() { close(m_fd); }
    CreationWatch(const CreationWatch&) = delete;
    CreationWatch& operator=(const CreationWatch&) = delete;

    // The names, separated by spaces.
    std::string Created() const
    {
        QStringList names;
        alignas(inotify_event) char buffer[4096];
        for (ssize_t n; (n = read(m_fd, buffer, sizeof buffer)) > 0;)
            for (const char* p = buffer; p < buffer + n;) {
                const auto* event = reinterpret_cast<const inotify_event*>(p);
                names.append(event->len ? QFile::decodeName(event->name) : QStringLiteral("?"));
                p += sizeof(inotify_event) + event->len;
            }
        return names.join(QLatin1Char(' ')).toStdString();
    }

private:
    int m_fd;
};

const std::vector<uint8_t>& Jpeg2000x1500()
{
    static const std::vector<uint8_t> bytes = RgbJpeg(2000, 1500);
    return bytes;
}

}  // namespace

TEST(ImageLoaderKinds, ExtensionDecidesTheKindWhateverItsCase)
{
    struct Case {
        const char* name;
        int kind;
    };
    for (Case c : {Case {"a.bmp", 1}, Case {"IMG.JPG", 2}, Case {"x.Jpg", 2}, Case {"\\d\\p.gif", 3}, Case {"q.PNG", 4},
                   Case {"photo.jpeg", 0}, Case {"scan.tif", 0}, Case {"README", 0}, Case {"", 0}, Case {"jpg", 0}})
        EXPECT_EQ(CImageLoader::ClassifyExtension(QString::fromLatin1(c.name)), c.kind) << c.name;
}

TEST(ImageLoaderKinds, JpegScaleTablesOfBothModes)
{
    struct Case {
        int mode, width, height, denominator;
    };
    const int thumb = CImageLoader::kModeThumbnail;
    const int view = CImageLoader::kModeView;
    for (Case c :
         {Case {thumb, 40, 400, 1}, Case {thumb, 400, 30, 1}, Case {thumb, 41, 31, 2}, Case {thumb, 80, 500, 2},
          Case {thumb, 81, 61, 4}, Case {thumb, 160, 500, 4}, Case {thumb, 500, 120, 4}, Case {thumb, 161, 121, 8},
          Case {thumb, 2000, 1500, 8}, Case {view, 1280, 960, 4}, Case {view, 1279, 5000, 2}, Case {view, 5000, 959, 2},
          Case {view, 640, 480, 2}, Case {view, 639, 5000, 1}, Case {view, 5000, 479, 1}, Case {view, 1, 1, 1}})
        EXPECT_EQ(CImageLoader::JpegScaleDenominator(c.mode, c.width, c.height), c.denominator)
            << c.mode << " " << c.width << "x" << c.height;
}

TEST_F(ImageLoaderTest, ViewModeJpegIsQuarteredAndRecordsDecodedSizeAndFileFacts)
{
    CImageItem item;
    ASSERT_EQ(Load(item, Put("big.jpg", Jpeg2000x1500()), CImageLoader::kModeView), 1);
    EXPECT_EQ(item.m_width, 500);
    EXPECT_EQ(item.m_height, 375);
    EXPECT_EQ(item.m_bitsPerPixel, 24);
    EXPECT_EQ(item.m_typeName, QStringLiteral("JPEG Image"));
    EXPECT_EQ(item.m_fileSize, uint32_t(Jpeg2000x1500().size()));
    EXPECT_TRUE(item.m_modified.IsSet());
    const BITMAP info = Info(item.m_fullBitmap);
    EXPECT_EQ(info.bmWidth, 500);
    EXPECT_EQ(info.bmHeight, 375);
    EXPECT_EQ(info.bmBitsPixel, 24);
}

TEST_F(ImageLoaderTest, JpegsInThumbnailModeRecordTheOutputSizeTimesEight)
{
    struct Case {
        int width, height, outWidth, outHeight;
    };
    for (Case c :
         {Case {2000, 1500, 250, 188}, Case {100, 70, 25, 18}, Case {70, 100, 35, 50}, Case {40, 40, 40, 40}}) {
        CImageItem item;
        const std::vector<uint8_t> jpeg = c.width == 2000 ? Jpeg2000x1500() : RgbJpeg(c.width, c.height);
        ASSERT_EQ(Load(item, Put("s.jpg", jpeg), CImageLoader::kModeThumbnail), 1);
        EXPECT_EQ(item.m_width, c.outWidth * 8) << c.width;
        EXPECT_EQ(item.m_height, c.outHeight * 8) << c.width;
        EXPECT_EQ(Info(item.m_fullBitmap).bmHeight, c.outHeight) << c.width;
    }
}

TEST_F(ImageLoaderTest, PicturesAndThumbnailsKeepTheirOwnWidthWithoutBlackColumns)
{
    const auto whiteJpeg = [](int width, int height) {
        TestJpeg layout;
        layout.width = width;
        layout.height = height;
        layout.fill = [](int, int, uint8_t* out) { std::memset(out, 255, 3); };
        return EncodeJpeg(layout);
    };
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
        int width;
    };
    const Case cases[] = {
        {"odd.jpg", whiteJpeg(101, 2), 101},
        {"c32.bmp", BuildBmp(SolidBmp(10, 5, 32, 255, 255, 255)), 10},
        {"wide.jpg", whiteJpeg(90, 60), 90},  // its thumbnail decodes 45 wide
    };
    for (const Case& c : cases) {
        CImageItem item;
        ASSERT_EQ(Load(item, Put(c.name, c.bytes), CImageLoader::kModeView), 1) << c.name;
        const BITMAP info = Info(item.m_fullBitmap);
        EXPECT_EQ(info.bmWidth, c.width) << c.name;
        // The rightmost column is the picture's own: white.
        for (int y = 0; y < info.bmHeight; ++y)
            EXPECT_GT(item.m_fullBitmap->RowFromTop(y)[(c.width - 1) * 3], 240) << c.name << " row " << y;
        ASSERT_EQ(m_loader.LoadThumbnail(item), 1) << c.name;
        for (int y = 0; y < 30; ++y)
            EXPECT_GT(item.m_thumbnail->RowFromTop(y)[41 * 3], 240) << c.name << " thumbnail row " << y;
    }
}

TEST_F(ImageLoaderTest, MissingJpegShowsCantOpenFile)
{
    CImageItem item;
    EXPECT_EQ(Load(item, QStringLiteral("\\missing.jpg"), CImageLoader::kModeView), 0);
    EXPECT_EQ(MessageBoxService::Messages(), QStringList {QStringLiteral("Can't open file '\\missing.jpg'")});
    EXPECT_EQ(item.m_fullBitmap, nullptr);
}

TEST_F(ImageLoaderTest, BrokenJpegFailsWithCannotLoadAndKeepsTheProgramRunning)
{
    CImageItem item;
    testing::internal::CaptureStderr();
    EXPECT_EQ(Load(item, Put("broken.jpg", {0xFF, 0xD8, 0xFF, 0xD9, 1, 2, 3}), CImageLoader::kModeView), 0);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("lumo: jpeg: "), std::string::npos);
    EXPECT_EQ(MessageBoxService::Messages(), QStringList {QStringLiteral("Cannot load \\broken.jpg")});
    EXPECT_EQ(item.m_fullBitmap, nullptr);
    EXPECT_EQ(item.m_fileSize, 0u);  // file facts are not read after a failure
}

TEST_F(ImageLoaderTest, CmykJpegIsShownInColour)
{
    TestJpeg layout;
    layout.width = 32;
    layout.height = 32;
    layout.space = JCS_CMYK;
    // Full cyan and magenta ink, stored inverted as Adobe files do: blue.
    layout.fill = [](int, int, uint8_t* p) { p[0] = 0, p[1] = 0, p[2] = 255, p[3] = 255; };
    CImageItem item;
    ASSERT_EQ(Load(item, Put("cmyk.jpg", EncodeJpeg(layout)), CImageLoader::kModeView), 1);
    const BITMAP info = Info(item.m_fullBitmap);
    ASSERT_EQ(info.bmBitsPixel, 24);
    const uint8_t* pixel = static_cast<const uint8_t*>(info.bmBits) + info.bmWidthBytes * 16 + 16 * 3;
    EXPECT_GT(pixel[0], 240);  // blue
    EXPECT_LT(pixel[2], 15);   // red
}

TEST_F(ImageLoaderTest, GrayscaleJpegGoesThroughTheImageDecoderAndRecordsItsFullSize)
{
    TestJpeg layout;
    layout.width = 1000;
    layout.height = 20;
    layout.space = JCS_GRAYSCALE;
    CImageItem item;
    ASSERT_EQ(Load(item, Put("gray.jpg", EncodeJpeg(layout)), CImageLoader::kModeView), 1);
    EXPECT_EQ(item.m_typeName, QStringLiteral("JPEG Image"));
    EXPECT_EQ(item.m_width, 1000);
    EXPECT_EQ(item.m_height, 20);
    EXPECT_EQ(Info(item.m_fullBitmap).bmWidth, 320);
}

TEST_F(ImageLoaderTest, TwoPassDecodeAimsAt320Or40PixelsAndRecordsTheHeaderSize)
{
    struct Case {
        int width, height, mode, outWidth, outHeight;
    };
    const int view = CImageLoader::kModeView;
    for (Case c : {Case {1000, 10, view, 320, 3}, Case {200, 10, view, 200, 10},
                   Case {1000, 100, CImageLoader::kModeThumbnail, 40, 4},
                   // Within 320 pixels wide but over the 1600 x 1200 cap: one factor for both sides.
                   Case {300, 5000, view, 72, 1200}}) {
        CImageItem item;
        ASSERT_EQ(Load(item, Put("p.png", RgbPng(c.width, c.height)), c.mode), 1) << c.width;
        EXPECT_EQ(item.m_typeName, QStringLiteral("PNG Image"));
        EXPECT_EQ(item.m_width, c.width);
        EXPECT_EQ(item.m_height, c.height);
        const BITMAP info = Info(item.m_fullBitmap);
        EXPECT_EQ(info.bmWidth, c.outWidth) << c.width << "x" << c.height;
        EXPECT_EQ(info.bmHeight, c.outHeight) << c.width << "x" << c.height;
    }
}

TEST_F(ImageLoaderTest, UndecodableOrMissingPngShowsCannotLoad)
{
    CImageItem item;
    EXPECT_EQ(Load(item, Put("bad.png", {0x89, 'P', 'N', 'G', 1, 2}), CImageLoader::kModeView), 0);
    EXPECT_EQ(Load(item, QStringLiteral("\\gone.png"), CImageLoader::kModeView), 0);
    EXPECT_EQ(MessageBoxService::Messages(),
              (QStringList {QStringLiteral("Cannot load \\bad.png"), QStringLiteral("Cannot load \\gone.png")}));
}

TEST_F(ImageLoaderTest, LargeBmpIsShrunkByTheTableDivisor)
{
    struct Case {
        int width, height, bpp, outWidth, outHeight, recordedBpp;
    };
    for (Case c : {Case {1600, 1200, 24, 400, 300, 24}, Case {800, 600, 24, 400, 300, 24},
                   Case {240, 400, 8, 240, 400, 8},      // not shrunk: keeps its depth in the item
                   Case {300, 400, 8, 300, 400, 24}}) {  // copied 1:1 into a 24-bit section
        TestBmp layout = c.bpp == 8 ? Gray8Bmp(c.width, c.height) : SolidBmp(c.width, c.height, 24, 1, 2, 3);
        CImageItem item;
        ASSERT_EQ(Load(item, PutBmp("b.bmp", layout), CImageLoader::kModeView), 1);
        EXPECT_EQ(item.m_width, c.outWidth) << c.width;
        EXPECT_EQ(item.m_height, c.outHeight) << c.width;
        EXPECT_EQ(item.m_bitsPerPixel, c.recordedBpp) << c.width;
        EXPECT_EQ(item.m_typeName, QStringLiteral("Bitmap Image"));
        const BITMAP info = Info(item.m_fullBitmap);
        EXPECT_EQ(info.bmBitsPixel, 24) << c.width;
        EXPECT_EQ(info.bmHeight, c.outHeight) << c.width;
    }
}

TEST_F(ImageLoaderTest, SmallBmpsOfOtherDepthsAreShownAt24Bits)
{
    for (int bpp : {8, 32}) {
        TestBmp layout = bpp == 8 ? Gray8Bmp(10, 5) : SolidBmp(10, 5, 32, 200, 100, 50);
        CImageItem item;
        ASSERT_EQ(Load(item, PutBmp("c.bmp", layout), CImageLoader::kModeView), 1);
        EXPECT_EQ(item.m_bitsPerPixel, bpp);
        const BITMAP info = Info(item.m_fullBitmap);
        EXPECT_EQ(info.bmBitsPixel, 24) << bpp;
        EXPECT_EQ(info.bmWidth, 10) << bpp;
        EXPECT_TRUE(item.IsHeldByHolder(item.m_fullBitmap));
    }
}

TEST_F(ImageLoaderTest, UnknownKindDecodesNothing)
{
    const QString path = Put("notes.tif", {1, 2, 3});
    CImageItem item;
    EXPECT_EQ(Load(item, path, CImageLoader::kModeView), 0);
    EXPECT_EQ(Load(item, path, CImageLoader::kModeThumbnail), 1);
    EXPECT_EQ(item.m_fullBitmap, nullptr);
    EXPECT_EQ(m_loader.LoadThumbnail(item), 1);
    EXPECT_EQ(item.m_thumbnail, nullptr);
    EXPECT_EQ(item.m_fileSize, 3u);
}

TEST_F(ImageLoaderTest, InformationOnlyReadsFileFactsAndDecodesNothing)
{
    CImageItem item;
    item.m_path = Put("big.jpg", Jpeg2000x1500());
    EXPECT_EQ(m_loader.LoadPicture(item, CImageLoader::kModeView, true), 1);
    EXPECT_EQ(item.m_fullBitmap, nullptr);
    EXPECT_EQ(item.m_width, 0);
    EXPECT_EQ(item.m_fileSize, uint32_t(Jpeg2000x1500().size()));
    EXPECT_TRUE(item.m_modified.IsSet());

    CImageItem missing;
    missing.m_path = QStringLiteral("\\none.jpg");
    EXPECT_EQ(m_loader.LoadPicture(missing, CImageLoader::kModeView, true), 1);
    EXPECT_EQ(CImageLoader::ReadFileInfo(missing), 0);
    EXPECT_FALSE(missing.m_modified.IsSet());
}

TEST_F(ImageLoaderTest, ThumbnailLeavesTheDecodedPictureInPlace)
{
    CImageItem item;
    ASSERT_EQ(Load(item, PutBmp("large.bmp", SolidBmp(1600, 1200, 24, 0, 0, 255)), CImageLoader::kModeView), 1);
    // The full bitmap lives in the shrink holder, which the thumbnail load must not reuse.
    HBITMAP picture = item.m_fullBitmap;
    ASSERT_TRUE(item.IsHeldByHolder(picture));
    ASSERT_EQ(m_loader.LoadThumbnail(item), 1);
    EXPECT_EQ(item.m_fullBitmap, picture);
    EXPECT_EQ(Info(picture).bmWidth, 400);
    const BITMAP thumb = Info(item.m_thumbnail);
    EXPECT_EQ(thumb.bmWidth, 42);
    EXPECT_EQ(thumb.bmHeight, 30);
    const uint8_t* centre = static_cast<const uint8_t*>(thumb.bmBits) + thumb.bmWidthBytes * 15 + 21 * 3;
    EXPECT_GT(centre[0], 240);  // blue, in blue-green-red order

    ASSERT_EQ(m_loader.LoadThumbnail(item), 1);  // a second thumbnail replaces the first
    EXPECT_EQ(Info(item.m_thumbnail).bmWidth, 42);
}

TEST_F(ImageLoaderTest, JpegThumbnailRecordsTheScaledUpSize)
{
    CImageItem item;
    item.m_path = Put("big.jpg", Jpeg2000x1500());
    ASSERT_EQ(m_loader.LoadThumbnail(item), 1);
    EXPECT_EQ(item.m_width, 2000);
    EXPECT_EQ(item.m_height, 1504);
    EXPECT_EQ(item.m_fullBitmap, nullptr);
    EXPECT_EQ(Info(item.m_thumbnail).bmWidth, 42);
}

TEST_F(ImageLoaderTest, QuickViewOffKeepsOnlyThePictureShown)
{
    const QString a = PutBmp("a.bmp", Gray8Bmp(8, 8));
    const QString b = PutBmp("b.bmp", Gray8Bmp(8, 8));
    CImageItem itemA, itemB;
    itemA.m_path = a;
    itemB.m_path = b;
    const std::vector<CImageItem*> items {&itemA, &itemB};
    ASSERT_EQ(LoadCurrentPicture(m_loader, items, itemA, false), 1);
    // The canvas may show the full bitmap itself as the display bitmap: it is freed once.
    itemA.m_displayBitmap = itemA.m_fullBitmap;
    ASSERT_EQ(LoadCurrentPicture(m_loader, items, itemB, false), 1);
    EXPECT_EQ(itemA.m_fullBitmap, nullptr);
    EXPECT_EQ(itemA.m_displayBitmap, nullptr);
    EXPECT_NE(itemB.m_fullBitmap, nullptr);
}

TEST_F(ImageLoaderTest, ArchiveMembersDecodeFromMemoryWithoutCreatingAFile)
{
    const QString zipPath = QStringLiteral("\\pics.zip");
    ASSERT_TRUE(WriteTestFile(m_dir.filePath("pics.zip"),
                              BuildTestZip({TestZipMember("gray.bmp", ToByteArray(BuildBmp(Gray8Bmp(10, 4)))),
                                            TestZipMember("big.jpg", ToByteArray(Jpeg2000x1500())),
                                            TestZipMember("wide.png", ToByteArray(RgbPng(1000, 10)))})));
    const CreationWatch watch(MemberCopyFolders());
    CImageItem bmp;
    bmp.m_source = zipPath;
    bmp.m_path = QStringLiteral("GRAY.BMP");
    ASSERT_TRUE(CImageLoader::IsArchiveMember(bmp));
    ASSERT_EQ(LoadCurrentPicture(m_loader, {&bmp}, bmp, false), 1);
    // Shown at 24 bits; the item keeps the file's own depth.
    EXPECT_EQ(bmp.m_bitsPerPixel, 8);
    EXPECT_EQ(Info(bmp.m_fullBitmap).bmBitsPixel, 24);
    EXPECT_EQ(bmp.m_fileSize, uint32_t(BuildBmp(Gray8Bmp(10, 4)).size()));

    CImageItem jpeg;
    jpeg.m_source = zipPath;
    jpeg.m_path = QStringLiteral("big.jpg");
    ASSERT_EQ(m_loader.LoadThumbnail(jpeg), 1);
    EXPECT_EQ(jpeg.m_width, 500);  // members use the view rows and no factor
    EXPECT_EQ(jpeg.m_height, 375);
    EXPECT_EQ(Info(jpeg.m_thumbnail).bmWidth, 42);

    CImageItem png;
    png.m_source = zipPath;
    png.m_path = QStringLiteral("wide.png");
    ASSERT_EQ(m_loader.LoadZipMember(png, CImageLoader::kModeThumbnail, false), 1);
    EXPECT_EQ(png.m_width, 1000);
    EXPECT_EQ(Info(png.m_fullBitmap).bmWidth, 320);  // always decoded as for the view

    CImageItem absent;
    absent.m_source = zipPath;
    absent.m_path = QStringLiteral("none.jpg");
    EXPECT_EQ(m_loader.LoadZipMember(absent, CImageLoader::kModeView, true), 1);
    EXPECT_EQ(m_loader.LoadZipMember(absent, CImageLoader::kModeView, false), 0);
    EXPECT_EQ(watch.Created(), "");
    EXPECT_TRUE(MessageBoxService::Messages().isEmpty()) << MessageBoxService::Messages().join('|').toStdString();
}

TEST_F(ImageLoaderTest, ReadErrorInsideAnArchiveMemberFailsTheLoadWithCannotLoad)
{
    TestZipMember damaged("photo.jpg", ToByteArray(Jpeg2000x1500()));
    QByteArray packed = RawDeflate(damaged.data);
    packed.truncate(packed.size() / 2);
    packed.append(QByteArray(64, '\xFF'));  // not a valid deflate stream from here on
    damaged.compressed = packed;
    ASSERT_TRUE(WriteTestFile(m_dir.filePath("d.zip"), BuildTestZip({damaged})));
    const CreationWatch watch(MemberCopyFolders());
    CImageItem item;
    item.m_source = QStringLiteral("\\d.zip");
    item.m_path = QStringLiteral("photo.jpg");
    EXPECT_EQ(LoadCurrentPicture(m_loader, {&item}, item, true), 0);
    EXPECT_EQ(item.m_fullBitmap, nullptr);
    ASSERT_EQ(MessageBoxService::Messages().size(), 1);
    EXPECT_TRUE(MessageBoxService::Messages().front().startsWith(QStringLiteral("Cannot load ")));
    EXPECT_EQ(watch.Created(), "");
}

// A member inflating far beyond any picture: reading stops at the cap, the
// load fails with its message, and not a byte of it was written anywhere.
TEST_F(ImageLoaderTest, ZipBombMemberIsRefusedAtTheCapWithoutCreatingAFile)
{
    const uint32_t bombSize = uint32_t(kZipMemberByteCap) + (1u << 20);
    ASSERT_TRUE(WriteTestFile(m_dir.filePath("bomb.zip"), BuildTestZip({ZeroBomb("zeros.png", bombSize)})));
    const CreationWatch watch(MemberCopyFolders());
    CImageItem item;
    item.m_source = QStringLiteral("\\bomb.zip");
    item.m_path = QStringLiteral("zeros.png");
    EXPECT_EQ(LoadCurrentPicture(m_loader, {&item}, item, true), 0);
    EXPECT_EQ(item.m_fullBitmap, nullptr);
    EXPECT_EQ(MessageBoxService::Messages(), QStringList {QStringLiteral("Cannot load zeros.png")});
    EXPECT_EQ(watch.Created(), "");
}
