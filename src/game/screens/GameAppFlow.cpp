// The game application's screen flow between the main menu and the game: entering a game,
// continuing a saved one, leaving for the main menu with the game saved, and the highscore
// entry on the way back.

#include "app/DisplayOutput.h"
#include "game/Board.h"
#include "game/BoardInterface.h"
#include "game/LevelPreviewStore.h"
#include "game/ResourceHandles.h"
#include "game/SavedGame.h"
#include "game/screens/ChPlayerDialog.h"
#include "game/screens/ContinueGameWnd.h"
#include "game/screens/DemoDialog.h"
#include "game/screens/DialogWithEdit.h"
#include "game/screens/GameApp.h"
#include "game/screens/HighscoresWnd.h"
#include "game/screens/MapWnd.h"
#include "game/screens/TitleWnd.h"
#include "graphics/Image.h"
#include "resources/Buffer.h"
#include "widgets/WidgetManager.h"

#include <chrono>

namespace {

constexpr int kMainMenuSong = 0;
constexpr int kExitConfirmationId = 108;

int PlayerLevel(const Player& player, GameMode mode)
{
    return mode == GameMode::TwoSide ? player.twoSideLevel : player.oneSideLevel;
}

int32_t& PlayerScore(Player& player, GameMode mode)
{
    return mode == GameMode::TwoSide ? player.twoSideScore : player.oneSideScore;
}

Zorva::Rect CentredOnScreen(const Zorva::Image* image)
{
    const int boxWidth = image ? image->GetWidth() : 400;
    const int boxHeight = image ? image->GetHeight() : 160;
    return Zorva::Rect(400 - boxWidth / 2, 300 - boxHeight / 2, boxWidth, boxHeight);
}

} // namespace

GameMode GameApp::Mode() const
{
    if (!board) {
        return GameMode::OneSide;
    }
    // The editor belongs to the set, records and saves of the mode it was entered from.
    const BoardModel& model = board->model;
    return model.field.mode == GameMode::Editor ? model.editorReturnMode : model.field.mode;
}

void GameApp::SetMode(GameMode mode)
{
    if (board) {
        board->model.field.mode = mode;
    }
}

bool GameApp::SavedGameExists(GameMode mode)
{
    const Player* player = CurrentPlayer();
    return player && UserFileExists(SavedGame::FileName(player->name, mode));
}

void GameApp::DeleteSavedGame(GameMode mode)
{
    if (const Player* player = CurrentPlayer()) {
        DeleteUserFile(SavedGame::FileName(player->name, mode));
    }
}

void GameApp::SetLevelCompletedThisGame()
{
    levelCompletedThisGame = true;
    // The won level is in the player record now; a save of the level before it is stale.
    DeleteSavedGame(Mode());
}

bool GameApp::SaveGameInProgress()
{
    const Player* player = CurrentPlayer();
    // A layout being edited is no game to continue; the last saved one is kept instead.
    if (!player || !board || board->model.field.mode == GameMode::Editor) {
        return false;
    }
    const std::string bytes = SavedGame::Save(board->model);
    Zorva::Buffer buffer;
    buffer.PutBytes(bytes.data(), bytes.size());
    return WriteUserFile(SavedGame::FileName(player->name, Mode()), buffer);
}

bool GameApp::LoadSavedGame()
{
    const Player* player = CurrentPlayer();
    if (!player || !board) {
        return false;
    }
    const GameMode mode = Mode();
    const std::string file = SavedGame::FileName(player->name, mode);
    if (!UserFileExists(file)) {
        return false;
    }
    Zorva::Buffer bytes;
    SavedGame::LoadResult result = SavedGame::LoadResult::Unreadable;
    if (ReadUserFile(file, bytes, SavedGame::kMaxFileBytes + 1)) {
        result = SavedGame::Load(bytes.DataPointer(), static_cast<std::size_t>(bytes.DataLength()),
                                 board->model,
                                 board->model.LevelFileName(mode, PlayerLevel(*player, mode)));
    }
    switch (result) {
    case SavedGame::LoadResult::Loaded:
        return true;
    case SavedGame::LoadResult::OtherLevel:
        OutputDebug("The saved game " + file + " is of an earlier level; it is deleted\n");
        DeleteUserFile(file);
        return false;
    case SavedGame::LoadResult::Unreadable:
        OutputDebug("The saved game " + file + " cannot be read; it is kept as " + file + ".bad\n");
        RenameUserFile(file, file + ".bad");
        return false;
    }
    return false;
}

