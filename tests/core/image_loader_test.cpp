// The image loader: decoder choice by extension, the reduction tables of both
// load modes, the sizes recorded in the item, the BMP shrink and 24-bit
// expansion, the image decoder's two passes, archive members, thumbnails and
// the Quick View cache policy.
#include "image/image_loader.h"

#include "app/image_item.h"
#include "app/settings.h"
#include "image/dib_bitmap.h"
#include "image/orientation.h"
#include "image/zip_reader.h"
#include "platform/device_path.h"
#include "platform/message_box.h"
#include "platform/registry_store.h"
#include "test_pictures.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstring>
#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <unistd.h>
#include <zlib.h>

namespace {

constexpr int kView = CImageLoader::kModeView;
constexpr int kThumb = CImageLoader::kModeThumbnail;

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
        if (m_watch >= 0) {
            close(m_watch);
            qputenv("TMPDIR", m_savedTmp);
        }
        DevicePath::SetDeviceRoot(QString());
        MessageBoxService::SetEcho(true);
    }

    // Copies a file of the third-party corpus to the device root; its device path.
    QString PutCorpus(const QString& name, const char* corpusPath)
    {
        EXPECT_TRUE(QFile::copy(QStringLiteral(LUMO_CORPUS_DIR "/") + corpusPath, m_dir.filePath(name)));
        return QStringLiteral("\\") + name;
    }
    // Writes a file at the device root and returns its device path.
    QString Put(const QString& name, const Bytes& bytes)
    {
        EXPECT_TRUE(WriteBytes(m_dir.filePath(name), bytes));
        return QStringLiteral("\\") + name;
    }
    int Load(CImageItem& item, const QString& path, int mode)
    {
        item.m_path = path;
        return m_loader.LoadPicture(item.m_picture, item.File(), mode, false);
    }
    // An archive member item of pics.zip.
    static void Member(CImageItem& item, const char* name)
    {
        item.m_source = QStringLiteral("\\pics.zip");
        item.m_path = QString::fromLatin1(name);
    }
    // Watches, from now on, the folders a member's bytes could be written to:
    // the archive's own, the runtime folder and the temporary folder (a
    // private one while the test runs). A file made and removed again is seen
    // too, so what a killed process would have left behind is seen.
    void Watch()
    {
        const QString tmp = m_dir.filePath(QStringLiteral("tmp"));
        QDir().mkpath(tmp);
        m_savedTmp = qgetenv("TMPDIR");
        qputenv("TMPDIR", QFile::encodeName(tmp));
        m_watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        for (const QString& folder : {m_dir.path(), qEnvironmentVariable("XDG_RUNTIME_DIR"), tmp})
            EXPECT_GE(inotify_add_watch(m_watch, QFile::encodeName(folder).constData(), IN_CREATE | IN_MOVED_TO), 0);
    }
    // The names of the files and folders created since Watch.
    std::string Created() const
    {
        QStringList names;
        alignas(inotify_event) char buffer[4096];
        for (ssize_t n; (n = read(m_watch, buffer, sizeof buffer)) > 0;)
            for (const char* p = buffer; p < buffer + n;) {
                const auto* event = reinterpret_cast<const inotify_event*>(p);
                names.append(event->len ? QFile::decodeName(event->name) : QStringLiteral("?"));
                p += sizeof(inotify_event) + event->len;
            }
        return names.join(QLatin1Char(' ')).toStdString();
    }

    QTemporaryDir m_dir;
    int m_watch = -1;
    QByteArray m_savedTmp;
    CImageLoader m_loader;
};

}  // namespace

TEST(ImageLoaderKinds, ExtensionDecidesTheKindWhateverItsCase)
{
    const std::pair<const char*, int> cases[]
        = {{"a.bmp", 1},      {"IMG.JPG", 2},  {"x.Jpg", 2},  {"\\d\\p.gif", 3}, {"q.PNG", 4},
           {"photo.jpeg", 0}, {"scan.tif", 0}, {"README", 0}, {"", 0},           {"jpg", 0}};
    for (const auto& [name, kind] : cases)
        EXPECT_EQ(CImageLoader::ClassifyExtension(QString::fromLatin1(name)), kind) << name;
}

