// The document's file commands with a stand-in for their dialogs: Open File
// and Add File, Save As of the current picture with its writers and its
// failures, and a new catalog that tells the views at once that the old
// entries are gone.
#include "app/file_dialog_hooks.h"
#include "app/save_as.h"
#include "catalog_fixture.h"
#include "res/resource.h"

using namespace catalog_fixture;
using namespace Res;

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
        return Answer(path);
    }
    void ShowFolderBrowser() override { ++browserShown; }
    bool Answer(QString* path) { return !(*path = answers.isEmpty() ? QString() : answers.takeFirst()).isEmpty(); }

    QStringList answers, patterns;
    std::vector<QStringList> saves;
    int browserShown = 0;
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
        Settings::SetThumbnailViewMode(Settings::kModeList);
        m_doc.AddView(&m_view);
        m_doc.SetFileDialogHooks(&m_dialogs);
    }
    void TearDown() override
    {
        m_doc.RemoveView(&m_view);
        MessageBoxService::SetPresenter(nullptr);
        CatalogFixture::TearDown();
    }
    void Run(int id, const QStringList& answers = {})
    {
        m_dialogs.answers = answers;
        ASSERT_TRUE(m_doc.HandleCommand(id));
    }
    QStringList DocPaths() { return Paths(m_doc.Catalog()); }

    ScratchRegistry m_registry {m_root};
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
    Run(ID_FILE_OPEN, {"\\a"});
    Run(ID_ADD_FILE, {"\\b\\3.bmp"});
    EXPECT_EQ(DocPaths(), (QStringList {"\\a\\1.jpg", "\\a\\2.png", "\\b\\3.bmp"}));
    EXPECT_EQ(m_doc.Catalog().GetSourcePath(), u"\\b\\3.bmp"_s);
    Run(ID_FILE_OPEN, {"\\a\\1.jpg"});
    Run(ID_ADD_FILE);
    EXPECT_EQ(DocPaths(), (QStringList {"\\a\\1.jpg"}));
    EXPECT_EQ(m_dialogs.patterns, QStringList(4, u"*.png"_s));
    Run(ID_BROWSER_FOLDER);
    EXPECT_EQ(m_dialogs.browserShown, 1);
}

TEST_F(FileCommands, ViewsHearTheOldEntriesAreGoneBeforeTheBuildRaisesAMessage)
{
    WritePicture(u"\\old\\1.bmp"_s);
    WriteBytes(u"\\bad.zip"_s, QByteArray("not an archive"));
    m_doc.OpenPicturePath(u"\\old"_s);
    m_doc.Catalog().SetCurrent(m_doc.Catalog().GetAt(0));
    m_doc.UpdateAllViews(nullptr, CImageCatalog::kHintCurrentChanged);
    ASSERT_NE(m_view.bound, nullptr);
    std::vector<CImageItem*> boundAtMessage;
    MessageBoxService::SetPresenter([&](const QString&) { boundAtMessage.push_back(m_view.bound); });
    m_doc.OpenPicturePath(u"\\bad.zip"_s);
    EXPECT_EQ(boundAtMessage, std::vector<CImageItem*> {nullptr});
    EXPECT_EQ(m_doc.Catalog().GetCount(), 0);
}

// The written layouts are ExportTest's; FileDialogs.SaveAsWritesByTheEnding... decodes them.
TEST_F(FileCommands, SaveAsWritesBmpOrJpegByItsEndingAndRefusesOthers)
{
    Run(ID_FILE_SAVE_AS);
    EXPECT_TRUE(m_dialogs.saves.empty());
    WriteBytes(u"\\p.jpg"_s, ToByteArray(RgbJpeg(101, 50)));
    m_doc.OpenPicturePath(u"\\p.jpg"_s);
    m_doc.Catalog().SetCurrent(m_doc.Catalog().GetAt(0));
    Run(ID_FILE_SAVE_AS, {"\\out.BMP"});
    Run(ID_FILE_SAVE_AS, {"\\out.jpg"});
    EXPECT_EQ(m_dialogs.saves[0], (QStringList {"\\p.jpg", QLatin1String(SaveAs::kPictureFilter), QString()}));
    EXPECT_TRUE(MessageBoxService::Messages().isEmpty());
    // Another ending or a failed write writes nothing and says so.
    WriteBytes(u"\\file"_s, "x");
    for (const char* answer : {"\\photo.jpeg", "\\photo.png", "\\photo", "\\file\\out.jpg"})
        Run(ID_FILE_SAVE_AS, {QLatin1String(answer)});
    const QStringList messages = MessageBoxService::Messages();
    ASSERT_EQ(messages.size(), 4);
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(messages[i].startsWith(u"photo"_s) && messages[i].contains(u".bmp"_s)) << messages[i].toStdString();
    EXPECT_EQ(messages[3], QLatin1String(SaveAs::kCouldNotCreate));
    EXPECT_EQ(QDir(m_root.path()).entryList(QDir::Files | QDir::Hidden),
              (QStringList {"file", "out.BMP", "out.jpg", "p.jpg", "registry.reg", "registry.reg.lock"}));
}

TEST(SaveAs, ProposesAMemberBesideItsArchive)
{
    CImageItem member;
    member.m_source = u"\\My Documents\\trip.zip"_s;
    member.m_path = u"day one/beach.jpg"_s;
    EXPECT_EQ(SaveAs::ProposedName(member), u"\\My Documents\\beach.jpg"_s);
    member.m_path = u"..\\..\\x.jpg"_s;
    EXPECT_EQ(SaveAs::ProposedName(member), u"\\My Documents\\x.jpg"_s);
}
