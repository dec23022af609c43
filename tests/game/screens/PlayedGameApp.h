#pragma once

#include "ScreenTestSupport.h"

#include "app/MessageBoxService.h"
#include "app/PlatformClock.h"
#include "game/AutoPlayer.h"
#include "game/AutoPlayerHost.h"
#include "game/Board.h"
#include "game/screens/DialogWithEdit.h"
#include "game/screens/GameApp.h"
#include "game/screens/GameOverWnd.h"
#include "game/screens/HighscoresWnd.h"
#include "game/screens/HowDialog.h"
#include "game/screens/TitleScreen.h"
#include "widgets/Dialog.h"

#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

/// The real game application, headless on the fake clock, played as a person would play it:
/// the casual automatic player makes the moves through the board's own pointer operations,
/// and the windows that wait for an answer (the exit question, a highscore name, the end of a
/// level set, how to play) are answered on the update after they open.
class PlayedGameApp : public GameApp, public AutoPlayerHost
{
public:
    struct LevelPlayed
    {
        GameMode mode = GameMode::OneSide;
        int level = 0;
        bool won = false;
        /// Games of the level started, replays included.
        int games = 0;
        int updates = 0;
    };

    /// The ids of the level-complete and exit-question dialogs.
    static constexpr int kLevelCompleteId = 101;
    static constexpr int kExitQuestionId = 108;
    static constexpr int kSetCompleteId = 118;

    PlayedGameApp() : GameApp(std::make_unique<Zorva::FakeClock>())
    {
        singleInstance = false;
        SetMessageBoxService(std::make_unique<RecordingMessageBox>(messages));
    }

    /// Loads behind the loading screen and clicks on to the main menu; false when the game
    /// closed or never got there.
    bool LoadToMainMenu()
    {
        Init();
        if (IsShuttingDown()) {
            return false;
        }
        StartLoadingThread();
        for (int i = 0; i < 200000 && !GetLoadingThread().IsHandled() && !IsShuttingDown(); ++i) {
            RunUntilUpdate();
            // The fake clock stands still for the loading thread, which needs real time.
            std::this_thread::sleep_for(std::chrono::microseconds(100));
        }
        if (!GetLoadingThread().IsHandled() || !GetTitleScreen() || !GetTitleScreen()->Link()) {
            return false;
        }
        GetTitleScreen()->OnButtonActivated(TitleScreen::kLinkId);
        return ScreenName() == "menu";
    }

    /// Plays the level on the board to its end. A lost level is replayed up to `replays`
    /// times; lost for good, the player's record moves on past it as if it had been won, so
    /// that a run reaches every level. Ends on the map, or on the main menu after a set.
    LevelPlayed PlayLevel(int replays)
    {
        BoardModel& model = GetBoard()->model;
        LevelPlayed played{model.field.mode, model.levelNumber, false, 0, 0};
        const int startUpdates = GetUpdateCount();
        for (;;) {
            ++played.games;
            AutoPlayer player(model, *this, AutoPlayer::Style::Casual);
            played.won = player.PlayToEnd().won;
            if (played.won || played.games > replays || !FindDialog(GameOverWnd::kDialogId)) {
                break;
            }
            FindDialog(GameOverWnd::kDialogId)->OnButtonActivated(GameOverWnd::kReplayButtonId);
        }
        played.updates = GetUpdateCount() - startUpdates;
        if (played.won) {
            RunUntilDialog(kLevelCompleteId);
            if (Zorva::Dialog* complete = FindDialog(kLevelCompleteId)) {
                complete->OnButtonActivated(Zorva::Dialog::kYesButtonId);
            }
            return played;
        }
        CloseDialog(GameOverWnd::kDialogId);
        Player& record = *CurrentPlayer();
        int& level = played.mode == GameMode::TwoSide ? record.twoSideLevel : record.oneSideLevel;
        level = played.level + 1;
        DeleteSavedGame(played.mode);
        SavePlayers();
        ShowLevelMap();
        return played;
    }

    /// Leaves the board for the main menu through the in-game menu's "save and exit", as a
    /// player who stops for now.
    void SaveAndExitToMainMenu() { ExitToMainMenu(true); }

    void RunUpdates(int count)
    {
        for (int i = 0; i < count && !IsShuttingDown(); ++i) {
            RunOneUpdate();
        }
    }

    // AutoPlayerHost
    void RunOneUpdate() override
    {
        // What was closed from out here, outside every loop step, waits for the loop to come
        // back to this depth, which it never does: it goes now, as the end of the game's own
        // loop step would delete it.
        if (GetNestingDepth() == 0) {
            ProcessDeferredDeletes();
        }
        RunUntilUpdate();
    }
    int UpdatesRun() const override { return GetUpdateCount(); }
    LevelEnd TakeLevelEnd() override
    {
        if (FindDialog(kLevelCompleteId)) {
            return LevelEnd::Won;
        }
        if (dynamic_cast<GameOverWnd*>(FindDialog(GameOverWnd::kDialogId))) {
            return LevelEnd::GameOver;
        }
        return LevelEnd::None;
    }
    void UseReshuffleAfterGameOver() override
    {
        if (Zorva::Dialog* gameOver = FindDialog(GameOverWnd::kDialogId)) {
            gameOver->OnButtonActivated(GameOverWnd::kUseReshuffleButtonId);
        }
    }

    void AdvanceOneUpdate() override
    {
        GameApp::AdvanceOneUpdate();
        AnswerWaitingWindows();
    }

    /// The texts of the message boxes shown.
    std::vector<std::string> messages;

private:
    void RunUntilDialog(int dialogId)
    {
        for (int i = 0; i < 1000 && !FindDialog(dialogId); ++i) {
            RunUntilUpdate();
        }
    }

    void AnswerWaitingWindows()
    {
        for (int id : {kExitQuestionId, kSetCompleteId}) {
            if (Zorva::Dialog* question = FindDialog(id)) {
                question->OnButtonActivated(Zorva::Dialog::kYesButtonId);
            }
        }
        auto* nameEntry = dynamic_cast<DialogWithEdit*>(FindDialog(DialogWithEdit::kDialogId));
        if (nameEntry) {
            nameEntry->OnButtonActivated(DialogWithEdit::kOkButtonId);
        } else if (FindDialog(HighscoresWnd::kDialogId)) {
            CloseDialog(HighscoresWnd::kDialogId);
        }
        if (FindDialog(HowDialog::kDialogId)) {
            CloseDialog(HowDialog::kDialogId);
        }
    }
};
