// Profile access: typed named values under the application's registry key,
// backed by the registry stand-in (registry_store.h). Every read sees the
// last value written by any running instance; every write reaches the disk
// at once. Safe from any thread.
#pragma once

#include <QString>

namespace Profile {

// The key under HKEY_CURRENT_USER\Software (set once at start-up; "FARHAVEN"
// until then, so code run before or without the application finds the same values).
void SetRegistryKey(const QString& company);
// The application's subkey name (the executable's name; tests may set it).
void SetAppName(const QString& appName);
QString AppName();
// The full key of a section: HKEY_CURRENT_USER\Software\<key>\<app name>\<section>.
QString SectionKey(const QString& section);

int GetProfileInt(const QString& section, const QString& name, int defaultValue);
QString GetProfileString(const QString& section, const QString& name, const QString& defaultValue);
bool WriteProfileInt(const QString& section, const QString& name, int value);
bool WriteProfileString(const QString& section, const QString& name, const QString& value);

}  // namespace Profile
