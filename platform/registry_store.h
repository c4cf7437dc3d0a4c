// CRegistryStore: the registry stand-in. One typed key/value store (dwords,
// strings, expandable strings, raw values) kept in a REGEDIT4-style text file
// (registry_data.h) that every running instance shares.
//
// The file is $XDG_CONFIG_HOME/lumo/registry.reg (XDG default ~/.config), or
// LUMO_REGISTRY, or what SetFile names (--registry). A missing file is a fresh
// device: it is created holding the four picture-type keys, whose value
// "Default" is the system viewer's command, and HKEY_LOCAL_MACHINE\Ident
// "Name" = the host's name.
//
// Every read sees the last value written by any instance: the file is read
// again whenever its identity, time or size changed (a stat per read, as reads
// happen on every paint). Every write is a read-modify-write under flock on
// "FILE.lock" (private to its owner): the whole file is written to a new
// temporary file of a random name (created exclusively, with the final
// permissions before any byte), synced and renamed over FILE, and the folder
// is synced, so a killed writer leaves either the old or the new file and no
// lock (the kernel drops flock locks with the process); a writer's leftover
// temporary files are swept by the next write. Waiting for the lock is
// bounded (kLockWaitMs): a lock held elsewhere fails the write, said on the
// standard error stream, instead of freezing the caller.
//
// A file that is not registry text at all (no REGEDIT4 header) is kept aside
// as "FILE.damaged-N", said on the standard error stream, and the store
// starts from a fresh device as for a missing file. Safe from any thread.
#pragma once

#include "platform/registry_data.h"
#include "platform/registry_value.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <mutex>
#include <sys/stat.h>

class CRegistryStore {
public:
    static constexpr int kLockWaitMs = 1000;
    // The command a fresh device opens pictures with.
    static const char kSystemViewerCommand[];
    static const char* const kPictureTypeKeys[4];  // bmp, gif, jpeg, png
    static const char kIdentKey[];

    static CRegistryStore& Instance();

    // Host path of the file; relative paths are taken from the working folder
    // now. An empty path restores the default.
    void SetFile(const QString& hostPath);
    QString File() const;
    // LUMO_REGISTRY when set, else $XDG_CONFIG_HOME/lumo/registry.reg.
    static QString DefaultFile();
    // What a missing file is created with.
    static CRegistryData FreshDevice();

    // Keys are full paths ("HKEY_CURRENT_USER\Software\..."); leading, trailing
    // and doubled "\" do not matter, nor does letter case.
    bool KeyExists(const QString& key);
    bool Read(const QString& key, const QString& name, RegValue* value);
    QStringList ValueNames(const QString& key);
    // A missing value, or one of another type, reads as the default. Strings
    // are REG_SZ or REG_EXPAND_SZ (returned unexpanded).
    uint32_t ReadDword(const QString& key, const QString& name, uint32_t defaultValue);
    QString ReadString(const QString& key, const QString& name, const QString& defaultValue);

    // Writes reach the file before they return; false when the file cannot be
    // written or the name cannot be stored.
    bool CreateKey(const QString& key);
    bool Write(const QString& key, const QString& name, const RegValue& value);
    bool WriteDword(const QString& key, const QString& name, uint32_t value);
    bool WriteString(const QString& key, const QString& name, const QString& text);
    bool DeleteValue(const QString& key, const QString& name);

    // The content as the file holds it now.
    CRegistryData Snapshot();

private:
    CRegistryStore() = default;
    QString ResolvedFile() const;
    void Refresh();
    bool IsHeldFileCurrent(const struct stat& st) const;
    enum class LoadResult { kLoaded, kFailed, kDamaged };
    LoadResult LoadFile(const QString& path);
    // Renames a damaged file aside and says so; false when it could not.
    static bool SetAside(const QString& path);
    void HoldFile(int fd, const struct stat& st, const QString& path, CRegistryData data);
    void ForgetFile();
    bool Modify(const std::function<bool(CRegistryData*)>& change);
    bool WriteReplacement(const QString& path, const CRegistryData& data);

    mutable std::mutex m_mutex;
    QString m_file;  // explicit file; empty = default
    // The file last read or written: its content and an open descriptor that
    // keeps its inode from being reused, so (device, inode) stays a safe identity.
    QString m_heldPath;
    int m_heldFd = -1;
    struct stat m_heldStat { };
    CRegistryData m_data;
    bool m_createFailed = false;  // a missing file could not be created
};
