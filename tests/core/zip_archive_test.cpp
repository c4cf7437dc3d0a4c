// ZIP access: name decoding, listing, finding members again (directly from a
// listed position or by the walk), and the checked read into memory, on
// archives the tests build themselves.
#include "image/zip_archive.h"
#include "image/zip_name.h"
#include "platform/device_path.h"
#include "platform/message_box.h"
#include "tests/core/zip_test_writer.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstring>
#include <gtest/gtest.h>
#include <ostream>

// Readable QString values in failure messages.
static void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace {

QString Utf16(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

QStringList Listed(const QString& archive)
{
    QStringList names;
    ListZipPictures(archive, [&](const CZipMemberInfo& m) {
        names.append(m.name);
        return true;
    });
    return names;
}

// Names of every entry of a host folder, hidden ones included.
QStringList FolderContents(const QString& hostFolder)
{
    return QDir(hostFolder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

class ZipArchiveTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_root.isValid());
        DevicePath::SetDeviceRoot(m_root.path());
        ASSERT_TRUE(QDir(m_root.path()).mkpath(QStringLiteral("pics")));
        ASSERT_TRUE(QDir(m_root.path()).mkpath(QStringLiteral("run")));
        m_savedRuntime = qgetenv("XDG_RUNTIME_DIR");
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(Host(QStringLiteral("run"))));
        MessageBoxService::SetEcho(false);
        MessageBoxService::ClearMessages();
    }
    void TearDown() override
    {
        qputenv("XDG_RUNTIME_DIR", m_savedRuntime);
        DevicePath::SetDeviceRoot(QString());
        MessageBoxService::ClearMessages();
    }

    QString Host(const QString& relative) const { return QDir(m_root.path()).filePath(relative); }
    // Writes the archive as pics/<name> and returns its device path.
    QString MakeArchive(const std::vector<TestZipMember>& members, const QString& name = QStringLiteral("a.zip"))
    {
        EXPECT_TRUE(WriteTestFile(Host(QStringLiteral("pics/") + name), BuildTestZip(members)));
        return QStringLiteral("\\pics\\") + name;
    }

    // Opens pics/a.zip and its first member for reading.
    void OpenFirstMember(CZipReader& reader, CZipMemberInfo& info)
    {
        ASSERT_TRUE(reader.Open(Host("pics/a.zip")));
        ASSERT_TRUE(reader.GoToFirst());
        ASSERT_TRUE(reader.ReadCurrentInfo(&info));
        ASSERT_TRUE(reader.OpenCurrent(info));
    }

    QTemporaryDir m_root;
    QByteArray m_savedRuntime;
};

// ---- Name decoding -------------------------------------------------------

TEST(ZipNameTest, ValidUtf8IsReadAsUtf8AndAnythingElseAsCodePage437)
{
    const QByteArray utf8("\xE4\xB8\x96\xE7\x95\x8C.png");
    EXPECT_EQ(DecodeZipName(utf8.constData(), utf8.size()), Utf16("世界.png"));
    EXPECT_EQ(DecodeZipName("plain.jpg", 9), QStringLiteral("plain.jpg"));
    const QByteArray bytes("\x81"
                           "ber\xE1.jpg");
    EXPECT_EQ(DecodeZipName(bytes.constData(), bytes.size()), Utf16("überß.jpg"));
    const QByteArray edges("\x80\x9E\xB0\xFF");
    EXPECT_EQ(DecodeCp437(edges.constData(), edges.size()), Utf16("Ç₧░\u00A0"));
}

TEST(ZipNameTest, IllFormedUtf8IsRecognised)
{
    const char* bad[] = {
        "\xC0\xAF",          // overlong "/"
        "\xE0\x80\xAF",      // overlong "/", three bytes
        "\xED\xA0\x80",      // surrogate
        "\xF4\x90\x80\x80",  // above U+10FFFF
        "\xE2\x82",          // cut short
        "\x80",              // stray continuation
        "\xF8\x88\x80\x80\x80",
    };
    for (const char* s : bad)
        EXPECT_FALSE(IsValidUtf8(s, strlen(s))) << s;
    const char* good[] = {"", "ascii", "\xC3\xA9", "\xEF\xBF\xBD", "\xF0\x9F\x98\x80", "\xF4\x8F\xBF\xBF"};
    for (const char* s : good)
        EXPECT_TRUE(IsValidUtf8(s, strlen(s))) << s;
}

