#include "GameTestSupport.h"

#include "game/SavedGame.h"
#include "resources/Buffer.h"

#include <array>
#include <functional>
#include <optional>

namespace {

using SavedGame::LoadResult;

SavedGame::LoadResult LoadBytes(const std::string& bytes, BoardModel& board,
                                const std::string& expected = "")
{
    return SavedGame::Load(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), board,
                           expected);
}

/// A second board with its own host and a copy of the player, to load saves into.
struct FreshBoard
{
    explicit FreshBoard(const Player& player)
    {
        host.player = player;
        board.dataPrefix = QUARROW_LEVELS_DIR;
        host.onUpdate = [this] { board.Tick(); };
    }

    HeadlessHost host;
    BoardModel board{host};
};

void ExpectSameStone(const DominoFish& loaded, const DominoFish& saved)
{
    EXPECT_EQ(loaded.x, saved.x);
    EXPECT_EQ(loaded.y, saved.y);
    EXPECT_EQ(loaded.LeftValue(), saved.LeftValue());
    EXPECT_EQ(loaded.RightValue(), saved.RightValue());
    EXPECT_EQ(loaded.lockNumber, saved.lockNumber);
    EXPECT_EQ(loaded.keyNumber, saved.keyNumber);
    EXPECT_EQ(loaded.joker, saved.joker);
    EXPECT_EQ(loaded.style, saved.style);
    EXPECT_EQ(loaded.layer, saved.layer);
}

void ExpectSameStones(const StoneList& loaded, const StoneList& saved)
{
    ASSERT_EQ(loaded.size(), saved.size());
    for (std::size_t i = 0; i < saved.size(); ++i) {
        ExpectSameStone(*loaded[i], *saved[i]);
    }
}

void ExpectEmptyBoard(const BoardModel& board)
{
    EXPECT_TRUE(board.field.layers.empty());
    EXPECT_EQ(board.field.stoneCount, 0);
    EXPECT_EQ(board.line.Count(), 0);
    EXPECT_TRUE(board.deck.stones.empty());
    EXPECT_TRUE(board.deck.piles.empty());
    EXPECT_FALSE(board.field.won);
    EXPECT_EQ(board.field.hoveredStone, nullptr);
    EXPECT_EQ(board.field.undo.stone, nullptr);
}

} // namespace

class SavedGameTest : public GameTest
{
protected:
    void SetUp() override
    {
        GameTest::SetUp();
        board.dataPrefix = QUARROW_LEVELS_DIR;
        host.player.showHowToPlay = false;
    }

    void Start(GameMode mode, int level)
    {
        Field().mode = mode;
        (mode == GameMode::OneSide ? host.player.oneSideLevel : host.player.twoSideLevel) = level;
        ASSERT_TRUE(board.StartLevelFromPlayer());
        Tick(70);
    }

    DominoFish* PlayableStone() const
    {
        for (const StoneList& layer : board.field.layers) {
            for (const auto& stone : layer) {
                if (stone->playable) {
                    return stone.get();
                }
            }
        }
        return nullptr;
    }

    void ClickDeck() { board.MouseUp(board.deck.x + 50, board.deck.y + 10, Zorva::kClickLeft); }

    /// A stone from the field when one fits, else the deck; then the board comes to rest.
    void PlayMove()
    {
        DominoFish* stone = PlayableStone();
        if (!stone) {
            ClickDeck();
        } else if (Field().mode == GameMode::OneSide) {
            Click(*stone);
        } else {
            const DominoFish& first = *board.line.First();
            const DominoFish& last = *board.line.Last();
            const bool right = stone->joker || first.joker || last.joker ||
                               stone->HasPicture(board.line.RightEndValue());
            DragAndDrop(*stone, right ? last.x + 80 : first.x - 80, right ? last.y : first.y);
        }
        Tick(80);
    }
};

