#include "game/screens/GameApp.h"

#include "ScreenTestSupport.h"

#include "app/MessageBoxService.h"
#include "app/PlatformClock.h"
#include "game/Board.h"
#include "game/HeadlessHost.h"
#include "game/screens/GameLaunch.h"
#include "game/screens/PlayersFile.h"
#include "game/screens/TestStateWriter.h"
#include "game/screens/TitleScreen.h"
#include "widgets/HyperlinkWidget.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

/// A game application on the fake clock, headless, with its own user folder and the data
/// folder `dataFolder`; the working directory is restored afterwards.
class GameAppTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        originalDirectory = fs::current_path();
        scratch = fs::temp_directory_path() / ("quarrow-gameapp-" + std::to_string(getpid()));
        fs::remove_all(scratch);
        fs::create_directories(scratch / "home");
        ::setenv("QUARROW_HOME", (scratch / "home").c_str(), 1);
    }
    void TearDown() override
    {
        app.reset();
        fs::current_path(originalDirectory);
        ::unsetenv("QUARROW_DATA");
        ::unsetenv("QUARROW_HOME");
        fs::remove_all(scratch);
    }

    void MakeApp(const fs::path& dataFolder)
    {
        ::setenv("QUARROW_DATA", dataFolder.c_str(), 1);
        auto clock = std::make_unique<Zorva::FakeClock>();
        fakeClock = clock.get();
        app = std::make_unique<GameApp>(std::move(clock));
        app->singleInstance = false;
        app->SetMessageBoxService(std::make_unique<RecordingMessageBox>(messages));
    }

    /// A players file in the user folder with one player, `name`, current.
    void WriteKnownPlayer(const std::string& name)
    {
        PlayersData known;
        known.players.push_back(std::make_unique<Player>());
        known.players[0]->name = name;
        known.currentPlayer = 0;
        ASSERT_TRUE(PlayersFile::Write((scratch / "home/players.dat").string(), known));
    }

    /// Runs loop steps until `done` holds; false after `limit` of them.
    template <typename Condition>
    bool RunUntil(Condition done, int limit)
    {
        for (int i = 0; i < limit && !done() && !app->IsShuttingDown(); ++i) {
            app->RunUntilUpdate();
            // The fake clock stands still for the loading thread, which needs real time.
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        return done();
    }

    fs::path originalDirectory;
    fs::path scratch;
    std::unique_ptr<GameApp> app;
    Zorva::FakeClock* fakeClock = nullptr;
    std::vector<std::string> messages;
};

TEST_F(GameAppTest, Init_MissingIdentifierReportsAndEnds)
{
    // The real data with one identifier of the title-screen group taken out of the manifest.
    const fs::path data = scratch / "data";
    fs::create_directories(data / "properties");
    for (const auto& entry : fs::directory_iterator(QUARROW_DATA_DIR)) {
        if (entry.path().filename() != "properties") {
            fs::create_directory_symlink(entry.path(), data / entry.path().filename());
        }
    }
    std::ifstream in(fs::path(QUARROW_DATA_DIR) / "properties/resources.xml");
    std::ofstream out(data / "properties/resources.xml");
    for (std::string line; std::getline(in, line);) {
        if (line.find("IMAGE_LOGO_BIG") == std::string::npos) {
            out << line << "\n";
        }
    }
    out.close();

    MakeApp(data);
    app->Init();
    EXPECT_TRUE(app->IsShuttingDown());
    EXPECT_TRUE(app->LoadingFailed());
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("IMAGE_LOGO_BIG"), std::string::npos) << messages[0];
    EXPECT_EQ(app->GetTitleScreen(), nullptr);
}

