// File Open, the folder browser and the save-file dialog through the real
// program, driven by scripts as the pen would drive them, and the File Open
// divider dragged in process.
#include "app/settings.h"
#include "res/resource.h"
#include "shell/file_open_dlg.h"

#include "lumo_run.h"

#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

class FileDialogs : public ::testing::Test {
protected:
    void TearDown() override { CRegistryStore::Instance().SetFile(QString()); }
    // A file of the device root with size bytes (a picture where it says so).
    void Write(const QString& devicePath, qint64 size = 1) const
    {
        const QString host = m_run.Root() + QString(devicePath).replace(QLatin1Char('\\'), QLatin1Char('/'));
        if (host.endsWith(QLatin1String(".bmp")) && size == 1)
            return WriteBmp(host, 8, 6, Qt::blue);
        QDir().mkpath(QFileInfo(host).path());
        QFile f(host);
        f.open(QIODevice::WriteOnly);
        f.resize(size);
    }
    QJsonObject TopOf(const char* dump) const { return Top(m_run.Dump(QLatin1String(dump))); }
    // A field of a control of the top-most dialog in the named dump.
    QJsonValue Field(const char* dump, int id, const char* field = "enabled") const
    {
        return Control(TopOf(dump), id)[QLatin1String(field)];
    }
    static QStringList ReportColumn(const QJsonObject& dialog, int column)
    {
        QStringList texts;
        for (const QJsonValue& row : Control(dialog, Res::IDC_FILE_LIST)["items"].toArray())
            texts << row[column].toString();
        return texts;
    }

    LumoRun m_run;
};

}  // namespace

TEST_F(FileDialogs, FileOpenSelectsTheRememberedFolderAndForgetsAChosenFileTheListOrItsFolderLoses)
{
    Write(QStringLiteral("\\My Documents\\pics\\a.bmp"));
    LumoResult r
        = m_run.Run(QStringLiteral("command 57601\ndump start.json\nselect 1042 \"\\My Documents\\pics\"\n"
                                   "dump folder.json\nselect 1043 a.bmp\ndump tapped.json\n"
                                   "select 1044 \"bmp Files(*.bmp)\"\ndump kept.json\n"
                                   "select 1044 \"jpeg Files(*.jpg)\"\ndump gone.json\n"
                                   "select 1044 \"all Files(*.*)\"\nselect 1043 a.bmp\nclick 1\nidle\ndump -\n"));
    EXPECT_EQ(Field("start.json", Res::IDC_FOLDER_TREE, "selected"), "");
    EXPECT_TRUE(ReportColumn(TopOf("start.json"), 0).isEmpty());
    // OK waits for a tap on a file, not for a folder.
    EXPECT_EQ(Field("folder.json", DialogId::kOk), false);
    EXPECT_EQ(Field("tapped.json", DialogId::kOk), true);
    // OK never returns a file the list no longer shows, nor joins a file
    // tapped in one folder to another folder.
    EXPECT_EQ(Field("kept.json", DialogId::kOk), true);
    EXPECT_EQ(Field("kept.json", Res::IDC_FILE_LIST, "selected"), 0);
    EXPECT_EQ(Field("gone.json", DialogId::kOk), false);
    EXPECT_EQ(r.dump["sourcePath"].toString(), QStringLiteral("\\My Documents\\pics\\a.bmp"));
    m_run.ReadStoredSettings();
    EXPECT_EQ(Settings::FileOpenPath(), QStringLiteral("\\My Documents\\pics\\"));
    EXPECT_EQ(Settings::FileOpenFilter(), QStringLiteral("*.*"));

    // Next time the stored folder is selected and listed; Cancel stores nothing.
    m_run.Run(QStringLiteral("command 57601\ndump again.json\nselect 1043 a.bmp\nclick 32849\n"
                             "select 1042 \"\\My Documents\"\ndump moved.json\nclick 2\n"));
    EXPECT_EQ(Field("again.json", Res::IDC_FOLDER_TREE, "selected"), "\\My Documents\\pics");
    EXPECT_EQ(ReportColumn(TopOf("again.json"), 0), QStringList {QStringLiteral("a.bmp")});
    EXPECT_EQ(Field("moved.json", DialogId::kOk), false);
    EXPECT_EQ(Settings::FileOpenPath(), QStringLiteral("\\My Documents\\pics\\"));
}

