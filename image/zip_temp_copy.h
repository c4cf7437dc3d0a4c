// CZipTempCopy: the temporary file an archive member is copied into so that a
// decoder can read it, deleted when the holder goes away.
//
// The file gets a name we make (".lumo-zip-XXXXXX" plus the member's picture
// extension), never one taken from the member, so no member name can place it
// outside its folder; it is created exclusively, so it never replaces a file.
// The leading "." keeps folder scans from listing it. It goes beside the
// archive, or into the user's temporary folder when the archive's folder
// cannot take it.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdio>

class CZipTempCopy {
public:
    CZipTempCopy() = default;
    ~CZipTempCopy();
    CZipTempCopy(CZipTempCopy&& other) noexcept;
    CZipTempCopy& operator=(CZipTempCopy&& other) noexcept;
    CZipTempCopy(const CZipTempCopy&) = delete;
    CZipTempCopy& operator=(const CZipTempCopy&) = delete;

    // Creates a new empty file open for writing in the first folder of the
    // list that takes one. On failure *failedPath is the last path tried.
    bool Create(const QStringList& hostFolders, const QString& memberName, QString* failedPath);
    // Ends writing; false when the data could not all be written out.
    bool FinishWriting();
    // Deletes the file now (the destructor does the same).
    void Remove();

    bool IsValid() const { return !m_hostPath.isEmpty(); }
    // Host path of the file, for the decoder.
    const QString& HostPath() const { return m_hostPath; }
    // Open while writing, null after FinishWriting.
    FILE* Stream() const { return m_stream; }

    // The folders a member of this archive is copied to, in the order tried:
    // the archive's own folder, then $XDG_RUNTIME_DIR, then the system's
    // temporary folder ($TMPDIR, else /tmp).
    static QStringList CandidateFolders(const QString& hostArchivePath);

private:
    QString m_hostPath;
    FILE* m_stream = nullptr;
};
