#include "game/PlayField.h"

#include "game/ComboMeter.h"
#include "game/ImageMetrics.h"
#include "game/LevelFile.h"
#include "game/PlayFieldHost.h"
#include "game/PlayLine.h"
#include "game/Player.h"
#include "game/ResourceHandles.h"
#include "game/StoneDeck.h"
#include "system/MTRand.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

constexpr int kJoker = DominoFish::kJokerValue;
constexpr int kDefaultStyles = 4;
constexpr int kFlyInTicks = 100;
constexpr int kFadeSteps = 140;
constexpr int kFadeStep = 3;
constexpr int kLineMoveTicks = 60;
constexpr int kSnapDistance = 50;
constexpr float kLabelRise = -0.2f;
constexpr int kAutoHintTicks = 599;
constexpr int kHintPause = -1000;

const char* const kJokerExplanation = "This is Joker Stone! It matches with any stone. Use right "
                                      "mouse button to rotate stone when match it to Joker.";
const char* const kDeckHint = "Use stone deck if there are no more moves.";
const char* const kOneSideTip =
    "Find the stone with the same picture on playing field and click on it.";
const char* const kTwoSideTip =
    "DRAG the proper stone to the left or right stone. It will rotate automaticly. ";

double Distance(int ax, int ay, int bx, int by)
{
    return std::hypot(static_cast<double>(ax - bx), static_cast<double>(ay - by));
}

Zorva::Image* LockImage(int number)
{
    static Zorva::Image** const kImages[] = {&IMAGE_FISH_LOCK0, &IMAGE_FISH_LOCK1,
                                             &IMAGE_FISH_LOCK2};
    return number >= 0 && number < 3 ? *kImages[number] : nullptr;
}

Zorva::Image* KeyImage(int number)
{
    static Zorva::Image** const kImages[] = {&IMAGE_KEY_ANIM, &IMAGE_PYRAMID_ANIM,
                                             &IMAGE_SPHERE_ANIM};
    return number >= 0 && number < 3 ? *kImages[number] : nullptr;
}

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
// Level files

void PlayField::ClearStonePointers()
{
    hoveredStone = nullptr;
    hoveredLayer = -1;
    hoveredIndex = -1;
    editorSelection = nullptr;
    editorSelectionLayer = -1;
    editorSelectionIndex = -1;
    undo = UndoRecord{};
}

void PlayField::ClearLayers()
{
    ClearStonePointers();
    layers.clear();
    stoneCount = 0;
}

void PlayField::ChooseStyle(int style)
{
    levelStyle =
        style >= 0 ? style % kDefaultStyles : static_cast<int>(Zorva::Rand().Next(kDefaultStyles));
    deck.style = levelStyle;
}

void PlayField::LoadLevel(const LevelData& level, int style, bool playMusic)
{
    ChooseStyle(style);
    pictureList = level.pictures.empty() ? std::vector<int>{0, 1} : level.pictures;
    shiftX = level.shiftX;
    shiftY = level.shiftY;
    if (!level.background.empty()) {
        backgroundName = level.background;
        host.ChangeBackground("images/" + backgroundName);
    }
    if (!level.music.empty() && playMusic) {
        musicTrack = LevelFile::ParseInt(level.music);
        host.FadeToSong(musicTrack);
    }
    if (!level.cardsInDeck.empty()) {
        cardsInDeck = std::clamp(LevelFile::ParseInt(level.cardsInDeck), 0, StoneDeck::kMaxStones);
    }

    ClearLayers();
    for (std::size_t l = 0; l < level.layers.size(); ++l) {
        StoneList& layer = layers.emplace_back();
        for (const LevelStone& source : level.layers[l]) {
            auto stone = std::make_unique<DominoFish>(this, source.x, source.y, source.orientation,
                                                      static_cast<int>(l), levelStyle);
            stone->lockNumber = source.lockNumber;
            stone->keyNumber = source.keyNumber;
            if (source.joker) {
                stone->MakeJoker();
            }
            layer.push_back(std::move(stone));
        }
    }
    stoneCount = StoneCountInLayers();
    host.RebuildBackgroundCache();
}