TEST_F(FileDialogs, FileOpenListsSizesKeepsAnUnknownPatternAndAnAnswerOpensOnlyWhatItLists)
{
    // A script's answer opens and adds, and fails on a file the list does not show.
    Write(QStringLiteral("\\p\\a.bmp"));
    Write(QStringLiteral("\\q\\b.bmp"));
    const LumoResult r = m_run.Run(QStringLiteral("answer \\p\\a.bmp\ncommand 57601\nanswer \\q\\b.bmp\ncommand 32789\n"
                                                  "answer cancel\ncommand 57601\nidle\ndump -\n"));
    EXPECT_EQ(Paths(r.dump), (QStringList {"\\p\\a.bmp", "\\q\\b.bmp"}));
    EXPECT_TRUE(r.dump["dialogs"].toArray().isEmpty());

    const LumoResult missing = m_run.Run(QStringLiteral("answer \\p\\c.bmp\ncommand 57601\n"), {}, {}, 2);
    EXPECT_TRUE(missing.err.contains(QStringLiteral("lists no file \"c.bmp\""))) << missing.err.toStdString();

    for (qint64 size : {1024, 1025, 1048576, 1048577})
        Write(QStringLiteral("\\d\\s%1.bin").arg(size), size);
    Write(QStringLiteral("\\d\\other.txt"));
    Write(QStringLiteral("\\d\\sub\\s10.bin"));
    m_run.Store(QStringLiteral("\"FileOpen Path\"=\"\\\\d\\\\\"\n\"FileOpen Filter\"=\"s10*\""));
    m_run.Run(QStringLiteral("command 57601\ndump list.json\nclick 32849\nselect 1042 \\d\\sub\ndump tree.json\n"
                             "click 32848\ndump both.json\nclick 2\n"));
    const QJsonObject list = TopOf("list.json");
    EXPECT_EQ(Control(list, Res::IDC_FILTER_COMBO)["text"], "all Files(*.*)");
    EXPECT_EQ(ReportColumn(list, 0), (QStringList {"s1024.bin", "s1025.bin", "s1048576.bin", "s1048577.bin"}));
    EXPECT_EQ(ReportColumn(list, 1), (QStringList {"1024", "1K", "1024K", "1M"}));
    EXPECT_EQ(Field("tree.json", Res::ID_VIEW_TREE, "checked"), true);
    EXPECT_EQ(Field("tree.json", Res::IDC_FILE_LIST, "visible"), false);
    EXPECT_EQ(ReportColumn(TopOf("tree.json"), 1), ReportColumn(list, 1));
    EXPECT_EQ(ReportColumn(TopOf("both.json"), 0), QStringList {QStringLiteral("s10.bin")});
    EXPECT_EQ(Field("both.json", Res::ID_VIEW_TREE_AND_LIST, "checked"), true);
}

