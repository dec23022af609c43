// The level editor on the play field: the grid cursor, placing, moving and deleting stones,
// layers, shifts, and locks and keys typed onto the hovered stone.

#include "game/PlayField.h"

#include "game/LevelFile.h"
#include "game/PlayFieldHost.h"

#include <algorithm>

namespace {

constexpr int kGridWidth = 20;
constexpr int kGridHeight = 25;
constexpr int kEditorStyles = 4;

/// The stone's hit box, whether its face shows or not: a covered stone can still be edited.
bool UnderPointer(const DominoFish& stone, int px, int py)
{
    return stone.drawLeft + 7 < px && px < stone.drawLeft + stone.width + 7 &&
           stone.drawTop - 7 < py && py < stone.drawTop + stone.height - 7;
}

} // namespace

void PlayField::EnterEditor()
{
    ClearStonePointers();
    editorDragging = false;
    if (layers.empty()) {
        layers.emplace_back();
    }
    editorLayer = std::clamp(editorLayer, 0, static_cast<int>(layers.size()) - 1);
    for (StoneList& layer : layers) {
        for (auto& stone : layer) {
            // Fly-ins, returns and flips end at once: the editor works on resting stones.
            if (stone->IsMoving()) {
                stone->x = stone->targetX;
                stone->y = stone->targetY;
                stone->moveTicksLeft = 0;
            }
            stone->settleBumpOnArrival = false;
            stone->returnOnArrival = false;
            stone->dragging = false;
            stone->bumpActive = false;
            stone->bumpOffset = 0;
            stone->flipActive = false;
            stone->clipActive = false;
            stone->hovered = false;
            stone->visible = true;
            stone->alpha = 255;
            stone->faceUp = true;
            stone->UpdateDrawPosition();
        }
    }
    floatingLabels.clear();
    host.HideHint();
    UpdateOverlapMarks();
    host.SetUndoEnabled(false);
    host.RebuildBackgroundCache();
}

void PlayField::UpdateEditorCursor(int mouseX, int mouseY)
{
    const int offset = DominoFish::kLayerStep * editorLayer;
    editorCursorX = (mouseX - offset - shiftX) / kGridWidth * kGridWidth;
    editorCursorY = (mouseY + offset - shiftY) / kGridHeight * kGridHeight;
}

bool PlayField::EditorMouseMove(int mouseX, int mouseY)
{
    const int oldCursorX = editorCursorX;
    const int oldCursorY = editorCursorY;
    UpdateEditorCursor(mouseX, mouseY);
    DominoFish* found = nullptr;
    int foundIndex = -1;
    if (editorLayer >= 0 && editorLayer < static_cast<int>(layers.size())) {
        const StoneList& layer = layers[editorLayer];
        // The stone drawn last lies on top, so it is the one under the pointer.
        for (std::size_t i = layer.size(); i-- > 0;) {
            if (UnderPointer(*layer[i], mouseX, mouseY)) {
                found = layer[i].get();
                foundIndex = static_cast<int>(i);
                break;
            }
        }
    }
    if (hoveredStone && hoveredStone != found) {
        hoveredStone->hovered = false;
    }
    if (found) {
        found->hovered = true;
    }
    const bool changed =
        found != hoveredStone || oldCursorX != editorCursorX || oldCursorY != editorCursorY;
    hoveredStone = found;
    hoveredLayer = found ? editorLayer : -1;
    hoveredIndex = foundIndex;
    return changed;
}

void PlayField::EditorMouseDown(int mouseX, int mouseY, int button)
{
    EditorMouseMove(mouseX, mouseY);
    if (button == Zorva::kClickRight) {
        editorSelection = hoveredStone;
        editorSelectionLayer = hoveredLayer;
        editorSelectionIndex = hoveredIndex;
        editorDragging = editorSelection != nullptr;
        // The carried stone leaves no border behind.
        host.RebuildBackgroundCache();
    } else if (button == Zorva::kClickLeft) {
        if (hoveredStone) {
            EditorDeleteStone(*hoveredStone);
        } else {
            EditorAddStone();
        }
    }
}

bool PlayField::EditorMouseDrag(int mouseX, int mouseY)
{
    if (!editorDragging || !editorSelection) {
        return false;
    }
    UpdateEditorCursor(mouseX, mouseY);
    editorSelection->x = shiftX + editorCursorX;
    editorSelection->y = shiftY + editorCursorY;
    editorSelection->targetX = editorSelection->x;
    editorSelection->targetY = editorSelection->y;
    editorSelection->UpdateDrawPosition();
    return true;
}

void PlayField::EditorMouseUp(int button)
{
    if (button != Zorva::kClickRight || !editorDragging) {
        return;
    }
    editorDragging = false;
    int layer = 0;
    int index = 0;
    if (!editorSelection || !FindInLayers(editorSelection, layer, index)) {
        return;
    }
    std::unique_ptr<DominoFish> moved = TakeStone(layers[layer], static_cast<std::size_t>(index));
    editorSelectionIndex = InsertInDrawingOrder(std::move(moved), layer);
    editorSelectionLayer = layer;
    if (hoveredStone) {
        FindInLayers(hoveredStone, hoveredLayer, hoveredIndex);
    }
    UpdateOverlapMarks();
    host.RebuildBackgroundCache();
}

int PlayField::InsertInDrawingOrder(std::unique_ptr<DominoFish> stone, int layer)
{
    StoneList& list = layers[layer];
    const auto place = std::find_if(list.begin(), list.end(), [&stone](const auto& other) {
        return other->y > stone->y || (other->y == stone->y && other->x < stone->x);
    });
    const auto index = static_cast<int>(place - list.begin());
    list.insert(place, std::move(stone));
    return index;
}

