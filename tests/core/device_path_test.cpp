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

using namespace Qt::StringLiterals;

namespace {

QStringList Names(const std::vector<CFindData>& entries)
{
    QStringList names;
    for (const CFindData& e : entries)
        names.append(e.name);
    return names;
}

// HOME is a temporary folder; the device root is confined to another one
// unless a test clears it. HOME and the working folder come back after.
class DevicePathTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_base = QDir(m_dir.path()).canonicalPath();
        m_home = m_base + u"/home"_s;
        m_root = m_base + u"/root"_s;
        for (const QString& dir : {m_home + u"/Trip"_s, m_root + u"/Pictures"_s})
            QDir().mkpath(dir);
        qputenv("HOME", QFile::encodeName(m_home));
        DevicePath::SetDeviceRoot(m_root);
    }
    void TearDown() override
    {
        DevicePath::SetDeviceRoot(QString());
        QDir::setCurrent(m_cwd);
        qputenv("HOME", m_envHome);
        qunsetenv("LUMO_DEVICE_ROOT");  // never set for the test run
    }

    const QByteArray m_envHome = qgetenv("HOME");
    const QString m_cwd = QDir::currentPath();
    QTemporaryDir m_dir;
    QString m_base, m_home, m_root;
};

}  // namespace

// Each row maps host to device, device to host, or both ways; a refused host
// path leaves the device path alone.
TEST_F(DevicePathTest, DefaultRootMapsMyDocumentsToHomeAndAConfinedRootHasNoAliasAndNothingOutsideIt)
{
    enum { kBoth, kToHost, kFromHost };
    ASSERT_TRUE(QFile::link(m_root, m_base + u"/link"_s));
    const struct {
        bool confined;
        int way;
        QString device, host;
    } cases[] = {
        {false, kBoth, u"\\My Documents"_s, m_home},
        {false, kToHost, u"\\my documents\\Lumo Albums\\a.lab"_s, m_home + u"/Lumo Albums/a.lab"_s},
        {false, kBoth, u"\\usr\\share"_s, u"/usr/share"_s},
        {false, kToHost, QString(), u"/"_s},
        {false, kToHost, u"etc\\\\hosts\\"_s, u"/etc/hosts"_s},
        {false, kToHost, u"\\My Documents\\..\\..\\etc"_s, u"/etc"_s},
        {false, kFromHost, u"\\My Documents\\Pictures\\a.jpg"_s, m_home + u"/Pictures/a.jpg"_s},
        {false, kFromHost, u"\\usr\\lib"_s, u"/usr//share/../lib/"_s},
        {false, kFromHost, u"\\"_s, u"/"_s},
        {false, kFromHost, QString(m_home + u"2/x"_s).replace(u'/', u'\\'), m_home + u"2/x"_s},
        {false, kFromHost, u"\\My Documents\\Trip\\day1\\b.png"_s, u"day1/b.png"_s},
        {false, kFromHost, {}, u"/My Documents/x.jpg"_s},  // the alias hides a host folder of that name
        {false, kFromHost, {}, m_home + u"/a\\b.jpg"_s},
        {true, kBoth, u"\\a\\b.jpg"_s, m_root + u"/a/b.jpg"_s},
        {true, kBoth, u"\\My Documents"_s, m_root + u"/My Documents"_s},
        {true, kBoth, u"\\"_s, m_root},
        {true, kToHost, u"\\..\\..\\etc\\passwd"_s, m_root + u"/etc/passwd"_s},
        {true, kToHost, u"a/../../b"_s, m_root + u"/b"_s},
        {true, kFromHost, u"\\Pictures\\a.jpg"_s, u"a.jpg"_s},
        {true, kFromHost, u"\\Pictures"_s, m_base + u"/link/Pictures"_s},
        {true, kFromHost, {}, m_root + u"/../home/a.jpg"_s},
        {true, kFromHost, {}, m_root + u"x/a.jpg"_s},
        {true, kFromHost, {}, m_root + u"/dir\\name/a.jpg"_s},
        {true, kFromHost, {}, u"../../a.jpg"_s},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.device.toStdString() + " " + c.host.toStdString());
        DevicePath::SetDeviceRoot(c.confined ? m_root : QString());
        QDir::setCurrent(c.confined ? m_root + u"/Pictures"_s : m_home + u"/Trip"_s);
        EXPECT_EQ(c.way == kFromHost ? c.host : DevicePath::ToHost(c.device), c.host);
        if (c.way == kToHost)
            continue;
        QString device = u"untouched"_s, reason;
        EXPECT_EQ(DevicePath::FromHost(c.host, &device, &reason), !c.device.isNull());
        EXPECT_EQ(device, c.device.isNull() ? u"untouched"_s : c.device);
        // A refusal names what refused it: the root, a backslash or the alias.
        const QString cause = c.confined ? m_root : c.host.contains(u'\\') ? u"\\"_s : u"\"My Documents\""_s;
        EXPECT_TRUE(!c.device.isNull() || reason.contains(cause)) << reason.toStdString();
    }
    // The environment confines unless a root was set.
    DevicePath::SetDeviceRoot(QString());
    qputenv("LUMO_DEVICE_ROOT", QFile::encodeName(m_root));
    EXPECT_EQ(DevicePath::ToHost(u"\\a"_s), m_root + u"/a"_s);
    DevicePath::SetDeviceRoot(m_home);
    EXPECT_EQ(DevicePath::ToHost(u"\\a"_s), m_home + u"/a"_s);
}

