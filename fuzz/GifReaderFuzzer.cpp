// Decodes arbitrary bytes as a GIF file; a picture that comes back must own all its pixels.

#include "graphics/ImageLib.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto image = Zorva::ImageLib::DecodeGIF(data, size);
    if (!image) {
        return 0;
    }
    const size_t count = static_cast<size_t>(image->width) * static_cast<size_t>(image->height);
    uint32_t sum = 0;
    for (size_t i = 0; i < count; i += 61) {
        sum += image->bits[i];
    }
    sum += image->bits[count - 1];
    return sum == 0x9E3779B9u ? 1 : 0;
}
