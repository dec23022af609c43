#include "game/StoneDeck.h"

#include "game/PlayField.h"
#include "game/PlayFieldHost.h"
#include "game/PlayLine.h"
#include "game/ResourceHandles.h"
#include "system/MTRand.h"
#include "widgets/InputCodes.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kDealTicks = 30;
constexpr int kDealUpdates = 29;

} // namespace

std::unique_ptr<DominoFish> StoneDeck::NewStone(int centreX, int centreY)
{
    auto stone =
        std::make_unique<DominoFish>(&field, centreX, centreY, DominoFish::kLyingALeft, 0, style);
    return stone;
}

void StoneDeck::Clear()
{
    stones.clear();
    piles.clear();
    heldStone = nullptr;
    hoveredPile = -1;
    hoveredPileStone = -1;
    dealt = false;
    busy = false;
    deckSideMoves = 0;
}

void StoneDeck::Deal(int count)
{
    stones.clear();
    piles.clear();
    heldStone = nullptr;
    hoveredPile = -1;
    hoveredPileStone = -1;
    crops = 2;
    count = std::clamp(count, 0, kMaxStones);
    for (int i = 0; i < count; ++i) {
        auto stone = NewStone(x + i + 40, y - i + 25);
        stone->pictureA = field.RandomPicture();
        stone->pictureB = field.RandomPicture();
        // With fewer than two distinct pictures equal halves cannot be avoided.
        while (stone->pictureB == stone->pictureA && field.HasTwoDistinctPictures()) {
            stone->pictureB = field.RandomPicture();
        }
        if (Zorva::Rand().Next(1000) > 950) {
            stone->MakeJoker();
        }
        stones.push_back(std::move(stone));
    }
    if (!stones.empty()) {
        stones.back()->faceUp = true;
    }
    piles.resize(static_cast<std::size_t>(std::clamp(pileCount, 0, kMaxPiles)));
    busy = false;
}

bool StoneDeck::InDeckArea(int mouseX, int mouseY) const
{
    return x < mouseX && mouseX < x + 101 && y - 21 < mouseY && mouseY < y + 57;
}

void StoneDeck::Click(int button)
{
    if (field.mode == GameMode::OneSide) {
        ClickOneSide(button);
    } else if (field.mode == GameMode::TwoSide) {
        ClickTwoSide();
    }
}

void StoneDeck::ClickOneSide(int button)
{
    if (stones.empty()) {
        return;
    }
    const int count = StoneCount();
    DominoFish& stone = *stones.back();
    stone.faceUp = true;
    const int a = std::min(count + 1, 4);
    const int b = std::min(count, 3);
    stone.x = x + 20 + 7 * a;
    stone.y = y + 25 - 7 * b;
    stone.UpdateDrawPosition();

    const DominoFish* last = line.Last();
    const int endValue = line.RightEndValue();
    const bool jokerEnd = !last || last->joker || endValue < 0 || endValue >= kPictureCount;
    const int weighted = field.WeightedRandomPicture();
    if (!stone.joker) {
        stone.pictureA = jokerEnd ? 1 : endValue;
        stone.pictureB = weighted;
    }

    std::unique_ptr<DominoFish> played = std::move(stones.back());
    stones.pop_back();
    DominoFish* playedStone = played.get();
    const int originX = playedStone->x;
    const int originY = playedStone->y;
    // The stone's left picture is the right end's, so it always fits.
    field.SendToLineOneSide(std::move(played), button);
    if (!stones.empty()) {
        stones.back()->faceUp = true;
    }
    field.CommitDeckMove(*playedStone, originX, originY, -1);
}

void StoneDeck::ClickTwoSide()
{
    if (busy) {
        return;
    }
    busy = true;
    dealt = true;
    if (!stones.empty()) {
        DealOntoPiles();
    } else if (crops > 0) {
        CropPilesIntoDeck();
    }
    busy = false;
    CountDeckSideMoves();
    field.CheckEndOfLevel();
}

