// The desktop's default applications as the user's own list names them:
// $XDG_CONFIG_HOME/mimeapps.list, section [Default Applications], one line
// "type=ids" per MIME type. Changes are made the way `xdg-mime default` makes
// them (the type's first line replaced, later ones dropped, a new line added at
// the end of the section, the section added when missing), every other line
// kept byte for byte, and the file replaced atomically.
#pragma once

#include <QByteArray>
#include <QString>

namespace XdgMimeApps {

// $XDG_CONFIG_HOME/mimeapps.list (~/.config when unset or relative).
QString UserListFile();

// The ids of mimeType's line in text's [Default Applications] section, as
// written ("a.desktop;b.desktop"); empty when there is no such line.
QString DefaultsIn(const QByteArray& text, const QString& mimeType);
// text with mimeType's line set to ids; empty ids remove the type's lines.
QByteArray WithDefaults(const QByteArray& text, const QString& mimeType, const QString& ids);

// The user's list read and changed. A change writes a temporary file beside
// the list and renames it over the list; false when that fails.
QString UserDefaults(const QString& mimeType);
bool SetUserDefaults(const QString& mimeType, const QString& ids);

// True when desktopId names a desktop entry in the applications folder of
// $XDG_DATA_HOME or of a folder of $XDG_DATA_DIRS, where the desktop finds it.
bool IsDesktopEntryInstalled(const QString& desktopId);

}  // namespace XdgMimeApps
