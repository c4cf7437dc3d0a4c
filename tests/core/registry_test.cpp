// The registry stand-in: its text form, the shared file, and several
// processes writing it at once or being killed while they write.
#include "platform/registry_data.h"
#include "platform/registry_store.h"

#include <QByteArray>
#include <QDir>
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

namespace {

const QString kKey = QStringLiteral("HKEY_CURRENT_USER\\Software\\FARHAVEN\\lumo_test\\Setting");

QByteArray ReadBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

CRegistryData ParseStrictly(const QString& path)
{
    CRegistryData data;
    QStringList problems;
    EXPECT_TRUE(CRegistryData::FromText(ReadBytes(path), &data, &problems))
        << problems.join(QLatin1Char('\n')).toStdString();
    return data;
}

class RegistryStoreTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_file = m_dir.filePath(QStringLiteral("registry.reg"));
        CRegistryStore::Instance().SetFile(m_file);
    }
    void TearDown() override { CRegistryStore::Instance().SetFile(m_dir.filePath(QStringLiteral("unused.reg"))); }

    CRegistryStore& Store() { return CRegistryStore::Instance(); }

    QTemporaryDir m_dir;
    QString m_file;
};

}  // namespace

TEST(RegistryTextTest, EveryValueTypeSurvivesTheTextForm)
{
    CRegistryData data;
    data.Set(kKey, QStringLiteral("Number"), RegValue::Dword(0xfffffffe));
    data.Set(kKey, QStringLiteral("Quoted \"name\""), RegValue::String(QStringLiteral("C:\\path \"with\" quotes")));
    data.Set(kKey, QStringLiteral("Command"), RegValue::ExpandString(QStringLiteral("%HOME%\\bin\\viewer \"%1\"")));
    data.Set(kKey, QStringLiteral("Lines"), RegValue::String(QStringLiteral("first\nsecond")));
    data.Set(kKey, QStringLiteral("Unicode"), RegValue::String(QString::fromUtf8("Bilder \xc3\xa4 \xf0\x9f\x98\x80")));
    data.Set(kKey, QStringLiteral("Blob"), RegValue::Raw(kRegBinary, QByteArray("\x00\x01\xff", 3)));
    data.Set(kKey, QStringLiteral("Odd"), RegValue::Raw(7, QByteArray("a\0b\0\0\0\0\0", 8)));
    data.Set(kKey, QString(), RegValue::String(QStringLiteral("unnamed")));
    data.CreateKey(QStringLiteral("HKEY_LOCAL_MACHINE\\Empty"));

    CRegistryData back;
    QStringList problems;
    EXPECT_TRUE(CRegistryData::FromText(data.ToText(), &back, &problems))
        << problems.join(QLatin1Char(';')).toStdString();
    EXPECT_TRUE(back == data);
    EXPECT_TRUE(back.HasKey(QStringLiteral("HKEY_LOCAL_MACHINE\\Empty")));
    EXPECT_EQ(back.Find(kKey, QStringLiteral("Lines"))->ToText(), QStringLiteral("first\nsecond"));
}

TEST(RegistryTextTest, WritesTheRegeditFourForm)
{
    CRegistryData data;
    data.Set(QStringLiteral("HKEY_CLASSES_ROOT\\bmpimage\\Shell\\Open\\Command"), QStringLiteral("Default"),
             RegValue::ExpandString(QStringLiteral("A")));
    data.Set(kKey, QStringLiteral("ThumbnailView Mode"), RegValue::Dword(1));
    data.Set(kKey, QStringLiteral("CurrPath"), RegValue::String(QStringLiteral("\\My \"Documents\"")));
    EXPECT_EQ(data.ToText().toStdString(), "REGEDIT4\n"
                                           "\n"
                                           "[HKEY_CLASSES_ROOT\\bmpimage\\Shell\\Open\\Command]\n"
                                           "\"Default\"=hex(2):41,00,00,00\n"
                                           "\n"
                                           "[HKEY_CURRENT_USER\\Software\\FARHAVEN\\lumo_test\\Setting]\n"
                                           "\"CurrPath\"=\"\\\\My \\\"Documents\\\"\"\n"
                                           "\"ThumbnailView Mode\"=dword:00000001\n");
}

