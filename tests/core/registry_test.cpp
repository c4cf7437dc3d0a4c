// The registry stand-in: its text form, the shared file, and several
// processes writing it at once or being killed while they write.
#include "platform/registry_data.h"
#include "platform/registry_store.h"
#include "tests/core/test_pictures.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <atomic>
#include <csignal>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <random>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

const QString kKey = u"HKEY_CURRENT_USER\\Software\\FARHAVEN\\lumo_test\\Setting"_s;

QByteArray ReadBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

CRegistryData Parse(const QByteArray& text, bool strict = true)
{
    CRegistryData data;
    QStringList problems;
    EXPECT_EQ(CRegistryData::FromText(text, &data, &problems), strict) << problems.join(u';').toStdString();
    return data;
}

class RegistryStoreTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_file = m_dir.filePath(u"registry.reg"_s);
        CRegistryStore::Instance().SetFile(m_file);
    }
    void TearDown() override { CRegistryStore::Instance().SetFile(m_dir.filePath(u"unused.reg"_s)); }
    CRegistryStore& Store() { return CRegistryStore::Instance(); }
    CRegistryData OnDisk() { return Parse(ReadBytes(m_file)); }

    QTemporaryDir m_dir;
    QString m_file;
};

}  // namespace

TEST(RegistryTextTest, WritesTheRegeditFourFormReadsAHandEditedFileAndSkipsAndReportsUnreadableLines)
{
    CRegistryData data;
    data.Set(u"HKEY_CLASSES_ROOT\\bmpimage\\Shell\\Open\\Command"_s, u"Default"_s, RegValue::ExpandString(u"A"_s));
    data.Set(kKey, u"ThumbnailView Mode"_s, RegValue::Dword(1));
    data.Set(kKey, u"CurrPath"_s, RegValue::String(u"\\My \"Documents\""_s));
    EXPECT_EQ(data.ToText().toStdString(), "REGEDIT4\n\n"
                                           "[HKEY_CLASSES_ROOT\\bmpimage\\Shell\\Open\\Command]\n"
                                           "\"Default\"=hex(2):41,00,00,00\n\n"
                                           "[HKEY_CURRENT_USER\\Software\\FARHAVEN\\lumo_test\\Setting]\n"
                                           "\"CurrPath\"=\"\\\\My \\\"Documents\\\"\"\n"
                                           "\"ThumbnailView Mode\"=dword:00000001\n");
    data.Set(kKey, u"Quoted \"name\""_s, RegValue::String(u"C:\\path \"with\" quotes"_s));
    data.Set(kKey, u"Unicode"_s, RegValue::String(u"Bilder ä 😀"_s));
    data.Set(kKey, u"Odd"_s, RegValue::Raw(7, QByteArray("a\0b\0\0\0\0\0", 8)));
    data.CreateKey(u"HKEY_LOCAL_MACHINE\\Empty"_s);  // the seeds' fuzz replay writes back more kinds
    EXPECT_TRUE(Parse(data.ToText()) == data);
    // Keys and names ignore letter case; names that cannot be written are refused.
    CRegistryData cased;
    EXPECT_FALSE(cased.Set(kKey, u"two\nlines"_s, RegValue::Dword(1)));
    EXPECT_FALSE(cased.Set(kKey, QString(QChar(0xd800)), RegValue::Dword(1)));
    EXPECT_TRUE(cased.IsEmpty());
    cased.Set(u"HKEY_CURRENT_USER\\Software\\Lumo"_s, u"ThumbnailView Mode"_s, RegValue::Dword(2));
    cased.Set(u"hkey_current_user\\software\\LUMO"_s, u"thumbnailview mode"_s, RegValue::Dword(0));
    EXPECT_EQ(cased.Keys(), QStringList {u"HKEY_CURRENT_USER\\Software\\Lumo"_s});
    EXPECT_EQ(cased.ValueNames(u"HKEY_CURRENT_USER\\Software\\Lumo"_s), QStringList {u"ThumbnailView Mode"_s});
    EXPECT_EQ(cased.Find(u"HKEY_CURRENT_USER\\SOFTWARE\\lumo"_s, u"THUMBNAILVIEW MODE"_s)->ToDword(), 0u);
    // A hand-edited file reads; lines it cannot read are skipped and reported.
    const CRegistryData edited = Parse("\xEF\xBB\xBF; settings kept by hand\r\n\r\nREGEDIT4\r\n\r\n"
                                       "[\\HKEY_CURRENT_USER\\Software\\FARHAVEN\\lumo_test\\Setting\\]\r\n"
                                       "   \"Quick View\" = dword:0000000A\r\n\"FileOpen Filter\"=\"*.jpg\"\r\n\r\n"
                                       "[HKEY_CLASSES_ROOT\\pngimage]\n\"Default\"=hex(2):78,00,\\\n  64,00,00,00\n");
    EXPECT_EQ(edited.Find(kKey, u"Quick View"_s)->ToDword(), 10u);
    EXPECT_EQ(edited.Find(kKey, u"FileOpen Filter"_s)->ToText(), u"*.jpg"_s);
    EXPECT_EQ(edited.Find(u"HKEY_CLASSES_ROOT\\pngimage"_s, u"Default"_s)->ToText(), u"xd"_s);
    CRegistryData bad;
    QStringList problems;
    EXPECT_FALSE(CRegistryData::FromText("REGEDIT4\n\"Orphan\"=dword:00000001\n[HKEY_CURRENT_USER\\K]\n"
                                         "\"TooLong\"=dword:000000001\n\"NotHex\"=dword:xyz\n\"Open\"=\"no end\n"
                                         "\"Escape\"=\"bad \\n escape\"\n\"Trailing\"=\"text\" junk\n"
                                         "\"Bytes\"=hex:1,2g\n\"Cut\"=hex:01,\\\n\"Good\"=dword:00000002\n",
                                         &bad, &problems));
    EXPECT_EQ(problems.size(), 8) << problems.join(u';').toStdString();
    // The continued hex line swallowed the next line, so "Good" is gone with it.
    EXPECT_EQ(bad.ValueNames(u"HKEY_CURRENT_USER\\K"_s), QStringList());
    EXPECT_EQ(Parse("[HKEY_X]\n\"A\"=dword:1\n", false).Find(u"HKEY_X"_s, u"A"_s)->ToDword(), 1u);
}

