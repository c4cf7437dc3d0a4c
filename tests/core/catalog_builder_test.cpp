// Building the catalog from files, folders and archives: what is listed, in
// which order, with which titles and sources, and which hints the views get.
#include "catalog_fixture.h"
#include "image/dib_bitmap.h"
#include "image/zip_end_record.h"
#include "res/file_types.h"

#include <atomic>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace catalog_fixture;
using namespace Qt::StringLiterals;

namespace {

constexpr int kHint = CImageCatalog::kHintListChanged;

using BuilderTest = CatalogFixture;

}  // namespace

TEST_F(BuilderTest, PathsAreClassifiedByKindAndPicturesByTheirLastFourCharacters)
{
    for (const char* name : {"X.PNG", "b.Jpg", "c.gif", "d.BMP", ".jpg", "dir/photo.jpg"})
        EXPECT_TRUE(FileTypes::IsPictureName(QString::fromLatin1(name))) << name;
    for (const char* name : {"x.jpeg", "jpg", "x.jpg.txt", "x.pngx", "", "photo_jpg"})
        EXPECT_FALSE(FileTypes::IsPictureName(QString::fromLatin1(name))) << name;
    MakeFolder(u"\\dir.zip"_s);
    for (const char* name : {"\\a.ZIP", "\\b.Lab", "\\c.jpg"})
        WriteBytes(QLatin1String(name), "x");
    const std::pair<const char*, int> kinds[] = {
        {"\\dir.zip", CImageCatalog::kPathFolder},     {"\\a.ZIP", CImageCatalog::kPathZip},
        {"\\b.Lab", CImageCatalog::kPathAlbum},        {"\\c.jpg", CImageCatalog::kPathFile},
        {"\\missing.zip", CImageCatalog::kPathFolder},  // attributes that cannot be read: a folder
    };
    for (const auto& [path, kind] : kinds)
        EXPECT_EQ(CImageCatalog::ClassifyPath(QLatin1String(path)), kind) << path;
}

// A second folder is appended after the first and keeps the current entry.
TEST_F(BuilderTest, FolderListsItsPicturesInNameOrderWithSubfoldersWhereTheyAreEnumerated)
{
    for (const char* name : {"\\pics\\a.JPG", "\\pics\\c.png", "\\pics\\b-sub\\d.gif", "\\two\\a.png"})
        WritePicture(QLatin1String(name));
    WriteBytes(u"\\pics\\b.txt"_s, "text");
    m_catalog.SetSourcePath(u"\\pics"_s);
    EXPECT_EQ(m_catalog.BuildList(u"\\pics"_s, 0, kListMode), 1);
    EXPECT_EQ(m_hints, std::vector<int>(2, kHint));
    CImageItem* current = m_catalog.GetAt(1);
    m_catalog.SetCurrent(current);
    m_catalog.SetSourcePath(u"\\two"_s);
    EXPECT_EQ(m_catalog.BuildList(u"\\two"_s, 0, kListMode), 1);
    EXPECT_EQ(Paths(m_catalog), (QStringList {u"\\pics\\a.JPG"_s, u"\\pics\\c.png"_s, u"\\two\\a.png"_s}));
    EXPECT_EQ(m_catalog.GetCurrent(), current);
    EXPECT_EQ(current->m_source, u"\\pics"_s);
    EXPECT_EQ(m_catalog.GetAt(2)->m_source, u"\\two"_s);
    m_catalog.RemoveAll();
    m_hints.clear();
    EXPECT_EQ(m_catalog.BuildList(u"\\pics"_s, 1, kListMode), 1);
    EXPECT_EQ(Paths(m_catalog), (QStringList {u"\\pics\\a.JPG"_s, u"\\pics\\b-sub\\d.gif"_s, u"\\pics\\c.png"_s}));
    EXPECT_EQ(m_hints, std::vector<int>(3, kHint));
}