TEST(RegistryTextTest, HandEditedFileWithCommentsAndBlankLinesReads)
{
    const QByteArray text = "\xEF\xBB\xBF; settings kept by hand\r\n"
                            "\r\n"
                            "REGEDIT4\r\n"
                            "\r\n"
                            "; the viewer's own key\r\n"
                            "[\\HKEY_CURRENT_USER\\Software\\FARHAVEN\\lumo_test\\Setting\\]\r\n"
                            "   \"Quick View\" = dword:0000000A\r\n"
                            "\"FileOpen Filter\"=\"*.jpg\"\r\n"
                            "\r\n"
                            "[HKEY_CLASSES_ROOT\\pngimage\\Shell\\Open\\Command]\n"
                            "\"Default\"=hex(2):78,00,\\\n"
                            "  64,00,00,00\n";
    CRegistryData data;
    QStringList problems;
    EXPECT_TRUE(CRegistryData::FromText(text, &data, &problems)) << problems.join(QLatin1Char(';')).toStdString();
    EXPECT_EQ(data.Find(kKey, QStringLiteral("Quick View"))->ToDword(), 10u);
    EXPECT_EQ(data.Find(kKey, QStringLiteral("FileOpen Filter"))->ToText(), QStringLiteral("*.jpg"));
    const RegValue* command
        = data.Find(QStringLiteral("HKEY_CLASSES_ROOT\\pngimage\\Shell\\Open\\Command"), QStringLiteral("Default"));
    ASSERT_NE(command, nullptr);
    EXPECT_EQ(command->type, uint32_t(kRegExpandSz));
    EXPECT_EQ(command->ToText(), QStringLiteral("xd"));
}

TEST(RegistryTextTest, UnreadableLinesAreSkippedAndReported)
{
    const QByteArray text = "REGEDIT4\n"
                            "\"Orphan\"=dword:00000001\n"
                            "[HKEY_CURRENT_USER\\K]\n"
                            "\"TooLong\"=dword:000000001\n"
                            "\"NotHex\"=dword:xyz\n"
                            "\"Open\"=\"no end\n"
                            "\"Escape\"=\"bad \\n escape\"\n"
                            "\"Trailing\"=\"text\" junk\n"
                            "\"Bytes\"=hex:1,2g\n"
                            "\"Cut\"=hex:01,\\\n"
                            "\"Good\"=dword:00000002\n";
    CRegistryData data;
    QStringList problems;
    EXPECT_FALSE(CRegistryData::FromText(text, &data, &problems));
    EXPECT_EQ(problems.size(), 8) << problems.join(QLatin1Char(';')).toStdString();
    // The continued hex line swallowed the next line, so "Good" is gone with it;
    // everything else that was well-formed is kept.
    EXPECT_EQ(data.ValueNames(QStringLiteral("HKEY_CURRENT_USER\\K")), QStringList());
    CRegistryData none;
    EXPECT_FALSE(CRegistryData::FromText("[HKEY_X]\n\"A\"=dword:1\n", &none));
    EXPECT_EQ(none.Find(QStringLiteral("HKEY_X"), QStringLiteral("A"))->ToDword(), 1u);
}

TEST(RegistryTextTest, KeysAndNamesIgnoreLetterCaseAndKeepFirstSpelling)
{
    CRegistryData data;
    data.Set(QStringLiteral("HKEY_CURRENT_USER\\Software\\Lumo"), QStringLiteral("ThumbnailView Mode"),
             RegValue::Dword(2));
    data.Set(QStringLiteral("hkey_current_user\\software\\LUMO"), QStringLiteral("thumbnailview mode"),
             RegValue::Dword(0));
    EXPECT_EQ(data.Keys(), QStringList {QStringLiteral("HKEY_CURRENT_USER\\Software\\Lumo")});
    EXPECT_EQ(data.ValueNames(QStringLiteral("HKEY_CURRENT_USER\\Software\\Lumo")),
              QStringList {QStringLiteral("ThumbnailView Mode")});
    EXPECT_EQ(
        data.Find(QStringLiteral("HKEY_CURRENT_USER\\SOFTWARE\\lumo"), QStringLiteral("THUMBNAILVIEW MODE"))->ToDword(),
        0u);
}

