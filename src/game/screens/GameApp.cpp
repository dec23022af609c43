#include "game/screens/GameApp.h"

#include "audio/MusicInterface.h"
#include "game/Board.h"
#include "game/BoardInterface.h"
#include "game/ResourceHandles.h"
#include "game/screens/DemoDialog.h"
#include "game/screens/GameOverWnd.h"
#include "game/screens/HintWnd.h"
#include "game/screens/HowDialog.h"
#include "game/screens/MapWnd.h"
#include "game/screens/MenuWnd.h"
#include "game/screens/ProductInfo.h"
#include "game/screens/ResourceBinding.h"
#include "game/screens/SaveLevelDialog.h"
#include "game/screens/TestStateControls.h"
#include "game/screens/TestStateWriter.h"
#include "game/screens/TitleScreen.h"
#include "game/screens/TitleWnd.h"
#include "graphics/ImageLib.h"
#include "graphics/MemoryImage.h"
#include "resources/ResourceManager.h"
#include "system/AppFiles.h"
#include "system/Latin1Text.h"
#include "widgets/Checkbox.h"
#include "widgets/Dialog.h"
#include "widgets/FlagsMod.h"
#include "widgets/InputCodes.h"
#include "widgets/WidgetManager.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>

namespace {

constexpr const char* kManifestPath = "properties/resources.xml";
constexpr const char* kLogosPath = "properties/logos.xml";
constexpr const char* kSongFiles[GameApp::kSongCount] = {
    "music/vibe-coe.mo3", "music/vibe-cty.mo3", "music/vibe-dxm.mo3",
    "music/vibe-gws.mo3", "music/vibe-ovr.mo3", "music/vibe-sw.mo3",
};
constexpr int kLoadingSong = 0;

} // namespace

GameApp::GameApp(std::unique_ptr<Zorva::PlatformClock> platformClock)
    : ZorvaAppBase(std::move(platformClock))
{
    productName = ProductInfo::kProductName;
    companyTitle = ProductInfo::kCompanyName;
    productVersion = ProductInfo::ProductVersion();
    windowCaption = ProductInfo::WindowTitle();
    registryKey = std::string(ProductInfo::kCompanyName) + "\\" + ProductInfo::kProductName;
    width = 800;
    height = 600;
    windowedRequested = false;
    if (const char* statePath = std::getenv(TestStateWriter::kVariable); statePath && *statePath) {
        testState = std::make_unique<TestStateWriter>(statePath);
    }
}

GameApp::~GameApp()
{
    // The loading work reads this object's members.
    WaitForLoadingThread();
    Zorva::WidgetManager* widgets = GetWidgetManager();
    for (Zorva::Widget* screen :
         std::initializer_list<Zorva::Widget*>{titleScreen.get(), board.get(), panel.get(),
                                               hintWindow.get(), mainMenu.get(), mapWindow.get()}) {
        if (screen && widgets) {
            widgets->RemoveWidget(screen);
        }
    }
    DeleteRemainingDialogs();
    mapWindow.reset();
    mainMenu.reset();
    hintWindow.reset();
    panel.reset();
    board.reset();
    titleScreen.reset();
    if (Zorva::ResourceManager* resources = GetResourceManager()) {
        for (const char* group : {"Init", "TitleScreen", "Game"}) {
            resources->DeleteResources(group);
        }
    }
    ResetResourceHandles();
}

bool GameApp::ApplyCommandLine(const std::vector<Zorva::CommandLineParam>& params)
{
    std::vector<Zorva::CommandLineParam> frameworkParams;
    for (const Zorva::CommandLineParam& param : params) {
        if (param.name != kGameLaunchSwitch) {
            frameworkParams.push_back(param);
            continue;
        }
        std::string error;
        launch = ParseGameLaunch(param.value, &error);
        if (!launch) {
            EndWithCommandLineError(error);
            return false;
        }
    }
    return ZorvaAppBase::ApplyCommandLine(frameworkParams);
}