TEST_F(DevicePathTest, ListingIsSortedAndHidesDotNamesBackslashNamesAndBrokenLinks)
{
    for (const char* name : {"b.jpg", "A.jpg", "a.jpg", "C.jpg", "B.JPG", ".hidden.jpg", "a\\b.jpg"}) {
        QFile f(m_root + u'/' + QLatin1String(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(QByteArray(1234, 'x')) == 1234) << name;
    }
    QDir().mkpath(m_root + u"/.thumbnails"_s);
    ASSERT_TRUE(QFile::link(m_root + u"/missing"_s, m_root + u"/broken"_s));
    ASSERT_TRUE(QFile::link(m_root + u"/Pictures"_s, m_root + u"/linked"_s));
    std::vector<CFindData> entries;
    ASSERT_TRUE(EnumerateDirectory(u"\\"_s, &entries));
    ASSERT_EQ(Names(entries), (QStringList {"A.jpg", "a.jpg", "B.JPG", "b.jpg", "C.jpg", "linked", "Pictures"}));
    EXPECT_TRUE(entries[5].isDirectory && entries[6].isDirectory);
    EXPECT_EQ(entries[0].size, 1234u);
    EXPECT_FALSE(EnumerateDirectory(u"\\no such folder"_s, &entries));
    EXPECT_TRUE(entries.empty());
    EXPECT_FALSE(EnumerateDirectory(u"\\a.jpg"_s, &entries));
    // The default root holds My Documents and no kernel file system as a card.
    DevicePath::SetDeviceRoot(QString());
    ASSERT_TRUE(EnumerateDirectory(u"\\"_s, &entries));
    const QStringList names = Names(entries);
    ASSERT_EQ(names.count(u"My Documents"_s), 1);
    EXPECT_TRUE(entries[names.indexOf(u"My Documents"_s)].isDirectory);
    for (const CFindData& e : entries)
        EXPECT_FALSE(e.isStorageCard && (QStringList {"proc", "sys", "dev"}.contains(e.name))) << e.name.toStdString();
}

TEST_F(DevicePathTest, RecursiveWalkEndsOnLinkLoopsAndEntersEachFolderOnceAndNeverAKernelFileSystem)
{
    QDir().mkpath(m_root + u"/a/b"_s);
    QDir(m_root + u"/Pictures"_s).removeRecursively();
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
    if (!HostFileSystem::IsPseudo(u"/proc"_s))
        GTEST_SKIP() << "no proc file system mounted at /proc";
    ASSERT_TRUE(QFile::link(u"/proc"_s, m_root + u"/a/kernel"_s));
    EXPECT_FALSE(visited.Enter(u"\\a\\kernel"_s));
    // A walk the user starts inside one keeps to it.
    CVisitedFolders inside;
    EXPECT_TRUE(inside.EnterHost(u"/proc"_s));
    EXPECT_TRUE(inside.EnterHost(u"/proc/self"_s));
}
