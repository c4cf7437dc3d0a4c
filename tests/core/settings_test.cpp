// The settings table over the registry stand-in: first-run defaults, values
// read back from where they were written, and values of the wrong type.
#include "app/settings.h"
#include "platform/profile.h"
#include "platform/registry_data.h"
#include "platform/registry_store.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_file = m_dir.filePath(u"registry.reg"_s);
        CRegistryStore::Instance().SetFile(m_file);
        Profile::SetRegistryKey(u"FARHAVEN"_s);
        Profile::SetAppName(u"lumo_settings_test"_s);
    }
    void TearDown() override { CRegistryStore::Instance().SetFile(m_dir.filePath(u"unused.reg"_s)); }

    CRegistryData OnDisk()
    {
        QFile f(m_file);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        CRegistryData data;
        EXPECT_TRUE(CRegistryData::FromText(f.readAll(), &data));
        return data;
    }

    QTemporaryDir m_dir;
    QString m_file;
};

const QString kSettingKey = u"HKEY_CURRENT_USER\\Software\\FARHAVEN\\lumo_settings_test\\Setting"_s;
const QString kSlideshowKey = u"HKEY_CURRENT_USER\\Software\\FARHAVEN\\lumo_settings_test\\Settings\\Slideshow"_s;

}  // namespace

TEST_F(SettingsTest, WrittenValuesReadBackFromTheirOwnSections)
{
    EXPECT_EQ(Settings::SlideshowDirection(), u"Forward"_s);
    EXPECT_FALSE(OnDisk().HasKey(kSettingKey));  // reading writes nothing under the application's key
    ASSERT_TRUE(Settings::SetThumbnailViewMode(0));
    ASSERT_TRUE(Settings::SetIncludeSubfolders(1));
    ASSERT_TRUE(Settings::SetCurrPath(u"\\Storage Card\\DCIM"_s));
    ASSERT_TRUE(Settings::SetFileOpenPath(u"\\My Documents\\Albums"_s));
    ASSERT_TRUE(Settings::SetFileOpenFilter(u"*.lab"_s));
    ASSERT_TRUE(Settings::SetQuickView(0));
    ASSERT_TRUE(Settings::SetSlideshowInterval(30));
    ASSERT_TRUE(Settings::SetSlideshowDirection(u"Backward"_s));

    EXPECT_EQ(Settings::ThumbnailViewMode(), 0);
    EXPECT_EQ(Settings::IncludeSubfolders(), 1);
    EXPECT_EQ(Settings::CurrPath(), u"\\Storage Card\\DCIM"_s);
    EXPECT_EQ(Settings::FileOpenPath(), u"\\My Documents\\Albums"_s);
    EXPECT_EQ(Settings::FileOpenFilter(), u"*.lab"_s);
    EXPECT_EQ(Settings::QuickView(), 0);
    EXPECT_EQ(Settings::SlideshowInterval(), 30);
    EXPECT_EQ(Settings::SlideshowDirection(), u"Backward"_s);

    CRegistryData disk = OnDisk();
    EXPECT_EQ(disk.ValueNames(kSettingKey), (QStringList {"CurrPath", "FileOpen Filter", "FileOpen Path",
                                                          "Include Subfolders", "Quick View", "ThumbnailView Mode"}));
    EXPECT_EQ(disk.ValueNames(kSlideshowKey), (QStringList {"Direction", "Interval"}));
    EXPECT_TRUE(disk.Find(kSlideshowKey, u"Interval"_s)->IsDword());
    EXPECT_EQ(disk.Find(kSlideshowKey, u"Direction"_s)->type, uint32_t(kRegSz));
    EXPECT_EQ(disk.Find(kSettingKey, u"ThumbnailView Mode"_s)->ToDword(), 0u);
}

TEST_F(SettingsTest, ValueOfTheWrongTypeReadsAsTheDefault)
{
    CRegistryStore& store = CRegistryStore::Instance();
    ASSERT_TRUE(store.WriteString(kSettingKey, u"ThumbnailView Mode"_s, u"0"_s));
    ASSERT_TRUE(store.WriteDword(kSlideshowKey, u"Direction"_s, 1));
    ASSERT_TRUE(store.WriteString(kSlideshowKey, u"Interval"_s, u"10"_s));
    EXPECT_EQ(Settings::ThumbnailViewMode(), 1);
    EXPECT_EQ(Settings::SlideshowDirection(), u"Forward"_s);
    EXPECT_EQ(Settings::SlideshowInterval(), 3);
}

TEST_F(SettingsTest, NegativeModeAndOddTextAreKeptUnchanged)
{
    ASSERT_TRUE(Settings::SetThumbnailViewMode(Settings::kModeEffect));
    EXPECT_EQ(Settings::ThumbnailViewMode(), -1);
    EXPECT_EQ(OnDisk().Find(kSettingKey, u"ThumbnailView Mode"_s)->ToDword(), 0xffffffffu);
    // Readers compare the direction exactly; the store must not tidy it.
    ASSERT_TRUE(Settings::SetSlideshowDirection(u"forward"_s));
    EXPECT_EQ(Settings::SlideshowDirection(), u"forward"_s);
    ASSERT_TRUE(Settings::SetCurrPath(u"\\a \"quoted\" \\\\ path"_s));
    EXPECT_EQ(Settings::CurrPath(), u"\\a \"quoted\" \\\\ path"_s);
}

TEST_F(SettingsTest, ReaderMayPassItsOwnDefault)
{
    EXPECT_EQ(Settings::ThumbnailViewMode(Settings::kModeEffect), -1);
    ASSERT_TRUE(Settings::SetThumbnailViewMode(Settings::kModeFullScreen));
    EXPECT_EQ(Settings::ThumbnailViewMode(Settings::kModeEffect), 2);
    EXPECT_EQ(Settings::GetString(Settings::Setting::FileOpenFilter, u"*.png"_s), u"*.png"_s);
}

TEST_F(SettingsTest, ValuesLiveUnderTheRegistryKeyAndApplicationName)
{
    Profile::SetRegistryKey(u"OTHER"_s);
    Profile::SetAppName(u"viewer2"_s);
    ASSERT_TRUE(Settings::SetQuickView(0));
    Profile::SetRegistryKey(u"FARHAVEN"_s);
    Profile::SetAppName(u"lumo_settings_test"_s);
    EXPECT_EQ(Settings::QuickView(), 1);
    EXPECT_TRUE(OnDisk().Find(u"HKEY_CURRENT_USER\\Software\\OTHER\\viewer2\\Setting"_s, u"Quick View"_s));
}
