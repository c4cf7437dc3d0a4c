// Building the catalog from files, folders and archives: what is listed, in
// which order, with which titles and sources, and which hints the views get.
#include "catalog_fixture.h"
#include "image/dib_bitmap.h"
#include "image/zip_end_record.h"

#include <QDirIterator>
#include <atomic>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using catalog_fixture::CatalogFixture;
using catalog_fixture::kListMode;
using catalog_fixture::kStripMode;
using catalog_fixture::Paths;
using catalog_fixture::PictureFor;
using catalog_fixture::WriteZip;

namespace {

constexpr int kHint = CImageCatalog::kHintListChanged;

class BuilderTest : public CatalogFixture {
protected:
    // \pics: a.JPG, b-sub\d.gif, b.txt, c.png (a subfolder sorts between the files).
    void MakeMixedFolder()
    {
        WritePicture(QStringLiteral("\\pics\\a.JPG"));
        WriteBytes(QStringLiteral("\\pics\\b.txt"), "text");
        WritePicture(QStringLiteral("\\pics\\c.png"));
        WritePicture(QStringLiteral("\\pics\\b-sub\\d.gif"));
    }
    void MakeZip(const QString& devicePath, const QStringList& members)
    {
        std::vector<std::pair<QString, QByteArray>> content;
        for (const QString& name : members)
            content.emplace_back(name, PictureFor(name));
        QDir().mkpath(QFileInfo(Host(devicePath)).absolutePath());
        ASSERT_TRUE(WriteZip(Host(devicePath), content));
    }
    // \\nN.zip holding the pictures p0.bmp .. p<N-1>.bmp.
    QString MakeNumberedZip(int members)
    {
        QStringList names;
        for (int i = 0; i < members; ++i)
            names.append(QStringLiteral("p%1.bmp").arg(i));
        const QString zip = QStringLiteral("\\n%1.zip").arg(members);
        MakeZip(zip, names);
        return zip;
    }
    QStringList Messages() const { return MessageBoxService::Messages(); }
};

}  // namespace

TEST(PathKinds, PictureExtensionsAreTheLastFourCharactersIgnoringCase)
{
    for (const char* name : {"X.PNG", "a.jpg", "b.Jpg", "c.gif", "d.BMP", ".jpg", "dir/photo.jpg"})
        EXPECT_TRUE(CImageCatalog::IsPictureName(QString::fromLatin1(name))) << name;
    for (const char* name : {"x.jpeg", "x.tif", "jpg", "x.jpg.txt", "x.pngx", "", "photo_jpg"})
        EXPECT_FALSE(CImageCatalog::IsPictureName(QString::fromLatin1(name))) << name;
}

TEST_F(BuilderTest, ClassifyPathTellsFoldersArchivesAlbumsAndFiles)
{
    MakeFolder(QStringLiteral("\\dir.zip"));
    WriteBytes(QStringLiteral("\\a.ZIP"), "x");
    WriteBytes(QStringLiteral("\\b.Lab"), "x");
    WriteBytes(QStringLiteral("\\c.jpg"), "x");
    EXPECT_EQ(CImageCatalog::ClassifyPath(QStringLiteral("\\dir.zip")), CImageCatalog::kPathFolder);
    EXPECT_EQ(CImageCatalog::ClassifyPath(QStringLiteral("\\a.ZIP")), CImageCatalog::kPathZip);
    EXPECT_EQ(CImageCatalog::ClassifyPath(QStringLiteral("\\b.Lab")), CImageCatalog::kPathAlbum);
    EXPECT_EQ(CImageCatalog::ClassifyPath(QStringLiteral("\\c.jpg")), CImageCatalog::kPathFile);
    // A path whose attributes cannot be read counts as a folder.
    EXPECT_EQ(CImageCatalog::ClassifyPath(QStringLiteral("\\missing.zip")), CImageCatalog::kPathFolder);
}

