#include "game/screens/ChPlayerDialog.h"

#include "widgets/DialogButton.h"
#include "widgets/ListWidget.h"

ChPlayerDialog::ChPlayerDialog(Zorva::ZorvaAppBase& newApp, MenuHost& newHost)
    : Dialog(nullptr, nullptr, kDialogId, true, "Change Player", "", "", kButtonsNone), app(newApp),
      host(newHost)
{}

ChPlayerDialog::~ChPlayerDialog() = default;

void ChPlayerDialog::Place(int newX, int newY, int newWidth, int newHeight)
{
    Dialog::Place(newX, newY, newWidth, newHeight);
}

void ChPlayerDialog::OnButtonActivated(int buttonId)
{
    Dialog::OnButtonActivated(buttonId);
}

void ChPlayerDialog::OnListClicked(int, int, int) {}