TEST_F(FileDialogs, FolderBrowserSelectsTheRememberedPathAndBuildsOnTheWorker)
{
    Write(QStringLiteral("\\My Documents\\top.bmp"));
    Write(QStringLiteral("\\My Documents\\sub\\deep.bmp"));
    for (const char* name : {"a.zip", "n.zip", "b.zip", "m\\x.bmp"})
        Write(QStringLiteral("\\f\\%1").arg(QLatin1String(name)));
    const LumoResult r = m_run.Run(
        QStringLiteral("idle\ntap 30 255\ncommand 32779\ndump shown.json\nselect 1001 \\\ndump root.json\n"
                       "select 1001 \\f\\b.zip\n"
                       "dump zip.json\nselect 1001 \"\\My Documents\"\ncheck 1002 1\nclick 1003\nidle\ndump -\n"),
        {m_run.Path(QStringLiteral("f/m/x.bmp"))});
    const QJsonObject shown = m_run.Dump(QStringLiteral("shown.json"));
    // Over the picture, also after a tap made the strip's pane the active one.
    EXPECT_EQ(WindowRect(shown, QStringLiteral("CFolderBrowserWnd")), WindowRect(shown, QStringLiteral("CLumoView")));
    EXPECT_EQ(Field("shown.json", Res::IDC_BROWSER_TREE, "selected"), "\\My Documents");
    // While it is shown the picture commands wait, though there is a picture.
    EXPECT_FALSE(MenuFlag(shown, Res::ID_IMAGE_INFO, "enabled"));
    EXPECT_EQ(Field("root.json", Res::IDC_BROWSER_OK), false);
    // Folders and archives of a level in one sorted list.
    QStringList paths;
    for (const QJsonValue& p : Field("zip.json", Res::IDC_BROWSER_TREE, "paths").toArray())
        if (p.toString().startsWith(QLatin1String("\\f\\")) && p.toString().count(QLatin1Char('\\')) == 2)
            paths << p.toString();
    EXPECT_EQ(paths, (QStringList {"\\f\\a.zip", "\\f\\b.zip", "\\f\\m", "\\f\\n.zip"}));
    EXPECT_EQ(Field("zip.json", Res::IDC_BROWSER_OK), true);

    EXPECT_EQ(Paths(r.dump), (QStringList {"\\My Documents\\sub\\deep.bmp", "\\My Documents\\top.bmp"}));
    EXPECT_TRUE(r.dump["dialogs"].toArray().isEmpty());
    EXPECT_TRUE(MenuFlag(r.dump, Res::ID_IMAGE_INFO, "enabled"));
    m_run.ReadStoredSettings();
    EXPECT_EQ(Settings::CurrPath(), QStringLiteral("\\My Documents"));
    EXPECT_EQ(Settings::IncludeSubfolders(), 1);

    // Each archive is matched by its own path.
    m_run.Store(QStringLiteral("\"CurrPath\"=\"\\\\f\\\\n.zip\""));
    m_run.Run(QStringLiteral("command 32779\ndump again.json\nclick 1004\n"));
    EXPECT_EQ(Field("again.json", Res::IDC_BROWSER_TREE, "selected"), "\\f\\n.zip");
}

