// Album files: the exact bytes written, reading them back into the catalog,
// damaged albums, and a save that fails without harming the old album.
#include "app/album_file.h"
#include "app/settings.h"
#include "catalog_fixture.h"
#include "image/export.h"
#include "image/memo_layout.h"
#include "platform/host_bytes.h"

#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

using catalog_fixture::CatalogFixture;
using catalog_fixture::kListMode;
using catalog_fixture::kStripMode;
using catalog_fixture::Paths;

namespace {

constexpr int kHint = CImageCatalog::kHintListChanged;
const QString kDefaultMemo
    = QStringLiteral("font=Tahoma;size=9;bold=1;italic=0;align=Top Center;color=#FFFFFF;content=");

QByteArray Utf16Le(const QString& text)
{
    QByteArray bytes;
    for (QChar c : text)
        bytes.append(char(c.unicode() & 0xFF)).append(char(c.unicode() >> 8));
    return bytes;
}

QString Record(const QString& path, const QString& memo)
{
    return path + QChar(AlbumFile::kPathMark) + memo + QChar(AlbumFile::kRecordMark);
}

QString Memo(const QString& content)
{
    return kDefaultMemo + content;
}

class AlbumTest : public CatalogFixture {
protected:
    CImageItem* AddEntry(const QString& path)
    {
        auto* item = new CImageItem;
        item->m_path = path;
        m_catalog.Append(item);
        return item;
    }
    // Opens an album the way Open File does: a new catalog from the album.
    int Open(const QString& album, int mode = kListMode)
    {
        m_catalog.RemoveAll();
        m_hints.clear();
        m_catalog.SetSourcePath(album);
        return m_catalog.BuildList(album, 0, mode);
    }
};

}  // namespace

TEST_F(AlbumTest, OneEntryIsWrittenAsMarkPathMarkMemoMark)
{
    CImageItem* item = AddEntry(QStringLiteral("\\My Documents\\a.jpg"));
    item->m_memoContent = QStringLiteral("a");
    ASSERT_EQ(m_catalog.SaveAlbum(QStringLiteral("\\album.lab")), 1);
    const QString expected = QChar(AlbumFile::kRecordMark) + Record(QStringLiteral("\\My Documents\\a.jpg"), Memo("a"));
    EXPECT_EQ(ReadBytes(QStringLiteral("\\album.lab")), Utf16Le(expected));
    EXPECT_TRUE(m_hints.empty());
}

TEST_F(AlbumTest, ColourIsAlwaysWrittenWhiteAndTextBeyondLatin1SurvivesAsUtf16)
{
    CImageItem* item = AddEntry(QStringLiteral("\\Bilder\\Ölberg.jpg"));
    item->m_memoColor = QStringLiteral("#FF0000");
    item->m_memoContent = QStringLiteral("世界 🌍");
    ASSERT_EQ(m_catalog.SaveAlbum(QStringLiteral("\\a.lab")), 1);
    const QByteArray bytes = ReadBytes(QStringLiteral("\\a.lab"));
    EXPECT_TRUE(bytes.contains(Utf16Le(QStringLiteral(";color=#FFFFFF;"))));
    EXPECT_FALSE(bytes.contains(Utf16Le(QStringLiteral("#FF0000"))));
    EXPECT_TRUE(bytes.contains(Utf16Le(QStringLiteral("\\Bilder\\Ölberg.jpg"))));
    EXPECT_TRUE(bytes.contains(Utf16Le(QStringLiteral("世界 🌍"))));
    EXPECT_EQ(item->m_memoColor, QStringLiteral("#FF0000"));
}

