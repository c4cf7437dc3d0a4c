// Fuzz target: the JPEG path of the loader, decoding arbitrary bytes at the
// reductions of both load modes, grayscale included, and a region of it
// (cropped and skipped by the library) as sharp zooms decode one.
#include "image/image_loader.h"
#include "image/jpeg_decoder.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    for (int mode : {CImageLoader::kModeView, CImageLoader::kModeThumbnail}) {
        JpegRequest request;
        request.decodeGrayscale = true;
        request.chooseScale
            = [mode](int width, int height, int) { return CImageLoader::JpegScaleDenominator(mode, width, height); };
        JpegImage image;
        DecodeJpegMemory(data, size, request, &image);
    }
    JpegRequest region;
    region.decodeGrayscale = true;
    region.toBitmap = true;
    region.chooseScale = [](int, int, int) { return 2; };
    region.region = {int(size % 37), int(size % 23), 50, 40};
    JpegImage image;
    if (DecodeJpegMemory(data, size, region, &image) == JpegStatus::kDecoded
        && (!image.bitmap || image.outputWidth > 26 || image.outputHeight > 21))
        std::abort();  // 50 x 40 touches at most 26 x 21 pixels at 1/2
    return 0;
}
