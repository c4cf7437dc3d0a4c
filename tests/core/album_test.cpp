// Album files: the exact bytes written, reading them back into the catalog,
// damaged albums, and a save that fails without harming the old album. Then
// failures to show a picture: once each, and a batch of one build in one box.
#include "app/album_file.h"
#include "app/memo_overlay.h"
#include "app/settings.h"
#include "catalog_fixture.h"
#include "image/export.h"
#include "platform/host_bytes.h"

#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

using namespace catalog_fixture;
using namespace Qt::StringLiterals;

namespace {

constexpr int kHint = CImageCatalog::kHintListChanged;
const QString kDefaultMemo = u"font=Tahoma;size=9;bold=1;italic=0;align=Top Center;color=#FFFFFF;content="_s;
const QString kMark = QChar(AlbumFile::kRecordMark);

QByteArray Utf16Le(const QString& text)
{
    QByteArray bytes;
    for (QChar c : text)
        bytes.append(char(c.unicode() & 0xFF)).append(char(c.unicode() >> 8));
    return bytes;
}

QString Record(const QString& path, const QString& content)
{
    return path + QChar(AlbumFile::kPathMark) + kDefaultMemo + content + kMark;
}

// Album saving and reading is about one thing: a fault in a mark, a field or
// a path shows as an album that does not read back as it was saved.
class AlbumRoundTrip : public CatalogFixture {
protected:
    CImageItem* AddEntry(const QString& path, const QString& content = {})
    {
        auto* item = new CImageItem;
        item->m_path = path;
        item->m_memo.content = content;
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
    QString Content(int i) const { return m_catalog.GetAt(i)->m_memo.content; }
};

class FailureMessagesTest : public AlbumRoundTrip {
protected:
    // The messages of opening path and, unless only the build is wanted, of
    // showing its first entry as the view does.
    std::string Messages(const QString& path, int mode, bool show = true)
    {
        MessageBoxService::ClearMessages();
        Open(path, mode);
        if (CImageItem* first = m_catalog.GetAt(0); first && show)
            ShowDecoded(m_catalog, first, true);
        return MessageBoxService::Messages().join(QLatin1Char('|')).toStdString();
    }
};

}  // namespace

TEST_F(AlbumRoundTrip, EntriesAreWrittenAsMarkPathMarkMemoMarkInUtf16WithTheColourAlwaysWhite)
{
    AddEntry(u"\\My Documents\\a.jpg"_s, u"a"_s);
    CImageItem* item = AddEntry(u"\\Bilder\\Ölberg.jpg"_s, u"世界 🌍"_s);
    item->m_memo.color = u"#FF0000"_s;
    ASSERT_EQ(m_catalog.SaveAlbum(u"\\album.lab"_s), 1);
    EXPECT_EQ(ReadBytes(u"\\album.lab"_s), Utf16Le(kMark + Record(u"\\My Documents\\a.jpg"_s, u"a"_s)
                                                   + Record(u"\\Bilder\\Ölberg.jpg"_s, u"世界 🌍"_s)));
    EXPECT_EQ(item->m_memo.color, u"#FF0000"_s);
    EXPECT_TRUE(m_hints.empty());
}

// Folder pictures and archive members come back in order, each from where it
// was, with every memo field but the colour, which is always white.
TEST_F(AlbumRoundTrip, PicturesAndArchiveMembersComeBackInOrderWithEveryMemoFieldAndAThumbnail)
{
    for (const char* name : {"\\pics\\one.jpg", "\\pics\\Holiday.Beach.jpg", "\\pics\\two.png"})
        WritePicture(QLatin1String(name));
    ASSERT_TRUE(WriteZip(Host(u"\\pics\\cards.zip"_s),
                         {{u"one.jpg"_s, PictureFor(u"one.jpg"_s)}, {u"dir/two.png"_s, PictureFor(u"two.png"_s)}}));
    m_catalog.BuildList(u"\\pics"_s, 0, kListMode);
    ASSERT_EQ(m_catalog.GetCount(), 5);
    const CMemoRecord memo {u"Arial"_s, u"12"_s, 0, 1, u"Bottom Right"_s, u"#123456"_s, u"Summer; beach=2004"_s};
    for (CImageItem* item : m_catalog.GetList())  // an empty memo reads as the title
        item->m_memo = item->m_path.contains(u"Holiday"_s) ? CMemoRecord() : memo;
    const QStringList paths = Paths(m_catalog);
    MakeFolder(u"\\albums"_s);
    ASSERT_EQ(m_catalog.SaveAlbum(u"\\albums\\trip.lab"_s), 1);

    ASSERT_EQ(Open(u"\\albums\\trip.lab"_s, kStripMode), 1);
    ASSERT_EQ(Paths(m_catalog), paths);
    EXPECT_EQ(m_hints, std::vector<int>(5, kHint));
    CMemoRecord white = memo;
    white.color = u"#FFFFFF"_s;
    for (const CImageItem* item : m_catalog.GetList()) {
        SCOPED_TRACE(item->m_path.toStdString());
        if (item->m_path.contains(u"Holiday"_s))
            EXPECT_EQ(item->m_memo.content, u"Holiday.Beach"_s);
        else
            EXPECT_TRUE(item->m_memo == white);
        const bool member = !item->m_path.startsWith(u'\\');
        EXPECT_EQ(item->m_source, member ? u"\\pics\\cards.zip"_s : u"\\albums\\trip.lab"_s);
        EXPECT_NE(item->m_picture.m_thumbnail, nullptr);
        EXPECT_TRUE(LayoutMemo(*item, Settings::kModeFullScreen).visible);
    }
    EXPECT_TRUE(MessageBoxService::Messages().isEmpty());
}

TEST_F(AlbumRoundTrip, RecordPathsNameArchiveMembersOnlyWhenTheArchiveIsNoFolder)
{
    WriteBytes(u"\\pics.zip"_s, "PK");
    MakeFolder(u"\\folder.zip"_s);
    const std::pair<const char*, const char*> cases[] = {
        // path, then archive|member or nothing for a plain path
        {"\\pics.zip\\a.jpg", "\\pics.zip|a.jpg"},
        {"\\PICS.ZIP\\dir/b.png", "\\PICS.ZIP|dir/b.png"},
        {"\\gone.zip\\c.gif", "\\gone.zip|c.gif"},  // a card taken out still names its archive
        {"\\folder.zip\\d.jpg", ""},
        {"\\folder.zip\\pics.zip\\e.jpg", "\\folder.zip\\pics.zip|e.jpg"},
        {"dir/photo.jpg", ""},  // an older album's bare member name
        {"\\pics.zip\\", ""},
        {".zip\\a.jpg", ""},
    };
    for (const auto& [path, split] : cases) {
        QString archive, member;
        const bool isMember = AlbumFile::SplitArchiveMember(QLatin1String(path), &archive, &member);
        EXPECT_EQ(isMember ? archive + u'|' + member : QString(), QLatin1String(split)) << path;
    }
    // An older album's bare member name still reads as a plain path.
    WriteBytes(u"\\a.lab"_s, Utf16Le(kMark + Record(u"dir/photo.jpg"_s, {})));
    ASSERT_EQ(Open(u"\\a.lab"_s, kStripMode), 1);
    ASSERT_EQ(Paths(m_catalog), QStringList {u"dir/photo.jpg"_s});
    EXPECT_EQ(m_catalog.GetAt(0)->m_source, u"\\a.lab"_s);
    EXPECT_EQ(m_catalog.GetAt(0)->m_picture.m_thumbnail, nullptr);
    EXPECT_EQ(Content(0), u"dir/photo"_s);
}

TEST_F(AlbumRoundTrip, NamesThatAreNotUtf8AreListedOpenedAndSavedInAnAlbum)
{
    // A card written in Latin-1: the folder "d\xe9j\xe0" holds "caf\xe9.png" and "\xe9t\xe9.zip".
    const QByteArray folder = HostBytes::Encode(Host(u"\\"_s)) + "/d\xe9j\xe0";
    ASSERT_EQ(::mkdir(folder.constData(), 0755), 0);
    const auto writeRaw = [](const QByteArray& hostPath, const QByteArray& bytes) {
        const int fd = ::open(hostPath.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::write(fd, bytes.constData(), size_t(bytes.size())), bytes.size());
        ::close(fd);
    };
    writeRaw(folder + "/caf\xe9.png", PictureFor(u"x.png"_s));
    writeRaw(folder + "/\xe9t\xe9.zip", BuildTestZip({{"a.jpg", PictureFor(u"a.jpg"_s)}}));
    const QString device = HostBytes::Decode("\\d\xe9j\xe0");
    const QStringList paths = {device + HostBytes::Decode("\\caf\xe9.png"), u"a.jpg"_s};
    ASSERT_EQ(Open(device, kStripMode), 1);
    EXPECT_EQ(Paths(m_catalog), paths);
    for (CImageItem* item : m_catalog.GetList())
        EXPECT_EQ(ShowDecoded(m_catalog, item, true), 1) << item->m_path.toStdString();
    // Saved beside them: the album and the picture as BMP and JPEG.
    const QString album = device + HostBytes::Decode("\\d\xe9j\xe0.lab");
    ASSERT_EQ(m_catalog.SaveAlbum(album), 1);
    const HBITMAP picture = m_catalog.GetAt(0)->m_picture.m_fullBitmap;
    EXPECT_EQ(SaveAsBmp(picture, Host(device + HostBytes::Decode("\\caf\xe9.bmp"))), 1);
    EXPECT_EQ(SaveAsJpeg(picture, Host(device + HostBytes::Decode("\\caf\xe9.jpg"))), 1);
    ASSERT_EQ(Open(album, kStripMode), 1);
    EXPECT_EQ(Paths(m_catalog), paths);
    for (const CImageItem* item : m_catalog.GetList())
        EXPECT_NE(item->m_picture.m_thumbnail, nullptr) << item->m_path.toStdString();
    ASSERT_EQ(Open(device, kStripMode), 1);
    EXPECT_EQ(m_catalog.GetCount(), 4);
    EXPECT_TRUE(MessageBoxService::Messages().isEmpty());
}

// Also: the default folder is made when missing, a stop ends reading between
// records, and marks inside a memo are dropped and a path holding one left out.
TEST_F(AlbumRoundTrip, ResavingReplacesTheAlbumWholeThroughItsLinkKeepingItsPermissions)
{
    EXPECT_TRUE(AlbumFile::EnsureDefaultFolder() && AlbumFile::EnsureDefaultFolder());
    EXPECT_TRUE(QFileInfo(Host(AlbumFile::DefaultFolder())).isDir());
    ASSERT_EQ(m_catalog.SaveAlbum(u"\\real.lab"_s), 1);  // an empty catalog: zero bytes that open empty
    EXPECT_EQ(QFileInfo(Host(u"\\real.lab"_s)).size(), 0);
    EXPECT_EQ(Open(u"\\real.lab"_s), 1);
    EXPECT_EQ(m_catalog.GetCount(), 0);
    for (int i = 0; i < 3; ++i)
        AddEntry(u"\\p%1.jpg"_s.arg(i));
    ASSERT_EQ(m_catalog.SaveAlbum(u"\\real.lab"_s), 1);
    m_catalog.RemoveAll();
    std::atomic<bool> stop {false};
    m_catalog.SetStopFlag(&stop);
    m_catalog.SetNotifier([&](int) { stop = true; });
    EXPECT_EQ(m_catalog.BuildList(u"\\real.lab"_s, 0, kListMode), 0);
    EXPECT_EQ(m_catalog.GetCount(), 1);
    m_catalog.SetStopFlag(nullptr);
    ASSERT_EQ(::chmod(QFile::encodeName(Host(u"\\real.lab"_s)).constData(), 0640), 0);
    ASSERT_EQ(::symlink("real.lab", QFile::encodeName(Host(u"\\link.lab"_s)).constData()), 0);
    m_catalog.RemoveAll();
    AddEntry(u"\\q.jpg"_s, u"one\x08two\x1bthree"_s + QChar(0) + u"four"_s);
    AddEntry(u"\\b\x08.jpg"_s);
    AddEntry(u"\\c.jpg"_s);
    ASSERT_EQ(m_catalog.SaveAlbum(u"\\link.lab"_s), 1);
    EXPECT_TRUE(QFileInfo(Host(u"\\link.lab"_s)).isSymLink());
    struct stat st { };
    ASSERT_EQ(::stat(QFile::encodeName(Host(u"\\real.lab"_s)).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    ASSERT_EQ(Open(u"\\real.lab"_s), 1);
    EXPECT_EQ(Paths(m_catalog), (QStringList {u"\\q.jpg"_s, u"\\c.jpg"_s}));
    EXPECT_EQ(Content(0), u"onetwothreefour"_s);
    EXPECT_TRUE(MessageBoxService::Messages().isEmpty());
}

// A save writes a hidden file beside the album and renames it over: a failed
// one leaves the old album and no hidden file, and a save sweeps what killed
// saves of that album left behind.
TEST_F(AlbumRoundTrip, FailedSaveLeavesTheOldAlbumIntactAndSaysSoAndSavingSweepsLeftovers)
{
    AddEntry(u"\\old.jpg"_s);
    EXPECT_EQ(m_catalog.SaveAlbum(u"\\no such folder\\a.lab"_s), 0);
    const struct {
        const char* name;
        int ageSeconds;
        bool swept;
    } left[] = {
        {".a.lab.k3j9x", 3600, true},       // a save killed an hour ago
        {".a.lab.a1", 5, false},            // possibly a save still running elsewhere
        {".other.lab.k3j9x", 3600, false},  // another album's
        {".a.lab.notours!", 3600, false},
    };
    for (const auto& l : left) {
        WriteBytes(u"\\"_s + QLatin1String(l.name), "half");
        const time_t then = time(nullptr) - l.ageSeconds;
        const struct timeval times[2] = {{then, 0}, {then, 0}};
        ASSERT_EQ(::utimes(QFile::encodeName(Host(u"\\"_s + QLatin1String(l.name))).constData(), times), 0);
    }
    ASSERT_EQ(m_catalog.SaveAlbum(u"\\a.lab"_s), 1);
    for (const auto& l : left)
        EXPECT_EQ(QFileInfo::exists(Host(u"\\"_s + QLatin1String(l.name))), !l.swept) << l.name;
    const QByteArray old = ReadBytes(u"\\a.lab"_s);
    for (int i = 0; i < 50; ++i)
        AddEntry(u"\\a fairly long path to make the new album large\\%1.jpg"_s.arg(i));
    // A file-size limit binds root too: the new album cannot be written out.
    rlimit saved {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = rlim_t(old.size() + 64);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const int result = m_catalog.SaveAlbum(u"\\a.lab"_s);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(result, 0);
    EXPECT_EQ(MessageBoxService::Messages(), QStringList(2, u"Could not create the file!"_s));
    EXPECT_EQ(ReadBytes(u"\\a.lab"_s), old);
    EXPECT_EQ(QDir(Host(u"\\"_s)).entryList(QDir::Files | QDir::Hidden),
              (QStringList {u".a.lab.a1"_s, u".a.lab.notours!"_s, u".other.lab.k3j9x"_s, u"a.lab"_s}));
}

TEST_F(AlbumRoundTrip, AlbumThatCannotBeReadShowsAFileErrorAndGivesNoEntries)
{
    ASSERT_EQ(::mkfifo(QFile::encodeName(Host(u"\\pipe.lab"_s)).constData(), 0644), 0);  // never read forever
    QFile huge(Host(u"\\huge.lab"_s));
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly));
    ASSERT_TRUE(huge.resize(qint64(300) << 20));  // sparse: no disk is used, and it is never read
    huge.close();
    for (const QString& album : {u"\\gone.lab"_s, u"\\pipe.lab"_s, u"\\huge.lab"_s}) {
        MessageBoxService::ClearMessages();
        EXPECT_EQ(m_catalog.LoadAlbum(album, kListMode), 0);
        EXPECT_EQ(m_catalog.GetCount(), 0);
        ASSERT_EQ(MessageBoxService::Messages().size(), 1);
        EXPECT_TRUE(MessageBoxService::Messages().at(0).contains(album));
    }
    // An album that is a folder of its own is scanned as a folder.
    WritePicture(u"\\odd.lab\\a.jpg"_s);
    EXPECT_EQ(Open(u"\\odd.lab"_s), 1);
    EXPECT_EQ(Paths(m_catalog), QStringList {u"\\odd.lab\\a.jpg"_s});
}

TEST(AlbumDecode, DamagedAlbumsStayInsideTheTextAndLoseOnlyTheDamagedRecord)
{
    const QString a = Record(u"\\a.jpg"_s, u"a"_s), b = Record(u"\\b.jpg"_s, u"b"_s);
    const QString ma = kDefaultMemo + 'a', mb = kDefaultMemo + 'b';
    const QStringList ab = {u"\\a.jpg"_s, u"\\b.jpg"_s};
    const QByteArray whole = Utf16Le(kMark + a + b);
    const struct {
        const char* what;
        QByteArray bytes;
        QStringList paths;
        QString lastMemo;
    } cases[] = {
        {"empty", QByteArray(), {}, {}},
        {"one lone byte", QByteArray("\x08", 1), {}, {}},
        {"odd byte count", whole + 'x', ab, mb},
        {"truncated in the last memo", whole.left(whole.size() - 6), ab, kDefaultMemo.chopped(1)},
        {"truncated in the last path", Utf16Le(kMark + a + u"\\b.j"_s), {"\\a.jpg"}, ma},
        {"last record without its closing mark", Utf16Le(kMark + a + b.chopped(1)), ab, mb},
        {"a record without its path mark", Utf16Le(kMark + u"\\x.jpg"_s + kDefaultMemo + kMark + b), {"\\b.jpg"}, mb},
        {"no opening mark", Utf16Le(a + b), ab, mb},
        {"an empty path is skipped", Utf16Le(kMark + a + Record({}, u"e"_s) + b), ab, mb},
        {"zero ends the text", Utf16Le(kMark + a + QChar(0) + b), {"\\a.jpg"}, ma},
        {"marks only", Utf16Le(QString(5, QChar(AlbumFile::kRecordMark))), {}, {}},
        {"path mark only", Utf16Le(QString(QChar(AlbumFile::kPathMark))), {}, {}},
    };
    for (const auto& c : cases) {
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

TEST_F(FailureMessagesTest, APictureThatCannotBeShownSaysSoOnceAndTheOthersStayDecoded)
{
    const QByteArray png = PictureFor(u"x.png"_s);
    TestBmp huge;  // 60000 x 60000
    huge.width = huge.height = 60000;
    huge.pixels.assign(64, 0);
    const QString longName = QString(296, QLatin1Char('x')) + u".png"_s;
    const struct {
        QString path;
        QByteArray bytes;
        QString message;
    } cases[] = {
        {u"\\broken.jpg"_s, QByteArray("\xFF\xD8\xFF\xD9\x01\x02\x03"), u"Cannot load \\broken.jpg"_s},
        {u"\\huge.bmp"_s, ToByteArray(BuildBmp(huge)), u"Cannot load \\huge.bmp"_s},
        {u"\\long.zip"_s, BuildTestZip({{longName.toUtf8(), png}, {"fine.bmp", PictureFor(u"fine.bmp"_s)}}),
         u"Cannot load "_s + longName},
    };
    for (const auto& c : cases) {
        WriteBytes(c.path, c.bytes);
        for (int mode : {kStripMode, kListMode})
            EXPECT_EQ(Messages(c.path, mode), c.message.toStdString()) << " mode " << mode;
    }
}

TEST_F(FailureMessagesTest, ManyFailuresOfOneBuildAreOneBoxAndACount)
{
    // An album whose pictures were on a card that has been taken out.
    for (int i = 0; i < 5; ++i)
        WritePicture(u"\\card\\p%1.jpg"_s.arg(i));
    Open(u"\\card"_s);
    ASSERT_EQ(m_catalog.SaveAlbum(u"\\album.lab"_s), 1);
    ASSERT_TRUE(QDir(Host(u"\\card"_s)).removeRecursively());
    EXPECT_EQ(Messages(u"\\album.lab"_s, kStripMode, false),
              "Can't open file '\\card\\p0.jpg'|4 more files could not be loaded.");

    // One member no one can read, met on every walk of its archive.
    std::vector<TestZipMember> members;
    for (const char* name : {"a.png", "b.png", "c.png", "d.png"})
        members.emplace_back(name, PictureFor(u"x.png"_s));
    members.emplace_back("locked.png", PictureFor(u"x.png"_s), 0, 0x1);
    WriteBytes(u"\\pics.zip"_s, BuildTestZip(members));
    EXPECT_EQ(Messages(u"\\pics.zip"_s, kStripMode, false), "Can't open file: locked.png");
    // A broken picture beside a good one leaves the good one decoded.
    WritePicture(u"\\f\\a.png"_s);
    WriteBytes(u"\\f\\b.gif"_s, "GIF89a");
    Messages(u"\\f"_s, kListMode);
    CImageItem* good = m_catalog.GetAt(0);
    ASSERT_NE(good->m_picture.m_fullBitmap, nullptr);
    EXPECT_EQ(ShowDecoded(m_catalog, m_catalog.GetAt(1), true), 0);
    EXPECT_EQ(MessageBoxService::Messages().join(QLatin1Char('|')).toStdString(), "Cannot load \\f\\b.gif");
    EXPECT_NE(good->m_picture.m_fullBitmap, nullptr);
}