TEST_F(AlbumTest, ThreePicturesComeBackInOrderWithTheirMemos)
{
    WritePicture(QStringLiteral("\\pics\\one.jpg"));
    WritePicture(QStringLiteral("\\pics\\two.png"));
    WritePicture(QStringLiteral("\\pics\\three.bmp"));
    m_catalog.BuildList(QStringLiteral("\\pics"), 0, kListMode);
    ASSERT_EQ(m_catalog.GetCount(), 3);
    struct Memo {
        const char* font;
        const char* size;
        int bold, italic;
        const char* align;
        const char* content;
    };
    const Memo memos[] = {{"Arial", "12", 0, 1, "Bottom Right", "Summer; beach=2004"},
                          {"Tahoma", "40", 1, 1, "Middle Center", "second"},
                          {"Courier", "6", 0, 0, "Top Left", "third"}};
    // Catalog order is name order: one, three, two.
    for (int i = 0; i < 3; ++i) {
        CImageItem* item = m_catalog.GetAt(i);
        item->m_memoFont = QString::fromLatin1(memos[i].font);
        item->m_memoSize = QString::fromLatin1(memos[i].size);
        item->m_memoBold = memos[i].bold;
        item->m_memoItalic = memos[i].italic;
        item->m_memoAlign = QString::fromLatin1(memos[i].align);
        item->m_memoColor = QStringLiteral("#123456");
        item->m_memoContent = QString::fromLatin1(memos[i].content);
    }
    const QStringList paths = Paths(m_catalog);
    MakeFolder(QStringLiteral("\\albums"));
    ASSERT_EQ(m_catalog.SaveAlbum(QStringLiteral("\\albums\\trip.lab")), 1);

    ASSERT_EQ(Open(QStringLiteral("\\albums\\trip.lab")), 1);
    EXPECT_EQ(Paths(m_catalog), paths);
    EXPECT_EQ(m_hints, std::vector<int>({kHint, kHint, kHint}));
    for (int i = 0; i < 3; ++i) {
        const CImageItem* item = m_catalog.GetAt(i);
        EXPECT_EQ(item->m_memoFont, QString::fromLatin1(memos[i].font));
        EXPECT_EQ(item->m_memoSize, QString::fromLatin1(memos[i].size));
        EXPECT_EQ(item->m_memoBold, memos[i].bold);
        EXPECT_EQ(item->m_memoItalic, memos[i].italic);
        EXPECT_EQ(item->m_memoAlign, QString::fromLatin1(memos[i].align));
        EXPECT_EQ(item->m_memoColor, QStringLiteral("#FFFFFF"));
        EXPECT_EQ(item->m_memoContent, QString::fromLatin1(memos[i].content));
        EXPECT_EQ(item->m_source, QStringLiteral("\\albums\\trip.lab"));
        EXPECT_GT(item->m_fileSize, 0u);
    }
}

TEST_F(AlbumTest, RecordsAreFilledWithThumbnailsInStripMode)
{
    WritePicture(QStringLiteral("\\pics\\one.jpg"));
    AddEntry(QStringLiteral("\\pics\\one.jpg"));
    ASSERT_EQ(m_catalog.SaveAlbum(QStringLiteral("\\a.lab")), 1);
    ASSERT_EQ(Open(QStringLiteral("\\a.lab"), kStripMode), 1);
    ASSERT_EQ(m_catalog.GetCount(), 1);
    EXPECT_NE(m_catalog.GetAt(0)->m_thumbnail, nullptr);
}

TEST_F(AlbumTest, EmptyMemoContentIsWrittenEmptyAndReadBackAsTheTitle)
{
    AddEntry(QStringLiteral("\\My Documents\\Holiday.Beach.jpg"));
    ASSERT_EQ(m_catalog.SaveAlbum(QStringLiteral("\\a.lab")), 1);
    EXPECT_TRUE(ReadBytes(QStringLiteral("\\a.lab")).endsWith(Utf16Le(QStringLiteral(";content=\x08"))));
    ASSERT_EQ(Open(QStringLiteral("\\a.lab")), 1);
    ASSERT_EQ(m_catalog.GetCount(), 1);
    EXPECT_EQ(m_catalog.GetAt(0)->m_memoContent, QStringLiteral("Holiday.Beach"));
}

