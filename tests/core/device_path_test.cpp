// The device file system over the host: path mapping both ways at the
// default and a confined root, folder listings, and walks that meet loops.
#include "platform/device_path.h"
#include "platform/host_file_system.h"
#include "platform/visited_folders.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <sys/vfs.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

// Sets an environment variable for the life of the object.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const QByteArray& value)
        : m_name(name)
        , m_had(qEnvironmentVariableIsSet(name))
    {
        m_old = qgetenv(name);
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value);
    }
    ~ScopedEnv()
    {
        if (m_had)
            qputenv(m_name, m_old);
        else
            qunsetenv(m_name);
    }

private:
    const char* m_name;
    bool m_had;
    QByteArray m_old;
};

// Runs in another working folder for the life of the object.
class ScopedCwd {
public:
    explicit ScopedCwd(const QString& dir)
        : m_old(QDir::currentPath())
    {
        QDir::setCurrent(dir);
    }
    ~ScopedCwd() { QDir::setCurrent(m_old); }

private:
    QString m_old;
};

void Touch(const QString& path, int size = 0)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write(QByteArray(size, 'x'));
}

QStringList Names(const std::vector<CFindData>& entries)
{
    QStringList names;
    for (const CFindData& e : entries)
        names.append(e.name);
    return names;
}

class DevicePathTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        // Canonical, so expectations compare with what the mapping computes.
        m_base = QDir(m_dir.path()).canonicalPath();
        m_home = m_base + u"/home"_s;
        m_root = m_base + u"/root"_s;
        QDir().mkpath(m_home);
        QDir().mkpath(m_root);
        DevicePath::SetDeviceRoot(QString());
    }
    void TearDown() override { DevicePath::SetDeviceRoot(QString()); }

    QTemporaryDir m_dir;
    QString m_base, m_home, m_root;
    ScopedEnv m_envHome {"HOME", QByteArray()};
    ScopedEnv m_envRoot {"LUMO_DEVICE_ROOT", QByteArray()};
};

class DefaultRootTest : public DevicePathTest {
protected:
    void SetUp() override
    {
        DevicePathTest::SetUp();
        qputenv("HOME", QFile::encodeName(m_home));
    }
};

class ConfinedRootTest : public DevicePathTest {
protected:
    void SetUp() override
    {
        DevicePathTest::SetUp();
        qputenv("HOME", QFile::encodeName(m_home));
        DevicePath::SetDeviceRoot(m_root);
    }
};

}  // namespace

TEST_F(DefaultRootTest, MyDocumentsIsTheHomeFolderAndTheRestIsTheHost)
{
    EXPECT_EQ(DevicePath::DeviceRoot(), QString());
    EXPECT_EQ(DevicePath::ToHost(u"\\My Documents"_s), m_home);
    EXPECT_EQ(DevicePath::ToHost(u"\\my documents\\Lumo Albums\\a.lab"_s), m_home + u"/Lumo Albums/a.lab"_s);
    EXPECT_EQ(DevicePath::ToHost(u"\\usr\\share"_s), u"/usr/share"_s);
    EXPECT_EQ(DevicePath::ToHost(u"\\"_s), u"/"_s);
    EXPECT_EQ(DevicePath::ToHost(QString()), u"/"_s);
    EXPECT_EQ(DevicePath::ToHost(u"etc\\\\hosts\\"_s), u"/etc/hosts"_s);
    EXPECT_EQ(DevicePath::ToHost(u"\\My Documents\\..\\..\\etc"_s), u"/etc"_s);
}

TEST_F(DefaultRootTest, HostPathsBecomeDevicePaths)
{
    QString device;
    ASSERT_TRUE(DevicePath::FromHost(m_home + u"/Pictures/a.jpg"_s, &device));
    EXPECT_EQ(device, u"\\My Documents\\Pictures\\a.jpg"_s);
    ASSERT_TRUE(DevicePath::FromHost(m_home, &device));
    EXPECT_EQ(device, u"\\My Documents"_s);
    ASSERT_TRUE(DevicePath::FromHost(u"/usr//share/../lib/"_s, &device));
    EXPECT_EQ(device, u"\\usr\\lib"_s);
    ASSERT_TRUE(DevicePath::FromHost(u"/"_s, &device));
    EXPECT_EQ(device, u"\\"_s);
    // A home folder's sibling that merely starts with the same letters is not home.
    ASSERT_TRUE(DevicePath::FromHost(m_home + u"2/x"_s, &device));
    EXPECT_EQ(device, QString(m_home + u"2/x"_s).replace(QLatin1Char('/'), QLatin1Char('\\')));

    QDir().mkpath(m_home + u"/Trip"_s);
    ScopedCwd cwd(m_home + u"/Trip"_s);
    ASSERT_TRUE(DevicePath::FromHost(u"day1/b.png"_s, &device));
    EXPECT_EQ(device, u"\\My Documents\\Trip\\day1\\b.png"_s);
    ASSERT_TRUE(DevicePath::FromHost(u"../c.gif"_s, &device));
    EXPECT_EQ(device, u"\\My Documents\\c.gif"_s);
}

