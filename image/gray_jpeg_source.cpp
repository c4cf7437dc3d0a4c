// Grayscale JPEG pictures through libjpeg, reduced first by the library's DCT
// scaling (never below the output size) and then by the reducer, row by row.
// A library error fails the decode with its message on standard error; the
// setjmp that catches it lives in one small function that destroys the
// decompressor on every path.
#include "image/decode_job.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace {

struct JpegErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

[[noreturn]] void FailJpeg(j_common_ptr cinfo)
{
    (*cinfo->err->output_message)(cinfo);
    std::longjmp(reinterpret_cast<JpegErrorManager*>(cinfo->err)->jump, 1);
}

// The largest DCT reduction (1/1 .. 1/8) whose output is still at least
// outWidth x outHeight.
int ScaleDenominator(int width, int height, int outWidth, int outHeight)
{
    for (int denom = 8; denom > 1; denom /= 2) {
        if ((width + denom - 1) / denom >= outWidth && (height + denom - 1) / denom >= outHeight)
            return denom;
    }
    return 1;
}

// Memory the library itself needs: a progressive file keeps the whole
// picture's coefficients; a baseline file a band of rows.
int64_t LibraryBytes(const jpeg_decompress_struct& cinfo)
{
    const int64_t blocksWide = (int64_t(cinfo.image_width) + 7) / 8;
    const int64_t blocksHigh = (int64_t(cinfo.image_height) + 7) / 8;
    if (cinfo.progressive_mode)
        return blocksWide * blocksHigh * 64 * int64_t(sizeof(JCOEF)) * cinfo.num_components;
    return blocksWide * 8 * 16 * 2 * cinfo.num_components + (int64_t(64) << 10);
}

// Sizes the output after the header: DCT scale, bitmap and reducer.
DecodeStatus PrepareGray(DecodeJob& job, jpeg_decompress_struct& cinfo)
{
    if (cinfo.num_components != 1 || cinfo.jpeg_color_space != JCS_GRAYSCALE)
        return DecodeStatus::Unsupported;
    const int width = int(cinfo.image_width);
    const int height = int(cinfo.image_height);
    int outWidth = 0, outHeight = 0;
    ScaledImageSize(width, height, job.scalePercent, job.maxWidth, job.maxHeight, &outWidth, &outHeight);
    cinfo.scale_num = 1;
    cinfo.scale_denom = unsigned(ScaleDenominator(width, height, outWidth, outHeight));
    cinfo.out_color_space = JCS_GRAYSCALE;
    jpeg_calc_output_dimensions(&cinfo);
    const int64_t extra = LibraryBytes(cinfo) + int64_t(cinfo.output_width) * 4;
    cinfo.mem->max_memory_to_use = long(kDecodeBudgetBytes);
    return job.Prepare(width, height, int(cinfo.output_width), int(cinfo.output_height), extra, true);
}

void AddGrayRow(DecodeJob& job, int y, const JSAMPLE* gray, JSAMPLE* rgb, int width)
{
    for (int x = 0; x < width; ++x)
        rgb[3 * x] = rgb[3 * x + 1] = rgb[3 * x + 2] = gray[x];
    job.reducer.AddRow(y, rgb);
}

// The whole libjpeg conversation. Only plain data lives in this frame, so the
// jump back from an error skips no destructor.
DecodeStatus RunGrayJpeg(DecodeJob* job)
{
    jpeg_decompress_struct cinfo;
    JpegErrorManager err;
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = FailJpeg;
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&cinfo);
        return DecodeStatus::Corrupt;
    }
    jpeg_create_decompress(&cinfo);
    if (job->source->Data())
        jpeg_mem_src(&cinfo, job->source->Data(), (unsigned long)job->source->Size());
    else
        jpeg_stdio_src(&cinfo, job->source->File());
    jpeg_read_header(&cinfo, TRUE);
    const DecodeStatus status = PrepareGray(*job, cinfo);
    if (status != DecodeStatus::Ok || job->headerOnly) {
        jpeg_destroy_decompress(&cinfo);
        return status;
    }
    jpeg_start_decompress(&cinfo);
    const JDIMENSION width = cinfo.output_width;
    JSAMPARRAY gray = (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo), JPOOL_IMAGE, width, 1);
    JSAMPARRAY rgb = (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo), JPOOL_IMAGE, width * 3, 1);
    while (cinfo.output_scanline < cinfo.output_height) {
        const int y = int(cinfo.output_scanline);
        if (jpeg_read_scanlines(&cinfo, gray, 1) != 1)
            break;
        AddGrayRow(*job, y, gray[0], rgb[0], int(width));
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    job->reducer.Finish();
    return DecodeStatus::Ok;
}

}  // namespace

DecodeStatus DecodeGrayJpeg(DecodeJob& job)
{
    return RunGrayJpeg(&job);
}
