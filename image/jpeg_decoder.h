// JPEG decoding through libjpeg with DCT scaling, into packed R,G,B rows.
//
// A fatal library error never ends the program: the decode fails and the
// library's message goes to standard error. A cut-off file is only a warning
// to the library, so what decoded is returned. CMYK and YCCK files are
// decoded as CMYK and converted to RGB (Adobe files store the inks inverted).
// Grayscale files are reported as such and, unless asked for, not decoded.
// The Exif orientation is read from the APP1 marker as the header is read;
// the rows are returned as stored.
#pragma once

#include "image/gdi.h"
#include "image/pixel_rect.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>

enum class JpegStatus {
    kDecoded,
    kGrayscale,  // a one-component file and the caller did not ask to decode it
    kFailed,
    kNoMemory,  // the output could not be allocated (within the budget)
};

struct JpegImage {
    JpegImage() = default;
    ~JpegImage() { DeleteObject(bitmap); }
    JpegImage(const JpegImage&) = delete;
    JpegImage& operator=(const JpegImage&) = delete;
    // Hands the bitmap over to the caller.
    HBITMAP TakeBitmap()
    {
        HBITMAP taken = bitmap;
        bitmap = nullptr;
        return taken;
    }

    int imageWidth = 0;  // from the frame header
    int imageHeight = 0;
    int outputWidth = 0;  // after DCT scaling (and the region's crop)
    int outputHeight = 0;
    int outputComponents = 0;  // as the library decodes the file: 1, 3 or 4 (CMYK)
    bool adobeInverted = false;
    // The Exif orientation of the file's APP1 marker (orientation.h), 1 without one.
    int orientation = 1;
    // Without JpegRequest::toBitmap: outputHeight rows of outputWidth x 3
    // bytes, red, green, blue, top row first.
    std::unique_ptr<uint8_t[]> rgb;
    // With it: a 24-bit bitmap of the output size, as BitmapFromRgb makes.
    HBITMAP bitmap = nullptr;
};

struct JpegRequest {
    // Picks scale_denom (1, 2, 4 or 8) from the frame's width and height and
    // the Exif orientation (the picture may be shown turned a quarter).
    std::function<int(int width, int height, int orientation)> chooseScale;
    bool decodeGrayscale = false;
    // Decode straight into a bitmap rather than into packed rows.
    bool toBitmap = false;
    // The output (packed rows and a bitmap of the same size made from them,
    // or the bitmap alone) and the library's own working memory must fit in
    // this many bytes together.
    int64_t budget = int64_t(256) << 20;
    // Only this part of the frame (in the frame's pixels, as stored), at the
    // chosen scale: the rows above it are skipped and the columns beside it
    // cropped by the library, the rows below it never decoded. The output
    // is the decoded pixels the part touches. Empty: the whole frame.
    CPixelRect region;
};

JpegStatus DecodeJpegFile(FILE* file, const JpegRequest& request, JpegImage* image);
JpegStatus DecodeJpegMemory(const uint8_t* data, size_t size, const JpegRequest& request, JpegImage* image);
