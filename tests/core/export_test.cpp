// BMP and JPEG writers: file layout, sizes, atomic replacement, failures.
#include "image/dib_bitmap.h"
#include "image/export.h"
#include "image/jpeg_decoder.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

namespace {

QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

uint32_t U32(const QByteArray& b, int at)
{
    auto u = [&](int i) { return uint32_t(uint8_t(b[at + i])); };
    return u(0) | (u(1) << 8) | (u(2) << 16) | (u(3) << 24);
}

uint16_t U16(const QByteArray& b, int at)
{
    return uint16_t(uint8_t(b[at]) | (uint8_t(b[at + 1]) << 8));
}

// A smooth picture: red across, green down, blue constant.
HBITMAP Gradient(int width, int height)
{
    std::vector<uint8_t> rgb(size_t(width) * height * 3);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uint8_t* p = &rgb[(size_t(y) * width + x) * 3];
            p[0] = uint8_t(x * 255 / (width - 1));
            p[1] = uint8_t(y * 255 / (height - 1));
            p[2] = 90;
        }
    return BitmapFromRgb(rgb.data(), width, height);
}

class ExportTest : public testing::Test {
protected:
    QString Path(const char* name) const { return m_dir.filePath(QString::fromUtf8(name)); }
    QTemporaryDir m_dir;
};

}  // namespace

TEST_F(ExportTest, BmpOfExactWidthBitmapHasPaddedRowsAndReplacesALongerFileWhole)
{
    WriteAll(Path("old.bmp"), QByteArray(100000, 'x'));
    CDibBitmap dib;
    dib.Create(101, 50);  // as a decoded 101 x 50 JPEG
    ASSERT_EQ(SaveAsBmp(dib.m_handle, Path("old.bmp")), 1);
    const QByteArray file = ReadAll(Path("old.bmp"));
    EXPECT_EQ(file.size(), 15254);
    EXPECT_EQ(U32(file, 2), 15254u);
    EXPECT_EQ(U32(file, 18), 101u);
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);  // no temporary left
}

TEST_F(ExportTest, BmpKeepsThirtyTwoBitsAndExpandsPaletteBitmaps)
{
    HBITMAP wide = CreateBitmap(3, 2, 1, 32, nullptr);
    ASSERT_EQ(SaveAsBmp(wide, Path("32.bmp")), 1);
    DeleteObject(wide);
    const QByteArray file32 = ReadAll(Path("32.bmp"));
    EXPECT_EQ(file32.size(), 54 + 12 * 2);
    EXPECT_EQ(U16(file32, 28), 32);

    BITMAPINFOHEADER header;
    header.biWidth = 3;
    header.biHeight = 1;
    header.biBitCount = 8;
    const RGBQUAD palette[2] = {{1, 2, 3, 0}, {40, 50, 60, 0}};
    HBITMAP indexed = CreateDIBSection(header, palette, 2, nullptr);
    indexed->RowFromTop(0)[1] = 1;
    ASSERT_EQ(SaveAsBmp(indexed, Path("8.bmp")), 1);
    DeleteObject(indexed);
    const QByteArray file8 = ReadAll(Path("8.bmp"));
    ASSERT_EQ(file8.size(), 54 + 12);
    EXPECT_EQ(U16(file8, 28), 24);
    EXPECT_EQ(U32(file8, 18), 3u);
    EXPECT_EQ(file8.mid(54, 9), QByteArray("\x01\x02\x03\x28\x32\x3c\x01\x02\x03", 9));
}

TEST_F(ExportTest, NothingIsWrittenWithoutAPictureOrAUsableTarget)
{
    CDibBitmap dib;
    dib.Create(8, 8);
    EXPECT_EQ(SaveAsBmp(nullptr, Path("none.bmp")), 0);
    EXPECT_EQ(SaveAsJpeg(nullptr, Path("none.jpg")), 0);
    EXPECT_FALSE(QFileInfo::exists(Path("none.bmp")));
    EXPECT_FALSE(QFileInfo::exists(Path("none.jpg")));
    EXPECT_EQ(SaveAsBmp(dib.m_handle, Path("missing/x.bmp")), 0);
    EXPECT_EQ(SaveAsJpeg(dib.m_handle, Path("missing/x.jpg")), 0);
    // A regular file as folder stops even root.
    WriteAll(Path("plain"), "data");
    EXPECT_EQ(SaveAsBmp(dib.m_handle, Path("plain/x.bmp")), 0);
    EXPECT_EQ(SaveAsJpeg(dib.m_handle, Path("plain/x.jpg")), 0);
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("folder")));
    EXPECT_EQ(SaveAsBmp(dib.m_handle, Path("folder")), 0);
    EXPECT_TRUE(QFileInfo(Path("folder")).isDir());
    EXPECT_EQ(SaveAsBmp(dib.m_handle, QString()), 0);
}

