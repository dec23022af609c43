// The play field's pointer input, the moves it shares with the stone deck, and what stones
// report when they arrive or have turned.

#include "game/PlayField.h"

#include "game/ComboMeter.h"
#include "game/PlayFieldHost.h"
#include "game/PlayLine.h"
#include "game/Player.h"
#include "game/ResourceHandles.h"
#include "game/StoneDeck.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kSnapDistance = 50;

const char* const kJokerExplanation = "This is Joker Stone! It matches with any stone. Use right "
                                      "mouse button to rotate stone when match it to Joker.";
const char* const kDeckHint = "Use stone deck if there are no more moves.";

double Distance(int ax, int ay, int bx, int by)
{
    return std::hypot(static_cast<double>(ax - bx), static_cast<double>(ay - by));
}

} // namespace

bool PlayField::MouseMove(int mouseX, int mouseY)
{
    if (mode == GameMode::Editor) {
        return EditorMouseMove(mouseX, mouseY);
    }
    if (hoveredStone && (hoveredStone->dragging || hoveredStone->HitTest(mouseX, mouseY))) {
        return false;
    }
    DominoFish* found = nullptr;
    int foundLayer = -1;
    int foundIndex = -1;
    for (int l = static_cast<int>(layers.size()) - 1; l >= 0 && !found; --l) {
        for (std::size_t i = 0; i < layers[l].size(); ++i) {
            if (layers[l][i]->HitTest(mouseX, mouseY)) {
                found = layers[l][i].get();
                foundLayer = l;
                foundIndex = static_cast<int>(i);
                break;
            }
        }
    }
    if (hoveredStone && hoveredStone != found) {
        hoveredStone->hovered = false;
    }
    const bool changed = found != hoveredStone;
    hoveredStone = found;
    hoveredLayer = foundLayer;
    hoveredIndex = foundIndex;
    return changed;
}

void PlayField::MouseDown(int mouseX, int mouseY, int button)
{
    if (mode == GameMode::Editor) {
        EditorMouseDown(mouseX, mouseY, button);
        return;
    }
    if (!hoveredStone || hoveredStone->IsMoving() || !line.Last()) {
        return;
    }
    if (mode == GameMode::OneSide) {
        DominoFish& stone = *hoveredStone;
        int layer = 0;
        int index = 0;
        if (!FitsRightEndOneSide(stone) || !FindInLayers(&stone, layer, index)) {
            return;
        }
        const int originX = stone.x;
        const int originY = stone.y;
        const int pictureA = stone.pictureA;
        const int pictureB = stone.pictureB;
        const bool wasJoker = stone.joker;
        std::unique_ptr<DominoFish> taken =
            TakeStone(layers[layer], static_cast<std::size_t>(index));
        SendToLineOneSide(std::move(taken), button);
        RecordMove(stone, originX, originY, layer, index, pictureA, pictureB, wasJoker);
    } else if (mode == GameMode::TwoSide) {
        if (button == Zorva::kClickLeft) {
            dragOriginX = hoveredStone->x;
            dragOriginY = hoveredStone->y;
            PickUp(*hoveredStone, mouseX, mouseY);
            host.RebuildBackgroundCache();
        } else if (button == Zorva::kClickRight) {
            TurnTowardsJokerEnd(*hoveredStone);
        }
    }
}

bool PlayField::MouseDrag(int mouseX, int mouseY)
{
    if (mode == GameMode::Editor) {
        return EditorMouseDrag(mouseX, mouseY);
    }
    if (mode != GameMode::TwoSide || !hoveredStone || !hoveredStone->dragging) {
        return false;
    }
    DragStone(*hoveredStone, mouseX, mouseY);
    return true;
}

void PlayField::MouseUp(int mouseX, int mouseY, int button)
{
    if (mode == GameMode::Editor) {
        EditorMouseUp(button);
        return;
    }
    if (mode != GameMode::TwoSide || button != Zorva::kClickLeft || !hoveredStone ||
        !hoveredStone->dragging) {
        return;
    }
    DominoFish& stone = *hoveredStone;
    line.dropSide = 0;
    const int side = PlacementSide(stone);
    int layer = 0;
    int index = 0;
    if (side == 0 || !FindInLayers(&stone, layer, index)) {
        ReturnToOrigin(stone, mouseX, mouseY, dragOriginX, dragOriginY);
        return;
    }
    const int pictureA = stone.pictureA;
    const int pictureB = stone.pictureB;
    const bool wasJoker = stone.joker;
    PlaceAtEnd(TakeStone(layers[layer], static_cast<std::size_t>(index)), side);
    // The undo record keeps where the stone was picked up, not where it was dropped.
    RecordMove(stone, dragOriginX, dragOriginY, layer, index, pictureA, pictureB, wasJoker);
    CountMoves();
    deck.CountDeckSideMoves();
    CheckEndOfLevel();
    idleTicks = 0;
}

