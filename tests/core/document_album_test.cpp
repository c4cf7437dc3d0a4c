// The document's Save As Album: the albums folder is made when missing and
// the catalog written there reads back with its memos.
#include "app/lumo_doc.h"
#include "platform/device_path.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(DocumentAlbum, SaveAsAlbumMakesTheAlbumsFolderAndTheAlbumReadsBack)
{
    QTemporaryDir root;
    DevicePath::SetDeviceRoot(root.path());
    QDir(root.path()).mkpath(QStringLiteral("My Documents"));
    for (const char* name : {"one.jpg", "two.png"}) {
        QFile f(root.path() + "/" + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    CLumoDoc doc;
    for (const char* name : {"\\one.jpg", "\\two.png"}) {
        auto* item = new CImageItem;
        item->m_path = QString::fromLatin1(name);
        item->m_memoContent = QStringLiteral("memo of ") + item->m_path;
        doc.Catalog().Append(item);
    }
    const QString album = QStringLiteral("\\My Documents\\Lumo Albums\\trip.lab");
    ASSERT_EQ(doc.SaveAsAlbum(album), 1);
    EXPECT_TRUE(QFileInfo(root.path() + "/My Documents/Lumo Albums").isDir());

    CImageCatalog reread;
    reread.LoadAlbum(album, 0);
    ASSERT_EQ(reread.GetCount(), 2);
    EXPECT_EQ(reread.GetAt(1)->m_path, QStringLiteral("\\two.png"));
    EXPECT_EQ(reread.GetAt(1)->m_memoContent, QStringLiteral("memo of \\two.png"));
    DevicePath::SetDeviceRoot(QString());
}
