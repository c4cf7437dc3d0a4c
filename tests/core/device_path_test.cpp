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
        m_home = m_base + QStringLiteral("/home");
        m_root = m_base + QStringLiteral("/root");
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
    EXPECT_EQ(DevicePath::ToHost(QStringLiteral("\\My Documents")), m_home);
    EXPECT_EQ(DevicePath::ToHost(QStringLiteral("\\my documents\\Lumo Albums\\a.lab")),
              m_home + QStringLiteral("/Lumo Albums/a.lab"));
    EXPECT_EQ(DevicePath::ToHost(QStringLiteral("\\usr\\share")), QStringLiteral("/usr/share"));
    EXPECT_EQ(DevicePath::ToHost(QStringLiteral("\\")), QStringLiteral("/"));
    EXPECT_EQ(DevicePath::ToHost(QString()), QStringLiteral("/"));
    EXPECT_EQ(DevicePath::ToHost(QStringLiteral("etc\\\\hosts\\")), QStringLiteral("/etc/hosts"));
    EXPECT_EQ(DevicePath::ToHost(QStringLiteral("\\My Documents\\..\\..\\etc")), QStringLiteral("/etc"));
}

TEST_F(DefaultRootTest, HostPathsBecomeDevicePaths)
{
    QString device;
    ASSERT_TRUE(DevicePath::FromHost(m_home + QStringLiteral("/Pictures/a.jpg"), &device));
    EXPECT_EQ(device, QStringLiteral("\\My Documents\\Pictures\\a.jpg"));
    ASSERT_TRUE(DevicePath::FromHost(m_home, &device));
    EXPECT_EQ(device, QStringLiteral("\\My Documents"));
    ASSERT_TRUE(DevicePath::FromHost(QStringLiteral("/usr//share/../lib/"), &device));
    EXPECT_EQ(device, QStringLiteral("\\usr\\lib"));
    ASSERT_TRUE(DevicePath::FromHost(QStringLiteral("/"), &device));
    EXPECT_EQ(device, QStringLiteral("\\"));
    // A home folder's sibling that merely starts with the same letters is not home.
    ASSERT_TRUE(DevicePath::FromHost(m_home + QStringLiteral("2/x"), &device));
    EXPECT_EQ(device, QString(m_home + QStringLiteral("2/x")).replace(QLatin1Char('/'), QLatin1Char('\\')));

    QDir().mkpath(m_home + QStringLiteral("/Trip"));
    ScopedCwd cwd(m_home + QStringLiteral("/Trip"));
    ASSERT_TRUE(DevicePath::FromHost(QStringLiteral("day1/b.png"), &device));
    EXPECT_EQ(device, QStringLiteral("\\My Documents\\Trip\\day1\\b.png"));
    ASSERT_TRUE(DevicePath::FromHost(QStringLiteral("../c.gif"), &device));
    EXPECT_EQ(device, QStringLiteral("\\My Documents\\c.gif"));
}

TEST_F(DefaultRootTest, HostPathsThatCannotBeNamedAreRefused)
{
    QString device = QStringLiteral("unchanged");
    QString reason;
    EXPECT_FALSE(DevicePath::FromHost(m_home + QStringLiteral("/a\\b.jpg"), &device, &reason));
    EXPECT_TRUE(reason.contains(QStringLiteral("\\")));
    // The alias hides a host folder of that name at the top.
    EXPECT_FALSE(DevicePath::FromHost(QStringLiteral("/My Documents/x.jpg"), &device, &reason));
    EXPECT_EQ(device, QStringLiteral("unchanged"));
}

TEST_F(ConfinedRootTest, DeviceIsTheRootFolderWithoutAlias)
{
    EXPECT_EQ(DevicePath::DeviceRoot(), m_root);
    EXPECT_EQ(DevicePath::ToHost(QStringLiteral("\\a\\b.jpg")), m_root + QStringLiteral("/a/b.jpg"));
    EXPECT_EQ(DevicePath::ToHost(QStringLiteral("\\My Documents")), m_root + QStringLiteral("/My Documents"));
    EXPECT_EQ(DevicePath::ToHost(QStringLiteral("\\")), m_root);
    // Climbing never leaves the root.
    EXPECT_EQ(DevicePath::ToHost(QStringLiteral("\\..\\..\\etc\\passwd")), m_root + QStringLiteral("/etc/passwd"));
    EXPECT_EQ(DevicePath::ToHost(QStringLiteral("a/../../b")), m_root + QStringLiteral("/b"));

    QString device;
    ASSERT_TRUE(DevicePath::FromHost(m_root + QStringLiteral("/My Documents/x.jpg"), &device));
    EXPECT_EQ(device, QStringLiteral("\\My Documents\\x.jpg"));
    ASSERT_TRUE(DevicePath::FromHost(m_root, &device));
    EXPECT_EQ(device, QStringLiteral("\\"));
}