TEST(ZipNameTest, PictureNamesAreTheFourExtensionsInAnyCase)
{
    for (const char* name : {"a.bmp", "B.JPG", "dir/c.Gif", ".png"})
        EXPECT_TRUE(IsZipPictureName(QString::fromLatin1(name))) << name;
    for (const char* name : {"a.jpeg", "a.tif", "dir/", "png", "a.jpg.txt"})
        EXPECT_FALSE(IsZipPictureName(QString::fromLatin1(name))) << name;
}

// ---- Listing -------------------------------------------------------------

TEST_F(ZipArchiveTest, ListsOnlyPictureMembersInArchiveOrder)
{
    const QString zip = MakeArchive({
        {"b.JPG", "jpeg bytes", 0},
        {"readme.txt", "text"},
        {"dir/", "", 0},
        {"dir/c.png", TestPayload(5000)},
        {"x.jpeg", "no"},
        {"a.bmp", "bmp", 0},
    });
    EXPECT_EQ(Listed(zip), (QStringList {"b.JPG", "dir/c.png", "a.bmp"}));
    EXPECT_TRUE(MessageBoxService::Messages().isEmpty());
}

TEST_F(ZipArchiveTest, ListingGivesStatedSizeAndLocalDate)
{
    const QString zip = MakeArchive({{"p.gif", TestPayload(1234)}});
    std::vector<CZipMemberInfo> seen;
    EXPECT_EQ(ListZipPictures(zip,
                              [&](const CZipMemberInfo& m) {
                                  seen.push_back(m);
                                  return true;
                              }),
              1);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].size, 1234u);
    EXPECT_EQ(seen[0].method, 8);
    ASSERT_TRUE(seen[0].modified.IsSet());
    const CTime& t = seen[0].modified;
    EXPECT_EQ((QList<int> {t.GetYear(), t.GetMonth(), t.GetDay(), t.GetHour(), t.GetMinute(), t.GetSecond()}),
              (QList<int> {2021, 3, 4, 5, 6, 8}));
}

TEST_F(ZipArchiveTest, ListingStopsWhenTheCallerSaysSo)
{
    const QString zip = MakeArchive({{"1.jpg", "a"}, {"2.jpg", "b"}, {"3.jpg", "c"}});
    int calls = 0;
    EXPECT_EQ(ListZipPictures(zip, [&](const CZipMemberInfo&) { return ++calls < 2; }), 1);
    EXPECT_EQ(calls, 2);
}

TEST_F(ZipArchiveTest, ArchiveWithTheLongestCommentIsFound)
{
    ASSERT_TRUE(WriteTestFile(Host("pics/c.zip"), BuildTestZip({{"in.png", "x"}}, QByteArray(0xFFFF, 'c'))));
    EXPECT_EQ(Listed("\\pics\\c.zip"), QStringList {"in.png"});
    QByteArray bytes;
    EXPECT_EQ(FindZipMember("\\pics\\c.zip", "in.png", nullptr, &bytes), ZipFindResult::Found);
    EXPECT_EQ(bytes, "x");
    // An empty archive lists nothing and succeeds.
    ASSERT_TRUE(WriteTestFile(Host("pics/e.zip"), BuildTestZip({}, QByteArray(0xFFFF, 'e'))));
    EXPECT_EQ(ListZipPictures("\\pics\\e.zip", [](const CZipMemberInfo&) { return false; }), 1);
    EXPECT_TRUE(MessageBoxService::Messages().isEmpty());
}

TEST_F(ZipArchiveTest, ArchivesThatCannotBeOpenedAreReportedWhileListing)
{
    const QByteArray whole = BuildTestZip({{"a.jpg", TestPayload(3000)}});
    ASSERT_TRUE(WriteTestFile(Host("pics/cut.zip"), whole.left(whole.size() / 2)));
    ASSERT_TRUE(WriteTestFile(Host("pics/text.zip"), "this is not an archive"));
    const QString tooLong = QStringLiteral("\\") + QString(260, QLatin1Char('d')) + QStringLiteral(".zip");
    for (const QString& zip : {QStringLiteral("\\pics\\cut.zip"), QStringLiteral("\\pics\\text.zip"),
                               QStringLiteral("\\pics\\missing.zip"), QStringLiteral("\\pics"), tooLong}) {
        MessageBoxService::ClearMessages();
        EXPECT_EQ(ListZipPictures(zip, [](const CZipMemberInfo&) { return true; }), 0) << zip.toStdString();
        EXPECT_EQ(MessageBoxService::Messages(), QStringList {"Can't open ZIP file for thumbnail: " + zip});
    }
}

