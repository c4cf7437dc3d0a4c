// A picture the user asks for that cannot be shown says so, and says it once:
// broken and refused files of every kind, in the strip (the build decodes a
// thumbnail) and in the list (the view decodes the picture), and batches of
// failures within one build or one load.
#include "catalog_fixture.h"

using catalog_fixture::CatalogFixture;
using catalog_fixture::kListMode;
using catalog_fixture::kStripMode;
using catalog_fixture::PictureFor;
using catalog_fixture::WriteZip;

namespace {

QByteArray HugeBmp()
{
    TestBmp bmp;
    bmp.width = 60000;
    bmp.height = 60000;
    bmp.pixels.assign(64, 0);
    return ToByteArray(BuildBmp(bmp));
}

class FailureMessagesTest : public CatalogFixture {
protected:
    // The messages of a new catalog built from path and, unless only the
    // build is wanted, of showing its first entry as the view does.
    std::string Open(const QString& path, int mode, bool show = true)
    {
        MessageBoxService::ClearMessages();
        m_catalog.RemoveAll();
        m_catalog.SetSourcePath(path);
        m_catalog.BuildList(path, 0, mode);
        if (CImageItem* first = m_catalog.GetAt(0); first && show)
            m_catalog.LoadCurrentPicture(first, true);
        return MessageBoxService::Messages().join(QLatin1Char('|')).toStdString();
    }
    QByteArray ZipOf(const std::vector<std::pair<QString, QByteArray>>& members)
    {
        const QString scratch = Host(QStringLiteral("\\scratch.zip"));
        EXPECT_TRUE(WriteZip(scratch, members));
        QFile file(scratch);
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    }
};

}  // namespace

TEST_F(FailureMessagesTest, APictureThatCannotBeShownSaysSo)
{
    const QByteArray png = PictureFor(QStringLiteral("x.png"));
    const QString longName = QString(296, QLatin1Char('x')) + QStringLiteral(".png");
    QByteArray noEnd = ZipOf({{QStringLiteral("a.png"), png}});
    noEnd.truncate(noEnd.lastIndexOf("PK\x05\x06"));
    const struct {
        QString path;
        QByteArray bytes;
        QString message;
    } cases[] = {
        {QStringLiteral("\\broken.jpg"), QByteArray("\xFF\xD8\xFF\xD9\x01\x02\x03"),
         QStringLiteral("Cannot load \\broken.jpg")},
        {QStringLiteral("\\empty.jpg"), QByteArray(), QStringLiteral("Cannot load \\empty.jpg")},
        {QStringLiteral("\\png.jpg"), png, QStringLiteral("Cannot load \\png.jpg")},
        {QStringLiteral("\\empty.bmp"), QByteArray(), QStringLiteral("Cannot load \\empty.bmp")},
        {QStringLiteral("\\refused.bmp"), QByteArray("BM\x01\x02\x03"), QStringLiteral("Cannot load \\refused.bmp")},
        {QStringLiteral("\\huge.bmp"), HugeBmp(), QStringLiteral("Cannot load \\huge.bmp")},
        {QStringLiteral("\\cut.png"), png.left(40), QStringLiteral("Cannot load \\cut.png")},
        {QStringLiteral("\\noend.zip"), noEnd, QStringLiteral("Can't open ZIP file for thumbnail: \\noend.zip")},
        {QStringLiteral("\\long.zip"),
         ZipOf({{longName, png}, {QStringLiteral("fine.bmp"), PictureFor(QStringLiteral("fine.bmp"))}}),
         QStringLiteral("Cannot load ") + longName},
    };
    for (const auto& c : cases) {
        WriteBytes(c.path, c.bytes);
        for (int mode : {kStripMode, kListMode})
            EXPECT_EQ(Open(c.path, mode), c.message.toStdString()) << " mode " << mode;
    }
}

TEST_F(FailureMessagesTest, ManyFailuresOfOneBuildAreOneBoxAndACount)
{
    // An album whose pictures were on a card that has been taken out.
    for (int i = 0; i < 5; ++i)
        WritePicture(QStringLiteral("\\card\\p%1.jpg").arg(i));
    m_catalog.SetSourcePath(QStringLiteral("\\card"));
    m_catalog.BuildList(QStringLiteral("\\card"), 0, kListMode);
    ASSERT_EQ(m_catalog.SaveAlbum(QStringLiteral("\\album.lab")), 1);
    ASSERT_TRUE(QDir(Host(QStringLiteral("\\card"))).removeRecursively());
    EXPECT_EQ(Open(QStringLiteral("\\album.lab"), kStripMode, false),
              "Can't open file '\\card\\p0.jpg'|4 more files could not be loaded.");

    // One member no one can read, met on every walk of its archive.
    std::vector<TestZipMember> members;
    for (const char* name : {"a.png", "b.png", "c.png", "d.png"})
        members.emplace_back(name, PictureFor(QStringLiteral("x.png")));
    members.emplace_back("locked.png", PictureFor(QStringLiteral("x.png")), 0, 0x1);
    ASSERT_TRUE(WriteTestFile(Host(QStringLiteral("\\pics.zip")), BuildTestZip(members)));
    EXPECT_EQ(Open(QStringLiteral("\\pics.zip"), kStripMode, false), "Can't open file: locked.png");
}

TEST_F(FailureMessagesTest, ABrokenPictureSaysSoOnceAndKeepsTheOthersDecoded)
{
    WritePicture(QStringLiteral("\\f\\a.png"));
    WriteBytes(QStringLiteral("\\f\\b.gif"), "GIF89a");
    Open(QStringLiteral("\\f"), kListMode);
    CImageItem* good = m_catalog.GetAt(0);
    ASSERT_NE(good->m_fullBitmap, nullptr);
    EXPECT_EQ(m_catalog.LoadCurrentPicture(m_catalog.GetAt(1), true), 0);
    EXPECT_EQ(MessageBoxService::Messages().join(QLatin1Char('|')).toStdString(), "Cannot load \\f\\b.gif");
    EXPECT_NE(good->m_fullBitmap, nullptr);
}
