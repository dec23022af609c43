// The real game played level after level by the casual automatic player, with the game saved,
// left and continued on the way: nothing may fail, and the files it leaves must read back.
// QUARROW_SOAK_LEVELS sets how many levels of each mode are played ("all" for both whole
// sets); QUARROW_SOAK_HOURS instead keeps playing until that much game time has passed,
// starting the sets again, and prints the resident memory after every level.

#include "PlayedGameApp.h"

#include "game/screens/HighscoresFile.h"
#include "game/screens/PlayersFile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

constexpr int kUpdatesPerHour = 100 * 3600;

long ResidentKilobytes()
{
    std::ifstream statm("/proc/self/statm");
    long pages = 0;
    long resident = 0;
    statm >> pages >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

struct SoakPlan
{
    /// Levels of each mode; a set has fewer, and then ends first.
    int levelsPerMode = 2;
    /// Game time to play for, starting the sets again; 0 plays each set once.
    double hours = 0;
};

SoakPlan PlanFromEnvironment()
{
    SoakPlan plan;
    if (const char* levels = std::getenv("QUARROW_SOAK_LEVELS")) {
        plan.levelsPerMode = std::string(levels) == "all" ? 1000 : std::atoi(levels);
    }
    if (const char* hours = std::getenv("QUARROW_SOAK_HOURS")) {
        plan.hours = std::atof(hours);
        plan.levelsPerMode = 1000;
    }
    return plan;
}

class SoakTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        originalDirectory = fs::current_path();
        scratch = fs::temp_directory_path() / ("quarrow-soak-" + std::to_string(getpid()));
        fs::remove_all(scratch);
        fs::create_directories(scratch / "home");
        ::setenv("QUARROW_HOME", (scratch / "home").c_str(), 1);
        ::setenv("QUARROW_DATA", QUARROW_DATA_DIR, 1);
        PlayersData known;
        known.players.push_back(std::make_unique<Player>());
        known.players[0]->name = "Soak";
        known.currentPlayer = 0;
        ASSERT_TRUE(PlayersFile::Write((scratch / "home/players.dat").string(), known));
    }
    void TearDown() override
    {
        app.reset();
        fs::current_path(originalDirectory);
        ::unsetenv("QUARROW_DATA");
        ::unsetenv("QUARROW_HOME");
        fs::remove_all(scratch);
    }

    /// Plays the current mode from the player's level until the set ends, `levels` were
    /// played or the game time is used up; every third level is saved, left and continued.
    int PlayMode(GameMode mode, int levels, int updateLimit)
    {
        app->SetMode(mode);
        app->EnterGameAndStartLevel();
        int played = 0;
        while (played < levels && app->GetUpdateCount() < updateLimit && !app->IsShuttingDown()) {
            const std::string screen = app->ScreenName();
            if (screen == "map") {
                app->PlayLevelFromMap();
                if (played % 3 == 1) {
                    app->RunUpdates(60);
                    app->SaveAndExitToMainMenu();
                    EXPECT_EQ(app->ScreenName(), "menu");
                    app->ContinueGame();
                    // The saved game brings the board back, not the map.
                    EXPECT_EQ(app->ScreenName(), "game");
                }
                continue;
            }
            if (screen != "game") {
                break;
            }
            const PlayedGameApp::LevelPlayed level = app->PlayLevel(1);
            ++played;
            std::printf("%s level %2d: %s after %d game(s), %6d updates; at %.2f h, %ld KB\n",
                        mode == GameMode::TwoSide ? "Two-Side" : "One-Side", level.level,
                        level.won ? "won " : "lost", level.games, level.updates,
                        app->GetUpdateCount() / double(kUpdatesPerHour), ResidentKilobytes());
            std::fflush(stdout);
        }
        return played;
    }

    fs::path originalDirectory;
    fs::path scratch;
    std::unique_ptr<PlayedGameApp> app;
};

TEST_F(SoakTest, CasualPlayerThroughTheLevels)
{
    const SoakPlan plan = PlanFromEnvironment();
    app = std::make_unique<PlayedGameApp>();
    ASSERT_TRUE(app->LoadToMainMenu()) << (app->messages.empty() ? "" : app->messages[0]);

    const int updateLimit =
        plan.hours > 0 ? static_cast<int>(plan.hours * kUpdatesPerHour) : INT32_MAX;
    int played = 0;
    do {
        for (GameMode mode : {GameMode::OneSide, GameMode::TwoSide}) {
            played += PlayMode(mode, plan.levelsPerMode, updateLimit);
            if (app->ScreenName() != "menu") {
                app->SaveAndExitToMainMenu();
            }
        }
    } while (app->GetUpdateCount() < updateLimit && plan.hours > 0 && !app->IsShuttingDown());

    EXPECT_GE(played, std::min(plan.levelsPerMode, 50) * 2);
    EXPECT_TRUE(app->messages.empty()) << app->messages[0];
    app->Shutdown();
    app.reset();

    // What the game wrote on the way reads back.
    PlayersData players;
    ASSERT_EQ(PlayersFile::Read((scratch / "home/players.dat").string(), players),
              PlayersFile::ReadResult::Loaded);
    ASSERT_EQ(players.players.size(), 1u);
    if (plan.levelsPerMode < 50) {
        EXPECT_EQ(players.players[0]->oneSideLevel, plan.levelsPerMode + 1);
        EXPECT_EQ(players.players[0]->twoSideLevel, plan.levelsPerMode + 1);
    }
    HighscoreTable oneSide;
    HighscoreTable twoSide;
    if (fs::exists(scratch / "home/highscores.dat")) {
        EXPECT_TRUE(
            HighscoresFile::Read((scratch / "home/highscores.dat").string(), oneSide, twoSide));
    }
    for (const auto& entry : fs::directory_iterator(scratch / "home")) {
        EXPECT_NE(entry.path().extension(), ".bad") << entry.path();
    }
}

} // namespace
