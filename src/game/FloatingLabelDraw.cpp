#include "game/FloatingLabel.h"

#include "graphics/Graphics.h"

void FloatingLabel::Draw(Zorva::Graphics& graphics) const
{
    if (!image) {
        return;
    }
    // Drawing leaves the image as it is; the graphics interface takes it non-const.
    auto* drawn = const_cast<Zorva::Image*>(image);
    graphics.SaveState();
    graphics.SetColor(Zorva::Color(255, 255, 255, alpha));
    graphics.SetModulateImages(true);
    const int left = static_cast<int>(x);
    const int top = static_cast<int>(y);
    if (frame < 0) {
        graphics.DrawImage(drawn, left, top);
    } else {
        graphics.DrawImageCell(drawn, left, top, frame);
    }
    graphics.RestoreState();
}