TEST_F(AlbumTest, ArchiveMembersComeBackFromTheArchiveWithTheirMemos)
{
    MakeFolder(QStringLiteral("\\cards"));
    ASSERT_TRUE(catalog_fixture::WriteZip(
        Host(QStringLiteral("\\cards\\pics.zip")),
        {{QStringLiteral("one.jpg"), catalog_fixture::PictureFor(QStringLiteral("one.jpg"))},
         {QStringLiteral("dir/two.png"), catalog_fixture::PictureFor(QStringLiteral("two.png"))}}));
    ASSERT_EQ(m_catalog.BuildList(QStringLiteral("\\cards\\pics.zip"), 0, kListMode), 1);
    ASSERT_EQ(m_catalog.GetCount(), 2);
    m_catalog.GetAt(0)->m_memoContent = QStringLiteral("first");
    m_catalog.GetAt(1)->m_memoAlign = QStringLiteral("Bottom Right");
    ASSERT_EQ(m_catalog.SaveAlbum(QStringLiteral("\\a.lab")), 1);

    ASSERT_EQ(Open(QStringLiteral("\\a.lab"), kStripMode), 1);
    EXPECT_EQ(Paths(m_catalog), QStringList({QStringLiteral("one.jpg"), QStringLiteral("dir/two.png")}));
    for (const CImageItem* item : m_catalog.GetList()) {
        EXPECT_EQ(item->m_source, QStringLiteral("\\cards\\pics.zip"));
        EXPECT_NE(item->m_thumbnail, nullptr) << item->m_path.toStdString();
        EXPECT_TRUE(LayoutMemo(*item, Settings::kModeFullScreen).visible);
    }
    EXPECT_EQ(m_catalog.GetAt(0)->m_memoContent, QStringLiteral("first"));
    EXPECT_EQ(m_catalog.GetAt(1)->m_memoAlign, QStringLiteral("Bottom Right"));
    EXPECT_TRUE(MessageBoxService::Messages().isEmpty());
}

TEST_F(AlbumTest, RecordPathsNameArchiveMembersOnlyWhenTheArchiveIsNoFolder)
{
    WriteBytes(QStringLiteral("\\pics.zip"), "PK");
    MakeFolder(QStringLiteral("\\folder.zip"));
    const struct {
        const char* path;
        const char* archive;  // null: a plain path
        const char* member;
    } cases[] = {
        {"\\pics.zip\\a.jpg", "\\pics.zip", "a.jpg"},
        {"\\PICS.ZIP\\dir/b.png", "\\PICS.ZIP", "dir/b.png"},
        {"\\gone.zip\\c.gif", "\\gone.zip", "c.gif"},  // a card taken out still names its archive
        {"\\folder.zip\\d.jpg", nullptr, nullptr},
        {"\\folder.zip\\pics.zip\\e.jpg", "\\folder.zip\\pics.zip", "e.jpg"},
        {"dir/photo.jpg", nullptr, nullptr},  // an older album's bare member name
        {"\\pics.zip\\", nullptr, nullptr},
        {".zip\\a.jpg", nullptr, nullptr},
    };
    for (const auto& c : cases) {
        QString archive, member;
        const bool split = AlbumFile::SplitArchiveMember(QString::fromLatin1(c.path), &archive, &member);
        EXPECT_EQ(split, c.archive != nullptr) << c.path;
        if (split && c.archive) {
            EXPECT_EQ(archive, QString::fromLatin1(c.archive)) << c.path;
            EXPECT_EQ(member, QString::fromLatin1(c.member)) << c.path;
        }
    }
}

TEST_F(AlbumTest, AnOlderAlbumsBareMemberNameStillReadsAsAPlainPath)
{
    const QString record = Record(QStringLiteral("dir/photo.jpg"), Memo(""));
    WriteBytes(QStringLiteral("\\a.lab"), Utf16Le(QChar(AlbumFile::kRecordMark) + record));
    ASSERT_EQ(Open(QStringLiteral("\\a.lab"), kStripMode), 1);
    ASSERT_EQ(m_catalog.GetCount(), 1);
    const CImageItem* item = m_catalog.GetAt(0);
    EXPECT_EQ(item->m_path, QStringLiteral("dir/photo.jpg"));
    EXPECT_EQ(item->m_source, QStringLiteral("\\a.lab"));
    EXPECT_EQ(item->m_thumbnail, nullptr);
    EXPECT_EQ(item->m_memoContent, QStringLiteral("dir/photo"));
}