TEST(RegistryTextTest, NamesThatCannotBeWrittenAreRefused)
{
    CRegistryData data;
    EXPECT_FALSE(data.Set(kKey, QStringLiteral("two\nlines"), RegValue::Dword(1)));
    EXPECT_FALSE(data.Set(QStringLiteral("HKEY_X\\a\rb"), QStringLiteral("A"), RegValue::Dword(1)));
    EXPECT_FALSE(data.Set(QStringLiteral("\\\\"), QStringLiteral("A"), RegValue::Dword(1)));
    EXPECT_FALSE(data.Set(kKey, QString(QChar(0xd800)), RegValue::Dword(1)));
    EXPECT_TRUE(data.IsEmpty());
}

TEST_F(RegistryStoreTest, MissingFileBecomesFreshDeviceWithPictureTypesAndIdent)
{
    ASSERT_FALSE(QFile::exists(m_file));
    RegValue value;
    ASSERT_TRUE(Store().Read(QStringLiteral("HKEY_LOCAL_MACHINE\\Ident"), QStringLiteral("Name"), &value));
    char host[256] = {};
    ::gethostname(host, sizeof host - 1);
    EXPECT_EQ(value.ToText(), QString::fromLocal8Bit(host));

    ASSERT_TRUE(QFile::exists(m_file));
    CRegistryData onDisk = ParseStrictly(m_file);
    for (const char* type : {"bmpimage", "gifimage", "jpegimage", "pngimage"}) {
        QString key = QStringLiteral("\\%1\\Shell\\Open\\Command").arg(QLatin1String(type));
        const RegValue* command = onDisk.Find(QStringLiteral("HKEY_CLASSES_ROOT") + key, QStringLiteral("Default"));
        ASSERT_NE(command, nullptr) << type;
        EXPECT_EQ(command->ToText(), QStringLiteral("xdg-open \"%1\""));
        EXPECT_EQ(Store().ReadString(QStringLiteral("HKEY_CLASSES_ROOT") + key, QStringLiteral("Default"), {}),
                  QStringLiteral("xdg-open \"%1\""));
    }
    EXPECT_TRUE(onDisk == CRegistryStore::FreshDevice());
}

TEST_F(RegistryStoreTest, WriteReplacesTheFileAtOnceAndLeavesNoTemporary)
{
    ASSERT_TRUE(Store().WriteDword(kKey, QStringLiteral("Quick View"), 0));
    struct stat before { };
    ASSERT_EQ(::stat(QFile::encodeName(m_file).constData(), &before), 0);
    ASSERT_TRUE(Store().WriteString(kKey, QStringLiteral("CurrPath"), QStringLiteral("\\My Documents\\Trip")));
    struct stat after { };
    ASSERT_EQ(::stat(QFile::encodeName(m_file).constData(), &after), 0);
    EXPECT_NE(before.st_ino, after.st_ino) << "a write must replace the file, not rewrite it in place";

    CRegistryData onDisk = ParseStrictly(m_file);
    EXPECT_EQ(onDisk.Find(kKey, QStringLiteral("Quick View"))->ToDword(), 0u);
    EXPECT_EQ(onDisk.Find(kKey, QStringLiteral("CurrPath"))->ToText(), QStringLiteral("\\My Documents\\Trip"));
    EXPECT_FALSE(QFile::exists(m_file + QStringLiteral(".tmp")));
    EXPECT_TRUE(ReadBytes(m_file).contains("\"CurrPath\"=\"\\\\My Documents\\\\Trip\""));
}