void GameApp::EnterGameAndStartLevel()
{
    if (!board) {
        return;
    }
    // The menu may have set up a fresh game in the player record.
    SavePlayers();
    StartGame(Mode());
}

void GameApp::ContinueGame()
{
    if (!board) {
        return;
    }
    if (LoadSavedGame()) {
        EnterGameScreen();
        return;
    }
    // Without a saved game the player chooses on the map where to go on.
    ShowLevelMap();
}

void GameApp::ShowLevelMap()
{
    if (!mapWindow) {
        return;
    }
    LeaveGameScreen();
    Zorva::WidgetManager& widgets = *GetWidgetManager();
    if (mainMenu && mainMenu->GetManager()) {
        widgets.RemoveWidget(mainMenu.get());
    }
    widgets.AddWidget(mapWindow.get());
    widgets.SetFocus(mapWindow.get());
    ChangeSong(kMapSong);
    const auto started = std::chrono::steady_clock::now();
    mapWindow->Show();
    const auto spent = std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::steady_clock::now() - started);
    OutputDebug("The level map took " + std::to_string(spent.count() / 1000.0) +
                " ms to prepare\n");
}

void GameApp::PlayLevelFromMap()
{
    EnterGameAndStartLevel();
}

LevelPreviewStore& GameApp::Previews()
{
    return board->previews;
}

void GameApp::GameCompleted()
{
    if (mapWindow) {
        mapWindow->unroll = 100;
    }
    auto dialog = std::make_unique<Zorva::Dialog>(IMAGE_COMPLETE_WND, IMAGE_BUTTON_NORMAL,
                                                  kSetCompleteDialogId, true, "", "", "Ok",
                                                  Zorva::Dialog::kButtonsFooter);
    dialog->contentInsets = Zorva::Insets{80, 80, 80, 80};
    // The window's art carries its message; the button sits below it inside the frame, about
    // as wide as its face.
    dialog->backgroundInsets.bottom = 14;
    dialog->buttonSidePadding = 116;
    dialog->SetColorAt(Zorva::Dialog::kColorButtonText, Zorva::Color(0, 0, 0));
    dialog->SetColorAt(Zorva::Dialog::kColorButtonTextHovered, Zorva::Color(255, 255, 255));
    dialog->SetButtonFont(FONT_DEFAULT);
    dialog->Place(CentredOnScreen(IMAGE_COMPLETE_WND));
    Zorva::Dialog* shown = AttachDialog(kSetCompleteDialogId, std::move(dialog));
    if (!shown || shown->WaitForResult(true) != Zorva::Dialog::kYesButtonId) {
        return;
    }
    ReturnToMainMenu();
    Player* player = CurrentPlayer();
    if (!player) {
        return;
    }
    const GameMode mode = Mode();
    (mode == GameMode::TwoSide ? player->twoSideLevel : player->oneSideLevel) = 1;
    PlayerScore(*player, mode) = 0;
    DeleteSavedGame(mode);
    SavePlayers();
}

void GameApp::StartNewGame()
{
    Player* player = CurrentPlayer();
    if (!player) {
        return;
    }
    const GameMode mode = Mode();
    DeleteSavedGame(mode);
    (mode == GameMode::TwoSide ? player->twoSideLevel : player->oneSideLevel) = 1;
    PlayerScore(*player, mode) = 0;
    player->reshuffles = 1;
    player->pileCount = 2;
    SavePlayers();
    EnterGameAndStartLevel();
}

void GameApp::OpenContinueDialog()
{
    AttachDialog(ContinueGameWnd::kDialogId, std::make_unique<ContinueGameWnd>(*this, *this));
}

void GameApp::OpenChangePlayerDialog()
{
    AttachDialog(ChPlayerDialog::kDialogId, std::make_unique<ChPlayerDialog>(*this, *this));
}

void GameApp::OpenHighscores(int highlightRow)
{
    AttachDialog(HighscoresWnd::kDialogId,
                 std::make_unique<HighscoresWnd>(*this, *this, highlightRow));
}

void GameApp::OpenHowToPlay()
{
    ShowHowToPlayDialog(Mode());
}

void GameApp::OpenOptions()
{
    auto dialog = std::make_unique<DemoDialog>(*this, *this);
    dialog->Place(130, 90, 540, 415);
    AttachDialog(DemoDialog::kDialogId, std::move(dialog));
}

bool GameApp::WindowedModeAvailable()
{
    return !GetWindowState().forcedFullscreen;
}

