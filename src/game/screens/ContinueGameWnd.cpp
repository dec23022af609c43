#include "game/screens/ContinueGameWnd.h"

#include "game/screens/GameDialogButton.h"

ContinueGameWnd::ContinueGameWnd(Zorva::ZorvaAppBase& newApp, MenuHost& newHost)
    : Dialog(nullptr, nullptr, kDialogId, true, "", "", "", kButtonsNone), app(newApp),
      host(newHost)
{}

ContinueGameWnd::~ContinueGameWnd() = default;

void ContinueGameWnd::OnButtonActivated(int buttonId)
{
    Dialog::OnButtonActivated(buttonId);
}