TEST_F(BuilderTest, FolderWithoutSubfoldersListsItsPicturesInNameOrder)
{
    MakeMixedFolder();
    m_catalog.SetSourcePath(QStringLiteral("\\pics"));
    EXPECT_EQ(m_catalog.BuildList(QStringLiteral("\\pics"), 0, kListMode), 1);
    EXPECT_EQ(Paths(m_catalog), QStringList({QStringLiteral("\\pics\\a.JPG"), QStringLiteral("\\pics\\c.png")}));
    EXPECT_EQ(m_hints, std::vector<int>({kHint, kHint}));
    for (const CImageItem* item : m_catalog.GetList())
        EXPECT_EQ(item->m_source, QStringLiteral("\\pics"));
    EXPECT_EQ(m_catalog.GetCurrent(), nullptr);
}

TEST_F(BuilderTest, SubfolderEntriesAreAppendedWhereTheSubfolderIsEnumerated)
{
    MakeMixedFolder();
    EXPECT_EQ(m_catalog.BuildList(QStringLiteral("\\pics"), 1, kListMode), 1);
    EXPECT_EQ(Paths(m_catalog), QStringList({QStringLiteral("\\pics\\a.JPG"), QStringLiteral("\\pics\\b-sub\\d.gif"),
                                             QStringLiteral("\\pics\\c.png")}));
    EXPECT_EQ(HintCount(kHint), 3);
    EXPECT_EQ(m_hints.size(), 3u);
}

TEST_F(BuilderTest, ListModeReadsFileFactsWithoutDecoding)
{
    WritePicture(QStringLiteral("\\pics\\IMG_0001.JPG"));
    const QByteArray bytes = ReadBytes(QStringLiteral("\\pics\\IMG_0001.JPG"));
    const timespec times[2] = {{1622548800, 0}, {1622548800, 0}};  // 2021-06-01 12:00:00 UTC
    ASSERT_EQ(
        ::utimensat(AT_FDCWD, QFile::encodeName(Host(QStringLiteral("\\pics\\IMG_0001.JPG"))).constData(), times, 0),
        0);
    ASSERT_EQ(m_catalog.BuildList(QStringLiteral("\\pics"), 0, kListMode), 1);
    ASSERT_EQ(m_catalog.GetCount(), 1);
    const CImageItem* item = m_catalog.GetAt(0);
    EXPECT_EQ(item->m_memoContent, QStringLiteral("IMG_0001"));
    EXPECT_EQ(item->m_fileSize, uint32_t(bytes.size()));
    EXPECT_EQ(item->m_modified.GetTime(), 1622548800);
    EXPECT_EQ(item->m_typeName, QString());
    EXPECT_EQ(item->m_thumbnail, nullptr);
    EXPECT_EQ(item->m_fullBitmap, nullptr);
    EXPECT_EQ(item->m_displayCopy->m_handle, nullptr);
    EXPECT_EQ(item->m_shrinkCopy->m_handle, nullptr);

    // The same picture opened on its own reads the same facts through the loader.
    ASSERT_EQ(m_catalog.BuildList(QStringLiteral("\\pics\\IMG_0001.JPG"), 0, kListMode), 1);
    ASSERT_EQ(m_catalog.GetCount(), 2);
    EXPECT_EQ(m_catalog.GetAt(1)->m_fileSize, item->m_fileSize);
    EXPECT_EQ(m_catalog.GetAt(1)->m_modified.GetTime(), 1622548800);
}

TEST_F(BuilderTest, StripModeMakesAThumbnailForEveryKind)
{
    for (const char* name : {"\\pics\\a.bmp", "\\pics\\b.jpg", "\\pics\\c.gif", "\\pics\\d.png"})
        WritePicture(QString::fromLatin1(name));
    ASSERT_EQ(m_catalog.BuildList(QStringLiteral("\\pics"), 0, kStripMode), 1);
    ASSERT_EQ(m_catalog.GetCount(), 4);
    for (const CImageItem* item : m_catalog.GetList()) {
        EXPECT_NE(item->m_thumbnail, nullptr) << item->m_path.toStdString();
        EXPECT_EQ(item->m_fullBitmap, nullptr) << item->m_path.toStdString();
    }
}

