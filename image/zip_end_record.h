// Finding an archive's end-of-directory record where minizip 1.1 does not
// look: its search reaches 65535 bytes back from the end of the file, so it
// misses the record when the archive comment is longer than 65513 bytes, and
// it takes a record at offset 0 (an archive with no members) for none. Also
// the library's file access that every archive open goes through.
#pragma once

#include <QByteArray>
#include <cstdint>
#include <memory>

// Offset of the end-of-directory record whose comment runs exactly to the
// end of the file, or -1. memberCount receives the record's member count.
int64_t FindZipEndRecord(const QByteArray& hostPath, unsigned* memberCount);

// File access for unzOpen2_64 (a zlib_filefunc64_def) through stdio that opens
// only regular files (platform/regular_file.h): a pipe or a device named like
// an archive is refused instead of blocking.
void* ZipRegularFileFunctions();

// The archive reading the calling thread has done through those functions so
// far: files opened and read calls made. Tests hold the reading of a catalog
// build to its member count with it.
struct ZipFileAccess {
    uint64_t opens = 0;
    uint64_t reads = 0;
};
ZipFileAccess ZipFileAccessOfThisThread();

// File access for unzOpen2_64 that shows the library a file ending right
// after the end-of-directory record, so its own search finds the record.
class CZipTrimmedFile {
public:
    explicit CZipTrimmedFile(int64_t endRecordOffset);
    ~CZipTrimmedFile();
    CZipTrimmedFile(const CZipTrimmedFile&) = delete;
    CZipTrimmedFile& operator=(const CZipTrimmedFile&) = delete;

    // The zlib_filefunc64_def to hand to unzOpen2_64; valid while this object lives.
    void* Functions();

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};
