#include "app/DemoJumpDialog.h"

#include "graphics/Font.h"
#include "widgets/DialogButton.h"
#include "widgets/EditWidget.h"
#include "widgets/InputCodes.h"

#include <utility>

namespace Zorva {

namespace {

/// Room between the field and the buttons, and around the text inside the field.
constexpr int kFieldGap = 10;
constexpr int kFieldPadding = 8;

} // namespace

DemoJumpDialog::DemoJumpDialog(const std::string& initialText, Finished onFinished)
    : Dialog(nullptr, nullptr, kDialogId, true, "Jump To Time", "Time before the end (h:m:s)", "",
             kButtonsOkCancel),
      edit(std::make_unique<EditWidget>(kEditId, this)), finished(std::move(onFinished))
{
    GetNoButton()->label = "Cancel";
    edit->SetFont(LinesFont());
    edit->SetText(initialText, true);
    AddWidget(edit.get());
}

DemoJumpDialog::~DemoJumpDialog()
{
    RemoveAllWidgets(false, false);
}

int DemoJumpDialog::FieldHeight()
{
    return edit->GetFont()->GetHeight() + kFieldPadding;
}

int DemoJumpDialog::PreferredHeight(int forWidth)
{
    return Dialog::PreferredHeight(forWidth) + FieldHeight() + kFieldGap;
}

void DemoJumpDialog::Place(int newX, int newY, int newWidth, int newHeight)
{
    Dialog::Place(newX, newY, newWidth, newHeight);
    // The field sits directly above the buttons, across the dialog's text width.
    const int left = backgroundInsets.left + contentInsets.left;
    const int right = backgroundInsets.right + contentInsets.right;
    const int buttonsTop = height - backgroundInsets.bottom - contentInsets.bottom - buttonHeight;
    const int fieldHeight = FieldHeight();
    edit->Place(left, buttonsTop - kFieldGap - fieldHeight, width - left - right, fieldHeight);
}

void DemoJumpDialog::OnButtonPressed(int) {}

void DemoJumpDialog::OnButtonActivated(int buttonId)
{
    if (buttonId == kYesButtonId) {
        Finish(edit->text);
    } else if (buttonId == kNoButtonId) {
        Finish(std::nullopt);
    }
}

void DemoJumpDialog::OnEditEnter(int, const std::string& text)
{
    Finish(text);
}

bool DemoJumpDialog::AllowKey(int, int keyCode)
{
    if (keyCode == kVirtualKeyEscape) {
        Finish(std::nullopt);
        return false;
    }
    return true;
}

void DemoJumpDialog::Finish(const std::optional<std::string>& text)
{
    // A second Enter may arrive before the closed dialog is deleted.
    if (done) {
        return;
    }
    done = true;
    result = text ? kYesButtonId : kNoButtonId;
    if (finished) {
        finished(text);
    }
}

} // namespace Zorva
