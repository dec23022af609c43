// The real game killed at random moments while it loads, plays, saves and takes highscore
// entries: every next start finds a players file and saved games that load, and nothing the
// game keeps is ever set aside as unreadable. QUARROW_KILL_ROUNDS changes the number of kills.

#include "PlayedGameApp.h"

#include "game/screens/HighscoresFile.h"
#include "game/screens/PlayersFile.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <poll.h>
#include <random>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

/// What a played game reports on its pipe.
constexpr char kAtMenu = 'M';
constexpr char kSaved = 'S';

/// Why a started game gave up before it was killed.
enum ChildFailure
{
    kNoMainMenu = 10,
    kMessageShown,
    kPlayerLost,
    kSavedGameLost,
};

void Report(int pipe, char event)
{
    [[maybe_unused]] const ssize_t written = ::write(pipe, &event, 1);
}

/// Starts the game, checks what the last one left, then plays on, saving, leaving and
/// continuing over and over, until it is killed.
[[noreturn]] void PlayUntilKilled(int pipe, GameMode mode, unsigned seed)
{
    PlayedGameApp app;
    if (!app.LoadToMainMenu()) {
        ::_exit(kNoMainMenu);
    }
    if (!app.messages.empty()) {
        ::_exit(kMessageShown);
    }
    if (!app.CurrentPlayer() || app.CurrentPlayer()->name != "Kim") {
        ::_exit(kPlayerLost);
    }
    Report(pipe, kAtMenu);
    app.SetMode(mode);
    if (app.SavedGameExists(mode)) {
        app.ContinueGame();
        // A saved game of an earlier level is dropped and the map shown; a damaged one would
        // be set aside, which the parent sees.
        if (app.ScreenName() != "game" && app.ScreenName() != "map") {
            ::_exit(kSavedGameLost);
        }
    } else {
        app.EnterGameAndStartLevel();
    }
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> pause(5, 120);
    for (;;) {
        if (app.ScreenName() == "map") {
            app.PlayLevelFromMap();
        } else if (app.ScreenName() == "menu") {
            app.SetMode(mode);
            app.EnterGameAndStartLevel();
        }
        for (int round = 0; round < 3 && app.ScreenName() == "game"; ++round) {
            app.RunUpdates(pause(random));
            app.SaveAndExitToMainMenu();
            Report(pipe, kSaved);
            app.ContinueGame();
        }
        if (app.ScreenName() == "game") {
            app.PlayLevel(0);
        }
    }
}

/// Files the game set aside as unreadable, anywhere in the user folder.
std::vector<std::string> SetAsideFiles(const fs::path& home)
{
    std::vector<std::string> found;
    for (const auto& entry : fs::recursive_directory_iterator(home)) {
        if (entry.path().extension() == ".bad") {
            found.push_back(entry.path().filename().string());
        }
    }
    return found;
}

/// Waits up to `ms` for one event byte; 0 when none came.
char WaitForEvent(int pipe, int ms)
{
    pollfd waiting{pipe, POLLIN, 0};
    char event = 0;
    if (::poll(&waiting, 1, ms) > 0 && ::read(pipe, &event, 1) == 1) {
        return event;
    }
    return 0;
}

class GameKillTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        home = fs::temp_directory_path() / ("quarrow-kill-" + std::to_string(getpid()));
        fs::remove_all(home);
        fs::create_directories(home);
        ::setenv("QUARROW_HOME", home.c_str(), 1);
        ::setenv("QUARROW_DATA", QUARROW_DATA_DIR, 1);
        PlayersData known;
        known.players.push_back(std::make_unique<Player>());
        known.players[0]->name = "Kim";
        known.currentPlayer = 0;
        ASSERT_TRUE(PlayersFile::Write((home / "players.dat").string(), known));
    }
    void TearDown() override
    {
        ::unsetenv("QUARROW_DATA");
        ::unsetenv("QUARROW_HOME");
        fs::remove_all(home);
    }

    fs::path home;
};

TEST_F(GameKillTest, EveryStartAfterAKillFindsThePlayerAndGamesThatLoad)
{
    const char* roundsSetting = std::getenv("QUARROW_KILL_ROUNDS");
    const int rounds = roundsSetting ? std::atoi(roundsSetting) : 200;
    std::mt19937 random(20261210);
    // Mostly after the menu is up, while the game plays and saves, at times long enough to
    // finish levels and enter highscores; now and then while loading.
    std::uniform_int_distribution<int> playTime(0, 700);
    std::uniform_int_distribution<int> longPlayTime(700, 2500);
    std::uniform_int_distribution<int> loadingTime(0, 150);
    int killedWhilePlaying = 0;
    int savesSeen = 0;
    for (int round = 0; round < rounds; ++round) {
        int pipeEnds[2];
        ASSERT_EQ(::pipe(pipeEnds), 0);
        const GameMode mode = round % 2 ? GameMode::TwoSide : GameMode::OneSide;
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(pipeEnds[0]);
            PlayUntilKilled(pipeEnds[1], mode, static_cast<unsigned>(round));
        }
        ::close(pipeEnds[1]);
        if (round % 8 == 7) {
            ::usleep(static_cast<useconds_t>(loadingTime(random) * 1000));
        } else if (WaitForEvent(pipeEnds[0], 60000) == kAtMenu) {
            const int ms = round % 4 == 1 ? longPlayTime(random) : playTime(random);
            ::usleep(static_cast<useconds_t>(ms * 1000));
            ++killedWhilePlaying;
        }
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        for (char event; (event = WaitForEvent(pipeEnds[0], 0)) != 0;) {
            savesSeen += event == kSaved;
        }
        ::close(pipeEnds[0]);
        ASSERT_TRUE(WIFSIGNALED(status))
            << "round " << round << ": the game ended by itself with " << WEXITSTATUS(status);

        PlayersData players;
        ASSERT_EQ(PlayersFile::Read((home / "players.dat").string(), players),
                  PlayersFile::ReadResult::Loaded)
            << "round " << round;
        HighscoreTable oneSide;
        HighscoreTable twoSide;
        if (fs::exists(home / "highscores.dat")) {
            ASSERT_TRUE(HighscoresFile::Read((home / "highscores.dat").string(), oneSide, twoSide))
                << "round " << round;
        }
        ASSERT_EQ(SetAsideFiles(home), std::vector<std::string>{}) << "round " << round;
    }
    EXPECT_GT(killedWhilePlaying, rounds / 2);
    EXPECT_GT(savesSeen, rounds / 2);
    PlayersData players;
    PlayersFile::Read((home / "players.dat").string(), players);
    std::printf("%d kills, %d while playing, after %d saves; levels reached %d and %d%s\n", rounds,
                killedWhilePlaying, savesSeen, players.players[0]->oneSideLevel,
                players.players[0]->twoSideLevel,
                fs::exists(home / "highscores.dat") ? ", highscores written" : "");
}

} // namespace