TEST_F(BuilderTest, PictureThatCannotBeDecodedIsLeftOutAndTheBuildGoesOn)
{
    WriteBytes(QStringLiteral("\\pics\\a.png"), "not a picture at all");
    WritePicture(QStringLiteral("\\pics\\b.bmp"));
    ASSERT_EQ(m_catalog.BuildList(QStringLiteral("\\pics"), 0, kStripMode), 1);
    EXPECT_EQ(Paths(m_catalog), QStringList({QStringLiteral("\\pics\\b.bmp")}));
    EXPECT_EQ(m_hints, std::vector<int>({kHint}));
}

TEST_F(BuilderTest, ArchiveInAScannedFolderIsListedWithSubfoldersOff)
{
    WritePicture(QStringLiteral("\\pics\\a.jpg"));
    MakeZip(QStringLiteral("\\pics\\pics.zip"), {QStringLiteral("one.png"), QStringLiteral("two.bmp")});
    ASSERT_EQ(m_catalog.BuildList(QStringLiteral("\\pics"), 0, kListMode), 1);
    EXPECT_EQ(Paths(m_catalog),
              QStringList({QStringLiteral("\\pics\\a.jpg"), QStringLiteral("one.png"), QStringLiteral("two.bmp")}));
    EXPECT_EQ(m_catalog.GetAt(1)->m_source, QStringLiteral("\\pics\\pics.zip"));
    EXPECT_EQ(m_catalog.GetAt(2)->m_source, QStringLiteral("\\pics\\pics.zip"));
    EXPECT_EQ(m_catalog.GetAt(1)->m_fileSize, uint32_t(PictureFor(QStringLiteral("one.png")).size()));
    EXPECT_EQ(HintCount(kHint), 3);
}

TEST_F(BuilderTest, ArchiveMembersKeepTheirNamesAndGetTitlesWithForwardSlashes)
{
    MakeZip(QStringLiteral("\\p.zip"),
            {QStringLiteral("dir/"), QStringLiteral("dir/photo.jpg"), QStringLiteral("notes.txt"),
             QStringLiteral("x.jpeg"), QStringLiteral("X.PNG")});
    m_catalog.SetSourcePath(QStringLiteral("\\p.zip"));
    ASSERT_EQ(m_catalog.BuildList(QStringLiteral("\\p.zip"), 0, kStripMode), 1);
    EXPECT_EQ(Paths(m_catalog), QStringList({QStringLiteral("dir/photo.jpg"), QStringLiteral("X.PNG")}));
    EXPECT_EQ(m_catalog.GetAt(0)->m_memoContent, QStringLiteral("dir/photo"));
    EXPECT_EQ(m_catalog.GetAt(1)->m_memoContent, QStringLiteral("X"));
    EXPECT_NE(m_catalog.GetAt(0)->m_thumbnail, nullptr);
    EXPECT_EQ(m_hints, std::vector<int>({kHint, kHint}));
}

TEST_F(BuilderTest, AlbumInsideAScannedFolderIsNotRead)
{
    WritePicture(QStringLiteral("\\pics\\a.jpg"));
    WritePicture(QStringLiteral("\\other\\elsewhere.jpg"));
    CImageCatalog source;
    source.BuildList(QStringLiteral("\\other\\elsewhere.jpg"), 0, kListMode);
    ASSERT_EQ(source.SaveAlbum(QStringLiteral("\\pics\\album.lab")), 1);
    ASSERT_EQ(m_catalog.BuildList(QStringLiteral("\\pics"), 1, kListMode), 1);
    EXPECT_EQ(Paths(m_catalog), QStringList({QStringLiteral("\\pics\\a.jpg")}));
}

