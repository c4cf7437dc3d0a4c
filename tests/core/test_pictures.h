// Pictures and archives that tests make for themselves: BMP files written
// field by field, PNG and JPEG files from the libraries' own encoders, GIF
// files from a coder of our own, ZIP archives whose every field can be set.
#pragma once

#include "image/image_decoder.h"
#include "image/view_decode.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <cstdio>
#include <jpeglib.h>
#include <optional>
#include <string>
#include <vector>

using Bytes = std::vector<uint8_t>;

// --- BMP ---
struct TestBmp {
    int width = 1, height = 1;  // negative height: rows stored top-down
    int bpp = 24;
    uint32_t compression = 0;
    int headerSize = 40;  // 12: OS/2 core header with 3-byte palette entries
    int planes = 1;
    uint32_t colorsUsed = 0;
    std::vector<uint32_t> palette {};  // 0x00RRGGBB
    std::vector<uint32_t> masks {};    // written after a 40-byte header
    Bytes pixels {};                   // exactly as stored in the file
};
Bytes BuildBmp(const TestBmp& b);
// Bottom-up, one colour: 24 or 32 bits, or 8 bits of index 0 in a one-entry palette.
TestBmp SolidBmp(int width, int height, int bpp, uint8_t red, uint8_t green, uint8_t blue);

// --- PNG ---
struct PngLayout {
    int width = 1, height = 1;
    int colorType = 2;  // 0 gray, 2 RGB, 3 palette, 4 gray + alpha, 6 RGBA
    int bitDepth = 8;
    bool interlaced = false;
    // Samples in the PNG's own layout, rows top to bottom, 16-bit samples as
    // host-endian words, sub-byte samples packed.
    Bytes samples {};
    Bytes palette {};  // R, G, B triples
    Bytes paletteAlpha {};
    int transparentGray = -1;              // tRNS colour key, gray
    int transparentRgb[3] = {-1, -1, -1};  // tRNS colour key, RGB
    std::string exif {};                   // an eXIf chunk's TIFF data, when not empty
};
Bytes MakePng(const PngLayout& layout);
// An RGB 8-bit PNG whose pixel (x, y) is colour(x, y) packed as 0xRRGGBB.
template <typename F> Bytes MakeRgbPng(int width, int height, bool interlaced, F colour)
{
    PngLayout layout {width, height, 2, 8, interlaced};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const uint32_t c = colour(x, y);
            layout.samples.insert(layout.samples.end(), {uint8_t(c >> 16), uint8_t(c >> 8), uint8_t(c)});
        }
    return MakePng(layout);
}
// An 8-bit RGB PNG of a ramp.
Bytes RgbPng(int width, int height);

// --- GIF ---
struct GifLayout {
    int screenWidth = 1, screenHeight = 1;
    int left = 0, top = 0, width = 1, height = 1;  // of the first frame
    bool interlaced = false;
    int transparentIndex = -1;
    Bytes palette {};  // R, G, B triples; padded to 256 entries
    Bytes indices {};  // width x height, rows top to bottom
    bool localPalette = false;
    int extraFrames = 0;  // more frames of index 0 after the first
    // Written by our own LZW coder at this minimum code size (2 to 11); with
    // no colour table at all when noColourTable. wideIndices, when not empty,
    // stand for indices and may reach past 255.
    int codeSize = 8;
    bool noColourTable = false;
    std::vector<uint16_t> wideIndices {};
};
Bytes MakeGif(const GifLayout& layout);

// --- JPEG ---
struct TestJpeg {
    int width = 8, height = 8;
    J_COLOR_SPACE space = JCS_RGB;  // JCS_RGB, JCS_GRAYSCALE or JCS_CMYK
    // Fills one pixel's components (3 for RGB, 1 for grey, 4 for CMYK); by
    // default every component is (7 x + 3 y) & 255.
    void (*fill)(int x, int y, uint8_t* out) = nullptr;
    bool adobeMarker = true;  // for CMYK: libjpeg's default
    bool progressive = false;
};
Bytes EncodeJpeg(const TestJpeg& layout);
Bytes RgbJpeg(int width, int height);

// --- ZIP ---
struct TestZipMember {
    TestZipMember(QByteArray n, QByteArray d, uint16_t m = 8, uint16_t f = 0)
        : name(std::move(n))
        , data(std::move(d))
        , method(m)
        , flags(f)
    {
    }
    QByteArray name;
    QByteArray data;
    uint16_t method = 8;  // 0 stored, 8 deflated; anything else is written stored but labelled so
    uint16_t flags = 0;
    uint16_t dosTime = (5 << 11) | (6 << 5) | (8 / 2);       // 05:06:08
    uint16_t dosDate = ((2021 - 1980) << 9) | (3 << 5) | 4;  // 2021-03-04
    std::optional<uint32_t> crc;                             // the real CRC-32 when not set
    std::optional<uint32_t> statedSize;                      // the real size when not set
    std::optional<QByteArray> compressed;                    // the bytes written instead of the packed data
};
// Raw deflate; with flushAt, only the first flushAt bytes, ending at a byte
// boundary so a test can append its own block.
QByteArray RawDeflate(const QByteArray& data, int flushAt = -1);
QByteArray BuildTestZip(const std::vector<TestZipMember>& members, const QByteArray& comment = QByteArray());
// Bytes that do not compress to nothing, the same in every run.
QByteArray TestPayload(int size, uint32_t seed = 1);

// --- Files ---
bool WriteTestFile(const QString& hostPath, const QByteArray& bytes);
QByteArray ToByteArray(const Bytes& bytes);
inline bool WriteBytes(const QString& hostPath, const Bytes& bytes)
{
    return WriteTestFile(hostPath, ToByteArray(bytes));
}

// Shows a picture the way the main view's decode jobs do (the policy's three
// steps, a retry after a lack of memory included), all on this thread.
int LoadCurrentPicture(const CImageLoader& loader, const std::vector<CPicture*>& others, CPicture& picture,
                       const CPictureFile& file, bool quickView, int64_t budget = kDecodedBudgetBytes);
