#include "game/screens/MenuWnd.h"

#include "app/ZorvaAppBase.h"
#include "game/ResourceHandles.h"
#include "game/screens/GameDialogButton.h"
#include "game/screens/MenuHost.h"
#include "widgets/InputCodes.h"

#include <tuple>

MenuWnd::MenuWnd(Zorva::ZorvaAppBase& newApp, MenuHost& newHost)
    : Dialog(IMAGE_W_MENU, IM_B_DIALOG, kDialogId, true, "", "", "", kButtonsNone), app(newApp),
      host(newHost)
{
    Place(275, 160, 250, 280);
    for (const auto& [buttonId, label, buttonY] :
         {std::tuple{kMainMenuButtonId, "Main Menu", 40},
          std::tuple{kHowToPlayButtonId, "How To Play", 80},
          std::tuple{kOptionsButtonId, "Options", 120},
          std::tuple{kRestartButtonId, "Restart", 160},
          std::tuple{kContinueButtonId, "Continue", 200}}) {
        auto button = std::make_unique<GameDialogButton>(buttonId, label, this);
        button->MoveTo(55, buttonY);
        AddWidget(button.get());
        buttons.push_back(std::move(button));
    }
    // There is no options dialog yet: the button shows its disabled face and ignores clicks.
}

MenuWnd::~MenuWnd()
{
    RemoveAllWidgets(false, false);
}

void MenuWnd::OnKeyDown(int key)
{
    if (key != Zorva::kVirtualKeyEscape) {
        Dialog::OnKeyDown(key);
        return;
    }
    app.CloseDialog(this);
    host.ResumeGame();
}

void MenuWnd::OnButtonActivated(int buttonId)
{
    if (buttonId < kMainMenuButtonId || buttonId > kContinueButtonId) {
        Dialog::OnButtonActivated(buttonId);
        return;
    }
    app.PlaySoundOnce(SOUND_CLICK);
    // Closing only queues the deletion, so this object lives to the end of the handler.
    switch (buttonId) {
    case kMainMenuButtonId:
        app.CloseDialog(this);
        host.ExitToMainMenu(true);
        break;
    case kHowToPlayButtonId:
        host.OpenHowToPlay();
        break;
    case kOptionsButtonId:
        host.OpenOptions();
        break;
    case kRestartButtonId:
        app.CloseDialog(this);
        host.RestartLevel();
        break;
    case kContinueButtonId:
        app.CloseDialog(this);
        host.ResumeGame();
        break;
    default:
        break;
    }
}
