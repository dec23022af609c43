#pragma once

#include "game/screens/LogoImage.h"

#include <memory>
#include <vector>

/// A full-screen logo shown for a number of update ticks before loading is shown.
class LogoScreen
{
public:
    /// Update ticks still to show; the screen goes when it reaches 0.
    int remainingTicks = 0;
    int red = 0;
    int green = 0;
    int blue = 0;
    std::vector<std::unique_ptr<LogoImage>> images;
};