bool PlayField::WriteLevel(const std::string& path, std::string* error) const
{
    LevelData level;
    level.pictures = pictureList;
    level.shiftX = shiftX;
    level.shiftY = shiftY;
    level.background = backgroundName;
    level.music = std::to_string(musicTrack);
    level.cardsInDeck = std::to_string(cardsInDeck);
    for (const StoneList& layer : layers) {
        auto& stones = level.layers.emplace_back();
        for (const auto& stone : layer) {
            stones.push_back(LevelStone{stone->x, stone->y, stone->orientation, stone->joker,
                                        stone->lockNumber, stone->keyNumber});
        }
    }
    return LevelFile::WriteFile(path, level, error);
}

// ---------------------------------------------------------------------------------------------
// Level start

void PlayField::StartLevel(const LevelData& level, const std::string& path, int stoneLimit)
{
    movesAvailable = 1;
    loading = true;
    levelFile = path;
    LoadLevel(level, -1, true);
    won = false;
    failed = false;
    resultsGiven = false;
    ClearStonePointers();
    lockOpened = {};
    pictureCounters = {};
    floatingLabels.clear();

    PairChain chain = BuildPairChain(stoneCount);
    UpdateOverlapMarks();
    const bool freshStart = stoneLimit < 0;
    if (freshStart) {
        host.PlaySound(SOUND_LEVEL_START);
    }
    DealPairs(chain, true);
    StartPlayLine(chain);
    FadeIn();

    idleTicks = 0;
    ApplyFreeRule();
    CountMoves();
    RefreshReshuffleButton();
    host.SetUndoEnabled(false);
    MoveLineEndsApart();

    if (freshStart) {
        const Player* player = CurrentPlayer();
        const bool oneSide = mode == GameMode::OneSide;
        if (player && (oneSide ? player->oneSideLevel : player->twoSideLevel) == 1) {
            host.ShowHint(490, 550, oneSide ? kOneSideTip : kTwoSideTip);
        }
    }
    playTicks = 0;
    loading = false;
}

PlayField::PairChain PlayField::BuildPairChain(int stoneCountForChain)
{
    PairChain chain;
    int previous = RandomPicture();
    for (int i = 0; i <= stoneCountForChain; ++i) {
        const int next = RandomPicture();
        chain.emplace_back(previous, next);
        previous = next;
    }
    return chain;
}

void PlayField::DealPairs(PairChain& chain, bool flyIn)
{
    for (std::size_t k = 0; k < layers.size(); ++k) {
        const int sign = k % 2 == 0 ? 1 : -1;
        const int distance = 21 * static_cast<int>(k + 1);
        for (auto& stone : layers[k]) {
            if (chain.empty()) {
                break;
            }
            const std::size_t pick = Zorva::Rand().Next(static_cast<uint32_t>(chain.size()));
            const auto [first, second] = chain[pick];
            chain.erase(chain.begin() + static_cast<std::ptrdiff_t>(pick));
            // A joker keeps its 100s and touches no picture counter.
            if (!stone->joker) {
                stone->pictureA = first;
                stone->pictureB = second;
                ++pictureCounters[first];
                ++pictureCounters[second];
            }
            if (flyIn) {
                const int homeX = stone->x;
                const int homeY = stone->y;
                stone->visible = true;
                stone->alpha = 0;
                stone->x = homeX + sign * distance;
                stone->y = homeY - distance;
                stone->StartMove(homeX, homeY, kFlyInTicks);
            }
        }
    }
}

DominoFish* PlayField::LastStoneOfHighestLayer() const
{
    for (auto layer = layers.rbegin(); layer != layers.rend(); ++layer) {
        if (!layer->empty()) {
            return layer->back().get();
        }
    }
    return nullptr;
}

