// Lumo as the desktop's default viewer of a picture type: what a tick on the
// File Association page does beyond the registry stand-in when the device is
// the host's own file system (not confined with --device-root).
//
// A tick makes Lumo the default application of the type's MIME type in the
// user's mimeapps.list, once Lumo's desktop entry is installed where the
// desktop finds it, and remembers the line it replaced; an untick of a type
// that Lumo holds gives it back to that line, or removes Lumo's line so that
// the system's own default applies again. The remembered lines are kept in the
// registry stand-in under the program's key, section "File Association",
// value named after the MIME type.
#pragma once

#include <QString>

namespace DesktopDefaults {

// Lumo's desktop entry: "<application id>.desktop".
QString DesktopId();
// True when the device is the host's own file system.
bool IsDesktop();
// Makes the desktop follow one type's box; false when the user's list could
// not be written.
bool Follow(const QString& mimeType, bool lumo);

}  // namespace DesktopDefaults
