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

// HOME is a temporary folder; the device root is confined to another one
// unless a test clears it. The environment and working folder come back after.
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
        qunsetenv("LUMO_DEVICE_ROOT");
        DevicePath::SetDeviceRoot(m_root);
    }
    void TearDown() override
    {
        DevicePath::SetDeviceRoot(QString());
        QDir::setCurrent(m_cwd);
        qputenv("HOME", m_envHome);
        if (m_envRoot.isNull())
            qunsetenv("LUMO_DEVICE_ROOT");
        else
            qputenv("LUMO_DEVICE_ROOT", m_envRoot);
    }
    QString Device(const QString& host, QString* reason = nullptr)
    {
        QString device;  // left alone when refused
        return DevicePath::FromHost(host, &device, reason) ? device : u"refused"_s + device;
    }

    const QByteArray m_envHome = qgetenv("HOME");
    const QByteArray m_envRoot
        = qEnvironmentVariableIsSet("LUMO_DEVICE_ROOT") ? qgetenv("LUMO_DEVICE_ROOT") : QByteArray();
    const QString m_cwd = QDir::currentPath();
    QTemporaryDir m_dir;
    QString m_base, m_home, m_root;
};

}  // namespace

TEST_F(DevicePathTest, DefaultRootMapsMyDocumentsToHomeAndTheRestToTheHost)
{
    DevicePath::SetDeviceRoot(QString());
    const std::pair<QString, QString> toHost[] = {
        {u"\\My Documents"_s, m_home},
        {u"\\my documents\\Lumo Albums\\a.lab"_s, m_home + u"/Lumo Albums/a.lab"_s},
        {u"\\usr\\share"_s, u"/usr/share"_s},
        {QString(), u"/"_s},
        {u"etc\\\\hosts\\"_s, u"/etc/hosts"_s},
        {u"\\My Documents\\..\\..\\etc"_s, u"/etc"_s},
    };
    for (const auto& [device, host] : toHost)
        EXPECT_EQ(DevicePath::ToHost(device), host) << device.toStdString();
    QDir::setCurrent(m_home + u"/Trip"_s);
    const std::pair<QString, QString> fromHost[] = {
        {m_home + u"/Pictures/a.jpg"_s, u"\\My Documents\\Pictures\\a.jpg"_s},
        {m_home, u"\\My Documents"_s},
        {u"/usr//share/../lib/"_s, u"\\usr\\lib"_s},
        {u"/"_s, u"\\"_s},
        {m_home + u"2/x"_s, QString(m_home + u"2/x"_s).replace(QLatin1Char('/'), QLatin1Char('\\'))},
        {u"day1/b.png"_s, u"\\My Documents\\Trip\\day1\\b.png"_s},
        {u"../c.gif"_s, u"\\My Documents\\c.gif"_s},
        {u"/My Documents/x.jpg"_s, u"refused"_s},  // the alias hides a host folder of that name
    };
    for (const auto& [host, device] : fromHost)
        EXPECT_EQ(Device(host), device) << host.toStdString();
    QString reason;
    EXPECT_EQ(Device(m_home + u"/a\\b.jpg"_s, &reason), u"refused"_s);
    EXPECT_TRUE(reason.contains(u"\\"_s));
}

TEST_F(DevicePathTest, ConfinedRootHasNoAliasAndNothingOutsideIt)
{
    const std::pair<QString, QString> toHost[] = {
        {u"\\a\\b.jpg"_s, m_root + u"/a/b.jpg"_s},
        {u"\\My Documents"_s, m_root + u"/My Documents"_s},
        {u"\\"_s, m_root},
        {u"\\..\\..\\etc\\passwd"_s, m_root + u"/etc/passwd"_s},
        {u"a/../../b"_s, m_root + u"/b"_s},
    };
    for (const auto& [device, host] : toHost)
        EXPECT_EQ(DevicePath::ToHost(device), host) << device.toStdString();
    ASSERT_TRUE(QFile::link(m_root, m_base + u"/link"_s));
    QDir::setCurrent(m_root + u"/Pictures"_s);
    const std::pair<QString, QString> fromHost[] = {
        {m_root + u"/My Documents/x.jpg"_s, u"\\My Documents\\x.jpg"_s},
        {m_root, u"\\"_s},
        {u"a.jpg"_s, u"\\Pictures\\a.jpg"_s},
        {m_base + u"/link/Pictures"_s, u"\\Pictures"_s},
        {m_root + u"/../home/a.jpg"_s, u"refused"_s},
        {m_root + u"x/a.jpg"_s, u"refused"_s},
        {m_root + u"/dir\\name/a.jpg"_s, u"refused"_s},
        {u"../../a.jpg"_s, u"refused"_s},
    };
    for (const auto& [host, device] : fromHost)
        EXPECT_EQ(Device(host), device) << host.toStdString();
    QString reason;
    EXPECT_EQ(Device(m_home + u"/a.jpg"_s, &reason), u"refused"_s);
    EXPECT_TRUE(reason.contains(m_root)) << reason.toStdString();
}