TEST_F(ZipArchiveTest, CodePage437AndUtf8NamesAreListedAndFoundAgain)
{
    const QString zip = MakeArchive({
        {"\x81"
         "ber.jpg",
         "cp437"},
        {"\xE4\xB8\x96\xE7\x95\x8C.png", "utf8", 8, 0x800},
        {"caf\xC3\xA9.gif", "utf8 without flag"},
    });
    const QStringList names = Listed(zip);
    EXPECT_EQ(names, (QStringList {Utf16("über.jpg"), Utf16("世界.png"), Utf16("café.gif")}));
    const QList<QByteArray> contents {"cp437", "utf8", "utf8 without flag"};
    for (int i = 0; i < names.size(); ++i) {
        QByteArray bytes;
        ASSERT_EQ(FindZipMember(zip, names[i].toUpper(), nullptr, &bytes), ZipFindResult::Found) << i;
        EXPECT_EQ(bytes, contents[i]);
    }
}

TEST_F(ZipArchiveTest, NamesLongerThan255BytesAreNeitherListedNorFound)
{
    const QByteArray longName = QByteArray(300, 'n') + ".jpg";
    const QByteArray cutName = longName.left(251) + ".jpg";  // what a cut name would look like
    const QString zip = MakeArchive({{longName, "long"}, {"ok.jpg", "fine"}});
    EXPECT_EQ(Listed(zip), QStringList {"ok.jpg"});
    CZipMemberInfo info;
    EXPECT_EQ(FindZipMember(zip, QString::fromLatin1(longName), &info, nullptr), ZipFindResult::NotFound);
    EXPECT_EQ(FindZipMember(zip, QString::fromLatin1(cutName), &info, nullptr), ZipFindResult::NotFound);
}

// ---- Finding and reading -------------------------------------------------

TEST_F(ZipArchiveTest, FindsTheFirstMemberOfTheNameIgnoringLetterCaseWithoutReadingForInformation)
{
    const QString zip = MakeArchive({{"other.png", "x"}, {"a.jpg", TestPayload(777)}, {"A.jpg", "second"}});
    CZipMemberInfo info;
    EXPECT_EQ(FindZipMember(zip, "A.JPG", &info, nullptr), ZipFindResult::Found);
    EXPECT_EQ(info.name, "a.jpg");
    EXPECT_EQ(info.size, 777u);
    EXPECT_EQ(FolderContents(Host("pics")), QStringList {"a.zip"});
    EXPECT_TRUE(FolderContents(Host("run")).isEmpty());
}

TEST_F(ZipArchiveTest, StoredAndDeflatedMembersAreReadExactlyWithoutWritingAFile)
{
    const QByteArray stored = TestPayload(4099, 7);
    const QByteArray deflated = TestPayload(100000, 9);
    const QString zip = MakeArchive({{"s.bmp", stored, 0}, {"d.jpg", deflated, 8}, {"empty.png", "", 0}});
    const QList<QPair<QString, QByteArray>> cases {{"s.bmp", stored}, {"d.jpg", deflated}, {"empty.png", ""}};
    for (const auto& [name, expected] : cases) {
        QByteArray bytes("left over");
        ASSERT_EQ(FindZipMember(zip, name, nullptr, &bytes), ZipFindResult::Found) << name.toStdString();
        EXPECT_EQ(bytes, expected);
    }
    EXPECT_EQ(FolderContents(Host("pics")), QStringList {"a.zip"});
    EXPECT_TRUE(FolderContents(Host("run")).isEmpty());
    EXPECT_TRUE(MessageBoxService::Messages().isEmpty());
}