void PlayField::StartPlayLine(const PairChain& chain)
{
    int leftValue = 0;
    int rightValue = 0;
    const DominoFish* top = LastStoneOfHighestLayer();
    if (boardLevel == 1 && top) {
        leftValue = top->pictureB;
        rightValue = top->pictureA;
    } else if (!chain.empty()) {
        leftValue = chain.front().first;
        rightValue = chain.front().second;
    } else {
        leftValue = rightValue = RandomPicture();
    }
    if (mode == GameMode::OneSide) {
        leftValue = rightValue;
    }
    line.Reset();
    for (const int value : {leftValue, rightValue}) {
        auto stone = std::make_unique<DominoFish>(this, PlayLine::kStartX, PlayLine::kCentreY,
                                                  DominoFish::kLyingALeft, 0, levelStyle);
        stone->faceUp = true;
        stone->pictureA = value;
        stone->pictureB = value;
        if (value == kJoker) {
            stone->MakeJoker();
        }
        line.Append(std::move(stone));
    }
}

void PlayField::FadeIn()
{
    for (int step = 0; step < kFadeSteps; ++step) {
        if (!host.RunUntilUpdate()) {
            break;
        }
        for (StoneList& layer : layers) {
            for (auto& stone : layer) {
                stone->alpha = std::min(stone->alpha + kFadeStep, 255);
            }
        }
    }
    // The fade is only a look: stopped early, the stones must not stay transparent.
    for (StoneList& layer : layers) {
        for (auto& stone : layer) {
            stone->alpha = 255;
        }
    }
}

void PlayField::MoveLineEndsApart()
{
    if (line.Count() == 0) {
        return;
    }
    line.First()->StartMove(PlayLine::kFirstX, PlayLine::kCentreY, kLineMoveTicks);
    line.Last()->StartMove(PlayLine::kLastX, PlayLine::kCentreY, kLineMoveTicks);
}

void PlayField::RefreshReshuffleButton()
{
    if (reshufflesLeft > 0) {
        host.SetReshuffleButton("Reshuffle " + std::to_string(reshufflesLeft), true);
    } else {
        host.SetReshuffleButton("Reshuffle 0", false);
    }
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
                stone->faceUp && (left == kJoker || right == kJoker || stone->joker ||
                                  stone->HasPicture(right) || (twoSide && stone->HasPicture(left)));
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
// Pointer input

bool PlayField::MouseMove(int mouseX, int mouseY)
{
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
        if (button == kLeftButton) {
            dragOriginX = hoveredStone->x;
            dragOriginY = hoveredStone->y;
            PickUp(*hoveredStone, mouseX, mouseY);
            host.RebuildBackgroundCache();
        } else if (button == kRightButton) {
            TurnTowardsJokerEnd(*hoveredStone);
        }
    }
}

bool PlayField::MouseDrag(int mouseX, int mouseY)
{
    if (mode != GameMode::TwoSide || !hoveredStone || !hoveredStone->dragging) {
        return false;
    }
    DragStone(*hoveredStone, mouseX, mouseY);
    return true;
}