TEST_F(GameAppTest, Flow_LoadingScreenToOneSideGame)
{
    WriteKnownPlayer("Ann");
    MakeApp(QUARROW_DATA_DIR);
    app->Init();
    ASSERT_FALSE(app->IsShuttingDown()) << (messages.empty() ? "" : messages[0]);
    ASSERT_NE(app->GetTitleScreen(), nullptr);
    EXPECT_EQ(app->ScreenName(), "loading");
    EXPECT_GT(app->loadingTaskCount.load(), 100);

    app->StartLoadingThread();
    double lastProgress = 0;
    bool progressWentBack = false;
    ASSERT_TRUE(RunUntil(
        [&] {
            const double progress = app->GetLoadingProgress();
            progressWentBack |= progress < lastProgress;
            lastProgress = progress;
            return app->GetLoadingThread().IsHandled();
        },
        20000))
        << "shutting down " << app->IsShuttingDown() << ", progress " << lastProgress << ", "
        << (messages.empty() ? "" : messages[0]);
    EXPECT_FALSE(progressWentBack);
    EXPECT_DOUBLE_EQ(app->GetLoadingProgress(), 1.0);
    EXPECT_EQ(app->loadingTasksCompleted.load(), app->loadingTaskCount.load());
    EXPECT_FALSE(app->LoadingFailed());
    ASSERT_NE(app->CurrentPlayer(), nullptr);

    TitleScreen* title = app->GetTitleScreen();
    ASSERT_NE(title, nullptr);
    ASSERT_NE(title->Link(), nullptr);
    EXPECT_TRUE(title->Link()->visible);
    title->OnButtonActivated(TitleScreen::kLinkId);
    EXPECT_EQ(app->GetTitleScreen(), nullptr);
    // The known player is welcomed by the main menu, and the game starts from there.
    EXPECT_EQ(app->ScreenName(), "menu");
    EXPECT_EQ(app->CurrentPlayer()->name, "Ann");
    app->SetMode(GameMode::OneSide);
    app->EnterGameAndStartLevel();
    EXPECT_EQ(app->ScreenName(), "game");
    ASSERT_NE(app->GetBoard(), nullptr);
    const BoardModel& model = app->GetBoard()->model;
    EXPECT_EQ(model.field.mode, GameMode::OneSide);
    EXPECT_EQ(model.levelNumber, 1);
    EXPECT_GT(model.field.StoneCountInLayers(), 0);
    // Level 1 opens with how to play.
    EXPECT_EQ(app->OpenDialogIds(), std::vector<int>{1007});
    // The board stands still under the modal dialog.
    app->CloseDialog(1007);
    ASSERT_TRUE(RunUntil([&] { return app->AtRest(); }, 5000));

    // The state lists the board and every free stone with its pictures.
    const std::string state = TestStateWriter::Compose({"game", "Ann", {}, true, {}}, &model);
    EXPECT_NE(state.find("mode 2 level 1 score 0 moves "), std::string::npos) << state;
    EXPECT_NE(state.find("\ndeck 6 520 100 77 "), std::string::npos) << state;
    int listedStones = 0;
    for (const StoneList& layer : model.field.layers) {
        for (const auto& stone : layer) {
            listedStones += stone->faceUp ? 1 : 0;
        }
    }
    std::size_t found = 0;
    int stoneLines = 0;
    while ((found = state.find("\nstone ", found + 1)) != std::string::npos) {
        ++stoneLines;
    }
    EXPECT_GT(stoneLines, 0);
    EXPECT_EQ(stoneLines, listedStones);
}

TEST_F(GameAppTest, Loading_ClosingStopsWithinOneResource)
{
    MakeApp(QUARROW_DATA_DIR);
    app->Init();
    ASSERT_FALSE(app->IsShuttingDown());
    app->StartLoadingThread();
    ASSERT_TRUE(RunUntil([&] { return app->loadingTasksCompleted.load() >= 3; }, 20000));
    app->Shutdown();
    app->WaitForLoadingThread();
    EXPECT_LT(app->loadingTasksCompleted.load(), app->loadingTaskCount.load());
    EXPECT_FALSE(app->GetLoadingThread().IsHandled());
}

