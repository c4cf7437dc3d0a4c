// Pictures that tests make for themselves: BMP files written field by field,
// JPEG files from libjpeg's compressor, PNG files from libspng's encoder.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <jpeglib.h>
#include <spng.h>
#include <vector>

// --- BMP -------------------------------------------------------------------

struct TestBmp {
    int width = 1;
    int height = 1;  // negative: rows stored top-down
    int bpp = 24;
    uint32_t compression = 0;
    int headerSize = 40;  // 12: OS/2 core header with 3-byte palette entries
    int planes = 1;
    uint32_t colorsUsed = 0;
    std::vector<uint32_t> palette;  // 0x00RRGGBB
    std::vector<uint32_t> masks;    // written after a 40-byte header
    std::vector<uint8_t> pixels;    // exactly as stored in the file
};

inline void PutLe(std::vector<uint8_t>& out, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(uint8_t(value >> (8 * i)));
}

inline std::vector<uint8_t> BuildBmp(const TestBmp& b)
{
    const int entry = b.headerSize == 12 ? 3 : 4;
    const uint32_t offset = 14 + b.headerSize + uint32_t(b.masks.size()) * 4 + uint32_t(b.palette.size()) * entry;
    std::vector<uint8_t> out;
    out.push_back('B');
    out.push_back('M');
    PutLe(out, offset + uint32_t(b.pixels.size()), 4);
    PutLe(out, 0, 4);
    PutLe(out, offset, 4);
    PutLe(out, b.headerSize, 4);
    if (b.headerSize == 12) {
        PutLe(out, b.width, 2);
        PutLe(out, b.height, 2);
        PutLe(out, b.planes, 2);
        PutLe(out, b.bpp, 2);
    } else {
        PutLe(out, uint32_t(b.width), 4);
        PutLe(out, uint32_t(b.height), 4);
        PutLe(out, b.planes, 2);
        PutLe(out, b.bpp, 2);
        PutLe(out, b.compression, 4);
        PutLe(out, uint32_t(b.pixels.size()), 4);
        PutLe(out, 2835, 4);
        PutLe(out, 2835, 4);
        PutLe(out, b.colorsUsed, 4);
        PutLe(out, 0, 4);
        for (int i = 40; i < b.headerSize; ++i)
            out.push_back(0);
    }
    for (uint32_t m : b.masks)
        PutLe(out, m, 4);
    for (uint32_t c : b.palette) {
        out.push_back(uint8_t(c));
        out.push_back(uint8_t(c >> 8));
        out.push_back(uint8_t(c >> 16));
        if (entry == 4)
            out.push_back(0);
    }
    out.insert(out.end(), b.pixels.begin(), b.pixels.end());
    return out;
}

// Bytes per stored row of a BMP.
inline int BmpStride(int width, int bpp)
{
    return (width * bpp + 31) / 32 * 4;
}

