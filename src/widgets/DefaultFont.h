#pragma once

#include "graphics/SysFont.h"

#include <memory>

namespace Zorva {

enum class FontWeight
{
    Regular,
    Bold,
};

/// The toolkit's stock face, "SansSerif", at `pointSize` points.
inline std::unique_ptr<Font> MakeDefaultFont(int pointSize, FontWeight weight = FontWeight::Regular)
{
    return std::make_unique<SysFont>("SansSerif", pointSize,
                                     weight == FontWeight::Bold ? SysFontStyle::Bold
                                                                : SysFontStyle::Plain);
}

} // namespace Zorva