TEST_F(SavedGameTest, RoundTrip_BothModesRestoreTheGameByteForByte)
{
    for (const GameMode mode : {GameMode::OneSide, GameMode::TwoSide}) {
        SCOPED_TRACE(static_cast<int>(mode));
        Start(mode, 3);
        for (int move = 0; move < 4; ++move) {
            PlayMove();
        }
        ClickDeck();
        Tick(80);
        ASSERT_GT(Field().score, 0);
        if (mode == GameMode::TwoSide) {
            ASSERT_GT(board.deck.PileStoneCount(), 0);
        }
        Field().reshufflesLeft = 3;
        board.deck.crops = 1;
        const std::string bytes = SavedGame::Save(board);

        FreshBoard fresh(host.player);
        BoardModel& loaded = fresh.board;
        ASSERT_EQ(LoadBytes(bytes, loaded), LoadResult::Loaded);
        EXPECT_EQ(SavedGame::Save(loaded), bytes);

        EXPECT_EQ(loaded.field.mode, mode);
        EXPECT_EQ(loaded.levelNumber, 3);
        EXPECT_EQ(loaded.field.boardLevel, 3);
        EXPECT_EQ(loaded.field.levelFile, board.LevelPath(mode, 3));
        EXPECT_EQ(loaded.field.score, Field().score);
        EXPECT_EQ(loaded.field.reshufflesLeft, 3);
        EXPECT_EQ(fresh.host.reshuffleLabel, "Reshuffle 3");
        EXPECT_FALSE(fresh.host.undoEnabled);
        EXPECT_EQ(loaded.field.pictureList, Field().pictureList);
        EXPECT_EQ(loaded.field.stoneCount, Field().stoneCount);
        ASSERT_EQ(loaded.field.layers.size(), Field().layers.size());
        for (std::size_t l = 0; l < Field().layers.size(); ++l) {
            ExpectSameStones(loaded.field.layers[l], Field().layers[l]);
        }
        EXPECT_EQ(loaded.field.movesAvailable, Field().movesAvailable);
        EXPECT_EQ(loaded.line.Count(), 2);
        EXPECT_EQ(loaded.line.LeftEndValue(), board.line.LeftEndValue());
        EXPECT_EQ(loaded.line.RightEndValue(), board.line.RightEndValue());
        ExpectSameStones(loaded.deck.stones, board.deck.stones);
        ASSERT_EQ(loaded.deck.piles.size(), board.deck.piles.size());
        for (std::size_t p = 0; p < board.deck.piles.size(); ++p) {
            ExpectSameStones(loaded.deck.piles[p], board.deck.piles[p]);
        }
        EXPECT_EQ(loaded.deck.crops, 1);
        EXPECT_EQ(loaded.deck.pileCount, board.deck.pileCount);
        EXPECT_EQ(loaded.deck.deckSideMoves, board.deck.CountDeckSideMoves());

        // The line ends glide to their places and the loaded game plays on.
        for (int i = 0; i < 60; ++i) {
            fresh.host.Step();
        }
        EXPECT_EQ(loaded.line.First()->x, PlayLine::kFirstX);
        EXPECT_EQ(loaded.line.Last()->x, PlayLine::kLastX);
        EXPECT_EQ(loaded.line.Last()->y, PlayLine::kCentreY);
    }
}

TEST_F(SavedGameTest, Save_StonesOnTheMoveAndTurningEndsAreStoredAsTheyWillLie)
{
    Start(GameMode::OneSide, 3);
    DominoFish* stone = PlayableStone();
    ASSERT_NE(stone, nullptr);
    const int homeX = stone->x;
    const int homeY = stone->y;
    const int homeLayer = stone->layer;
    const StoneList& home = Field().layers[static_cast<std::size_t>(homeLayer)];
    const auto homeIndex = std::find_if(home.begin(), home.end(),
                                        [stone](const auto& s) { return s.get() == stone; }) -
                           home.begin();
    Click(*stone);
    Tick(80);
    board.PressUndo();
    ASSERT_TRUE(stone->IsMoving());
    Tick(10); // half way home

    // The right end has turned over, the left one is still turning.
    DominoFish& first = *board.line.First();
    DominoFish& last = *board.line.Last();
    first.SetOrientation(DominoFish::kLyingALeft);
    first.pictureA = 4;
    first.pictureB = 9;
    first.StartTurn(true, 0.1f);
    last.SetOrientation(DominoFish::kLyingBLeft);
    last.pictureA = 6;
    last.pictureB = 11;
    ASSERT_EQ(board.line.LeftEndValue(), 9);
    ASSERT_EQ(board.line.RightEndValue(), 6);

    FreshBoard fresh(host.player);
    ASSERT_EQ(LoadBytes(SavedGame::Save(board), fresh.board), LoadResult::Loaded);
    const DominoFish* back = fresh.board.field.StoneAt(homeLayer, static_cast<int>(homeIndex));
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->x, homeX);
    EXPECT_EQ(back->y, homeY);
    EXPECT_EQ(back->drawLeft, homeX - 40 + DominoFish::kLayerStep * homeLayer);
    EXPECT_EQ(fresh.board.line.LeftEndValue(), 9);
    EXPECT_EQ(fresh.board.line.RightEndValue(), 6);
    EXPECT_EQ(fresh.board.line.First()->orientation, DominoFish::kLyingALeft);
}