void StoneDeck::DealOntoPiles()
{
    for (int pile = static_cast<int>(piles.size()) - 1; pile >= 0 && !stones.empty(); --pile) {
        DominoFish* stone = stones.back().get();
        stone->faceUp = false;
        const int held = static_cast<int>(piles[pile].size());
        const int place = std::min(held, kVisiblePileStones - 1);
        const auto [targetX, targetY] = PilePlace(pile, place);
        stone->StartMove(targetX, targetY, kDealTicks);
        if (held >= kVisiblePileStones) {
            const int shift = held + 1 - kVisiblePileStones;
            for (int j = 0; j < held; ++j) {
                const auto [px, py] = PilePlace(pile, j - shift);
                piles[pile][j]->StartMove(px, py, kDealTicks,
                                          ClipRect{x, y - 60 * pile - 96, 101, 71});
            }
        }
        for (int i = 0; i < kDealUpdates; ++i) {
            if (!field.RunUntilUpdate()) {
                break;
            }
        }
        // The nested updates may have replaced the deck (a reshuffle); then the deal stops.
        if (stones.empty() || stones.back().get() != stone ||
            pile >= static_cast<int>(piles.size())) {
            return;
        }
        piles[pile].push_back(std::move(stones.back()));
        stones.pop_back();
        stone->faceUp = true;
        stone->StartFlip(false);
    }
}

void StoneDeck::CropPilesIntoDeck()
{
    for (StoneList& pile : piles) {
        while (!pile.empty()) {
            stones.push_back(std::move(pile.back()));
            pile.pop_back();
        }
    }
    for (auto& stone : stones) {
        stone->StartMove(x + 40, y + 25, 1);
        stone->faceUp = true;
    }
    heldStone = nullptr;
    hoveredPile = -1;
    hoveredPileStone = -1;
    --crops;
}

std::pair<int, int> StoneDeck::PilePlace(int pile, int place)
{
    constexpr int kDeckX = 5;
    constexpr int kDeckY = 540;
    return {kDeckX + 40 + 7 * place, kDeckY - 56 - 60 * pile - 7 * place};
}

void StoneDeck::RestackPile(int pile, bool clipped)
{
    StoneList& stonesOfPile = piles[static_cast<std::size_t>(pile)];
    const int count = static_cast<int>(stonesOfPile.size());
    const int shift = std::max(0, count - kVisiblePileStones);
    for (int j = 0; j < count; ++j) {
        const auto [px, py] = PilePlace(pile, j - shift);
        if (clipped) {
            stonesOfPile[j]->StartMove(px, py, kDealTicks,
                                       ClipRect{x, y - 60 * pile - 96, 101, 71});
        } else {
            stonesOfPile[j]->StartMove(px, py, kDealTicks);
        }
    }
}

int StoneDeck::PileStoneCount() const
{
    int count = 0;
    for (const StoneList& pile : piles) {
        count += static_cast<int>(pile.size());
    }
    return count;
}

