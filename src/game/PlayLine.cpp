#include "game/PlayLine.h"

int PlayLine::IndexOf(const DominoFish* stone) const
{
    for (std::size_t i = 0; i < stones.size(); ++i) {
        if (stones[i].get() == stone) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int PlayLine::LeftEndValue() const
{
    return stones.empty() ? kNoValue : stones.front()->SettledLeftValue();
}

int PlayLine::RightEndValue() const
{
    return stones.empty() ? kNoValue : stones.back()->SettledRightValue();
}

void PlayLine::Reset()
{
    stones.clear();
    stonePlaced = false;
    dropSide = 0;
}

void PlayLine::Append(std::unique_ptr<DominoFish> stone)
{
    stones.push_back(std::move(stone));
}

void PlayLine::Prepend(std::unique_ptr<DominoFish> stone)
{
    stones.push_front(std::move(stone));
}

std::unique_ptr<DominoFish> PlayLine::RemoveFirst()
{
    std::unique_ptr<DominoFish> stone = std::move(stones.front());
    stones.pop_front();
    return stone;
}

std::unique_ptr<DominoFish> PlayLine::RemoveLast()
{
    std::unique_ptr<DominoFish> stone = std::move(stones.back());
    stones.pop_back();
    return stone;
}

bool PlayLine::AnyMoving() const
{
    for (const auto& stone : stones) {
        if (stone->IsMoving()) {
            return true;
        }
    }
    return false;
}

void PlayLine::UpdateStones()
{
    // An arriving stone may add a deck stone or start other moves, never remove a line stone.
    for (std::size_t i = 0; i < stones.size(); ++i) {
        stones[i]->Update();
    }
}