TEST_F(RegistryStoreTest, ReadsSeeAChangeMadeBehindTheStoresBack)
{
    ASSERT_TRUE(Store().WriteDword(kKey, QStringLiteral("Interval"), 3));
    EXPECT_EQ(Store().ReadDword(kKey, QStringLiteral("Interval"), 0), 3u);

    // Rewritten in place with the same size: only the time tells.
    QByteArray text = ReadBytes(m_file);
    text.replace("dword:00000003", "dword:00000005");
    WriteBytes(m_file, text);
    struct timespec times[2] = {{0, UTIME_OMIT}, {1000000000, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(m_file).constData(), times, 0), 0);
    EXPECT_EQ(Store().ReadDword(kKey, QStringLiteral("Interval"), 0), 5u);

    // Deleted: a fresh device again.
    QFile::remove(m_file);
    EXPECT_EQ(Store().ReadDword(kKey, QStringLiteral("Interval"), 7), 7u);
    EXPECT_TRUE(QFile::exists(m_file));
}

TEST_F(RegistryStoreTest, ValueOfAnotherTypeReadsAsTheDefault)
{
    ASSERT_TRUE(Store().WriteString(kKey, QStringLiteral("Text"), QStringLiteral("12")));
    ASSERT_TRUE(Store().WriteDword(kKey, QStringLiteral("Number"), 12));
    ASSERT_TRUE(Store().Write(kKey, QStringLiteral("Expand"), RegValue::ExpandString(QStringLiteral("%1"))));
    ASSERT_TRUE(Store().Write(kKey, QStringLiteral("ShortDword"), RegValue::Raw(kRegDword, QByteArray(2, '\1'))));
    EXPECT_EQ(Store().ReadDword(kKey, QStringLiteral("Text"), 99), 99u);
    EXPECT_EQ(Store().ReadString(kKey, QStringLiteral("Number"), QStringLiteral("d")), QStringLiteral("d"));
    EXPECT_EQ(Store().ReadString(kKey, QStringLiteral("Expand"), QStringLiteral("d")), QStringLiteral("%1"));
    EXPECT_EQ(Store().ReadDword(kKey, QStringLiteral("ShortDword"), 99), 99u);
    EXPECT_EQ(Store().ReadDword(kKey, QStringLiteral("Missing"), 42), 42u);
    EXPECT_EQ(Store().ReadDword(QStringLiteral("HKEY_NOWHERE"), QStringLiteral("Number"), 42), 42u);
}

TEST_F(RegistryStoreTest, GeneralAccessorsCreateListAndDelete)
{
    const QString key = QStringLiteral("HKEY_CLASSES_ROOT\\tiffimage\\Shell\\Open\\Command");
    EXPECT_FALSE(Store().KeyExists(key));
    ASSERT_TRUE(Store().CreateKey(key));
    EXPECT_TRUE(Store().KeyExists(key));
    ASSERT_TRUE(Store().Write(key, QStringLiteral("Default"), RegValue::ExpandString(QStringLiteral("viewer %1"))));
    EXPECT_EQ(Store().ValueNames(key), QStringList {QStringLiteral("Default")});
    EXPECT_TRUE(Store().DeleteValue(key, QStringLiteral("Default")));
    EXPECT_FALSE(Store().DeleteValue(key, QStringLiteral("Default")));
    EXPECT_TRUE(ParseStrictly(m_file).HasKey(key));
}

TEST_F(RegistryStoreTest, UnwritableLocationFailsWritesButStillReadsDefaults)
{
    // A regular file in place of the folder stops root as well as anyone.
    WriteBytes(m_dir.filePath(QStringLiteral("blocker")), "x");
    Store().SetFile(m_dir.filePath(QStringLiteral("blocker/registry.reg")));
    EXPECT_FALSE(Store().WriteDword(kKey, QStringLiteral("Quick View"), 0));
    EXPECT_EQ(Store().ReadDword(kKey, QStringLiteral("Quick View"), 1), 1u);
    EXPECT_EQ(Store().ReadString(QLatin1String(CRegistryStore::kPictureTypeKeys[2]), QStringLiteral("Default"), {}),
              QLatin1String(CRegistryStore::kSystemViewerCommand));
}

