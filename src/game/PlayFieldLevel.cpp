// The play field's level files and the start of a level.

#include "game/PlayField.h"

#include "game/LevelFile.h"
#include "game/PlayFieldHost.h"
#include "game/PlayLine.h"
#include "game/Player.h"
#include "game/ResourceHandles.h"
#include "game/StoneDeck.h"
#include "system/MTRand.h"

#include <algorithm>

namespace {

constexpr int kDefaultStyles = 4;
constexpr int kFlyInTicks = 100;
constexpr int kFadeSteps = 140;
constexpr int kFadeStep = 3;

const char* const kOneSideTip =
    "Find the stone with the same picture on playing field and click on it.";
const char* const kTwoSideTip =
    "DRAG the proper stone to the left or right stone. It will rotate automaticly. ";

} // namespace

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

void PlayField::Clear()
{
    ClearLayers();
    won = false;
    failed = false;
    resultsGiven = false;
    lockOpened = {};
    pictureCounters = {};
    floatingLabels.clear();
    movesAvailable = 0;
    freeCount = 0;
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
    RestartBonusClock();
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
        if (value == DominoFish::kJokerValue) {
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