TEST_F(AlbumTest, NamesThatAreNotUtf8AreListedOpenedAndSavedInAnAlbum)
{
    // A card written in Latin-1: the folder "d\xe9j\xe0" holds "caf\xe9.png" and "\xe9t\xe9.zip".
    const QByteArray folder = HostBytes::Encode(Host(QStringLiteral("\\"))) + "/d\xe9j\xe0";
    ASSERT_EQ(::mkdir(folder.constData(), 0755), 0);
    const auto writeRaw = [](const QByteArray& hostPath, const QByteArray& bytes) {
        const int fd = ::open(hostPath.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::write(fd, bytes.constData(), size_t(bytes.size())), bytes.size());
        ::close(fd);
    };
    writeRaw(folder + "/caf\xe9.png", catalog_fixture::PictureFor(QStringLiteral("x.png")));
    writeRaw(folder + "/\xe9t\xe9.zip",
             BuildTestZip({{"a.jpg", catalog_fixture::PictureFor(QStringLiteral("a.jpg"))}}));
    const QString device = HostBytes::Decode("\\d\xe9j\xe0");

    ASSERT_EQ(Open(device, kStripMode), 1);
    const QStringList paths = {device + HostBytes::Decode("\\caf\xe9.png"), QStringLiteral("a.jpg")};
    EXPECT_EQ(Paths(m_catalog), paths);
    for (CImageItem* item : m_catalog.GetList()) {
        EXPECT_NE(item->m_thumbnail, nullptr) << item->m_path.toStdString();
        EXPECT_EQ(m_catalog.LoadCurrentPicture(item, false), 1) << item->m_path.toStdString();
    }
    // Saved beside them: the album and the picture as BMP and JPEG.
    const QString album = device + HostBytes::Decode("\\d\xe9j\xe0.lab");
    ASSERT_EQ(m_catalog.SaveAlbum(album), 1);
    const HBITMAP picture = m_catalog.GetAt(0)->m_fullBitmap;
    EXPECT_EQ(SaveAsBmp(picture, Host(device + HostBytes::Decode("\\caf\xe9.bmp"))), 1);
    EXPECT_EQ(SaveAsJpeg(picture, Host(device + HostBytes::Decode("\\caf\xe9.jpg"))), 1);
    ASSERT_EQ(Open(album, kStripMode), 1);
    EXPECT_EQ(Paths(m_catalog), paths);
    for (const CImageItem* item : m_catalog.GetList())
        EXPECT_NE(item->m_thumbnail, nullptr) << item->m_path.toStdString();
    ASSERT_EQ(Open(device, kStripMode), 1);
    EXPECT_EQ(m_catalog.GetCount(), 4);
    for (const char* saved : {"/caf\xe9.bmp", "/caf\xe9.jpg", "/d\xe9j\xe0.lab"})
        EXPECT_EQ(::access((folder + saved).constData(), R_OK), 0) << saved;
    EXPECT_TRUE(MessageBoxService::Messages().isEmpty());
}

TEST_F(AlbumTest, EmptyCatalogGivesAZeroByteAlbumThatOpensEmpty)
{
    ASSERT_EQ(m_catalog.SaveAlbum(QStringLiteral("\\empty.lab")), 1);
    ASSERT_TRUE(QFileInfo::exists(Host(QStringLiteral("\\empty.lab"))));
    EXPECT_EQ(QFileInfo(Host(QStringLiteral("\\empty.lab"))).size(), 0);
    EXPECT_EQ(Open(QStringLiteral("\\empty.lab")), 1);
    EXPECT_EQ(m_catalog.GetCount(), 0);
    EXPECT_TRUE(MessageBoxService::Messages().isEmpty());
}

TEST_F(AlbumTest, SavingReplacesAnOldAlbumCompletely)
{
    for (int i = 0; i < 3; ++i)
        AddEntry(QStringLiteral("\\p%1.jpg").arg(i));
    ASSERT_EQ(m_catalog.SaveAlbum(QStringLiteral("\\a.lab")), 1);
    m_catalog.RemoveAll();
    AddEntry(QStringLiteral("\\q.jpg"));
    ASSERT_EQ(m_catalog.SaveAlbum(QStringLiteral("\\a.lab")), 1);
    ASSERT_EQ(Open(QStringLiteral("\\a.lab")), 1);
    EXPECT_EQ(Paths(m_catalog), QStringList({QStringLiteral("\\q.jpg")}));
}

