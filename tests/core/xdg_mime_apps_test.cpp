// The user's list of default applications: a type's line set, replaced and
// removed the way `xdg-mime default` does it, every other line kept.
#include "platform/xdg_mime_apps.h"
#include "tests/core/test_pictures.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

using namespace XdgMimeApps;

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

TEST(XdgMimeApps, ChangesReachTheFileThroughALinkToIt)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QByteArray oldConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", dir.filePath(u"config"_s).toUtf8());
    // A list kept elsewhere (dotfiles) and linked into the configuration folder.
    const QString target = dir.filePath(u"mimeapps.list"_s);
    ASSERT_TRUE(WriteTestFile(target, "[Default Applications]\ntext/plain=gedit.desktop\n"));
    ASSERT_TRUE(QDir().mkpath(dir.filePath(u"config"_s)) && QFile::link(target, UserListFile()));
    ASSERT_TRUE(SetUserDefaults(u"image/gif"_s, u"lumo.desktop"_s));
    EXPECT_EQ(UserDefaults(u"image/gif"_s), u"lumo.desktop"_s);
    EXPECT_TRUE(QFileInfo(UserListFile()).isSymLink());
    QFile f(target);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("[Default Applications]\ntext/plain=gedit.desktop\nimage/gif=lumo.desktop\n"));
    qputenv("XDG_CONFIG_HOME", oldConfig);
}
