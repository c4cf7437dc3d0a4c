// The third-party corpus through the BMP reader and the JPEG decoder: every
// accepted file decodes to its listed size at full scale, every rejected file
// is refused, and no file of any verdict crashes.
#include "image/bmp_reader.h"
#include "image/jpeg_decoder.h"

#include <QDir>
#include <QFile>
#include <QTextStream>
#include <cstdio>
#include <gtest/gtest.h>

namespace {

struct CorpusRow {
    QString path;
    QString expect;
    int width = 0;
    int height = 0;
};

std::vector<CorpusRow> Rows(const QString& format)
{
    std::vector<CorpusRow> rows;
    QFile manifest(QStringLiteral(LUMO_CORPUS_DIR "/manifest.tsv"));
    if (!manifest.open(QIODevice::ReadOnly | QIODevice::Text))
        return rows;
    QTextStream in(&manifest);
    in.readLine();  // header
    while (!in.atEnd()) {
        const QStringList fields = in.readLine().split(QLatin1Char('\t'));
        if (fields.size() < 5 || fields[1] != format)
            continue;
        rows.push_back(
            {QStringLiteral(LUMO_CORPUS_DIR "/") + fields[0], fields[2], fields[3].toInt(), fields[4].toInt()});
    }
    return rows;
}

struct Size {
    bool decoded = false;
    int width = 0;
    int height = 0;
};

Size DecodeBmpFile(const QString& path)
{
    Size size;
    if (HBITMAP bitmap = SHLoadDIBitmap(path)) {
        size = {true, bitmap->Width(), bitmap->Height()};
        DeleteObject(bitmap);
    }
    return size;
}

Size DecodeJpegFullSize(const QString& path)
{
    Size size;
    FILE* file = std::fopen(QFile::encodeName(path).constData(), "rb");
    if (!file)
        return size;
    JpegRequest request;
    request.decodeGrayscale = true;
    JpegImage image;
    if (DecodeJpegFile(file, request, &image) == JpegStatus::kDecoded)
        size = {true, image.outputWidth, image.outputHeight};
    std::fclose(file);
    return size;
}

void WalkCorpus(const QString& format, Size (*decode)(const QString&))
{
    const std::vector<CorpusRow> rows = Rows(format);
    if (rows.empty())
        GTEST_SKIP() << "third-party corpus not found at " LUMO_CORPUS_DIR;
    int accepted = 0, acceptRows = 0, refused = 0, rejectRows = 0, eitherDecoded = 0, eitherRows = 0;
    testing::internal::CaptureStderr();  // libjpeg's warnings and messages
    for (const CorpusRow& row : rows) {
        const Size size = decode(row.path);
        if (row.expect == QLatin1String("accept")) {
            ++acceptRows;
            EXPECT_TRUE(size.decoded) << row.path.toStdString();
            EXPECT_EQ(size.width, row.width) << row.path.toStdString();
            EXPECT_EQ(size.height, row.height) << row.path.toStdString();
            accepted += size.decoded && size.width == row.width && size.height == row.height;
        } else if (row.expect == QLatin1String("reject")) {
            ++rejectRows;
            EXPECT_FALSE(size.decoded) << row.path.toStdString();
            refused += !size.decoded;
        } else {
            ++eitherRows;
            eitherDecoded += size.decoded;
        }
    }
    testing::internal::GetCapturedStderr();
    std::printf("%s corpus: accept %d/%d decoded at their size, reject %d/%d refused, either %d/%d decoded\n",
                qPrintable(format), accepted, acceptRows, refused, rejectRows, eitherDecoded, eitherRows);
}

}  // namespace

TEST(CorpusBmp, AcceptedDecodeToTheirSizeRejectedAreRefused)
{
    WalkCorpus(QStringLiteral("bmp"), DecodeBmpFile);
}

TEST(CorpusJpeg, AcceptedDecodeToTheirSizeRejectedAreRefused)
{
    WalkCorpus(QStringLiteral("jpeg"), DecodeJpegFullSize);
}