TEST_F(RegistryStoreTest, ReadsSeeChangesMadeElsewhereAndValuesOfAnotherTypeReadAsTheDefault)
{
    ASSERT_TRUE(Store().WriteDword(kKey, u"Interval"_s, 3));
    EXPECT_EQ(Store().ReadDword(kKey, u"Interval"_s, 0), 3u);
    // Rewritten in place with the same size: only the time tells.
    ASSERT_TRUE(WriteTestFile(m_file, ReadBytes(m_file).replace("dword:00000003", "dword:00000005")));
    struct timespec times[2] = {{0, UTIME_OMIT}, {1000000000, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(m_file).constData(), times, 0), 0);
    EXPECT_EQ(Store().ReadDword(kKey, u"Interval"_s, 0), 5u);
    // Deleted: a fresh device again.
    QFile::remove(m_file);
    EXPECT_EQ(Store().ReadDword(kKey, u"Interval"_s, 7), 7u);
    EXPECT_TRUE(QFile::exists(m_file));
    // Keys are created, listed and deleted; a value of another type reads as the default.
    const QString key = u"HKEY_CLASSES_ROOT\\tiffimage\\Shell\\Open\\Command"_s;
    EXPECT_FALSE(Store().KeyExists(key));
    ASSERT_TRUE(Store().CreateKey(key));
    EXPECT_TRUE(Store().KeyExists(key));
    ASSERT_TRUE(Store().Write(key, u"Expand"_s, RegValue::ExpandString(u"%1"_s)));
    ASSERT_TRUE(Store().WriteString(key, u"Text"_s, u"12"_s));
    ASSERT_TRUE(Store().WriteDword(key, u"Number"_s, 12));
    ASSERT_TRUE(Store().Write(key, u"ShortDword"_s, RegValue::Raw(kRegDword, QByteArray(2, '\1'))));
    EXPECT_EQ(Store().ReadDword(key, u"Text"_s, 99), 99u);
    EXPECT_EQ(Store().ReadString(key, u"Number"_s, u"d"_s), u"d"_s);
    EXPECT_EQ(Store().ReadString(key, u"Expand"_s, u"d"_s), u"%1"_s);
    EXPECT_EQ(Store().ReadDword(key, u"ShortDword"_s, 99), 99u);
    EXPECT_TRUE(Store().DeleteValue(key, u"Expand"_s));
    EXPECT_FALSE(Store().DeleteValue(key, u"Expand"_s));
    EXPECT_EQ(OnDisk().ValueNames(key), (QStringList {u"Number"_s, u"ShortDword"_s, u"Text"_s}));
}

