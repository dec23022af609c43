#include "app/FpsOverlay.h"

#include "graphics/Graphics.h"
#include "graphics/MemoryImage.h"
#include "graphics/SysFont.h"

#include <algorithm>
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

std::string FpsOverlay::Text(int pointerX, int pointerY, std::optional<int64_t> demoMs) const
{
    char text[96];
    if (mode == 1) {
        std::snprintf(text, sizeof text, "%d,%d", pointerX, pointerY);
    } else {
        std::snprintf(text, sizeof text, "FPS: %d", framesLastSecond);
    }
    std::string line = text;
    if (demoMs.has_value()) {
        const long long seconds = std::max<int64_t>(*demoMs, 0) / 1000;
        std::snprintf(text, sizeof text, "  %02lld:%02lld:%02lld", seconds / 3600,
                      seconds / 60 % 60, seconds % 60);
        line += text;
    }
    return line;
}

void FpsOverlay::Draw(MemoryImage& screen, int pointerX, int pointerY,
                      std::optional<int64_t> demoMs)
{
    if (!font) {
        font = std::make_unique<SysFont>("Tahoma", 8);
    }
    const std::string line = Text(pointerX, pointerY, demoMs);
    const char* text = line.c_str();
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
