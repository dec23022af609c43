#include "app/FpsOverlay.h"

#include "graphics/Graphics.h"
#include "graphics/MemoryImage.h"
#include "graphics/SysFont.h"

#include <cstdio>

namespace Zorva {

namespace {

constexpr int kMargin = 10;

} // namespace

FpsOverlay::FpsOverlay() = default;

FpsOverlay::~FpsOverlay() = default;

void FpsOverlay::CountFrame(int64_t presentTime)
{
    ++framesThisSecond;
    if (presentTime - secondStart >= 1000) {
        framesLastSecond = framesThisSecond;
        framesThisSecond = 0;
        secondStart = presentTime;
    }
}

void FpsOverlay::Draw(MemoryImage& screen, int pointerX, int pointerY)
{
    if (!font) {
        font = std::make_unique<SysFont>("Tahoma", 8);
    }
    char text[64];
    if (mode == 1) {
        std::snprintf(text, sizeof text, "%d,%d", pointerX, pointerY);
    } else {
        std::snprintf(text, sizeof text, "FPS: %d", framesLastSecond);
    }
    Graphics graphics(&screen);
    const int textWidth = font->TextWidth(text);
    const int x = screen.GetWidth() - kMargin - textWidth;
    const int y = screen.GetHeight() - kMargin;
    graphics.SetColor(Color(0, 0, 0));
    graphics.FillRect(Rect(x - 2, y - font->GetAscent() - 2, textWidth + 4, font->GetHeight() + 4));
    graphics.SetFont(font.get());
    graphics.SetColor(Color(255, 255, 255));
    graphics.DrawText(text, x, y);
}

} // namespace Zorva
