#include "game/screens/DialogWithEdit.h"

#include "app/ZorvaAppBase.h"
#include "game/ResourceHandles.h"
#include "game/screens/MenuHost.h"
#include "game/screens/NormalDialogButton.h"
#include "graphics/Font.h"
#include "graphics/Graphics.h"
#include "graphics/Image.h"
#include "widgets/EditWidget.h"
#include "widgets/WidgetManager.h"

#include <algorithm>
#include <string_view>

namespace {

/// Characters a name may not hold: some would read badly in the tables, and the slashes
/// would lead a saved game's file out of its folder.
constexpr std::string_view kRefusedChars = "#$%&()*+-.:@^/\\";

bool IsControlChar(char character)
{
    const auto code = static_cast<unsigned char>(character);
    return code < 32 || code == 127;
}

} // namespace

DialogWithEdit::DialogWithEdit(Zorva::ZorvaAppBase& newApp, MenuHost& newHost,
                               const std::string& headerText, const std::string& newLabel,
                               const std::string& initialText)
    : Dialog(IMAGE_W_SMALL, IM_B_DIALOG, kDialogId, true, headerText, "", "", kButtonsNone),
      app(newApp), menuHost(newHost), label(newLabel)
{
    contentInsets = Zorva::Insets{23, 20, 23, 20};
    spaceAfterHeader = 30;
    SetHeaderFont(FONT_DEFAULT);
    SetLinesFont(FONT_DEFAULT);
    SetColorAt(kColorHeader, Zorva::Color::kBlack);
    SetColorAt(kColorLines, Zorva::Color::kBlack);

    okButton = std::make_unique<NormalDialogButton>(kOkButtonId, "Ok", this);
    cancelButton = std::make_unique<NormalDialogButton>(kCancelButtonId, "Cancel", this);
    edit = std::make_unique<Zorva::EditWidget>(kEditId, this);
    edit->SetFont(FONT_DEFAULT);
    edit->maxChars = kMaxLength;
    edit->SetText(initialText, true);
    AddWidget(okButton.get());
    AddWidget(cancelButton.get());
    AddWidget(edit.get());
}

DialogWithEdit::~DialogWithEdit()
{
    RemoveAllWidgets(false, false);
}

int DialogWithEdit::Ask(Zorva::ZorvaAppBase& owner, MenuHost& names, const std::string& headerText,
                        const std::string& labelText, const std::string& initialText,
                        const Zorva::Rect& bounds, bool cancellable)
{
    return AskWith(
        owner, std::make_unique<DialogWithEdit>(owner, names, headerText, labelText, initialText),
        bounds, cancellable);
}

int DialogWithEdit::AskWith(Zorva::ZorvaAppBase& owner, std::unique_ptr<DialogWithEdit> made,
                            const Zorva::Rect& bounds, bool cancellable)
{
    made->Place(bounds);
    made->SetCancelEnabled(cancellable);
    auto* dialog = static_cast<DialogWithEdit*>(owner.AttachDialog(kDialogId, std::move(made)));
    dialog->FocusEdit();
    // A dialog closed another way (replaced, or the application ending) counts as cancelled.
    return dialog->WaitForResult(true) == kConfirmed ? kConfirmed : kCancelled;
}

Zorva::Rect DialogWithEdit::CentredBounds()
{
    const int boxWidth = IMAGE_W_SMALL ? IMAGE_W_SMALL->GetWidth() : 0;
    const int boxHeight = IMAGE_W_SMALL ? IMAGE_W_SMALL->GetHeight() : 0;
    return Zorva::Rect(400 - boxWidth / 2, 300 - boxHeight / 2, boxWidth, boxHeight);
}

void DialogWithEdit::SetCancelEnabled(bool enabled)
{
    cancelButton->SetInactive(!enabled);
}

void DialogWithEdit::FocusEdit()
{
    if (manager != nullptr) {
        manager->SetFocus(edit.get());
    }
}

bool DialogWithEdit::IsAllowedChar(char character)
{
    return !IsControlChar(character) && kRefusedChars.find(character) == std::string_view::npos;
}

void DialogWithEdit::Place(int newX, int newY, int newWidth, int newHeight)
{
    Dialog::Place(newX, newY, newWidth, newHeight);
    okButton->PlaceAt(width / 2 - 120, height - 60);
    cancelButton->PlaceAt(width / 2 + 20, height - 60);
    // The label and the field sit inside the frame, below the header, which the dialog
    // itself draws inside its background insets.
    const int fieldWidth = width - backgroundInsets.left - backgroundInsets.right -
                           contentInsets.left - contentInsets.right;
    labelX = backgroundInsets.left + contentInsets.left;
    labelY = backgroundInsets.top + 60;
    edit->Place(backgroundInsets.left + contentInsets.left, backgroundInsets.top + 65, fieldWidth,
                edit->GetFont()->GetHeight() + 10);
}

void DialogWithEdit::Paint(Zorva::Graphics& graphics)
{
    Dialog::Paint(graphics);
    graphics.SetFont(FONT_DEFAULT);
    graphics.SetColor(Zorva::Color::kBlack);
    if (graphics.GetFont() != nullptr) {
        graphics.DrawText(label, labelX, labelY);
    }
}

void DialogWithEdit::OnButtonActivated(int buttonId)
{
    if (buttonId != kOkButtonId && buttonId != kCancelButtonId) {
        Dialog::OnButtonActivated(buttonId);
        return;
    }
    app.PlaySoundOnce(SOUND_CLICK);
    if (buttonId == kCancelButtonId) {
        Finish(kCancelled, "");
    } else if (!edit->text.empty()) {
        // An empty name could not be kept, so "Ok" waits for one as Enter does.
        Finish(kConfirmed, edit->text);
    }
}

void DialogWithEdit::OnEditEnter(int, const std::string& text)
{
    if (!text.empty()) {
        Finish(kConfirmed, text);
    }
}

bool DialogWithEdit::AllowChar(int, char character)
{
    return IsAllowedChar(character);
}

bool DialogWithEdit::AllowText(int, const std::string& text)
{
    return text.size() <= static_cast<std::size_t>(edit->maxChars) &&
           std::all_of(text.begin(), text.end(),
                       [](char c) { return !IsControlChar(c) && c != '/' && c != '\\'; });
}

void DialogWithEdit::Finish(int outcome, const std::string& name)
{
    menuHost.EnteredName() = name;
    result = outcome;
    // Closing only queues the deletion, so this object lives to the end of the handler.
    app.CloseDialog(this);
}
