#include "picture_files.h"

#include <gif_lib.h>
#include <jpeglib.h>
#include <spng.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

Bytes MakePng(const PngSpec& spec)
{
    spng_ctx* ctx = spng_ctx_new(SPNG_CTX_ENCODER);
    spng_set_option(ctx, SPNG_ENCODE_TO_BUFFER, 1);
    spng_ihdr ihdr = {};
    ihdr.width = uint32_t(spec.width);
    ihdr.height = uint32_t(spec.height);
    ihdr.bit_depth = uint8_t(spec.bitDepth);
    ihdr.color_type = uint8_t(spec.colorType);
    ihdr.interlace_method = spec.interlaced ? SPNG_INTERLACE_ADAM7 : SPNG_INTERLACE_NONE;
    spng_set_ihdr(ctx, &ihdr);
    if (!spec.palette.empty()) {
        spng_plte plte = {};
        plte.n_entries = uint32_t(spec.palette.size() / 3);
        for (uint32_t i = 0; i < plte.n_entries; ++i) {
            plte.entries[i].red = spec.palette[i * 3];
            plte.entries[i].green = spec.palette[i * 3 + 1];
            plte.entries[i].blue = spec.palette[i * 3 + 2];
        }
        spng_set_plte(ctx, &plte);
    }
    spng_trns trns = {};
    bool hasTrns = false;
    if (!spec.paletteAlpha.empty()) {
        trns.n_type3_entries = uint32_t(spec.paletteAlpha.size());
        std::memcpy(trns.type3_alpha, spec.paletteAlpha.data(), spec.paletteAlpha.size());
        hasTrns = true;
    }
    if (spec.transparentGray >= 0) {
        trns.gray = uint16_t(spec.transparentGray);
        hasTrns = true;
    }
    if (spec.transparentRgb[0] >= 0) {
        trns.red = uint16_t(spec.transparentRgb[0]);
        trns.green = uint16_t(spec.transparentRgb[1]);
        trns.blue = uint16_t(spec.transparentRgb[2]);
        hasTrns = true;
    }
    if (hasTrns)
        spng_set_trns(ctx, &trns);
    Bytes out;
    if (spng_encode_image(ctx, spec.samples.data(), spec.samples.size(), SPNG_FMT_PNG, SPNG_ENCODE_FINALIZE) == 0) {
        size_t size = 0;
        int error = 0;
        void* buffer = spng_get_png_buffer(ctx, &size, &error);
        if (buffer) {
            out.assign(static_cast<uint8_t*>(buffer), static_cast<uint8_t*>(buffer) + size);
            std::free(buffer);
        }
    }
    spng_ctx_free(ctx);
    return out;
}

static int AppendGifBytes(GifFileType* gif, const GifByteType* data, int n)
{
    auto* out = static_cast<Bytes*>(gif->UserData);
    out->insert(out->end(), data, data + n);
    return n;
}

static int InterlacedSourceRow(int i, int height)
{
    static const int start[4] = {0, 4, 2, 1};
    static const int step[4] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass) {
        for (int y = start[pass]; y < height; y += step[pass]) {
            if (i-- == 0)
                return y;
        }
    }
    return 0;
}

Bytes MakeGif(const GifSpec& spec)
{
    Bytes out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, AppendGifBytes, &error);
    int colours = 2;
    while (colours * 3 < int(spec.palette.size()))
        colours *= 2;
    std::vector<GifColorType> entries(size_t(colours), GifColorType{0, 0, 0});
    for (size_t i = 0; i < spec.palette.size() / 3; ++i)
        entries[i] = GifColorType{spec.palette[i * 3], spec.palette[i * 3 + 1], spec.palette[i * 3 + 2]};
    ColorMapObject* map = GifMakeMapObject(colours, entries.data());
    EGifSetGifVersion(gif, true);
    EGifPutScreenDesc(gif, spec.screenWidth, spec.screenHeight, 8, 0, spec.localPalette ? nullptr : map);
    for (int frame = 0; frame <= spec.extraFrames; ++frame) {
        if (spec.transparentIndex >= 0) {
            GraphicsControlBlock gcb = {};
            gcb.TransparentColor = spec.transparentIndex;
            GifByteType extension[4];
            const size_t n = EGifGCBToExtension(&gcb, extension);
            EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, int(n), extension);
        }
        EGifPutImageDesc(gif, spec.left, spec.top, spec.width, spec.height, spec.interlaced,
                         spec.localPalette ? map : nullptr);
        Bytes row(size_t(spec.width), 0);
        for (int i = 0; i < spec.height; ++i) {
            const int y = spec.interlaced ? InterlacedSourceRow(i, spec.height) : i;
            if (frame == 0)
                std::memcpy(row.data(), spec.indices.data() + size_t(y) * spec.width, row.size());
            EGifPutLine(gif, row.data(), spec.width);
        }
    }
    EGifCloseFile(gif, &error);
    GifFreeMapObject(map);
    return out;
}

Bytes MakeJpeg(int width, int height, const Bytes& samples, bool rgb, int quality)
{
    jpeg_compress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = JDIMENSION(width);
    cinfo.image_height = JDIMENSION(height);
    cinfo.input_components = rgb ? 3 : 1;
    cinfo.in_color_space = rgb ? JCS_RGB : JCS_GRAYSCALE;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    const size_t stride = size_t(width) * (rgb ? 3 : 1);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPLE*>(samples.data() + cinfo.next_scanline * stride);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    Bytes out(buffer, buffer + size);
    std::free(buffer);
    return out;
}

Decoded::~Decoded()
{
    DeleteObject(bitmap);
}

uint32_t Decoded::Pixel(int x, int y) const
{
    const uint8_t* p = bitmap->RowFromTop(y) + size_t(x) * 3;
    return uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
}

Decoded DecodeBytes(const Bytes& bytes, int scale, int maxWidth, int maxHeight, bool headerOnly)
{
    Decoded d;
    d.info.data = bytes.data();
    d.info.size = bytes.size();
    d.info.iScale = scale;
    d.info.iMaxWidth = maxWidth;
    d.info.iMaxHeight = maxHeight;
    d.info.headerOnly = headerOnly;
    d.info.phBM = &d.bitmap;
    d.result = DecompressImageIndirect(&d.info);
    return d;
}
