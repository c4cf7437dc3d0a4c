// 16-bit PNGs are brought to 8 bits by the decoder itself: every sample value
// must come out as libspng's own conversion gives it (opaque: its 8-bit
// output; with alpha or a colour key: its 16-bit output composed over white).
#include "image/image_decoder.h"
#include "test_pictures.h"

#include <spng.h>

#include <gtest/gtest.h>

namespace {

// libspng's reference: pixel i of the picture as 0xRRGGBB.
std::vector<uint32_t> ReferencePixels(const Bytes& png, bool composed)
{
    spng_ctx* ctx = spng_ctx_new(0);
    spng_set_png_buffer(ctx, png.data(), png.size());
    const int fmt = composed ? SPNG_FMT_RGBA16 : SPNG_FMT_RGB8;
    size_t size = 0;
    spng_decoded_image_size(ctx, fmt, &size);
    std::vector<uint8_t> image(size);
    spng_decode_image(ctx, image.data(), size, fmt, SPNG_DECODE_TRNS);
    spng_ctx_free(ctx);
    std::vector<uint32_t> pixels;
    const auto over = [](uint64_t c, uint64_t a) {
        return uint32_t((c * a + 65535 * (65535 - a) + 65535 * 257 / 2) / (65535 * 257));
    };
    for (size_t i = 0; composed && i + 8 <= size; i += 8) {
        uint16_t s[4];
        std::memcpy(s, image.data() + i, 8);
        pixels.push_back(over(s[0], s[3]) << 16 | over(s[1], s[3]) << 8 | over(s[2], s[3]));
    }
    for (size_t i = 0; !composed && i + 3 <= size; i += 3)
        pixels.push_back(uint32_t(image[i]) << 16 | uint32_t(image[i + 1]) << 8 | image[i + 2]);
    return pixels;
}

}  // namespace

TEST(PngWideSamples, EveryValueOfEachKindMatchesTheLibrarysConversion)
{
    struct Kind {
        int colorType, channels;
        bool keyed;
    };
    const Kind kinds[] = {{0, 1, false}, {2, 3, false}, {4, 2, false}, {6, 4, false}, {0, 1, true}, {2, 3, true}};
    for (const Kind& kind : kinds) {
        SCOPED_TRACE(testing::Message() << "colour type " << kind.colorType << (kind.keyed ? " keyed" : ""));
        // 256 x 256 pixels: the first sample takes every 16-bit value, the
        // others (and the alpha) run through them in other orders.
        PngSpec spec;
        spec.width = spec.height = 256;
        spec.colorType = kind.colorType;
        spec.bitDepth = 16;
        for (uint32_t v = 0; v < 65536; ++v)
            for (int k = 0; k < kind.channels; ++k) {
                const auto word = uint16_t(v * (2 * uint32_t(k) + 1) + uint32_t(k) * 12345);
                spec.samples.insert(spec.samples.end(), {uint8_t(word), uint8_t(word >> 8)});
            }
        if (kind.keyed) {
            spec.transparentGray = 1000;
            spec.transparentRgb[0] = 1000, spec.transparentRgb[1] = 3000 + 12345, spec.transparentRgb[2] = 5000 + 24690;
        }
        const Bytes png = MakePng(spec);
        const std::vector<uint32_t> expected = ReferencePixels(png, kind.channels % 2 == 0 || kind.keyed);
        HBITMAP bitmap = nullptr;
        DecompressImageInfo info;
        info.data = png.data(), info.size = png.size(), info.phBM = &bitmap;
        info.iScale = 100, info.iMaxWidth = info.iMaxHeight = 256;
        ASSERT_EQ(DecompressImageIndirect(&info), 0);
        ASSERT_EQ(expected.size(), 65536u);
        int wrong = 0;
        for (int i = 0; i < 65536; ++i) {
            const uint8_t* p = bitmap->RowFromTop(i / 256) + size_t(i % 256) * 3;
            wrong += (uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0]) != expected[size_t(i)];
        }
        DeleteObject(bitmap);
        EXPECT_EQ(wrong, 0);
        if (kind.keyed) {
            EXPECT_EQ(expected[1000], 0xFFFFFFu);  // the key is among the pixels
        }
    }
}
