// JPEG decoding: DCT scaling, failures that return instead of ending the
// program, cut-off files, CMYK conversion, grayscale hand-off and the budget.
#include "image/jpeg_decoder.h"

#include "image/dib_bitmap.h"
#include "test_pictures.h"

#include <gtest/gtest.h>

namespace {

JpegRequest AtScale(int denominator)
{
    JpegRequest request;
    request.chooseScale = [denominator](int, int) { return denominator; };
    return request;
}

JpegStatus Decode(const std::vector<uint8_t>& bytes, const JpegRequest& request, JpegImage* image)
{
    return DecodeJpegMemory(bytes.data(), bytes.size(), request, image);
}

// Mean of one channel over the whole decoded picture.
double MeanChannel(const JpegImage& image, int channel)
{
    double sum = 0;
    const size_t pixels = size_t(image.outputWidth) * image.outputHeight;
    for (size_t i = 0; i < pixels; ++i)
        sum += image.rgb[i * 3 + channel];
    return sum / double(pixels);
}

// Sets the frame size in the SOF0 marker of a baseline file.
void PatchFrameSize(std::vector<uint8_t>& bytes, int width, int height)
{
    for (size_t i = 0; i + 8 < bytes.size(); ++i) {
        if (bytes[i] == 0xFF && bytes[i + 1] == 0xC0) {
            bytes[i + 5] = uint8_t(height >> 8);
            bytes[i + 6] = uint8_t(height);
            bytes[i + 7] = uint8_t(width >> 8);
            bytes[i + 8] = uint8_t(width);
            return;
        }
    }
    FAIL() << "no SOF0 marker";
}

}  // namespace

TEST(JpegDecoder, DctScalingRoundsOutputSizesUp)
{
    const std::vector<uint8_t> bytes = RgbJpeg(2000, 1500);
    struct Case {
        int denominator, width, height;
    };
    for (Case c : {Case {1, 2000, 1500}, Case {2, 1000, 750}, Case {4, 500, 375}, Case {8, 250, 188}}) {
        JpegImage image;
        ASSERT_EQ(Decode(bytes, AtScale(c.denominator), &image), JpegStatus::kDecoded) << c.denominator;
        EXPECT_EQ(image.imageWidth, 2000);
        EXPECT_EQ(image.imageHeight, 1500);
        EXPECT_EQ(image.outputWidth, c.width);
        EXPECT_EQ(image.outputHeight, c.height);
        EXPECT_EQ(image.outputComponents, 3);
    }
}

TEST(JpegDecoder, ScaleChooserSeesTheFrameSize)
{
    int seenWidth = 0, seenHeight = 0;
    JpegRequest request;
    request.chooseScale = [&](int w, int h) {
        seenWidth = w;
        seenHeight = h;
        return 2;
    };
    JpegImage image;
    ASSERT_EQ(Decode(RgbJpeg(70, 100), request, &image), JpegStatus::kDecoded);
    EXPECT_EQ(seenWidth, 70);
    EXPECT_EQ(seenHeight, 100);
    EXPECT_EQ(image.outputWidth, 35);
    EXPECT_EQ(image.outputHeight, 50);
}

TEST(JpegDecoder, PixelsComeOutAsRedGreenBlue)
{
    TestJpeg layout;
    layout.width = 16;
    layout.height = 16;
    layout.fill = [](int, int, uint8_t* p) { p[0] = 250, p[1] = 10, p[2] = 10; };
    JpegImage image;
    ASSERT_EQ(Decode(EncodeJpeg(layout), AtScale(1), &image), JpegStatus::kDecoded);
    EXPECT_NEAR(MeanChannel(image, 0), 250, 6);
    EXPECT_NEAR(MeanChannel(image, 2), 10, 6);
}

TEST(JpegDecoder, FatalLibraryErrorsFailWithMessageInsteadOfEndingTheProgram)
{
    const std::vector<std::vector<uint8_t>> broken = {
        {},
        {0xFF, 0xD8},
        {'n', 'o', 't', ' ', 'a', ' ', 'j', 'p', 'e', 'g'},
        {0xFF, 0xD8, 0xFF, 0xC0, 0x00, 0x0B, 0x08, 0x00, 0x00, 0x00, 0x00, 0x01, 0x01, 0x11, 0x00},  // 0 x 0 frame
    };
    for (const auto& bytes : broken) {
        const uint8_t dummy = 0;
        JpegImage image;
        testing::internal::CaptureStderr();
        const JpegStatus status
            = DecodeJpegMemory(bytes.empty() ? &dummy : bytes.data(), bytes.size(), AtScale(1), &image);
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(status, JpegStatus::kFailed);
        EXPECT_NE(err.find("lumo: jpeg: "), std::string::npos) << err;
        EXPECT_FALSE(image.rgb);
    }
}

TEST(JpegDecoder, CutOffFileShowsWhatDecoded)
{
    for (bool progressive : {false, true}) {
        TestJpeg layout;
        layout.width = 64;
        layout.height = 64;
        layout.progressive = progressive;
        std::vector<uint8_t> bytes = EncodeJpeg(layout);
        bytes.resize(bytes.size() * 2 / 3);
        JpegImage image;
        testing::internal::CaptureStderr();
        EXPECT_EQ(Decode(bytes, AtScale(1), &image), JpegStatus::kDecoded) << progressive;
        testing::internal::GetCapturedStderr();
        EXPECT_EQ(image.outputWidth, 64);
        EXPECT_EQ(image.outputHeight, 64);
    }
}

