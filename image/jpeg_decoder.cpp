#include "image/jpeg_decoder.h"

#include "image/orientation.h"

#include <csetjmp>
#include <cstring>
#include <new>

// jpeglib.h needs FILE and size_t declared before it.
#include <jpeglib.h>

namespace {

// A progressive file can hold any number of scans, each one a pass over the
// whole picture; real files have about ten.
constexpr int kMaxScans = 1000;

struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

[[noreturn]] void JumpOut(j_common_ptr cinfo)
{
    std::longjmp(reinterpret_cast<ErrorManager*>(cinfo->err)->jump, 1);
}

[[noreturn]] void ExitWithMessage(j_common_ptr cinfo)
{
    char message[JMSG_LENGTH_MAX];
    (*cinfo->err->format_message)(cinfo, message);
    std::fprintf(stderr, "lumo: jpeg: %s\n", message);
    JumpOut(cinfo);
}

void LimitScans(j_common_ptr cinfo)
{
    if (reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number > kMaxScans) {
        std::fprintf(stderr, "lumo: jpeg: more than %d scans\n", kMaxScans);
        JumpOut(cinfo);
    }
}

uint8_t Mul255(unsigned a, unsigned b)
{
    return uint8_t((a * b + 127) / 255);
}

// Writes red, green, blue (or blue, green, red when bgr) for each ink quadruple.
void CmykToRgb(const uint8_t* cmyk, uint8_t* out, int width, bool inverted, bool bgr)
{
    const int r = bgr ? 2 : 0;
    const int b = bgr ? 0 : 2;
    for (int x = 0; x < width; ++x, cmyk += 4, out += 3) {
        // Ink amounts are stored as 255 - ink when inverted.
        const unsigned c = inverted ? cmyk[0] : 255 - cmyk[0];
        const unsigned m = inverted ? cmyk[1] : 255 - cmyk[1];
        const unsigned y = inverted ? cmyk[2] : 255 - cmyk[2];
        const unsigned k = inverted ? cmyk[3] : 255 - cmyk[3];
        out[r] = Mul255(c, k);
        out[1] = Mul255(m, k);
        out[b] = Mul255(y, k);
    }
}

struct Source {
    FILE* file = nullptr;
    const uint8_t* data = nullptr;
    size_t size = 0;
};

// Forgets a partly made output after a failed decode.
void Discard(JpegImage* image)
{
    image->rgb.reset();
    DeleteObject(image->bitmap);
    image->bitmap = nullptr;
}

bool IsCmyk(const jpeg_decompress_struct& cinfo)
{
    return cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
}

// The orientation of the first APP1 marker that holds an Exif block.
int ExifOrientationOf(const jpeg_decompress_struct& cinfo)
{
    for (jpeg_saved_marker_ptr m = cinfo.marker_list; m; m = m->next)
        if (m->marker == JPEG_APP0 + 1 && m->data_length >= 6 && std::memcmp(m->data, "Exif\0", 6) == 0)
            return ExifOrientation(m->data, m->data_length);
    return kOrientationAsStored;
}

// Records the frame header's facts and sets the output colours and scale the
// request asks for. kGrayscale (nothing set) when the file is grayscale and
// the request leaves grayscale files to another decoder, else kDecoded.
JpegStatus ChooseOutput(jpeg_decompress_struct& cinfo, const JpegRequest& request, JpegImage* image)
{
    image->imageWidth = int(cinfo.image_width);
    image->imageHeight = int(cinfo.image_height);
    image->adobeInverted = cinfo.saw_Adobe_marker;
    image->orientation = ExifOrientationOf(cinfo);
    if (cinfo.out_color_space == JCS_GRAYSCALE) {
        if (!request.decodeGrayscale) {
            image->outputComponents = 1;
            return JpegStatus::kGrayscale;
        }
        cinfo.out_color_space = JCS_RGB;
    }
    if (request.toBitmap)
        cinfo.out_color_space = JCS_EXT_BGR;
    if (IsCmyk(cinfo))
        cinfo.out_color_space = JCS_CMYK;
    cinfo.scale_num = 1;
    cinfo.scale_denom = request.chooseScale
                            ? unsigned(request.chooseScale(image->imageWidth, image->imageHeight, image->orientation))
                            : 1;
    return JpegStatus::kDecoded;
}

// The output pixels the request's region touches at the chosen scale (a
// decoded pixel covers scale_denom frame pixels a side), or all of them.
// Empty when the region lies outside the frame.
CPixelRect OutputRect(const jpeg_decompress_struct& cinfo, const JpegRequest& request)
{
    const CPixelRect whole {0, 0, int(cinfo.output_width), int(cinfo.output_height)};
    if (request.region.Empty())
        return whole;
    const CPixelRect part = request.region.ClippedTo(int(cinfo.image_width), int(cinfo.image_height));
    if (part.Empty())
        return {};
    const int d = int(cinfo.scale_denom);
    const int x = part.x / d, y = part.y / d;
    const int right = int((int64_t(part.x) + part.width + d - 1) / d);
    const int bottom = int((int64_t(part.y) + part.height + d - 1) / d);
    return CPixelRect {x, y, right - x, bottom - y}.ClippedTo(whole.width, whole.height);
}

// Once the output size is known: refuses an output over the memory budget,
// leaves the library the rest of the budget and allocates the output (a
// bitmap, or packed rows). kDecoded when the output is ready for the rows.
JpegStatus AllocateOutput(jpeg_decompress_struct& cinfo, const JpegRequest& request, const CPixelRect& out,
                          JpegImage* image)
{
    if (out.Empty())
        return JpegStatus::kFailed;
    const int64_t width = out.width;
    const int64_t packedBytes = request.toBitmap ? 0 : width * 3 * out.height;
    const int64_t bitmapBytes = CBitmapObject::StrideFor(int(width), 24) * out.height;
    if (packedBytes + bitmapBytes >= request.budget) {
        std::fprintf(stderr, "lumo: jpeg: %ld x %ld output is over the memory budget\n", long(width), long(out.height));
        return JpegStatus::kFailed;
    }
    cinfo.mem->max_memory_to_use = long(request.budget - packedBytes - bitmapBytes);
    if (request.toBitmap) {
        BITMAPINFOHEADER header;
        header.biWidth = int32_t(width);
        header.biHeight = int32_t(out.height);
        image->bitmap = CreateDIBSection(header, nullptr, 0, nullptr);
    } else {
        image->rgb.reset(new (std::nothrow) uint8_t[size_t(packedBytes)]);
    }
    return image->rgb || image->bitmap ? JpegStatus::kDecoded : JpegStatus::kNoMemory;
}

void RecordOutputSize(const jpeg_decompress_struct& cinfo, const CPixelRect& out, JpegImage* image)
{
    image->outputWidth = out.width;
    image->outputHeight = out.height;
    image->outputComponents = cinfo.output_components;
}

// Where output row y goes: the bitmap's row, or the packed rows' one.
uint8_t* OutputRow(const JpegImage& image, JDIMENSION y)
{
    return image.bitmap ? image.bitmap->RowFromTop(int(y))
                        : image.rgb.get() + size_t(y) * size_t(image.outputWidth) * 3;
}

// One decoded row (from column `from` of what the library returned) into
// output row y: inks converted, else the colours copied (a cropped row).
void PutRow(const uint8_t* decoded, int from, JDIMENSION y, bool inks, JpegImage* image)
{
    uint8_t* row = OutputRow(*image, y);
    if (inks)
        CmykToRgb(decoded + size_t(from) * 4, row, image->outputWidth, image->adobeInverted, image->bitmap != nullptr);
    else
        std::memcpy(row, decoded + size_t(from) * 3, size_t(image->outputWidth) * 3);
}

// The only function that holds a jump target: it makes the library calls
// and nothing else, the checks and the allocation are the functions above,
// and every way out destroys the decompressor.
JpegStatus Decompress(const Source& source, const JpegRequest& request, JpegImage* image)
{
    jpeg_decompress_struct cinfo {};
    ErrorManager err {};
    jpeg_progress_mgr progress {};
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = ExitWithMessage;
    progress.progress_monitor = LimitScans;
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&cinfo);
        Discard(image);
        return JpegStatus::kFailed;
    }
    jpeg_create_decompress(&cinfo);
    cinfo.progress = &progress;
    if (source.file)
        jpeg_stdio_src(&cinfo, source.file);
    else
        jpeg_mem_src(&cinfo, source.data, static_cast<unsigned long>(source.size));
    jpeg_save_markers(&cinfo, JPEG_APP0 + 1, 0xFFFF);
    jpeg_read_header(&cinfo, TRUE);
    if (const JpegStatus chosen = ChooseOutput(cinfo, request, image); chosen != JpegStatus::kDecoded) {
        jpeg_destroy_decompress(&cinfo);
        return chosen;
    }
    jpeg_calc_output_dimensions(&cinfo);
    const CPixelRect out = OutputRect(cinfo, request);
    if (const JpegStatus allocated = AllocateOutput(cinfo, request, out, image); allocated != JpegStatus::kDecoded) {
        jpeg_destroy_decompress(&cinfo);
        return allocated;
    }
    jpeg_start_decompress(&cinfo);
    RecordOutputSize(cinfo, out, image);
    // A part of the frame: the library decodes whole blocks, so the columns
    // it returns start at or before the part's.
    JDIMENSION left = JDIMENSION(out.x), across = JDIMENSION(out.width);
    if (across < cinfo.output_width)
        jpeg_crop_scanline(&cinfo, &left, &across);
    if (out.y > 0 && jpeg_skip_scanlines(&cinfo, JDIMENSION(out.y)) != JDIMENSION(out.y))
        JumpOut(reinterpret_cast<j_common_ptr>(&cinfo));
    const bool inks = IsCmyk(cinfo);
    const bool cropped = across != JDIMENSION(out.width);
    JSAMPARRAY decoded = inks || cropped ? (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo),
                                                                      JPOOL_IMAGE, cinfo.output_width * 4, 1)
                                         : nullptr;
    for (JDIMENSION y = 0; y < JDIMENSION(out.height); ++y) {
        JSAMPROW target = decoded ? decoded[0] : OutputRow(*image, y);
        if (jpeg_read_scanlines(&cinfo, &target, 1) != 1)
            JumpOut(reinterpret_cast<j_common_ptr>(&cinfo));
        if (decoded)
            PutRow(decoded[0], out.x - int(left), y, inks, image);
    }
    // Whatever follows the last row (trailing data, the end marker) is not needed.
    jpeg_destroy_decompress(&cinfo);
    return JpegStatus::kDecoded;
}

}  // namespace

JpegStatus DecodeJpegFile(FILE* file, const JpegRequest& request, JpegImage* image)
{
    if (!file || !image)
        return JpegStatus::kFailed;
    Source source;
    source.file = file;
    return Decompress(source, request, image);
}

JpegStatus DecodeJpegMemory(const uint8_t* data, size_t size, const JpegRequest& request, JpegImage* image)
{
    if (!data || !image)
        return JpegStatus::kFailed;
    Source source;
    source.data = data;
    source.size = size;
    return Decompress(source, request, image);
}