// Save As on a picture of an album; then the album saved through its command
// opens again with its memos.
TEST_F(FileDialogs, SaveAsWritesByTheEndingAndAsksBeforeReplacingAndAnAlbumOpensAgainWithItsMemos)
{
    QDir().mkpath(m_run.Path(QStringLiteral("pics/sub")));
    QImage picture(101, 50, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    ASSERT_TRUE(picture.save(m_run.Path(QStringLiteral("pics/p.jpg")), "JPG"));
    Write(QStringLiteral("\\pics\\old.bmp"), 77);
    Write(QStringLiteral("\\pics\\a.bmp"));
    WriteAlbum(m_run.Path(QStringLiteral("pics/in.lab")),
               {{QStringLiteral("\\pics\\p.jpg"), MemoText(QStringLiteral("0"), QStringLiteral("first"))},
                {QStringLiteral("\\pics\\a.bmp"), MemoText(QStringLiteral("2"), QStringLiteral("second"))}});
    const LumoResult r = m_run.Run(
        QStringLiteral("idle\nanswer \\pics\\out.bmp\ncommand 57604\nanswer \\pics\\out.jpg\ncommand 57604\n"
                       "answer \\pics\\photo.jpeg\ncommand 57604\nanswer \\pics\\photo.png\ncommand 57604\n"
                       "command 57604\ndump proposed.json\nsettext 1152 sub\nclick 1\ndump opened.json\nclick 2\n"
                       "answer \\pics\\old.bmp\ncommand 57604\ndump asked.json\nclick 7\nclick 2\ndump saved.json\n"
                       "command 32790\ndump album.json\nclick 2\n"
                       "answer \"\\My Documents\\Lumo Albums\\Trip\"\ncommand 32790\n"
                       "answer \"\\My Documents\\Lumo Albums\\Trip.lab\"\ncommand 57601\nidle\ndump -\n"),
        {m_run.Path(QStringLiteral("pics/in.lab"))});
    const QString pics = m_run.Path(QStringLiteral("pics/"));
    // The layouts themselves are the core tests' (ExportTest).
    EXPECT_EQ(QImage(pics + QStringLiteral("out.bmp"), "BMP").size(), QSize(101, 50));
    EXPECT_EQ(QImage(pics + QStringLiteral("out.jpg"), "JPG").size(), QSize(101, 50));
    EXPECT_FALSE(QFile::exists(pics + QStringLiteral("photo.jpeg")));
    EXPECT_FALSE(QFile::exists(pics + QStringLiteral("photo.png")));
    EXPECT_EQ(m_run.Dump(QStringLiteral("saved.json"))["messages"].toArray().size(), 2);
    EXPECT_EQ(Field("proposed.json", Res::IDC_SAVE_NAME, "text"), "p.jpg");
    EXPECT_EQ(Field("proposed.json", Res::IDC_SAVE_FOLDERS, "selected"), "\\pics");
    EXPECT_EQ(Field("proposed.json", Res::IDC_SAVE_FILES, "items"), (QJsonArray {"out.jpg", "p.jpg"}));
    // A folder's name opens the folder.
    EXPECT_EQ(Field("opened.json", Res::IDC_SAVE_FOLDERS, "selected"), "\\pics\\sub");
    EXPECT_EQ(Field("opened.json", Res::IDC_SAVE_NAME, "text"), "");
    EXPECT_EQ(TopOf("asked.json")["class"].toString(), QStringLiteral("CMessageBox"));
    EXPECT_EQ(QFileInfo(pics + QStringLiteral("old.bmp")).size(), 77);

    EXPECT_EQ(Field("album.json", Res::IDC_SAVE_NAME, "text"), "My Album");
    EXPECT_EQ(Field("album.json", Res::IDC_SAVE_FOLDERS, "selected"), "\\My Documents\\Lumo Albums");
    EXPECT_EQ(r.dump["sourcePath"].toString(), QStringLiteral("\\My Documents\\Lumo Albums\\Trip.lab"));
    QStringList memos;
    for (const QJsonValue& e : r.dump["entries"].toArray())
        memos << e["memo"]["content"].toString() + QLatin1Char('/') + e["memo"]["align"].toString();
    EXPECT_EQ(memos, (QStringList {"first/0", "second/2"}));
}

// The divider follows the pen only while tree and list both show, and
// leaves each of them at least a row.
TEST(FileOpenDivider, FollowsThePenWithinBothPanesAndOnlyInTheSplitView)
{
    ScratchRoot root;
    CFileOpenDlg dialog(nullptr);
    dialog.setGeometry(0, 26, 240, 294);
    dialog.show();
    auto* tree = dialog.findChild<QTreeWidget*>(QString::number(Res::IDC_FOLDER_TREE));
    auto* list = dialog.findChild<QTreeWidget*>(QString::number(Res::IDC_FILE_LIST));
    const auto drag = [&](int from, int to) {
        QTest::mousePress(&dialog, Qt::LeftButton, {}, QPoint(120, from));
        QTest::mouseMove(&dialog, QPoint(120, to));
        QTest::mouseRelease(&dialog, Qt::LeftButton, {}, QPoint(120, to));
    };
    drag(123, 163);
    EXPECT_EQ(dialog.Divider(), 160);
    EXPECT_EQ(list->geometry().top(), 167);
    for (int to : {-400, 900}) {
        drag(dialog.Divider() + 3, to);
        EXPECT_GT(tree->height(), tree->sizeHintForRow(0));
        EXPECT_GT(list->height(), list->sizeHintForRow(0));
        EXPECT_EQ(list->geometry().bottom() + 1, 294 - CFileOpenDlg::kToolBarHeight);
    }
    const int kept = dialog.Divider();
    QTest::mouseClick(dialog.findChild<QWidget*>(QString::number(Res::ID_VIEW_TREE)), Qt::LeftButton);
    drag(kept + 3, kept - 40);
    EXPECT_EQ(dialog.Divider(), kept);
}