TEST_F(DefaultRootTest, HostPathsThatCannotBeNamedAreRefused)
{
    QString device = u"unchanged"_s;
    QString reason;
    EXPECT_FALSE(DevicePath::FromHost(m_home + u"/a\\b.jpg"_s, &device, &reason));
    EXPECT_TRUE(reason.contains(u"\\"_s));
    // The alias hides a host folder of that name at the top.
    EXPECT_FALSE(DevicePath::FromHost(u"/My Documents/x.jpg"_s, &device, &reason));
    EXPECT_EQ(device, u"unchanged"_s);
}

TEST_F(ConfinedRootTest, DeviceIsTheRootFolderWithoutAlias)
{
    EXPECT_EQ(DevicePath::DeviceRoot(), m_root);
    EXPECT_EQ(DevicePath::ToHost(u"\\a\\b.jpg"_s), m_root + u"/a/b.jpg"_s);
    EXPECT_EQ(DevicePath::ToHost(u"\\My Documents"_s), m_root + u"/My Documents"_s);
    EXPECT_EQ(DevicePath::ToHost(u"\\"_s), m_root);
    // Climbing never leaves the root.
    EXPECT_EQ(DevicePath::ToHost(u"\\..\\..\\etc\\passwd"_s), m_root + u"/etc/passwd"_s);
    EXPECT_EQ(DevicePath::ToHost(u"a/../../b"_s), m_root + u"/b"_s);

    QString device;
    ASSERT_TRUE(DevicePath::FromHost(m_root + u"/My Documents/x.jpg"_s, &device));
    EXPECT_EQ(device, u"\\My Documents\\x.jpg"_s);
    ASSERT_TRUE(DevicePath::FromHost(m_root, &device));
    EXPECT_EQ(device, u"\\"_s);
}

TEST_F(ConfinedRootTest, HostPathsOutsideTheRootAreRefused)
{
    QString device, reason;
    EXPECT_FALSE(DevicePath::FromHost(m_home + u"/a.jpg"_s, &device, &reason));
    EXPECT_TRUE(reason.contains(m_root)) << reason.toStdString();
    EXPECT_FALSE(DevicePath::FromHost(m_root + u"/../home/a.jpg"_s, &device));
    EXPECT_FALSE(DevicePath::FromHost(m_root + u"x/a.jpg"_s, &device));
    EXPECT_FALSE(DevicePath::FromHost(m_root + u"/dir\\name/a.jpg"_s, &device));

    QDir().mkpath(m_root + u"/Pictures"_s);
    {
        ScopedCwd cwd(m_root + u"/Pictures"_s);
        ASSERT_TRUE(DevicePath::FromHost(u"a.jpg"_s, &device));
        EXPECT_EQ(device, u"\\Pictures\\a.jpg"_s);
        EXPECT_FALSE(DevicePath::FromHost(u"../../a.jpg"_s, &device));
    }
    // A path reached through a link to the root still lies inside it.
    ASSERT_TRUE(QFile::link(m_root, m_base + u"/link"_s));
    ASSERT_TRUE(DevicePath::FromHost(m_base + u"/link/Pictures"_s, &device));
    EXPECT_EQ(device, u"\\Pictures"_s);
}

TEST_F(DevicePathTest, EnvironmentConfinesUnlessARootWasSet)
{
    qputenv("HOME", QFile::encodeName(m_home));
    qputenv("LUMO_DEVICE_ROOT", QFile::encodeName(m_root));
    EXPECT_EQ(DevicePath::ToHost(u"\\a"_s), m_root + u"/a"_s);
    DevicePath::SetDeviceRoot(m_home);
    EXPECT_EQ(DevicePath::ToHost(u"\\a"_s), m_home + u"/a"_s);
}

TEST_F(ConfinedRootTest, ListingIsSortedWithoutCaseThenWithCase)
{
    for (const char* name : {"b.jpg", "A.jpg", "a.jpg", "C.jpg", "B.JPG"})
        Touch(m_root + QLatin1Char('/') + QLatin1String(name));
    QDir().mkpath(m_root + u"/album"_s);
    std::vector<CFindData> entries;
    ASSERT_TRUE(EnumerateDirectory(u"\\"_s, &entries));
    EXPECT_EQ(Names(entries), (QStringList {"A.jpg", "a.jpg", "album", "B.JPG", "b.jpg", "C.jpg"}));
    EXPECT_TRUE(entries[2].isDirectory);
    EXPECT_FALSE(entries[0].isDirectory);
    EXPECT_FALSE(entries[2].isStorageCard);
}

