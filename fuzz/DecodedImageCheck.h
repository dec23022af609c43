#pragma once

// Shared by the image reader fuzz targets: a picture that comes back must own all its pixels,
// so every one of them is read (the sanitizers catch a short buffer).

#include "graphics/ImageLib.h"

#include <cstddef>
#include <cstdint>

inline int TouchDecodedImage(const Zorva::ImageLib::Image* image)
{
    if (!image) {
        return 0;
    }
    const size_t count = static_cast<size_t>(image->width) * static_cast<size_t>(image->height);
    uint32_t sum = 0;
    for (size_t i = 0; i < count; i += 61) {
        sum += image->bits[i];
    }
    if (count > 0) {
        sum += image->bits[count - 1];
    }
    return sum == 0x9E3779B9u ? 1 : 0;
}