TEST(ImageLoaderKinds, JpegScaleTablesOfBothModes)
{
    const struct {
        int mode, width, height, denominator;
    } cases[] = {{kThumb, 40, 400, 1},    {kThumb, 400, 30, 1},  {kThumb, 41, 31, 2},    {kThumb, 80, 500, 2},
                 {kThumb, 81, 61, 4},     {kThumb, 160, 500, 4}, {kThumb, 500, 120, 4},  {kThumb, 161, 121, 8},
                 {kThumb, 2000, 1500, 8}, {kView, 1280, 960, 4}, {kView, 1279, 5000, 2}, {kView, 5000, 959, 2},
                 {kView, 640, 480, 2},    {kView, 639, 5000, 1}, {kView, 5000, 479, 1},  {kView, 1, 1, 1}};
    for (const auto& c : cases)
        EXPECT_EQ(CImageLoader::JpegScaleDenominator(c.mode, c.width, c.height), c.denominator)
            << c.mode << " " << c.width << "x" << c.height;
}

// What each kind of file records in the item (size, depth, type) and the
// bitmap it gives: JPEGs by the scale tables (thumbnail mode records the
// output size times eight), grey JPEGs and PNGs through the image decoder
// aiming at 320 or 40 pixels wide within the 1600 x 1200 cap, large BMPs
// shrunk by the table divisor, other BMPs shown at 24 bits.
TEST_F(ImageLoaderTest, EachKindRecordsItsSizesAndGivesItsBitmap)
{
    const QString jpeg = QStringLiteral("JPEG Image"), png = QStringLiteral("PNG Image"),
                  bmp = QStringLiteral("Bitmap Image");
    const struct {
        const char* name;
        Bytes bytes;
        int mode, width, height, bpp, outWidth, outHeight;
        QString type;
    } cases[] = {
        {"big.jpg", RgbJpeg(2000, 1500), kView, 2000, 1500, 24, 500, 375, jpeg},
        {"t1.jpg", RgbJpeg(2000, 1500), kThumb, 2000, 1500, 24, 250, 188, jpeg},
        {"t2.jpg", RgbJpeg(100, 70), kThumb, 100, 70, 24, 25, 18, jpeg},
        {"gray.jpg", EncodeJpeg({1000, 20, JCS_GRAYSCALE}), kView, 1000, 20, 24, 320, 6, jpeg},
        {"p1.png", RgbPng(1000, 10), kView, 1000, 10, 24, 320, 3, png},
        {"p2.png", RgbPng(200, 10), kView, 200, 10, 24, 200, 10, png},
        {"p3.png", RgbPng(1000, 100), kThumb, 1000, 100, 24, 40, 4, png},
        // Within 320 pixels wide but over the 1600 x 1200 cap: one factor for both sides.
        {"p4.png", RgbPng(300, 5000), kView, 300, 5000, 24, 72, 1200, png},
        {"b1.bmp", BuildBmp(SolidBmp(1600, 1200, 24, 1, 2, 3)), kView, 1600, 1200, 24, 400, 300, bmp},
        // Not shrunk: keeps its depth in the item, or is copied 1:1 into a 24-bit section.
        {"b3.bmp", BuildBmp(SolidBmp(240, 400, 8, 1, 2, 3)), kView, 240, 400, 8, 240, 400, bmp},
        {"b4.bmp", BuildBmp(SolidBmp(300, 400, 8, 1, 2, 3)), kView, 300, 400, 24, 300, 400, bmp},
        {"b6.bmp", BuildBmp(SolidBmp(10, 5, 32, 200, 100, 50)), kView, 10, 5, 32, 10, 5, bmp},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CImageItem item;
        ASSERT_EQ(Load(item, Put(QString::fromLatin1(c.name), c.bytes), c.mode), 1);
        EXPECT_EQ(std::tuple(item.m_picture.m_width, item.m_picture.m_height, item.m_picture.m_bitsPerPixel),
                  std::tuple(c.width, c.height, c.bpp));
        EXPECT_EQ(item.m_picture.m_typeName, c.type);
        EXPECT_EQ(item.m_picture.m_fileSize, uint32_t(c.bytes.size()));
        const HBITMAP b = item.m_picture.m_fullBitmap;
        EXPECT_EQ(std::tuple(b->Width(), b->Height(), b->BitsPerPixel()), std::tuple(c.outWidth, c.outHeight, 24));
    }
}

