// The device file system: paths with "\" as separator, mapped onto the host.
//
// By default the device is the host's own file system ("\a\b" is /a/b), except
// that "\My Documents" is the user's home folder. A confined root (tests,
// --device-root) maps "\a\b" to ROOT/a/b with no alias. Safe from any thread
// once set up at start.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

namespace DevicePath {

// The alias of the user's home folder at the default root.
extern const char kMyDocuments[];  // "My Documents"

// Confines the device to hostRoot (relative: from the working folder); an
// empty string restores the default (LUMO_DEVICE_ROOT when set, else the
// host's own file system).
void SetDeviceRoot(const QString& hostRoot);
// The confining host folder; empty for the host's own file system.
QString DeviceRoot();

// "\a\b" -> host path. "/" also separates; "." and ".." are resolved by name
// and never climb above the root. Relative device paths are taken from the root.
QString ToHost(const QString& devicePath);
// Host path (absolute, or relative to the working folder) -> device path.
// Returns false when the path lies outside a confined root or cannot be named
// on the device (a name holding "\", or a host "/My Documents" hidden by the
// alias); reason then tells why in a sentence for the user.
bool FromHost(const QString& hostPath, QString* devicePath, QString* reason = nullptr);

}  // namespace DevicePath

// One entry of a directory listing (the FindFirstFile stand-in).
struct CFindData {
    QString name;
    bool isDirectory = false;
    bool isRegular = false;      // a regular file (not a pipe, device or socket)
    bool isStorageCard = false;  // a mount point of a real file system (attribute 0x100)
    uint64_t size = 0;
    int64_t modified = 0;  // seconds since 1970
    int64_t accessed = 0;  // seconds since 1970
    // Which host object the entry is (what a link points to): walks tell
    // folders met twice by it.
    uint64_t device = 0;
    uint64_t inode = 0;
};

constexpr uint32_t kAttributeStorageCard = 0x100;

// Lists a device folder sorted by name case-insensitively (ties broken
// case-sensitively), without ".", ".." and names that begin with "." or hold
// "\" (nor entries whose target cannot be examined, such as broken links).
// Names that are not UTF-8 are listed as platform/host_bytes.h decodes them. At
// the default root the listing also holds "My Documents". Symbolic links are
// listed as what they point to. Returns false when the folder cannot be read.
bool EnumerateDirectory(const QString& deviceFolder, std::vector<CFindData>* entries);
