#include "game/ComboMeter.h"

#include "graphics/Graphics.h"
#include "graphics/Image.h"

void ComboMeter::Draw(Zorva::Graphics& graphics) const
{
    // Drawing leaves the images as they are; the graphics interface takes them non-const.
    graphics.DrawImage(const_cast<Zorva::Image*>(frameImage), x, y);
    if (level > 0 && fillImage) {
        const int fillHeight = fillImage->GetHeight();
        const int emptyRows =
            static_cast<int>((1.0f - level / kMaxLevel) * static_cast<float>(fillHeight));
        if (emptyRows < fillHeight) {
            const Zorva::Rect shown(0, emptyRows, fillImage->GetWidth(), fillHeight - emptyRows);
            graphics.DrawImage(const_cast<Zorva::Image*>(fillImage), x + fillOffsetX,
                               y + fillOffsetY + emptyRows, shown);
        }
    }
    graphics.DrawImage(const_cast<Zorva::Image*>(labelsImage), x, y);
}