// Each failure says what went wrong, decodes nothing and reads no file facts;
// a broken JPEG does not end the program.
TEST_F(ImageLoaderTest, FailuresShowTheirMessageAndUnknownKindsOrInformationOnlyDecodeNothing)
{
    const std::tuple<const char*, Bytes, const char*> cases[] = {
        {"missing.jpg", {}, "Can't open file '\\missing.jpg'"},
        {"broken.jpg", {0xFF, 0xD8, 0xFF, 0xD9, 1, 2, 3}, "Cannot load \\broken.jpg"},
        {"bad.png", {0x89, 'P', 'N', 'G', 1, 2}, "Cannot load \\bad.png"},
        {"gone.png", {}, "Cannot load \\gone.png"},
    };
    for (const auto& [name, bytes, message] : cases) {
        MessageBoxService::ClearMessages();
        CImageItem item;
        testing::internal::CaptureStderr();
        EXPECT_EQ(Load(item, bytes.empty() ? QStringLiteral("\\") + name : Put(name, bytes), kView), 0) << name;
        testing::internal::GetCapturedStderr();
        EXPECT_EQ(MessageBoxService::Messages(), QStringList {QString::fromUtf8(message)});
        EXPECT_EQ(item.m_picture.m_fullBitmap, nullptr);
        EXPECT_EQ(item.m_picture.m_fileSize, 0u);
    }
    const QString tif = Put("notes.tif", {1, 2, 3});
    CImageItem item;
    EXPECT_EQ(Load(item, tif, kView), 0);
    EXPECT_EQ(Load(item, tif, kThumb), 1);
    EXPECT_EQ(m_loader.LoadThumbnail(item.m_picture, item.File()), 1);
    EXPECT_EQ(std::pair(item.m_picture.m_thumbnail, item.m_picture.m_fileSize), std::pair(HBITMAP(nullptr), 3u));

    CImageItem info;
    info.m_path = Put("big.jpg", RgbJpeg(2000, 1500));
    EXPECT_EQ(m_loader.LoadPicture(info.m_picture, info.File(), kView, true), 1);
    EXPECT_EQ(std::tuple(info.m_picture.m_fullBitmap, info.m_picture.m_width, info.m_picture.m_fileSize),
              std::tuple(HBITMAP(nullptr), 0, uint32_t(RgbJpeg(2000, 1500).size())));
    CImageItem missing;
    missing.m_path = QStringLiteral("\\none.jpg");
    EXPECT_EQ(m_loader.LoadPicture(missing.m_picture, missing.File(), kView, true), 1);
    EXPECT_EQ(CImageLoader::ReadFileInfo(missing.m_picture, missing.m_path), 0);
    EXPECT_FALSE(missing.m_picture.m_modified.IsSet());
}

