// The Settings command: after OK the View page's mode is stored and applied,
// with a rebuild on the loader thread when the strip needs thumbnails, and
// full screen entered or left with the Resize and Rotation Angle choices.
#include "catalog_fixture.h"
#include "doc_fixture.h"
#include "res/resource.h"

using namespace Qt::StringLiterals;

using namespace catalog_fixture;

namespace {

// Answers the sheet as a user would: OK with the given choices, or Cancel.
class FakeSettingsSheet : public CSettingsSheetHooks {
public:
    bool RunSettingsSheet(CViewPageChoice* c) override
    {
        ++runs;
        *c = choice;
        return ok;
    }
    CViewPageChoice choice;
    bool ok = true;
    int runs = 0;
};

class SettingsCommandTest : public CatalogFixture {
protected:
    void SetUp() override
    {
        CatalogFixture::SetUp();
        EnsureApp();
        ASSERT_TRUE(m_dir.isValid());
        CRegistryStore::Instance().SetFile(m_dir.filePath(u"registry.reg"_s));
        Profile::SetRegistryKey(u"FARHAVEN"_s);
        Profile::SetAppName(u"lumo_settings_command_test"_s);
        m_doc = std::make_unique<CLumoDoc>();
        m_doc->AddView(&m_view);
        m_doc->SetFrameHooks(&m_frame);
        m_doc->SetSettingsSheet(&m_sheet);
    }
    void TearDown() override
    {
        m_doc.reset();
        CRegistryStore::Instance().SetFile(m_dir.filePath(u"unused.reg"_s));
        CatalogFixture::TearDown();
    }
    // Opens a folder of three pictures as the command line would, in mode.
    void OpenFolder(int mode)
    {
        for (const char* name : {"\\pics\\a.bmp", "\\pics\\b.jpg", "\\pics\\c.png"})
            WritePicture(QString::fromLatin1(name));
        Settings::SetThumbnailViewMode(mode);
        m_doc->OpenPicturePath(u"\\pics"_s);
        m_doc->Catalog().SetCurrent(m_doc->Catalog().GetList().front());
    }
    void RunSettings(int mode, int resizeChoice = -1, int angleChoice = -1)
    {
        m_sheet.choice = {mode, resizeChoice, angleChoice};
        ASSERT_TRUE(m_doc->HandleCommand(Res::ID_SETTINGS));
        m_doc->m_loader.WaitThread();
        m_doc->DeliverQueuedUpdates();
    }
    int Thumbnails() const
    {
        int n = 0;
        for (const CImageItem* item : m_doc->Catalog().GetList())
            n += item->m_thumbnail != nullptr;
        return n;
    }

    QTemporaryDir m_dir;
    FakeImageView m_view;
    FakeFrame m_frame;
    FakeSettingsSheet m_sheet;
    std::unique_ptr<CLumoDoc> m_doc;
};

}  // namespace

TEST_F(SettingsCommandTest, SameModeOrCancelAppliesNothing)
{
    OpenFolder(Settings::kModeStrip);
    const CImageItem* before = m_doc->Catalog().GetList().front();
    RunSettings(Settings::kModeStrip, 2, 1);
    m_sheet.ok = false;
    RunSettings(Settings::kModeList, 2, 1);
    EXPECT_EQ(m_sheet.runs, 2);
    EXPECT_EQ(Settings::ThumbnailViewMode(), Settings::kModeStrip);
    EXPECT_EQ(m_doc->m_autoResizeZoom, 0);
    EXPECT_EQ(m_doc->m_autoRotationAngle, 270);
    EXPECT_TRUE(m_frame.modes.empty());
    EXPECT_EQ(m_doc->Catalog().GetList().front(), before);
}

TEST_F(SettingsCommandTest, ListToStripRebuildsWithThumbnailsOnTheLoaderThread)
{
    OpenFolder(Settings::kModeList);
    ASSERT_EQ(Thumbnails(), 0);
    Settings::SetIncludeSubfolders(0);
    RunSettings(Settings::kModeStrip);
    EXPECT_EQ(m_frame.modes, std::vector<int> {Settings::kModeStrip});
    EXPECT_EQ(m_doc->m_savedThumbnailMode, Settings::kModeList);
    EXPECT_EQ(m_doc->Catalog().GetSourcePath(), u"\\pics"_s);
    EXPECT_EQ(m_doc->Catalog().GetCount(), 3);
    EXPECT_EQ(Thumbnails(), 3);
}

TEST_F(SettingsCommandTest, StripToFullScreenAppliesResizeAndAngleThenLeavingKeepsTheCatalog)
{
    OpenFolder(Settings::kModeStrip);
    CImageItem* item = m_doc->Catalog().GetCurrent();
    item->m_width = 640;
    item->m_height = 480;
    item->m_zoom = 150;
    RunSettings(Settings::kModeFullScreen, 2, 1);
    EXPECT_EQ(Settings::ThumbnailViewMode(), Settings::kModeFullScreen);
    EXPECT_EQ(m_doc->m_autoResizeZoom, -1);
    EXPECT_EQ(m_doc->m_autoRotationAngle, 90);
    EXPECT_EQ(item->m_zoom, -1);
    EXPECT_EQ(item->m_rotation, 90);
    EXPECT_EQ(item->m_savedZoom, 150);
    EXPECT_EQ(m_view.options, 15);
    EXPECT_EQ(m_view.fullScreen, 1);

    RunSettings(Settings::kModeStrip);
    EXPECT_EQ(m_view.options, 0);
    EXPECT_EQ(m_view.fullScreen, 0);
    EXPECT_EQ(m_doc->Catalog().GetCurrent(), item);
    // Full screen gave the picture its own view state back.
    EXPECT_EQ(item->m_zoom, 150);
    EXPECT_EQ(item->m_rotation, 0);
    EXPECT_EQ(m_frame.modes, (std::vector<int> {Settings::kModeFullScreen, Settings::kModeStrip}));
}

TEST_F(SettingsCommandTest, QuickViewFlagStartsAsStored)
{
    for (int stored : {0, 1}) {
        Settings::SetQuickView(stored);
        EXPECT_EQ(CLumoDoc().m_quickView, stored);
    }
}