TEST_F(ZipArchiveTest, MissingAndNonPictureMembersAreNotFoundQuietlyButAMissingArchiveIsReported)
{
    const QString zip = MakeArchive({{"notes.txt", "t"}, {"a.jpeg", "j"}});
    CZipMemberInfo info;
    info.size = 42;
    EXPECT_EQ(FindZipMember(zip, "gone.jpg", &info, nullptr), ZipFindResult::NotFound);
    EXPECT_EQ(FindZipMember(zip, "notes.txt", &info, nullptr), ZipFindResult::NotFound);
    EXPECT_EQ(FindZipMember(zip, "a.jpeg", &info, nullptr), ZipFindResult::NotFound);
    EXPECT_EQ(info.size, 42u);  // untouched: it would describe some other member
    EXPECT_TRUE(MessageBoxService::Messages().isEmpty());

    QByteArray bytes;
    EXPECT_EQ(FindZipMember("\\pics\\none.zip", "a.jpg", nullptr, &bytes), ZipFindResult::Failed);
    EXPECT_EQ(MessageBoxService::Messages(), QStringList {"Can't open ZIP file: \\pics\\none.zip"});
    EXPECT_TRUE(bytes.isEmpty());
}

TEST_F(ZipArchiveTest, EncryptedAndUnsupportedMembersAreRefusedAndReportedDuringTheWalk)
{
    TestZipMember encrypted {"secret.jpg", "scrambled", 0, 0x1};
    TestZipMember bzip2 {"packed.gif", "BZh91AY&SY", 12};
    TestZipMember lzma {"notes.txt", "lzma", 14};
    const QString zip = MakeArchive({encrypted, bzip2, lzma, {"wanted.png", "plain"}});

    QByteArray bytes;
    ASSERT_EQ(FindZipMember(zip, "wanted.png", nullptr, &bytes), ZipFindResult::Found);
    EXPECT_EQ(bytes, "plain");
    EXPECT_EQ(MessageBoxService::Messages(), (QStringList {"Can't open file: secret.jpg", "Can't open file: packed.gif",
                                                           "Can't open file: notes.txt"}));

    for (const char* refused : {"secret.jpg", "packed.gif"}) {
        QByteArray none;
        EXPECT_EQ(FindZipMember(zip, refused, nullptr, &none), ZipFindResult::NotFound);
        EXPECT_TRUE(none.isEmpty());
    }
}

TEST_F(ZipArchiveTest, ChecksumMismatchFailsTheRead)
{
    TestZipMember stored {"bad.jpg", TestPayload(3000), 0};
    stored.crc = 0x12345678;
    TestZipMember deflated {"bad.png", TestPayload(3000), 8};
    deflated.crc = 0x9ABCDEF0;
    const QString zip = MakeArchive({stored, deflated});
    for (const char* name : {"bad.jpg", "bad.png"}) {
        MessageBoxService::ClearMessages();
        QByteArray bytes;
        EXPECT_EQ(FindZipMember(zip, name, nullptr, &bytes), ZipFindResult::Failed);
        EXPECT_TRUE(bytes.isEmpty());
        EXPECT_EQ(MessageBoxService::Messages(), QStringList {QStringLiteral("Cannot load ") + name});
    }
}

TEST_F(ZipArchiveTest, DataThatStopsInflatingMidwayEndsTheRead)
{
    const QByteArray data = TestPayload(60000, 3);
    TestZipMember broken {"broken.jpg", data, 8};
    // A good first part, then a block of the reserved type 3.
    broken.compressed = RawDeflate(data, 40000) + QByteArray("\x06\x00\x00\x00", 4);
    const QString zip = MakeArchive({broken});

    CZipReader reader;
    CZipMemberInfo info;
    OpenFirstMember(reader, info);
    QByteArray bytes;
    EXPECT_EQ(reader.ReadCurrent(info, &bytes), ZipReadStatus::ReadError);
    EXPECT_TRUE(bytes.isEmpty());

    EXPECT_EQ(FindZipMember(zip, "broken.jpg", nullptr, &bytes), ZipFindResult::Failed);
    EXPECT_EQ(MessageBoxService::Messages(), QStringList {"Cannot load broken.jpg"});
}

TEST_F(ZipArchiveTest, StatedSizeOf4GiBIsReportedButNeverTrusted)
{
    const QByteArray data = TestPayload(20000, 5);
    TestZipMember deflated {"big.jpg", data, 8};
    deflated.statedSize = 0xFFFFFFFFu;
    TestZipMember stored {"big.bmp", data.left(999), 0};
    stored.statedSize = 0xFFFFFFFFu;
    const QString zip = MakeArchive({deflated, stored});
    for (const auto& [name, bytes] : {std::pair {"big.jpg", data}, std::pair {"big.bmp", data.left(999)}}) {
        CZipMemberInfo info;
        QByteArray read;
        ASSERT_EQ(FindZipMember(zip, name, &info, &read), ZipFindResult::Found) << name;
        EXPECT_EQ(info.size, 4294967295u);
        EXPECT_EQ(read, bytes);
    }
}