TEST_F(ExportTest, FailedSaveInReadOnlyFolderLeavesTheOldFileIntact)
{
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("ro")));
    const QString target = Path("ro/keep.bmp");
    WriteAll(target, "old contents");
    QFile::setPermissions(Path("ro"), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    QFile probe(Path("ro/probe"));
    if (probe.open(QIODevice::WriteOnly)) {
        probe.remove();
        QFile::setPermissions(Path("ro"), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        GTEST_SKIP() << "folder permissions do not stop this user (running as root)";
    }
    CDibBitmap dib;
    dib.Create(8, 8);
    EXPECT_EQ(SaveAsBmp(dib.m_handle, target), 0);
    EXPECT_EQ(SaveAsJpeg(dib.m_handle, target), 0);
    EXPECT_EQ(ReadAll(target), QByteArray("old contents"));
    QFile::setPermissions(Path("ro"), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

// A file size limit makes the write itself fail, for every user alike.
TEST_F(ExportTest, WriteErrorIsReportedAndLeavesTheOldFileIntact)
{
    const QString target = Path("keep.bmp");
    WriteAll(target, "old contents");
    CDibBitmap dib;
    dib.Create(200, 200);
    uint32_t noise = 1;  // noise keeps the JPEG well above the limit too
    for (int i = 0; i < 200 * 200 * 3; ++i, noise = noise * 1664525u + 1013904223u)
        dib.m_bits[i] = uint8_t(noise >> 24);
    rlimit saved;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 4096;
    auto previous = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const int bmp = SaveAsBmp(dib.m_handle, target);
    const int jpeg = SaveAsJpeg(dib.m_handle, target);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
    EXPECT_EQ(bmp, 0);
    EXPECT_EQ(jpeg, 0);
    EXPECT_EQ(ReadAll(target), QByteArray("old contents"));
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

TEST_F(ExportTest, JpegIsBaselineJfifAtFullQuality)
{
    HBITMAP picture = Gradient(64, 48);
    ASSERT_EQ(SaveAsJpeg(picture, Path("g.jpg")), 1);
    const QByteArray file = ReadAll(Path("g.jpg"));
    ASSERT_GT(file.size(), 20);
    // SOI, then APP0 "JFIF" 1.01 with density unit 0 and density 1 x 1.
    EXPECT_EQ(file.left(4), QByteArray("\xFF\xD8\xFF\xE0", 4));
    EXPECT_EQ(file.mid(6, 5), QByteArray("JFIF\0", 5));
    EXPECT_EQ(file.mid(11, 7), QByteArray("\x01\x01\x00\x00\x01\x00\x01", 7));
    EXPECT_TRUE(file.contains(QByteArray("\xFF\xC0", 2)));   // baseline frame
    EXPECT_FALSE(file.contains(QByteArray("\xFF\xFE", 2)));  // no comment
    EXPECT_TRUE(file.endsWith(QByteArray("\xFF\xD9", 2)));

    JpegImage d;
    ASSERT_EQ(DecodeJpegMemory(reinterpret_cast<const uint8_t*>(file.constData()), size_t(file.size()), {}, &d),
              JpegStatus::kDecoded);
    ASSERT_EQ(d.outputWidth, 64);
    ASSERT_EQ(d.outputHeight, 48);
    int worst = 0;
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x) {
            const uint8_t* p = &d.rgb[(size_t(y) * 64 + x) * 3];
            worst
                = std::max({worst, std::abs(p[0] - x * 255 / 63), std::abs(p[1] - y * 255 / 47), std::abs(p[2] - 90)});
        }
    EXPECT_LE(worst, 6);  // quality 100 on a smooth picture; top row first, red not swapped
    DeleteObject(picture);
}

TEST_F(ExportTest, JpegFromThirtyTwoBitsMatchesTwentyFourBits)
{
    HBITMAP picture = Gradient(32, 16);
    HBITMAP wide = CreateBitmap(32, 16, 1, 32, nullptr);
    ASSERT_EQ(BitBlt(wide, 0, 0, 32, 16, picture, 0, 0), 1);
    ASSERT_EQ(SaveAsJpeg(picture, Path("24.jpg")), 1);
    ASSERT_EQ(SaveAsJpeg(wide, Path("32.jpg")), 1);
    EXPECT_EQ(ReadAll(Path("24.jpg")), ReadAll(Path("32.jpg")));
    DeleteObject(picture);
    DeleteObject(wide);
}

TEST_F(ExportTest, CompressorErrorIsAFailureNotAnExit)
{
    WriteAll(Path("keep.jpg"), "old contents");
    HBITMAP tooWide = CreateBitmap(65501, 1, 1, 24, nullptr);  // past the format's 65500 limit
    ASSERT_NE(tooWide, nullptr);
    EXPECT_EQ(SaveAsJpeg(tooWide, Path("keep.jpg")), 0);
    EXPECT_EQ(ReadAll(Path("keep.jpg")), QByteArray("old contents"));
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
    DeleteObject(tooWide);
}

TEST(DibToRgbRows, FlipsRowsAndOrdersRedGreenBlueFor24And32Bits)
{
    for (int depth : {24, 32}) {
        HBITMAP b = CreateBitmap(2, 2, 1, depth, nullptr);
        FillRect(b, 0, 0, 2, 1, 10, 20, 30);  // top row
        FillRect(b, 1, 1, 1, 1, 40, 50, 60);  // bottom right
        BITMAP info;
        GetObject(b, &info);
        std::vector<uint8_t> top(6), bottom(6);
        uint8_t* rows[2] = {top.data(), bottom.data()};
        ASSERT_EQ(DibToRgbRows(rows, info), 1);
        EXPECT_EQ(top, (std::vector<uint8_t> {10, 20, 30, 10, 20, 30})) << depth;
        EXPECT_EQ(bottom, (std::vector<uint8_t> {0, 0, 0, 40, 50, 60})) << depth;
        DeleteObject(b);
    }
    HBITMAP b16 = CreateBitmap(2, 2, 1, 16, nullptr);
    BITMAP info;
    GetObject(b16, &info);
    std::vector<uint8_t> row(6, 7);
    uint8_t* rows[2] = {row.data(), row.data()};
    EXPECT_EQ(DibToRgbRows(rows, info), 0);
    EXPECT_EQ(row, std::vector<uint8_t>(6, 7));
    DeleteObject(b16);
}
