#pragma once

#include "game/FloatingLabel.h"
#include "game/GameMode.h"
#include "game/StoneList.h"
#include "game/UndoRecord.h"
#include "widgets/InputCodes.h"

#include <array>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class ComboMeter;
class PlayFieldHost;
class PlayLine;
class StoneDeck;
struct LevelData;
struct Player;

/// The play field: the layers of stones, the free rule, the level files, the move rules of
/// both modes, reshuffle, undo, hint, bonuses and the end of a level. It runs and is tested
/// without any window, image or sound device: everything outside goes through the host.
class PlayField
{
public:
    static constexpr int kBonusInterval = 500;
    /// Draw offsets of the lock and key overlays, by number.
    static constexpr std::array<std::pair<int, int>, 3> kLockOffsets{
        {{-3, -6}, {9, -38}, {15, -3}}};
    static constexpr std::array<std::pair<int, int>, 3> kStoneKeyOffsets{
        {{6, 9}, {0, -55}, {18, -35}}};

    /// The field works with the board's play line, deck and combo meter; none of them may be
    /// used before the field is built, and all must outlive it.
    PlayField(PlayFieldHost& fieldHost, PlayLine& playLine, StoneDeck& stoneDeck,
              ComboMeter& meter);
    PlayField(const PlayField&) = delete;
    PlayField& operator=(const PlayField&) = delete;

    /// Puts a level that was read with LevelFile into the field: style (-1 picks one at random,
    /// the only random draw), pictures, offsets, background, music when `playMusic`, cards in
    /// deck and the stones of every layer.
    void LoadLevel(const LevelData& level, int style, bool playMusic);
    /// Writes the layout as a level file; false with `error` when a stone does not fit the
    /// grid (the old file is then untouched).
    bool WriteLevel(const std::string& path, std::string* error) const;
    /// Empties the field for a saved game: no layers, no stones pointed at, no pending win or
    /// failure, every lock closed, the picture counters and labels cleared.
    void Clear();
    /// Loads a level read from `path` with a random style and deals it: pictures, fly-in, play
    /// line, fade-in, tips. `stoneLimit` is the limit the level was read with; -1 (every
    /// stone) is a fresh start with its sound and first-level tip.
    void StartLevel(const LevelData& level, const std::string& path, int stoneLimit = -1);

    /// One tick of the field: stones, idle hint, bonuses, background and flip requests,
    /// labels and the level results once the board is at rest.
    void Update();

    // Pointer input, `button` the click code kClickLeft or kClickRight. MouseMove and MouseDrag
    // return whether something changed on screen.
    bool MouseMove(int mouseX, int mouseY);
    void MouseDown(int mouseX, int mouseY, int button);
    bool MouseDrag(int mouseX, int mouseY);
    void MouseUp(int mouseX, int mouseY, int button);

    /// Whether an upper stone centred at (upperX, upperY) covers a lower one: one of its seven
    /// test points lies within the lower stone's box of 40 by 25 around its centre.
    static bool Covers(int upperX, int upperY, int lowerX, int lowerY);
    /// Re-evaluates which stones are free, starts flips and recomputes the overlap marks.
    void ApplyFreeRule();
    void UpdateOverlapMarks();
    /// Counts (and marks) the face-up stones that fit an end now.
    int CountMoves();
    void CheckEndOfLevel();

    bool Reshuffle();
    /// The two play-line ends glide to their places left and right of the middle.
    void MoveLineEndsApart();
    /// The next bonus is at the earliest one full interval away; for a level start, a
    /// reshuffle and a loaded game.
    void RestartBonusClock() { bonusTickCounter = 0; }
    bool Undo();
    void Hint();

    int RandomPicture();
    /// A picture biased towards those the face-up stones show.
    int WeightedRandomPicture();
    bool HasTwoDistinctPictures() const;

    // Moves shared with the stone deck.
    /// One-Side steps for a stone that fits the right end: turn if needed, join the line.
    void SendToLineOneSide(std::unique_ptr<DominoFish> stone, int button);
    void PickUp(DominoFish& stone, int mouseX, int mouseY);
    void DragStone(DominoFish& stone, int mouseX, int mouseY);
    /// The end a held stone would join (-1 left, 1 right), or 0 when the drop fails.
    int PlacementSide(const DominoFish& stone) const;
    void PlaceAtEnd(std::unique_ptr<DominoFish> stone, int side);
    void ReturnToOrigin(DominoFish& stone, int mouseX, int mouseY, int originX, int originY);
    void TurnTowardsJokerEnd(DominoFish& stone);

    /// A deck or pile stone joined the line: it becomes the move Undo takes back (`pile` -1 for
    /// the deck), the field's moves are counted and the idle hint starts waiting again.
    void CommitDeckMove(DominoFish& stone, int originX, int originY, int pile);
    /// Runs the application until its next update, for the deck's own animations; false when
    /// it cannot.
    bool RunUntilUpdate();

    // Called by stones.
    void OnStoneArrived(DominoFish& stone);
    void OnStoneTurned();
    int UpdateCount() const;

