// Settings over the registry stand-in, the settings sheet's page rules, and the
// Settings command applying the View page's choice to the document (the View
// page's boxes and their enabling are the sheet's own tests, SettingsSheetTest).
#include "app/settings_pages.h"
#include "catalog_fixture.h"
#include "platform/registry_data.h"
#include "res/resource.h"

#include <climits>

using namespace Qt::StringLiterals;
using namespace SettingsPages;

namespace {

const QString kApp = u"HKEY_CURRENT_USER\\Software\\FARHAVEN\\lumo_doc_test\\"_s;

class FakeSettingsSheet : public CSettingsSheetHooks {
public:
    bool RunSettingsSheet(CViewPageChoice* c) override
    {
        *c = choice;
        return ok;
    }
    CViewPageChoice choice;
    bool ok = true;
};

class SettingsTest : public DocFixture {
protected:
    void SetUp() override
    {
        DocFixture::SetUp();
        catalog_fixture::EnsureApp();
        DevicePath::SetDeviceRoot(m_root.path());
        m_doc->SetSettingsSheet(&m_sheet);
    }
    void TearDown() override
    {
        DocFixture::TearDown();
        DevicePath::SetDeviceRoot(QString());
    }
    void RunSettings(int mode, int resizeChoice = -1, int angleChoice = -1)
    {
        m_sheet.choice = {mode, resizeChoice, angleChoice};
        Run(Res::ID_SETTINGS);
        m_doc->m_loader.WaitThread();
        m_doc->DeliverQueuedUpdates();
    }

    QTemporaryDir m_root;
    FakeSettingsSheet m_sheet;
};

}  // namespace

// Also: a missing or wrong-typed value reads as the default, and values live
// under the registry key and application name.
TEST_F(SettingsTest, WrittenValuesReadBackFromTheirOwnKeysAndTypes)
{
    CRegistryStore& store = CRegistryStore::Instance();
    Settings::SlideshowDirection();
    EXPECT_FALSE(store.Snapshot().HasKey(kApp + u"Setting"_s));  // reading writes nothing
    // A missing or wrong-typed value reads as the default.
    EXPECT_EQ(Settings::ThumbnailViewMode(Settings::kModeEffect), -1);
    EXPECT_EQ(Settings::GetString(Settings::Setting::FileOpenFilter, u"*.png"_s), u"*.png"_s);
    ASSERT_TRUE(store.WriteString(kApp + u"Setting"_s, u"ThumbnailView Mode"_s, u"0"_s));
    ASSERT_TRUE(store.WriteDword(kApp + u"Settings\\Slideshow"_s, u"Direction"_s, 1));
    EXPECT_EQ(Settings::ThumbnailViewMode(), 1);
    EXPECT_EQ(Settings::SlideshowDirection(), u"Forward"_s);
    int count = 0;
    const Settings::SettingDefinition* defs = Settings::AllDefinitions(&count);
    const QString text = u"\\a \"quoted\" \\\\ path"_s;  // kept exactly: readers compare it
    for (int i = 0; i < count; ++i) {
        const bool number = defs[i].type == Settings::SettingType::Integer;
        ASSERT_TRUE(number ? Settings::SetInt(defs[i].id, -1) : Settings::SetString(defs[i].id, text));
    }
    const CRegistryData disk = store.Snapshot();
    for (int i = 0; i < count; ++i) {
        SCOPED_TRACE(defs[i].name);
        const bool number = defs[i].type == Settings::SettingType::Integer;
        EXPECT_TRUE(number ? Settings::GetInt(defs[i].id) == -1 : Settings::GetString(defs[i].id) == text);
        const RegValue* value = disk.Find(kApp + QLatin1String(defs[i].section), QLatin1String(defs[i].name));
        ASSERT_NE(value, nullptr);
        EXPECT_EQ(value->IsDword(), number);
    }
    // Values live under the registry key and application name.
    Profile::SetRegistryKey(u"OTHER"_s);
    Profile::SetAppName(u"viewer2"_s);
    ASSERT_TRUE(Settings::SetQuickView(0));
    Profile::SetRegistryKey(u"FARHAVEN"_s);
    Profile::SetAppName(u"lumo_doc_test"_s);
    EXPECT_EQ(Settings::QuickView(), -1);  // as written above
    EXPECT_TRUE(store.Snapshot().Find(u"HKEY_CURRENT_USER\\Software\\OTHER\\viewer2\\Setting"_s, u"Quick View"_s));
}

