#include "app/settings.h"

#include "image/orientation.h"
#include "platform/profile.h"

#include <iterator>

namespace Settings {

const char kSectionSetting[] = "Setting";
const char kSectionSlideshow[] = "Settings\\Slideshow";

namespace {

constexpr SettingType kInt = SettingType::Integer;
constexpr SettingType kText = SettingType::String;

const SettingDefinition kTable[] = {
    {Setting::ThumbnailViewMode, kSectionSetting, "ThumbnailView Mode", kInt, kModeStrip, nullptr},
    {Setting::IncludeSubfolders, kSectionSetting, "Include Subfolders", kInt, 0, nullptr},
    {Setting::CurrPath, kSectionSetting, "CurrPath", kText, 0, "\\My Documents"},
    {Setting::FileOpenPath, kSectionSetting, "FileOpen Path", kText, 0, "\\My Documents"},
    {Setting::FileOpenFilter, kSectionSetting, "FileOpen Filter", kText, 0, "*.*"},
    {Setting::QuickView, kSectionSetting, "Quick View", kInt, 1, nullptr},
    {Setting::SlideshowInterval, kSectionSlideshow, "Interval", kInt, 3, nullptr},
    {Setting::SlideshowDirection, kSectionSlideshow, "Direction", kText, 0, "Forward"},
    // Read by the picture loader, on any thread (image/orientation.h).
    {Setting::ExifOrientation, kExifOrientationSection, kExifOrientationName, kInt, kExifOrientationDefault, nullptr},
};

QString Section(const SettingDefinition& d)
{
    return QString::fromLatin1(d.section);
}

QString Name(const SettingDefinition& d)
{
    return QString::fromLatin1(d.name);
}

}  // namespace

const SettingDefinition& Definition(Setting id)
{
    for (const SettingDefinition& d : kTable)
        if (d.id == id)
            return d;
    Q_UNREACHABLE();
}

const SettingDefinition* AllDefinitions(int* count)
{
    *count = int(std::size(kTable));
    return kTable;
}

int GetInt(Setting id)
{
    return GetInt(id, Definition(id).intDefault);
}

int GetInt(Setting id, int defaultValue)
{
    const SettingDefinition& d = Definition(id);
    return Profile::GetProfileInt(Section(d), Name(d), defaultValue);
}

QString GetString(Setting id)
{
    return GetString(id, QString::fromLatin1(Definition(id).textDefault));
}

QString GetString(Setting id, const QString& defaultValue)
{
    const SettingDefinition& d = Definition(id);
    return Profile::GetProfileString(Section(d), Name(d), defaultValue);
}

bool SetInt(Setting id, int value)
{
    const SettingDefinition& d = Definition(id);
    return Profile::WriteProfileInt(Section(d), Name(d), value);
}

bool SetString(Setting id, const QString& value)
{
    const SettingDefinition& d = Definition(id);
    return Profile::WriteProfileString(Section(d), Name(d), value);
}

}  // namespace Settings