TEST_F(ZipArchiveTest, MemberLargerThanTheCapIsRefused)
{
    const QByteArray data(300000, 'z');
    MakeArchive({{"huge.jpg", data, 8}});
    CZipReader reader;
    CZipMemberInfo info;
    OpenFirstMember(reader, info);
    QByteArray bytes;
    EXPECT_EQ(reader.ReadCurrent(info, &bytes, 100000), ZipReadStatus::TooLarge);
    EXPECT_TRUE(bytes.isEmpty());
    ASSERT_TRUE(reader.OpenCurrent(info));
    EXPECT_EQ(reader.ReadCurrent(info, &bytes, 300000), ZipReadStatus::Ok);
    EXPECT_EQ(bytes, data);
}

TEST_F(ZipArchiveTest, HostileNamesAreListedAndReadWithoutWritingAnything)
{
    const QList<QByteArray> names {"../up.jpg",        "/abs/root.jpg", "a\\b.jpg",
                                   "..\\..\\back.png", "dir/x.jpg",     "dir/../../../../escape.gif"};
    std::vector<TestZipMember> members;
    for (int i = 0; i < names.size(); ++i)
        members.push_back({names[i], "member " + QByteArray::number(i)});
    const QString zip = MakeArchive(members);
    const QStringList rootBefore = FolderContents(m_root.path());

    QStringList expectedNames;
    for (const QByteArray& n : names)
        expectedNames.append(QString::fromLatin1(n));
    EXPECT_EQ(Listed(zip), expectedNames);
    for (int i = 0; i < names.size(); ++i) {
        QByteArray bytes;
        ASSERT_EQ(FindZipMember(zip, expectedNames[i], nullptr, &bytes), ZipFindResult::Found) << names[i].data();
        EXPECT_EQ(bytes, "member " + QByteArray::number(i));
    }
    EXPECT_EQ(FolderContents(m_root.path()), rootBefore);
    EXPECT_EQ(FolderContents(Host("pics")), QStringList {"a.zip"});
}

// ---- Direct access from the listing ----------------------------------------

TEST_F(ZipArchiveTest, ListedPositionReachesTheMemberWithoutTouchingTheOthers)
{
    TestZipMember encrypted {"secret.jpg", "scrambled", 0, 0x1};
    const QString zip = MakeArchive({encrypted, {"a.png", "first"}, {"b.gif", "second"}, {"A.PNG", "again"}});
    std::vector<CZipMemberInfo> listed;
    ListZipPictures(zip, [&](const CZipMemberInfo& m) {
        listed.push_back(m);
        return true;
    });
    ASSERT_EQ(listed.size(), 4u);
    // A name met again stands for the first member of that name.
    EXPECT_EQ(listed[3].name, "A.PNG");
    EXPECT_EQ(listed[3].position.index, listed[1].position.index);
    const QList<QByteArray> expected {"first", "second", "first"};
    for (int i = 1; i < 4; ++i) {
        QByteArray bytes;
        ASSERT_EQ(FindZipMember(zip, listed[i].name, nullptr, &bytes, listed[i].position), ZipFindResult::Found);
        EXPECT_EQ(bytes, expected[i - 1]);
    }
    // The walk would have opened the encrypted member on the way to each.
    EXPECT_TRUE(MessageBoxService::Messages().isEmpty());
    EXPECT_EQ(FindZipMember(zip, "secret.jpg", nullptr, nullptr, listed[0].position), ZipFindResult::NotFound);
    EXPECT_EQ(MessageBoxService::Messages(), QStringList {"Can't open file: secret.jpg"});

    // A position that no longer holds the member (the archive was rewritten) falls back to the walk.
    MakeArchive({{"new.png", "other"}, {"pad.bmp", "x"}, {"b.gif", "moved"}});
    QByteArray bytes;
    ASSERT_EQ(FindZipMember(zip, "b.gif", nullptr, &bytes, listed[1].position), ZipFindResult::Found);
    EXPECT_EQ(bytes, "moved");
}

}  // namespace
