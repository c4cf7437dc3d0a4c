#include "image/zip_end_record.h"
#include "platform/regular_file.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <minizip/ioapi.h>
#include <vector>

namespace {

constexpr int64_t kRecordSize = 22;
constexpr int64_t kLongestComment = 0xFFFF;

unsigned Read16(const unsigned char* p)
{
    return p[0] | p[1] << 8;
}

}  // namespace

int64_t FindZipEndRecord(const QByteArray& hostPath, unsigned* memberCount)
{
    FILE* file = RegularFile::OpenStream(hostPath);
    if (!file)
        return -1;
    int64_t size = -1;
    if (std::fseek(file, 0, SEEK_END) == 0)
        size = std::ftell(file);
    const int64_t tailSize = std::min(size, kRecordSize + kLongestComment);
    std::vector<unsigned char> tail(tailSize > 0 ? static_cast<size_t>(tailSize) : 0);
    const bool read = tailSize >= kRecordSize && std::fseek(file, static_cast<long>(size - tailSize), SEEK_SET) == 0
                      && std::fread(tail.data(), 1, tail.size(), file) == tail.size();
    std::fclose(file);
    if (!read)
        return -1;
    for (int64_t at = tailSize - kRecordSize; at >= 0; --at) {
        const unsigned char* record = tail.data() + at;
        if (std::memcmp(record, "PK\5\6", 4) == 0 && at + kRecordSize + Read16(record + 20) == tailSize) {
            if (memberCount)
                *memberCount = Read16(record + 10);
            return size - tailSize + at;
        }
    }
    return -1;
}

namespace {

thread_local ZipFileAccess t_access;

// The library's stdio access, opening only regular files for reading, so a
// pipe or device named like an archive never blocks the open.
voidpf OpenRegular(voidpf, const void* name, int mode)
{
    if ((mode & ZLIB_FILEFUNC_MODE_READWRITEFILTER) != ZLIB_FILEFUNC_MODE_READ)
        return nullptr;
    ++t_access.opens;
    return RegularFile::OpenStream(QByteArray(static_cast<const char*>(name)));
}

// The library reads an entry's fields a byte or two at a time; a stream is
// used by one thread only, so the stream lock each fread takes is skipped.
uLong CountedRead(voidpf, voidpf stream, void* buf, uLong size)
{
    ++t_access.reads;
    return uLong(fread_unlocked(buf, 1, size, static_cast<FILE*>(stream)));
}

}  // namespace

void* ZipRegularFileFunctions()
{
    static zlib_filefunc64_def functions = [] {
        zlib_filefunc64_def f {};
        fill_fopen64_filefunc(&f);
        f.zopen64_file = &OpenRegular;
        f.zread_file = &CountedRead;
        return f;
    }();
    return &functions;
}

ZipFileAccess ZipFileAccessOfThisThread()
{
    return t_access;
}

struct CZipTrimmedFile::Impl {
    zlib_filefunc64_def base {};
    zlib_filefunc64_def trimmed {};
    ZPOS64_T end = 0;

    static Impl* Of(voidpf opaque) { return static_cast<Impl*>(opaque); }
    static voidpf Open(voidpf opaque, const void* name, int mode)
    {
        return Of(opaque)->base.zopen64_file(Of(opaque)->base.opaque, name, mode);
    }
    static uLong Read(voidpf opaque, voidpf stream, void* buf, uLong size)
    {
        return Of(opaque)->base.zread_file(Of(opaque)->base.opaque, stream, buf, size);
    }
    static uLong Write(voidpf opaque, voidpf stream, const void* buf, uLong size)
    {
        return Of(opaque)->base.zwrite_file(Of(opaque)->base.opaque, stream, buf, size);
    }
    static ZPOS64_T Tell(voidpf opaque, voidpf stream)
    {
        return Of(opaque)->base.ztell64_file(Of(opaque)->base.opaque, stream);
    }
    static long Seek(voidpf opaque, voidpf stream, ZPOS64_T offset, int origin)
    {
        // Seeking from the end is how the library measures the file.
        if (origin == ZLIB_FILEFUNC_SEEK_END)
            return Of(opaque)->base.zseek64_file(Of(opaque)->base.opaque, stream, Of(opaque)->end + offset,
                                                 ZLIB_FILEFUNC_SEEK_SET);
        return Of(opaque)->base.zseek64_file(Of(opaque)->base.opaque, stream, offset, origin);
    }
    static int Close(voidpf opaque, voidpf stream)
    {
        return Of(opaque)->base.zclose_file(Of(opaque)->base.opaque, stream);
    }
    static int Error(voidpf opaque, voidpf stream)
    {
        return Of(opaque)->base.zerror_file(Of(opaque)->base.opaque, stream);
    }
};

CZipTrimmedFile::CZipTrimmedFile(int64_t endRecordOffset)
    : m_impl(std::make_unique<Impl>())
{
    m_impl->base = *static_cast<zlib_filefunc64_def*>(ZipRegularFileFunctions());
    m_impl->end = static_cast<ZPOS64_T>(endRecordOffset + kRecordSize);
    m_impl->trimmed
        = {&Impl::Open, &Impl::Read, &Impl::Write, &Impl::Tell, &Impl::Seek, &Impl::Close, &Impl::Error, m_impl.get()};
}

CZipTrimmedFile::~CZipTrimmedFile() = default;

void* CZipTrimmedFile::Functions()
{
    return &m_impl->trimmed;
}
