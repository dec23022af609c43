#include "game/SavedGame.h"

#include "game/BoardModel.h"
#include "game/LevelFile.h"
#include "game/PlayFieldHost.h"
#include "game/Player.h"
#include "game/ResourceHandles.h"
#include "resources/Buffer.h"
#include "resources/FileRecordReader.h"
#include "system/Latin1Text.h"

#include <array>
#include <memory>
#include <optional>
#include <vector>

namespace SavedGame {

namespace {

constexpr int kMinCentre = -1000;
constexpr int kMaxCentre = 2000;
constexpr int kStyleCount = 4;
constexpr int kLowestMarker = -1;
constexpr int kHighestMarker = 2;
/// Ten longs and a boolean.
constexpr std::size_t kStoneRecordBytes = 10 * 4 + 1;
/// "Levels1/Level" + nine digits + ".xml" and then some; longer names are never ours.
constexpr std::size_t kMaxLevelFileLength = 64;
constexpr std::size_t kMaxLevelDigits = 9;

/// One stone as the file holds it.
struct StoneRecord
{
    int32_t lockNumber = -1;
    int32_t keyNumber = -1;
    int32_t drawLeft = 0;
    int32_t drawTop = 0;
    int32_t centreX = 0;
    int32_t centreY = 0;
    int32_t style = 0;
    int32_t pictureA = 0;
    int32_t pictureB = 0;
    int32_t layer = 0;
    bool joker = false;
};

using RecordList = std::vector<StoneRecord>;

/// Everything a save holds, read and checked before the board is touched.
struct SavedState
{
    GameMode mode = GameMode::OneSide;
    int level = 1;
    std::string levelFile;
    int32_t score = 0;
    int32_t reshufflesLeft = 0;
    int32_t editorStyle = 0;
    std::vector<RecordList> layers;
    StoneRecord firstLineStone;
    StoneRecord lastLineStone;
    int32_t crops = 0;
    int32_t pileCount = 0;
    RecordList deck;
    std::vector<RecordList> piles;
};

bool InRange(int32_t value, int32_t low, int32_t high)
{
    return value >= low && value <= high;
}

bool PicturesValid(const StoneRecord& stone)
{
    constexpr int kJoker = DominoFish::kJokerValue;
    if (stone.joker && stone.pictureA == kJoker && stone.pictureB == kJoker) {
        return true;
    }
    return InRange(stone.pictureA, 0, kPictureCount - 1) &&
           InRange(stone.pictureB, 0, kPictureCount - 1);
}

bool ReadStone(FileRecordReader& reader, int32_t expectedLayer, StoneRecord& stone)
{
    const bool read = reader.Int32(stone.lockNumber) && reader.Int32(stone.keyNumber) &&
                      reader.Int32(stone.drawLeft) && reader.Int32(stone.drawTop) &&
                      reader.Int32(stone.centreX) && reader.Int32(stone.centreY) &&
                      reader.Int32(stone.style) && reader.Int32(stone.pictureA) &&
                      reader.Int32(stone.pictureB) && reader.Int32(stone.layer) &&
                      reader.StrictBool(stone.joker);
    return read && InRange(stone.lockNumber, kLowestMarker, kHighestMarker) &&
           InRange(stone.keyNumber, kLowestMarker, kHighestMarker) &&
           InRange(stone.centreX, kMinCentre, kMaxCentre) &&
           InRange(stone.centreY, kMinCentre, kMaxCentre) &&
           InRange(stone.style, 0, kStyleCount - 1) && PicturesValid(stone) &&
           stone.layer == expectedLayer;
}

/// A count, then that many stones. `budget` is how many stones may still come; it shrinks by
/// the stones read. The count is checked against the bytes left before anything is allocated.
bool ReadStoneList(FileRecordReader& reader, int32_t expectedLayer, int& budget, RecordList& stones)
{
    int32_t count = 0;
    if (!reader.Int32(count) || count < 0 || count > budget ||
        static_cast<std::size_t>(count) > reader.Remaining() / kStoneRecordBytes) {
        return false;
    }
    budget -= count;
    stones.resize(static_cast<std::size_t>(count));
    for (StoneRecord& stone : stones) {
        if (!ReadStone(reader, expectedLayer, stone)) {
            return false;
        }
    }
    return true;
}

/// The level number of a stored level file name, when it is exactly the name the mode's set
/// uses for that number.
std::optional<int> LevelNumberOf(const std::string& file, GameMode mode)
{
    const std::string head = mode == GameMode::OneSide ? "Levels1/Level" : "Levels2/Level";
    const std::string tail = ".xml";
    if (file.size() <= head.size() + tail.size() || file.compare(0, head.size(), head) != 0 ||
        file.compare(file.size() - tail.size(), tail.size(), tail) != 0) {
        return std::nullopt;
    }
    const std::string digits = file.substr(head.size(), file.size() - head.size() - tail.size());
    if (digits.size() > kMaxLevelDigits || digits.front() == '0') {
        return std::nullopt;
    }
    int number = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        number = number * 10 + (c - '0');
    }
    return number;
}

std::optional<SavedState> Parse(const uint8_t* bytes, std::size_t size)
{
    if (size > kMaxFileBytes) {
        return std::nullopt;
    }
    FileRecordReader reader(bytes, size);
    SavedState state;
    int32_t mode = 0;
    int32_t stoneCount = 0;
    int32_t layerCount = 0;
    if (!reader.Int32(mode) || (mode != static_cast<int32_t>(GameMode::TwoSide) &&
                                mode != static_cast<int32_t>(GameMode::OneSide))) {
        return std::nullopt;
    }
    state.mode = static_cast<GameMode>(mode);
    if (!reader.String(state.levelFile) || state.levelFile.size() > kMaxLevelFileLength) {
        return std::nullopt;
    }
    const std::optional<int> level = LevelNumberOf(state.levelFile, state.mode);
    if (!level) {
        return std::nullopt;
    }
    state.level = *level;
    if (!reader.Int32(stoneCount) || !reader.Int32(state.score) ||
        !reader.Int32(state.reshufflesLeft) || state.reshufflesLeft < 0 ||
        !reader.Int32(state.editorStyle) || !InRange(state.editorStyle, 0, kStyleCount - 1) ||
        !reader.Int32(layerCount) || !InRange(layerCount, 0, LevelFile::kMaxLayers)) {
        return std::nullopt;
    }
    int fieldBudget = LevelFile::kMaxStones;
    state.layers.resize(static_cast<std::size_t>(layerCount));
    for (int32_t l = 0; l < layerCount; ++l) {
        if (!ReadStoneList(reader, l, fieldBudget, state.layers[static_cast<std::size_t>(l)])) {
            return std::nullopt;
        }
    }
    if (stoneCount != LevelFile::kMaxStones - fieldBudget) {
        return std::nullopt;
    }
    // Line, deck and pile stones are drawn without a layer offset.
    int32_t pilesStored = 0;
    if (!ReadStone(reader, 0, state.firstLineStone) || !ReadStone(reader, 0, state.lastLineStone) ||
        !reader.Int32(state.crops) || state.crops < 0 || !reader.Int32(state.pileCount) ||
        !InRange(state.pileCount, 0, StoneDeck::kMaxPiles)) {
        return std::nullopt;
    }
    int deckBudget = StoneDeck::kMaxStones;
    if (!ReadStoneList(reader, 0, deckBudget, state.deck) || !reader.Int32(pilesStored) ||
        pilesStored != state.pileCount) {
        return std::nullopt;
    }
    state.piles.resize(static_cast<std::size_t>(pilesStored));
    for (RecordList& pile : state.piles) {
        if (!ReadStoneList(reader, 0, deckBudget, pile)) {
            return std::nullopt;
        }
    }
    // Bytes after the last pile belong to no layout this game writes.
    if (reader.Remaining() != 0) {
        return std::nullopt;
    }
    return state;
}

/// The record of a stone as it will lie once its movement and turn have ended: the centre
/// where it stops, a lying stone's pictures in the order they are exposed (left, right), so a
/// stone loaded with picture A on the left shows the same, and the drawing position of a
/// lying stone at that centre.
StoneRecord RecordOf(const DominoFish& stone)
{
    StoneRecord record;
    record.lockNumber = stone.lockNumber;
    record.keyNumber = stone.keyNumber;
    const auto [centreX, centreY] = stone.RestingCentre();
    record.centreX = centreX;
    record.centreY = centreY;
    record.layer = stone.layer;
    record.drawLeft = centreX - 40 + DominoFish::kLayerStep * stone.layer;
    record.drawTop = centreY - 25 - DominoFish::kLayerStep * stone.layer;
    record.style = stone.style;
    const bool lying = stone.orientation == DominoFish::kLyingALeft ||
                       stone.orientation == DominoFish::kLyingBLeft;
    record.pictureA = lying ? stone.SettledLeftValue() : stone.pictureA;
    record.pictureB = lying ? stone.SettledRightValue() : stone.pictureB;
    record.joker = stone.joker;
    return record;
}

void PutStone(Zorva::Buffer& buffer, const StoneRecord& stone)
{
    for (const int32_t value :
         {stone.lockNumber, stone.keyNumber, stone.drawLeft, stone.drawTop, stone.centreX,
          stone.centreY, stone.style, stone.pictureA, stone.pictureB, stone.layer}) {
        buffer.PutInt32(value);
    }
    buffer.PutBool(stone.joker);
}

void PutStoneList(Zorva::Buffer& buffer, const StoneList& stones)
{
    buffer.PutInt32(static_cast<int32_t>(stones.size()));
    for (const auto& stone : stones) {
        PutStone(buffer, RecordOf(*stone));
    }
}

/// A lying stone with the record's values; its drawing position follows from centre and layer.
std::unique_ptr<DominoFish> MakeStone(PlayField& field, const StoneRecord& record)
{
    auto stone = std::make_unique<DominoFish>(&field, record.centreX, record.centreY,
                                              DominoFish::kLyingALeft, record.layer, record.style);
    stone->lockNumber = record.lockNumber;
    stone->keyNumber = record.keyNumber;
    stone->pictureA = record.pictureA;
    stone->pictureB = record.pictureB;
    if (record.joker) {
        stone->MakeJoker();
    }
    return stone;
}

StoneList MakeStones(PlayField& field, const RecordList& records, bool faceUp)
{
    StoneList stones;
    stones.reserve(records.size());
    for (const StoneRecord& record : records) {
        stones.push_back(MakeStone(field, record));
        stones.back()->faceUp = faceUp;
    }
    return stones;
}

void ClearBoard(BoardModel& model)
{
    model.field.Clear();
    model.line.Reset();
    model.deck.Clear();
    model.comboMeter.Empty();
}

/// The key that opens a lock is played when no field stone carries it any more, so the lock
/// stays open: without this a loaded game would keep those stones locked for good.
void OpenLocksOfPlayedKeys(PlayField& field)
{
    std::array<bool, 3> keyOnField{};
    for (const StoneList& layer : field.layers) {
        for (const auto& stone : layer) {
            if (InRange(stone->keyNumber, 0, kHighestMarker)) {
                keyOnField[static_cast<std::size_t>(stone->keyNumber)] = true;
            }
        }
    }
    for (const StoneList& layer : field.layers) {
        for (const auto& stone : layer) {
            if (InRange(stone->lockNumber, 0, kHighestMarker) &&
                !keyOnField[static_cast<std::size_t>(stone->lockNumber)]) {
                field.lockOpened[static_cast<std::size_t>(stone->lockNumber)] = true;
            }
        }
    }
}

void CountPictures(PlayField& field)
{
    for (const StoneList& layer : field.layers) {
        for (const auto& stone : layer) {
            if (!stone->joker) {
                ++field.pictureCounters[static_cast<std::size_t>(stone->pictureA)];
                ++field.pictureCounters[static_cast<std::size_t>(stone->pictureB)];
            }
        }
    }
}

/// Puts a checked state into a board whose level file was just loaded.
void Apply(const SavedState& state, BoardModel& model)
{
    PlayField& field = model.field;
    StoneDeck& deck = model.deck;
    field.mode = state.mode;
    field.layers.clear();
    field.score = state.score;
    field.reshufflesLeft = state.reshufflesLeft;
    field.editorStyle = state.editorStyle;
    for (const RecordList& records : state.layers) {
        field.layers.push_back(MakeStones(field, records, false));
    }
    field.stoneCount = field.StoneCountInLayers();

    model.line.Reset();
    for (const StoneRecord* record : {&state.firstLineStone, &state.lastLineStone}) {
        auto stone = MakeStone(field, *record);
        stone->faceUp = true;
        model.line.Append(std::move(stone));
    }

    deck.Clear();
    deck.crops = state.crops;
    deck.pileCount = state.pileCount;
    deck.stones = MakeStones(field, state.deck, false);
    for (const RecordList& records : state.piles) {
        deck.piles.push_back(MakeStones(field, records, true));
    }

    OpenLocksOfPlayedKeys(field);
    CountPictures(field);
    field.idleTicks = 0;
    field.ApplyFreeRule();
    field.CountMoves();
    deck.CountDeckSideMoves();
    field.RefreshReshuffleButton();
    field.host.SetUndoEnabled(false);
    model.levelNumber = state.level;
    field.boardLevel = state.level;
    if (const Player* player = field.CurrentPlayer()) {
        field.boardLevel =
            state.mode == GameMode::OneSide ? player->oneSideLevel : player->twoSideLevel;
    }
    field.MoveLineEndsApart();
    field.playTicks = 0;
    field.RestartBonusClock();
}

} // namespace

