// ZIP access: name decoding, listing, finding members again (directly from a
// listed position or by the walk), and the checked read into memory, on
// archives the tests build themselves.
#include "catalog_fixture.h"
#include "image/zip_archive.h"
#include "image/zip_name.h"
#include "res/file_types.h"

#include <cstring>
#include <ostream>

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

class ZipArchiveTest : public catalog_fixture::CatalogFixture {
protected:
    // Writes the archive as \pics\<name> and returns its device path.
    QString MakeArchive(const std::vector<TestZipMember>& members, const QString& name = u"a.zip"_s,
                        const QByteArray& comment = QByteArray())
    {
        WriteBytes(u"\\pics\\"_s + name, BuildTestZip(members, comment));
        return u"\\pics\\"_s + name;
    }
};

TEST(ZipNameTest, ValidUtf8IsReadAsUtf8AndAnythingElseAsCodePage437)
{
    // The listing decodes names of both kinds; here, the rest of code page 437.
    EXPECT_EQ(DecodeZipName("\x80\x9E\xB0\xFF", 4), QString::fromUtf8("Ç₧░\u00A0"));
    // Overlong "/", a surrogate, above U+10FFFF, cut short, a stray continuation.
    for (const char* bad : {"\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xE2\x82", "\x80"})
        EXPECT_FALSE(IsValidUtf8(bad, strlen(bad))) << bad;
    EXPECT_TRUE(IsValidUtf8("\xC3\xA9", 2) && IsValidUtf8("\xF4\x8F\xBF\xBF", 4));
}

// Only picture members, in archive order, with their stated size and local
// date; names in code page 437 or UTF-8 (flagged or not) are found again in
// any case; names longer than 255 bytes are neither listed nor found; the
// listing stops when the caller says so.
TEST_F(ZipArchiveTest, ListsPictureMembersThatAreFoundAgainByName)
{
    const QByteArray longName = QByteArray(300, 'n') + ".jpg";
    const QString zip = MakeArchive({
        {"b.JPG", "jpeg bytes", 0},
        {"readme.txt", "text"},
        {"dir/", "", 0},
        {"dir/c.png", TestPayload(5000)},
        {"x.jpeg", "no"},
        {"\x81\142er.jpg", "cp437"},
        {"\xE4\xB8\x96\xE7\x95\x8C.png", "utf8", 8, 0x800},
        {"caf\xC3\xA9.gif", "utf8 without flag"},
    });
    const std::vector<CZipMemberInfo> listed = Listed(zip);
    QStringList names;
    for (const CZipMemberInfo& m : listed)
        names.append(m.name);
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
    // The longest comment hides no archive; an empty one lists nothing.
    const QString withLong = MakeArchive({{longName, "long"}, {"ok.jpg", "fine"}}, "l.zip", QByteArray(0xFFFF, 'c'));
    const std::vector<CZipMemberInfo> onlyOk = Listed(withLong);
    ASSERT_EQ(onlyOk.size(), 1u);
    EXPECT_EQ(onlyOk[0].name, "ok.jpg");
    CZipMemberInfo info;
    for (const QByteArray& name : {longName, longName.left(251) + ".jpg"})  // a cut name too
        EXPECT_EQ(FindZipMember(withLong, QString::fromLatin1(name), &info, nullptr), ZipFindResult::NotFound);

    int calls = 0;  // the listing stops when the caller says so
    EXPECT_EQ(ListZipPictures(zip, [&](const CZipMemberInfo&) { return ++calls < 2; }), 1);
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(
        ListZipPictures(MakeArchive({}, "e.zip", QByteArray(0xFFFF, 'e')), [](const CZipMemberInfo&) { return false; }),
        1);
    EXPECT_EQ(MessageBoxService::Messages(), QStringList {"Cannot load " + QString::fromLatin1(longName)});
}

TEST_F(ZipArchiveTest, ArchivesThatCannotBeOpenedAreReported)
{
    const QByteArray whole = BuildTestZip({{"a.jpg", TestPayload(3000)}});
    WriteBytes(u"\\pics\\cut.zip"_s, whole.left(whole.size() / 2));
    WriteBytes(u"\\pics\\text.zip"_s, "this is not an archive");
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
    const auto all = QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;
    const QDir runtime(QFile::decodeName(qgetenv("XDG_RUNTIME_DIR")));
    const QStringList runtimeBefore = runtime.entryList(all);
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
    // Nothing but the archive in its folder and nothing new in the runtime folder.
    EXPECT_EQ(QDir(Host(u"\\pics"_s)).entryList(all), QStringList {"a.zip"});
    EXPECT_EQ(runtime.entryList(all), runtimeBefore);
}

// Encrypted and unsupported members are refused and reported during a walk,
// which a listed position skips: it reaches its member without touching others.
TEST_F(ZipArchiveTest, ListedPositionReachesTheMemberWithoutTheWalkThatReportsRefusedMembers)
{
    TestZipMember encrypted {"secret.jpg", "scrambled", 0, 0x1}, bzip2 {"packed.gif", "BZh91AY&SY", 12};
    const QString zip = MakeArchive({encrypted,
                                     {"a.png", "first"},
                                     {"b.gif", "second"},
                                     {"A.PNG", "again"},
                                     bzip2,
                                     {"notes.txt", "lzma", 14},
                                     {"wanted.png", "plain"}});
    const std::vector<CZipMemberInfo> listed = Listed(zip);
    ASSERT_EQ(listed.size(), 6u);
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
    // A position that no longer holds the member (the archive was rewritten) falls back to the walk.
    MakeArchive({{"new.png", "other"}, {"pad.bmp", "x"}, {"b.gif", "moved"}});
    ASSERT_EQ(FindZipMember(zip, "b.gif", nullptr, &bytes, listed[1].position), ZipFindResult::Found);
    EXPECT_EQ(bytes, "moved");
}

}  // namespace
