// ZIP access: name decoding, listing, finding members again (directly from a
// listed position or by the walk), and the checked read into memory, on
// archives the tests build themselves.
#include "image/zip_archive.h"
#include "image/zip_name.h"
#include "platform/device_path.h"
#include "platform/message_box.h"
#include "res/file_types.h"
#include "tests/core/test_pictures.h"

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

std::vector<CZipMemberInfo> Listed(const QString& archive)
{
    std::vector<CZipMemberInfo> members;
    ListZipPictures(archive, [&](const CZipMemberInfo& m) {
        members.push_back(m);
        return true;
    });
    return members;
}

QStringList Names(const QString& archive)
{
    QStringList names;
    for (const CZipMemberInfo& m : Listed(archive))
        names.append(m.name);
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
    QString MakeArchive(const std::vector<TestZipMember>& members, const QString& name = QStringLiteral("a.zip"),
                        const QByteArray& comment = QByteArray())
    {
        EXPECT_TRUE(WriteTestFile(Host(QStringLiteral("pics/") + name), BuildTestZip(members, comment)));
        return QStringLiteral("\\pics\\") + name;
    }
    // Nothing but the archive in its folder and nothing in the runtime folder.
    void ExpectNoFileWritten()
    {
        EXPECT_EQ(FolderContents(Host("pics")), QStringList {"a.zip"});
        EXPECT_TRUE(FolderContents(Host("run")).isEmpty());
    }

    QTemporaryDir m_root;
    QByteArray m_savedRuntime;
};

// ---- Name decoding -------------------------------------------------------

TEST(ZipNameTest, ValidUtf8IsReadAsUtf8AndAnythingElseAsCodePage437)
{
    const std::pair<QByteArray, const char*> names[] = {
        {"\xE4\xB8\x96\xE7\x95\x8C.png", "世界.png"},
        {"\x81"
         "ber\xE1.jpg",
         "überß.jpg"},
        {"\x80\x9E\xB0\xFF", "Ç₧░\u00A0"},
    };
    for (const auto& [bytes, text] : names)
        EXPECT_EQ(DecodeZipName(bytes.constData(), bytes.size()), QString::fromUtf8(text));
    const std::pair<const char*, bool> utf8[] = {
        {"\xC0\xAF", false},          // overlong "/"
        {"\xED\xA0\x80", false},      // surrogate
        {"\xF4\x90\x80\x80", false},  // above U+10FFFF
        {"\xE2\x82", false},          // cut short
        {"\x80", false},              // stray continuation
        {"\xC3\xA9", true},
        {"\xF4\x8F\xBF\xBF", true},
    };
    for (const auto& [s, valid] : utf8)
        EXPECT_EQ(IsValidUtf8(s, strlen(s)), valid) << s;
}

// ---- Listing -------------------------------------------------------------

// Only picture members, in archive order, with their stated size and local
// date; names in code page 437 or UTF-8 (flagged or not) are found again in
// any case; names longer than 255 bytes are neither listed nor found.
TEST_F(ZipArchiveTest, ListsPictureMembersThatAreFoundAgainByName)
{
    const QByteArray longName = QByteArray(300, 'n') + ".jpg";
    const QString zip = MakeArchive({
        {"b.JPG", "jpeg bytes", 0},
        {"readme.txt", "text"},
        {"dir/", "", 0},
        {"dir/c.png", TestPayload(5000)},
        {"x.jpeg", "no"},
        {"\x81"
         "ber.jpg",
         "cp437"},
        {"\xE4\xB8\x96\xE7\x95\x8C.png", "utf8", 8, 0x800},
        {"caf\xC3\xA9.gif", "utf8 without flag"},
    });
    const std::vector<CZipMemberInfo> listed = Listed(zip);
    const QStringList names = Names(zip);
    EXPECT_EQ(names, (QStringList {"b.JPG", "dir/c.png", QString::fromUtf8("über.jpg"), QString::fromUtf8("世界.png"),
                                   QString::fromUtf8("café.gif")}));
    ASSERT_EQ(listed.size(), 5u);
    EXPECT_EQ(std::pair(uint64_t(listed[1].size), int(listed[1].method)), std::pair(uint64_t(5000), 8));
    const CTime& t = listed[1].modified;
    EXPECT_EQ((QList<int> {t.GetYear(), t.GetMonth(), t.GetDay(), t.GetHour(), t.GetMinute(), t.GetSecond()}),
              (QList<int> {2021, 3, 4, 5, 6, 8}));
    const QList<QByteArray> contents {"jpeg bytes", TestPayload(5000), "cp437", "utf8", "utf8 without flag"};
    for (int i = 0; i < names.size(); ++i) {
        QByteArray bytes;
        ASSERT_EQ(FindZipMember(zip, names[i].toUpper(), nullptr, &bytes), ZipFindResult::Found) << i;
        EXPECT_EQ(bytes, contents[i]);
    }
    EXPECT_TRUE(MessageBoxService::Messages().isEmpty());
    const QString withLong = MakeArchive({{longName, "long"}, {"ok.jpg", "fine"}}, "l.zip");
    EXPECT_EQ(Names(withLong), QStringList {"ok.jpg"});
    CZipMemberInfo info;
    for (const QByteArray& name : {longName, longName.left(251) + ".jpg"})  // a cut name too
        EXPECT_EQ(FindZipMember(withLong, QString::fromLatin1(name), &info, nullptr), ZipFindResult::NotFound);

    int calls = 0;  // the listing stops when the caller says so
    EXPECT_EQ(ListZipPictures(zip, [&](const CZipMemberInfo&) { return ++calls < 2; }), 1);
    EXPECT_EQ(calls, 2);
}