// A JPEG's thumbnail sizes are those of the thumbnail mode (t1.jpg above) and
// its thumbnail is made as for an archive member (below).
TEST_F(ImageLoaderTest, ThumbnailLeavesTheDecodedPictureInPlace)
{
    CImageItem item;
    ASSERT_EQ(Load(item, Put("large.bmp", BuildBmp(SolidBmp(1600, 1200, 24, 0, 0, 255))), kView), 1);
    // The full bitmap lives in the shrink holder, which the thumbnail load must not reuse.
    HBITMAP picture = item.m_picture.m_fullBitmap;
    ASSERT_TRUE(item.m_picture.IsHeldByHolder(picture));
    for (int i = 0; i < 2; ++i) {  // a second thumbnail replaces the first
        ASSERT_EQ(m_loader.LoadThumbnail(item.m_picture, item.File()), 1);
        const HBITMAP thumbnail = item.m_picture.m_thumbnail;
        EXPECT_EQ(std::tuple(item.m_picture.m_fullBitmap, picture->Width(), thumbnail->Width(), thumbnail->Height()),
                  std::tuple(picture, 400, 42, 30));
        EXPECT_GT(item.m_picture.m_thumbnail->RowFromTop(15)[21 * 3], 240);  // blue, in blue-green-red order
    }
    // A picture about to be shown is decoded once, for the view, and keeps
    // that bitmap beside a thumbnail close to the thumbnail mode's (within 1
    // for photographs; this saw's sharp wraps clamp the larger decode's pixels).
    CImageItem shown, thumbnailOnly;
    shown.m_path = thumbnailOnly.m_path = Put("shown.jpg", RgbJpeg(1600, 1200));
    ASSERT_EQ(m_loader.LoadViewAndThumbnail(shown.m_picture, shown.File()), 1);
    ASSERT_EQ(m_loader.LoadThumbnail(thumbnailOnly.m_picture, thumbnailOnly.File()), 1);
    EXPECT_EQ(shown.m_picture.m_fullBitmap->Width(), 400);
    int most = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 42 * 3; ++x)
            most = std::max(most, std::abs(shown.m_picture.m_thumbnail->RowFromTop(y)[x]
                                           - thumbnailOnly.m_picture.m_thumbnail->RowFromTop(y)[x]));
    EXPECT_LE(most, 2);
}

// Archive members decode from memory and not a byte of one is written
// anywhere; a member whose data breaks off, and one inflating far beyond any
// picture (reading stops at the cap), fail with their message.
TEST_F(ImageLoaderTest, ArchiveMembersDecodeFromMemoryWithoutCreatingAFile)
{
    const Bytes grayBmp = BuildBmp(SolidBmp(10, 4, 8, 1, 2, 3));
    TestZipMember damaged("photo.jpg", ToByteArray(RgbJpeg(2000, 1500)));
    const QByteArray packed = RawDeflate(damaged.data);  // not a valid deflate stream from the middle on
    damaged.compressed = packed.left(packed.size() / 2) + QByteArray(64, '\xFF');
    // Zeros: one flushed block of a mebibyte, repeated, then an empty last block.
    const QByteArray zeros(1 << 20, '\0');
    const int mebibytes = int(kZipMemberByteCap >> 20) + 1;
    TestZipMember bomb("zeros.png", QByteArray());
    bomb.compressed = RawDeflate(zeros, int(zeros.size())).repeated(mebibytes) + QByteArray("\x03\x00", 2);
    uLong crc = crc32(0, Z_NULL, 0);
    for (int i = 0; i < mebibytes; ++i)
        crc = crc32(crc, reinterpret_cast<const Bytef*>(zeros.constData()), uInt(zeros.size()));
    bomb.crc = uint32_t(crc);
    bomb.statedSize = uint32_t(mebibytes) << 20;
    ASSERT_TRUE(WriteTestFile(m_dir.filePath("pics.zip"),
                              BuildTestZip({TestZipMember("gray.bmp", ToByteArray(grayBmp)),
                                            TestZipMember("big.jpg", ToByteArray(RgbJpeg(2000, 1500))),
                                            TestZipMember("wide.png", ToByteArray(RgbPng(1000, 10))), damaged, bomb})));
    Watch();
    CImageItem bmp;
    Member(bmp, "GRAY.BMP");
    ASSERT_TRUE(CImageLoader::IsArchiveMember(bmp.File()));
    ASSERT_EQ(LoadCurrentPicture(m_loader, {&bmp.m_picture}, bmp.m_picture, bmp.File(), false), 1);
    // Shown at 24 bits; the item keeps the file's own depth.
    EXPECT_EQ(bmp.m_picture.m_bitsPerPixel, 8);
    EXPECT_EQ(bmp.m_picture.m_fullBitmap->BitsPerPixel(), 24);
    EXPECT_EQ(bmp.m_picture.m_fileSize, uint32_t(grayBmp.size()));

    CImageItem jpeg;
    Member(jpeg, "big.jpg");
    ASSERT_EQ(m_loader.LoadThumbnail(jpeg.m_picture, jpeg.File()), 1);
    EXPECT_EQ(std::pair(jpeg.m_picture.m_width, jpeg.m_picture.m_height), std::pair(2000, 1500));
    EXPECT_EQ(jpeg.m_picture.m_thumbnail->Width(), 42);

    CImageItem png;
    Member(png, "wide.png");
    ASSERT_EQ(m_loader.LoadZipMember(png.m_picture, png.File(), kThumb, false), 1);
    EXPECT_EQ(png.m_picture.m_width, 1000);
    EXPECT_EQ(png.m_picture.m_fullBitmap->Width(), 320);  // always decoded as for the view

    CImageItem absent;
    Member(absent, "none.jpg");
    EXPECT_EQ(m_loader.LoadZipMember(absent.m_picture, absent.File(), kView, true), 1);
    EXPECT_EQ(m_loader.LoadZipMember(absent.m_picture, absent.File(), kView, false), 0);
    EXPECT_TRUE(MessageBoxService::Messages().isEmpty()) << MessageBoxService::Messages().join('|').toStdString();
    for (const char* name : {"photo.jpg", "zeros.png"}) {
        MessageBoxService::ClearMessages();
        CImageItem item;
        Member(item, name);
        EXPECT_EQ(LoadCurrentPicture(m_loader, {&item.m_picture}, item.m_picture, item.File(), true), 0);
        EXPECT_EQ(item.m_picture.m_fullBitmap, nullptr);
        EXPECT_EQ(MessageBoxService::Messages(), QStringList {QStringLiteral("Cannot load ") + name});
    }
    EXPECT_EQ(Created(), "");
}