void GameApp::Init()
{
    ZorvaAppBase::Init();
    if (IsShuttingDown()) {
        return;
    }
    if (!LoadStartupGroups()) {
        loadingFailed = true;
        ReportResourceError();
        Shutdown();
        return;
    }
    titleScreen = std::make_unique<TitleScreen>(*this, *this);
    titleScreen->Place(0, 0, width, height);
    titleScreen->CreateLink();
    GetWidgetManager()->AddWidget(titleScreen.get());
    LoadSongs();
    loadingTaskCount = GetResourceManager()->CountResources("Game");
    // Widgets under a modal dialog stand still as well.
    GetWidgetManager()->defaultBelowModalRemove |= Zorva::kWidgetUpdate;
    titleScreen->LoadLogos(kLogosPath);
}

bool GameApp::LoadStartupGroups()
{
    Zorva::ResourceManager& resources = *GetResourceManager();
    startupGroupsLoaded = resources.ParseManifest(kManifestPath) &&
                          resources.LoadResources("Init") && BindInitGroup(resources) &&
                          resources.LoadResources("TitleScreen") && BindTitleScreenGroup(resources);
    return startupGroupsLoaded;
}

void GameApp::ReportResourceError()
{
    std::string text = loadingError;
    if (text.empty()) {
        text = GetResourceManager()->GetErrorText();
    }
    if (text.empty()) {
        text = "The game's resources could not be loaded.";
    }
    ShowErrorBox(text);
}

void GameApp::LoadSongs()
{
    Zorva::MusicInterface* music = GetMusicInterface();
    if (!music) {
        return;
    }
    for (int song = 0; song < kSongCount; ++song) {
        music->LoadMusic(song, kSongFiles[song]);
    }
    music->FadeIn(kLoadingSong, 0, kSongFadeSpeed, false);
}

void GameApp::ChangeSong(int song)
{
    Zorva::MusicInterface* music = GetMusicInterface();
    if (!music) {
        return;
    }
    music->FadeOutAll(true, kSongFadeSpeed);
    music->FadeIn(song, 0, kSongFadeSpeed, false);
}

void GameApp::RunLoadingWork()
{
    Zorva::ResourceManager& resources = *GetResourceManager();
    resources.StartLoading("Game");
    while (resources.LoadNextResource()) {
        ++loadingTasksCompleted;
        if (IsShuttingDown()) {
            return;
        }
    }
    if (resources.HadError()) {
        loadingError = resources.GetErrorText();
        loadingFailed = true;
    } else if (!BindGameGroup(resources)) {
        loadingError = resources.GetErrorText();
        loadingFailed = true;
    }
}

void GameApp::OnLoadingFinished()
{
    if (loadingFailed) {
        // Reported here rather than on the loading thread, which must not open windows.
        ReportResourceError();
        return;
    }
    if (titleScreen) {
        titleScreen->LoadingCompleted();
        titleScreen->Invalidate();
    }
    LoadPlayers();
    LoadHighscores();
    if (launch && titleScreen) {
        titleScreen->OnButtonActivated(TitleScreen::kLinkId);
    }
}

void GameApp::TitleScreenFinished()
{
    // The screen has left the manager and is queued for deletion with its link.
    (void)titleScreen.release();
    board = std::make_unique<Board>(*this);
    panel = std::make_unique<BoardInterface>(*board, *this, *this);
    GetResourceManager()->DeleteResources("TitleScreen");
    ResetTitleScreenGroup();
    board->Place(0, 0, 0, 0);
    panel->Place(0, 0, width, height);
    mainMenu = std::make_unique<TitleWnd>(*this, *this);
    mainMenu->Place(0, 0, width, height);
    mainMenu->LoadLogos(kLogosPath);
    mapWindow = std::make_unique<MapWnd>(*this, *this);
    mapWindow->Place(0, 0, width, height);
    hintWindow = std::make_unique<HintWnd>(*this);
    ShowMainMenu();
    if (launch) {
        ApplyLaunch();
        return;
    }
    EnsureCurrentPlayer();
}

