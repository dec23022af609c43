#include "game/screens/MenuWnd.h"

#include "game/screens/GameDialogButton.h"

MenuWnd::MenuWnd(Zorva::ZorvaAppBase& newApp, MenuHost& newHost)
    : Dialog(nullptr, nullptr, kDialogId, true, "", "", "", kButtonsNone), app(newApp),
      host(newHost)
{}

MenuWnd::~MenuWnd() = default;

void MenuWnd::OnKeyDown(int key)
{
    Dialog::OnKeyDown(key);
}

void MenuWnd::OnButtonActivated(int buttonId)
{
    Dialog::OnButtonActivated(buttonId);
}
