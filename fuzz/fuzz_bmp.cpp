// Fuzz target: the BMP reader over arbitrary bytes.
#include "image/bmp_reader.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    DeleteObject(DecodeBmp(data, size));
    return 0;
}