void GameApp::ShowMainMenu()
{
    Zorva::WidgetManager& widgets = *GetWidgetManager();
    if (!mainMenu->GetManager()) {
        widgets.AddWidget(mainMenu.get());
    }
    widgets.SetFocus(mainMenu.get());
}

void GameApp::StartGame(GameMode mode)
{
    if (!board) {
        return;
    }
    EnterGameScreen();
    board->model.field.mode = mode;
    std::string error;
    if (!board->model.StartLevelFromPlayer(&error)) {
        OutputDebug("The level could not be started: " + error + "\n");
    }
}

void GameApp::EnterGameScreen()
{
    Zorva::WidgetManager& widgets = *GetWidgetManager();
    if (!panel->GetManager()) {
        widgets.AddWidget(panel.get());
        widgets.AddWidget(board.get());
    }
    widgets.SetFocus(panel.get());
    for (Zorva::Widget* screen : {static_cast<Zorva::Widget*>(mainMenu.get()),
                                  static_cast<Zorva::Widget*>(mapWindow.get())}) {
        if (screen && screen->GetManager()) {
            widgets.RemoveWidget(screen);
        }
    }
}

void GameApp::LeaveGameScreen()
{
    HideHint();
    Zorva::WidgetManager& widgets = *GetWidgetManager();
    widgets.RemoveWidget(board.get());
    widgets.RemoveWidget(panel.get());
    if (mapWindow && mapWindow->GetManager()) {
        widgets.RemoveWidget(mapWindow.get());
    }
}

void GameApp::PlaySound(int soundId)
{
    if (soundId >= 0) {
        PlaySoundOnce(soundId);
    }
}

void GameApp::ShowHint(int x, int y, const std::string& text)
{
    if (hintWindow) {
        hintWindow->Show(*GetWidgetManager(), x, y, text);
    }
}

void GameApp::HideHint()
{
    if (hintWindow) {
        hintWindow->Hide();
    }
}

void GameApp::ShowLevelCompleteDialog(const std::string& title, const std::string& text,
                                      const std::string& buttonLabel)
{
    HideHint();
    ShowNewDialog(kLevelCompleteDialogId, true, title, text, buttonLabel,
                  Zorva::Dialog::kButtonsFooter);
}

void GameApp::ShowGameOverDialog()
{
    if (!panel) {
        return;
    }
    // The hint would lie over the dialog and point at a board that waits.
    HideHint();
    auto dialog = std::make_unique<GameOverWnd>(*this, *panel);
    const int dialogWidth = IMAGE_W_SMALL ? IMAGE_W_SMALL->GetWidth() : 400;
    const int dialogHeight = IMAGE_W_SMALL ? IMAGE_W_SMALL->GetHeight() : 160;
    dialog->Place(400 - dialogWidth / 2, 300 - dialogHeight / 2, dialogWidth, dialogHeight);
    AttachDialog(GameOverWnd::kDialogId, std::move(dialog));
}

void GameApp::ShowHowToPlayDialog(GameMode mode)
{
    auto dialog = std::make_unique<HowDialog>(*this, *this, mode);
    dialog->Place(0, 0, width, height);
    AttachDialog(HowDialog::kDialogId, std::move(dialog));
}

bool GameApp::RunUntilUpdate()
{
    return ZorvaAppBase::RunUntilUpdate();
}

Player* GameApp::CurrentPlayer()
{
    if (currentPlayer < 0 || currentPlayer >= static_cast<int>(players.size())) {
        return nullptr;
    }
    return players[static_cast<std::size_t>(currentPlayer)].get();
}

void GameApp::SetUndoEnabled(bool enabled)
{
    if (panel) {
        panel->SetUndoEnabled(enabled);
    }
}

void GameApp::SetReshuffleButton(const std::string& label, bool enabled)
{
    if (panel) {
        panel->SetReshuffleButton(label, enabled);
    }
}

