// CZipReader: one open ZIP archive, walked member by member through minizip's
// unzip interface, with the checks that interface leaves to its caller.
//
// Member names are read into a 256-byte buffer and decoded by zip_name.h. A
// member is only read when it is plain (not encrypted) and stored or deflated;
// its bytes are read into memory to the end under a fixed cap, never sized
// from the size the archive states, and its checksum is verified. One reader belongs to one
// thread at a time.
#pragma once

#include "image/image_decoder.h"
#include "image/zip_end_record.h"
#include "image/zip_member_pos.h"
#include "platform/time_value.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <memory>

// What the archive's directory says about one member.
struct CZipMemberInfo {
    QString name;              // decoded name, as stored: may hold "/", "\", "../"
    bool nameTooLong = false;  // stored name longer than 255 bytes: never taken
    uint64_t size = 0;         // stated uncompressed size; not to be trusted
    uint32_t crc = 0;
    CTime modified;  // stored date and time, taken as local time
    int method = 0;  // 0 stored, 8 deflated; others are not read
    bool encrypted = false;
    CZipMemberPos position;  // of this entry in its archive's directory

    // Stored or deflated, and not encrypted.
    bool IsReadable() const { return !encrypted && (method == 0 || method == 8); }
};

// Why reading a member's bytes ended.
enum class ZipReadStatus {
    Ok,
    CannotOpen,     // encrypted, a method we do not read, or the library refused it
    ReadError,      // the data ended early or did not inflate
    ChecksumError,  // the bytes read do not match the stored CRC-32
    TooLarge,       // more bytes than the cap
};

// Largest member read: its bytes are held in memory while they are decoded,
// so the decode budget bounds them too.
constexpr uint64_t kZipMemberByteCap = uint64_t(kDecodeBudgetBytes);
// Longest stored member name taken (the name buffer holds it and a terminator).
constexpr size_t kZipNameBufferSize = 256;

class CZipReader {
public:
    CZipReader() = default;
    ~CZipReader();
    CZipReader(const CZipReader&) = delete;
    CZipReader& operator=(const CZipReader&) = delete;

    // Opens the archive at a host path; false when the file cannot be read or
    // holds no ZIP directory.
    bool Open(const QString& hostPath);
    void Close();
    bool IsOpen() const { return m_file != nullptr || m_empty; }

    // Moves to the first or next member; false at the end or on a damaged directory.
    bool GoToFirst();
    bool GoToNext();
    // Moves straight to the member whose entry lies at position; false when no
    // entry is there (the archive changed since the position was taken).
    bool GoTo(const CZipMemberPos& position);
    // Reads the current member's directory entry and its position; false when
    // it is unreadable.
    bool ReadCurrentInfo(CZipMemberInfo* info);

    // Opens the current member for reading; refuses members that are not
    // readable (CZipMemberInfo::IsReadable) without asking the library.
    bool OpenCurrent(const CZipMemberInfo& info);
    // Reads the opened member to its end into *out (replacing what it held),
    // closes it and checks its CRC-32 both as the library computed it and over
    // the bytes read. Reading stops as soon as the bytes pass the cap; *out
    // is emptied on every failure.
    ZipReadStatus ReadCurrent(const CZipMemberInfo& info, QByteArray* out, uint64_t cap = kZipMemberByteCap);
    // Closes the opened member without reading further.
    void CloseCurrent();

private:
    void* m_file = nullptr;                      // unzFile
    bool m_empty = false;                        // an archive with no members, which the library refuses
    std::unique_ptr<CZipTrimmedFile> m_trimmed;  // file access for a record the library misses
    bool m_memberOpen = false;
};
