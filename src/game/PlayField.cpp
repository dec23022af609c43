// The play field's basics, its pictures, the free rule and the counts, and its tick.

#include "game/PlayField.h"

#include "game/PlayFieldHost.h"
#include "game/PlayLine.h"
#include "game/Player.h"
#include "game/ResourceHandles.h"
#include "game/StoneDeck.h"
#include "system/MTRand.h"

#include <algorithm>
#include <cstdlib>

namespace {

constexpr int kAutoHintTicks = 599;
constexpr int kHintPause = -1000;

} // namespace

PlayField::PlayField(PlayFieldHost& fieldHost, PlayLine& playLine, StoneDeck& stoneDeck,
                     ComboMeter& meter)
    : host(fieldHost), line(playLine), deck(stoneDeck), comboMeter(meter)
{}

bool PlayField::RunUntilUpdate()
{
    return host.RunUntilUpdate();
}

void PlayField::CommitDeckMove(DominoFish& stone, int originX, int originY, int pile)
{
    undo = UndoRecord{UndoRecord::kDeckOrPile, 0, originX, originY, 0, pile, &stone};
    CountMoves();
    idleTicks = 0;
}

bool PlayField::Covers(int upperX, int upperY, int lowerX, int lowerY)
{
    const int dx = upperX - lowerX;
    const int dy = upperY - lowerY;
    // The test points reach 39 to the side and 24 up or down; beyond that nothing can hit.
    if (std::abs(dx) > 79 || std::abs(dy) > 49) {
        return false;
    }
    static constexpr int kPoints[7][2] = {{-20, 0},  {20, 0},   {0, 0},  {-39, -24},
                                          {39, -24}, {-39, 24}, {39, 24}};
    for (const auto& point : kPoints) {
        if (std::abs(dx + point[0]) <= 40 && std::abs(dy + point[1]) <= 25) {
            return true;
        }
    }
    return false;
}

int PlayField::UpdateCount() const
{
    return host.UpdateCount();
}

Player* PlayField::CurrentPlayer() const
{
    return host.CurrentPlayer();
}

int PlayField::StoneCountInLayers() const
{
    int count = 0;
    for (const StoneList& layer : layers) {
        count += static_cast<int>(layer.size());
    }
    return count;
}

DominoFish* PlayField::StoneAt(int layer, int index) const
{
    if (layer < 0 || layer >= static_cast<int>(layers.size()) || index < 0 ||
        index >= static_cast<int>(layers[layer].size())) {
        return nullptr;
    }
    return layers[layer][index].get();
}

bool PlayField::FindInLayers(const DominoFish* stone, int& layer, int& index) const
{
    for (std::size_t l = 0; l < layers.size(); ++l) {
        for (std::size_t i = 0; i < layers[l].size(); ++i) {
            if (layers[l][i].get() == stone) {
                layer = static_cast<int>(l);
                index = static_cast<int>(i);
                return true;
            }
        }
    }
    return false;
}

// ---------------------------------------------------------------------------------------------
// Pictures

int PlayField::RandomPicture()
{
    if (pictureList.empty()) {
        pictureList = {0, 1};
    }
    return pictureList[Zorva::Rand().Next(static_cast<uint32_t>(pictureList.size()))];
}

bool PlayField::HasTwoDistinctPictures() const
{
    return std::any_of(pictureList.begin(), pictureList.end(),
                       [this](int value) { return value != pictureList.front(); });
}

int PlayField::WeightedRandomPicture()
{
    std::array<int, kPictureCount> weights{};
    for (const int value : pictureList) {
        if (value >= 0 && value < kPictureCount) {
            weights[value] = 5;
        }
    }
    const int bonus = stoneCount == 1 ? 50 : 10;
    for (const StoneList& layer : layers) {
        for (const auto& stone : layer) {
            if (!stone->faceUp || stone->joker) {
                continue;
            }
            for (const int value : {stone->RightValue(), stone->LeftValue()}) {
                if (value >= 0 && value < kPictureCount) {
                    weights[value] += bonus;
                }
            }
        }
    }
    int total = 0;
    for (const int weight : weights) {
        total += weight;
    }
    const uint32_t draw = Zorva::Rand().Next();
    if (total <= 0) {
        return 0;
    }
    const int target = static_cast<int>(draw % static_cast<uint32_t>(total));
    int cumulative = 0;
    for (int value = 0; value < kPictureCount; ++value) {
        cumulative += weights[value];
        if (cumulative > target) {
            return value;
        }
    }
    return 0;
}

// ---------------------------------------------------------------------------------------------
// Free rule and counts

void PlayField::ApplyFreeRule()
{
    freeCount = stoneCount;
    for (StoneList& layer : layers) {
        for (auto& stone : layer) {
            stone->wasFaceUp = stone->faceUp;
            const int lock = stone->lockNumber;
            stone->faceUp = lock < 0 || lock > 2 || lockOpened[lock];
            if (!stone->faceUp) {
                --freeCount;
            }
        }
    }
    for (std::size_t upper = layers.size(); upper-- > 1;) {
        for (const auto& cover : layers[upper]) {
            for (std::size_t lower = 0; lower < upper; ++lower) {
                for (auto& stone : layers[lower]) {
                    if (stone->faceUp && Covers(cover->x, cover->y, stone->x, stone->y)) {
                        stone->faceUp = false;
                        --freeCount;
                    }
                }
            }
        }
    }
    for (StoneList& layer : layers) {
        for (auto& stone : layer) {
            if (stone->faceUp != stone->wasFaceUp) {
                stone->StartFlip(!stone->faceUp);
                rebuildBackground = true;
                playFlipSound = true;
            }
        }
    }
    UpdateOverlapMarks();
}

