// The File Association page's record in the registry stand-in, and on a
// desktop the user's list of default applications following its boxes: a
// type's line set, replaced and removed the way `xdg-mime default` does it.
#include "app/desktop_defaults.h"
#include "app/file_association.h"
#include "platform/message_box.h"
#include "platform/profile.h"
#include "platform/registry_store.h"
#include "platform/xdg_mime_apps.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

using FileAssociation::Values;
using namespace XdgMimeApps;

namespace {

const QString kLumo = QString::fromLatin1(FileAssociation::kLumoCommand);
const QString kOther = QString::fromLatin1(FileAssociation::kOtherCommand);

void WriteFile(const QString& path, const QByteArray& text)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(text);
}

std::string ReadFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : std::string();
}

class FileAssociationTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CRegistryStore::Instance().SetFile(Path("registry.reg"));
        Profile::SetAppName(u"lumo_file_association_test"_s);
        MessageBoxService::SetEcho(false);
        MessageBoxService::ClearMessages();
        for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME"}) {
            m_savedEnv.emplace_back(name, qgetenv(name));
            qputenv(name, Path(name).toUtf8());
        }
    }
    void TearDown() override
    {
        for (const auto& [name, value] : m_savedEnv)
            qputenv(name, value);
        CRegistryStore::Instance().SetFile(Path("unused.reg"));
    }
    QString Path(const char* name) const { return m_dir.filePath(QString::fromLatin1(name)); }
    // A null command leaves the key out, an empty one leaves it without its value "Default".
    void StoreCommands(const std::array<const char*, 4>& commands)
    {
        QByteArray text = "REGEDIT4\n";
        for (int type = 0; type < FileAssociation::kTypeCount; ++type)
            if (const char* command = commands[size_t(type)])
                text += "\n[" + FileAssociation::KeyOf(type).toUtf8() + "]\n\"" + (*command ? "Default" : "Other")
                        + "\"=\"" + command + "\"\n";
        WriteFile(Path("registry.reg"), text);
    }
    RegValue Stored(int type)
    {
        RegValue value;
        CRegistryStore::Instance().Read(FileAssociation::KeyOf(type), u"Default"_s, &value);
        return value;
    }
    void InstallDesktopEntry()
    {
        WriteFile(Path("XDG_DATA_HOME") + u"/applications/"_s + DesktopDefaults::DesktopId(), "[Desktop Entry]\n");
    }

    QTemporaryDir m_dir;
    std::vector<std::pair<const char*, QByteArray>> m_savedEnv;
};

}  // namespace

// Lumo.exe anywhere in a command counts. Reading stops at the first key that
// cannot be opened or value that cannot be read (longer than the 512 bytes
// read); writing skips missing keys.
TEST_F(FileAssociationTest, LumoExeAnywhereCountsReadingStopsAtTheFirstFailureAndWritingSkipsMissingKeys)
{
    EXPECT_EQ(FileAssociation::Read(), (Values {0, 0, 0, 0}));  // a fresh device
    EXPECT_TRUE(MessageBoxService::Messages().isEmpty());
    const QByteArray tooLong = "Lumo.exe " + QByteArray(300, 'x');  // 620 bytes as UTF-16
    const struct {
        std::array<const char*, 4> commands;
        Values values;
        const char* message;
    } cases[] = {
        {{"\\\"\\\\Storage Card\\\\Apps\\\\Lumo.exe\\\" %1", "\\\"\\\\Program Files\\\\Viewer\\\\view.exe\\\" %1",
          "lumo.exe %1", "Lumo.exe"},
         {1, 0, 0, 1},
         nullptr},
        {{nullptr, "Lumo.exe", "Lumo.exe", "Lumo.exe"}, {0, 0, 0, 0}, "Failure open reg bmp files"},
        {{"Lumo.exe", "", "Lumo.exe", "Lumo.exe"}, {1, 0, 0, 0}, "Failure query reg gif files"},
        {{"Lumo.exe", "Lumo.exe", tooLong.constData(), "Lumo.exe"}, {1, 1, 0, 0}, "Failure query reg jpeg files"},
    };
    for (const auto& c : cases) {
        MessageBoxService::ClearMessages();
        StoreCommands(c.commands);
        EXPECT_EQ(FileAssociation::Read(), c.values) << c.message;
        EXPECT_EQ(MessageBoxService::Messages(),
                  c.message ? QStringList {QString::fromLatin1(c.message)} : QStringList());
    }
    StoreCommands({nullptr, "Lumo.exe", "Lumo.exe", "Lumo.exe"});
    FileAssociation::Write({0, 0, 1, 1}, false);
    EXPECT_FALSE(CRegistryStore::Instance().KeyExists(FileAssociation::KeyOf(0)));
    for (int type = 1; type < FileAssociation::kTypeCount; ++type)
        EXPECT_EQ(Stored(type), RegValue::ExpandString(type < 2 ? kOther : kLumo)) << type;
}