std::string FileName(const std::string& playerName, GameMode mode)
{
    // Names are Latin-1 in the game; file names on the desktop are UTF-8.
    return "saves/" + Zorva::Utf8FromLatin1(playerName) +
           (mode == GameMode::OneSide ? "1.sav" : "2.sav");
}

std::string Save(BoardModel& model)
{
    const PlayField& field = model.field;
    Zorva::Buffer buffer;
    buffer.PutInt32(static_cast<int32_t>(field.mode));
    buffer.PutString(BoardModel::LevelFileName(field.mode, model.levelNumber));
    buffer.PutInt32(field.StoneCountInLayers());
    buffer.PutInt32(field.score);
    buffer.PutInt32(field.reshufflesLeft);
    buffer.PutInt32(field.editorStyle);
    buffer.PutInt32(static_cast<int32_t>(field.layers.size()));
    for (const StoneList& layer : field.layers) {
        PutStoneList(buffer, layer);
    }
    // A line always holds two stones in play; an unstarted one stores two blank ends.
    const DominoFish* first = model.line.First();
    const DominoFish* last = model.line.Last();
    PutStone(buffer, first ? RecordOf(*first) : StoneRecord{});
    PutStone(buffer, last ? RecordOf(*last) : StoneRecord{});
    // The pile count is the number of piles the deck holds, so the file agrees with itself.
    const auto piles = static_cast<int32_t>(model.deck.piles.size());
    buffer.PutInt32(model.deck.crops);
    buffer.PutInt32(piles);
    PutStoneList(buffer, model.deck.stones);
    buffer.PutInt32(piles);
    for (const StoneList& pile : model.deck.piles) {
        PutStoneList(buffer, pile);
    }
    const uint8_t* data = buffer.DataPointer();
    return data ? std::string(reinterpret_cast<const char*>(data),
                              static_cast<std::size_t>(buffer.DataLength()))
                : std::string();
}

LoadResult Load(const uint8_t* bytes, std::size_t size, BoardModel& model,
                const std::string& expectedLevelFile)
{
    ClearBoard(model);
    const std::optional<SavedState> state = Parse(bytes, size);
    if (!state) {
        return LoadResult::Unreadable;
    }
    if (!expectedLevelFile.empty() && expectedLevelFile != state->levelFile) {
        return LoadResult::OtherLevel;
    }
    const std::string path = model.LevelPath(state->mode, state->level);
    // The level file brings pictures, offsets, background and music; its stones make way for
    // the saved ones.
    if (!model.LoadLevel(path, -1, -1, true)) {
        ClearBoard(model);
        return LoadResult::Unreadable;
    }
    model.field.levelFile = path;
    Apply(*state, model);
    return LoadResult::Loaded;
}

} // namespace SavedGame