int PlayField::OneSideEndPicture() const
{
    const DominoFish& last = *line.Last();
    int lying = last.orientation;
    // A stone still turning is read as it will lie: its other half becomes the end.
    if (last.rotationState != 0) {
        if (lying == DominoFish::kLyingALeft) {
            lying = DominoFish::kLyingBLeft;
        } else if (lying == DominoFish::kLyingBLeft) {
            lying = DominoFish::kLyingALeft;
        }
    }
    return lying == DominoFish::kLyingALeft ? last.pictureB : last.pictureA;
}

bool PlayField::FitsRightEndOneSide(const DominoFish& stone) const
{
    const DominoFish& last = *line.Last();
    return stone.HasPicture(OneSideEndPicture()) || stone.joker || last.joker;
}

void PlayField::SendToLineOneSide(std::unique_ptr<DominoFish> stone, int button)
{
    DominoFish& played = *stone;
    const DominoFish& last = *line.Last();
    const int end = OneSideEndPicture();
    const bool turnToMatch = end != played.LeftValue() && end == played.RightValue() && !last.joker;
    if (turnToMatch || (button == Zorva::kClickRight && last.joker)) {
        played.StartTurn(false, 0.2f);
    }
    const int oldLayer = played.layer;
    played.faceUp = true;
    played.hovered = false;
    played.SetOrientation(played.orientation);
    played.overlapPartner = -1;
    played.splitDrawing = false;
    line.Append(std::move(stone));
    played.StartMove(520 - DominoFish::kLayerStep * oldLayer,
                     PlayLine::kCentreY + DominoFish::kLayerStep * oldLayer, 30);
    played.commitOnArrival = true;
    line.stonePlaced = true;
    rebuildBackground = true;
}

void PlayField::RecordMove(DominoFish& stone, int originX, int originY, int originLayer,
                           int originIndex, int pictureA, int pictureB, bool wasJoker)
{
    if (wasJoker) {
        int x = 490;
        if (mode == GameMode::TwoSide && line.First() == &stone) {
            x = 310;
        }
        ShowJokerExplanation(x, 550);
    } else {
        for (const int value : {pictureA, pictureB}) {
            if (value >= 0 && value < kPictureCount) {
                --pictureCounters[value];
            }
        }
    }
    if (mode == GameMode::OneSide) {
        comboMeter.Add(3);
    }
    --stoneCount;
    undo = UndoRecord{UndoRecord::kField, 0, originX, originY, originLayer, originIndex, &stone};
    stone.layer = 0;
    PlayKey(stone);
    hoveredStone = nullptr;
    hoveredLayer = -1;
    hoveredIndex = -1;
    ApplyFreeRule();
    idleTicks = 0;
}

void PlayField::PickUp(DominoFish& stone, int mouseX, int mouseY)
{
    stone.dragX = mouseX;
    stone.dragY = mouseY;
    stone.drawLeft = mouseX - stone.width / 2;
    stone.drawTop = mouseY - stone.height / 2;
    stone.dragging = true;
    stone.settled = false;
}

void PlayField::DragStone(DominoFish& stone, int mouseX, int mouseY)
{
    stone.dragX = mouseX;
    stone.dragY = mouseY;
    stone.drawLeft = mouseX - stone.width / 2;
    stone.drawTop = mouseY - stone.height / 2;
    if (!line.First()) {
        return;
    }
    const DominoFish& first = *line.First();
    const DominoFish& last = *line.Last();
    line.dropSide = 0;
    const double toLeft = Distance(mouseX, mouseY, first.x - 80, first.y);
    const double toRight = Distance(mouseX, mouseY, last.x + 80, last.y);
    if (std::min(toLeft, toRight) <= kSnapDistance) {
        const int side = toRight > toLeft ? -1 : 1;
        const DominoFish& end = side < 0 ? first : last;
        const int endValue = side < 0 ? line.LeftEndValue() : line.RightEndValue();
        if (stone.HasPicture(endValue) || stone.joker || end.joker) {
            stone.drawLeft = end.drawLeft + 80 * side;
            stone.drawTop = end.drawTop;
            line.dropSide = side;
        }
    }
    if (stone.rotationState == 0) {
        if (mouseX >= 400) {
            const int right = line.RightEndValue();
            if (right != stone.LeftValue() && right == stone.RightValue()) {
                stone.StartTurn(true, 0.1f);
            }
        } else {
            const int left = line.LeftEndValue();
            if (left != stone.RightValue() && left == stone.LeftValue()) {
                stone.StartTurn(false, 0.1f);
            }
        }
    }
}