int StoneDeck::PileOfHeldStone() const
{
    for (std::size_t i = 0; i < piles.size(); ++i) {
        if (!piles[i].empty() && piles[i].back().get() == heldStone) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

bool StoneDeck::PileHover(int mouseX, int mouseY)
{
    if (heldStone) {
        return false;
    }
    const int oldPile = hoveredPile;
    hoveredPile = -1;
    hoveredPileStone = -1;
    for (std::size_t i = 0; i < piles.size(); ++i) {
        if (!piles[i].empty() && piles[i].back()->HitTest(mouseX, mouseY)) {
            hoveredPile = static_cast<int>(i);
            hoveredPileStone = static_cast<int>(piles[i].size()) - 1;
            break;
        }
    }
    return hoveredPile != oldPile;
}

void StoneDeck::PileMouseDown(int mouseX, int mouseY, int button)
{
    if (field.mode != GameMode::TwoSide || hoveredPile < 0 ||
        hoveredPile >= static_cast<int>(piles.size()) || piles[hoveredPile].empty()) {
        return;
    }
    DominoFish& stone = *piles[hoveredPile].back();
    const DominoFish* fieldStone = field.hoveredStone;
    if (stone.IsMoving() || (fieldStone && fieldStone->dragging)) {
        return;
    }
    if (button == Zorva::kClickLeft && !busy) {
        dragOriginX = stone.x;
        dragOriginY = stone.y;
        heldStone = &stone;
        field.PickUp(stone, mouseX, mouseY);
    } else if (button == Zorva::kClickRight) {
        field.TurnTowardsJokerEnd(stone);
    }
}

bool StoneDeck::PileDrag(int mouseX, int mouseY)
{
    if (!heldStone) {
        return false;
    }
    field.DragStone(*heldStone, mouseX, mouseY);
    return true;
}

void StoneDeck::MouseUp(int mouseX, int mouseY, int button)
{
    if (heldStone && button == Zorva::kClickLeft && !busy) {
        DominoFish& stone = *heldStone;
        const int pile = PileOfHeldStone();
        heldStone = nullptr;
        line.dropSide = 0;
        const int side = pile >= 0 ? field.PlacementSide(stone) : 0;
        if (side == 0) {
            field.ReturnToOrigin(stone, mouseX, mouseY, dragOriginX, dragOriginY);
            stone.returningFromPile = true;
            return;
        }
        std::unique_ptr<DominoFish> placed = std::move(piles[pile].back());
        piles[pile].pop_back();
        hoveredPile = -1;
        hoveredPileStone = -1;
        field.PlaceAtEnd(std::move(placed), side);
        CountDeckSideMoves();
        field.CommitDeckMove(stone, dragOriginX, dragOriginY, pile);
        if (static_cast<int>(piles[pile].size()) >= kVisiblePileStones) {
            RestackPile(pile, true);
        }
        field.CheckEndOfLevel();
        return;
    }
    if (InDeckArea(mouseX, mouseY)) {
        Click(button);
    }
}

int StoneDeck::CountDeckSideMoves()
{
    const int left = line.LeftEndValue();
    const int right = line.RightEndValue();
    const bool jokerEnd = left == DominoFish::kJokerValue || right == DominoFish::kJokerValue;
    int count = 0;
    for (const auto& stone : stones) {
        if (jokerEnd || stone->joker || stone->HasPicture(left) || stone->HasPicture(right)) {
            ++count;
        }
    }
    for (const StoneList& pile : piles) {
        if (pile.empty()) {
            continue;
        }
        const bool topIsJoker = pile.back()->joker;
        for (std::size_t j = 0; j < pile.size(); ++j) {
            const DominoFish& stone = *pile[j];
            const bool reachable = j + 1 == pile.size() || crops > 0;
            const bool matches = jokerEnd || topIsJoker || stone.joker || stone.HasPicture(left) ||
                                 stone.HasPicture(right);
            if (reachable && matches) {
                ++count;
            }
        }
    }
    deckSideMoves = count;
    return count;
}

void StoneDeck::AddBonusStone()
{
    if (StoneCount() >= kMaxStones) {
        return;
    }
    auto stone = NewStone(x + 40, y + 25);
    stone->pictureA = field.RandomPicture();
    stone->pictureB = field.RandomPicture();
    if (!stones.empty()) {
        stones.back()->faceUp = false;
    }
    stone->faceUp = true;
    stones.push_back(std::move(stone));
}

void StoneDeck::AddPile()
{
    if (static_cast<int>(piles.size()) < kMaxPiles) {
        piles.emplace_back();
    }
}

bool StoneDeck::AtRest() const
{
    for (const auto& stone : stones) {
        if (stone->IsMoving() || stone->flipActive) {
            return false;
        }
    }
    for (const StoneList& pile : piles) {
        for (const auto& stone : pile) {
            if (stone->IsMoving() || stone->flipActive) {
                return false;
            }
        }
    }
    return true;
}

void StoneDeck::UpdateStones()
{
    for (StoneList& pile : piles) {
        for (std::size_t i = 0; i < pile.size(); ++i) {
            pile[i]->Update();
        }
    }
    for (std::size_t i = 0; i < stones.size(); ++i) {
        stones[i]->Update();
    }
}