OptionsHost::Acceleration GameApp::AccelerationVerdict()
{
    const Zorva::DisplayOutput* display = GetDisplayOutput();
    return display && display->CanAccelerate() ? Acceleration::Recommended
                                               : Acceleration::Unavailable;
}

void GameApp::OptionsClosed()
{
    Zorva::WidgetManager& widgets = *GetWidgetManager();
    // The focus goes back to what lies below: a dialog still open (the in-game menu), else
    // the screen shown.
    Zorva::Widget* below = nullptr;
    for (Zorva::Widget* widget : widgets.GetChildren()) {
        const auto* dialog = dynamic_cast<const Zorva::Dialog*>(widget);
        if (dialog && dialog->id != DemoDialog::kDialogId) {
            below = widget;
        }
    }
    for (Zorva::Widget* screen :
         {static_cast<Zorva::Widget*>(panel.get()), static_cast<Zorva::Widget*>(mainMenu.get()),
          static_cast<Zorva::Widget*>(mapWindow.get())}) {
        if (!below && screen && screen->GetManager()) {
            below = screen;
        }
    }
    if (below) {
        widgets.SetFocus(below);
    }
}

void GameApp::ResumeGame()
{
    if (panel && panel->GetManager()) {
        GetWidgetManager()->SetFocus(panel.get());
    }
}

void GameApp::RestartLevel()
{
    ResumeGame();
    if (board) {
        std::string error;
        if (!board->model.RestartLevel(&error)) {
            OutputDebug("The level could not be started again: " + error + "\n");
        }
    }
}

bool GameApp::ConfirmExitToMainMenu()
{
    auto dialog = std::make_unique<Zorva::Dialog>(
        IMAGE_DIALOG_BOX, IMAGE_BUTTON_NORMAL, kExitConfirmationId, true, "",
        "Do you really want stop playing and exit to Main Menu? Your game will be saved.", "",
        Zorva::Dialog::kButtonsYesNo);
    dialog->contentInsets = Zorva::Insets{40, 40, 40, 20};
    // Narrow margins inside the frame leave the four lines of text clear of the buttons.
    dialog->backgroundInsets = Zorva::Insets{14, 14, 14, 14};
    dialog->SetButtonFont(FONT_DEFAULT);
    dialog->SetLinesFont(FONT_DEFAULT);
    dialog->SetColorAt(Zorva::Dialog::kColorLines, Zorva::Color(255, 255, 255));
    dialog->Place(CentredOnScreen(IMAGE_W_SMALL));
    Zorva::Dialog* shown = AttachDialog(kExitConfirmationId, std::move(dialog));
    return shown && shown->WaitForResult(true) == Zorva::Dialog::kYesButtonId;
}

void GameApp::ExitToMainMenu(bool save)
{
    if (!board || !ConfirmExitToMainMenu()) {
        ResumeGame();
        return;
    }
    if (save) {
        SaveGameInProgress();
        SavePlayers();
    } else {
        DeleteSavedGame(Mode());
    }
    if (levelCompletedThisGame) {
        ReturnToMainMenu();
        return;
    }
    LeaveGameScreen();
    ShowMainMenu();
    ChangeSong(kMainMenuSong);
}

void GameApp::ReturnToMainMenu()
{
    LeaveGameScreen();
    ShowMainMenu();
    ChangeSong(kMainMenuSong);
    OfferHighscoreEntry();
}

void GameApp::OfferHighscoreEntry()
{
    Player* player = CurrentPlayer();
    if (!player) {
        return;
    }
    const GameMode mode = Mode();
    HighscoreTable& table = mode == GameMode::TwoSide ? twoSideScores : oneSideScores;
    const int32_t score = PlayerScore(*player, mode);
    if (!HighscoresFile::Qualifies(table, score)) {
        return;
    }
    auto* scoresWindow = static_cast<HighscoresWnd*>(
        AttachDialog(HighscoresWnd::kDialogId, std::make_unique<HighscoresWnd>(*this, *this, -1)));
    const int result =
        DialogWithEdit::Ask(*this, *this, "Your score " + std::to_string(score) + "!",
                            "Enter Your Name", player->name, DialogWithEdit::CentredBounds());
    if (result != DialogWithEdit::kConfirmed) {
        return;
    }
    const std::optional<std::size_t> row = HighscoresFile::Insert(table, enteredName, score);
    // The window may have been closed while the name was asked for.
    if (row && FindDialog(HighscoresWnd::kDialogId) == scoresWindow) {
        scoresWindow->SetHighlightRow(static_cast<int>(*row));
    }
    SaveHighscores();
}