TEST_F(ConfinedRootTest, HostPathsOutsideTheRootAreRefused)
{
    QString device, reason;
    EXPECT_FALSE(DevicePath::FromHost(m_home + QStringLiteral("/a.jpg"), &device, &reason));
    EXPECT_TRUE(reason.contains(m_root)) << reason.toStdString();
    EXPECT_FALSE(DevicePath::FromHost(m_root + QStringLiteral("/../home/a.jpg"), &device));
    EXPECT_FALSE(DevicePath::FromHost(m_root + QStringLiteral("x/a.jpg"), &device));
    EXPECT_FALSE(DevicePath::FromHost(m_root + QStringLiteral("/dir\\name/a.jpg"), &device));

    QDir().mkpath(m_root + QStringLiteral("/Pictures"));
    {
        ScopedCwd cwd(m_root + QStringLiteral("/Pictures"));
        ASSERT_TRUE(DevicePath::FromHost(QStringLiteral("a.jpg"), &device));
        EXPECT_EQ(device, QStringLiteral("\\Pictures\\a.jpg"));
        EXPECT_FALSE(DevicePath::FromHost(QStringLiteral("../../a.jpg"), &device));
    }
    // A path reached through a link to the root still lies inside it.
    ASSERT_TRUE(QFile::link(m_root, m_base + QStringLiteral("/link")));
    ASSERT_TRUE(DevicePath::FromHost(m_base + QStringLiteral("/link/Pictures"), &device));
    EXPECT_EQ(device, QStringLiteral("\\Pictures"));
}

TEST_F(DevicePathTest, EnvironmentConfinesUnlessARootWasSet)
{
    qputenv("HOME", QFile::encodeName(m_home));
    qputenv("LUMO_DEVICE_ROOT", QFile::encodeName(m_root));
    EXPECT_EQ(DevicePath::ToHost(QStringLiteral("\\a")), m_root + QStringLiteral("/a"));
    DevicePath::SetDeviceRoot(m_home);
    EXPECT_EQ(DevicePath::ToHost(QStringLiteral("\\a")), m_home + QStringLiteral("/a"));
}

TEST_F(ConfinedRootTest, ListingIsSortedWithoutCaseThenWithCase)
{
    for (const char* name : {"b.jpg", "A.jpg", "a.jpg", "C.jpg", "B.JPG"})
        Touch(m_root + QLatin1Char('/') + QLatin1String(name));
    QDir().mkpath(m_root + QStringLiteral("/album"));
    std::vector<CFindData> entries;
    ASSERT_TRUE(EnumerateDirectory(QStringLiteral("\\"), &entries));
    EXPECT_EQ(Names(entries), (QStringList {"A.jpg", "a.jpg", "album", "B.JPG", "b.jpg", "C.jpg"}));
    EXPECT_TRUE(entries[2].isDirectory);
    EXPECT_FALSE(entries[0].isDirectory);
    EXPECT_FALSE(entries[2].isStorageCard);
}

