// The document's file commands with a stand-in for their dialogs: Open File
// and Add File, Save As of the current picture with its writers and its
// failures, Save As Album, and a new catalog that tells the views at once
// that the old entries are gone.
#include "app/album_file.h"
#include "app/file_dialog_hooks.h"
#include "app/lumo_doc.h"
#include "app/save_as.h"
#include "app/settings.h"
#include "catalog_fixture.h"
#include "image/jpeg_decoder.h"
#include "platform/registry_store.h"
#include "res/resource.h"

using namespace Qt::StringLiterals;

using namespace catalog_fixture;

namespace {

// Answers each dialog with the next queued path (an empty one cancels) and
// notes what it was given.
class DialogStandIn : public CFileDialogHooks {
public:
    bool RunFileOpen(const QString& pattern, QString* path) override
    {
        patterns << pattern;
        return Answer(path);
    }
    bool RunSaveFile(const QString& proposed, const QString& filter, const QString& extension, QString* path) override
    {
        saves.push_back({proposed, filter, extension});
        albumFolderAtDialog = QFileInfo(DevicePath::ToHost(AlbumFile::DefaultFolder())).isDir();
        return Answer(path);
    }
    void ShowFolderBrowser() override { ++browserShown; }

    QStringList answers;
    QStringList patterns;
    std::vector<QStringList> saves;
    bool albumFolderAtDialog = false;
    int browserShown = 0;

private:
    bool Answer(QString* path)
    {
        *path = answers.isEmpty() ? QString() : answers.takeFirst();
        return !path->isEmpty();
    }
};

// Binds the current entry at hint 0 as the main view does.
class BindingView : public CView {
public:
    void OnUpdate(CView*, int hint) override
    {
        if (hint == CImageCatalog::kHintCurrentChanged)
            bound = static_cast<CLumoDoc*>(GetDocument())->Catalog().GetCurrent();
    }
    CImageItem* bound = nullptr;
};

class FileCommands : public CatalogFixture {
protected:
    void SetUp() override
    {
        CatalogFixture::SetUp();
        CRegistryStore::Instance().SetFile(m_root.filePath(u"registry.reg"_s));
        Settings::SetThumbnailViewMode(Settings::kModeList);
        m_doc.AddView(&m_view);
        m_doc.SetFileDialogHooks(&m_dialogs);
    }
    void TearDown() override
    {
        m_doc.RemoveView(&m_view);
        MessageBoxService::SetPresenter(nullptr);
        CRegistryStore::Instance().SetFile(m_root.filePath(u"unused.reg"_s));
        CatalogFixture::TearDown();
    }
    void Run(int id) { ASSERT_TRUE(m_doc.HandleCommand(id)); }
    QStringList DocPaths() const { return Paths(const_cast<CLumoDoc&>(m_doc).Catalog()); }
    // Opens a 101 x 50 JPEG and makes it current.
    void OpenJpeg()
    {
        WriteBytes(u"\\p.jpg"_s, ToByteArray(RgbJpeg(101, 50)));
        m_doc.OpenPicturePath(u"\\p.jpg"_s);
        m_doc.Catalog().SetCurrent(m_doc.Catalog().GetAt(0));
    }

    CLumoDoc m_doc;
    BindingView m_view;
    DialogStandIn m_dialogs;
};

}  // namespace

TEST_F(FileCommands, OpenFileStartsAnewAndAddFileAppendsWithTheStoredPattern)
{
    for (const char* name : {"\\a\\1.jpg", "\\a\\2.png", "\\b\\3.bmp"})
        WritePicture(QLatin1String(name));
    Settings::SetFileOpenFilter(u"*.png"_s);
    m_dialogs.answers = QStringList {"\\a", "\\b\\3.bmp", "\\a\\1.jpg", QString()};
    Run(Res::ID_FILE_OPEN);
    EXPECT_EQ(DocPaths(), (QStringList {"\\a\\1.jpg", "\\a\\2.png"}));
    Run(Res::ID_ADD_FILE);
    EXPECT_EQ(DocPaths(), (QStringList {"\\a\\1.jpg", "\\a\\2.png", "\\b\\3.bmp"}));
    EXPECT_EQ(m_doc.Catalog().GetSourcePath(), u"\\b\\3.bmp"_s);
    Run(Res::ID_FILE_OPEN);
    EXPECT_EQ(DocPaths(), (QStringList {"\\a\\1.jpg"}));
    // Cancel changes nothing.
    Run(Res::ID_ADD_FILE);
    EXPECT_EQ(DocPaths(), (QStringList {"\\a\\1.jpg"}));
    EXPECT_EQ(m_dialogs.patterns, QStringList(4, u"*.png"_s));
    Run(Res::ID_BROWSER_FOLDER);
    EXPECT_EQ(m_dialogs.browserShown, 1);
}

TEST_F(FileCommands, ViewsHearTheOldEntriesAreGoneBeforeTheBuildRaisesAMessage)
{
    for (const char* name : {"\\old\\1.bmp", "\\old\\2.bmp"})
        WritePicture(QLatin1String(name));
    WriteBytes(u"\\bad.zip"_s, QByteArray("not an archive"));
    m_doc.OpenPicturePath(u"\\old"_s);
    m_doc.Catalog().SetCurrent(m_doc.Catalog().GetAt(1));
    m_doc.UpdateAllViews(nullptr, CImageCatalog::kHintCurrentChanged);
    ASSERT_NE(m_view.bound, nullptr);

    // While the box is up the views repaint: what they hold must still exist.
    std::vector<CImageItem*> boundAtMessage;
    MessageBoxService::SetPresenter([&](const QString&) { boundAtMessage.push_back(m_view.bound); });
    m_doc.OpenPicturePath(u"\\bad.zip"_s);
    ASSERT_EQ(boundAtMessage.size(), 1u);
    EXPECT_EQ(boundAtMessage[0], nullptr);
    EXPECT_EQ(m_doc.Catalog().GetCount(), 0);
}

