// A picture that cannot be shown says so once, in the strip and in the list,
// and a batch of failures within one build is one box.
#include "catalog_fixture.h"

using namespace Qt::StringLiterals;

using catalog_fixture::CatalogFixture;
using catalog_fixture::kListMode;
using catalog_fixture::kStripMode;
using catalog_fixture::PictureFor;

namespace {

QByteArray HugeBmp()
{
    TestBmp bmp;
    bmp.width = bmp.height = 60000;
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
};

}  // namespace

TEST_F(FailureMessagesTest, APictureThatCannotBeShownSaysSoOnceAndTheOthersStayDecoded)
{
    const QByteArray png = PictureFor(u"x.png"_s);
    const QString longName = QString(296, QLatin1Char('x')) + u".png"_s;
    const struct {
        QString path;
        QByteArray bytes;
        QString message;
    } cases[] = {
        {u"\\broken.jpg"_s, QByteArray("\xFF\xD8\xFF\xD9\x01\x02\x03"), u"Cannot load \\broken.jpg"_s},
        {u"\\refused.bmp"_s, QByteArray("BM\x01\x02\x03"), u"Cannot load \\refused.bmp"_s},
        {u"\\huge.bmp"_s, HugeBmp(), u"Cannot load \\huge.bmp"_s},
        {u"\\cut.png"_s, png.left(40), u"Cannot load \\cut.png"_s},
        {u"\\long.zip"_s, BuildTestZip({{longName.toUtf8(), png}, {"fine.bmp", PictureFor(u"fine.bmp"_s)}}),
         u"Cannot load "_s + longName},
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
        WritePicture(u"\\card\\p%1.jpg"_s.arg(i));
    m_catalog.SetSourcePath(u"\\card"_s);
    m_catalog.BuildList(u"\\card"_s, 0, kListMode);
    ASSERT_EQ(m_catalog.SaveAlbum(u"\\album.lab"_s), 1);
    ASSERT_TRUE(QDir(Host(u"\\card"_s)).removeRecursively());
    EXPECT_EQ(Open(u"\\album.lab"_s, kStripMode, false),
              "Can't open file '\\card\\p0.jpg'|4 more files could not be loaded.");

    // One member no one can read, met on every walk of its archive.
    std::vector<TestZipMember> members;
    for (const char* name : {"a.png", "b.png", "c.png", "d.png"})
        members.emplace_back(name, PictureFor(u"x.png"_s));
    members.emplace_back("locked.png", PictureFor(u"x.png"_s), 0, 0x1);
    ASSERT_TRUE(WriteTestFile(Host(u"\\pics.zip"_s), BuildTestZip(members)));
    EXPECT_EQ(Open(u"\\pics.zip"_s, kStripMode, false), "Can't open file: locked.png");
    // A broken picture beside a good one leaves the good one decoded.
    WritePicture(u"\\f\\a.png"_s);
    WriteBytes(u"\\f\\b.gif"_s, "GIF89a");
    Open(u"\\f"_s, kListMode);
    CImageItem* good = m_catalog.GetAt(0);
    ASSERT_NE(good->m_picture.m_fullBitmap, nullptr);
    EXPECT_EQ(m_catalog.LoadCurrentPicture(m_catalog.GetAt(1), true), 0);
    EXPECT_EQ(MessageBoxService::Messages().join(QLatin1Char('|')).toStdString(), "Cannot load \\f\\b.gif");
    EXPECT_NE(good->m_picture.m_fullBitmap, nullptr);
}