void GameApp::ChangeBackground(const std::string& imagePath)
{
    // The old picture goes before the new one is read, so that two are never held at once.
    if (board) {
        board->SetLevelBackground(nullptr);
    }
    levelBackground.reset();
    levelBackground = LoadImageToSurface(imagePath, true);
    if (!levelBackground) {
        OutputDebug("The level background " + imagePath + " could not be loaded\n");
    }
    if (board) {
        board->SetLevelBackground(levelBackground.get());
    }
}

void GameApp::RebuildBackgroundCache()
{
    if (board) {
        board->RebuildBackground();
    }
}

void GameApp::AppendStatistics(const std::string& line)
{
    // A replay leaves the user folder as it is.
    if (!debugKeysEnabled || IsPlayingDemo()) {
        return;
    }
    const std::string folder = Zorva::UserFolder();
    if (!Zorva::EnsureFolder(folder)) {
        return;
    }
    const std::string path = folder + "/" + kStatisticsFile;
    const bool isNew = !Zorva::FileExists(path);
    std::ofstream log(path, std::ios::app | std::ios::binary);
    if (isNew) {
        log << "Statistic file \n";
    }
    // The line brings its own end.
    log << line;
    if (!log) {
        OutputDebug("Could not append to " + path + "\n");
    }
}

void GameApp::OpenInGameMenu()
{
    if (!board || !panel) {
        return;
    }
    // Not while a level starts or the deck deals: the request waits until that has ended.
    if (board->model.field.loading || board->model.deck.busy) {
        menuWanted = true;
        return;
    }
    menuWanted = false;
    if (!panel->GetManager() || FindDialog(MenuWnd::kDialogId)) {
        return;
    }
    // A stone held at the pointer goes home before anything covers the board.
    panel->CancelDrag();
    HideHint();
    Zorva::Dialog* menu = AttachDialog(MenuWnd::kDialogId, std::make_unique<MenuWnd>(*this, *this));
    GetWidgetManager()->SetFocus(menu);
}

std::unique_ptr<Zorva::Dialog>
GameApp::CreateDialogObject(int id, bool modal, const std::string& header, const std::string& lines,
                            const std::string& footer, int buttonMode)
{
    auto dialog = std::make_unique<Zorva::Dialog>(IMAGE_W_SMALL, IMAGE_BUTTON_NORMAL, id, modal,
                                                  header, lines, footer, buttonMode);
    dialog->SetHeaderFont(FONT_DEFAULT);
    dialog->SetLinesFont(FONT_DEFAULT);
    dialog->SetButtonFont(FONT_DEFAULT);
    dialog->SetColorAt(Zorva::Dialog::kColorHeader, Zorva::Color(0, 0, 0));
    dialog->SetColorAt(Zorva::Dialog::kColorLines, Zorva::Color(0, 0, 0));
    dialog->spaceAfterHeader = 30;
    // Dark labels on the light button face, light while hovered, as on the game's panel.
    dialog->SetColorAt(Zorva::Dialog::kColorButtonText, Zorva::Color(0, 0, 0));
    dialog->SetColorAt(Zorva::Dialog::kColorButtonTextHovered, Zorva::Color(255, 255, 255));
    if (IMAGE_W_SMALL) {
        const int dialogWidth = IMAGE_W_SMALL->GetWidth();
        const int dialogHeight = IMAGE_W_SMALL->GetHeight();
        if (buttonMode == Zorva::Dialog::kButtonsFooter && IMAGE_BUTTON_NORMAL) {
            // A single button keeps about the width of its face instead of the whole box.
            const int inner = dialogWidth - dialog->backgroundInsets.left -
                              dialog->backgroundInsets.right - dialog->contentInsets.left -
                              dialog->contentInsets.right;
            const int wanted = std::max(IMAGE_BUTTON_NORMAL->GetWidth(), 160);
            dialog->buttonSidePadding = std::max((inner - wanted) / 2, 0);
        }
        dialog->Place(400 - dialogWidth / 2, 300 - dialogHeight / 2, dialogWidth, dialogHeight);
    }
    return dialog;
}

