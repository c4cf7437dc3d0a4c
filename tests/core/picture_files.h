// Small PNG, GIF and grayscale JPEG files made in memory for decoder tests,
// written with the libraries' own encoders, and helpers to decode them.
#pragma once

#include "image/image_decoder.h"

#include <cstdint>
#include <vector>

using Bytes = std::vector<uint8_t>;

struct PngSpec {
    int width = 1;
    int height = 1;
    int colorType = 2;  // 0 gray, 2 RGB, 3 palette, 4 gray + alpha, 6 RGBA
    int bitDepth = 8;
    bool interlaced = false;
    // Samples in the PNG's own layout, rows top to bottom, 16-bit samples as
    // host-endian words, sub-byte samples packed.
    Bytes samples;
    std::vector<uint8_t> palette;  // R, G, B triples
    std::vector<uint8_t> paletteAlpha;
    int transparentGray = -1;              // tRNS colour key, gray
    int transparentRgb[3] = {-1, -1, -1};  // tRNS colour key, RGB
};
Bytes MakePng(const PngSpec& layout);
// An RGB 8-bit PNG whose pixel (x, y) is colour(x, y) packed as 0xRRGGBB.
template <typename F> Bytes MakeRgbPng(int width, int height, bool interlaced, F colour)
{
    PngSpec layout;
    layout.width = width;
    layout.height = height;
    layout.interlaced = interlaced;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const uint32_t c = colour(x, y);
            layout.samples.insert(layout.samples.end(), {uint8_t(c >> 16), uint8_t(c >> 8), uint8_t(c)});
        }
    return MakePng(layout);
}

struct GifSpec {
    int screenWidth = 1;
    int screenHeight = 1;
    int left = 0;
    int top = 0;
    int width = 1;
    int height = 1;
    bool interlaced = false;
    int transparentIndex = -1;
    std::vector<uint8_t> palette;  // R, G, B triples; padded to a power of two
    Bytes indices;                 // width x height, rows top to bottom
    bool localPalette = false;
    int extraFrames = 0;  // more frames of index 0 after the first
    // Written by our own LZW coder instead of giflib's (one frame, not
    // interlaced) when codeSize is set: the LZW minimum code size (2 to 11),
    // with no colour table at all when noColourTable. wideIndices, when not
    // empty, stand for indices and may reach past 255.
    int codeSize = 0;
    bool noColourTable = false;
    std::vector<uint16_t> wideIndices;
};
Bytes MakeGif(const GifSpec& layout);

// A grayscale (or, with rgb, colour) baseline JPEG of the given samples.
Bytes MakeJpeg(int width, int height, const Bytes& samples, bool rgb = false, int quality = 95);

// Decodes bytes as the loader would; the bitmap is owned by the result.
struct Decoded {
    Decoded() = default;
    Decoded(Decoded&& other) noexcept
        : result(other.result)
        , info(other.info)
        , bitmap(other.bitmap)
    {
        other.bitmap = nullptr;
        info.phBM = &bitmap;
    }
    Decoded(const Decoded&) = delete;
    ~Decoded();
    int result = -1;
    DecompressImageInfo info;
    HBITMAP bitmap = nullptr;
    // 0xRRGGBB of output pixel (x, y) from the top-left.
    uint32_t Pixel(int x, int y) const;
};
Decoded DecodeBytes(const Bytes& bytes, int scale = 100, int maxWidth = 1600, int maxHeight = 1200,
                    bool headerOnly = false);