TEST_F(ConfinedRootTest, ListingHidesDotNamesBackslashNamesAndBrokenLinks)
{
    QDir().mkpath(m_root + QStringLiteral("/pics/.thumbnails"));
    Touch(m_root + QStringLiteral("/pics/.hidden.jpg"));
    Touch(m_root + QStringLiteral("/pics/a\\b.jpg"));
    Touch(m_root + QStringLiteral("/pics/shown.jpg"), 1234);
    QDir().mkpath(m_root + QStringLiteral("/elsewhere"));
    ASSERT_TRUE(QFile::link(m_root + QStringLiteral("/missing"), m_root + QStringLiteral("/pics/broken")));
    ASSERT_TRUE(QFile::link(m_root + QStringLiteral("/elsewhere"), m_root + QStringLiteral("/pics/linked")));
    std::vector<CFindData> entries;
    ASSERT_TRUE(EnumerateDirectory(QStringLiteral("\\pics"), &entries));
    ASSERT_EQ(Names(entries), (QStringList {"linked", "shown.jpg"}));
    EXPECT_TRUE(entries[0].isDirectory);
    EXPECT_EQ(entries[1].size, 1234u);
    EXPECT_GT(entries[1].modified, 0);

    EXPECT_FALSE(EnumerateDirectory(QStringLiteral("\\no such folder"), &entries));
    EXPECT_TRUE(entries.empty());
    EXPECT_FALSE(EnumerateDirectory(QStringLiteral("\\pics\\shown.jpg"), &entries));
}

TEST_F(DefaultRootTest, RootListingHoldsMyDocumentsAndNoPseudoCards)
{
    std::vector<CFindData> entries;
    ASSERT_TRUE(EnumerateDirectory(QStringLiteral("\\"), &entries));
    QStringList names = Names(entries);
    ASSERT_EQ(names.count(QStringLiteral("My Documents")), 1);
    EXPECT_TRUE(entries[names.indexOf(QStringLiteral("My Documents"))].isDirectory);
    for (const CFindData& e : entries) {
        if (e.name == QLatin1String("proc") || e.name == QLatin1String("sys") || e.name == QLatin1String("dev")) {
            EXPECT_FALSE(e.isStorageCard) << e.name.toStdString();
        }
    }
    EXPECT_FALSE(names.contains(QStringLiteral(".")));
    EXPECT_FALSE(names.contains(QStringLiteral("..")));
}

TEST(HostFileSystemTest, KernelFileSystemsArePseudo)
{
    struct statfs fs { };
    if (::statfs("/proc", &fs) != 0 || fs.f_type != 0x9fa0)
        GTEST_SKIP() << "no proc file system mounted at /proc";
    EXPECT_TRUE(HostFileSystem::IsPseudo(QStringLiteral("/proc")));
    EXPECT_TRUE(HostFileSystem::IsPseudoType(0x62656572));  // sysfs
    EXPECT_FALSE(HostFileSystem::IsPseudoType(0xef53));     // ext4
    EXPECT_FALSE(HostFileSystem::IsPseudoType(0x4d44));     // vfat, as on a card
}

TEST_F(ConfinedRootTest, RecursiveWalkEndsOnLinkLoopsAndEntersEachFolderOnce)
{
    QDir().mkpath(m_root + QStringLiteral("/a/b"));
    Touch(m_root + QStringLiteral("/a/b/p.jpg"));
    ASSERT_TRUE(QFile::link(m_root + QStringLiteral("/a"), m_root + QStringLiteral("/a/b/up")));
    ASSERT_TRUE(QFile::link(m_root + QStringLiteral("/a/b"), m_root + QStringLiteral("/second")));

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
    walk(QStringLiteral("\\"));
    EXPECT_EQ(entered, (QStringList {"\\", "\\a", "\\a\\b"}));
    EXPECT_TRUE(visited.WasEntered(QStringLiteral("\\second")));
    EXPECT_FALSE(visited.Enter(QStringLiteral("\\a\\b\\up\\b\\up")));
    EXPECT_FALSE(visited.Enter(QStringLiteral("\\a\\b\\p.jpg")));
}

TEST_F(ConfinedRootTest, RecursiveWalkDoesNotEnterPseudoFileSystems)
{
    struct statfs fs { };
    if (::statfs("/proc", &fs) != 0 || fs.f_type != 0x9fa0)
        GTEST_SKIP() << "no proc file system mounted at /proc";
    QDir().mkpath(m_root + QStringLiteral("/a"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/proc"), m_root + QStringLiteral("/a/kernel")));
    CVisitedFolders visited;
    ASSERT_TRUE(visited.Enter(QStringLiteral("\\a")));
    EXPECT_FALSE(visited.Enter(QStringLiteral("\\a\\kernel")));

    // A walk the user starts inside one keeps to it.
    CVisitedFolders inside;
    EXPECT_TRUE(inside.EnterHost(QStringLiteral("/proc")));
    EXPECT_TRUE(inside.EnterHost(QStringLiteral("/proc/self")));
}