void PlayField::UpdateOverlapMarks()
{
    for (StoneList& layer : layers) {
        for (auto& stone : layer) {
            stone->overlapPartner = -1;
            stone->splitDrawing = false;
        }
        for (std::size_t i = 0; i < layer.size(); ++i) {
            for (std::size_t j = i + 1; j < layer.size(); ++j) {
                if (layer[j]->y > layer[i]->y + 25) {
                    break;
                }
                if (layer[j]->y == layer[i]->y + 25 && layer[j]->x == layer[i]->x + 80) {
                    layer[j]->overlapPartner = static_cast<int>(i);
                    layer[i]->splitDrawing = true;
                }
            }
        }
    }
}

int PlayField::CountMoves()
{
    const int left = line.LeftEndValue();
    const int right = line.RightEndValue();
    const bool twoSide = mode == GameMode::TwoSide;
    movesAvailable = 0;
    for (StoneList& layer : layers) {
        for (auto& stone : layer) {
            stone->playable =
                stone->faceUp &&
                (left == DominoFish::kJokerValue || right == DominoFish::kJokerValue ||
                 stone->joker || stone->HasPicture(right) || (twoSide && stone->HasPicture(left)));
            if (stone->playable) {
                ++movesAvailable;
            }
        }
    }
    return movesAvailable;
}

void PlayField::CheckEndOfLevel()
{
    if (stoneCount == 0) {
        won = true;
        return;
    }
    // An end stone still turning is about to show another picture; the check runs again
    // when it has turned.
    if (line.Count() > 0 && (line.First()->rotationState != 0 || line.Last()->rotationState != 0)) {
        return;
    }
    if (mode == GameMode::TwoSide) {
        if (movesAvailable == 0 && deck.deckSideMoves == 0) {
            failed = true;
        }
    } else if (mode == GameMode::OneSide) {
        if (deck.stones.empty() && movesAvailable == 0) {
            failed = true;
        }
    }
}

// ---------------------------------------------------------------------------------------------
// The tick

void PlayField::UpdateIdleHint()
{
    const bool holdingPlayable = hoveredStone && hoveredStone->dragging && hoveredStone->playable;
    if (!holdingPlayable) {
        ++idleTicks;
    }
    if (idleTicks > kAutoHintTicks) {
        idleTicks = kHintPause;
        Hint();
    }
}

bool PlayField::BoardAtRest() const
{
    return !line.AnyMoving() && deck.AtRest();
}

std::string PlayField::StatisticsLine(bool levelWon) const
{
    const Player* player = CurrentPlayer();
    std::string text = mode == GameMode::OneSide ? "One-Side Solitaire: " : "Two-Side Solitaire: ";
    text += player ? player->name : std::string();
    text += levelWon ? " Completed Level " : " FAILED Level ";
    text += std::to_string(boardLevel) + "(time " + std::to_string(playTicks / 100) + " sec.) ";
    text += "cards in deck " + std::to_string(deck.StoneCount()) + "\n";
    return text;
}

void PlayField::GiveLevelResults()
{
    // A win counts only for a field that is still empty when the board comes to rest.
    if (won && stoneCount != 0) {
        won = false;
    }
    if (won && !resultsGiven) {
        resultsGiven = true;
        host.AppendStatistics(StatisticsLine(true));
        floatingLabels.clear();
        if (Player* player = CurrentPlayer()) {
            player->reshuffles = reshufflesLeft;
            if (mode == GameMode::TwoSide) {
                player->twoSideScore = score;
                ++player->twoSideLevel;
            } else {
                player->oneSideScore = score;
                ++player->oneSideLevel;
            }
            player->pileCount = deck.pileCount;
            host.SavePlayers();
        }
        host.SetLevelCompletedThisGame();
        host.PlaySound(SOUND_LEVEL_COMPLETE);
        host.ShowLevelCompleteDialog("Level Complete!",
                                     "Congratulation!  You have completed the level!", "Play Next");
    } else if (failed && !won) {
        host.AppendStatistics(StatisticsLine(false));
        floatingLabels.clear();
        failed = false;
        host.PlaySound(SOUND_LEVEL_FAILED);
        host.ShowGameOverDialog();
    }
}

void PlayField::Update()
{
    ++playTicks;
    for (StoneList& layer : layers) {
        for (std::size_t i = 0; i < layer.size(); ++i) {
            layer[i]->Update();
        }
    }
    if (mode == GameMode::Editor) {
        return;
    }
    UpdateIdleHint();
    UpdateBonusAppearance();
    if (rebuildBackground) {
        rebuildBackground = false;
        host.RebuildBackgroundCache();
    }
    if (playFlipSound) {
        playFlipSound = false;
        host.PlaySound(SOUND_FLIP);
    }
    for (auto& label : floatingLabels) {
        label->Update();
    }
    std::erase_if(floatingLabels, [](const auto& label) { return label->done; });
    if ((won || failed) && BoardAtRest()) {
        GiveLevelResults();
    }
}