void PlayField::MouseUp(int mouseX, int mouseY, int button)
{
    if (mode != GameMode::TwoSide || button != kLeftButton || !hoveredStone ||
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

bool PlayField::FitsRightEndOneSide(const DominoFish& stone) const
{
    const DominoFish& last = *line.Last();
    const int end = last.orientation == DominoFish::kLyingALeft ? last.pictureB : last.pictureA;
    return stone.HasPicture(end) || stone.joker || last.joker;
}

void PlayField::SendToLineOneSide(std::unique_ptr<DominoFish> stone, int button)
{
    DominoFish& played = *stone;
    const DominoFish& last = *line.Last();
    const int end = last.orientation == DominoFish::kLyingALeft ? last.pictureB : last.pictureA;
    const bool turnToMatch = end != played.LeftValue() && end == played.RightValue() && !last.joker;
    if (turnToMatch || (button == kRightButton && last.joker)) {
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

// ---------------------------------------------------------------------------------------------
// Keys, bonuses and labels

void PlayField::AddLabel(const Zorva::Image* image, float x, float y, float dx, float dy, int frame)
{
    floatingLabels.push_back(std::make_unique<FloatingLabel>(image, x, y, dx, dy, frame));
}

void PlayField::PlayKey(DominoFish& stone)
{
    const int key = stone.keyNumber;
    if (key < 0 || key > 2) {
        return;
    }
    lockOpened[key] = true;
    const Zorva::Image* keyImage = KeyImage(key);
    const int frameWidth = MetricsOf(keyImage).cellWidth;
    AddLabel(keyImage, static_cast<float>(stone.drawLeft - frameWidth / 2 + 47),
             static_cast<float>(stone.drawTop - stone.height / 2 + 25), 0, kLabelRise, 0);
    for (const StoneList& layer : layers) {
        for (const auto& locked : layer) {
            if (locked->lockNumber == key) {
                AddLabel(
                    LockImage(key), static_cast<float>(locked->drawLeft + kLockOffsets[key].first),
                    static_cast<float>(locked->drawTop + kLockOffsets[key].second), 0, kLabelRise);
            }
        }
    }
    host.PlaySound(SOUND_USE_KEY);
}

void PlayField::CollectBonus(DominoFish& stone)
{
    if (stone.bonusKind == 0) {
        return;
    }
    host.PlaySound(SOUND_BONUS);
    const bool oneSide = mode == GameMode::OneSide;
    const Zorva::Image* label = nullptr;
    auto addPoints = [this, &label](int points) {
        score += points;
        undo.points = points;
        label = points == 200 ? IM_BONUS_200 : IM_BONUS_100;
    };
    switch (stone.bonusKind) {
    case 1:
    case 3:
        if (oneSide) {
            ++deck.crops;
            deck.AddBonusStone();
            label = IM_BONUS_STONE;
        } else if (stone.bonusKind == 1) {
            ++deck.crops;
            label = IM_BONUS_CROP;
        } else if (deck.pileCount > 3) {
            addPoints(100);
        } else {
            ++deck.pileCount;
            deck.AddPile();
            label = IM_BONUS_PLACE;
        }
        break;
    case 2:
        if (reshufflesLeft > 4) {
            addPoints(200);
        } else {
            ++reshufflesLeft;
            RefreshReshuffleButton();
            label = IM_BONUS_RESHUFFLE;
        }
        break;
    case 4:
        addPoints(200);
        break;
    case 5:
        stone.MakeJoker();
        ShowJokerExplanation(490, 550);
        label = IM_BONUS_JOKER;
        break;
    default:
        addPoints(100);
        break;
    }
    AddLabel(label, static_cast<float>(stone.x - MetricsOf(label).width / 2), 530, 0, kLabelRise);
    stone.bonusKind = 0;
    stone.bonusTicksLeft = 0;
    stone.sparkles.clear();
}

void PlayField::UpdateBonusAppearance()
{
    if (++bonusTickCounter <= bonusInterval) {
        return;
    }
    bonusTickCounter = 0;
    if (Zorva::Rand().Next(100) <= 19) {
        PlaceBonus();
    }
}

void PlayField::PlaceBonus()
{
    // With no free stone there is nothing to put a bonus on.
    if (freeCount <= 0) {
        return;
    }
    const int pick = static_cast<int>(Zorva::Rand().Next(static_cast<uint32_t>(freeCount)));
    int seen = 0;
    for (auto layer = layers.rbegin(); layer != layers.rend(); ++layer) {
        for (auto stone = layer->rbegin(); stone != layer->rend(); ++stone) {
            if (!(*stone)->faceUp) {
                continue;
            }
            if (seen++ < pick) {
                continue;
            }
            DominoFish& chosen = **stone;
            host.PlaySound(SOUND_BONUS_APPEAR);
            chosen.bonusTicksLeft = static_cast<int>(Zorva::Rand().Next(10)) * 100 + 1000;
            chosen.bonusKind = static_cast<int>(Zorva::Rand().Next(6)) + 1;
            chosen.sparkles.clear();
            for (int i = 0; i < 2; ++i) {
                DominoFish::Sparkle sparkle;
                sparkle.x = static_cast<int>(Zorva::Rand().Next(50));
                sparkle.y = static_cast<int>(Zorva::Rand().Next(40));
                sparkle.frame = static_cast<int>(Zorva::Rand().Next(5));
                chosen.sparkles.push_back(sparkle);
            }
            return;
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Reshuffle, undo and hint

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
