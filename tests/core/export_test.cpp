// BMP and JPEG writers: file layout, sizes, atomic replacement, failures.
#include "image/dib_bitmap.h"
#include "image/export.h"
#include "image/jpeg_decoder.h"
#include "test_pictures.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtEndian>

#include <csignal>
#include <sys/resource.h>
#include <vector>

namespace {

class ExportTest : public testing::Test {
protected:
    QString Path(const char* name) const { return m_dir.filePath(QString::fromUtf8(name)); }
    QByteArray Read(const char* name) const
    {
        QFile f(Path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void Write(const char* name, const QByteArray& bytes) { ASSERT_TRUE(WriteTestFile(Path(name), bytes)); }
    // The files in the folder: a failed or finished save leaves no temporary.
    qsizetype Files() const { return QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden).size(); }
    QTemporaryDir m_dir;
};

}  // namespace

// Rows padded to four bytes, 32 bits kept, palette bitmaps expanded to 24
// bits; a longer file is replaced whole.
TEST_F(ExportTest, BmpLayoutForEachDepth)
{
    Write("out.bmp", QByteArray(100000, 'x'));
    CDibBitmap exact;
    exact.Create(101, 50);  // as a decoded 101 x 50 JPEG
    HBITMAP wide = CreateBitmap(3, 2, 1, 32, nullptr);
    const BITMAPINFOHEADER header {40, 3, 1, 1, 8};
    const RGBQUAD palette[2] = {{1, 2, 3, 0}, {40, 50, 60, 0}};
    HBITMAP indexed = CreateDIBSection(header, palette, 2, nullptr);
    indexed->RowFromTop(0)[1] = 1;
    const struct {
        HBITMAP bitmap;
        int size, width, depth;
    } cases[] = {{exact.m_handle, 54 + 304 * 50, 101, 24}, {wide, 54 + 12 * 2, 3, 32}, {indexed, 54 + 12, 3, 24}};
    for (const auto& c : cases) {
        ASSERT_EQ(SaveAsBmp(c.bitmap, Path("out.bmp")), 1);
        const QByteArray file = Read("out.bmp");
        // The stated size, the width, and the depth followed by no compression.
        const auto le = [&](int at) { return int(qFromLittleEndian<quint32>(file.constData() + at)); };
        EXPECT_EQ(std::tuple(file.size(), le(2), le(18), le(28)), std::tuple(c.size, c.size, c.width, c.depth));
        EXPECT_EQ(Files(), 1);
    }
    EXPECT_EQ(Read("out.bmp").mid(54, 9), QByteArray("\x01\x02\x03\x28\x32\x3c\x01\x02\x03", 9));
    DeleteObject(wide);
    DeleteObject(indexed);
}

// Nothing is written without a picture or a usable target. A file size limit
// that makes the write itself fail (for every user alike), and a picture past
// the JPEG format's 65500 limit, fail the save and leave the old file intact.
TEST_F(ExportTest, FailedSaveWritesNothingAndLeavesTheOldFileIntact)
{
    CDibBitmap dib;
    dib.Create(200, 200);
    uint32_t noise = 1;  // noise keeps the JPEG well above the limit too
    for (int i = 0; i < 200 * 200 * 3; ++i, noise = noise * 1664525u + 1013904223u)
        dib.m_bits[i] = uint8_t(noise >> 24);
    Write("plain", "data");  // a regular file as folder stops even root
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("folder")));
    const std::pair<HBITMAP, const char*> cases[]
        = {{nullptr, "none"}, {dib.m_handle, "missing/x"}, {dib.m_handle, "plain/x"}};
    for (const auto& [bitmap, name] : cases) {
        EXPECT_EQ(SaveAsBmp(bitmap, Path(name) + ".bmp"), 0) << name;
        EXPECT_EQ(SaveAsJpeg(bitmap, Path(name) + ".jpg"), 0) << name;
    }
    EXPECT_EQ(SaveAsBmp(dib.m_handle, Path("folder")), 0);
    EXPECT_TRUE(QFileInfo(Path("folder")).isDir());
    EXPECT_EQ(SaveAsBmp(dib.m_handle, QString()), 0);

    Write("keep.bmp", "old contents");
    rlimit saved;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 4096;
    auto previous = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const int bmp = SaveAsBmp(dib.m_handle, Path("keep.bmp"));
    const int jpeg = SaveAsJpeg(dib.m_handle, Path("keep.bmp"));
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
    EXPECT_EQ(std::pair(bmp, jpeg), std::pair(0, 0));
    HBITMAP tooWide = CreateBitmap(65501, 1, 1, 24, nullptr);
    EXPECT_EQ(SaveAsJpeg(tooWide, Path("keep.bmp")), 0);
    DeleteObject(tooWide);
    EXPECT_EQ(Read("keep.bmp"), QByteArray("old contents"));
    EXPECT_EQ(Files(), 2);
}