TEST_F(DevicePathTest, EnvironmentConfinesUnlessARootWasSet)
{
    DevicePath::SetDeviceRoot(QString());
    qputenv("LUMO_DEVICE_ROOT", QFile::encodeName(m_root));
    EXPECT_EQ(DevicePath::ToHost(u"\\a"_s), m_root + u"/a"_s);
    DevicePath::SetDeviceRoot(m_home);
    EXPECT_EQ(DevicePath::ToHost(u"\\a"_s), m_home + u"/a"_s);
}

TEST_F(DevicePathTest, ListingIsSortedWithoutCaseThenWithCase)
{
    for (const char* name : {"b.jpg", "A.jpg", "a.jpg", "C.jpg", "B.JPG"})
        Touch(m_root + QLatin1Char('/') + QLatin1String(name));
    std::vector<CFindData> entries;
    ASSERT_TRUE(EnumerateDirectory(u"\\"_s, &entries));
    EXPECT_EQ(Names(entries), (QStringList {"A.jpg", "a.jpg", "B.JPG", "b.jpg", "C.jpg", "Pictures"}));
    EXPECT_TRUE(entries[5].isDirectory);
}

TEST_F(DevicePathTest, ListingHidesDotNamesBackslashNamesAndBrokenLinks)
{
    QDir().mkpath(m_root + u"/pics/.thumbnails"_s);
    Touch(m_root + u"/pics/.hidden.jpg"_s);
    Touch(m_root + u"/pics/a\\b.jpg"_s);
    Touch(m_root + u"/pics/shown.jpg"_s, 1234);
    ASSERT_TRUE(QFile::link(m_root + u"/missing"_s, m_root + u"/pics/broken"_s));
    ASSERT_TRUE(QFile::link(m_root + u"/Pictures"_s, m_root + u"/pics/linked"_s));
    std::vector<CFindData> entries;
    ASSERT_TRUE(EnumerateDirectory(u"\\pics"_s, &entries));
    ASSERT_EQ(Names(entries), (QStringList {"linked", "shown.jpg"}));
    EXPECT_TRUE(entries[0].isDirectory);
    EXPECT_EQ(entries[1].size, 1234u);
    EXPECT_FALSE(EnumerateDirectory(u"\\no such folder"_s, &entries));
    EXPECT_TRUE(entries.empty());
    EXPECT_FALSE(EnumerateDirectory(u"\\pics\\shown.jpg"_s, &entries));
}

TEST_F(DevicePathTest, DefaultRootListingHoldsMyDocumentsAndNoPseudoCards)
{
    DevicePath::SetDeviceRoot(QString());
    std::vector<CFindData> entries;
    ASSERT_TRUE(EnumerateDirectory(u"\\"_s, &entries));
    const QStringList names = Names(entries);
    ASSERT_EQ(names.count(u"My Documents"_s), 1);
    EXPECT_TRUE(entries[names.indexOf(u"My Documents"_s)].isDirectory);
    for (const CFindData& e : entries)
        EXPECT_FALSE(e.isStorageCard && (QStringList {"proc", "sys", "dev"}.contains(e.name))) << e.name.toStdString();
}

TEST_F(DevicePathTest, RecursiveWalkEndsOnLinkLoopsAndEntersEachFolderOnce)
{
    QDir().mkpath(m_root + u"/a/b"_s);
    QDir(m_root + u"/Pictures"_s).removeRecursively();
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
}

TEST_F(DevicePathTest, KernelFileSystemsArePseudoAndWalksDoNotEnterThem)
{
    if (!HostFileSystem::IsPseudo(u"/proc"_s))
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
