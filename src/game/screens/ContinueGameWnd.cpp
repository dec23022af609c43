#include "game/screens/ContinueGameWnd.h"

#include "app/ZorvaAppBase.h"
#include "game/ResourceHandles.h"
#include "game/screens/GameDialogButton.h"
#include "game/screens/MenuHost.h"
#include "graphics/Image.h"

ContinueGameWnd::ContinueGameWnd(Zorva::ZorvaAppBase& newApp, MenuHost& newHost)
    : Dialog(IMAGE_W_SMALL, IM_B_DIALOG, kDialogId, true, "",
             "Do you want to continue your previous game or start new game?", "", kButtonsNone),
      app(newApp), host(newHost)
{
    SetColorAt(kColorHeader, Zorva::Color::kBlack);
    SetColorAt(kColorLines, Zorva::Color::kBlack);
    SetHeaderFont(FONT_DEFAULT);
    SetLinesFont(FONT_DEFAULT);
    const int boxWidth = IMAGE_W_SMALL ? IMAGE_W_SMALL->GetWidth() : 0;
    const int boxHeight = IMAGE_W_SMALL ? IMAGE_W_SMALL->GetHeight() : 0;
    Place(400 - boxWidth / 2, 300 - boxHeight / 2, boxWidth, boxHeight);

    continueButton = std::make_unique<GameDialogButton>(kContinueButtonId, "Continue", this);
    continueButton->MoveTo(195, 105);
    newGameButton = std::make_unique<GameDialogButton>(kNewGameButtonId, "New Game", this);
    newGameButton->disabledImage = IM_B_DIALOG_DISABLE;
    newGameButton->MoveTo(30, 105);
    AddWidget(continueButton.get());
    AddWidget(newGameButton.get());
}

ContinueGameWnd::~ContinueGameWnd()
{
    RemoveAllWidgets(false, false);
}

void ContinueGameWnd::OnButtonActivated(int buttonId)
{
    if (buttonId != kContinueButtonId && buttonId != kNewGameButtonId) {
        Dialog::OnButtonActivated(buttonId);
        return;
    }
    app.PlaySoundOnce(SOUND_CLICK);
    // Closing only queues the deletion, so this object lives to the end of the handler.
    app.CloseDialog(this);
    if (buttonId == kContinueButtonId) {
        host.ContinueGame();
    } else {
        host.StartNewGame();
    }
}
