#pragma once

#include "graphics/AnimInfo.h"
#include "resources/BaseRes.h"

#include <cstdint>
#include <memory>
#include <optional>

namespace Zorva {

class MemoryImage;

/// An image of the manifest and how to prepare it once loaded.
class ImageRes : public BaseRes
{
public:
    void ReleaseLoaded() override { image.reset(); }

    std::shared_ptr<MemoryImage> image;
    std::string alphaImagePath;
    std::string alphaGridPath;
    std::string variant;
    bool palletize = true;
    bool a4r4g4b4 = false;
    bool a8r8g8b8 = false;
    bool ddSurface = false;
    bool purgeBits = false;
    bool minSubdivide = false;
    bool hasAlpha = true;
    int rows = 1;
    int cols = 1;
    /// The colour of every pixel of an image that has only an alpha file.
    uint32_t alphaColor = 0xFFFFFF;
    /// Present when the manifest gives an animation other than none.
    std::optional<AnimInfo> anim;
};

} // namespace Zorva