TEST(SettingsPages, StoredTextSelectsTheFirstEntryItBeginsAndIntervalTextReadsLikeAtoiWithinLimits)
{
    const struct {
        const char* stored;
        const QStringList& entries;
        int selected;
    } cases[] = {
        {"1", IntervalEntries(), 0},        {"7", IntervalEntries(), -1},         {"6", IntervalEntries(), 7},
        {"forward", DirectionEntries(), 0}, {"sideways", DirectionEntries(), -1},
    };
    for (const auto& c : cases) {
        const ComboStart start = StartCombo(c.entries, QString::fromLatin1(c.stored));
        EXPECT_EQ(start.selected, c.selected) << c.stored;
        EXPECT_EQ(start.text, QString::fromLatin1(c.stored));
    }
    EXPECT_EQ(StartCombo(DirectionEntries(), QString(300, u'x')).text.size(), kTextLimit);
    const std::pair<QString, int> intervals[] = {
        {u"15s"_s, 15},
        {QString(), 0},
        {u"  +30"_s, 30},
        {u"99999999999"_s, INT_MAX},
        {u"-99999999999"_s, INT_MIN},
        {u"\u0661\u0662"_s, 0},
        {QString(kTextLimit, u'0') + u"5"_s, 0},  // the 5 lies past the text read
    };
    for (const auto& [text, seconds] : intervals)
        EXPECT_EQ(IntervalOfText(text), seconds) << text.left(20).toStdString();
}

// Applying the Settings command: the same mode or Cancel change nothing, full
// screen applies resize and angle, and leaving it gives the picture its state
// back (the sheet's own test rebuilds list to strip).
TEST_F(SettingsTest, EachModeChangeAppliesItsStateAndSameModeOrCancelNothing)
{
    QDir().mkpath(m_root.filePath(u"pics"_s));  // three pictures opened as the command line would
    for (const QString& name : {u"a.bmp"_s, u"b.jpg"_s, u"c.png"_s})
        ASSERT_TRUE(WriteTestFile(m_root.filePath(u"pics/"_s + name), catalog_fixture::PictureFor(name)));
    Settings::SetThumbnailViewMode(Settings::kModeStrip);
    m_doc->OpenPicturePath(u"\\pics"_s);
    m_doc->Catalog().SetCurrent(m_doc->Catalog().GetList().front());
    CImageItem* item = m_doc->Catalog().GetCurrent();
    RunSettings(Settings::kModeStrip, 2, 1);
    m_sheet.ok = false;
    RunSettings(Settings::kModeList, 2, 1);
    EXPECT_EQ(Settings::ThumbnailViewMode(), Settings::kModeStrip);
    EXPECT_EQ(m_doc->m_autoRotationAngle, 270);
    EXPECT_TRUE(m_frame.modes.empty());
    EXPECT_EQ(m_doc->Catalog().GetList().front(), item);
    m_sheet.ok = true;
    item->m_picture.m_width = 640;  // landscape: turned by the angle chosen
    item->m_picture.m_height = 480;
    item->m_zoom = 150;
    RunSettings(Settings::kModeFullScreen, 2, 1);
    EXPECT_EQ(m_doc->m_autoResizeZoom, -1);
    EXPECT_EQ((std::vector<int> {item->m_zoom, item->m_rotation, m_view.options, m_view.fullScreen}),
              (std::vector<int> {-1, 90, 15, 1}));
    RunSettings(Settings::kModeStrip);
    EXPECT_EQ((std::vector<int> {item->m_zoom, item->m_rotation, m_view.options, m_view.fullScreen}),
              (std::vector<int> {150, 0, 0, 0}));
    EXPECT_EQ(m_doc->Catalog().GetCurrent(), item);
    EXPECT_EQ(m_frame.modes, (std::vector<int> {Settings::kModeFullScreen, Settings::kModeStrip}));
}