void GameApp::AskToSaveLevel()
{
    if (!board || SaveLevelDialog::Ask(*this, *this) != DialogWithEdit::kConfirmed ||
        IsShuttingDown()) {
        return;
    }
    // The dialog refuses such names as they are typed; the initial text is checked here too.
    const std::string name = enteredName;
    std::string error = "the name \"" + name + "\" can not be a file name";
    const std::string folder = Zorva::UserFolder();
    if (SaveLevelDialog::IsValidFileName(name)) {
        error.clear();
        if (!Zorva::EnsureFolder(folder)) {
            error = "the folder " + folder + " can not be made";
        } else if (board->model.field.WriteLevel(folder + "/" + name, &error)) {
            error.clear();
        }
    }
    if (!error.empty()) {
        OutputDebug("The level could not be saved: " + error + "\n");
        ShowNewDialog(kSaveLevelMessageDialogId, true, "Level Not Saved", error, "Ok",
                      Zorva::Dialog::kButtonsFooter);
    }
}

void GameApp::OnButtonActivated(int id)
{
    if (id == kOptionsMessageDialogId + 2000) {
        CloseDialog(kOptionsMessageDialogId);
    }
}

void GameApp::OnDialogButtonActivated(int dialogId, int buttonId)
{
    PlaySound(SOUND_CLICK);
    if ((dialogId == 100 || dialogId == 111 || dialogId == kSaveLevelMessageDialogId) &&
        buttonId == Zorva::Dialog::kYesButtonId) {
        CloseDialog(dialogId);
    } else if (dialogId == kLevelCompleteDialogId && buttonId == Zorva::Dialog::kYesButtonId) {
        CloseDialog(dialogId);
        ShowLevelMap();
    }
}

void GameApp::ChangeScreenMode(bool wantWindowed, bool accelerated, bool force)
{
    ZorvaAppBase::ChangeScreenMode(wantWindowed, accelerated, force);
    if (auto* options = dynamic_cast<DemoDialog*>(FindDialog(DemoDialog::kDialogId))) {
        options->fullScreenBox->SetChecked(!GetWindowState().windowed, true);
    }
}

void GameApp::OnShutdownStarting()
{
    SaveFinalFrame();
    // Closing the window in the middle of a level keeps the game, as leaving for the main
    // menu with saving would.
    if (board && panel && panel->GetManager() && !board->model.field.won &&
        !board->model.field.loading && board->model.field.StoneCountInLayers() > 0) {
        SaveGameInProgress();
    }
    if (Zorva::WidgetManager* widgets = GetWidgetManager()) {
        if (board) {
            widgets->RemoveWidget(board.get());
        }
        if (panel) {
            widgets->RemoveWidget(panel.get());
        }
    }
}

void GameApp::OnFocusLost()
{
    if (panel && panel->hasFocus) {
        OpenInGameMenu();
    }
}

bool GameApp::HandleDebugKeyEarly(int key, bool, bool)
{
    if (key != Zorva::kVirtualKeyF12) {
        return false;
    }
    const std::string path = SaveScreenshot();
    OutputDebug(path.empty() ? "The screenshot could not be written\n"
                             : "Screenshot written to " + path + "\n");
    return true;
}

std::string GameApp::SaveScreenshot()
{
    std::string folder;
    if (const char* configured = std::getenv("QUARROW_SCREENSHOT_DIR"); configured && *configured) {
        folder = configured;
    } else {
        folder = Zorva::UserFolder();
    }
    if (!Zorva::EnsureFolder(folder)) {
        return {};
    }
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    std::string path = folder + "/quarrow-" + stamp + ".png";
    // Several shots within one second each get their own file.
    for (int n = 2; Zorva::FileExists(path); ++n) {
        path = folder + "/quarrow-" + stamp + "-" + std::to_string(n) + ".png";
    }
    return SaveScreenImage(path) ? path : std::string();
}