TEST_F(RegistryStoreTest, ValueWrittenByAnotherProcessIsReadNext)
{
    ASSERT_TRUE(Store().WriteString(kKey, QStringLiteral("Direction"), QStringLiteral("Forward")));
    ASSERT_EQ(Store().ReadString(kKey, QStringLiteral("Direction"), {}), QStringLiteral("Forward"));
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0)
        ::_exit(Store().WriteString(kKey, QStringLiteral("Direction"), QStringLiteral("Random")) ? 0 : 1);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(Store().ReadString(kKey, QStringLiteral("Direction"), {}), QStringLiteral("Random"));
}

TEST_F(RegistryStoreTest, ProcessesWritingAtOnceLoseNoValue)
{
    constexpr int kProcesses = 4;
    constexpr int kWrites = 12;
    std::vector<pid_t> children;
    for (int p = 0; p < kProcesses; ++p) {
        pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            bool ok = true;
            for (int i = 0; i < kWrites; ++i)
                ok &= Store().WriteDword(kKey, QStringLiteral("P%1 V%2").arg(p).arg(i), uint32_t(p * 1000 + i));
            ::_exit(ok ? 0 : 1);
        }
        children.push_back(child);
    }
    for (pid_t child : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    CRegistryData onDisk = ParseStrictly(m_file);
    for (int p = 0; p < kProcesses; ++p)
        for (int i = 0; i < kWrites; ++i) {
            const RegValue* v = onDisk.Find(kKey, QStringLiteral("P%1 V%2").arg(p).arg(i));
            ASSERT_NE(v, nullptr) << p << " " << i;
            EXPECT_EQ(v->ToDword(), uint32_t(p * 1000 + i));
        }
}

TEST_F(RegistryStoreTest, KilledWriterLeavesAWholeFileAndNoLock)
{
    // Each write stores a counter and a long text derived from it: a torn file
    // would fail to parse or hold a text that does not match its counter.
    auto payload = [](uint32_t n) { return QString(QStringLiteral("%1;").arg(n)).repeated(400); };
    ASSERT_TRUE(Store().WriteDword(kKey, QStringLiteral("Counter"), 0));
    ASSERT_TRUE(Store().WriteString(kKey, QStringLiteral("Payload"), payload(0)));
    std::mt19937 random(12345);
    uint32_t lastSeen = 0;
    for (int round = 0; round < 12; ++round) {
        pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (uint32_t n = lastSeen + 1;; ++n)
                Store().Write(kKey, QStringLiteral("Pair"),
                              RegValue::String(QString::number(n) + QLatin1Char('|') + payload(n)));
        }
        // Let one write of this writer land, then kill it at a random moment of a later one.
        auto counter = [&] {
            return Store().ReadString(kKey, QStringLiteral("Pair"), {}).section(QLatin1Char('|'), 0, 0).toUInt();
        };
        for (int wait = 0; wait < 2000 && counter() <= lastSeen; ++wait)
            ::usleep(1000);
        ::usleep(random() % 20000);
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);

        CRegistryData onDisk = ParseStrictly(m_file);
        const RegValue* pair = onDisk.Find(kKey, QStringLiteral("Pair"));
        if (pair) {
            QString text = pair->ToText();
            uint32_t n = text.section(QLatin1Char('|'), 0, 0).toUInt();
            EXPECT_EQ(text.section(QLatin1Char('|'), 1), payload(n));
            EXPECT_GE(n, lastSeen);
            lastSeen = n;
        }
        const RegValue* untouched = onDisk.Find(kKey, QStringLiteral("Payload"));
        ASSERT_NE(untouched, nullptr) << "a value the writer did not change was lost";
        EXPECT_EQ(untouched->ToText(), payload(0));

        int lockFd = ::open(QFile::encodeName(m_file + QStringLiteral(".lock")).constData(), O_RDWR | O_CLOEXEC);
        ASSERT_GE(lockFd, 0);
        EXPECT_EQ(::flock(lockFd, LOCK_EX | LOCK_NB), 0) << "the killed writer's lock is still held";
        ::close(lockFd);
    }
    EXPECT_GT(lastSeen, 0u) << "no write finished before a kill";
    EXPECT_TRUE(Store().WriteDword(kKey, QStringLiteral("Counter"), 1));
    EXPECT_EQ(Store().ReadDword(kKey, QStringLiteral("Counter"), 0), 1u);
}