TEST_F(ConfinedRootTest, ListingHidesDotNamesBackslashNamesAndBrokenLinks)
{
    QDir().mkpath(m_root + u"/pics/.thumbnails"_s);
    Touch(m_root + u"/pics/.hidden.jpg"_s);
    Touch(m_root + u"/pics/a\\b.jpg"_s);
    Touch(m_root + u"/pics/shown.jpg"_s, 1234);
    QDir().mkpath(m_root + u"/elsewhere"_s);
    ASSERT_TRUE(QFile::link(m_root + u"/missing"_s, m_root + u"/pics/broken"_s));
    ASSERT_TRUE(QFile::link(m_root + u"/elsewhere"_s, m_root + u"/pics/linked"_s));
    std::vector<CFindData> entries;
    ASSERT_TRUE(EnumerateDirectory(u"\\pics"_s, &entries));
    ASSERT_EQ(Names(entries), (QStringList {"linked", "shown.jpg"}));
    EXPECT_TRUE(entries[0].isDirectory);
    EXPECT_EQ(entries[1].size, 1234u);
    EXPECT_GT(entries[1].modified, 0);

    EXPECT_FALSE(EnumerateDirectory(u"\\no such folder"_s, &entries));
    EXPECT_TRUE(entries.empty());
    EXPECT_FALSE(EnumerateDirectory(u"\\pics\\shown.jpg"_s, &entries));
}

TEST_F(DefaultRootTest, RootListingHoldsMyDocumentsAndNoPseudoCards)
{
    std::vector<CFindData> entries;
    ASSERT_TRUE(EnumerateDirectory(u"\\"_s, &entries));
    QStringList names = Names(entries);
    ASSERT_EQ(names.count(u"My Documents"_s), 1);
    EXPECT_TRUE(entries[names.indexOf(u"My Documents"_s)].isDirectory);
    for (const CFindData& e : entries) {
        if (e.name == QLatin1String("proc") || e.name == QLatin1String("sys") || e.name == QLatin1String("dev")) {
            EXPECT_FALSE(e.isStorageCard) << e.name.toStdString();
        }
    }
    EXPECT_FALSE(names.contains(u"."_s));
    EXPECT_FALSE(names.contains(u".."_s));
}

TEST(HostFileSystemTest, KernelFileSystemsArePseudo)
{
    struct statfs fs { };
    if (::statfs("/proc", &fs) != 0 || fs.f_type != 0x9fa0)
        GTEST_SKIP() << "no proc file system mounted at /proc";
    EXPECT_TRUE(HostFileSystem::IsPseudo(u"/proc"_s));
    EXPECT_TRUE(HostFileSystem::IsPseudoType(0x62656572));  // sysfs
    EXPECT_FALSE(HostFileSystem::IsPseudoType(0xef53));     // ext4
    EXPECT_FALSE(HostFileSystem::IsPseudoType(0x4d44));     // vfat, as on a card
}

TEST_F(ConfinedRootTest, RecursiveWalkEndsOnLinkLoopsAndEntersEachFolderOnce)
{
    QDir().mkpath(m_root + u"/a/b"_s);
    Touch(m_root + u"/a/b/p.jpg"_s);
    ASSERT_TRUE(QFile::link(m_root + u"/a"_s, m_root + u"/a/b/up"_s));
    ASSERT_TRUE(QFile::link(m_root + u"/a/b"_s, m_root + u"/second"_s));

    CVisitedFolders visited;
    QStringList entered;
    std::function<void(const QString&)> walk = [&](const QString& folder) {
        if (!visited.Enter(folder))
            return;
        entered.append(folder);
        std::vector<CFindData> entries;
        ASSERT_TRUE(EnumerateDirectory(folder, &entries));
        for (const CFindData& e : entries)
            if (e.isDirectory)
                walk(folder == QLatin1String("\\") ? folder + e.name : folder + QLatin1Char('\\') + e.name);
    };
    walk(u"\\"_s);
    EXPECT_EQ(entered, (QStringList {"\\", "\\a", "\\a\\b"}));
    EXPECT_TRUE(visited.WasEntered(u"\\second"_s));
    EXPECT_FALSE(visited.Enter(u"\\a\\b\\up\\b\\up"_s));
    EXPECT_FALSE(visited.Enter(u"\\a\\b\\p.jpg"_s));
}

TEST_F(ConfinedRootTest, RecursiveWalkDoesNotEnterPseudoFileSystems)
{
    struct statfs fs { };
    if (::statfs("/proc", &fs) != 0 || fs.f_type != 0x9fa0)
        GTEST_SKIP() << "no proc file system mounted at /proc";
    QDir().mkpath(m_root + u"/a"_s);
    ASSERT_TRUE(QFile::link(u"/proc"_s, m_root + u"/a/kernel"_s));
    CVisitedFolders visited;
    ASSERT_TRUE(visited.Enter(u"\\a"_s));
    EXPECT_FALSE(visited.Enter(u"\\a\\kernel"_s));

    // A walk the user starts inside one keeps to it.
    CVisitedFolders inside;
    EXPECT_TRUE(inside.EnterHost(u"/proc"_s));
    EXPECT_TRUE(inside.EnterHost(u"/proc/self"_s));
}