TEST_F(GameAppTest, StatisticsLog_StartsWithItsTitleAndTakesLinesOnlyWithTheDebugKeys)
{
    MakeApp(QUARROW_DATA_DIR);
    const fs::path log = scratch / "home" / GameApp::kStatisticsFile;
    app->AppendStatistics("One-Side Solitaire: Ann Completed Level 1(time 3 sec.) x\n");
    EXPECT_FALSE(fs::exists(log));
    app->debugKeysEnabled = true;
    app->AppendStatistics("One-Side Solitaire: Ann Completed Level 1(time 3 sec.) x\n");
    app->AppendStatistics("Two-Side Solitaire: Ann FAILED Level 2(time 9 sec.) y\n");
    std::ifstream file(log, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    EXPECT_EQ(text.str(), "Statistic file \n"
                          "One-Side Solitaire: Ann Completed Level 1(time 3 sec.) x\n"
                          "Two-Side Solitaire: Ann FAILED Level 2(time 9 sec.) y\n");
}

TEST_F(GameAppTest, Flow_SavedGameComesBackExactlyAndStaleOrBadOnesStepAside)
{
    WriteKnownPlayer("Ann");
    MakeApp(QUARROW_DATA_DIR);
    app->Init();
    app->StartLoadingThread();
    ASSERT_TRUE(RunUntil([&] { return app->GetLoadingThread().IsHandled(); }, 20000));
    app->GetTitleScreen()->OnButtonActivated(TitleScreen::kLinkId);
    ASSERT_EQ(app->ScreenName(), "menu");

    app->SetMode(GameMode::OneSide);
    app->EnterGameAndStartLevel();
    app->CloseDialog(1007);
    ASSERT_TRUE(RunUntil([&] { return app->AtRest(); }, 5000));
    const BoardModel& model = app->GetBoard()->model;
    const auto layout = [&] {
        return TestStateWriter::Compose({"game", "", {}, true, {}}, &model);
    };
    const std::string left = layout();
    ASSERT_TRUE(app->SaveGameInProgress());
    const fs::path save = scratch / "home/saves/Ann1.sav";
    ASSERT_TRUE(fs::exists(save));

    // Continuing replaces whatever the field holds by the saved game.
    app->RestartLevel();
    app->ContinueGame();
    ASSERT_TRUE(RunUntil([&] { return app->AtRest(); }, 5000));
    EXPECT_EQ(layout(), left);
    EXPECT_TRUE(fs::exists(save));

    // A save of a level the player has passed since is dropped; the map shows where to go on.
    app->CurrentPlayer()->oneSideLevel = 2;
    app->ContinueGame();
    EXPECT_FALSE(fs::exists(save));
    EXPECT_EQ(app->ScreenName(), "map");

    // An unreadable save is kept aside.
    app->PlayLevelFromMap();
    ASSERT_TRUE(RunUntil([&] { return app->AtRest(); }, 5000));
    EXPECT_EQ(model.levelNumber, 2);
    std::ofstream(save, std::ios::binary) << "not a saved game";
    app->ContinueGame();
    EXPECT_FALSE(fs::exists(save));
    EXPECT_TRUE(fs::exists(scratch / "home/saves/Ann1.sav.bad"));
    EXPECT_EQ(app->ScreenName(), "map");
    app->PlayLevelFromMap();
    ASSERT_TRUE(RunUntil([&] { return app->AtRest(); }, 5000));

    // Winning a level makes the mode's save stale: it goes.
    ASSERT_TRUE(app->SaveGameInProgress());
    app->SetLevelCompletedThisGame();
    EXPECT_FALSE(fs::exists(save));
}

TEST(GameLaunchTest, ParsesModeAndLevel)
{
    std::string error;
    auto launch = ParseGameLaunch("one", &error);
    ASSERT_TRUE(launch);
    EXPECT_EQ(launch->mode, GameMode::OneSide);
    EXPECT_EQ(launch->level, 0);
    launch = ParseGameLaunch("two:17", &error);
    ASSERT_TRUE(launch);
    EXPECT_EQ(launch->mode, GameMode::TwoSide);
    EXPECT_EQ(launch->level, 17);
    for (const char* bad : {"", "three", "one:", "one:0", "two:x", "two:5x", "one:1000"}) {
        EXPECT_FALSE(ParseGameLaunch(bad, &error)) << bad;
        EXPECT_FALSE(error.empty());
    }
}

TEST_F(GameAppTest, Editor_BelongsToTheModeItCameFromAndIsNeverSavedAsAGame)
{
    WriteKnownPlayer("Ann");
    MakeApp(QUARROW_DATA_DIR);
    app->Init();
    app->StartLoadingThread();
    ASSERT_TRUE(RunUntil([&] { return app->GetLoadingThread().IsHandled(); }, 20000));
    app->GetTitleScreen()->OnButtonActivated(TitleScreen::kLinkId);
    app->SetMode(GameMode::TwoSide);
    app->EnterGameAndStartLevel();
    app->CloseDialog(1007);
    ASSERT_TRUE(RunUntil([&] { return app->AtRest(); }, 5000));

    app->GetBoard()->model.ToggleEditor();
    EXPECT_EQ(app->GetBoard()->model.field.mode, GameMode::Editor);
    EXPECT_EQ(app->Mode(), GameMode::TwoSide);
    EXPECT_FALSE(app->SaveGameInProgress());
    EXPECT_FALSE(fs::exists(scratch / "home/saves/Ann2.sav"));
}

TEST(TestStateWriterTest, EditorListsItsStateAndEveryStoneByLayer)
{
    HeadlessHost host;
    BoardModel model(host);
    model.field.mode = GameMode::Editor;
    model.field.EnterEditor();
    model.field.EditorShift(3, 4);
    model.field.editorCursorX = 100;
    model.field.editorCursorY = 50;
    model.field.EditorAddStone()->keyNumber = 2;
    model.field.EditorKeyDown(Zorva::kVirtualKeyPageUp);
    model.field.EditorKeyDown(Zorva::kVirtualKeyTab);
    model.field.EditorAddStone()->lockNumber = 0;

    const std::string state = TestStateWriter::Compose({"game", "", {}, true, {}}, &model);
    // The rectangles are where the pointer hovers each stone: 7 pixels right of and above
    // its picture per layer.
    EXPECT_NE(state.find("\neditor layer 1 shift 3 4 cursor 100 50 grid 0\n"
                         "estone 0 71 23 79 49 -1 2\n"
                         "estone 1 78 16 79 49 0 -1\n"),
              std::string::npos)
        << state;
    EXPECT_EQ(state.find("\nstone "), std::string::npos) << state;
}

TEST(TestStateWriterTest, ComposesAndRewritesOnlyOnChange)
{
    EXPECT_EQ(TestStateWriter::Compose({"loading", "", {}, true, {}}, nullptr),
              "screen loading\nplayer -\ndialogs\nrest 1\n");
    EXPECT_EQ(TestStateWriter::Compose(
                  {"game", "Ann", {1005, 1007}, false, {"button 0 1 2 3 4 Main Menu"}}, nullptr),
              "screen game\nplayer Ann\ndialogs 1005 1007\nrest 0\nbutton 0 1 2 3 4 Main Menu\n");

    const fs::path path = fs::temp_directory_path() / ("quarrow-state-" + std::to_string(getpid()));
    TestStateWriter writer(path.string());
    ASSERT_TRUE(writer.Update("screen loading\n"));
    fs::remove(path);
    // Unchanged text is not written again.
    ASSERT_TRUE(writer.Update("screen loading\n"));
    EXPECT_FALSE(fs::exists(path));
    ASSERT_TRUE(writer.Update("screen game\n"));
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(), "screen game\n");
    fs::remove(path);
}

} // namespace