TEST_F(BuilderTest, ListModeReadsFileFactsWithoutDecoding)
{
    WritePicture(u"\\pics\\IMG_0001.JPG"_s);
    const QByteArray bytes = ReadBytes(u"\\pics\\IMG_0001.JPG"_s);
    const timespec times[2] = {{1622548800, 0}, {1622548800, 0}};  // 2021-06-01 12:00:00 UTC
    ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(Host(u"\\pics\\IMG_0001.JPG"_s)).constData(), times, 0), 0);
    ASSERT_EQ(m_catalog.BuildList(u"\\pics"_s, 0, kListMode), 1);
    // The same picture opened on its own reads the same facts through the loader.
    ASSERT_EQ(m_catalog.BuildList(u"\\pics\\IMG_0001.JPG"_s, 0, kListMode), 1);
    ASSERT_EQ(m_catalog.GetCount(), 2);
    for (const CImageItem* item : m_catalog.GetList()) {
        EXPECT_EQ(item->m_memo.content, u"IMG_0001"_s);
        EXPECT_EQ(item->m_picture.m_fileSize, uint32_t(bytes.size()));
        EXPECT_EQ(item->m_picture.m_modified.GetTime(), 1622548800);
        EXPECT_EQ(item->m_picture.m_thumbnail, nullptr);
    }
}

// An album inside a scanned folder is not read; strip mode makes every thumbnail.
TEST_F(BuilderTest, ArchivesAreListedInAFolderScanAndTheirMembersKeepTheirNames)
{
    for (const char* name : {"\\pics\\a.jpg", "\\pics\\c.gif", "\\other\\elsewhere.jpg"})
        WritePicture(QLatin1String(name));
    // Left out, each reported in the build's one batch, in the folder's order
    // though their thumbnails are decoded side by side; the build goes on.
    WriteBytes(u"\\pics\\broken.png"_s, "not a picture at all");
    WriteBytes(u"\\pics\\broken2.png"_s, "nor this");
    MessageBoxService::ClearMessages();
    CImageCatalog source;
    source.BuildList(u"\\other\\elsewhere.jpg"_s, 0, kListMode);
    ASSERT_EQ(source.SaveAlbum(u"\\pics\\album.lab"_s), 1);
    MakeZip(u"\\pics\\pics.zip"_s, {u"dir/"_s, u"dir/photo.jpg"_s, u"notes.txt"_s, u"x.jpeg"_s, u"X.PNG"_s});
    ASSERT_EQ(m_catalog.BuildList(u"\\pics"_s, 0, kStripMode), 1);
    EXPECT_EQ(Paths(m_catalog), (QStringList {u"\\pics\\a.jpg"_s, u"\\pics\\c.gif"_s, u"dir/photo.jpg"_s, u"X.PNG"_s}));
    EXPECT_EQ(m_hints, std::vector<int>(4, kHint));
    EXPECT_EQ(MessageBoxService::Messages(),
              (QStringList {u"Cannot load \\pics\\broken.png"_s, CMessageBatch::MoreFailedText(1)}));
    EXPECT_EQ(m_catalog.GetAt(2)->m_memo.content, u"dir/photo"_s);
    EXPECT_EQ(m_catalog.GetAt(3)->m_memo.content, u"X"_s);
    for (const CImageItem* item : m_catalog.GetList()) {  // strip mode: every thumbnail, a full picture for the first
        EXPECT_EQ(item->m_source, item->m_path.startsWith(u'\\') ? QString() : u"\\pics\\pics.zip"_s);
        EXPECT_NE(item->m_picture.m_thumbnail, nullptr);
        EXPECT_EQ(item->m_picture.m_fullBitmap != nullptr, item == m_catalog.GetAt(0));
    }
    EXPECT_EQ(m_catalog.GetAt(3)->m_picture.m_fileSize, uint32_t(PictureFor(u"X.PNG"_s).size()));
}