DominoFish* PlayField::EditorAddStone()
{
    // More would make a level the game refuses to read.
    if (StoneCountInLayers() >= LevelFile::kMaxStones) {
        return nullptr;
    }
    while (static_cast<int>(layers.size()) <= editorLayer) {
        layers.emplace_back();
    }
    auto stone = std::make_unique<DominoFish>(this, shiftX + editorCursorX, shiftY + editorCursorY,
                                              DominoFish::kLyingALeft, editorLayer, editorStyle);
    stone->pictureA = RandomPicture();
    stone->pictureB = RandomPicture();
    stone->faceUp = true;
    DominoFish& added = *stone;
    InsertInDrawingOrder(std::move(stone), editorLayer);
    ++stoneCount;
    RefreshAfterLayoutChange();
    return &added;
}

void PlayField::RefreshAfterLayoutChange()
{
    // A stone added or taken moves the indices of the stones after it.
    if (hoveredStone) {
        FindInLayers(hoveredStone, hoveredLayer, hoveredIndex);
    }
    if (editorSelection) {
        FindInLayers(editorSelection, editorSelectionLayer, editorSelectionIndex);
    }
    UpdateOverlapMarks();
    host.RebuildBackgroundCache();
}

void PlayField::ForgetStone(const DominoFish* stone)
{
    if (hoveredStone == stone) {
        hoveredStone = nullptr;
        hoveredLayer = -1;
        hoveredIndex = -1;
    }
    if (editorSelection == stone) {
        editorSelection = nullptr;
        editorSelectionLayer = -1;
        editorSelectionIndex = -1;
        editorDragging = false;
    }
    if (undo.stone == stone) {
        undo = UndoRecord{};
    }
}

void PlayField::EditorDeleteStone(DominoFish& stone)
{
    int layer = 0;
    int index = 0;
    if (!FindInLayers(&stone, layer, index)) {
        return;
    }
    ForgetStone(&stone);
    TakeStone(layers[layer], static_cast<std::size_t>(index));
    --stoneCount;
    RefreshAfterLayoutChange();
}

void PlayField::EditorShift(int dx, int dy)
{
    shiftX += dx;
    shiftY += dy;
    for (StoneList& layer : layers) {
        for (auto& stone : layer) {
            stone->x += dx;
            stone->y += dy;
            stone->targetX = stone->x;
            stone->targetY = stone->y;
            stone->UpdateDrawPosition();
        }
    }
    host.RebuildBackgroundCache();
}

bool PlayField::EditorKeyDown(int key)
{
    switch (key) {
    case Zorva::kVirtualKeyTab:
        editorGridVisible = !editorGridVisible;
        return true;
    case Zorva::kVirtualKeyPageUp:
        // The top layer stays within what a level file may hold.
        if (editorLayer + 1 >= LevelFile::kMaxLayers) {
            return true;
        }
        ++editorLayer;
        if (editorLayer >= static_cast<int>(layers.size())) {
            layers.emplace_back();
        }
        break;
    case Zorva::kVirtualKeyPageDown:
        editorLayer = std::max(editorLayer - 1, 0);
        break;
    case Zorva::kVirtualKeyInsert:
        EditorAddStone();
        return true;
    case Zorva::kVirtualKeyDelete:
        if (editorSelection) {
            EditorDeleteStone(*editorSelection);
        }
        return true;
    case Zorva::kVirtualKeyNumpad0 + 6:
        EditorShift(1, 0);
        return true;
    case Zorva::kVirtualKeyNumpad0 + 4:
        EditorShift(-1, 0);
        return true;
    case Zorva::kVirtualKeyNumpad0 + 2:
        EditorShift(0, 1);
        return true;
    case Zorva::kVirtualKeyNumpad0 + 8:
        EditorShift(0, -1);
        return true;
    case Zorva::kVirtualKeyNumpad0 + 5:
        EditorShift(-shiftX, -shiftY);
        return true;
    case Zorva::kVirtualKeyF8:
        ApplyFreeRule();
        return true;
    default:
        return false;
    }
    // A layer change: only stones of the current layer may stay hovered.
    if (hoveredStone) {
        hoveredStone->hovered = false;
    }
    hoveredStone = nullptr;
    hoveredLayer = -1;
    hoveredIndex = -1;
    host.RebuildBackgroundCache();
    return true;
}

// A level file gives a stone one mark, a lock or a key: the new one replaces the other, so
// the layout saved is the layout shown.
void PlayField::ToggleLock(DominoFish& stone, int number)
{
    if (stone.lockNumber < 0) {
        stone.lockNumber = number;
        stone.keyNumber = -1;
    } else {
        stone.lockNumber = -1;
    }
}

void PlayField::ToggleKey(DominoFish& stone, int number)
{
    if (stone.keyNumber < 0) {
        stone.keyNumber = number;
        stone.lockNumber = -1;
    } else {
        stone.keyNumber = -1;
    }
}

void PlayField::EditorKeyChar(char character)
{
    if (!hoveredStone) {
        return;
    }
    switch (character) {
    case 'q':
    case 'w':
    case 'e':
        ToggleLock(*hoveredStone, character == 'q' ? 0 : character == 'w' ? 1 : 2);
        break;
    case 'a':
    case 's':
    case 'd':
        ToggleKey(*hoveredStone, character == 'a' ? 0 : character == 's' ? 1 : 2);
        break;
    case '1':
    case '2':
    case '3':
    case '4':
        editorStyle = (character - '1') % kEditorStyles;
        break;
    default:
        break;
    }
}
