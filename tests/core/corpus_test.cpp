// The third-party corpus: every file its manifest calls valid decodes at full
// scale to the listed size (BMP reader, JPEG decoder, PNG and GIF decoder) or,
// for archives, opens, lists and extracts; every invalid one is refused (an
// archive with the user's message); the questionable ones are decoded or
// refused; none crashes.
#include "image/bmp_reader.h"
#include "image/image_decoder.h"
#include "image/jpeg_decoder.h"
#include "image/zip_archive.h"
#include "platform/device_path.h"
#include "platform/message_box.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <cstdio>
#include <gtest/gtest.h>

namespace {

struct CorpusRow {
    QString path, expect;  // absolute; accept, reject or either
    int width = 0, height = 0;
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
        const QStringList f = in.readLine().split(QLatin1Char('\t'));
        if (f.size() >= 3 && f[1] == format)
            rows.push_back({QStringLiteral(LUMO_CORPUS_DIR "/") + f[0], f[2], f.value(3).toInt(), f.value(4).toInt()});
    }
    return rows;
}

// Decoded or not, and the size.
struct Outcome {
    bool decoded = false;
    int width = 0, height = 0;
};

Outcome Bitmap(HBITMAP bitmap)
{
    Outcome out {bitmap != nullptr, bitmap ? bitmap->Width() : 0, bitmap ? bitmap->Height() : 0};
    DeleteObject(bitmap);
    return out;
}

Outcome DecodeJpegFullSize(const QString& path)
{
    FILE* file = std::fopen(QFile::encodeName(path).constData(), "rb");
    JpegRequest request;
    request.decodeGrayscale = true;
    JpegImage image;
    const bool decoded = file && DecodeJpegFile(file, request, &image) == JpegStatus::kDecoded;
    if (file)
        std::fclose(file);
    return {decoded, image.outputWidth, image.outputHeight};
}

Outcome DecodeImage(const QString& path)
{
    HBITMAP bitmap = nullptr;
    DecompressImageInfo info;
    info.path = path;
    info.iScale = 100;
    info.iMaxWidth = info.iMaxHeight = 0;  // the listed size exactly, whatever it is
    info.phBM = &bitmap;
    const bool decoded = DecompressImageIndirect(&info) == 0;
    EXPECT_EQ(decoded, bitmap != nullptr) << path.toStdString();
    return Bitmap(bitmap);
}

// An archive, copied into a folder of our own (the corpus may be read-only,
// and temporary copies must not appear inside it): listed and every picture
// found again through the device path, every readable member extracted by the
// reader. Members whose sizes are only in a zip64 extra field are refused to
// open by minizip 1.1 on a 64-bit system, cleanly. Decoded means opened with
// (an archive that cannot be opened is reported); the size is members failed
// and pictures not read.
Outcome OpenArchive(const QString& path)
{
    QTemporaryDir root;
    DevicePath::SetDeviceRoot(root.path());
    const QByteArray savedRuntime = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(root.path()));
    const QString host = root.filePath("archive.zip");
    EXPECT_TRUE(QFile::copy(path, host));
    MessageBoxService::ClearMessages();
    QStringList pictures;
    const int listed = ListZipPictures("\\archive.zip", [&](const CZipMemberInfo& m) {
        pictures.append(m.name);
        return true;
    });
    EXPECT_EQ(listed == 0, MessageBoxService::Messages().contains("Can't open ZIP file for thumbnail: \\archive.zip"))
        << path.toStdString();
    Outcome out {listed == 1, 0, 0};
    for (const QString& name : pictures) {
        QByteArray bytes;
        out.height += FindZipMember("\\archive.zip", name, nullptr, &bytes) != ZipFindResult::Found;
    }
    CZipReader reader;
    CZipMemberInfo info;
    for (bool more = reader.Open(host) && reader.GoToFirst(); more && reader.ReadCurrentInfo(&info);
         more = reader.GoToNext()) {
        if (!info.IsReadable() || info.name.endsWith('/'))
            continue;
        QByteArray bytes;
        const bool opened = reader.OpenCurrent(info);
        out.width += opened ? reader.ReadCurrent(info, &bytes) != ZipReadStatus::Ok : info.size != 0xFFFFFFFFu;
    }
    EXPECT_EQ(QDir(root.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList {"archive.zip"})
        << path.toStdString() << ": a file was left behind";
    qputenv("XDG_RUNTIME_DIR", savedRuntime);
    DevicePath::SetDeviceRoot(QString());
    return out;
}

using Format = std::pair<const char*, Outcome (*)(const QString&)>;

class Corpus : public testing::TestWithParam<Format> { };

TEST_P(Corpus, ManifestVerdictsHold)
{
    const auto [format, decode] = GetParam();
    const std::vector<CorpusRow> rows = Rows(QString::fromLatin1(format));
    if (rows.empty())
        GTEST_SKIP() << "third-party corpus not found at " LUMO_CORPUS_DIR;
    MessageBoxService::SetEcho(false);
    testing::internal::CaptureStderr();  // libjpeg's warnings and messages
    const bool zip = !std::strcmp(format, "zip");
    for (const CorpusRow& row : rows) {
        const Outcome out = decode(row.path);
        const std::string name = row.path.toStdString();
        // Archives: no member failed and every picture read.
        const bool sized = out.width == (zip ? 0 : row.width) && out.height == (zip ? 0 : row.height);
        // Accepted files decode at their size; refused ones do not decode; the
        // questionable ones may do either, at their size when they decode.
        const bool accept = row.expect == QLatin1String("accept"), reject = row.expect == QLatin1String("reject");
        EXPECT_FALSE(accept && !(out.decoded && sized)) << name << ": " << out.width << "x" << out.height;
        EXPECT_FALSE(reject && out.decoded) << name << " should be refused";
        EXPECT_FALSE(!accept && !reject && out.decoded && !zip && !sized) << name;
    }
    testing::internal::GetCapturedStderr();
    MessageBoxService::ClearMessages();
}

INSTANTIATE_TEST_SUITE_P(Formats, Corpus,
                         testing::Values(Format {"bmp",
                                                 [](const QString& path) { return Bitmap(SHLoadDIBitmap(path)); }},
                                         Format {"jpeg", &DecodeJpegFullSize}, Format {"png", &DecodeImage},
                                         Format {"gif", &DecodeImage}, Format {"zip", &OpenArchive}),
                         [](const auto& info) { return std::string(info.param.first); });

}  // namespace