TEST_F(AlbumTest, ResavingKeepsTheAlbumsPermissionsAndTheLinkThatLeadsToIt)
{
    AddEntry(QStringLiteral("\\a.jpg"));
    ASSERT_EQ(m_catalog.SaveAlbum(QStringLiteral("\\real.lab")), 1);
    ASSERT_EQ(::chmod(QFile::encodeName(Host(QStringLiteral("\\real.lab"))).constData(), 0640), 0);
    ASSERT_EQ(::symlink("real.lab", QFile::encodeName(Host(QStringLiteral("\\link.lab"))).constData()), 0);
    AddEntry(QStringLiteral("\\b.jpg"));
    ASSERT_EQ(m_catalog.SaveAlbum(QStringLiteral("\\link.lab")), 1);
    EXPECT_TRUE(QFileInfo(Host(QStringLiteral("\\link.lab"))).isSymLink());
    struct stat st { };
    ASSERT_EQ(::stat(QFile::encodeName(Host(QStringLiteral("\\real.lab"))).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    ASSERT_EQ(Open(QStringLiteral("\\real.lab")), 1);
    EXPECT_EQ(Paths(m_catalog), QStringList({QStringLiteral("\\a.jpg"), QStringLiteral("\\b.jpg")}));
}

TEST_F(AlbumTest, FailedSaveLeavesTheOldAlbumIntactAndSaysSo)
{
    AddEntry(QStringLiteral("\\old.jpg"));
    ASSERT_EQ(m_catalog.SaveAlbum(QStringLiteral("\\a.lab")), 1);
    const QByteArray old = ReadBytes(QStringLiteral("\\a.lab"));
    for (int i = 0; i < 50; ++i)
        AddEntry(QStringLiteral("\\a fairly long path to make the new album large\\%1.jpg").arg(i));

    // A file-size limit binds root too: the new album cannot be written out.
    rlimit saved {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = rlim_t(old.size() + 64);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const int result = m_catalog.SaveAlbum(QStringLiteral("\\a.lab"));
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(result, 0);
    EXPECT_EQ(MessageBoxService::Messages(), QStringList({QStringLiteral("Could not create the file!")}));
    EXPECT_EQ(ReadBytes(QStringLiteral("\\a.lab")), old);
    EXPECT_EQ(QDir(Host(QStringLiteral("\\"))).entryList(QDir::Files | QDir::Hidden),
              QStringList({QStringLiteral("a.lab")}));
}

TEST_F(AlbumTest, SaveIntoAMissingFolderSaysItCouldNotCreateTheFile)
{
    AddEntry(QStringLiteral("\\a.jpg"));
    EXPECT_EQ(m_catalog.SaveAlbum(QStringLiteral("\\no such folder\\a.lab")), 0);
    EXPECT_EQ(MessageBoxService::Messages(), QStringList({QStringLiteral("Could not create the file!")}));
}

TEST_F(AlbumTest, DefaultFolderIsMadeWhenMissing)
{
    EXPECT_EQ(AlbumFile::DefaultName(), QStringLiteral("\\My Documents\\Lumo Albums\\My Album"));
    EXPECT_TRUE(AlbumFile::EnsureDefaultFolder());
    EXPECT_TRUE(QFileInfo(Host(AlbumFile::DefaultFolder())).isDir());
    EXPECT_TRUE(AlbumFile::EnsureDefaultFolder());
}

TEST_F(AlbumTest, AlbumThatCannotBeReadShowsAFileErrorAndGivesNoEntries)
{
    EXPECT_EQ(m_catalog.LoadAlbum(QStringLiteral("\\gone.lab"), kListMode), 0);
    EXPECT_EQ(m_catalog.GetCount(), 0);
    ASSERT_EQ(MessageBoxService::Messages().size(), 1);
    EXPECT_TRUE(MessageBoxService::Messages().at(0).contains(QStringLiteral("\\gone.lab")));

    // A pipe has no end to read to: it is refused, not read forever.
    MessageBoxService::ClearMessages();
    ASSERT_EQ(::mkfifo(QFile::encodeName(Host(QStringLiteral("\\pipe.lab"))).constData(), 0644), 0);
    EXPECT_EQ(Open(QStringLiteral("\\pipe.lab")), 0);
    EXPECT_EQ(m_catalog.GetCount(), 0);
    EXPECT_EQ(MessageBoxService::Messages().size(), 1);
}

TEST_F(AlbumTest, AlbumThatIsAFolderOfItsOwnIsScannedAsAFolder)
{
    WritePicture(QStringLiteral("\\odd.lab\\a.jpg"));
    EXPECT_EQ(Open(QStringLiteral("\\odd.lab")), 1);
    EXPECT_EQ(Paths(m_catalog), QStringList({QStringLiteral("\\odd.lab\\a.jpg")}));
}

TEST_F(AlbumTest, MarksInsideAMemoAreDroppedAndAPathHoldingOneIsLeftOut)
{
    CImageItem* first = AddEntry(QStringLiteral("\\a.jpg"));
    first->m_memoContent = QStringLiteral("one\x08two\x1bthree") + QChar(0) + QStringLiteral("four");
    AddEntry(QStringLiteral("\\b\x08.jpg"));
    AddEntry(QStringLiteral("\\c.jpg"));
    ASSERT_EQ(m_catalog.SaveAlbum(QStringLiteral("\\a.lab")), 1);
    ASSERT_EQ(Open(QStringLiteral("\\a.lab")), 1);
    EXPECT_EQ(Paths(m_catalog), QStringList({QStringLiteral("\\a.jpg"), QStringLiteral("\\c.jpg")}));
    EXPECT_EQ(m_catalog.GetAt(0)->m_memoContent, QStringLiteral("onetwothreefour"));
}

TEST(AlbumDecode, WellFormedTextGivesEveryRecord)
{
    const QString text = QChar(AlbumFile::kRecordMark) + Record(QStringLiteral("\\a.jpg"), Memo("a"))
                         + Record(QStringLiteral("\\b.jpg"), Memo("b"));
    const auto records = AlbumFile::Decode(Utf16Le(text));
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].path, QStringLiteral("\\a.jpg"));
    EXPECT_EQ(records[0].memoText, Memo("a"));
    EXPECT_EQ(records[1].path, QStringLiteral("\\b.jpg"));
    EXPECT_EQ(records[1].memoText, Memo("b"));
}

TEST(AlbumDecode, DamagedAlbumsStayInsideTheTextAndLoseOnlyTheDamagedRecord)
{
    const QString a = Record(QStringLiteral("\\a.jpg"), Memo("a"));
    const QString b = Record(QStringLiteral("\\b.jpg"), Memo("b"));
    const QString mark = QChar(AlbumFile::kRecordMark);
    struct Case {
        const char* what;
        QByteArray bytes;
        QStringList paths;
        QString lastMemo;
    };
    const QByteArray whole = Utf16Le(mark + a + b);
    const Case cases[] = {
        {"empty", QByteArray(), {}, {}},
        {"one lone byte", QByteArray("\x08", 1), {}, {}},
        {"odd byte count", whole + 'x', {"\\a.jpg", "\\b.jpg"}, Memo("b")},
        {"truncated in the last memo", whole.left(whole.size() - 6), {"\\a.jpg", "\\b.jpg"}, kDefaultMemo.chopped(1)},
        {"truncated in the last path", Utf16Le(mark + a + QStringLiteral("\\b.j")), {"\\a.jpg"}, Memo("a")},
        {"last record without its closing mark", Utf16Le(mark + a + b.chopped(1)), {"\\a.jpg", "\\b.jpg"}, Memo("b")},
        {"a record without its path mark",
         Utf16Le(mark + QStringLiteral("\\x.jpg") + Memo("x") + mark + b),
         {"\\b.jpg"},
         Memo("b")},
        {"no opening mark", Utf16Le(a + b), {"\\a.jpg", "\\b.jpg"}, Memo("b")},
        {"an empty path is skipped",
         Utf16Le(mark + a + Record(QString(), Memo("e")) + b),
         {"\\a.jpg", "\\b.jpg"},
         Memo("b")},
        {"zero ends the text", Utf16Le(mark + a + QChar(0) + b), {"\\a.jpg"}, Memo("a")},
        {"marks only", Utf16Le(QString(5, QChar(AlbumFile::kRecordMark))), {}, {}},
        {"path mark only", Utf16Le(QString(QChar(AlbumFile::kPathMark))), {}, {}},
    };
    for (const Case& c : cases) {
        const auto records = AlbumFile::Decode(c.bytes);
        QStringList paths;
        for (const auto& r : records)
            paths << r.path;
        EXPECT_EQ(paths, c.paths) << c.what;
        if (!records.empty()) {
            EXPECT_EQ(records.back().memoText, c.lastMemo) << c.what;
        }
    }
}

TEST_F(AlbumTest, TruncatedAlbumKeepsItsLastPictureWithWhatRemainsOfItsMemo)
{
    AddEntry(QStringLiteral("\\a.jpg"))->m_memoContent = QStringLiteral("first");
    AddEntry(QStringLiteral("\\b.jpg"))->m_memoContent = QStringLiteral("second");
    ASSERT_EQ(m_catalog.SaveAlbum(QStringLiteral("\\a.lab")), 1);
    QByteArray bytes = ReadBytes(QStringLiteral("\\a.lab"));
    WriteBytes(QStringLiteral("\\a.lab"), bytes.left(bytes.size() - 5));
    ASSERT_EQ(Open(QStringLiteral("\\a.lab")), 1);
    ASSERT_EQ(Paths(m_catalog), QStringList({QStringLiteral("\\a.jpg"), QStringLiteral("\\b.jpg")}));
    EXPECT_EQ(m_catalog.GetAt(0)->m_memoContent, QStringLiteral("first"));
    EXPECT_EQ(m_catalog.GetAt(1)->m_memoContent, QStringLiteral("seco"));
    EXPECT_EQ(m_hints, std::vector<int>({kHint, kHint}));
}

TEST_F(AlbumTest, StopFlagEndsReadingBetweenRecords)
{
    for (int i = 0; i < 3; ++i)
        AddEntry(QStringLiteral("\\p%1.jpg").arg(i));
    ASSERT_EQ(m_catalog.SaveAlbum(QStringLiteral("\\a.lab")), 1);
    m_catalog.RemoveAll();
    std::atomic<bool> stop {false};
    m_catalog.SetStopFlag(&stop);
    m_catalog.SetNotifier([&](int) { stop = true; });
    EXPECT_EQ(m_catalog.BuildList(QStringLiteral("\\a.lab"), 0, kListMode), 0);
    EXPECT_EQ(m_catalog.GetCount(), 1);
    m_catalog.SetStopFlag(nullptr);
}

TEST_F(AlbumTest, AnAlbumBeyondAnySaneSizeIsRefusedWithoutBeingRead)
{
    QFile huge(Host(QStringLiteral("\\huge.lab")));
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly));
    ASSERT_TRUE(huge.resize(qint64(300) << 20));  // sparse: no disk is used
    huge.close();
    EXPECT_EQ(Open(QStringLiteral("\\huge.lab")), 0);
    EXPECT_EQ(m_catalog.GetCount(), 0);
    ASSERT_EQ(MessageBoxService::Messages().size(), 1);
    EXPECT_TRUE(MessageBoxService::Messages().at(0).contains(QStringLiteral("\\huge.lab")));
}