TEST_F(FileCommands, SaveAsWritesTheDecodedPictureAsBmpOrJpegByItsEnding)
{
    OpenJpeg();
    m_dialogs.answers = QStringList {"\\out.BMP", "\\out.jpg"};
    Run(Res::ID_FILE_SAVE_AS);
    Run(Res::ID_FILE_SAVE_AS);
    EXPECT_EQ(m_dialogs.saves[0], (QStringList {"\\p.jpg", QLatin1String(SaveAs::kPictureFilter), QString()}));
    // Rows of 303 bytes padded to 304: 54 + 304 x 50 bytes.
    const QByteArray bmp = ReadBytes(u"\\out.BMP"_s);
    ASSERT_EQ(bmp.size(), 15254);
    EXPECT_EQ(bmp.left(2), QByteArray("BM"));
    EXPECT_EQ(uint8_t(bmp[2]) | uint8_t(bmp[3]) << 8 | uint8_t(bmp[4]) << 16, 15254);
    EXPECT_EQ(uint8_t(bmp[18]), 101);

    const QByteArray jpeg = ReadBytes(u"\\out.jpg"_s);
    EXPECT_EQ(jpeg.mid(6, 5), QByteArray("JFIF\0", 5));
    EXPECT_TRUE(jpeg.contains(QByteArray("\xFF\xC0", 2)));  // baseline
    JpegImage decoded;
    ASSERT_EQ(DecodeJpegMemory(reinterpret_cast<const uint8_t*>(jpeg.constData()), size_t(jpeg.size()), {}, &decoded),
              JpegStatus::kDecoded);
    EXPECT_EQ(decoded.outputWidth, 101);
    EXPECT_EQ(decoded.outputHeight, 50);
    EXPECT_TRUE(MessageBoxService::Messages().isEmpty());
}

TEST_F(FileCommands, SaveAsOfAnotherEndingOrAFailedWriteWritesNothingAndSaysSo)
{
    OpenJpeg();
    WriteBytes(u"\\file"_s, "x");
    m_dialogs.answers = QStringList {"\\photo.jpeg", "\\photo.png", "\\photo", "\\file\\out.jpg"};
    for (int i = 0; i < 4; ++i)
        Run(Res::ID_FILE_SAVE_AS);
    const QStringList messages = MessageBoxService::Messages();
    ASSERT_EQ(messages.size(), 4);
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(messages[i].contains(u".bmp"_s) && messages[i].contains(u".jpg"_s)) << messages[i].toStdString();
        EXPECT_TRUE(messages[i].startsWith(u"photo"_s));
    }
    EXPECT_EQ(messages[3], QLatin1String(SaveAs::kCouldNotCreate));
    EXPECT_EQ(QDir(m_root.path()).entryList(QDir::Files | QDir::Hidden),
              (QStringList {"file", "p.jpg", "registry.reg", "registry.reg.lock"}));
}

TEST_F(FileCommands, SaveAsProposesAMemberBesideItsArchiveAndNeedsACurrentPicture)
{
    Run(Res::ID_FILE_SAVE_AS);
    EXPECT_TRUE(m_dialogs.saves.empty());
    CImageItem member;
    member.m_source = u"\\My Documents\\trip.zip"_s;
    member.m_path = u"day one/beach.jpg"_s;
    EXPECT_EQ(SaveAs::ProposedName(member), u"\\My Documents\\beach.jpg"_s);
    member.m_path = u"..\\..\\x.jpg"_s;
    EXPECT_EQ(SaveAs::ProposedName(member), u"\\My Documents\\x.jpg"_s);
}

TEST_F(FileCommands, AlbumSavedThroughTheCommandOpensAgainWithItsMemos)
{
    for (const char* name : {"\\a\\1.jpg", "\\a\\2.png"})
        WritePicture(QLatin1String(name));
    m_doc.OpenPicturePath(u"\\a"_s);
    m_doc.Catalog().GetAt(0)->m_memoContent = u"first memo"_s;
    m_doc.Catalog().GetAt(1)->m_memoItalic = 1;
    const QString album = AlbumFile::DefaultFolder() + u"\\trip.lab"_s;
    m_dialogs.answers = QStringList {album};
    Run(Res::ID_SAVE_AS_ALBUM);
    EXPECT_TRUE(m_dialogs.albumFolderAtDialog);
    EXPECT_EQ(m_dialogs.saves[0],
              (QStringList {AlbumFile::DefaultName(), QLatin1String(SaveAs::kAlbumFilter), u"lab"_s}));

    m_dialogs.answers = QStringList {album};
    Run(Res::ID_FILE_OPEN);
    ASSERT_EQ(DocPaths(), (QStringList {"\\a\\1.jpg", "\\a\\2.png"}));
    EXPECT_EQ(m_doc.Catalog().GetAt(0)->m_memoContent, u"first memo"_s);
    EXPECT_EQ(m_doc.Catalog().GetAt(1)->m_memoItalic, 1);
    EXPECT_EQ(m_doc.Catalog().GetSourcePath(), album);

    // A file that cannot be made: the system's own text.
    m_dialogs.answers = QStringList {u"\\a\\1.jpg\\x.lab"_s};
    Run(Res::ID_SAVE_AS_ALBUM);
    EXPECT_EQ(MessageBoxService::Messages(), QStringList {QLatin1String(SaveAs::kCouldNotCreate)});
}
