#include "game/screens/TitleWnd.h"

#include "app/ZorvaAppBase.h"
#include "game/Player.h"
#include "game/ResourceHandles.h"
#include "game/screens/LogoImage.h"
#include "game/screens/MenuHost.h"
#include "graphics/Graphics.h"
#include "graphics/Image.h"
#include "widgets/ButtonWidget.h"

#include <tuple>

namespace {

const char* const kLogoSection = "LogoAppearence/OnTitle";

/// The face's width and its height less `heightCut`; nothing without a face.
void SizeToFace(Zorva::ButtonWidget& button, const Zorva::Image* face, int heightCut)
{
    if (face != nullptr) {
        button.Place(button.x, button.y, face->GetWidth(), face->GetHeight() - heightCut);
    }
}

} // namespace

TitleWnd::TitleWnd(Zorva::ZorvaAppBase& newApp, MenuHost& newHost) : app(newApp), host(newHost)
{
    Place(0, 0, 800, 600);

    for (const auto& [buttonId, label, buttonY] :
         {std::tuple{kOneSideButtonId, "One Side Solitaire", 314},
          std::tuple{kTwoSideButtonId, "Two Side Solitaire", 370}}) {
        Zorva::ButtonWidget& button = AddButton(buttonId, label, 313, buttonY);
        button.buttonImage = IMAGE_BIG_BUTTON;
        button.overImage = IMAGE_BIG_BUTTON_OVER;
        button.downImage = IMAGE_BIG_BUTTON_DOWN;
        SizeToFace(button, IMAGE_BIG_BUTTON, 4);
    }
    buttons[kTwoSideButtonId]->disabledImage = IMAGE_BIG_BUTTON_DISABLE;

    Zorva::ButtonWidget& changePlayer = AddButton(kChangePlayerButtonId, "", 300, 130);
    changePlayer.buttonImage = IM_B_CHANGE_PLAYER;
    changePlayer.overImage = IM_B_OVER_CHANGE_PLAYER;
    changePlayer.downImage = IM_B_OVER_CHANGE_PLAYER;
    SizeToFace(changePlayer, IM_B_CHANGE_PLAYER, 0);

    for (const auto& [buttonId, label, buttonY] :
         {std::tuple{kOptionsButtonId, "Options", 424},
          std::tuple{kHighscoresButtonId, "Highscores", 464},
          std::tuple{kExitButtonId, "Exit", 504}}) {
        Zorva::ButtonWidget& button = AddButton(buttonId, label, 338, buttonY);
        button.buttonImage = IM_B_DIALOG;
        button.overImage = IM_B_DIALOG_OVER;
        button.downImage = IM_B_DIALOG_DOWN;
        SizeToFace(button, IM_B_DIALOG, 2);
    }
}

TitleWnd::~TitleWnd()
{
    RemoveAllWidgets(false, false);
}

Zorva::ButtonWidget& TitleWnd::AddButton(int buttonId, const std::string& label, int buttonX,
                                         int buttonY)
{
    auto button = std::make_unique<Zorva::ButtonWidget>(buttonId, this);
    button->label = label;
    if (FONT_DEFAULT != nullptr) {
        button->SetFont(FONT_DEFAULT);
    }
    button->SetColorAt(1, Zorva::Color::kWhite);
    button->handCursor = true;
    button->MoveTo(buttonX, buttonY);
    AddWidget(button.get());
    buttons.push_back(std::move(button));
    return *buttons.back();
}

void TitleWnd::LoadLogos(const std::string& path)
{
    logos = LogoImage::ReadSection(app, path, kLogoSection);
    Invalidate();
}

Player* TitleWnd::CurrentPlayer() const
{
    const auto& players = host.Players();
    const int index = host.CurrentPlayerIndex();
    if (index < 0 || index >= static_cast<int>(players.size())) {
        return nullptr;
    }
    return players[static_cast<std::size_t>(index)].get();
}

void TitleWnd::Paint(Zorva::Graphics& graphics)
{
    graphics.DrawImage(IMAGE_TITLE, 0, 0);
    if (IMAGE_LOGO_SMALL != nullptr) {
        graphics.DrawImage(IMAGE_LOGO_SMALL, 790 - IMAGE_LOGO_SMALL->GetWidth(), 460);
    }
    for (const auto& logo : logos) {
        logo->Draw(graphics);
    }
    const Player* player = CurrentPlayer();
    if (player == nullptr) {
        return;
    }
    graphics.SaveState();
    // A name is the player's own text: a caret in it is drawn, never read as a colour.
    graphics.SetColorCodes(false);
    graphics.SetFont(FONT_DEFAULT);
    graphics.SetColor(Zorva::Color::kBlack);
    graphics.DrawTextLine("Welcome, " + player->name, kWelcomeCentreX, kWelcomeBaseline, 0, 0);
    graphics.RestoreState();
}

void TitleWnd::StartMode(GameMode mode)
{
    host.ClearLevelCompleted();
    host.SetMode(mode);
    Player* player = CurrentPlayer();
    if (player == nullptr) {
        host.OpenChangePlayerDialog();
        return;
    }
    const bool oneSide = mode == GameMode::OneSide;
    const int reachedLevel = oneSide ? player->oneSideLevel : player->twoSideLevel;
    if (reachedLevel > 1 || host.SavedGameExists(mode)) {
        host.OpenContinueDialog();
        return;
    }
    player->reshuffles = 1;
    if (oneSide) {
        player->oneSideScore = 0;
    } else {
        player->twoSideScore = 0;
        player->pileCount = 2;
    }
    host.EnterGameAndStartLevel();
}

void TitleWnd::OnButtonActivated(int buttonId)
{
    app.PlaySoundOnce(SOUND_CLICK);
    switch (buttonId) {
    case kOneSideButtonId:
        StartMode(GameMode::OneSide);
        break;
    case kTwoSideButtonId:
        StartMode(GameMode::TwoSide);
        break;
    case kChangePlayerButtonId:
        host.OpenChangePlayerDialog();
        break;
    case kOptionsButtonId:
        host.OpenOptions();
        break;
    case kHighscoresButtonId:
        host.OpenHighscores(-1);
        break;
    case kExitButtonId:
        host.RequestExit();
        break;
    default:
        break;
    }
}