TEST_F(BuilderTest, AddingASecondFolderAppendsAfterTheFirstAndKeepsTheCurrentEntry)
{
    WritePicture(QStringLiteral("\\one\\a.jpg"));
    WritePicture(QStringLiteral("\\one\\b.jpg"));
    WritePicture(QStringLiteral("\\two\\a.png"));
    m_catalog.SetSourcePath(QStringLiteral("\\one"));
    m_catalog.BuildList(QStringLiteral("\\one"), 0, kListMode);
    CImageItem* current = m_catalog.GetAt(1);
    m_catalog.SetCurrent(current);

    m_catalog.SetSourcePath(QStringLiteral("\\two"));
    EXPECT_EQ(m_catalog.BuildList(QStringLiteral("\\two"), 0, kListMode), 1);
    EXPECT_EQ(Paths(m_catalog), QStringList({QStringLiteral("\\one\\a.jpg"), QStringLiteral("\\one\\b.jpg"),
                                             QStringLiteral("\\two\\a.png")}));
    EXPECT_EQ(m_catalog.GetCurrent(), current);
    EXPECT_EQ(m_catalog.GetAt(0)->m_source, QStringLiteral("\\one"));
    EXPECT_EQ(m_catalog.GetAt(2)->m_source, QStringLiteral("\\two"));
}

TEST_F(BuilderTest, SinglePictureIsAddedAndAnyOtherFileOnlyRefreshes)
{
    WritePicture(QStringLiteral("\\X.PNG"));
    WriteBytes(QStringLiteral("\\x.jpeg"), PictureFor(QStringLiteral("x.jpg")));
    EXPECT_EQ(m_catalog.BuildList(QStringLiteral("\\x.jpeg"), 0, kStripMode), 0);
    EXPECT_EQ(m_catalog.GetCount(), 0);
    EXPECT_EQ(m_hints, std::vector<int>({kHint}));
    EXPECT_EQ(m_catalog.BuildList(QStringLiteral("\\X.PNG"), 0, kStripMode), 1);
    EXPECT_EQ(Paths(m_catalog), QStringList({QStringLiteral("\\X.PNG")}));
    EXPECT_EQ(m_hints, std::vector<int>({kHint, kHint}));
    EXPECT_TRUE(Messages().isEmpty());
}

TEST_F(BuilderTest, BrokenSinglePictureIsRefusedWithoutAHint)
{
    WriteBytes(QStringLiteral("\\broken.gif"), "GIF89a");
    EXPECT_EQ(m_catalog.BuildList(QStringLiteral("\\broken.gif"), 0, kStripMode), 0);
    EXPECT_EQ(m_catalog.GetCount(), 0);
    EXPECT_TRUE(m_hints.empty());
}

TEST_F(BuilderTest, FolderThatDoesNotExistGivesAnEmptyResultAndOneHint)
{
    EXPECT_EQ(m_catalog.BuildList(QStringLiteral("\\nowhere"), 1, kListMode), 0);
    EXPECT_EQ(m_catalog.GetCount(), 0);
    EXPECT_EQ(m_hints, std::vector<int>({kHint}));
    EXPECT_TRUE(Messages().isEmpty());
}