TEST_F(RegistryStoreTest, ThreadsReadingAndWritingTogetherLoseNothing)
{
    std::atomic<bool> bad = false;
    std::vector<std::thread> threads;
    for (int t = 0; t < 3; ++t)
        threads.emplace_back([&, t] {
            for (int i = 0; i < 15; ++i) {
                QString name = QStringLiteral("T%1 %2").arg(t).arg(i);
                if (!Store().WriteDword(kKey, name, uint32_t(i)) || Store().ReadDword(kKey, name, 999) != uint32_t(i))
                    bad = true;
            }
        });
    for (auto& thread : threads)
        thread.join();
    EXPECT_FALSE(bad);
    EXPECT_EQ(ParseStrictly(m_file).ValueNames(kKey).size(), 45);
}

TEST_F(RegistryStoreTest, WritesNeverTakeOverAPreparedTemporaryNameAndSweepTheirOwnLeftovers)
{
    // Another user's file under the old fixed temporary name, and a link
    // planted there, are neither written through nor made the registry.
    const QString victim = m_dir.filePath(QStringLiteral("victim"));
    WriteBytes(victim, "keep me");
    ASSERT_EQ(::symlink(QFile::encodeName(victim).constData(), QFile::encodeName(m_file + ".tmp").constData()), 0);
    // What a killed writer of ours left behind.
    const QString leftover = m_file + QStringLiteral(".k1lled.tmp");
    WriteBytes(leftover, "half a registry");
    ASSERT_TRUE(Store().WriteDword(kKey, QStringLiteral("V"), 7));
    EXPECT_EQ(ReadBytes(victim), QByteArray("keep me"));
    EXPECT_FALSE(QFileInfo::exists(leftover));
    EXPECT_EQ(ParseStrictly(m_file).Find(kKey, QStringLiteral("V"))->ToDword(), 7u);
    struct stat st { };
    ASSERT_EQ(::stat(QFile::encodeName(m_file + ".lock").constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 077, 0u) << "the lock file is private";
}

TEST_F(RegistryStoreTest, ALockHeldElsewhereFailsTheWriteAfterAShortWait)
{
    ASSERT_TRUE(Store().WriteDword(kKey, QStringLiteral("V"), 1));
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t holder = ::fork();
    ASSERT_GE(holder, 0);
    if (holder == 0) {
        const int fd = ::open(QFile::encodeName(m_file + ".lock").constData(), O_RDWR);
        ::flock(fd, LOCK_EX);
        (void)!::write(ready[1], "x", 1);
        ::sleep(20);
        ::_exit(0);
    }
    char c;
    ASSERT_EQ(::read(ready[0], &c, 1), 1);
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(Store().WriteDword(kKey, QStringLiteral("V"), 2));
    EXPECT_LT(clock.elapsed(), 5 * CRegistryStore::kLockWaitMs);
    ::kill(holder, SIGKILL);
    ::waitpid(holder, nullptr, 0);
    EXPECT_EQ(Store().ReadDword(kKey, QStringLiteral("V"), 0), 1u);
    EXPECT_TRUE(Store().WriteDword(kKey, QStringLiteral("V"), 3));
}

TEST_F(RegistryStoreTest, AFileThatIsNotRegistryTextIsKeptAsideAndTheDeviceStartsAfresh)
{
    QByteArray noise(4096, '\0');
    std::mt19937 random(7);
    for (char& b : noise)
        b = char(random());
    noise.replace("REGEDIT4", "xxxxxxxx");
    WriteBytes(m_file, noise);
    EXPECT_EQ(Store().ReadDword(kKey, QStringLiteral("V"), 5), 5u);
    EXPECT_TRUE(Store().KeyExists(QString::fromLatin1(CRegistryStore::kPictureTypeKeys[0])));
    EXPECT_EQ(ReadBytes(m_file + QStringLiteral(".damaged-1")), noise);
    ASSERT_TRUE(Store().WriteDword(kKey, QStringLiteral("V"), 9));
    EXPECT_EQ(ParseStrictly(m_file).Find(kKey, QStringLiteral("V"))->ToDword(), 9u);
}
