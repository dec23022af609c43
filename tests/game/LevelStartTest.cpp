#include "GameTestSupport.h"

#include <algorithm>
#include <filesystem>

using LevelStartTest = GameTest;

namespace {

const std::vector<std::vector<std::string>> kTwoLayers = {
    {"[==]..[==]..[==]", ".,", "[==]..[==]..[==]"},
    {".,..[==]..[==]"},
};

} // namespace

TEST_F(LevelStartTest, Deal_UsesTheChainInTheDocumentedRandomOrder)
{
    const std::string path = WriteLevelFile(LevelText("2,4,6,8", kTwoLayers));
    Field().mode = GameMode::TwoSide;
    Zorva::Rand().SRand(777);
    ASSERT_TRUE(board.StartLevel(path, 3));

    // The same draws by hand: the style, the chain of n + 1 pairs, one pick per stone.
    Zorva::MTRand replay(777);
    const std::vector<int> pictures = {2, 4, 6, 8};
    EXPECT_EQ(Field().levelStyle, static_cast<int>(replay.Next(4)));
    const int stones = 8;
    std::vector<std::pair<int, int>> chain;
    int previous = pictures[replay.Next(4)];
    for (int i = 0; i <= stones; ++i) {
        const int next = pictures[replay.Next(4)];
        chain.emplace_back(previous, next);
        previous = next;
    }
    for (const StoneList& layer : Field().layers) {
        for (const auto& stone : layer) {
            const std::size_t pick = replay.Next(static_cast<uint32_t>(chain.size()));
            EXPECT_EQ(stone->pictureA, chain[pick].first);
            EXPECT_EQ(stone->pictureB, chain[pick].second);
            chain.erase(chain.begin() + static_cast<std::ptrdiff_t>(pick));
        }
    }
    // The one pair left over starts the play line.
    ASSERT_EQ(chain.size(), 1u);
    EXPECT_EQ(board.line.LeftEndValue(), chain[0].first);
    EXPECT_EQ(board.line.RightEndValue(), chain[0].second);
    int counted = 0;
    for (const int count : Field().pictureCounters) {
        counted += count;
    }
    EXPECT_EQ(counted, 2 * stones);
}

TEST_F(LevelStartTest, Start_FliesInFadesAndSetsUpTheScreen)
{
    const std::string path = WriteLevelFile(LevelText("0,1,2", kTwoLayers));
    Field().mode = GameMode::OneSide;
    host.player.reshuffles = 2;
    host.player.oneSideLevel = 1;
    ASSERT_TRUE(board.StartLevel(path, 1));

    // Layer 1 came from the upper left; after 140 nested updates everything is in place.
    const DominoFish& upper = *Field().layers[1][0];
    EXPECT_EQ(upper.x, 200 + 40);
    EXPECT_EQ(upper.alpha, 255);
    EXPECT_FALSE(upper.IsMoving());
    EXPECT_EQ(host.updateCount, 140);
    EXPECT_EQ(host.SoundCount(SOUND_LEVEL_START), 1);
    EXPECT_EQ(host.reshuffleLabel, "Reshuffle 2");
    EXPECT_FALSE(host.undoEnabled);
    EXPECT_EQ(board.line.First()->targetX, PlayLine::kFirstX);
    EXPECT_EQ(board.line.Last()->targetX, PlayLine::kLastX);
    ASSERT_FALSE(host.hints.empty());
    EXPECT_EQ(host.hints.back().text,
              "Find the stone with the same picture on playing field and click on it.");
    // One-Side: both line stones show the right value.
    EXPECT_EQ(board.line.First()->pictureA, board.line.Last()->pictureA);
    EXPECT_FALSE(Field().loading);

    // Without a running application the fade stops at once, yet nothing stays transparent.
    host.runNestedLoops = false;
    ASSERT_TRUE(board.StartLevel(path, 1));
    EXPECT_EQ(Field().layers[0][0]->alpha, 255);
}

TEST_F(LevelStartTest, LevelOne_StartsTheLineFromTheHighestNonEmptyLayer)
{
    // The last layer is empty, as the editor can save it.
    auto layers = kTwoLayers;
    layers.push_back({".,"});
    const std::string path = WriteLevelFile(LevelText("0,1,2,3,4", layers));
    Field().mode = GameMode::TwoSide;
    ASSERT_TRUE(board.StartLevel(path, 1));
    const DominoFish& top = *Field().layers[1].back();
    EXPECT_EQ(board.line.First()->pictureA, top.pictureB);
    EXPECT_EQ(board.line.Last()->pictureA, top.pictureA);
    EXPECT_GE(Field().CountMoves(), 1);
}

TEST_F(LevelStartTest, FromPlayerRecord_FallsBackToLevelOneAndDealsTheDeck)
{
    const std::string folder = ::testing::TempDir() + "quarrow_sets/";
    std::filesystem::create_directories(folder + "Levels2");
    std::ofstream(folder + "Levels2/Level1.xml")
        << LevelText("0,1,2", kTwoLayers, "CardsInDeck=\"7\"");
    board.dataPrefix = folder;
    Field().mode = GameMode::TwoSide;
    host.player.twoSideLevel = 9; // no such file
    host.player.twoSideScore = 1234;
    host.player.pileCount = 3;
    ASSERT_TRUE(board.StartLevelFromPlayer());
    EXPECT_EQ(host.player.twoSideLevel, 1);
    EXPECT_EQ(board.levelNumber, 1);
    EXPECT_EQ(Field().score, 1234);
    EXPECT_EQ(board.deck.StoneCount(), 7);
    EXPECT_EQ(board.deck.piles.size(), 3u);
    EXPECT_EQ(host.dialogs.back(), "how to play 2");
    EXPECT_EQ(board.LevelPath(GameMode::OneSide, 12), folder + "Levels1/Level12.xml");
}

