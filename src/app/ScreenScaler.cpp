#include "app/ScreenScaler.h"

#include "system/IntegerMath.h"

#include <cstdint>

namespace Zorva {

void ScreenScaler::Configure(int newScreenWidth, int newScreenHeight, int windowWidth,
                             int windowHeight)
{
    screenWidth = newScreenWidth;
    screenHeight = newScreenHeight;
    if (screenWidth <= 0 || screenHeight <= 0 || windowWidth <= 0 || windowHeight <= 0) {
        destination = Rect();
        return;
    }
    // Compare the aspect ratios in integers: the narrower side decides the scale.
    const int64_t widthLimited = int64_t{windowWidth} * screenHeight;
    const int64_t heightLimited = int64_t{windowHeight} * screenWidth;
    int64_t fitWidth = windowWidth;
    int64_t fitHeight = windowHeight;
    if (widthLimited <= heightLimited) {
        fitHeight = (widthLimited + screenWidth / 2) / screenWidth;
    } else {
        fitWidth = (heightLimited + screenHeight / 2) / screenHeight;
    }
    fitWidth = fitWidth < 1 ? 1 : fitWidth;
    fitHeight = fitHeight < 1 ? 1 : fitHeight;
    destination = Rect(static_cast<int32_t>((windowWidth - fitWidth) / 2),
                       static_cast<int32_t>((windowHeight - fitHeight) / 2),
                       static_cast<int32_t>(fitWidth), static_cast<int32_t>(fitHeight));
}

bool ScreenScaler::IsWholeMultiple() const
{
    if (destination.IsEmpty() || destination.width % screenWidth != 0 ||
        destination.height % screenHeight != 0) {
        return false;
    }
    return destination.width / screenWidth == destination.height / screenHeight;
}

void ScreenScaler::WindowToScreen(int windowX, int windowY, int& screenX, int& screenY) const
{
    if (destination.IsEmpty()) {
        screenX = windowX;
        screenY = windowY;
        return;
    }
    screenX = static_cast<int>(
        FloorDiv(int64_t{windowX - destination.x} * screenWidth, destination.width));
    screenY = static_cast<int>(
        FloorDiv(int64_t{windowY - destination.y} * screenHeight, destination.height));
}

} // namespace Zorva
