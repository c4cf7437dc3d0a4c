// JPEG decoding: DCT scaling, failures that return instead of ending the
// program, cut-off files, CMYK conversion, grayscale hand-off and the budget.
#include "image/jpeg_decoder.h"

#include "image/dib_bitmap.h"
#include "test_pictures.h"

#include <array>
#include <gtest/gtest.h>

namespace {

JpegRequest AtScale(int denominator, bool gray = false)
{
    JpegRequest request;
    request.chooseScale = [denominator](int, int, int) { return denominator; };
    request.decodeGrayscale = gray;
    return request;
}

JpegStatus Decode(const Bytes& bytes, const JpegRequest& request, JpegImage* image)
{
    return DecodeJpegMemory(bytes.data(), bytes.size(), request, image);
}

}  // namespace

// Colours come out as red, green, blue; CMYK whether Adobe-inverted or not
// (pure red as ink: no cyan, full magenta and yellow, no black); grey only
// when asked for, and reported otherwise.
TEST(JpegDecoder, EachColourSpaceGivesItsColours)
{
    const struct {
        int components;
        std::array<int, 3> colour;
        TestJpeg layout;
    } cases[] = {
        {3, {250, 10, 10}, {16, 16, JCS_RGB, [](int, int, uint8_t* p) { p[0] = 250, p[1] = p[2] = 10; }}},
        {4, {255, 0, 0}, {16, 16, JCS_CMYK, [](int, int, uint8_t* p) { p[0] = p[3] = 255, p[1] = p[2] = 0; }}},
        {4, {255, 0, 0}, {16, 16, JCS_CMYK, [](int, int, uint8_t* p) { p[1] = p[2] = 255, p[0] = p[3] = 0; }, false}},
        {3, {100, 100, 100}, {20, 10, JCS_GRAYSCALE, [](int, int, uint8_t* p) { p[0] = 100; }}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.layout.space);
        JpegImage image;
        ASSERT_EQ(Decode(EncodeJpeg(c.layout), AtScale(2, true), &image), JpegStatus::kDecoded);
        EXPECT_EQ(image.outputComponents, c.components);
        EXPECT_EQ(image.outputWidth, c.layout.width / 2);
        EXPECT_EQ(image.adobeInverted, c.components == 4 && c.layout.adobeMarker);
        for (int i = 0; i < image.outputWidth * image.outputHeight * 3; ++i)
            ASSERT_NEAR(image.rgb[size_t(i)], c.colour[size_t(i % 3)], 6) << "sample " << i;
    }
    JpegImage image;
    EXPECT_EQ(Decode(EncodeJpeg(cases[3].layout), AtScale(1), &image), JpegStatus::kGrayscale);
    EXPECT_EQ(image.imageWidth, 20);
    EXPECT_FALSE(image.rgb);
}

TEST(JpegDecoder, FatalLibraryErrorsFailWithMessageInsteadOfEndingTheProgram)
{
    const std::vector<Bytes> broken = {
        {},
        {0xFF, 0xD8},
        {'n', 'o', 't', ' ', 'a', ' ', 'j', 'p', 'e', 'g'},
        {0xFF, 0xD8, 0xFF, 0xC0, 0x00, 0x0B, 0x08, 0x00, 0x00, 0x00, 0x00, 0x01, 0x01, 0x11, 0x00},  // 0 x 0 frame
    };
    for (const Bytes& bytes : broken) {
        const uint8_t dummy = 0;
        JpegImage image;
        testing::internal::CaptureStderr();
        EXPECT_EQ(DecodeJpegMemory(bytes.empty() ? &dummy : bytes.data(), bytes.size(), AtScale(1), &image),
                  JpegStatus::kFailed);
        EXPECT_NE(testing::internal::GetCapturedStderr().find("lumo: jpeg: "), std::string::npos);
        EXPECT_FALSE(image.rgb);
    }
    JpegImage image;
    EXPECT_EQ(DecodeJpegFile(nullptr, AtScale(1), &image), JpegStatus::kFailed);
}

TEST(JpegDecoder, CutOffFileShowsWhatDecodedAndAHugeFrameStreamsOnlyIntoASmallOutput)
{
    for (bool progressive : {false, true}) {
        Bytes bytes = EncodeJpeg({64, 64, JCS_RGB, nullptr, true, progressive});
        bytes.resize(bytes.size() * 2 / 3);
        JpegImage image;
        testing::internal::CaptureStderr();
        EXPECT_EQ(Decode(bytes, AtScale(1), &image), JpegStatus::kDecoded) << progressive;
        testing::internal::GetCapturedStderr();
        EXPECT_EQ(std::pair(image.outputWidth, image.outputHeight), std::pair(64, 64));
    }
    Bytes bytes = RgbJpeg(16, 16);
    // The frame size in the SOF0 marker: 12000 x 12000.
    const uint8_t marker[2] = {0xFF, 0xC0}, size[4] = {0x2E, 0xE0, 0x2E, 0xE0};
    const auto sof = std::search(bytes.begin(), bytes.end(), marker, marker + 2);
    ASSERT_NE(sof, bytes.end());
    std::copy_n(size, 4, sof + 5);
    JpegImage image;
    testing::internal::CaptureStderr();
    EXPECT_EQ(Decode(bytes, AtScale(1), &image), JpegStatus::kFailed);
    EXPECT_FALSE(image.rgb);
    // 1500 x 1500 at 1/8: well inside the budget; the missing data is only a warning.
    EXPECT_EQ(Decode(bytes, AtScale(8), &image), JpegStatus::kDecoded);
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(image.outputWidth, 1500);
}

// From an open file or from memory, into packed rows or straight into a
// bitmap: the same pixels.
TEST(JpegDecoder, EveryRouteGivesTheSamePixels)
{
    const TestJpeg layouts[] = {
        {37, 11, JCS_RGB, [](int x, int y, uint8_t* p) { p[0] = uint8_t(x * 6), p[1] = uint8_t(y * 20), p[2] = 77; }},
        {37, 11, JCS_CMYK,
         [](int x, int y, uint8_t* p) { p[0] = uint8_t(x * 6), p[1] = uint8_t(y * 20), p[2] = 0, p[3] = 200; }},
        {37, 11, JCS_GRAYSCALE, [](int x, int y, uint8_t* p) { p[0] = uint8_t(x * 6 + y); }},
    };
    for (const TestJpeg& layout : layouts) {
        const Bytes bytes = EncodeJpeg(layout);
        JpegRequest request = AtScale(1, true);
        JpegImage packed, fromFile, direct;
        ASSERT_EQ(Decode(bytes, request, &packed), JpegStatus::kDecoded);
        FILE* file = std::tmpfile();
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::rewind(file);
        EXPECT_EQ(DecodeJpegFile(file, request, &fromFile), JpegStatus::kDecoded);
        std::fclose(file);
        EXPECT_EQ(std::memcmp(packed.rgb.get(), fromFile.rgb.get(), size_t(37 * 11 * 3)), 0);
        request.toBitmap = true;
        ASSERT_EQ(Decode(bytes, request, &direct), JpegStatus::kDecoded);
        EXPECT_FALSE(direct.rgb);
        HBITMAP expected = BitmapFromRgb(packed.rgb.get(), packed.outputWidth, packed.outputHeight);
        ASSERT_EQ(direct.bitmap->Width(), 37);
        ASSERT_EQ(expected->Stride(), direct.bitmap->Stride());
        EXPECT_EQ(std::memcmp(expected->Bits(), direct.bitmap->Bits(), size_t(expected->Stride()) * 11), 0);
        DeleteObject(expected);
    }
}
