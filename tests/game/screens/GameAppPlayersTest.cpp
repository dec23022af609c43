// The application's players and highscores on disk: what survives a bad file, how rename and
// delete treat the saved games, and that every change is written at once.

#include "app/PlatformClock.h"
#include "game/SavedGame.h"
#include "game/screens/GameApp.h"
#include "game/screens/PlayersFile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace fs = std::filesystem;

namespace {

class GameAppPlayersTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "quarrow-players-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        home = pattern;
        app.SetUserFileFolder(home.string());
    }
    void TearDown() override { fs::remove_all(home); }

    void WriteFile(const std::string& name, const std::string& bytes)
    {
        fs::create_directories((home / name).parent_path());
        std::ofstream(home / name, std::ios::binary) << bytes;
    }
    std::string ReadFile(const std::string& name)
    {
        std::ifstream file(home / name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), {});
    }
    PlayersData SavedPlayers()
    {
        const std::string bytes = ReadFile("players.dat");
        auto data =
            PlayersFile::Decode(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
        EXPECT_TRUE(data);
        return data ? std::move(*data) : PlayersData{};
    }

    fs::path home;
    GameApp app{std::make_unique<Zorva::FakeClock>()};
};

TEST_F(GameAppPlayersTest, AnUnusablePlayersFileIsMovedAsideAtTheFirstSaveNeverOverwritten)
{
    WriteFile("players.dat", "not a players file");
    app.LoadPlayers();
    EXPECT_TRUE(app.players.empty());
    EXPECT_EQ(app.currentPlayer, -1);
    EXPECT_EQ(ReadFile("players.dat"), "not a players file");

    ASSERT_TRUE(app.AddPlayer("Ann"));
    EXPECT_EQ(ReadFile("players.dat.bad"), "not a players file");
    PlayersData saved = SavedPlayers();
    ASSERT_EQ(saved.players.size(), 1u);
    EXPECT_EQ(saved.players[0]->name, "Ann");
}

TEST_F(GameAppPlayersTest, AddRefusesUnusableTakenAndTenthNames)
{
    EXPECT_FALSE(app.AddPlayer(""));
    EXPECT_FALSE(app.AddPlayer("a/b"));
    EXPECT_FALSE(app.AddPlayer("Thirteen-char"));
    ASSERT_TRUE(app.AddPlayer("Ann"));
    EXPECT_FALSE(app.AddPlayer("Ann"));
    EXPECT_TRUE(app.AddPlayer("ann"));
    for (int i = 2; i < 9; ++i) {
        ASSERT_TRUE(app.AddPlayer("P" + std::to_string(i)));
    }
    EXPECT_FALSE(app.AddPlayer("Tenth"));
    EXPECT_EQ(SavedPlayers().players.size(), 9u);
}

TEST_F(GameAppPlayersTest, RenameTakesTheSavedGamesAlongAndSavesAtOnce)
{
    ASSERT_TRUE(app.AddPlayer("Ann"));
    ASSERT_TRUE(app.AddPlayer("Bob"));
    app.SelectPlayer(0);
    WriteFile(SavedGame::FileName("Ann", GameMode::OneSide), "one-side game");
    WriteFile(SavedGame::FileName("Ann", GameMode::TwoSide), "two-side game");

    EXPECT_FALSE(app.RenamePlayer(0, "Bob"));
    EXPECT_FALSE(app.RenamePlayer(0, "Ann"));
    ASSERT_TRUE(app.RenamePlayer(0, "Cat"));
    EXPECT_EQ(ReadFile("saves/Cat1.sav"), "one-side game");
    EXPECT_EQ(ReadFile("saves/Cat2.sav"), "two-side game");
    EXPECT_FALSE(fs::exists(home / "saves/Ann1.sav"));
    EXPECT_FALSE(fs::exists(home / "saves/Ann2.sav"));
    EXPECT_EQ(SavedPlayers().players[0]->name, "Cat");
}

TEST_F(GameAppPlayersTest, RenameThatCannotCopyTheSaveChangesNothing)
{
    ASSERT_TRUE(app.AddPlayer("Ann"));
    WriteFile("saves/Ann1.sav", "game");
    // A folder in the way of the new file makes the copy fail.
    fs::create_directories(home / "saves/Cat1.sav");
    EXPECT_FALSE(app.RenamePlayer(0, "Cat"));
    EXPECT_EQ(app.players[0]->name, "Ann");
    EXPECT_EQ(ReadFile("saves/Ann1.sav"), "game");
}

TEST_F(GameAppPlayersTest, DeleteRemovesTheSavedGamesAndTheCurrentIndexFollows)
{
    for (const char* name : {"Ann", "Bob", "Cat"}) {
        ASSERT_TRUE(app.AddPlayer(name));
    }
    app.SelectPlayer(2);
    WriteFile("saves/Bob1.sav", "game");
    app.DeletePlayer(1);
    EXPECT_FALSE(fs::exists(home / "saves/Bob1.sav"));
    EXPECT_EQ(app.currentPlayer, 1);
    EXPECT_EQ(app.CurrentPlayer()->name, "Cat");
    // Deleting the first player while it is current leaves no current player.
    app.SelectPlayer(0);
    app.DeletePlayer(0);
    EXPECT_EQ(app.currentPlayer, -1);
    PlayersData saved = SavedPlayers();
    ASSERT_EQ(saved.players.size(), 1u);
    EXPECT_EQ(saved.currentPlayer, -1);
}

TEST_F(GameAppPlayersTest, HighscoresComeFromTheFileOrTheDefaults)
{
    app.LoadHighscores();
    EXPECT_EQ(app.Highscores(GameMode::OneSide), HighscoresFile::DefaultTable());
    HighscoreTable oneSide = HighscoresFile::DefaultTable();
    HighscoreTable twoSide = HighscoresFile::DefaultTable();
    oneSide[0] = {"Ann", 123456};
    WriteFile("highscores.dat", HighscoresFile::Encode(oneSide, twoSide));
    app.LoadHighscores();
    EXPECT_EQ(app.Highscores(GameMode::OneSide)[0].name, "Ann");
    EXPECT_EQ(app.Highscores(GameMode::TwoSide), HighscoresFile::DefaultTable());
}

} // namespace
