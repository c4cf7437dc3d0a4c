// The settings table over the registry stand-in: first-run defaults, values
// read back from where they were written, and values of the wrong type.
#include "app/settings.h"
#include "platform/profile.h"
#include "platform/registry_data.h"
#include "platform/registry_store.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_file = m_dir.filePath(QStringLiteral("registry.reg"));
        CRegistryStore::Instance().SetFile(m_file);
        Profile::SetRegistryKey(QStringLiteral("FARHAVEN"));
        Profile::SetAppName(QStringLiteral("lumo_settings_test"));
    }
    void TearDown() override { CRegistryStore::Instance().SetFile(m_dir.filePath(QStringLiteral("unused.reg"))); }

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

const QString kSettingKey = QStringLiteral("HKEY_CURRENT_USER\\Software\\FARHAVEN\\lumo_settings_test\\Setting");
const QString kSlideshowKey
    = QStringLiteral("HKEY_CURRENT_USER\\Software\\FARHAVEN\\lumo_settings_test\\Settings\\Slideshow");

}  // namespace

TEST_F(SettingsTest, FirstRunReadsEveryDefault)
{
    EXPECT_EQ(Settings::ThumbnailViewMode(), 1);
    EXPECT_EQ(Settings::IncludeSubfolders(), 0);
    EXPECT_EQ(Settings::CurrPath(), QStringLiteral("\\My Documents"));
    EXPECT_EQ(Settings::FileOpenPath(), QStringLiteral("\\My Documents"));
    EXPECT_EQ(Settings::FileOpenFilter(), QStringLiteral("*.*"));
    EXPECT_EQ(Settings::QuickView(), 1);
    EXPECT_EQ(Settings::SlideshowInterval(), 3);
    EXPECT_EQ(Settings::SlideshowDirection(), QStringLiteral("Forward"));
    // Reading writes nothing under the application's key.
    EXPECT_FALSE(OnDisk().HasKey(kSettingKey));
}

TEST_F(SettingsTest, WrittenValuesReadBackFromTheirOwnSections)
{
    ASSERT_TRUE(Settings::SetThumbnailViewMode(0));
    ASSERT_TRUE(Settings::SetIncludeSubfolders(1));
    ASSERT_TRUE(Settings::SetCurrPath(QStringLiteral("\\Storage Card\\DCIM")));
    ASSERT_TRUE(Settings::SetFileOpenPath(QStringLiteral("\\My Documents\\Albums")));
    ASSERT_TRUE(Settings::SetFileOpenFilter(QStringLiteral("*.lab")));
    ASSERT_TRUE(Settings::SetQuickView(0));
    ASSERT_TRUE(Settings::SetSlideshowInterval(30));
    ASSERT_TRUE(Settings::SetSlideshowDirection(QStringLiteral("Backward")));

    EXPECT_EQ(Settings::ThumbnailViewMode(), 0);
    EXPECT_EQ(Settings::IncludeSubfolders(), 1);
    EXPECT_EQ(Settings::CurrPath(), QStringLiteral("\\Storage Card\\DCIM"));
    EXPECT_EQ(Settings::FileOpenPath(), QStringLiteral("\\My Documents\\Albums"));
    EXPECT_EQ(Settings::FileOpenFilter(), QStringLiteral("*.lab"));
    EXPECT_EQ(Settings::QuickView(), 0);
    EXPECT_EQ(Settings::SlideshowInterval(), 30);
    EXPECT_EQ(Settings::SlideshowDirection(), QStringLiteral("Backward"));

    CRegistryData disk = OnDisk();
    EXPECT_EQ(disk.ValueNames(kSettingKey), (QStringList {"CurrPath", "FileOpen Filter", "FileOpen Path",
                                                          "Include Subfolders", "Quick View", "ThumbnailView Mode"}));
    EXPECT_EQ(disk.ValueNames(kSlideshowKey), (QStringList {"Direction", "Interval"}));
    EXPECT_TRUE(disk.Find(kSlideshowKey, QStringLiteral("Interval"))->IsDword());
    EXPECT_EQ(disk.Find(kSlideshowKey, QStringLiteral("Direction"))->type, uint32_t(kRegSz));
    EXPECT_EQ(disk.Find(kSettingKey, QStringLiteral("ThumbnailView Mode"))->ToDword(), 0u);
}

TEST_F(SettingsTest, ValueOfTheWrongTypeReadsAsTheDefault)
{
    CRegistryStore& store = CRegistryStore::Instance();
    ASSERT_TRUE(store.WriteString(kSettingKey, QStringLiteral("ThumbnailView Mode"), QStringLiteral("0")));
    ASSERT_TRUE(store.WriteDword(kSlideshowKey, QStringLiteral("Direction"), 1));
    ASSERT_TRUE(store.WriteString(kSlideshowKey, QStringLiteral("Interval"), QStringLiteral("10")));
    EXPECT_EQ(Settings::ThumbnailViewMode(), 1);
    EXPECT_EQ(Settings::SlideshowDirection(), QStringLiteral("Forward"));
    EXPECT_EQ(Settings::SlideshowInterval(), 3);
}

TEST_F(SettingsTest, NegativeModeAndOddTextAreKeptUnchanged)
{
    ASSERT_TRUE(Settings::SetThumbnailViewMode(Settings::kModeEffect));
    EXPECT_EQ(Settings::ThumbnailViewMode(), -1);
    EXPECT_EQ(OnDisk().Find(kSettingKey, QStringLiteral("ThumbnailView Mode"))->ToDword(), 0xffffffffu);
    // Readers compare the direction exactly; the store must not tidy it.
    ASSERT_TRUE(Settings::SetSlideshowDirection(QStringLiteral("forward")));
    EXPECT_EQ(Settings::SlideshowDirection(), QStringLiteral("forward"));
    ASSERT_TRUE(Settings::SetCurrPath(QStringLiteral("\\a \"quoted\" \\\\ path")));
    EXPECT_EQ(Settings::CurrPath(), QStringLiteral("\\a \"quoted\" \\\\ path"));
}

TEST_F(SettingsTest, ReaderMayPassItsOwnDefault)
{
    EXPECT_EQ(Settings::ThumbnailViewMode(Settings::kModeEffect), -1);
    ASSERT_TRUE(Settings::SetThumbnailViewMode(Settings::kModeFullScreen));
    EXPECT_EQ(Settings::ThumbnailViewMode(Settings::kModeEffect), 2);
    EXPECT_EQ(Settings::GetString(Settings::Setting::FileOpenFilter, QStringLiteral("*.png")), QStringLiteral("*.png"));
}

TEST_F(SettingsTest, ValuesLiveUnderTheRegistryKeyAndApplicationName)
{
    Profile::SetRegistryKey(QStringLiteral("OTHER"));
    Profile::SetAppName(QStringLiteral("viewer2"));
    ASSERT_TRUE(Settings::SetQuickView(0));
    Profile::SetRegistryKey(QStringLiteral("FARHAVEN"));
    Profile::SetAppName(QStringLiteral("lumo_settings_test"));
    EXPECT_EQ(Settings::QuickView(), 1);
    EXPECT_TRUE(OnDisk().Find(QStringLiteral("HKEY_CURRENT_USER\\Software\\OTHER\\viewer2\\Setting"),
                              QStringLiteral("Quick View")));
}