TEST_F(AlbumTest, SavingSweepsWhatKilledSavesOfThatAlbumLeftBehind)
{
    AddEntry(QStringLiteral("\\a.jpg"));
    MakeFolder(QStringLiteral("\\albums"));
    const QString folder = Host(QStringLiteral("\\albums"));
    struct Left {
        const char* name;
        int ageSeconds;
        bool swept;
    } left[] = {
        {".mine.lab.k3j9x", 3600, true},    // a save killed an hour ago
        {".mine.lab.a1", 5, false},         // possibly a save still running elsewhere
        {".other.lab.k3j9x", 3600, false},  // another album's
        {".mine.lab.notours!", 3600, false},
    };
    for (const Left& l : left) {
        WriteBytes(QStringLiteral("\\albums\\") + QLatin1String(l.name), "half");
        const QByteArray host = QFile::encodeName(folder + QLatin1Char('/') + QLatin1String(l.name));
        const time_t then = time(nullptr) - l.ageSeconds;
        const struct timeval times[2] = {{then, 0}, {then, 0}};
        ASSERT_EQ(::utimes(host.constData(), times), 0);
    }
    ASSERT_EQ(m_catalog.SaveAlbum(QStringLiteral("\\albums\\mine.lab")), 1);
    for (const Left& l : left)
        EXPECT_EQ(QFileInfo::exists(folder + QLatin1Char('/') + QLatin1String(l.name)), !l.swept) << l.name;
}
