#include "game/screens/HowDialog.h"

#include "app/ZorvaAppBase.h"
#include "game/PlayFieldHost.h"

HowDialog::HowDialog(Zorva::ZorvaAppBase& newApp, PlayFieldHost& newHost, GameMode)
    : Dialog(nullptr, nullptr, kDialogId, true, "", "", "", kButtonsNone), app(newApp),
      host(newHost)
{}

HowDialog::~HowDialog() = default;

void HowDialog::OnButtonActivated(int buttonId)
{
    Dialog::OnButtonActivated(buttonId);
}

void HowDialog::OnCheckboxChanged(int, bool) {}
