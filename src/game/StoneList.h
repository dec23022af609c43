#pragma once

#include "game/DominoFish.h"

#include <memory>
#include <vector>

/// An ordered list of owned stones (a layer, the deck, a pile). A stone moves from one list
/// to another by moving its pointer.
using StoneList = std::vector<std::unique_ptr<DominoFish>>;

/// Takes the stone at `index` out of the list, keeping the order of the others.
inline std::unique_ptr<DominoFish> TakeStone(StoneList& list, std::size_t index)
{
    std::unique_ptr<DominoFish> stone = std::move(list[index]);
    list.erase(list.begin() + static_cast<std::ptrdiff_t>(index));
    return stone;
}