TEST_F(BuilderTest, ClosingHintIsSentOnlyWhenTheCatalogIsStillEmpty)
{
    MakeFolder(QStringLiteral("\\empty"));
    WriteBytes(QStringLiteral("\\texts\\b.txt"), "text");
    MakeZip(QStringLiteral("\\nopics.zip"), {QStringLiteral("readme.txt")});

    EXPECT_EQ(m_catalog.BuildList(QStringLiteral("\\empty"), 0, kListMode), 1);
    EXPECT_EQ(m_hints, std::vector<int>({kHint}));
    m_hints.clear();
    EXPECT_EQ(m_catalog.BuildList(QStringLiteral("\\texts"), 0, kListMode), 1);
    EXPECT_EQ(m_hints, std::vector<int>({kHint}));
    m_hints.clear();
    EXPECT_EQ(m_catalog.BuildList(QStringLiteral("\\nopics.zip"), 0, kListMode), 1);
    EXPECT_EQ(m_hints, std::vector<int>({kHint}));

    // Once the catalog holds an entry, an empty source adds no hint of its own.
    WritePicture(QStringLiteral("\\one.bmp"));
    m_catalog.BuildList(QStringLiteral("\\one.bmp"), 0, kListMode);
    m_hints.clear();
    EXPECT_EQ(m_catalog.BuildList(QStringLiteral("\\empty"), 0, kListMode), 1);
    EXPECT_EQ(m_catalog.BuildList(QStringLiteral("\\nopics.zip"), 0, kListMode), 1);
    EXPECT_TRUE(m_hints.empty());
}

TEST_F(BuilderTest, ArchiveThatCannotBeOpenedIsReportedAndTheFolderScanGoesOn)
{
    WriteBytes(QStringLiteral("\\pics\\a.zip"), "this is not an archive");
    WritePicture(QStringLiteral("\\pics\\b.jpg"));
    EXPECT_EQ(m_catalog.BuildList(QStringLiteral("\\pics\\a.zip"), 0, kListMode), 0);
    EXPECT_EQ(Messages(), QStringList({QStringLiteral("Can't open ZIP file for thumbnail: \\pics\\a.zip")}));
    EXPECT_TRUE(m_hints.empty());

    MessageBoxService::ClearMessages();
    EXPECT_EQ(m_catalog.BuildList(QStringLiteral("\\pics"), 0, kListMode), 1);
    EXPECT_EQ(Messages(), QStringList({QStringLiteral("Can't open ZIP file for thumbnail: \\pics\\a.zip")}));
    EXPECT_EQ(Paths(m_catalog), QStringList({QStringLiteral("\\pics\\b.jpg")}));
}

TEST_F(BuilderTest, SymbolicLinkLoopsEndAndNoFolderIsListedTwice)
{
    WritePicture(QStringLiteral("\\pics\\a.jpg"));
    WritePicture(QStringLiteral("\\pics\\sub\\b.jpg"));
    // sub\loop leads back to \pics; \pics\twin is a second way into sub.
    ASSERT_EQ(::symlink(QFile::encodeName(Host(QStringLiteral("\\pics"))).constData(),
                        QFile::encodeName(Host(QStringLiteral("\\pics\\sub\\loop"))).constData()),
              0);
    ASSERT_EQ(::symlink(QFile::encodeName(Host(QStringLiteral("\\pics\\sub"))).constData(),
                        QFile::encodeName(Host(QStringLiteral("\\pics\\twin"))).constData()),
              0);
    ASSERT_EQ(m_catalog.BuildList(QStringLiteral("\\pics"), 1, kListMode), 1);
    EXPECT_EQ(Paths(m_catalog), QStringList({QStringLiteral("\\pics\\a.jpg"), QStringLiteral("\\pics\\sub\\b.jpg")}));

    // The memory of one build does not carry over to the next.
    m_catalog.RemoveAll();
    ASSERT_EQ(m_catalog.BuildList(QStringLiteral("\\pics"), 1, kListMode), 1);
    EXPECT_EQ(m_catalog.GetCount(), 2);
}

TEST_F(BuilderTest, StopFlagEndsAFolderScanBetweenEntries)
{
    for (const char* name : {"\\pics\\a.jpg", "\\pics\\b.jpg", "\\pics\\c.jpg"})
        WritePicture(QString::fromLatin1(name));
    std::atomic<bool> stop {false};
    m_catalog.SetStopFlag(&stop);
    m_catalog.SetNotifier([&](int hint) {
        m_hints.push_back(hint);
        stop = true;
    });
    EXPECT_EQ(m_catalog.BuildList(QStringLiteral("\\pics"), 0, kListMode), 0);
    EXPECT_EQ(Paths(m_catalog), QStringList({QStringLiteral("\\pics\\a.jpg")}));
    EXPECT_EQ(m_hints, std::vector<int>({kHint}));
    m_catalog.SetStopFlag(nullptr);
}

