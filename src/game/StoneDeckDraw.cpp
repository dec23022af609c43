#include "game/StoneDeck.h"

#include "game/PlayField.h"
#include "game/ResourceHandles.h"
#include "graphics/Font.h"
#include "graphics/Graphics.h"

#include <algorithm>
#include <string>

namespace {

Zorva::Image* DeckBackImage(int style)
{
    static Zorva::Image** const kBacks[] = {&IMAGE_FISH_BACK, &IMAGE_FISH_BACK, &IMAGE_FISH_BACK2,
                                            &IMAGE_FISH_BACK3};
    return style >= 0 && style < 4 ? *kBacks[style] : IMAGE_FISH_BACK;
}

} // namespace

void StoneDeck::Draw(Zorva::Graphics& graphics) const
{
    const bool twoSide = field.mode == GameMode::TwoSide;
    Zorva::Image* place =
        twoSide ? (crops > 0 ? IMAGE_CROP_DECK : IMAGE_NO_CROPS) : IMAGE_DECK_PLACE;
    graphics.DrawImage(place, x - 7, y - 2);

    const std::size_t shown = std::min<std::size_t>(stones.size(), 3);
    for (std::size_t i = 0; i < shown; ++i) {
        if (!stones[i]->IsMoving()) {
            const int step = 7 * static_cast<int>(i);
            graphics.DrawImage(DeckBackImage(stones[i]->style), x + step, y - step);
        }
    }

    if (twoSide) {
        for (std::size_t p = piles.size(); p-- > 0;) {
            graphics.DrawImage(IMAGE_ROCK_PLACE, x - 5, y - 80 - 60 * static_cast<int>(p));
            const StoneList& pile = piles[p];
            const std::size_t first = pile.size() > 3 ? pile.size() - 3 : 0;
            for (std::size_t s = first; s < pile.size(); ++s) {
                DominoFish* stone = pile[s].get();
                if (stone == heldStone && stone->dragging) {
                    continue;
                }
                stone->Draw(graphics, 1);
            }
        }
    }

    for (std::size_t i = 0; i < shown; ++i) {
        if (stones[i]->IsMoving()) {
            stones[i]->Draw(graphics, 1);
        }
    }

    if (FONT_DEFAULT) {
        const std::string count = std::to_string(twoSide ? crops : StoneCount());
        graphics.SaveState();
        graphics.SetColor(Zorva::Color::kWhite);
        graphics.SetFont(FONT_DEFAULT);
        graphics.DrawText(count, x + 101 - FONT_DEFAULT->TextWidth(count) / 2, y + 50);
        graphics.RestoreState();
    }
}
