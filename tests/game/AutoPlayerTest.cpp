#include "GameTestSupport.h"

#include "game/AutoPlayer.h"

namespace {

AutoPlayer::Result PlayLevel(const std::string& file, GameMode mode, uint32_t seed,
                             AutoPlayer::Style style = AutoPlayer::Style::Careful)
{
    Zorva::Rand().SRand(seed);
    HeadlessHost host;
    host.player.showHowToPlay = false;
    BoardModel board(host);
    board.field.mode = mode;
    board.dataPrefix = "";
    host.onUpdate = [&board] { board.Tick(); };
    EXPECT_TRUE(board.StartLevel(std::string(QUARROW_TEST_DATA_DIR "/levels/") + file, 2));
    AutoPlayer player(board, host, style);
    return player.PlayToEnd();
}

} // namespace

TEST(AutoPlayerTest, SmallLevel_PlayedToTheEndInBothModes)
{
    for (const GameMode mode : {GameMode::OneSide, GameMode::TwoSide}) {
        for (uint32_t seed = 1; seed <= 3; ++seed) {
            const AutoPlayer::Result result = PlayLevel("small12.xml", mode, seed);
            EXPECT_FALSE(result.stuck);
            EXPECT_TRUE(result.won) << "mode " << static_cast<int>(mode) << " seed " << seed;
            EXPECT_GE(result.moves, 12);
            EXPECT_GE(result.score, 12 * 20);
        }
    }
}

TEST(AutoPlayerTest, LayeredLevelWithLockAndKey_EndsEveryGame)
{
    for (const GameMode mode : {GameMode::OneSide, GameMode::TwoSide}) {
        for (uint32_t seed = 10; seed < 13; ++seed) {
            const AutoPlayer::Result result = PlayLevel("layered40.xml", mode, seed);
            EXPECT_FALSE(result.stuck);
            EXPECT_GT(result.ticks, 0);
        }
    }
}

TEST(AutoPlayerTest, CasualPlayer_WinsAnEasyLevelWithLegalMovesOnly)
{
    int wins = 0;
    for (const GameMode mode : {GameMode::OneSide, GameMode::TwoSide}) {
        for (uint32_t seed = 1; seed <= 4; ++seed) {
            const AutoPlayer::Result result =
                PlayLevel("small12.xml", mode, seed, AutoPlayer::Style::Casual);
            EXPECT_FALSE(result.stuck);
            EXPECT_EQ(result.refused, 0) << "mode " << static_cast<int>(mode) << " seed " << seed;
            wins += result.won;
        }
    }
    // A single open layer with a full deck: a player who only looks one step ahead still wins
    // nearly every game.
    EXPECT_GE(wins, 7);
}

TEST(AutoPlayerTest, CasualPlayer_EndsLayeredGamesWithLegalMovesOnly)
{
    for (const GameMode mode : {GameMode::OneSide, GameMode::TwoSide}) {
        for (uint32_t seed = 10; seed < 13; ++seed) {
            const AutoPlayer::Result result =
                PlayLevel("layered40.xml", mode, seed, AutoPlayer::Style::Casual);
            EXPECT_FALSE(result.stuck);
            EXPECT_EQ(result.refused, 0) << "mode " << static_cast<int>(mode) << " seed " << seed;
        }
    }
}
