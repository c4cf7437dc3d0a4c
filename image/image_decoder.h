// The picture decoder for GIF, PNG and grayscale JPEG files: the stand-in for
// the platform's DecompressImageIndirect.
//
// A picture is decoded straight to a reduced size: the loader asks for a
// percentage of the full size and a maximum output size, and source rows are
// area-averaged into the output as they arrive, so memory follows the output
// size, not the file's. Transparency is composed over white. A GIF decodes to
// its logical screen with its first frame at the frame's offset.
//
// Thread contract: every call is self-contained (no global state, no caching)
// and may run on any thread, several at once.
//
// Typical use by the loader (the first pass only learns the size):
//
//   DecompressImageInfo info;
//   info.path = file;
//   info.iScale = 20;
//   info.headerOnly = true;
//   if (DecompressImageIndirect(&info) != 0) ... "Cannot load %s"
//   info.iScale = <computed from info.fullWidth or info.outWidth>;
//   info.headerOnly = false;
//   info.phBM = &item.m_fullBitmap;
//   if (DecompressImageIndirect(&info) != 0) ... "Cannot load %s"
#pragma once

#include "image/gdi.h"
#include "image/pixel_rect.h"

#include <QString>
#include <cstddef>
#include <cstdint>

enum class ImageFormat { Unknown, Png, Gif, Jpeg };

enum class DecodeStatus {
    Ok = 0,
    CannotOpen,     // the file could not be opened or read
    NotRecognised,  // neither a PNG, a GIF nor a JPEG stream
    Unsupported,    // a JPEG that is not grayscale, or a feature the decoder lacks
    Corrupt,        // broken or truncated data, no frame to show
    TooLarge,       // absurd header dimensions or working memory above the budget
    OutOfMemory,    // the output bitmap could not be made
};

// Fixed working-memory budget of one decode: the output bitmap, the reduction
// rows and, where interlacing needs it, a whole-output accumulator.
constexpr int64_t kDecodeBudgetBytes = int64_t(256) << 20;
// Pictures with a side above this are refused from their header.
constexpr int kMaxImageSide = 1 << 17;

// The parameter record of one call. Inputs first, then what the call fills in.
struct DecompressImageInfo {
    // The picture: a host file path, or (when data is not null) bytes in memory.
    QString path;
    const uint8_t* data = nullptr;
    size_t size = 0;

    int iScale = 100;       // percent of the full size, clamped to 1..100
    int iMaxWidth = 1600;   // the output is kept within iMaxWidth x iMaxHeight by
    int iMaxHeight = 1200;  // one factor for both sides; 0 or less: no cap
    // True: read the header only (cheap, no pixels decoded); *phBM is untouched
    // and outWidth/outHeight tell the size a full call would produce.
    bool headerOnly = false;
    // Only this part of the picture (its own pixels, as stored; empty: all of
    // it) is decoded, reduced as a picture of the part's size would be; rows
    // below it are not decoded where the format allows. Not for a grayscale
    // JPEG (Unsupported): the JPEG decoder crops those itself.
    CPixelRect region;
    // Receives the new 24-bit bottom-up bitmap, owned by the caller
    // (DeleteObject). Left unchanged on failure. May be null with headerOnly.
    HBITMAP* phBM = nullptr;

    // Filled in by the call:
    ImageFormat format = ImageFormat::Unknown;
    int fullWidth = 0;   // the picture's own size from its header
    int fullHeight = 0;  // (GIF: the logical screen)
    int outWidth = 0;    // the decoded (or, with headerOnly, the would-be) size
    int outHeight = 0;
    // The Exif orientation a PNG's eXIf chunk records (orientation.h); the
    // bitmap is as stored. 1 for other formats, and with headerOnly for a
    // chunk after the pixels.
    int orientation = 1;
    DecodeStatus status = DecodeStatus::Ok;
};

// Decodes as the record asks. Returns 0 on success, else non-zero with
// info->status telling why. Never throws.
int DecompressImageIndirect(DecompressImageInfo* info);

// The output size for a full size, a percentage and a cap: one factor for both
// sides (the smallest of scale / 100, maxWidth / width, maxHeight / height),
// each side rounded down and never below 1. Sizes below 1 give 0 x 0.
void ScaledImageSize(int fullWidth, int fullHeight, int scalePercent, int maxWidth, int maxHeight, int* outWidth,
                     int* outHeight);

// The format of a stream from its first bytes (signature).
ImageFormat SniffImageFormat(const uint8_t* data, size_t size);

// A short English description of a status, for diagnostics.
const char* DecodeStatusText(DecodeStatus status);
