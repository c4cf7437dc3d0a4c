// Replacing a file whole. The new content goes to a temporary file beside the
// target (".NAME.XXXX", created afresh with the permissions the umask allows,
// then given the old file's) and is renamed over the target only when every
// byte reached the disk, so a failed save leaves the old file as it was and
// never a part of a new one. Every short write counts as a failure (a full
// disk, a size limit). A target reached through a symbolic link is replaced
// where it lies. Temporary files that killed saves of the same target left
// behind (ours, untouched for a minute, so a save still running elsewhere
// keeps its own) are removed first.
//
// Paths are host paths, turned into bytes by platform/host_bytes.h. One
// object per save, used by one thread.
#pragma once

#include <QByteArray>
#include <QString>

class CFileReplacement {
public:
    explicit CFileReplacement(const QString& hostPath);
    ~CFileReplacement();  // removes the temporary file unless committed
    CFileReplacement(const CFileReplacement&) = delete;
    CFileReplacement& operator=(const CFileReplacement&) = delete;

    // The temporary file's descriptor, or -1 when it could not be made.
    int Descriptor() const { return m_fd; }
    // Writes all of data; false on any failure.
    bool Write(const char* data, qsizetype size);
    bool Write(const QByteArray& data) { return Write(data.constData(), data.size()); }
    // Syncs and closes the temporary file and renames it over the target;
    // false (the temporary file removed) when any step fails.
    bool Commit();

private:
    QByteArray m_target;  // where the content goes, links resolved
    QByteArray m_temp;
    int m_fd = -1;
    bool m_failed = false;
};