TEST_F(SavedGameTest, Jokers_ComeBackWithBothValuesHundred)
{
    Start(GameMode::TwoSide, 3);
    Field().layers[0][0]->MakeJoker();
    board.line.Last()->MakeJoker();
    board.deck.stones.front()->MakeJoker();
    board.deck.piles.clear();

    const std::string bytes = SavedGame::Save(board);
    FreshBoard fresh(host.player);
    ASSERT_EQ(LoadBytes(bytes, fresh.board), LoadResult::Loaded);
    for (const DominoFish* joker : {fresh.board.field.layers[0][0].get(), fresh.board.line.Last(),
                                    fresh.board.deck.stones.front().get()}) {
        EXPECT_TRUE(joker->joker);
        EXPECT_EQ(joker->LeftValue(), DominoFish::kJokerValue);
        EXPECT_EQ(joker->RightValue(), DominoFish::kJokerValue);
    }
    EXPECT_EQ(fresh.board.line.RightEndValue(), DominoFish::kJokerValue);
    EXPECT_EQ(SavedGame::Save(fresh.board), bytes);
}

TEST_F(SavedGameTest, EmptyDeckAndNoPiles_EndWithTwoZeroLongs)
{
    Start(GameMode::OneSide, 3);
    board.deck.stones.clear();
    board.deck.piles.clear();
    board.deck.crops = 5;
    const std::string bytes = SavedGame::Save(board);
    ASSERT_GE(bytes.size(), 16u);
    // crops, pile count 0, deck count 0, pile list count 0
    const std::string tail = bytes.substr(bytes.size() - 16);
    EXPECT_EQ(tail, std::string("\x05\0\0\0", 4) + std::string(12, '\0'));
    FreshBoard fresh(host.player);
    EXPECT_EQ(LoadBytes(bytes, fresh.board), LoadResult::Loaded);
}

TEST_F(SavedGameTest, Locks_OpenWhenTheirKeyWasPlayedAndStayShutWhileItLies)
{
    Start(GameMode::OneSide, 3);
    Field().layers.clear();
    Field().stoneCount = 0;
    DominoFish& lockedNoKey = AddStone(0, 200, 200, 1, 2);
    lockedNoKey.lockNumber = 0;
    DominoFish& lockedWithKey = AddStone(0, 400, 200, 1, 2);
    lockedWithKey.lockNumber = 1;
    AddStone(0, 600, 200, 3, 4).keyNumber = 1;

    FreshBoard fresh(host.player);
    ASSERT_EQ(LoadBytes(SavedGame::Save(board), fresh.board), LoadResult::Loaded);
    const StoneList& layer = fresh.board.field.layers[0];
    EXPECT_TRUE(layer[0]->faceUp);
    EXPECT_FALSE(layer[1]->faceUp);
    EXPECT_TRUE(layer[2]->faceUp);
}

// -------------------------------------------------------------------------------------------
// Files the game never writes

namespace {

/// A save file made by hand, field by field, with counts that may lie about what follows.
struct HandMadeSave
{
    struct Stone
    {
        // lock, key, draw left, draw top, centre x, centre y, style, picture A, picture B, layer
        std::array<int32_t, 10> longs{-1, -1, 360, 275, 400, 300, 0, 1, 2, 0};
        uint8_t joker = 0;
    };

