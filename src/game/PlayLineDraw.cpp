#include "game/PlayLine.h"

#include "game/ResourceHandles.h"
#include "graphics/Graphics.h"

void PlayLine::Draw(Zorva::Graphics& graphics, GameMode mode) const
{
    if (mode == GameMode::TwoSide) {
        if (DominoFish* last = Last()) {
            last->Draw(graphics, 1);
        }
        // Stones between the ends are hidden, except on their way to their place.
        for (std::size_t i = 1; i + 1 < stones.size(); ++i) {
            if (stones[i]->IsMoving()) {
                stones[i]->Draw(graphics, 1);
            }
        }
        if (stones.size() > 1) {
            stones.front()->Draw(graphics, 1);
        }
        graphics.DrawImage(IMAGE_PANEL_LINE, 348, 516);
        return;
    }
    if (DominoFish* last = Last()) {
        last->Draw(graphics, 1);
    }
    // The stone before the last slides aside as a new one arrives; it stays visible.
    if (stones.size() >= 3) {
        stones[stones.size() - 2]->Draw(graphics, 1);
    }
    graphics.DrawImage(IMAGE_PANEL_LINE_OSS, 305, 519);
}
