#include "game/screens/GameOverWnd.h"

#include "app/ZorvaAppBase.h"
#include "game/BoardInterface.h"

GameOverWnd::GameOverWnd(Zorva::ZorvaAppBase& newApp, BoardInterface& newPanel)
    : Dialog(nullptr, nullptr, kDialogId, true, "Game Over!", "You have not more moves!", "",
             kButtonsNone),
      app(newApp), panel(newPanel)
{}

GameOverWnd::~GameOverWnd() = default;

void GameOverWnd::OnButtonActivated(int buttonId)
{
    Dialog::OnButtonActivated(buttonId);
}