namespace {

using namespace std::string_literals;
// A TIFF block of one Orientation entry, 8, in Motorola byte order.
const std::string kBigEndian8 = "MM\0*\0\0\0\x08\0\x01\x01\x12\0\x03\0\0\0\x01\0\x08\0\0\0\0\0\0"s;

// The mean difference of a channel between two bitmaps of one size; 256 for another size.
int MeanDifference(HBITMAP a, HBITMAP b)
{
    if (a->Width() != b->Width() || a->Height() != b->Height())
        return 256;
    int64_t sum = 0;
    for (int y = 0; y < a->Height(); ++y)
        for (int x = 0; x < a->Width() * 3; ++x)
            sum += std::abs(a->RowFromTop(y)[x] - b->RowFromTop(y)[x]);
    return int(sum / (int64_t(a->Width()) * a->Height() * 3));
}

}  // namespace

// One photograph stored in every orientation (its Exif block says how to
// stand it up) comes out as the upright one in the view decode, in the
// thumbnail decode and as an archive member; with the setting off a turned
// one stays as stored.
TEST_F(ImageLoaderTest, ExifOrientedPhotosComeOutUprightInEveryLoad)
{
    CImageItem upright;
    upright.m_path = PutCorpus(QStringLiteral("upright.jpg"), "jpeg/exif-orientation/Landscape_1.jpg");
    ASSERT_EQ(Load(upright, upright.m_path, kView), 1);
    ASSERT_EQ(m_loader.LoadThumbnail(upright.m_picture, upright.File()), 1);
    ASSERT_TRUE(WriteTestFile(m_dir.filePath(QStringLiteral("pics.zip")), BuildTestZip({TestZipMember("6.jpg", [] {
                                  QFile f(QStringLiteral(LUMO_CORPUS_DIR "/jpeg/exif-orientation/Landscape_6.jpg"));
                                  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
                              }())})));
    for (int orientation = 0; orientation <= 8; ++orientation) {
        SCOPED_TRACE(orientation);
        const QByteArray name = QByteArray::number(orientation) + ".jpg";
        CImageItem view, thumbnail;
        view.m_path = thumbnail.m_path = PutCorpus(
            QString::fromLatin1(name), ("jpeg/exif-orientation/Landscape_" + name.left(1) + ".jpg").constData());
        ASSERT_EQ(Load(view, view.m_path, kView), 1);
        ASSERT_EQ(m_loader.LoadThumbnail(thumbnail.m_picture, thumbnail.File()), 1);
        EXPECT_EQ(std::tuple(view.m_picture.m_width, view.m_picture.m_height, thumbnail.m_picture.m_width,
                             thumbnail.m_picture.m_height),
                  std::tuple(1800, 1200, 1800, 1200));
        EXPECT_LE(MeanDifference(view.m_picture.m_fullBitmap, upright.m_picture.m_fullBitmap), 2);
        EXPECT_LE(MeanDifference(thumbnail.m_picture.m_thumbnail, upright.m_picture.m_thumbnail), 2);
    }
    // A PNG's eXIf chunk: stored 640 x 400, shown 400 x 640 and decoded by
    // the upright width (320 of 400, not 200).
    PngLayout png {640, 400};
    png.samples.assign(640 * 400 * 3, 0x80);
    png.exif = kBigEndian8;
    CImageItem turned, member, asStored;
    ASSERT_EQ(Load(turned, Put(QStringLiteral("8.png"), MakePng(png)), kView), 1);
    EXPECT_EQ(std::tuple(turned.m_picture.m_width, turned.m_picture.m_height, turned.m_picture.m_fullBitmap->Width()),
              std::tuple(400, 640, 320));
    Member(member, "6.jpg");
    ASSERT_EQ(m_loader.LoadZipMember(member.m_picture, member.File(), kView, false), 1);
    EXPECT_LE(MeanDifference(member.m_picture.m_fullBitmap, upright.m_picture.m_fullBitmap), 2);
    CRegistryStore::Instance().SetFile(m_dir.filePath(QStringLiteral("registry.reg")));
    ASSERT_TRUE(Settings::SetExifOrientation(0));
    ASSERT_EQ(Load(asStored, QStringLiteral("\\6.jpg"), kView), 1);
    CRegistryStore::Instance().SetFile(QString());
    EXPECT_EQ(std::pair(asStored.m_picture.m_width, asStored.m_picture.m_fullBitmap->Width()), std::pair(1200, 600));
}