int PlayField::PlacementSide(const DominoFish& stone) const
{
    if (!line.First()) {
        return 0;
    }
    const DominoFish& first = *line.First();
    const DominoFish& last = *line.Last();
    const double toLeft = Distance(stone.dragX, stone.dragY, first.x - 80, first.y);
    const double toRight = Distance(stone.dragX, stone.dragY, last.x + 80, last.y);
    if (toLeft > kSnapDistance && toRight > kSnapDistance) {
        return 0;
    }
    const int side = toRight > toLeft ? -1 : 1;
    const DominoFish& end = side < 0 ? first : last;
    int endValue = 0;
    if (side < 0) {
        endValue = first.orientation == DominoFish::kLyingALeft ? first.pictureA : first.pictureB;
    } else {
        endValue = last.orientation == DominoFish::kLyingALeft ? last.pictureB : last.pictureA;
    }
    const bool fits = stone.HasPicture(endValue) || stone.joker || end.joker;
    return fits ? side : 0;
}

void PlayField::PlaceAtEnd(std::unique_ptr<DominoFish> stone, int side)
{
    DominoFish& placed = *stone;
    placed.faceUp = true;
    placed.hovered = false;
    placed.dragging = false;
    placed.SetOrientation(placed.orientation);
    placed.overlapPartner = -1;
    placed.splitDrawing = false;
    // On the line every stone is drawn without a layer offset, so it travels without one.
    placed.layer = 0;
    if (side < 0) {
        DominoFish& first = *line.First();
        placed.x = first.x - 80;
        placed.y = first.y;
        first.StartMove(first.x + 80, first.y, kLineMoveTicks, ClipRect{320, 540, 80, 60});
        line.Prepend(std::move(stone));
        placed.StartMove(PlayLine::kFirstX, PlayLine::kCentreY, kLineMoveTicks);
    } else {
        DominoFish& last = *line.Last();
        placed.x = last.x + 80;
        placed.y = last.y;
        last.StartMove(last.x - 80, last.y, kLineMoveTicks, ClipRect{400, 540, 90, 60});
        line.Append(std::move(stone));
        placed.StartMove(PlayLine::kLastX, PlayLine::kCentreY, kLineMoveTicks);
    }
    line.stonePlaced = true;
    CollectBonus(placed);
    comboMeter.Add(5);
}

void PlayField::ReturnToOrigin(DominoFish& stone, int mouseX, int mouseY, int originX, int originY)
{
    stone.dragging = false;
    stone.x = mouseX;
    stone.y = mouseY;
    const int ticks = Distance(mouseX, mouseY, originX, originY) > kSnapDistance ? 30 : 1;
    stone.StartMove(originX, originY, ticks);
    stone.returnOnArrival = true;
}

void PlayField::TurnTowardsJokerEnd(DominoFish& stone)
{
    if (!line.First()) {
        return;
    }
    const DominoFish& first = *line.First();
    const DominoFish& last = *line.Last();
    const double toFirst = Distance(stone.x, stone.y, first.x - 5, first.y);
    const double toLast = Distance(stone.x, stone.y, last.x + 5, last.y);
    const DominoFish& nearer = toLast < toFirst ? last : first;
    if (nearer.joker) {
        stone.StartTurn(false, 0.1f);
    }
}

void PlayField::OnStoneArrived(DominoFish& stone)
{
    stone.x = 520;
    stone.y = PlayLine::kCentreY;
    stone.StartMove(PlayLine::kLastX, PlayLine::kCentreY, 30);
    const int index = line.IndexOf(&stone);
    if (index > 0) {
        line.At(index - 1)->StartMove(400, PlayLine::kCentreY, 15);
    }
    CollectBonus(stone);
    CountMoves();
    CheckEndOfLevel();
    Player* player = CurrentPlayer();
    if (movesAvailable == 0 && player && !player->deckHintShown) {
        host.ShowHint(110, 540, kDeckHint);
        player->deckHintShown = true;
    }
}

void PlayField::OnStoneTurned()
{
    CountMoves();
    deck.CountDeckSideMoves();
    if (line.Count() > 0 && line.First()->rotationState == 0 && line.Last()->rotationState == 0 &&
        !loading) {
        CheckEndOfLevel();
    }
}

void PlayField::ShowJokerExplanation(int x, int y)
{
    Player* player = CurrentPlayer();
    if (player && !player->jokerHintShown) {
        host.ShowHint(x, y, kJokerExplanation);
        player->jokerHintShown = true;
    }
}
