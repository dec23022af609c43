#include "game/screens/DialogWithEdit.h"

#include "widgets/DialogButton.h"
#include "widgets/EditWidget.h"

DialogWithEdit::DialogWithEdit(Zorva::ZorvaAppBase& newApp, MenuHost& newHost,
                               const std::string& headerText, const std::string& newLabel,
                               const std::string&)
    : Dialog(nullptr, nullptr, kDialogId, true, headerText, "", "", kButtonsNone), app(newApp),
      host(newHost), label(newLabel)
{}

DialogWithEdit::~DialogWithEdit() = default;

int DialogWithEdit::Ask(Zorva::ZorvaAppBase&, MenuHost&, const std::string&, const std::string&,
                        const std::string&, const Zorva::Rect&, bool)
{
    return kCancelled;
}

Zorva::Rect DialogWithEdit::CentredBounds()
{
    return Zorva::Rect(200, 240, 400, 120);
}

void DialogWithEdit::SetCancelEnabled(bool) {}

void DialogWithEdit::FocusEdit() {}

void DialogWithEdit::Place(int newX, int newY, int newWidth, int newHeight)
{
    Dialog::Place(newX, newY, newWidth, newHeight);
}

void DialogWithEdit::Paint(Zorva::Graphics& graphics)
{
    Dialog::Paint(graphics);
}

void DialogWithEdit::OnButtonActivated(int buttonId)
{
    Dialog::OnButtonActivated(buttonId);
}

void DialogWithEdit::OnEditEnter(int, const std::string&) {}

bool DialogWithEdit::AllowChar(int, char)
{
    return true;
}

bool DialogWithEdit::AllowText(int, const std::string&)
{
    return true;
}