    int32_t mode = 2;
    std::string levelFile = "Levels1/Level3.xml";
    std::optional<int32_t> stoneCount;
    int32_t score = 140;
    int32_t reshuffles = 1;
    int32_t editorStyle = 0;
    std::optional<int32_t> layerCount;
    std::vector<std::vector<Stone>> layers{{Stone{}}};
    std::optional<int32_t> firstLayerStoneCount;
    Stone first;
    Stone last;
    int32_t crops = 2;
    int32_t pileCount = 2;
    std::optional<int32_t> deckCount;
    std::vector<Stone> deck{Stone{}};
    std::optional<int32_t> pilesStored;
    std::vector<std::vector<Stone>> piles{{Stone{}}, {}};

    std::string Bytes() const
    {
        Zorva::Buffer buffer;
        auto putStone = [&buffer](const Stone& stone) {
            for (const int32_t value : stone.longs) {
                buffer.PutInt32(value);
            }
            buffer.PutByte(stone.joker);
        };
        auto putStones = [&](const std::vector<Stone>& stones, std::optional<int32_t> count) {
            buffer.PutInt32(count.value_or(static_cast<int32_t>(stones.size())));
            for (const Stone& stone : stones) {
                putStone(stone);
            }
        };
        buffer.PutInt32(mode);
        buffer.PutString(levelFile);
        int32_t fieldStones = 0;
        for (const auto& layer : layers) {
            fieldStones += static_cast<int32_t>(layer.size());
        }
        buffer.PutInt32(stoneCount.value_or(fieldStones));
        buffer.PutInt32(score);
        buffer.PutInt32(reshuffles);
        buffer.PutInt32(editorStyle);
        buffer.PutInt32(layerCount.value_or(static_cast<int32_t>(layers.size())));
        for (std::size_t l = 0; l < layers.size(); ++l) {
            putStones(layers[l], l == 0 ? firstLayerStoneCount : std::nullopt);
        }
        putStone(first);
        putStone(last);
        buffer.PutInt32(crops);
        buffer.PutInt32(pileCount);
        putStones(deck, deckCount);
        buffer.PutInt32(pilesStored.value_or(static_cast<int32_t>(piles.size())));
        for (const auto& pile : piles) {
            putStones(pile, std::nullopt);
        }
        return std::string(reinterpret_cast<const char*>(buffer.DataPointer()),
                           static_cast<std::size_t>(buffer.DataLength()));
    }
};

} // namespace