// A bottom-up 8-bit BMP of a grey ramp palette whose pixel (x, y from the
// bottom) holds index (x + y) % 256.
inline TestBmp Gray8Bmp(int width, int height)
{
    TestBmp b;
    b.width = width;
    b.height = height;
    b.bpp = 8;
    for (uint32_t i = 0; i < 256; ++i)
        b.palette.push_back(i * 0x010101);
    const int stride = BmpStride(width, 8);
    b.pixels.assign(size_t(stride) * height, 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            b.pixels[size_t(y) * stride + x] = uint8_t(x + y);
    return b;
}

// A bottom-up 24-bit BMP filled with one colour.
inline TestBmp SolidBmp(int width, int height, int bpp, uint8_t red, uint8_t green, uint8_t blue)
{
    TestBmp b;
    b.width = width;
    b.height = height;
    b.bpp = bpp;
    const int stride = BmpStride(width, bpp);
    b.pixels.assign(size_t(stride) * height, 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uint8_t* p = &b.pixels[size_t(y) * stride + size_t(x) * (bpp / 8)];
            p[0] = blue;
            p[1] = green;
            p[2] = red;
        }
    return b;
}

// --- JPEG ------------------------------------------------------------------

struct TestJpeg {
    int width = 8;
    int height = 8;
    J_COLOR_SPACE space = JCS_RGB;  // JCS_RGB, JCS_GRAYSCALE or JCS_CMYK
    bool adobeMarker = true;        // for CMYK: libjpeg's default
    bool progressive = false;
    int quality = 90;
    // Fills one pixel's components (3 for RGB, 1 for grey, 4 for CMYK).
    void (*fill)(int x, int y, uint8_t* out) = nullptr;
};

inline std::vector<uint8_t> EncodeJpeg(const TestJpeg& layout)
{
    jpeg_compress_struct c {};
    jpeg_error_mgr err {};
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &buffer, &size);
    c.image_width = JDIMENSION(layout.width);
    c.image_height = JDIMENSION(layout.height);
    c.input_components = layout.space == JCS_GRAYSCALE ? 1 : layout.space == JCS_CMYK ? 4 : 3;
    c.in_color_space = layout.space;
    jpeg_set_defaults(&c);
    if (layout.space == JCS_CMYK) {
        jpeg_set_colorspace(&c, JCS_CMYK);
        c.write_Adobe_marker = layout.adobeMarker;
    }
    jpeg_set_quality(&c, layout.quality, TRUE);
    if (layout.progressive)
        jpeg_simple_progression(&c);
    jpeg_start_compress(&c, TRUE);
    std::vector<uint8_t> row(size_t(layout.width) * c.input_components);
    while (c.next_scanline < c.image_height) {
        for (int x = 0; x < layout.width; ++x) {
            uint8_t* p = &row[size_t(x) * c.input_components];
            if (layout.fill)
                layout.fill(x, int(c.next_scanline), p);
            else
                std::memset(p, uint8_t((x * 7 + c.next_scanline * 3) & 0xFF), c.input_components);
        }
        JSAMPROW r = row.data();
        jpeg_write_scanlines(&c, &r, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    std::vector<uint8_t> out(buffer, buffer + size);
    std::free(buffer);
    return out;
}

inline std::vector<uint8_t> RgbJpeg(int width, int height)
{
    TestJpeg layout;
    layout.width = width;
    layout.height = height;
    return EncodeJpeg(layout);
}

// --- PNG -------------------------------------------------------------------

// An 8-bit RGB PNG with a horizontal ramp.
inline std::vector<uint8_t> RgbPng(int width, int height)
{
    std::vector<uint8_t> pixels(size_t(width) * height * 3);
    for (size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = uint8_t(i * 13);
    spng_ctx* ctx = spng_ctx_new(SPNG_CTX_ENCODER);
    spng_set_option(ctx, SPNG_ENCODE_TO_BUFFER, 1);
    spng_ihdr ihdr {};
    ihdr.width = uint32_t(width);
    ihdr.height = uint32_t(height);
    ihdr.bit_depth = 8;
    ihdr.color_type = SPNG_COLOR_TYPE_TRUECOLOR;
    spng_set_ihdr(ctx, &ihdr);
    spng_encode_image(ctx, pixels.data(), pixels.size(), SPNG_FMT_PNG, SPNG_ENCODE_FINALIZE);
    size_t size = 0;
    int error = 0;
    auto* png = static_cast<uint8_t*>(spng_get_png_buffer(ctx, &size, &error));
    std::vector<uint8_t> out;
    if (png)
        out.assign(png, png + size);
    std::free(png);
    spng_ctx_free(ctx);
    return out;
}

// --- Files -----------------------------------------------------------------

inline bool WriteBytes(const QString& hostPath, const std::vector<uint8_t>& bytes)
{
    QFile file(hostPath);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate)
           && file.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size())) == qint64(bytes.size());
}

inline QByteArray ToByteArray(const std::vector<uint8_t>& bytes)
{
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
}
