// The Image Info dialog through the real program: its labels and the facts
// of the current entry; without one, empty fields.
#include "shell/image_info_dlg.h"

#include "dialog_dump.h"
#include "in_process.h"
#include "lumo_run.h"
#include "ui_pictures.h"

#include <QDateTime>
#include <QDir>
#include <QJsonArray>
#include <QLabel>
#include <gtest/gtest.h>

namespace {

QStringList FieldTexts(const QJsonObject& dialog)
{
    QStringList texts;
    for (int id = 1007; id <= 1016; ++id)
        texts << DialogDump::Text(dialog, id);
    return texts;
}

}  // namespace

TEST(ImageInfoDialog, ShowsTheCurrentEntrysFactsUnderTheirLabelsUntilClosed)
{
    struct Case {
        const char* file;    // under \pics
        const char* script;  // before the dialog opens
        const char* close;   // how the script closes it
        QStringList fields;  // 1007 to 1016
    };
    const Case cases[] = {
        {"sunset.bmp",
         "command 32813\ncommand 32793\n",
         "click 1",  // turned right, 100 %
         {"sunset.bmp", "\\pics", "2004-3-5 9:7:2", "246 Bytes", "24 Bits", "10 x 6", "+90", "100 %", "0", "0"}},
        // Scanned with subfolders: the top folder is the location.
        {"sub/inner.bmp",
         "",
         "key Escape",
         {"inner.bmp", "\\pics", "2004-3-5 9:7:2", "246 Bytes", "24 Bits", "10 x 6", "+0", "Shrink To Fill", "0", "0"}},
    };
    for (const Case& c : cases) {
        LumoRun run;
        const QString host = run.Root() + QStringLiteral("/pics/") + QString::fromLatin1(c.file);
        QDir().mkpath(QFileInfo(host).path());
        UiPictures::WriteBmp(host, 10, 6, Qt::green);
        QFile file(host);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        file.setFileTime(QDateTime(QDate(2004, 3, 5), QTime(9, 7, 2), Qt::UTC), QFileDevice::FileModificationTime);
        file.close();
        const QString inside = run.Dir() + QStringLiteral("/inside.json");
        const LumoResult r = run.Run(QStringLiteral("browse \\pics 1\nidle\n%1command 32800\ndump %2\n%3\ndump -\n")
                                         .arg(QString::fromLatin1(c.script), inside, QString::fromLatin1(c.close)));
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        const QJsonObject in = UiPictures::ReadDump(inside);
        const QJsonObject dialog = DialogDump::Top(in);
        EXPECT_EQ(dialog["class"].toString(), QStringLiteral("CImageInfoDlg"));
        EXPECT_EQ(in["title"].toString(), QStringLiteral("Image Info"));
        EXPECT_EQ(DialogDump::Labels(dialog),
                  (QStringList {"Image Info", "File Info", "Filename:", "Location:", "Time:", "Size:", "Image Info",
                                "Colors:", "Size:", "Rotaion:", "Zoom:", "Brightness:", "Contrast:"}));
        EXPECT_EQ(FieldTexts(dialog), c.fields) << c.file;
        EXPECT_TRUE(r.dump["dialogs"].toArray().isEmpty()) << c.close;
        EXPECT_EQ(r.dump["title"].toString(), QStringLiteral("Lumo")) << c.close;
    }
}

TEST(ImageInfoDialog, WithoutACurrentEntryEveryFieldIsEmpty)
{
    EnsureApplication();
    CImageInfoDlg dialog(nullptr);
    for (int id = 1007; id <= 1016; ++id) {
        const auto* field = dialog.findChild<QLabel*>(QString::number(id));
        ASSERT_TRUE(field) << id;
        EXPECT_TRUE(field->text().isEmpty()) << id;
    }
}
