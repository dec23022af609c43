#pragma once

#include "resources/BaseRes.h"

#include <memory>

namespace Zorva {

class ImageFont;

/// A font of the manifest: its descriptor (`path`), an optional glyph image and tags.
class FontRes : public BaseRes
{
public:
    FontRes();
    ~FontRes() override;
    void ReleaseLoaded() override;

    std::unique_ptr<ImageFont> font;
    /// As written, without the default path.
    std::string imagePath;
    std::string tags;
};

} // namespace Zorva