TEST_F(SavedGameTest, HostileFiles_AreUnreadableAndLeaveTheFieldEmpty)
{
    using Change = std::function<void(HandMadeSave&)>;
    static constexpr int32_t kHuge = INT32_MAX;
    const std::vector<std::pair<std::string, Change>> cases = {
        {"mode 1", [](HandMadeSave& s) { s.mode = 1; }},
        {"mode -1", [](HandMadeSave& s) { s.mode = -1; }},
        {"path escape", [](HandMadeSave& s) { s.levelFile = "../../etc/passwd"; }},
        {"leading zero", [](HandMadeSave& s) { s.levelFile = "Levels1/Level007.xml"; }},
        {"level 0", [](HandMadeSave& s) { s.levelFile = "Levels1/Level0.xml"; }},
        {"other mode's set", [](HandMadeSave& s) { s.levelFile = "Levels2/Level3.xml"; }},
        {"missing level", [](HandMadeSave& s) { s.levelFile = "Levels1/Level999.xml"; }},
        {"sign", [](HandMadeSave& s) { s.levelFile = "Levels1/Level+3.xml"; }},
        {"stone count 1e9", [](HandMadeSave& s) { s.stoneCount = 1000000000; }},
        {"stone count off by one", [](HandMadeSave& s) { s.stoneCount = 2; }},
        {"layer count 2^31-1", [](HandMadeSave& s) { s.layerCount = kHuge; }},
        {"layer count -1", [](HandMadeSave& s) { s.layerCount = -1; }},
        {"65 layers", [](HandMadeSave& s) { s.layers.resize(65); }},
        {"layer stones 1e9", [](HandMadeSave& s) { s.firstLayerStoneCount = 1000000000; }},
        {"layer stones -5", [](HandMadeSave& s) { s.firstLayerStoneCount = -5; }},
        {"deck count 2^31-1", [](HandMadeSave& s) { s.deckCount = kHuge; }},
        {"1001 field stones",
         [](HandMadeSave& s) { s.layers[0].resize(1001, HandMadeSave::Stone{}); }},
        {"501 deck stones", [](HandMadeSave& s) { s.deck.resize(501, HandMadeSave::Stone{}); }},
        {"piles past deck limit",
         [](HandMadeSave& s) { s.piles[1].resize(500, HandMadeSave::Stone{}); }},
        {"picture 26", [](HandMadeSave& s) { s.layers[0][0].longs[7] = 26; }},
        {"picture -1", [](HandMadeSave& s) { s.deck[0].longs[8] = -1; }},
        {"hundred without joker", [](HandMadeSave& s) { s.first.longs[7] = 100; }},
        {"joker half hundred",
         [](HandMadeSave& s) {
             s.last.joker = 1;
             s.last.longs[7] = 100;
         }},
        {"joker byte 2", [](HandMadeSave& s) { s.piles[0][0].joker = 2; }},
        {"lock 7", [](HandMadeSave& s) { s.layers[0][0].longs[0] = 7; }},
        {"key -2", [](HandMadeSave& s) { s.layers[0][0].longs[1] = -2; }},
        {"centre 99999", [](HandMadeSave& s) { s.layers[0][0].longs[4] = 99999; }},
        {"centre y -1001", [](HandMadeSave& s) { s.last.longs[5] = -1001; }},
        {"style 4", [](HandMadeSave& s) { s.deck[0].longs[6] = 4; }},
        {"editor style 5", [](HandMadeSave& s) { s.editorStyle = 5; }},
        {"field stone in wrong layer", [](HandMadeSave& s) { s.layers[0][0].longs[9] = 1; }},
        {"deck stone with a layer", [](HandMadeSave& s) { s.deck[0].longs[9] = 2; }},
        {"crops -1", [](HandMadeSave& s) { s.crops = -1; }},
        {"reshuffles -1", [](HandMadeSave& s) { s.reshuffles = -1; }},
        {"pile count 9",
         [](HandMadeSave& s) {
             s.pileCount = 9;
             s.piles.resize(9);
         }},
        {"piles differ from count", [](HandMadeSave& s) { s.pilesStored = 3; }},
        {"pile list huge", [](HandMadeSave& s) { s.pilesStored = kHuge; }},
    };

    Start(GameMode::OneSide, 3);
    const std::string valid = HandMadeSave{}.Bytes();
    ASSERT_EQ(LoadBytes(valid, board), LoadResult::Loaded);
    ASSERT_EQ(board.field.stoneCount, 1);

    auto expectUnreadable = [this](const std::string& bytes, const std::string& what) {
        SCOPED_TRACE(what);
        Start(GameMode::OneSide, 3);
        EXPECT_EQ(LoadBytes(bytes, board), LoadResult::Unreadable);
        ExpectEmptyBoard(board);
        Tick(2); // an empty board runs without harm
    };
    for (const auto& [what, change] : cases) {
        HandMadeSave save;
        change(save);
        expectUnreadable(save.Bytes(), what);
    }
    for (std::size_t length = 0; length < valid.size(); length += 7) {
        expectUnreadable(valid.substr(0, length), "cut at " + std::to_string(length));
    }
    expectUnreadable(valid.substr(0, valid.size() - 1), "last byte missing");
    expectUnreadable(valid + '\0', "a byte too many");
    std::string oversized = valid;
    oversized.resize(SavedGame::kMaxFileBytes + 1);
    expectUnreadable(oversized, "over 1 MiB");
}

TEST_F(SavedGameTest, OtherLevel_IsReportedForAStaleSaveAndLeavesTheFieldEmpty)
{
    Start(GameMode::OneSide, 3);
    const std::string bytes = SavedGame::Save(board);
    EXPECT_EQ(LoadBytes(bytes, board, "Levels1/Level4.xml"), LoadResult::OtherLevel);
    ExpectEmptyBoard(board);
    EXPECT_EQ(LoadBytes(bytes, board, "Levels2/Level3.xml"), LoadResult::OtherLevel);
    EXPECT_EQ(LoadBytes(bytes, board, "Levels1/Level3.xml"), LoadResult::Loaded);
    EXPECT_FALSE(board.field.layers.empty());
}
