// The play field's help for the player: reshuffle, undo and hint.

#include "game/PlayField.h"

#include "game/ComboMeter.h"
#include "game/PlayFieldHost.h"
#include "game/PlayLine.h"
#include "game/ResourceHandles.h"
#include "game/StoneDeck.h"

#include <algorithm>

bool PlayField::Reshuffle()
{
    if (reshufflesLeft <= 0) {
        return false;
    }
    --reshufflesLeft;
    const int deckSide = deck.StoneCount() + deck.PileStoneCount();
    PairChain chain = BuildPairChain(stoneCount);
    for (StoneList& layer : layers) {
        for (auto& stone : layer) {
            stone->faceUp = false;
            stone->StartFlip(true);
        }
    }
    if (line.Count() > 0) {
        line.Last()->StartMove(400, PlayLine::kCentreY, kLineMoveTicks, ClipRect{400, 540, 90, 60});
        line.First()->StartMove(398, PlayLine::kCentreY, kLineMoveTicks,
                                ClipRect{320, 540, 80, 60});
    }
    for (int i = 0; i < kLineMoveTicks; ++i) {
        if (!host.RunUntilUpdate()) {
            break;
        }
    }
    pictureCounters = {};
    DealPairs(chain, false);
    // The old line stones go; nothing is left to undo.
    undo = UndoRecord{};
    host.SetUndoEnabled(false);
    StartPlayLine(chain);
    MoveLineEndsApart();
    idleTicks = 0;
    ApplyFreeRule();
    CountMoves();
    deck.Deal(std::max(deckSide, 3));
    comboMeter.Empty();
    RefreshReshuffleButton();

    std::array<bool, 3> lockPresent{};
    for (const StoneList& layer : layers) {
        for (const auto& stone : layer) {
            if (stone->lockNumber >= 0 && stone->lockNumber <= 2) {
                lockPresent[stone->lockNumber] = true;
            }
        }
    }
    for (StoneList& layer : layers) {
        for (auto& stone : layer) {
            if (stone->keyNumber >= 0 && (stone->keyNumber > 2 || !lockPresent[stone->keyNumber])) {
                stone->keyNumber = -1;
            }
        }
    }
    deck.CountDeckSideMoves();
    RestartBonusClock();
    return true;
}

bool PlayField::Undo()
{
    DominoFish* stone = undo.stone;
    if (!stone || line.Count() < 2) {
        return false;
    }
    const bool fromBack = line.Last() == stone;
    if (!fromBack && line.First() != stone) {
        return false;
    }
    const bool toField = undo.source == UndoRecord::kField;
    const bool toPile = undo.source == UndoRecord::kDeckOrPile && mode == GameMode::TwoSide &&
                        undo.originIndex >= 0 &&
                        undo.originIndex < static_cast<int>(deck.piles.size());
    if (!toField && !toPile) {
        return false;
    }
    if (toField && (undo.originLayer < 0 || undo.originLayer >= static_cast<int>(layers.size()))) {
        return false;
    }

    std::unique_ptr<DominoFish> taken = fromBack ? line.RemoveLast() : line.RemoveFirst();
    const int lineX = stone->x;
    const int lineY = stone->y;
    stone->commitOnArrival = false;
    stone->returnOnArrival = false;
    stone->hovered = false;
    stone->dragging = false;
    if (toField) {
        if (!stone->joker) {
            for (const int value : {stone->pictureA, stone->pictureB}) {
                if (value >= 0 && value < kPictureCount) {
                    ++pictureCounters[value];
                }
            }
        }
        ++stoneCount;
        // The field is no longer empty: a win noted for it is not one any more.
        won = false;
        stone->layer = undo.originLayer;
        StoneList& layer = layers[undo.originLayer];
        const auto index =
            std::clamp<std::size_t>(static_cast<std::size_t>(undo.originIndex), 0, layer.size());
        layer.insert(layer.begin() + static_cast<std::ptrdiff_t>(index), std::move(taken));
        // The free rule sees the stone at home; then it glides back from the line.
        stone->x = undo.originX;
        stone->y = undo.originY;
        ApplyFreeRule();
        stone->x = lineX;
        stone->y = lineY;
        stone->settleBumpOnArrival = true;
        stone->StartMove(undo.originX + 5, undo.originY - 5, 30);
    } else {
        StoneList& pile = deck.piles[undo.originIndex];
        stone->layer = 0;
        stone->faceUp = true;
        stone->StartMove(undo.originX, undo.originY, 30);
        pile.push_back(std::move(taken));
        if (static_cast<int>(pile.size()) >= StoneDeck::kVisiblePileStones) {
            deck.RestackPile(undo.originIndex, true);
        }
    }
    if (line.Count() >= 2) {
        if (fromBack) {
            line.Last()->StartMove(PlayLine::kLastX, PlayLine::kCentreY, kLineMoveTicks,
                                   ClipRect{400, 540, 90, 60});
        } else {
            line.First()->StartMove(PlayLine::kFirstX, PlayLine::kCentreY, kLineMoveTicks,
                                    ClipRect{320, 540, 80, 60});
        }
    }
    score -= undo.points;
    undo.points = -undo.points;
    undo.stone = nullptr;
    CountMoves();
    deck.CountDeckSideMoves();
    CheckEndOfLevel();
    idleTicks = 0;
    return true;
}

void PlayField::Hint()
{
    if (hintCursor >= movesAvailable) {
        hintCursor = 0;
    }
    int seen = 0;
    for (auto layer = layers.rbegin(); layer != layers.rend(); ++layer) {
        for (auto stone = layer->rbegin(); stone != layer->rend(); ++stone) {
            if (!(*stone)->playable) {
                continue;
            }
            if (seen++ == hintCursor) {
                (*stone)->StartBump(3, 2);
                ++hintCursor;
                return;
            }
        }
    }
}
