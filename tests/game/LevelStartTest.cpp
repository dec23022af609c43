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
    Field().boardLevel = 3;
    Zorva::Rand().SRand(777);
    ASSERT_TRUE(Field().StartLevel(path, -1));

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
    Field().reshufflesLeft = 2;
    host.player.oneSideLevel = 1;
    ASSERT_TRUE(Field().StartLevel(path, -1));

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
    ASSERT_TRUE(Field().StartLevel(path, -1));
    EXPECT_EQ(Field().layers[0][0]->alpha, 255);
}

TEST_F(LevelStartTest, LevelOne_StartsTheLineFromTheHighestNonEmptyLayer)
{
    // The last layer is empty, as the editor can save it.
    auto layers = kTwoLayers;
    layers.push_back({".,"});
    const std::string path = WriteLevelFile(LevelText("0,1,2,3,4", layers));
    Field().mode = GameMode::TwoSide;
    Field().boardLevel = 1;
    ASSERT_TRUE(Field().StartLevel(path, -1));
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
