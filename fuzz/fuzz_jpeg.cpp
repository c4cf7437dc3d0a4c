// Fuzz target: the JPEG path of the loader, decoding arbitrary bytes at the
// reductions of both load modes, grayscale included.
#include "image/image_loader.h"
#include "image/jpeg_decoder.h"

#include <cstddef>
#include <cstdint>

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
    return 0;
}