// An empty source ends with one hint so the views show the empty catalog,
// unless the catalog already holds an entry; a refused picture sends none.
TEST_F(BuilderTest, ClosingHintIsSentOnlyWhileTheCatalogIsStillEmpty)
{
    MakeFolder(u"\\empty"_s);
    WriteBytes(u"\\texts\\b.txt"_s, "text");
    MakeZip(u"\\nopics.zip"_s, {u"readme.txt"_s});
    WriteBytes(u"\\x.jpeg"_s, PictureFor(u"x.jpg"_s));
    WriteBytes(u"\\broken.gif"_s, "GIF89a");
    WritePicture(u"\\X.PNG"_s);
    const struct {
        const char* path;
        int result, count, hints;
    } cases[] = {
        {"\\empty", 1, 0, 1},      {"\\texts", 1, 0, 1},      {"\\nopics.zip", 1, 0, 1}, {"\\nowhere", 0, 0, 1},
        {"\\x.jpeg", 0, 0, 1},     {"\\broken.gif", 0, 0, 0}, {"\\X.PNG", 1, 1, 1},      {"\\empty", 1, 1, 0},
        {"\\nopics.zip", 1, 1, 0}, {"\\broken.gif", 0, 1, 0},
    };
    for (const auto& c : cases) {
        m_hints.clear();
        EXPECT_EQ(m_catalog.BuildList(QLatin1String(c.path), 1, kStripMode), c.result) << c.path;
        EXPECT_EQ(m_catalog.GetCount(), c.count) << c.path;
        EXPECT_EQ(m_hints, std::vector<int>(size_t(c.hints), kHint)) << c.path;
    }
}

TEST_F(BuilderTest, ArchiveThatCannotBeOpenedIsReportedAndTheFolderScanGoesOn)
{
    WriteBytes(u"\\pics\\a.zip"_s, "this is not an archive");
    WritePicture(u"\\pics\\b.jpg"_s);
    const QStringList message {u"Can't open ZIP file for thumbnail: \\pics\\a.zip"_s};
    for (const auto& [path, result] : {std::pair {u"\\pics\\a.zip"_s, 0}, {u"\\pics"_s, 1}}) {
        MessageBoxService::ClearMessages();
        EXPECT_EQ(m_catalog.BuildList(path, 0, kListMode), result);
        EXPECT_EQ(MessageBoxService::Messages(), message);
        EXPECT_EQ(m_hints.size(), size_t(result));
    }
    EXPECT_EQ(Paths(m_catalog), QStringList {u"\\pics\\b.jpg"_s});
}

TEST_F(BuilderTest, SymbolicLinkLoopsEndAndNoFolderIsListedTwice)
{
    WritePicture(u"\\pics\\a.jpg"_s);
    WritePicture(u"\\pics\\sub\\b.jpg"_s);
    // sub\loop leads back to \pics; \pics\twin is a second way into sub.
    for (const auto& [target, link] :
         {std::pair {u"\\pics"_s, u"\\pics\\sub\\loop"_s}, {u"\\pics\\sub"_s, u"\\pics\\twin"_s}})
        ASSERT_EQ(::symlink(QFile::encodeName(Host(target)).constData(), QFile::encodeName(Host(link)).constData()), 0);
    // The memory of one build does not carry over to the next.
    for (int build = 0; build < 2; ++build) {
        m_catalog.RemoveAll();
        ASSERT_EQ(m_catalog.BuildList(u"\\pics"_s, 1, kListMode), 1);
        EXPECT_EQ(Paths(m_catalog), (QStringList {u"\\pics\\a.jpg"_s, u"\\pics\\sub\\b.jpg"_s}));
    }
}

TEST_F(BuilderTest, StopFlagEndsAFolderScanOrAnArchiveListingBetweenEntries)
{
    for (const char* name : {"\\pics\\a.jpg", "\\pics\\b.jpg", "\\pics\\c.jpg"})
        WritePicture(QLatin1String(name));
    MakeZip(u"\\p.zip"_s, {u"a.bmp"_s, u"b.bmp"_s, u"c.bmp"_s});
    // The strip-mode folder scan decodes thumbnails ahead: none is appended after the stop.
    const std::tuple<QString, int, QStringList> cases[] = {{u"\\pics"_s, kListMode, {u"\\pics\\a.jpg"_s}},
                                                           {u"\\pics"_s, kStripMode, {u"\\pics\\a.jpg"_s}},
                                                           {u"\\p.zip"_s, kListMode, {u"a.bmp"_s, u"b.bmp"_s}}};
    for (const auto& [path, mode, listed] : cases) {
        std::atomic<bool> stop {false};
        m_catalog.RemoveAll();
        m_catalog.SetStopFlag(&stop);
        m_catalog.SetNotifier([&, stopAt = int(listed.size())](int) { stop = m_catalog.GetCount() == stopAt; });
        EXPECT_EQ(m_catalog.BuildList(path, 0, mode), 0);
        EXPECT_EQ(Paths(m_catalog), listed);
        m_catalog.SetStopFlag(nullptr);
    }
}