namespace {

/// Pictures of every field, line and deck stone, the style, and the next random number: what
/// a seeded start produced.
std::string StartSignature(const BoardModel& board)
{
    std::string text = "style " + std::to_string(board.field.levelStyle) + " field";
    for (const StoneList& layer : board.field.layers) {
        for (const auto& stone : layer) {
            text += " " + std::to_string(stone->pictureA) + "/" + std::to_string(stone->pictureB);
        }
    }
    text += " line " + std::to_string(board.line.LeftEndValue()) + "/" +
            std::to_string(board.line.RightEndValue()) + " deck";
    for (const auto& stone : board.deck.stones) {
        text += " " + std::to_string(stone->pictureA) + "/" + std::to_string(stone->pictureB);
    }
    return text + " next " + std::to_string(Zorva::Rand().Next());
}

} // namespace

TEST_F(LevelStartTest, SeededStart_DealsTheRecordedStones)
{
    const std::string folder = QUARROW_TEST_DATA_DIR "/levels/";
    Field().mode = GameMode::TwoSide;
    Zorva::Rand().SRand(99);
    ASSERT_TRUE(board.StartLevel(folder + "small12.xml", 2));
    EXPECT_EQ(StartSignature(board),
              "style 0 field 4/2 1/4 2/4 1/1 2/0 2/2 1/4 0/1 4/1 0/1 0/0 4/2 line 2/0 deck 3/2 "
              "2/3 2/4 3/1 3/0 0/1 2/4 3/2 3/1 4/3 2/1 0/3 next 164775016");

    // One-Side on level 1, with a joker, locks and keys.
    Field().mode = GameMode::OneSide;
    Zorva::Rand().SRand(7);
    ASSERT_TRUE(board.StartLevel(folder + "layered40.xml", 1));
    EXPECT_EQ(StartSignature(board),
              "style 2 field 0/1 6/1 1/3 5/3 7/4 4/1 1/4 5/1 5/0 0/1 4/5 1/5 1/4 5/2 4/2 7/2 2/6 "
              "1/1 7/5 3/7 4/0 1/4 2/5 0/5 2/0 6/5 1/1 6/3 7/0 2/6 3/2 5/0 4/7 1/7 3/1 0/7 0/0 "
              "0/5 7/6 100/100 line 100/100 deck 5/1 7/5 0/7 5/0 5/4 2/0 2/3 7/2 5/7 2/6 3/5 "
              "4/0 1/7 1/4 3/4 5/1 next 69237977");
}

TEST_F(LevelStartTest, FailedStart_ChangesNothingAndSaysWhy)
{
    Field().mode = GameMode::TwoSide;
    ASSERT_TRUE(board.StartLevel(QUARROW_TEST_DATA_DIR "/levels/small12.xml", 2));
    Field().score = 300;
    host.player.twoSideScore = 999;
    const DominoFish* firstStone = Field().layers[0][0].get();
    const std::string levelFile = Field().levelFile;
    const std::size_t hostCalls = host.sounds.size() + host.songs.size() + host.dialogs.size();
    const int rebuilds = host.backgroundRebuilds;

    const std::string malformed = WriteLevelFile("<Level Typs=\"1\"><Layers><Layer><l>[==]");
    for (const std::string& path : {malformed, ::testing::TempDir() + "quarrow_missing.xml"}) {
        Zorva::MTRand replay = Zorva::Rand();
        std::string error;
        EXPECT_FALSE(board.StartLevel(path, 5, &error));
        EXPECT_FALSE(error.empty()) << path;
        EXPECT_EQ(Zorva::Rand().Next(), replay.Next()) << "no random number drawn";
        EXPECT_EQ(Field().stoneCount, 12);
        EXPECT_EQ(Field().layers[0][0].get(), firstStone);
        EXPECT_EQ(Field().score, 300);
        EXPECT_EQ(board.levelNumber, 2);
        EXPECT_EQ(Field().boardLevel, 2);
        EXPECT_EQ(Field().levelFile, levelFile);
        EXPECT_EQ(host.sounds.size() + host.songs.size() + host.dialogs.size(), hostCalls);
        EXPECT_EQ(host.backgroundRebuilds, rebuilds);
    }
    std::string error;
    EXPECT_FALSE(board.StartLevel(::testing::TempDir() + "quarrow_missing.xml", 5, &error));
    EXPECT_NE(error.find("Unable to open"), std::string::npos) << error;

    // The player's level falls back to 1 only when level 1 then starts.
    const std::string folder = ::testing::TempDir() + "quarrow_broken_set/";
    std::filesystem::create_directories(folder + "Levels2");
    std::ofstream(folder + "Levels2/Level1.xml") << "<Level><Layers>";
    board.dataPrefix = folder;
    host.player.twoSideLevel = 9;
    EXPECT_FALSE(board.StartLevelFromPlayer(&error));
    EXPECT_EQ(host.player.twoSideLevel, 9);
    EXPECT_EQ(Field().layers[0][0].get(), firstStone);
}
