#pragma once

#include "app/ZorvaAppBase.h"
#include "game/BoardPanelHost.h"
#include "game/GameMode.h"
#include "game/PlayFieldHost.h"
#include "game/Player.h"
#include "game/screens/GameLaunch.h"
#include "game/screens/HighscoresFile.h"
#include "game/screens/MapHost.h"
#include "game/screens/MenuHost.h"
#include "game/screens/OptionsHost.h"
#include "game/screens/TitleScreenOwner.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace Zorva {
class MemoryImage;
}

class Board;
class BoardInterface;
class HintWnd;
class MapWnd;
class TestStateWriter;
class TitleScreen;
class TitleWnd;

/// The game's application object: it loads the resources behind the loading screen, owns
/// the game's screens, the players and the highscores, plays the music, and carries the
/// screen flow: loading screen, first player, main menu, game and back, with the saved games
/// and highscores written on the way. It is the host of the play field, the board panel and
/// the menus.
class GameApp : public Zorva::ZorvaAppBase,
                public PlayFieldHost,
                public BoardPanelHost,
                public TitleScreenOwner,
                public MenuHost,
                public MapHost,
                public OptionsHost
{
public:
    static constexpr int kSongCount = 6;
    static constexpr double kSongFadeSpeed = 0.002;
    static constexpr int kLevelCompleteDialogId = 101;
    /// The environment variable naming the PNG file the last frame is saved to at exit.
    static constexpr const char* kFinalFrameVariable = "QUARROW_FINAL_FRAME";
    /// The log in the user folder to which every finished level adds a line while the debug
    /// keys are on.
    static constexpr const char* kStatisticsFile = "stat.log";
    static constexpr int kOptionsMessageDialogId = 7;
    static constexpr int kSetCompleteDialogId = 118;
    static constexpr int kSaveLevelMessageDialogId = 119;
    static constexpr int kMapSong = 3;

    explicit GameApp(std::unique_ptr<Zorva::PlatformClock> platformClock = nullptr);
    ~GameApp() override;

    /// The framework's start-up, then the game's: the manifest, the groups "Init" and
    /// "TitleScreen", the loading screen, the songs and the loading tasks. A failure is
    /// reported and closes the application.
    void Init() override;
    /// Takes the game's own switches off before the framework reads the rest.
    bool ApplyCommandLine(const std::vector<Zorva::CommandLineParam>& params) override;

    // Loading
    void RunLoadingWork() override;
    void OnLoadingFinished() override;
    bool LoadingFailed() const { return loadingFailed; }

    // TitleScreenOwner
    void TitleScreenFinished() override;

    /// Shows the board and the panel and starts the current player's level of `mode`.
    void StartGame(GameMode mode);
    /// Leaves the game screens for the main menu, offering the highscore entry when the
    /// player's score of the mode earns a row.
    void ReturnToMainMenu();
    /// The whole level set of the mode is done: the all-levels-complete window, then the main
    /// menu with the highscore entry; the mode starts again at level 1 without a saved game.
    void GameCompleted() override;
    /// Fades every song out and `song` in from its start, looping.
    void ChangeSong(int song);

    // PlayFieldHost
    void PlaySound(int soundId) override;
    void FadeToSong(int track) override { ChangeSong(track); }
    void ShowHint(int x, int y, const std::string& text) override;
    void HideHint() override;
    void ShowLevelCompleteDialog(const std::string& title, const std::string& text,
                                 const std::string& buttonLabel) override;
    void ShowGameOverDialog() override;
    void ShowHowToPlayDialog(GameMode mode) override;
    bool RunUntilUpdate() override;
    int UpdateCount() const override { return GetUpdateCount(); }
    Player* CurrentPlayer() override;
    /// Writes the players file; an unusable one found at start is moved aside first.
    void SavePlayers() override;
    /// A won level also makes the mode's saved game stale: it is deleted.
    void SetLevelCompletedThisGame() override;
    void SetUndoEnabled(bool enabled) override;
    void SetReshuffleButton(const std::string& label, bool enabled) override;
    void ChangeBackground(const std::string& imagePath) override;
    void RebuildBackgroundCache() override;
    void AppendStatistics(const std::string& line) override;
    /// Marks the level's start in a demo being recorded.
    void OnLevelStarted(GameMode mode, int level) override;

    // BoardPanelHost
    void OpenInGameMenu() override;
    /// Leaves the board (or the main menu) for the level map at the player's level.
    void ShowLevelMap() override;
    bool DebugKeysEnabled() const override { return debugKeysEnabled; }
    /// The editor's F2: asks for a file name and writes the level into the user folder.
    void AskToSaveLevel() override;

    // MenuHost
    const std::vector<std::unique_ptr<Player>>& Players() const override { return players; }
    int CurrentPlayerIndex() const override { return currentPlayer; }
    void SelectPlayer(int index) override;
    bool AddPlayer(const std::string& name) override;
    bool RenamePlayer(int index, const std::string& newName) override;
    void DeletePlayer(int index) override;
    std::string& EnteredName() override { return enteredName; }
    GameMode Mode() const override;
    void SetMode(GameMode mode) override;
    bool SavedGameExists(GameMode mode) override;
    void ClearLevelCompleted() override { levelCompletedThisGame = false; }
    void EnterGameAndStartLevel() override;
    void ContinueGame() override;
    void StartNewGame() override;
    const HighscoreTable& Highscores(GameMode mode) const override;
    void OpenContinueDialog() override;
    void OpenChangePlayerDialog() override;
    void OpenHighscores(int highlightRow) override;
    void OpenHowToPlay() override;
    void ExitToMainMenu(bool save) override;
    void ResumeGame() override;
    void RestartLevel() override;
    void RequestExit() override { Shutdown(); }
    void OpenOptions() override;

    // MapHost
    LevelPreviewStore& Previews() override;
    void PlayLevelFromMap() override;

    // OptionsHost
    bool WindowedModeAvailable() override;
    Acceleration AccelerationVerdict() override;
    void OptionsClosed() override;

    /// Reads the players file; a file that exists but cannot be used is kept to be moved
    /// aside at the first save.
    void LoadPlayers();
    /// Both tables from the defaults, then from the highscores file when it can be read.
    void LoadHighscores();
    bool SaveHighscores();
    /// Deletes the current player's saved game of `mode`.
    void DeleteSavedGame(GameMode mode);
    /// Writes the game in progress to the current player's saved game of its mode.
    bool SaveGameInProgress();

    // The framework's hooks
    std::unique_ptr<Zorva::Dialog> CreateDialogObject(int id, bool modal, const std::string& header,
                                                      const std::string& lines,
                                                      const std::string& footer,
                                                      int buttonMode) override;
    void OnButtonActivated(int id) override;
    /// The framework's switch, then the options dialog's "Full Screen" box follows it.
    void ChangeScreenMode(bool wantWindowed, bool accelerated, bool force) override;
    using ZorvaAppBase::ChangeScreenMode;
    void OnDialogButtonActivated(int dialogId, int buttonId) override;
    void OnShutdownStarting() override;
    void OnFocusLost() override;
    bool HandleDebugKeyEarly(int key, bool ctrl, bool alt) override;
    void AdvanceOneUpdate() override;

    /// Writes the screen image as a PNG named with the date and time into the screenshot
    /// folder; the path written, or empty on failure.
    std::string SaveScreenshot();
    /// Writes the screen image as an opaque PNG; false when it could not be written.
    bool SaveScreenImage(const std::string& path);
    /// At shutdown, the whole screen drawn and saved where kFinalFrameVariable says.
    void SaveFinalFrame();

    TitleScreen* GetTitleScreen() const { return titleScreen.get(); }
    Board* GetBoard() const { return board.get(); }
    BoardInterface* GetPanel() const { return panel.get(); }
    HintWnd* GetHintWindow() const { return hintWindow.get(); }
    TitleWnd* GetMainMenu() const { return mainMenu.get(); }
    MapWnd* GetMap() const { return mapWindow.get(); }
    /// "loading" while the loading screen is up, "menu" while the main menu is shown, "game"
    /// while the board is shown.
    std::string ScreenName() const;
    /// No stone moves, turns or fades and no nested loop runs.
    bool AtRest() const;
    /// The ids of the open dialogs, bottom first.
    std::vector<int> OpenDialogIds() const;

    /// The level asked for on the command line, started straight after loading.
    std::optional<GameLaunch> launch;
    std::vector<std::unique_ptr<Player>> players;
    int currentPlayer = -1;
    bool levelCompletedThisGame = false;
    HighscoreTable oneSideScores;
    HighscoreTable twoSideScores;
    std::string enteredName;

private:
    bool LoadStartupGroups();
    void ReportResourceError();
    void LoadSongs();
    void EnterGameScreen();
    /// Takes the board, the panel and the map off the screen.
    void LeaveGameScreen();
    void ShowMainMenu();
    /// The first start: asks for the first player's name; with players but none current,
    /// the first one becomes current.
    void EnsureCurrentPlayer();
    /// The player started with --play: the current one, made when there is none.
    void ApplyLaunch();
    /// Loads the current player's saved game of the field's mode into the field; false when
    /// there is none that fits (an unreadable one is moved aside, a stale one deleted).
    bool LoadSavedGame();
    /// The exit confirmation (dialog 108); true when the player confirmed.
    bool ConfirmExitToMainMenu();
    void OfferHighscoreEntry();
    void WriteTestState();

    std::unique_ptr<TitleScreen> titleScreen;
    std::unique_ptr<Board> board;
    std::unique_ptr<BoardInterface> panel;
    std::unique_ptr<HintWnd> hintWindow;
    std::unique_ptr<TitleWnd> mainMenu;
    std::unique_ptr<MapWnd> mapWindow;
    std::unique_ptr<Zorva::MemoryImage> levelBackground;
    std::unique_ptr<TestStateWriter> testState;
    std::string loadingError;
    bool loadingFailed = false;
    bool startupGroupsLoaded = false;
    /// The players file found at start could not be used; it is moved aside, not
    /// overwritten, when the players are first saved.
    bool playersFileUnusable = false;
    /// The in-game menu was asked for while it could not open; it opens once it can.
    bool menuWanted = false;
};