TEST_F(RegistryStoreTest, ProcessesThenThreadsWritingAtOnceLoseNoValue)
{
    constexpr int kProcesses = 4, kThreads = 3, kWrites = 12;
    // Each writer stores values named after it and reads each back.
    auto writeAll = [&](const QString& writer) {
        bool ok = true;
        for (uint32_t i = 0; i < kWrites; ++i) {
            const QString name = writer + QString::number(i);
            ok &= Store().WriteDword(kKey, name, i) && Store().ReadDword(kKey, name, 999) == i;
        }
        return ok;
    };
    std::vector<pid_t> children;
    for (int p = 0; p < kProcesses; ++p) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0)
            ::_exit(writeAll(u"P%1 "_s.arg(p)) ? 0 : 1);
        children.push_back(child);
    }
    // The processes finish before the threads start: seven writers at once
    // could wait past the lock's time limit on a loaded machine.
    for (pid_t child : children) {
        int status = 0;
        EXPECT_TRUE(::waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    std::atomic<int> failed = 0;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&, t] { failed += !writeAll(u"T%1 "_s.arg(t)); });
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(failed, 0);
    const CRegistryData onDisk = OnDisk();
    const QStringList names = onDisk.ValueNames(kKey);
    EXPECT_EQ(names.size(), (kProcesses + kThreads) * kWrites);
    for (const QString& name : names)
        EXPECT_EQ(onDisk.Find(kKey, name)->ToDword(), name.section(u' ', 1).toUInt()) << name.toStdString();
}

TEST_F(RegistryStoreTest, KilledWriterLeavesAWholeFileAndNoLockAndALiveHolderFailsTheWriteAfterAShortWait)
{
    // Each write stores a counter and a long text derived from it: a torn file
    // would fail to parse or hold a text that does not match its counter.
    auto payload = [](uint32_t n) { return u"%1;"_s.arg(n).repeated(400); };
    ASSERT_TRUE(Store().WriteString(kKey, u"Payload"_s, payload(0)));
    std::mt19937 random(12345);
    uint32_t lastSeen = 0;
    for (int round = 0; round < 12; ++round) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (uint32_t n = lastSeen + 1;; ++n)
                Store().Write(kKey, u"Pair"_s, RegValue::String(QString::number(n) + u'|' + payload(n)));
        }
        // Let one write of this writer land, then kill it at a random moment of a later one.
        auto counter = [&] { return Store().ReadString(kKey, u"Pair"_s, {}).section(u'|', 0, 0).toUInt(); };
        for (int wait = 0; wait < 2000 && counter() <= lastSeen; ++wait)
            ::usleep(1000);
        ::usleep(random() % 20000);
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);

        const CRegistryData onDisk = OnDisk();
        if (const RegValue* pair = onDisk.Find(kKey, u"Pair"_s)) {
            const uint32_t n = pair->ToText().section(u'|', 0, 0).toUInt();
            EXPECT_EQ(pair->ToText().section(u'|', 1), payload(n));
            EXPECT_GE(n, lastSeen);
            lastSeen = n;
        }
        ASSERT_NE(onDisk.Find(kKey, u"Payload"_s), nullptr) << "a value the writer did not change was lost";
        EXPECT_EQ(onDisk.Find(kKey, u"Payload"_s)->ToText(), payload(0));
        const int lockFd = ::open(QFile::encodeName(m_file + u".lock"_s).constData(), O_RDWR | O_CLOEXEC);
        ASSERT_GE(lockFd, 0);
        EXPECT_EQ(::flock(lockFd, LOCK_EX | LOCK_NB), 0) << "the killed writer's lock is still held";
        ::close(lockFd);
    }
    EXPECT_GT(lastSeen, 0u) << "no write finished before a kill";
    // A lock held by a live process fails the write after a short wait.
    ASSERT_TRUE(Store().WriteDword(kKey, u"V"_s, 1));
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t holder = ::fork();
    ASSERT_GE(holder, 0);
    if (holder == 0) {
        ::flock(::open(QFile::encodeName(m_file + ".lock").constData(), O_RDWR), LOCK_EX);
        (void)!::write(ready[1], "x", 1);
        ::sleep(20);
        ::_exit(0);
    }
    char c;
    ASSERT_EQ(::read(ready[0], &c, 1), 1);
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(Store().WriteDword(kKey, u"V"_s, 2));
    EXPECT_LT(clock.elapsed(), 5 * CRegistryStore::kLockWaitMs);
    ::kill(holder, SIGKILL);
    ::waitpid(holder, nullptr, 0);
    EXPECT_EQ(Store().ReadDword(kKey, u"V"_s, 0), 1u);
    EXPECT_TRUE(Store().WriteDword(kKey, u"V"_s, 3));
}

