#include "image/export.h"

#include "platform/file_replacement.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <memory>
#include <unistd.h>

#include <jpeglib.h>

namespace {

struct BitmapDeleter {
    void operator()(CBitmapObject* b) const { DeleteObject(b); }
};
using BitmapPtr = std::unique_ptr<CBitmapObject, BitmapDeleter>;

// The bitmap as something both writers can store: itself at 24 or 32 bits,
// else a 24-bit copy of the same width kept in *expanded.
bool DescribeForExport(HBITMAP bitmap, BitmapPtr* expanded, BITMAP* info)
{
    if (!GetObject(bitmap, info))
        return false;
    if (info->bmPlanes * info->bmBitsPixel >= 24)
        return true;
    expanded->reset(CreateBitmap(info->bmWidth, info->bmHeight, 1, 24, nullptr));
    if (!*expanded || !BitBlt(expanded->get(), 0, 0, info->bmWidth, info->bmHeight, bitmap, 0, 0))
        return false;
    return GetObject(expanded->get(), info) != 0;
}

void Put16(uint8_t* at, uint32_t v)
{
    at[0] = uint8_t(v);
    at[1] = uint8_t(v >> 8);
}

void Put32(uint8_t* at, uint32_t v)
{
    Put16(at, v);
    Put16(at + 2, v >> 16);
}

struct CJpegErrorManager {
    jpeg_error_mgr pub;
    jmp_buf jump;
};

void OnJpegError(j_common_ptr cinfo)
{
    (*cinfo->err->output_message)(cinfo);
    longjmp(reinterpret_cast<CJpegErrorManager*>(cinfo->err)->jump, 1);
}

// The only function that sets a jump point: it holds plain data alone and
// destroys the compressor on every path.
int CompressJpeg(FILE* out, const BITMAP& bitmap)
{
    jpeg_compress_struct cinfo;
    std::memset(&cinfo, 0, sizeof cinfo);
    CJpegErrorManager errors;
    cinfo.err = jpeg_std_error(&errors.pub);
    errors.pub.error_exit = OnJpegError;
    if (setjmp(errors.jump)) {
        jpeg_destroy_compress(&cinfo);
        return 0;
    }
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, out);
    cinfo.image_width = JDIMENSION(bitmap.bmWidth);
    cinfo.image_height = JDIMENSION(bitmap.bmHeight);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 100, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    JSAMPARRAY rows = (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo), JPOOL_IMAGE,
                                                 cinfo.image_width * 3, cinfo.image_height);
    if (DibToRgbRows(rows, bitmap)) {
        while (cinfo.next_scanline < cinfo.image_height)
            jpeg_write_scanlines(&cinfo, rows + cinfo.next_scanline, cinfo.image_height - cinfo.next_scanline);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return 1;
}

}  // namespace

int DibToRgbRows(uint8_t** rows, const BITMAP& bitmap)
{
    const int depth = bitmap.bmPlanes * bitmap.bmBitsPixel;
    if ((depth != 24 && depth != 32) || !bitmap.bmBits)
        return 0;
    const int width = bitmap.bmWidth, height = bitmap.bmHeight;
    const size_t rowLength = depth == 24 ? (size_t(width) * 3 + 3) & ~size_t(3) : size_t(width) * 4;
    const int bytes = depth / 8;
    const auto* bits = static_cast<const uint8_t*>(bitmap.bmBits);
    for (int y = 0; y < height; ++y) {
        const uint8_t* in = bits + size_t(height - 1 - y) * rowLength;
        uint8_t* out = rows[y];
        for (int x = 0; x < width; ++x, in += bytes, out += 3) {
            out[0] = in[2];
            out[1] = in[1];
            out[2] = in[0];
        }
    }
    return 1;
}

int SaveAsBmp(HBITMAP bitmap, const QString& path)
{
    BitmapPtr expanded;
    BITMAP info;
    if (!DescribeForExport(bitmap, &expanded, &info))
        return 0;
    const uint32_t depth = uint32_t(info.bmPlanes) * info.bmBitsPixel;
    const uint32_t rowLength = ((uint32_t(info.bmWidth) * depth / 8) + 3) & ~3u;
    const uint32_t pixelBytes = rowLength * uint32_t(info.bmHeight);

    uint8_t header[54] = {'B', 'M'};
    Put32(header + 2, 54 + pixelBytes);
    Put32(header + 10, 54);
    Put32(header + 14, 40);
    Put32(header + 18, uint32_t(info.bmWidth));
    Put32(header + 22, uint32_t(info.bmHeight));
    Put16(header + 26, 1);
    Put16(header + 28, depth);

    CFileReplacement file(path);
    const auto* pixels = static_cast<const char*>(info.bmBits);
    return file.Write(reinterpret_cast<const char*>(header), sizeof header) && file.Write(pixels, pixelBytes)
                   && file.Commit()
               ? 1
               : 0;
}

int SaveAsJpeg(HBITMAP bitmap, const QString& path)
{
    BitmapPtr expanded;
    BITMAP info;
    if (!DescribeForExport(bitmap, &expanded, &info))
        return 0;
    CFileReplacement file(path);
    // The compressor writes through its own stream on a duplicate of the
    // temporary file's descriptor; the rename happens only after it is closed.
    const int fd = file.Descriptor() >= 0 ? ::dup(file.Descriptor()) : -1;
    FILE* out = fd >= 0 ? ::fdopen(fd, "wb") : nullptr;
    if (!out) {
        if (fd >= 0)
            ::close(fd);
        return 0;
    }
    const int compressed = CompressJpeg(out, info);
    const bool closed = std::fclose(out) == 0;
    if (!compressed || !closed || !file.Commit())
        return 0;
    return 1;
}
