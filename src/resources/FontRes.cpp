#include "resources/FontRes.h"

#include "graphics/ImageFont.h"

namespace Zorva {

FontRes::FontRes() = default;
FontRes::~FontRes() = default;

void FontRes::ReleaseLoaded()
{
    font.reset();
}

} // namespace Zorva
