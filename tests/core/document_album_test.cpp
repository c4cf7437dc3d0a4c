// The document's Save As Album: the albums folder is made when missing and
// the catalog written there reads back with its memos.
#include "app/lumo_doc.h"
#include "platform/device_path.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(DocumentAlbum, SaveAsAlbumMakesTheAlbumsFolderAndTheAlbumReadsBack)
{
    QTemporaryDir root;
    DevicePath::SetDeviceRoot(root.path());
    QDir(root.path()).mkpath(u"My Documents"_s);
    for (const char* name : {"one.jpg", "two.png"}) {
        QFile f(root.path() + "/" + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    CLumoDoc doc;
    for (const char* name : {"\\one.jpg", "\\two.png"}) {
        auto* item = new CImageItem;
        item->m_path = QString::fromLatin1(name);
        item->m_memoContent = u"memo of "_s + item->m_path;
        doc.Catalog().Append(item);
    }
    const QString album = u"\\My Documents\\Lumo Albums\\trip.lab"_s;
    ASSERT_EQ(doc.SaveAsAlbum(album), 1);
    EXPECT_TRUE(QFileInfo(root.path() + "/My Documents/Lumo Albums").isDir());

    CImageCatalog reread;
    reread.LoadAlbum(album, 0);
    ASSERT_EQ(reread.GetCount(), 2);
    EXPECT_EQ(reread.GetAt(1)->m_path, u"\\two.png"_s);
    EXPECT_EQ(reread.GetAt(1)->m_memoContent, u"memo of \\two.png"_s);
    DevicePath::SetDeviceRoot(QString());
}