// A missing file is a fresh device, a file that is not registry text is kept
// aside for one, and where nothing can be written the defaults still read.
TEST_F(RegistryStoreTest, AMissingDamagedOrUnwritableFileLeavesAFreshDeviceAndWritesReplaceTheFileSafely)
{
    char host[256] = {};
    ::gethostname(host, sizeof host - 1);
    EXPECT_EQ(Store().ReadString(u"HKEY_LOCAL_MACHINE\\Ident"_s, u"Name"_s, {}), QString::fromLocal8Bit(host));
    EXPECT_TRUE(OnDisk() == CRegistryStore::FreshDevice());
    QByteArray noise(4096, '\0');
    std::mt19937 random(7);
    for (char& b : noise)
        b = char(random());
    ASSERT_TRUE(WriteTestFile(m_file, noise.replace("REGEDIT4", "xxxxxxxx")));
    EXPECT_EQ(Store().ReadDword(kKey, u"V"_s, 5), 5u);
    EXPECT_EQ(ReadBytes(m_file + u".damaged-1"_s), noise);
    ASSERT_TRUE(Store().WriteDword(kKey, u"V"_s, 9));
    EXPECT_EQ(OnDisk().Find(kKey, u"V"_s)->ToDword(), 9u);
    // A regular file in place of the folder stops root as well as anyone.
    Store().SetFile(m_dir.filePath(u"registry.reg/registry.reg"_s));
    EXPECT_FALSE(Store().WriteDword(kKey, u"Quick View"_s, 0));
    EXPECT_EQ(Store().ReadDword(kKey, u"Quick View"_s, 1), 1u);
    EXPECT_EQ(Store().ReadString(QLatin1String(CRegistryStore::kPictureTypeKeys[2]), u"Default"_s, {}),
              QLatin1String(CRegistryStore::kSystemViewerCommand));
    // A write replaces the file at once, never through a prepared temporary name
    // (another user's file or a planted link), and sweeps what killed writers left.
    Store().SetFile(m_file);
    ASSERT_TRUE(Store().WriteDword(kKey, u"Quick View"_s, 0));
    struct stat before {
    }, after {};
    ASSERT_EQ(::stat(QFile::encodeName(m_file).constData(), &before), 0);
    const QString victim = m_dir.filePath(u"victim"_s);
    ASSERT_TRUE(WriteTestFile(victim, "keep me"));
    ASSERT_EQ(::symlink(QFile::encodeName(victim).constData(), QFile::encodeName(m_file + ".tmp").constData()), 0);
    const QString leftover = m_file + u".k1lled.tmp"_s;
    ASSERT_TRUE(WriteTestFile(leftover, "half a registry"));
    ASSERT_TRUE(Store().WriteString(kKey, u"CurrPath"_s, u"\\My Documents\\Trip"_s));
    ASSERT_EQ(::stat(QFile::encodeName(m_file).constData(), &after), 0);
    EXPECT_NE(before.st_ino, after.st_ino) << "a write must replace the file, not rewrite it in place";
    EXPECT_TRUE(ReadBytes(m_file).contains("\"CurrPath\"=\"\\\\My Documents\\\\Trip\""));
    EXPECT_EQ(ReadBytes(victim), QByteArray("keep me"));
    EXPECT_FALSE(QFileInfo::exists(leftover));
    ASSERT_EQ(::stat(QFile::encodeName(m_file + ".lock").constData(), &after), 0);
    EXPECT_EQ(after.st_mode & 077, 0u) << "the lock file is private";
}