TEST(JpegDecoder, CmykFilesAreConvertedWhetherAdobeInvertedOrNot)
{
    // Pure red as ink: no cyan, full magenta and yellow, no black.
    TestJpeg adobe;
    adobe.width = 16;
    adobe.height = 16;
    adobe.space = JCS_CMYK;
    adobe.fill = [](int, int, uint8_t* p) { p[0] = 255, p[1] = 0, p[2] = 0, p[3] = 255; };  // stored inverted
    TestJpeg plain = adobe;
    plain.adobeMarker = false;
    plain.fill = [](int, int, uint8_t* p) { p[0] = 0, p[1] = 255, p[2] = 255, p[3] = 0; };
    for (const TestJpeg* layout : {&adobe, &plain}) {
        JpegImage image;
        ASSERT_EQ(Decode(EncodeJpeg(*layout), AtScale(2), &image), JpegStatus::kDecoded);
        EXPECT_EQ(image.adobeInverted, layout->adobeMarker);
        EXPECT_EQ(image.outputComponents, 4);
        EXPECT_EQ(image.outputWidth, 8);
        EXPECT_NEAR(MeanChannel(image, 0), 255, 6);
        EXPECT_NEAR(MeanChannel(image, 1), 0, 6);
        EXPECT_NEAR(MeanChannel(image, 2), 0, 6);
    }
}

TEST(JpegDecoder, GrayscaleIsReportedUnlessAskedToDecodeIt)
{
    TestJpeg layout;
    layout.width = 20;
    layout.height = 10;
    layout.space = JCS_GRAYSCALE;
    layout.fill = [](int, int, uint8_t* p) { p[0] = 100; };
    const std::vector<uint8_t> bytes = EncodeJpeg(layout);
    JpegImage image;
    EXPECT_EQ(Decode(bytes, AtScale(1), &image), JpegStatus::kGrayscale);
    EXPECT_EQ(image.imageWidth, 20);
    EXPECT_FALSE(image.rgb);

    JpegRequest request = AtScale(1);
    request.decodeGrayscale = true;
    ASSERT_EQ(Decode(bytes, request, &image), JpegStatus::kDecoded);
    EXPECT_NEAR(MeanChannel(image, 0), 100, 3);
    EXPECT_NEAR(MeanChannel(image, 2), 100, 3);
}

TEST(JpegDecoder, HugeFrameIsRefusedAtFullSizeButStreamsIntoASmallOutput)
{
    std::vector<uint8_t> bytes = RgbJpeg(16, 16);
    PatchFrameSize(bytes, 12000, 12000);
    JpegImage image;
    testing::internal::CaptureStderr();
    EXPECT_EQ(Decode(bytes, AtScale(1), &image), JpegStatus::kFailed);
    EXPECT_FALSE(image.rgb);
    // 1500 x 1500 at 1/8: well inside the budget; the missing data is only a warning.
    EXPECT_EQ(Decode(bytes, AtScale(8), &image), JpegStatus::kDecoded);
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(image.outputWidth, 1500);
}

TEST(JpegDecoder, DecodesFromAnOpenFile)
{
    const std::vector<uint8_t> bytes = RgbJpeg(33, 17);
    FILE* file = std::tmpfile();
    ASSERT_TRUE(file);
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::rewind(file);
    JpegImage image;
    EXPECT_EQ(DecodeJpegFile(file, AtScale(1), &image), JpegStatus::kDecoded);
    std::fclose(file);
    EXPECT_EQ(image.outputWidth, 33);
    EXPECT_EQ(image.outputHeight, 17);
    EXPECT_EQ(DecodeJpegFile(nullptr, AtScale(1), &image), JpegStatus::kFailed);
}

TEST(JpegDecoder, DecodingIntoABitmapMatchesTheBitmapMadeFromPackedRows)
{
    TestJpeg colour;
    colour.width = 37;
    colour.height = 11;
    colour.fill = [](int x, int y, uint8_t* p) { p[0] = uint8_t(x * 6), p[1] = uint8_t(y * 20), p[2] = 77; };
    TestJpeg cmyk = colour;
    cmyk.space = JCS_CMYK;
    cmyk.fill = [](int x, int y, uint8_t* p) { p[0] = uint8_t(x * 6), p[1] = uint8_t(y * 20), p[2] = 0, p[3] = 200; };
    TestJpeg gray = colour;
    gray.space = JCS_GRAYSCALE;
    gray.fill = [](int x, int y, uint8_t* p) { p[0] = uint8_t(x * 6 + y); };
    for (const TestJpeg* layout : {&colour, &cmyk, &gray}) {
        const std::vector<uint8_t> bytes = EncodeJpeg(*layout);
        JpegRequest request = AtScale(1);
        request.decodeGrayscale = true;
        JpegImage packed;
        ASSERT_EQ(Decode(bytes, request, &packed), JpegStatus::kDecoded);
        request.toBitmap = true;
        JpegImage direct;
        ASSERT_EQ(Decode(bytes, request, &direct), JpegStatus::kDecoded);
        ASSERT_TRUE(direct.bitmap);
        EXPECT_FALSE(direct.rgb);
        HBITMAP expected = BitmapFromRgb(packed.rgb.get(), packed.outputWidth, packed.outputHeight);
        ASSERT_EQ(direct.bitmap->Width(), 37);
        ASSERT_EQ(expected->Stride(), direct.bitmap->Stride());
        EXPECT_EQ(std::memcmp(expected->Bits(), direct.bitmap->Bits(), size_t(expected->Stride()) * 11), 0);
        DeleteObject(expected);
    }
}