bool GameApp::SaveScreenImage(const std::string& path)
{
    Zorva::MemoryImage* screen = GetScreenImage();
    if (!screen || screen->GetWidth() <= 0 || screen->GetHeight() <= 0) {
        return false;
    }
    auto copy = Zorva::ImageLib::Image::Create(screen->GetWidth(), screen->GetHeight());
    if (!copy) {
        return false;
    }
    const std::size_t count = static_cast<std::size_t>(copy->width) * copy->height;
    const uint32_t* pixels = screen->GetPixels();
    for (std::size_t i = 0; i < count; ++i) {
        // The screen's alpha is not meaningful; the shot is opaque.
        copy->bits[i] = pixels[i] | 0xFF000000u;
    }
    return Zorva::ImageLib::SavePNG(path, *copy);
}

void GameApp::SaveFinalFrame()
{
    const char* path = std::getenv(kFinalFrameVariable);
    if (path == nullptr || *path == '\0' || !GetWidgetManager()) {
        return;
    }
    // Drawn whole, so the picture depends only on the state, not on when frames were drawn.
    GetWidgetManager()->MarkAllDirty();
    GetWidgetManager()->DrawScreen();
    if (!SaveScreenImage(path)) {
        OutputDebug(std::string("The final frame could not be written to ") + path + "\n");
    }
}

void GameApp::OnLevelStarted(GameMode mode, int level)
{
    AddDemoMarker(std::string(mode == GameMode::OneSide ? "One-Side" : "Two-Side") + " Level " +
                  std::to_string(level));
}

void GameApp::AdvanceOneUpdate()
{
    ZorvaAppBase::AdvanceOneUpdate();
    if (menuWanted && GetNestingDepth() <= 1) {
        OpenInGameMenu();
    }
    WriteTestState();
}

std::string GameApp::ScreenName() const
{
    if (titleScreen) {
        return "loading";
    }
    if (mainMenu && mainMenu->GetManager()) {
        return "menu";
    }
    if (mapWindow && mapWindow->GetManager()) {
        return "map";
    }
    if (panel && panel->GetManager()) {
        return "game";
    }
    return "none";
}

bool GameApp::AtRest() const
{
    // Every loop step counts one level; a nested loop runs inside an outer step.
    if (GetNestingDepth() > 1) {
        return false;
    }
    if (!board) {
        return true;
    }
    const BoardModel& model = board->model;
    if (model.field.loading || model.deck.busy || !model.field.BoardAtRest()) {
        return false;
    }
    for (const StoneList& layer : model.field.layers) {
        for (const auto& stone : layer) {
            if (stone->IsMoving() || stone->rotationState != 0 || stone->flipActive ||
                (stone->alpha > 0 && stone->alpha < 255)) {
                return false;
            }
        }
    }
    return true;
}

std::vector<int> GameApp::OpenDialogIds() const
{
    std::vector<int> ids;
    if (const Zorva::WidgetManager* widgets = GetWidgetManager()) {
        for (const Zorva::Widget* widget : widgets->GetChildren()) {
            if (const auto* dialog = dynamic_cast<const Zorva::Dialog*>(widget)) {
                ids.push_back(dialog->id);
            }
        }
    }
    return ids;
}

void GameApp::WriteTestState()
{
    if (!testState) {
        return;
    }
    const BoardModel* model = panel && panel->GetManager() ? &board->model : nullptr;
    TestStateWriter::Screen screen;
    screen.name = ScreenName();
    if (const Player* player = CurrentPlayer()) {
        screen.player = player->name;
    }
    screen.dialogIds = OpenDialogIds();
    screen.atRest = AtRest();
    screen.controls = CollectControlLines(*GetWidgetManager());
    if (screen.name == "map") {
        const std::vector<std::string> mapLines = mapWindow->StateLines();
        screen.controls.insert(screen.controls.begin(), mapLines.begin(), mapLines.end());
    }
    // Names and labels are Latin-1 inside the game; tools read the file as UTF-8.
    testState->Update(Zorva::Utf8FromLatin1(TestStateWriter::Compose(screen, model)));
}