// Baseline JFIF at full quality, top row first, red not swapped; 32-bit
// bitmaps give the same file as 24-bit ones.
TEST_F(ExportTest, JpegIsBaselineJfifAtFullQualityAndSixteenBitRowsAreRefused)
{
    std::vector<uint8_t> rgb;  // red across, green down, blue constant
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x)
            rgb.insert(rgb.end(), {uint8_t(x * 255 / 63), uint8_t(y * 255 / 47), 90});
    HBITMAP picture = BitmapFromRgb(rgb.data(), 64, 48);
    HBITMAP wide = CreateBitmap(64, 48, 1, 32, nullptr);
    ASSERT_EQ(BitBlt(wide, 0, 0, 64, 48, picture, 0, 0), 1);
    ASSERT_EQ(SaveAsJpeg(picture, Path("g.jpg")), 1);
    ASSERT_EQ(SaveAsJpeg(wide, Path("32.jpg")), 1);
    DeleteObject(picture);
    DeleteObject(wide);
    const QByteArray file = Read("g.jpg");
    EXPECT_EQ(Read("32.jpg"), file);
    // SOI, then APP0 "JFIF" 1.01 with density unit 0 and density 1 x 1.
    EXPECT_EQ(file.left(18), QByteArray("\xFF\xD8\xFF\xE0\x00\x10JFIF\0\x01\x01\x00\x00\x01\x00\x01", 18));
    EXPECT_TRUE(file.contains(QByteArray("\xFF\xC0", 2)));   // baseline frame
    EXPECT_FALSE(file.contains(QByteArray("\xFF\xFE", 2)));  // no comment
    EXPECT_TRUE(file.endsWith(QByteArray("\xFF\xD9", 2)));

    JpegImage d;
    ASSERT_EQ(DecodeJpegMemory(reinterpret_cast<const uint8_t*>(file.constData()), size_t(file.size()), {}, &d),
              JpegStatus::kDecoded);
    ASSERT_EQ(std::pair(d.outputWidth, d.outputHeight), std::pair(64, 48));
    int worst = 0;
    for (int i = 0; i < 64 * 48; ++i) {
        const uint8_t* p = &d.rgb[size_t(i) * 3];
        const int x = i % 64, y = i / 64;
        worst = std::max({worst, std::abs(p[0] - x * 255 / 63), std::abs(p[1] - y * 255 / 47), std::abs(p[2] - 90)});
    }
    EXPECT_LE(worst, 6);
    // 24- and 32-bit rows are proven through the saved JPEG; 16 bits are refused.
    HBITMAP b = CreateBitmap(2, 2, 1, 16, nullptr);
    BITMAP info;
    GetObject(b, &info);
    std::vector<uint8_t> top(6, 7), bottom(6, 7);
    uint8_t* rows[2] = {top.data(), bottom.data()};
    EXPECT_EQ(DibToRgbRows(rows, info), 0);
    EXPECT_EQ(top, std::vector<uint8_t>(6, 7));
    DeleteObject(b);
}