// A region decodes to that part of the whole picture decoded at the same
// scale, for each decoder, cut anywhere (across blocks and pass rows, at the
// last rows and columns, past the edge). A turned or mirrored photo's region
// is the upright photo's, also from an archive.
TEST_F(ImageLoaderTest, ARegionIsThatPartOfTheWholePictureAtItsScale)
{
    const auto ramp = [](int x, int y) { return uint32_t(x) * 0x10305u + uint32_t(y) * 0x70503u; };
    GifLayout gif {200, 152, 0, 0, 200, 152, true};
    TestBmp bmp {200, 152};
    for (int i = 0; i < 256; ++i)
        gif.palette.insert(gif.palette.end(), {uint8_t(i), uint8_t(i * 7), uint8_t(255 - i)});
    for (int y = 0; y < 152; ++y)
        for (int x = 0; x < 200; ++x) {
            gif.indices.push_back(uint8_t(x * 3 + y * 5));
            const uint32_t c = ramp(x, 151 - y);
            bmp.pixels.insert(bmp.pixels.end(), {uint8_t(c), uint8_t(c >> 8), uint8_t(c >> 16)});
        }
    TestJpeg gray {200, 152, JCS_GRAYSCALE}, inks {200, 152, JCS_CMYK}, progressive {200, 152};
    progressive.progressive = true;
    const std::pair<const char*, Bytes> files[] = {
        {"ramp.jpg", RgbJpeg(200, 152)},
        {"gray.jpg", EncodeJpeg(gray)},
        {"inks.jpg", EncodeJpeg(inks)},
        {"prog.jpg", EncodeJpeg(progressive)},
        {"ramp.png", MakeRgbPng(200, 152, false, ramp)},
        {"laced.png", MakeRgbPng(200, 152, true, ramp)},
        {"laced.gif", MakeGif(gif)},
        {"ramp.bmp", BuildBmp(bmp)},
    };
    const auto same = [](HBITMAP a, HBITMAP b, int x, int y) {
        for (int row = 0; row < a->Height(); ++row)
            if (std::memcmp(a->RowFromTop(row), b->RowFromTop(y + row) + x * 3, size_t(a->Width()) * 3) != 0)
                return false;
        return true;
    };
    const CPixelRect parts[] = {{36, 20, 90, 70}, {120, 96, 80, 56}, {184, 140, 40, 40}};
    for (const auto& [name, bytes] : files) {
        CImageItem item;
        ASSERT_EQ(Load(item, Put(QString::fromLatin1(name), bytes), kView), 1);
        for (int scale : {1, 2}) {
            SCOPED_TRACE(std::string(name) + " at 1/" + std::to_string(scale));
            HBITMAP whole = m_loader.LoadRegion(item.File(), {{0, 0, 200, 152}, scale}, 1, 200, 152);
            ASSERT_NE(whole, nullptr);
            EXPECT_EQ(std::pair(whole->Width(), whole->Height()), std::pair(200 / scale, 152 / scale));
            if (scale == 1) {
                EXPECT_TRUE(same(whole, item.m_picture.m_fullBitmap, 0, 0));
            }
            for (const CPixelRect& part : parts) {
                HBITMAP region = m_loader.LoadRegion(item.File(), {part, scale}, 1, 200, 152);
                const CPixelRect inside = part.ClippedTo(200, 152);
                ASSERT_NE(region, nullptr);
                EXPECT_EQ(std::pair(region->Width(), region->Height()),
                          std::pair(inside.width / scale, inside.height / scale));
                EXPECT_TRUE(same(region, whole, inside.x / scale, inside.y / scale)) << part.x;
                DeleteObject(region);
            }
            DeleteObject(whole);
        }
    }
    ASSERT_TRUE(WriteTestFile(m_dir.filePath(QStringLiteral("pics.zip")), BuildTestZip({TestZipMember("6.jpg", [] {
                                  QFile f(QStringLiteral(LUMO_CORPUS_DIR "/jpeg/exif-orientation/Landscape_6.jpg"));
                                  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
                              }())})));
    const CPictureRegion part {{600, 400, 320, 240}, 4};
    CImageItem mirrored, member;
    mirrored.m_path = PutCorpus(QStringLiteral("7.jpg"), "jpeg/exif-orientation/Landscape_7.jpg");
    Member(member, "6.jpg");
    ASSERT_EQ(Load(mirrored, mirrored.m_path, kView), 1);
    ASSERT_EQ(m_loader.LoadZipMember(member.m_picture, member.File(), kView, false), 1);
    for (const auto& [item, orientation] : {std::pair(&mirrored, 7), std::pair(&member, 6)}) {
        HBITMAP region = m_loader.LoadRegion(item->File(), part, orientation, 1800, 1200);
        ASSERT_NE(region, nullptr);
        EXPECT_EQ(std::pair(region->Width(), region->Height()), std::pair(80, 60));
        EXPECT_TRUE(same(region, item->m_picture.m_fullBitmap, 150, 100)) << orientation;
        DeleteObject(region);
    }
}

// Each orientation's copy of a 3 x 2 picture of pixels 1 to 6, rows top to
// bottom (damaged Exif blocks: the fuzz seeds and the corpus).
TEST(Orientation, EachValueGivesItsUprightPixels)
{
    const char* expected[]
        = {"123/456/", "321/654/", "654/321/", "456/123/", "14/25/36/", "41/52/63/", "63/52/41/", "36/25/14/"};
    HBITMAP stored = CreateBitmap(3, 2, 1, 24, nullptr);
    for (int i = 0; i < 6; ++i)
        stored->RowFromTop(i / 3)[i % 3 * 3] = uint8_t('1' + i);
    EXPECT_EQ(UprightBitmap(stored, 1), nullptr);
    for (int orientation = 2; orientation <= 8; ++orientation) {
        HBITMAP b = UprightBitmap(stored, orientation);
        std::string rows;
        for (int y = 0; y < b->Height(); ++y, rows += '/')
            for (int x = 0; x < b->Width(); ++x)
                rows += char(b->RowFromTop(y)[x * 3]);
        EXPECT_EQ(rows, expected[orientation - 1]) << orientation;
        DeleteObject(b);
    }
    DeleteObject(stored);
}
