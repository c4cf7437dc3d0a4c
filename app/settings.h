// Settings: the program's persistent settings as one table (section, value
// name, type, default) with a typed accessor per value. Nothing is cached:
// every accessor reads or writes the registry stand-in at the moment of the
// call (platform/profile.h), so a value written anywhere takes effect at the
// next read everywhere. A missing value, or one of another type, reads as the
// default. Writes return false when the value could not be stored; callers may
// ignore that.
#pragma once

#include <QString>

namespace Settings {

enum class Setting {
    ThumbnailViewMode,
    IncludeSubfolders,
    CurrPath,
    FileOpenPath,
    FileOpenFilter,
    QuickView,
    SlideshowInterval,
    SlideshowDirection,
    ExifOrientation,
};

enum class SettingType { Integer, String };

struct SettingDefinition {
    Setting id;
    const char* section;
    const char* name;
    SettingType type;
    int intDefault;
    const char* textDefault;
};

// Sections: general values and the slideshow's (note singular and plural).
extern const char kSectionSetting[];
extern const char kSectionSlideshow[];

// "ThumbnailView Mode" values.
constexpr int kModeList = 0;
constexpr int kModeStrip = 1;
constexpr int kModeFullScreen = 2;
constexpr int kModeEffect = -1;

const SettingDefinition& Definition(Setting id);
const SettingDefinition* AllDefinitions(int* count);

int GetInt(Setting id);
int GetInt(Setting id, int defaultValue);
QString GetString(Setting id);
QString GetString(Setting id, const QString& defaultValue);
bool SetInt(Setting id, int value);
bool SetString(Setting id, const QString& value);

// clang-format off
// "ThumbnailView Mode" (default 1; the memo overlay passes -1).
inline int ThumbnailViewMode() { return GetInt(Setting::ThumbnailViewMode); }
inline int ThumbnailViewMode(int defaultValue) { return GetInt(Setting::ThumbnailViewMode, defaultValue); }
inline bool SetThumbnailViewMode(int mode) { return SetInt(Setting::ThumbnailViewMode, mode); }
// "Include Subfolders" (0 or 1, default 0).
inline int IncludeSubfolders() { return GetInt(Setting::IncludeSubfolders); }
inline bool SetIncludeSubfolders(int include) { return SetInt(Setting::IncludeSubfolders, include); }
// "CurrPath": folder last confirmed in the folder browser.
inline QString CurrPath() { return GetString(Setting::CurrPath); }
inline bool SetCurrPath(const QString& path) { return SetString(Setting::CurrPath, path); }
// "FileOpen Path": folder the File Open dialog shows first.
inline QString FileOpenPath() { return GetString(Setting::FileOpenPath); }
inline bool SetFileOpenPath(const QString& path) { return SetString(Setting::FileOpenPath, path); }
// "FileOpen Filter": pattern last used in the File Open dialog.
inline QString FileOpenFilter() { return GetString(Setting::FileOpenFilter); }
inline bool SetFileOpenFilter(const QString& filter) { return SetString(Setting::FileOpenFilter, filter); }
// "Quick View" (default 1).
inline int QuickView() { return GetInt(Setting::QuickView); }
inline bool SetQuickView(int quickView) { return SetInt(Setting::QuickView, quickView); }
// "Interval": seconds between slides (default 3).
inline int SlideshowInterval() { return GetInt(Setting::SlideshowInterval); }
inline bool SetSlideshowInterval(int seconds) { return SetInt(Setting::SlideshowInterval, seconds); }
// "Direction": "Forward", "Backward" or "Random", compared exactly by its readers.
inline QString SlideshowDirection() { return GetString(Setting::SlideshowDirection); }
inline bool SetSlideshowDirection(const QString& direction) { return SetString(Setting::SlideshowDirection, direction); }
// "Exif Orientation": pictures upright by their Exif orientation (default 1; 0 shows them as stored).
inline int ExifOrientation() { return GetInt(Setting::ExifOrientation); }
inline bool SetExifOrientation(int on) { return SetInt(Setting::ExifOrientation, on); }
// clang-format on

}  // namespace Settings
