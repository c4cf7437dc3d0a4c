#include "image/image_decoder.h"

#include "image/decode_job.h"

#include <algorithm>
#include <cstring>
#include <memory>

void ScaledImageSize(int fullWidth, int fullHeight, int scalePercent, int maxWidth, int maxHeight, int* outWidth,
                     int* outHeight)
{
    if (fullWidth < 1 || fullHeight < 1) {
        *outWidth = *outHeight = 0;
        return;
    }
    // The factor num / den is the smallest of the three ratios, compared exactly.
    int64_t num = std::clamp(scalePercent, 1, 100);
    int64_t den = 100;
    if (maxWidth > 0 && int64_t(maxWidth) * den < num * fullWidth) {
        num = maxWidth;
        den = fullWidth;
    }
    if (maxHeight > 0 && int64_t(maxHeight) * den < num * fullHeight) {
        num = maxHeight;
        den = fullHeight;
    }
    *outWidth = int(std::max<int64_t>(1, fullWidth * num / den));
    *outHeight = int(std::max<int64_t>(1, fullHeight * num / den));
}

ImageFormat SniffImageFormat(const uint8_t* data, size_t size)
{
    static const uint8_t png[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    if (size >= 8 && std::memcmp(data, png, 8) == 0)
        return ImageFormat::Png;
    if (size >= 6 && (std::memcmp(data, "GIF87a", 6) == 0 || std::memcmp(data, "GIF89a", 6) == 0))
        return ImageFormat::Gif;
    if (size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF)
        return ImageFormat::Jpeg;
    return ImageFormat::Unknown;
}

const char* DecodeStatusText(DecodeStatus status)
{
    switch (status) {
    case DecodeStatus::Ok:
        return "decoded";
    case DecodeStatus::CannotOpen:
        return "the file cannot be opened";
    case DecodeStatus::NotRecognised:
        return "not a PNG, GIF or JPEG picture";
    case DecodeStatus::Unsupported:
        return "a kind of picture this decoder does not handle";
    case DecodeStatus::Corrupt:
        return "damaged or incomplete picture data";
    case DecodeStatus::TooLarge:
        return "the picture is too large";
    case DecodeStatus::OutOfMemory:
        return "not enough memory";
    }
    return "unknown status";
}

static DecodeStatus Decode(DecompressImageInfo* info, DecodeJob& job)
{
    std::unique_ptr<CByteSource> source(info->data ? new CByteSource(info->data, info->size)
                                                   : CByteSource::OpenFile(info->path));
    if (!source)
        return DecodeStatus::CannotOpen;
    uint8_t signature[8] = {};
    info->format = SniffImageFormat(signature, source->Peek(signature, sizeof signature));

    job.source = source.get();
    job.scalePercent = info->iScale;
    job.maxWidth = info->iMaxWidth;
    job.maxHeight = info->iMaxHeight;
    job.headerOnly = info->headerOnly;
    job.region = info->region;
    switch (info->format) {
    case ImageFormat::Png:
        return DecodePng(job);
    case ImageFormat::Gif:
        return DecodeGif(job);
    case ImageFormat::Jpeg:
        return DecodeGrayJpeg(job);
    case ImageFormat::Unknown:
        break;
    }
    return DecodeStatus::NotRecognised;
}

int DecompressImageIndirect(DecompressImageInfo* info)
{
    if (!info)
        return 1;
    DecodeJob job;
    info->format = ImageFormat::Unknown;
    info->status = Decode(info, job);
    info->fullWidth = job.fullWidth;
    info->fullHeight = job.fullHeight;
    info->outWidth = job.outWidth;
    info->outHeight = job.outHeight;
    info->orientation = job.orientation;
    if (info->status != DecodeStatus::Ok)
        return 1;
    if (!info->headerOnly && info->phBM)
        *info->phBM = job.TakeBitmap();
    return 0;
}