    int StoneCountInLayers() const;
    DominoFish* StoneAt(int layer, int index) const;
    void RefreshReshuffleButton();
    /// Gives the stone a new bonus of a random kind and lifetime with its sparkles.
    void PutBonus(DominoFish& stone);
    /// The last stone of the highest layer that holds any; null on an empty field.
    DominoFish* LastStoneOfHighestLayer() const;
    /// Shows the joker explanation once per player.
    void ShowJokerExplanation(int x, int y);
    Player* CurrentPlayer() const;
    /// The board is at rest: no play-line, deck or pile stone moves or flips.
    bool BoardAtRest() const;
    /// The statistics log line for the end of the level.
    std::string StatisticsLine(bool won) const;

    // The level editor (mode 1). Pointer input and keys arrive here from the play field's own
    // entry points and the panel while the field is in editor mode.
    /// Every stone shows its face and rests at its place, ready to be edited.
    void EnterEditor();
    bool EditorMouseMove(int mouseX, int mouseY);
    void EditorMouseDown(int mouseX, int mouseY, int button);
    bool EditorMouseDrag(int mouseX, int mouseY);
    void EditorMouseUp(int button);
    /// The editor's keys by virtual key code; false for a key it does not use (F2, the save
    /// dialog, is the panel's).
    bool EditorKeyDown(int key);
    /// Lock, key and style characters for the hovered stone.
    void EditorKeyChar(char character);
    /// A new lying stone centred on the grid cursor in the current layer; null when the level
    /// holds as many stones as a level file may.
    DominoFish* EditorAddStone();
    /// Deletes a stone of the layers and forgets every reference to it.
    void EditorDeleteStone(DominoFish& stone);
    /// Puts a stone into a layer at its drawing-order place: before the first stone lower on
    /// the screen, or on the same row further left; at the end otherwise. Returns its index.
    int InsertInDrawingOrder(std::unique_ptr<DominoFish> stone, int layer);
    /// Moves the shift and every stone with it.
    void EditorShift(int dx, int dy);

    PlayFieldHost& host;
    PlayLine& line;
    StoneDeck& deck;
    ComboMeter& comboMeter;
    int editorCursorX = 0;
    int editorCursorY = 0;
    std::vector<StoneList> layers;
    int cardsInDeck = 12;
    DominoFish* hoveredStone = nullptr;
    int hoveredLayer = -1;
    int hoveredIndex = -1;
    int dragOriginX = 0;
    int dragOriginY = 0;
    DominoFish* editorSelection = nullptr;
    int editorSelectionLayer = -1;
    int editorSelectionIndex = -1;
    bool won = false;
    bool failed = false;
    std::string levelFile;
    std::array<int, 26> pictureCounters{};
    int stoneCount = 0;
    int freeCount = 0;
    int editorLayer = 0;
    std::vector<int> pictureList{0, 1};
    int musicTrack = 0;
    std::string backgroundName;
    int hintCursor = 0;
    int bonusTickCounter = 0;
    int bonusInterval = kBonusInterval;
    bool rebuildBackground = false;
    bool playFlipSound = false;
    int editorStyle = 0;
    bool editorGridVisible = true;
    /// The selected stone follows the pointer while the right button holds it.
    bool editorDragging = false;
    int movesAvailable = 0;
    GameMode mode = GameMode::OneSide;
    int shiftX = 0;
    int shiftY = 0;
    int idleTicks = 0;
    std::array<bool, 3> lockOpened{};
    int reshufflesLeft = 1;
    int score = 0;
    std::vector<std::unique_ptr<FloatingLabel>> floatingLabels;
    UndoRecord undo;
    int playTicks = 0;
    bool loading = false;
    /// The style the level was loaded with (also the deck's).
    int levelStyle = 0;
    /// The board's level number (level 1 starts its line from the top stone).
    int boardLevel = 1;
    /// The level's results were handed out; they are not given twice.
    bool resultsGiven = false;

private:
    using PairChain = std::vector<std::pair<int, int>>;

    /// Ticks a play-line end takes to move to its place.
    static constexpr int kLineMoveTicks = 60;

    void ChooseStyle(int style);
    void ClearLayers();
    PairChain BuildPairChain(int stoneCountForChain);
    void DealPairs(PairChain& chain, bool flyIn);
    void StartPlayLine(const PairChain& chain);
    void FadeIn();
    bool FindInLayers(const DominoFish* stone, int& layer, int& index) const;

    /// The picture a One-Side stone must show to join: the last line stone's right half as
    /// it lies once a running turn has ended. The line must not be empty.
    int OneSideEndPicture() const;
    bool FitsRightEndOneSide(const DominoFish& stone) const;
    void RecordMove(DominoFish& stone, int originX, int originY, int originLayer, int originIndex,
                    int pictureA, int pictureB, bool wasJoker);
    void PlayKey(DominoFish& stone);
    void CollectBonus(DominoFish& stone);
    void AddLabel(const Zorva::Image* image, float x, float y, float dx, float dy, int frame = -1);
    void UpdateIdleHint();
    void UpdateBonusAppearance();
    void PlaceBonus();
    void GiveLevelResults();
    void ClearStonePointers();
    /// Clears the hover, the selection and the undo record where they point at `stone`.
    void ForgetStone(const DominoFish* stone);
    /// After a stone was added to or taken from a layer: the hover and selection indices,
    /// the overlap marks and the background follow.
    void RefreshAfterLayoutChange();
    void UpdateEditorCursor(int mouseX, int mouseY);
    void ToggleLock(DominoFish& stone, int number);
    void ToggleKey(DominoFish& stone, int number);
};