TEST_F(BuilderTest, StopFlagEndsAnArchiveListingBetweenMembers)
{
    MakeZip(QStringLiteral("\\p.zip"), {QStringLiteral("a.bmp"), QStringLiteral("b.bmp"), QStringLiteral("c.bmp")});
    std::atomic<bool> stop {false};
    m_catalog.SetStopFlag(&stop);
    m_catalog.SetNotifier([&](int hint) {
        m_hints.push_back(hint);
        if (m_hints.size() == 2)
            stop = true;
    });
    EXPECT_EQ(m_catalog.BuildList(QStringLiteral("\\p.zip"), 0, kListMode), 0);
    EXPECT_EQ(Paths(m_catalog), QStringList({QStringLiteral("a.bmp"), QStringLiteral("b.bmp")}));
    m_catalog.SetStopFlag(nullptr);
}

// Each member is reached from the one listing: the archive reading of a build
// grows with its member count, not with its square.
TEST_F(BuilderTest, ArchiveBuildReadsTheArchiveOnceForAllItsMembers)
{
    for (int mode : {kListMode, kStripMode}) {
        std::vector<uint64_t> reads;
        for (int members : {40, 160}) {
            const QString zip = MakeNumberedZip(members);
            CImageCatalog catalog;
            const ZipFileAccess before = ZipFileAccessOfThisThread();
            ASSERT_EQ(catalog.BuildList(zip, 0, mode), 1);
            const ZipFileAccess after = ZipFileAccessOfThisThread();
            ASSERT_EQ(catalog.GetCount(), members);
            // Thumbnails read their members through the listing's open archive.
            EXPECT_EQ(after.opens - before.opens, 1u) << "mode " << mode;
            reads.push_back(after.reads - before.reads);
        }
        // Four times the members: about four times the reading, not sixteen.
        EXPECT_LT(reads[1], 5 * reads[0]) << "mode " << mode << ": " << reads[0] << " then " << reads[1];
    }
}

// An album naming the members of an archive walks that archive once for
// their places, then reads each member from its own.
TEST_F(BuilderTest, AlbumOfArchiveMembersReadsTheArchiveInLinearTime)
{
    std::vector<uint64_t> reads;
    for (int members : {40, 160}) {
        const QString zip = MakeNumberedZip(members);
        CImageCatalog source;
        ASSERT_EQ(source.BuildList(zip, 0, kListMode), 1);
        const QString album = zip.chopped(4) + QStringLiteral(".lab");
        ASSERT_EQ(source.SaveAlbum(album), 1);
        CImageCatalog catalog;
        const ZipFileAccess before = ZipFileAccessOfThisThread();
        ASSERT_EQ(catalog.BuildList(album, 0, kListMode), 1);
        const ZipFileAccess after = ZipFileAccessOfThisThread();
        ASSERT_EQ(catalog.GetCount(), members);
        EXPECT_EQ(catalog.GetAt(members - 1)->m_fileSize, uint32_t(PictureFor(QStringLiteral("p0.bmp")).size()));
        reads.push_back(after.reads - before.reads);
    }
    EXPECT_LT(reads[1], 5 * reads[0]) << reads[0] << " then " << reads[1];
}