// Each member is reached from the one listing, and an album naming the
// members of an archive walks it once for their places: the archive reading
// of a build grows with its member count, not with its square.
TEST_F(BuilderTest, ArchiveAndAlbumBuildsReadTheArchiveInLinearTime)
{
    for (int mode : {kListMode, kStripMode, -1}) {  // -1: list mode from an album
        std::vector<uint64_t> reads;
        for (int members : {40, 160}) {
            QStringList names;
            for (int i = 0; i < members; ++i)
                names.append(u"p%1.bmp"_s.arg(i));
            QString path = u"\\n%1.zip"_s.arg(members);
            MakeZip(path, names);
            if (mode < 0) {
                CImageCatalog source;
                ASSERT_EQ(source.BuildList(path, 0, kListMode), 1);
                path = path.chopped(4) + u".lab"_s;
                ASSERT_EQ(source.SaveAlbum(path), 1);
            }
            CImageCatalog catalog;
            const ZipFileAccess before = ZipFileAccessOfThisThread();
            ASSERT_EQ(catalog.BuildList(path, 0, std::max(mode, kListMode)), 1);
            const ZipFileAccess after = ZipFileAccessOfThisThread();
            ASSERT_EQ(catalog.GetCount(), members);
            EXPECT_EQ(catalog.GetAt(members - 1)->m_picture.m_fileSize, uint32_t(PictureFor(u"p0.bmp"_s).size()));
            if (mode >= 0) {  // thumbnails read their members through the listing's open archive
                EXPECT_EQ(after.opens - before.opens, 1u) << "mode " << mode;
            }
            reads.push_back(after.reads - before.reads);
        }
        EXPECT_LT(reads[1], 5 * reads[0]) << "mode " << mode << ": " << reads[0] << " then " << reads[1];
    }
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
    for (; !done; usleep(10000))
        for (const QString& pipe : pipes)
            if (const int fd = ::open(QFile::encodeName(pipe).constData(), O_WRONLY | O_NONBLOCK); fd >= 0)
                ::close(fd);
    worker.join();
    return returned;
}

}  // namespace

TEST_F(BuilderTest, PipesDevicesAndFoldersNamedLikePicturesAreNeverOpened)
{
    WritePicture(u"\\odd\\a.png"_s);
    MakeFolder(u"\\odd\\y.jpg"_s);
    QStringList pipes;
    for (const char* name : {"z.png", "f.jpg", "g.zip", "h.bmp", "i.gif"}) {
        pipes << Host(u"\\odd\\"_s + QLatin1String(name));
        ASSERT_EQ(::mkfifo(QFile::encodeName(pipes.last()).constData(), 0600), 0);
    }
    ASSERT_EQ(::symlink("/dev/zero", QFile::encodeName(Host(u"\\odd\\zero.bmp"_s)).constData()), 0);
    for (int mode : {kListMode, kStripMode}) {
        m_catalog.RemoveAll();
        EXPECT_TRUE(ReturnsWithoutBlocking([&] { m_catalog.BuildList(u"\\odd"_s, 1, mode); }, pipes));
        EXPECT_EQ(Paths(m_catalog), QStringList {u"\\odd\\a.png"_s}) << mode;
        // Named directly, each is refused at once and the catalog stays as it was.
        for (const char* name : {"z.png", "f.jpg", "g.zip", "h.bmp", "i.gif", "zero.bmp"}) {
            const QString path = u"\\odd\\"_s + QLatin1String(name);
            EXPECT_TRUE(ReturnsWithoutBlocking([&] { m_catalog.BuildList(path, 0, mode); }, pipes)) << name;
            EXPECT_EQ(m_catalog.GetCount(), 1) << name;
        }
    }
}