TEST_F(ZipArchiveTest, ArchiveWithTheLongestCommentIsFoundAndAnEmptyOneListsNothing)
{
    const QString zip = MakeArchive({{"in.png", "x"}}, "c.zip", QByteArray(0xFFFF, 'c'));
    EXPECT_EQ(Names(zip), QStringList {"in.png"});
    QByteArray bytes;
    EXPECT_EQ(FindZipMember(zip, "in.png", nullptr, &bytes), ZipFindResult::Found);
    EXPECT_EQ(bytes, "x");
    EXPECT_EQ(
        ListZipPictures(MakeArchive({}, "e.zip", QByteArray(0xFFFF, 'e')), [](const CZipMemberInfo&) { return false; }),
        1);
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
    QByteArray bytes;
    EXPECT_EQ(FindZipMember("\\pics\\none.zip", "a.jpg", nullptr, &bytes), ZipFindResult::Failed);
    EXPECT_EQ(MessageBoxService::Messages().last(), "Can't open ZIP file: \\pics\\none.zip");
    EXPECT_TRUE(bytes.isEmpty());
}

// ---- Finding and reading -------------------------------------------------

// Each member read exactly or refused, with its message, and never a byte
// written to a file: stored and deflated data, the first of two names equal
// but for case, sizes stated as 4 GiB (reported, never trusted), checksum
// mismatches, data that stops inflating midway, absent and non-picture
// members (quietly not found, the information left untouched).
TEST_F(ZipArchiveTest, MembersAreReadExactlyOrRefusedWithoutWritingAFile)
{
    const QByteArray stored = TestPayload(4099, 7), deflated = TestPayload(100000, 9), data = TestPayload(60000, 3);
    TestZipMember badStored {"bad.jpg", TestPayload(3000), 0}, badDeflated {"bad.png", TestPayload(3000), 8};
    badStored.crc = 0x12345678;
    badDeflated.crc = 0x9ABCDEF0;
    TestZipMember broken {"broken.jpg", data, 8};
    // A good first part, then a block of the reserved type 3.
    broken.compressed = RawDeflate(data, 40000) + QByteArray("\x06\x00\x00\x00", 4);
    TestZipMember big {"big.jpg", data, 8}, bigStored {"big.bmp", data.left(999), 0};
    big.statedSize = bigStored.statedSize = 0xFFFFFFFFu;
    const QString zip = MakeArchive({{"s.bmp", stored, 0},
                                     {"d.jpg", deflated, 8},
                                     {"empty.png", "", 0},
                                     {"A.gif", "first"},
                                     {"a.gif", "second"},
                                     big,
                                     bigStored,
                                     badStored,
                                     badDeflated,
                                     broken,
                                     {"notes.txt", "t"},
                                     {"a.jpeg", "j"}});
    const struct {
        const char* name;
        ZipFindResult result;
        QByteArray bytes;
        uint32_t size;
    } cases[] = {
        {"s.bmp", ZipFindResult::Found, stored, 4099},
        {"D.JPG", ZipFindResult::Found, deflated, 100000},
        {"empty.png", ZipFindResult::Found, "", 0},
        {"a.GIF", ZipFindResult::Found, "first", 5},
        {"big.jpg", ZipFindResult::Found, data, 0xFFFFFFFFu},
        {"big.bmp", ZipFindResult::Found, data.left(999), 0xFFFFFFFFu},
        {"bad.jpg", ZipFindResult::Failed, "", 3000},
        {"bad.png", ZipFindResult::Failed, "", 3000},
        {"broken.jpg", ZipFindResult::Failed, "", 60000},
        {"gone.jpg", ZipFindResult::NotFound, "", 42},
        {"notes.txt", ZipFindResult::NotFound, "", 42},
        {"a.jpeg", ZipFindResult::NotFound, "", 42},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MessageBoxService::ClearMessages();
        CZipMemberInfo info;
        info.size = 42;
        QByteArray bytes(c.result == ZipFindResult::Found ? "left over" : "");
        EXPECT_EQ(FindZipMember(zip, c.name, &info, &bytes), c.result);
        EXPECT_EQ(bytes, c.bytes);
        EXPECT_EQ(info.size, c.size);
        EXPECT_EQ(MessageBoxService::Messages(), c.result == ZipFindResult::Failed
                                                     ? QStringList {QStringLiteral("Cannot load ") + c.name}
                                                     : QStringList {});
    }
    ExpectNoFileWritten();
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

// ---- Direct access from the listing ----------------------------------------

TEST_F(ZipArchiveTest, ListedPositionReachesTheMemberWithoutTouchingTheOthers)
{
    TestZipMember encrypted {"secret.jpg", "scrambled", 0, 0x1};
    const QString zip = MakeArchive({encrypted, {"a.png", "first"}, {"b.gif", "second"}, {"A.PNG", "again"}});
    const std::vector<CZipMemberInfo> listed = Listed(zip);
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