// Nothing changes on the desktop until Lumo's entry is installed; a type
// another viewer holds is left alone when unticked.
TEST_F(FileAssociationTest, OnADesktopTickedTypesBecomeLumosAndUntickedOnesGoBack)
{
    const QString list = XdgMimeApps::UserListFile();
    const QByteArray before = "[Added Associations]\nimage/png=gimp.desktop;\n\n[Default Applications]\n"
                              "image/png=eog.desktop\nimage/gif=eog.desktop\nimage/jpeg=gimp.desktop\n";
    WriteFile(list, before);
    FileAssociation::Write({1, 1, 1, 1}, true);
    EXPECT_EQ(ReadFile(list), before.toStdString());
    InstallDesktopEntry();
    const QString head = u"[Added Associations]\nimage/png=gimp.desktop;\n\n[Default Applications]\nimage/png=%1\n"_s;
    FileAssociation::Write({1, 1, 0, 1}, true);
    EXPECT_EQ(ReadFile(list), (head + u"image/gif=%1\nimage/jpeg=gimp.desktop\nimage/bmp=%1\n"_s)
                                  .arg(DesktopDefaults::DesktopId())
                                  .toStdString());
    // Ticked again: nothing new is remembered over the application Lumo replaced.
    FileAssociation::Write({1, 1, 0, 1}, true);
    FileAssociation::Write({0, 0, 0, 1}, true);
    EXPECT_EQ(
        ReadFile(list),
        (head + u"image/gif=eog.desktop\nimage/jpeg=gimp.desktop\n"_s).arg(DesktopDefaults::DesktopId()).toStdString());
    EXPECT_TRUE(MessageBoxService::Messages().isEmpty());
}

TEST_F(FileAssociationTest, AListThatCannotBeWrittenIsReported)
{
    InstallDesktopEntry();
    WriteFile(Path("blocker"), "a file where the configuration folder should be");
    qputenv("XDG_CONFIG_HOME", Path("blocker").toUtf8() + "/config");
    FileAssociation::Write({0, 1, 0, 0}, true);
    EXPECT_EQ(Stored(1), RegValue::ExpandString(kLumo));
    EXPECT_EQ(MessageBoxService::Messages(), QStringList {u"Failure in setting Lumo as a default picture viewer"_s});
}

TEST(XdgMimeApps, DefaultLineIsSetReplacedOrRemovedAndOtherLinesKept)
{
    const struct {
        const char* name;
        QByteArray before;
        const char* ids;
        QByteArray after;
    } cases[] = {
        {"no file", "", "lumo.desktop", "[Default Applications]\nimage/png=lumo.desktop\n"},
        {"section added after others", "[Added Associations]\nimage/png=gimp.desktop;\n", "lumo.desktop",
         "[Added Associations]\nimage/png=gimp.desktop;\n\n[Default Applications]\nimage/png=lumo.desktop\n"},
        {"first line replaced, later ones dropped, spaces around = read",
         "[Default Applications]\nimage/png = eog.desktop\n# note\nimage/png=x.desktop\ntext/plain=gedit.desktop\n",
         "lumo.desktop", "[Default Applications]\nimage/png=lumo.desktop\n# note\ntext/plain=gedit.desktop\n"},
        {"added at the end of the section, before its blank lines",
         "[Default Applications]\ntext/plain=gedit.desktop\n\n\n[Removed Associations]\nimage/png=eog.desktop\n",
         "lumo.desktop",
         "[Default Applications]\ntext/plain=gedit.desktop\nimage/png=lumo.desktop\n\n\n"
         "[Removed Associations]\nimage/png=eog.desktop\n"},
        {"removed only from its own section, a missing last newline kept missing",
         "[Added Associations]\nimage/png=eog.desktop;\n[Default Applications]\nimage/png=lumo.desktop\nx/y=z", "",
         "[Added Associations]\nimage/png=eog.desktop;\n[Default Applications]\nx/y=z"},
        {"removing what is not there changes nothing", "[Default Applications]\nx/y=z\n", "",
         "[Default Applications]\nx/y=z\n"},
    };
    for (const auto& c : cases) {
        const QByteArray after = WithDefaults(c.before, u"image/png"_s, QString::fromLatin1(c.ids));
        EXPECT_EQ(after.toStdString(), c.after.toStdString()) << c.name;
        EXPECT_EQ(DefaultsIn(after, u"image/png"_s), QString::fromLatin1(c.ids)) << c.name;
    }
}

// A list kept elsewhere (dotfiles) and linked into the configuration folder.
TEST_F(FileAssociationTest, ListChangesReachTheFileThroughALinkToIt)
{
    const QString target = Path("mimeapps.list");
    WriteFile(target, "[Default Applications]\ntext/plain=gedit.desktop\n");
    ASSERT_TRUE(QDir().mkpath(Path("XDG_CONFIG_HOME")) && QFile::link(target, UserListFile()));
    ASSERT_TRUE(SetUserDefaults(u"image/gif"_s, u"lumo.desktop"_s));
    EXPECT_EQ(UserDefaults(u"image/gif"_s), u"lumo.desktop"_s);
    EXPECT_TRUE(QFileInfo(UserListFile()).isSymLink());
    EXPECT_EQ(ReadFile(target), "[Default Applications]\ntext/plain=gedit.desktop\nimage/gif=lumo.desktop\n");
}
