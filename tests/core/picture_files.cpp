#include "picture_files.h"

#include <gif_lib.h>
#include <jpeglib.h>
#include <map>
#include <spng.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

Bytes MakePng(const PngSpec& layout)
{
    spng_ctx* ctx = spng_ctx_new(SPNG_CTX_ENCODER);
    spng_set_option(ctx, SPNG_ENCODE_TO_BUFFER, 1);
    spng_ihdr ihdr = {};
    ihdr.width = uint32_t(layout.width);
    ihdr.height = uint32_t(layout.height);
    ihdr.bit_depth = uint8_t(layout.bitDepth);
    ihdr.color_type = uint8_t(layout.colorType);
    ihdr.interlace_method = layout.interlaced ? SPNG_INTERLACE_ADAM7 : SPNG_INTERLACE_NONE;
    spng_set_ihdr(ctx, &ihdr);
    if (!layout.palette.empty()) {
        spng_plte plte = {};
        plte.n_entries = uint32_t(layout.palette.size() / 3);
        for (uint32_t i = 0; i < plte.n_entries; ++i) {
            plte.entries[i].red = layout.palette[i * 3];
            plte.entries[i].green = layout.palette[i * 3 + 1];
            plte.entries[i].blue = layout.palette[i * 3 + 2];
        }
        spng_set_plte(ctx, &plte);
    }
    spng_trns trns = {};
    bool hasTrns = false;
    if (!layout.paletteAlpha.empty()) {
        trns.n_type3_entries = uint32_t(layout.paletteAlpha.size());
        std::memcpy(trns.type3_alpha, layout.paletteAlpha.data(), layout.paletteAlpha.size());
        hasTrns = true;
    }
    if (layout.transparentGray >= 0) {
        trns.gray = uint16_t(layout.transparentGray);
        hasTrns = true;
    }
    if (layout.transparentRgb[0] >= 0) {
        trns.red = uint16_t(layout.transparentRgb[0]);
        trns.green = uint16_t(layout.transparentRgb[1]);
        trns.blue = uint16_t(layout.transparentRgb[2]);
        hasTrns = true;
    }
    if (hasTrns)
        spng_set_trns(ctx, &trns);
    Bytes out;
    if (spng_encode_image(ctx, layout.samples.data(), layout.samples.size(), SPNG_FMT_PNG, SPNG_ENCODE_FINALIZE) == 0) {
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

// LZW codes of the given minimum code size, in sub-blocks, as GIF encoders
// write them: a clear code first, entries up to 4095, the end code last.
static void PutLzw(Bytes& out, int codeSize, const std::vector<uint16_t>& pixels)
{
    Bytes packed;
    uint32_t bits = 0;
    int count = 0;
    int width = codeSize + 1;
    auto emit = [&](int code) {
        bits |= uint32_t(code) << count;
        for (count += width; count >= 8; count -= 8, bits >>= 8)
            packed.push_back(uint8_t(bits));
    };
    const int clear = 1 << codeSize;
    int next = clear + 2;
    std::map<std::pair<int, int>, int> table;
    emit(clear);
    int w = pixels[0];
    for (size_t i = 1; i < pixels.size(); ++i) {
        const auto found = table.find({w, pixels[i]});
        if (found != table.end()) {
            w = found->second;
            continue;
        }
        emit(w);
        if (next < 4096) {
            table[{w, pixels[i]}] = next++;
            if (next > (1 << width) && width < 12)
                ++width;
        }
        w = pixels[i];
    }
    emit(w);
    if (next == (1 << width) && width < 12)
        ++width;
    emit(clear + 1);
    if (count > 0)
        packed.push_back(uint8_t(bits));
    out.push_back(uint8_t(codeSize));
    for (size_t at = 0; at < packed.size(); at += 255) {
        const size_t n = std::min<size_t>(255, packed.size() - at);
        out.push_back(uint8_t(n));
        out.insert(out.end(), packed.begin() + long(at), packed.begin() + long(at + n));
    }
    out.push_back(0);
}

static Bytes HandWrittenGif(const GifSpec& layout)
{
    auto put16 = [](Bytes& out, int v) { out.insert(out.end(), {uint8_t(v), uint8_t(v >> 8)}); };
    Bytes out = {'G', 'I', 'F', '8', '9', 'a'};
    put16(out, layout.screenWidth);
    put16(out, layout.screenHeight);
    out.insert(out.end(), {uint8_t(layout.noColourTable ? 0x70 : 0xF7), 0, 0});
    if (!layout.noColourTable) {
        Bytes palette = layout.palette;
        palette.resize(256 * 3, 0);
        out.insert(out.end(), palette.begin(), palette.end());
    }
    out.push_back(0x2C);
    put16(out, layout.left);
    put16(out, layout.top);
    put16(out, layout.width);
    put16(out, layout.height);
    out.push_back(0);
    std::vector<uint16_t> pixels = layout.wideIndices;
    if (pixels.empty())
        pixels.assign(layout.indices.begin(), layout.indices.end());
    PutLzw(out, layout.codeSize, pixels);
    out.push_back(0x3B);
    return out;
}

Bytes MakeGif(const GifSpec& layout)
{
    if (layout.codeSize)
        return HandWrittenGif(layout);
    Bytes out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, AppendGifBytes, &error);
    int colours = 2;
    while (colours * 3 < int(layout.palette.size()))
        colours *= 2;
    std::vector<GifColorType> entries(size_t(colours), GifColorType {0, 0, 0});
    for (size_t i = 0; i < layout.palette.size() / 3; ++i)
        entries[i] = GifColorType {layout.palette[i * 3], layout.palette[i * 3 + 1], layout.palette[i * 3 + 2]};
    ColorMapObject* map = GifMakeMapObject(colours, entries.data());
    EGifSetGifVersion(gif, true);
    EGifPutScreenDesc(gif, layout.screenWidth, layout.screenHeight, 8, 0, layout.localPalette ? nullptr : map);
    for (int frame = 0; frame <= layout.extraFrames; ++frame) {
        if (layout.transparentIndex >= 0) {
            GraphicsControlBlock gcb = {};
            gcb.TransparentColor = layout.transparentIndex;
            GifByteType extension[4];
            const size_t n = EGifGCBToExtension(&gcb, extension);
            EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, int(n), extension);
        }
        EGifPutImageDesc(gif, layout.left, layout.top, layout.width, layout.height, layout.interlaced,
                         layout.localPalette ? map : nullptr);
        Bytes row(size_t(layout.width), 0);
        for (int i = 0; i < layout.height; ++i) {
            const int y = layout.interlaced ? InterlacedSourceRow(i, layout.height) : i;
            if (frame == 0)
                std::memcpy(row.data(), layout.indices.data() + size_t(y) * layout.width, row.size());
            EGifPutLine(gif, row.data(), layout.width);
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
