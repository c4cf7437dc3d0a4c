#include "image/zip_reader.h"

#include "image/zip_end_record.h"
#include "image/zip_name.h"
#include "platform/host_bytes.h"

#include <QFile>
#include <cstring>
#include <ctime>
#include <minizip/unzip.h>
#include <vector>
#include <zlib.h>

namespace {

// Bytes asked of the library at a time while a member is read.
constexpr int kReadStep = 64 * 1024;
constexpr unsigned long kFlagEncrypted = 0x1;

unzFile Handle(void* file)
{
    return static_cast<unzFile>(file);
}

CTime LocalTimeOf(const tm_unz& date)
{
    std::tm fields {};
    fields.tm_year = static_cast<int>(date.tm_year) - 1900;
    fields.tm_mon = static_cast<int>(date.tm_mon);
    fields.tm_mday = static_cast<int>(date.tm_mday);
    fields.tm_hour = static_cast<int>(date.tm_hour);
    fields.tm_min = static_cast<int>(date.tm_min);
    fields.tm_sec = static_cast<int>(date.tm_sec);
    fields.tm_isdst = -1;
    const std::time_t seconds = std::mktime(&fields);
    return seconds == static_cast<std::time_t>(-1) ? CTime() : CTime(static_cast<int64_t>(seconds));
}

}  // namespace

CZipReader::~CZipReader()
{
    Close();
}

bool CZipReader::Open(const QString& hostPath)
{
    Close();
    const QByteArray path = HostBytes::Encode(hostPath);
    m_file = unzOpen2_64(path.constData(), static_cast<zlib_filefunc64_def*>(ZipRegularFileFunctions()));
    if (m_file)
        return true;
    unsigned members = 0;
    const int64_t endRecord = FindZipEndRecord(path, &members);
    if (endRecord == 0) {
        m_empty = members == 0;
    } else if (endRecord > 0) {
        m_trimmed = std::make_unique<CZipTrimmedFile>(endRecord);
        m_file = unzOpen2_64(path.constData(), static_cast<zlib_filefunc64_def*>(m_trimmed->Functions()));
    }
    return IsOpen();
}

void CZipReader::Close()
{
    m_empty = false;
    if (m_file) {
        CloseCurrent();
        unzClose(Handle(m_file));
        m_file = nullptr;
    }
    m_trimmed.reset();
}

bool CZipReader::GoToFirst()
{
    return m_file && unzGoToFirstFile(Handle(m_file)) == UNZ_OK;
}

bool CZipReader::GoToNext()
{
    CloseCurrent();
    return m_file && unzGoToNextFile(Handle(m_file)) == UNZ_OK;
}

bool CZipReader::GoTo(const CZipMemberPos& position)
{
    CloseCurrent();
    if (!m_file || !position.set)
        return false;
    const unz64_file_pos pos {position.directoryOffset, position.index};
    return unzGoToFilePos64(Handle(m_file), &pos) == UNZ_OK;
}

bool CZipReader::ReadCurrentInfo(CZipMemberInfo* info)
{
    if (!m_file)
        return false;
    unz_file_info fileInfo {};
    std::vector<char> name(kZipNameBufferSize, '\0');
    if (unzGetCurrentFileInfo(Handle(m_file), &fileInfo, name.data(), uLong(name.size()), nullptr, 0, nullptr, 0)
        != UNZ_OK)
        return false;
    // A name too long to be taken is still read whole, to be named in a message.
    info->nameTooLong = fileInfo.size_filename >= kZipNameBufferSize;
    if (info->nameTooLong) {
        name.assign(size_t(fileInfo.size_filename) + 1, '\0');
        unz_file_info again {};
        if (unzGetCurrentFileInfo(Handle(m_file), &again, name.data(), uLong(name.size()), nullptr, 0, nullptr, 0)
            != UNZ_OK)
            return false;
    }
    info->name = DecodeZipName(name.data(), strnlen(name.data(), size_t(fileInfo.size_filename)));
    info->size = fileInfo.uncompressed_size;
    info->crc = static_cast<uint32_t>(fileInfo.crc);
    info->modified = LocalTimeOf(fileInfo.tmu_date);
    info->method = static_cast<int>(fileInfo.compression_method);
    info->encrypted = (fileInfo.flag & kFlagEncrypted) != 0;
    unz64_file_pos pos {};
    info->position.set = unzGetFilePos64(Handle(m_file), &pos) == UNZ_OK;
    info->position.directoryOffset = pos.pos_in_zip_directory;
    info->position.index = pos.num_of_file;
    return true;
}

bool CZipReader::OpenCurrent(const CZipMemberInfo& info)
{
    CloseCurrent();
    // Without a password the library would hand out encrypted bytes as data,
    // and it passes bzip2 members through undecoded.
    if (!m_file || !info.IsReadable())
        return false;
    m_memberOpen = unzOpenCurrentFile(Handle(m_file)) == UNZ_OK;
    return m_memberOpen;
}

ZipReadStatus CZipReader::ReadCurrent(const CZipMemberInfo& info, QByteArray* out, uint64_t cap)
{
    out->clear();
    if (!m_memberOpen)
        return ZipReadStatus::CannotOpen;
    ZipReadStatus status = ZipReadStatus::Ok;
    qsizetype total = 0;
    for (;;) {
        // Room for one more step, never more than one step past the cap.
        out->resize(total + kReadStep);
        const int read = unzReadCurrentFile(Handle(m_file), out->data() + total, kReadStep);
        if (read == 0)
            break;
        if (read < 0) {
            status = ZipReadStatus::ReadError;
            break;
        }
        total += read;
        if (uint64_t(total) > cap) {
            status = ZipReadStatus::TooLarge;
            break;
        }
    }
    out->resize(total);
    // The library only reports a checksum mismatch here, and only when the
    // stated size was reached; our own sum covers members whose stated size lies.
    const int closed = unzCloseCurrentFile(Handle(m_file));
    m_memberOpen = false;
    if (status == ZipReadStatus::Ok) {
        const uLong crc
            = crc32_z(crc32(0L, Z_NULL, 0), reinterpret_cast<const Bytef*>(out->constData()), size_t(total));
        if (closed == UNZ_CRCERROR || static_cast<uint32_t>(crc) != info.crc)
            status = ZipReadStatus::ChecksumError;
        else if (closed != UNZ_OK)
            status = ZipReadStatus::ReadError;
    }
    if (status != ZipReadStatus::Ok) {
        out->clear();
        out->squeeze();
    }
    return status;
}

void CZipReader::CloseCurrent()
{
    if (m_memberOpen && m_file)
        unzCloseCurrentFile(Handle(m_file));
    m_memberOpen = false;
}