TEST_F(BuilderTest, EveryCorpusArchiveIsListedOrRefusedWithTheMessage)
{
    const QString corpus = QStringLiteral(LUMO_CORPUS_DIR "/zip");
    if (!QFileInfo(corpus).isDir())
        GTEST_SKIP() << "third-party corpus not present at " << corpus.toStdString();
    int archives = 0;
    QDirIterator it(corpus, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString device = QStringLiteral("\\zips\\") + QFileInfo(file).fileName();
        WriteBytes(device, [&] {
            QFile f(file);
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        }());
        ++archives;
    }
    ASSERT_GT(archives, 0);
    QDirIterator copies(Host(QStringLiteral("\\zips")), QDir::Files);
    while (copies.hasNext()) {
        const QString name = QFileInfo(copies.next()).fileName();
        const QString device = QStringLiteral("\\zips\\") + name;
        for (int mode : {kListMode, kStripMode}) {
            CImageCatalog catalog;
            MessageBoxService::ClearMessages();
            const int result = catalog.ScanZip(device, mode);
            if (result == 0) {
                EXPECT_TRUE(Messages().contains(QStringLiteral("Can't open ZIP file for thumbnail: ") + device))
                    << name.toStdString();
            }
            for (const CImageItem* item : catalog.GetList()) {
                EXPECT_TRUE(CImageCatalog::IsPictureName(item->m_path)) << name.toStdString();
                EXPECT_EQ(item->m_source, device);
            }
        }
    }
    // The Go test archive holds one picture, gophercolor16x16.png.
    CImageCatalog catalog;
    ASSERT_EQ(catalog.BuildList(QStringLiteral("\\zips\\test.zip"), 0, kStripMode), 1);
    ASSERT_EQ(catalog.GetCount(), 1);
    EXPECT_EQ(catalog.GetAt(0)->m_path, QStringLiteral("gophercolor16x16.png"));
    EXPECT_NE(catalog.GetAt(0)->m_thumbnail, nullptr);
}

namespace {

// Runs fn on a thread; when it has not returned within a few seconds (a read
// blocked on a pipe), opens every pipe given for writing to release it, and
// reports the hang.
template <typename Fn> bool ReturnsWithoutBlocking(Fn fn, const QStringList& pipes)
{
    std::atomic<bool> done {false};
    std::thread worker([&] {
        fn();
        done = true;
    });
    for (int i = 0; i < 300 && !done; ++i)
        usleep(10000);
    const bool returned = done;
    while (!done) {
        for (const QString& pipe : pipes) {
            const int fd = ::open(QFile::encodeName(pipe).constData(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0)
                ::close(fd);
        }
        usleep(10000);
    }
    worker.join();
    return returned;
}

}  // namespace

TEST_F(BuilderTest, PipesDevicesAndFoldersNamedLikePicturesAreNeverOpened)
{
    WritePicture(QStringLiteral("\\odd\\a.png"));
    MakeFolder(QStringLiteral("\\odd\\y.jpg"));
    QStringList pipes;
    for (const char* name : {"z.png", "f.jpg", "g.zip", "h.bmp", "i.gif"}) {
        pipes << Host(QStringLiteral("\\odd\\") + QLatin1String(name));
        ASSERT_EQ(::mkfifo(QFile::encodeName(pipes.last()).constData(), 0600), 0);
    }
    ASSERT_EQ(::symlink("/dev/zero", QFile::encodeName(Host(QStringLiteral("\\odd\\zero.bmp"))).constData()), 0);
    for (int mode : {kListMode, kStripMode}) {
        m_catalog.RemoveAll();
        EXPECT_TRUE(ReturnsWithoutBlocking([&] { m_catalog.BuildList(QStringLiteral("\\odd"), 1, mode); }, pipes));
        EXPECT_EQ(Paths(m_catalog), QStringList {QStringLiteral("\\odd\\a.png")}) << mode;
    }
    // Named directly, each is refused at once and the catalog stays as it was.
    for (const char* name : {"z.png", "f.jpg", "g.zip", "h.bmp", "i.gif", "zero.bmp"})
        for (int mode : {kListMode, kStripMode}) {
            const QString path = QStringLiteral("\\odd\\") + QLatin1String(name);
            EXPECT_TRUE(ReturnsWithoutBlocking([&] { m_catalog.BuildList(path, 0, mode); }, pipes)) << name;
            EXPECT_EQ(m_catalog.GetCount(), 1) << name;
        }
}
