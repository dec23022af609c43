#pragma once

#include "game/DominoFish.h"
#include "game/GameMode.h"

#include <deque>
#include <memory>

namespace Zorva {
class Graphics;
}

/// The row of played stones, left end first. Only its two end stones take part in the game;
/// the stones between them are kept but not shown.
class PlayLine
{
public:
    static constexpr int kCentreY = 565;
    static constexpr int kFirstX = 358;
    static constexpr int kLastX = 440;
    static constexpr int kStartX = 400;
    /// The end value of an empty line; it matches no picture.
    static constexpr int kNoValue = -1;

    DominoFish* First() const { return stones.empty() ? nullptr : stones.front().get(); }
    DominoFish* Last() const { return stones.empty() ? nullptr : stones.back().get(); }
    int Count() const { return static_cast<int>(stones.size()); }
    /// -1 when the stone is not on the line.
    int IndexOf(const DominoFish* stone) const;
    DominoFish* At(int index) const { return stones[static_cast<std::size_t>(index)].get(); }

    /// The left value of the first stone, the right value of the last one.
    int LeftEndValue() const;
    int RightEndValue() const;

    void Reset();
    void Append(std::unique_ptr<DominoFish> stone);
    void Prepend(std::unique_ptr<DominoFish> stone);
    std::unique_ptr<DominoFish> RemoveFirst();
    std::unique_ptr<DominoFish> RemoveLast();

    bool AnyMoving() const;
    /// Draws the shown stones and the line's frame: both ends (and whatever still moves
    /// between them) in Two-Side play, the right end and the stone before it in One-Side.
    void Draw(Zorva::Graphics& graphics, GameMode mode) const;
    void UpdateStones();

    std::deque<std::unique_ptr<DominoFish>> stones;
    /// Set when a stone joins the line; the panel consumes it to score the move.
    bool stonePlaced = false;
    /// -1 while a held stone is snapped to the left end, 1 at the right end, else 0.
    int dropSide = 0;
};
