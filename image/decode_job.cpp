#include "image/decode_job.h"
#include "platform/host_bytes.h"
#include "platform/regular_file.h"

#include <QFile>
#include <cstring>

CByteSource::~CByteSource()
{
    if (m_file)
        std::fclose(m_file);
}

CByteSource* CByteSource::OpenFile(const QString& path)
{
    if (path.isEmpty())
        return nullptr;
    FILE* file = RegularFile::OpenStream(HostBytes::Encode(path));
    if (!file)
        return nullptr;
    // Decoders ask for a few bytes at a time; fewer, larger reads are cheaper.
    std::setvbuf(file, nullptr, _IOFBF, size_t(64) << 10);
    return new CByteSource(file);
}

size_t CByteSource::Read(void* out, size_t n)
{
    size_t count = 0;
    if (m_file) {
        count = std::fread(out, 1, n, m_file);
    } else {
        count = std::min(n, m_size - m_pos);
        if (count)
            std::memcpy(out, m_data + m_pos, count);
        m_pos += count;
    }
    m_hitEnd = m_hitEnd || count < n;
    return count;
}

size_t CByteSource::Peek(uint8_t* out, size_t n)
{
    if (!m_file) {
        const size_t count = std::min(n, m_size - m_pos);
        if (count)
            std::memcpy(out, m_data + m_pos, count);
        return count;
    }
    const long at = std::ftell(m_file);
    const size_t count = std::fread(out, 1, n, m_file);
    if (at < 0 || std::fseek(m_file, at, SEEK_SET) != 0)
        return 0;
    return count;
}

DecodeJob::~DecodeJob()
{
    DeleteObject(bitmap);
}

DecodeStatus DecodeJob::Prepare(int width, int height, int64_t extraBytes, bool rowsInOrder)
{
    return Prepare(width, height, width, height, extraBytes, rowsInOrder);
}

DecodeStatus DecodeJob::Prepare(int width, int height, int sourceWidth, int sourceHeight, int64_t extraBytes,
                                bool rowsInOrder)
{
    if (width < 1 || height < 1)
        return DecodeStatus::Corrupt;
    if (width > kMaxImageSide || height > kMaxImageSide)
        return DecodeStatus::TooLarge;
    fullWidth = width;
    fullHeight = height;
    if (!region.Empty()) {
        region = region.ClippedTo(width, height);
        // The decoder's own reduction would need the region in its pixels.
        if (region.Empty() || sourceWidth != width || sourceHeight != height)
            return DecodeStatus::Unsupported;
        sourceWidth = region.width;
        sourceHeight = region.height;
    }
    ScaledImageSize(region.Empty() ? width : region.width, region.Empty() ? height : region.height, scalePercent,
                    maxWidth, maxHeight, &outWidth, &outHeight);
    // The decoder's own reduction must not go below the output size.
    if (sourceWidth < outWidth || sourceHeight < outHeight)
        return DecodeStatus::Unsupported;

    const int64_t bitmapBytes = CBitmapObject::StrideFor(outWidth, 24) * outHeight;
    const int64_t total
        = bitmapBytes + CAreaReducer::WorkingBytes(sourceWidth, outWidth, outHeight, rowsInOrder) + extraBytes;
    if (total > kDecodeBudgetBytes)
        return DecodeStatus::TooLarge;
    if (headerOnly)
        return DecodeStatus::Ok;

    BITMAPINFOHEADER header;
    header.biWidth = outWidth;
    header.biHeight = outHeight;
    header.biBitCount = 24;
    header.biSizeImage = uint32_t(bitmapBytes);
    DeleteObject(bitmap);
    bitmap = CreateDIBSection(header, nullptr, 0, nullptr);
    if (!bitmap)
        return DecodeStatus::OutOfMemory;
    if (!reducer.Init(sourceWidth, sourceHeight, bitmap, rowsInOrder, region.x, region.y))
        return DecodeStatus::OutOfMemory;
    return DecodeStatus::Ok;
}

HBITMAP DecodeJob::TakeBitmap()
{
    HBITMAP taken = bitmap;
    bitmap = nullptr;
    return taken;
}
