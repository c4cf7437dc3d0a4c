// The third-party ZIP corpus: archives its suites call valid open, list and
// extract; invalid ones are refused with the user's message; none crashes.
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
    QString path;    // relative to the corpus folder
    QString expect;  // accept, reject or either
};

QList<CorpusRow> ZipRows(const QString& corpus)
{
    QList<CorpusRow> rows;
    QFile manifest(QDir(corpus).filePath("manifest.tsv"));
    if (!manifest.open(QIODevice::ReadOnly | QIODevice::Text))
        return rows;
    QTextStream in(&manifest);
    in.readLine();  // header
    while (!in.atEnd()) {
        const QStringList fields = in.readLine().split('\t');
        if (fields.size() >= 3 && fields[1] == "zip")
            rows.append({fields[0], fields[2]});
    }
    return rows;
}

// What one archive gave: listing result, pictures, members read and failed.
struct Outcome {
    int listed = 0;
    bool openMessage = false;
    int pictures = 0;
    int picturesRead = 0;
    int readable = 0;
    int extracted = 0;
    // Members whose sizes are only in a zip64 extra field: minizip 1.1 on a
    // 64-bit system does not read them, so it refuses to open the member.
    int zip64Refused = 0;
    QStringList failures;
};

Outcome Exercise(const QString& devicePath, const QString& hostPath)
{
    Outcome out;
    MessageBoxService::ClearMessages();
    QStringList pictures;
    out.listed = ListZipPictures(devicePath, [&](const CZipMemberInfo& m) {
        pictures.append(m.name);
        return true;
    });
    out.openMessage = MessageBoxService::Messages().contains("Can't open ZIP file for thumbnail: " + devicePath);
    out.pictures = static_cast<int>(pictures.size());
    for (const QString& name : pictures) {
        QByteArray bytes;
        if (FindZipMember(devicePath, name, nullptr, &bytes) == ZipFindResult::Found)
            ++out.picturesRead;
    }

    CZipReader reader;
    if (!reader.Open(hostPath))
        return out;
    CZipMemberInfo info;
    for (bool more = reader.GoToFirst(); more; more = reader.GoToNext()) {
        if (!reader.ReadCurrentInfo(&info))
            break;
        if (!info.IsReadable() || info.name.endsWith('/'))
            continue;
        ++out.readable;
        QByteArray bytes;
        const ZipReadStatus status
            = reader.OpenCurrent(info) ? reader.ReadCurrent(info, &bytes) : ZipReadStatus::CannotOpen;
        if (status == ZipReadStatus::Ok)
            ++out.extracted;
        else if (status == ZipReadStatus::CannotOpen && info.size == 0xFFFFFFFFu)
            ++out.zip64Refused;
        else
            out.failures.append(info.name + " (" + QString::number(int(status)) + ")");
    }
    return out;
}

TEST(CorpusZipTest, ValidArchivesOpenListAndExtractInvalidOnesAreRefused)
{
    const QString corpus = QStringLiteral(LUMO_CORPUS_DIR);
    const QList<CorpusRow> rows = ZipRows(corpus);
    if (rows.isEmpty())
        GTEST_SKIP() << "no ZIP corpus at " << corpus.toStdString();

    // Each archive is copied into a folder of our own: the corpus may be
    // read-only, and temporary copies must not appear inside it.
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    DevicePath::SetDeviceRoot(root.path());
    MessageBoxService::SetEcho(false);
    const QByteArray savedRuntime = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(root.path()));

    int accepted = 0, refused = 0, either = 0, members = 0, pictures = 0, zip64Refused = 0;
    for (const CorpusRow& row : rows) {
        const QString host = QDir(root.path()).filePath("archive.zip");
        QFile::remove(host);
        ASSERT_TRUE(QFile::copy(QDir(corpus).filePath(row.path), host)) << row.path.toStdString();
        const Outcome out = Exercise("\\archive.zip", host);
        members += out.extracted;
        pictures += out.picturesRead;
        const std::string name = row.path.toStdString();
        if (row.expect == "accept") {
            EXPECT_EQ(out.listed, 1) << name;
            EXPECT_FALSE(out.openMessage) << name;
            EXPECT_EQ(out.extracted + out.zip64Refused, out.readable)
                << name << ": " << out.failures.join(", ").toStdString();
            zip64Refused += out.zip64Refused;
            EXPECT_EQ(out.picturesRead, out.pictures) << name;
            accepted += out.listed == 1;
        } else if (row.expect == "reject") {
            EXPECT_EQ(out.listed, 0) << name;
            EXPECT_TRUE(out.openMessage) << name;
            refused += out.listed == 0;
        } else {
            ++either;
        }
        EXPECT_EQ(QDir(root.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                  QStringList {"archive.zip"})
            << name << ": a file was left behind";
    }
    std::printf("ZIP corpus: %lld archives; %d valid opened, %d invalid refused, %d either survived; "
                "%d members extracted, %d picture members read; %d members of valid archives refused "
                "cleanly because their sizes are only in a zip64 field\n",
                static_cast<long long>(rows.size()), accepted, refused, either, members, pictures, zip64Refused);

    qputenv("XDG_RUNTIME_DIR", savedRuntime);
    DevicePath::SetDeviceRoot(QString());
    MessageBoxService::ClearMessages();
}

}  // namespace
