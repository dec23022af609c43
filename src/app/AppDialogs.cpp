#include "app/AppDialogs.h"

#include "widgets/Dialog.h"
#include "widgets/WidgetManager.h"

#include <optional>

namespace Zorva {

namespace {

/// The application's button ids for a dialog's own buttons.
constexpr int kYesButtonOffset = 2000;
constexpr int kNoButtonOffset = 3000;

} // namespace

AppDialogs::AppDialogs() = default;

AppDialogs::~AppDialogs() = default;

Dialog* AppDialogs::ShowNewDialog(int id, bool modal, const std::string& header,
                                  const std::string& lines, const std::string& footer,
                                  int buttonMode)
{
    CloseDialog(id);
    return AttachDialog(id, CreateDialogObject(id, modal, header, lines, footer, buttonMode));
}

std::unique_ptr<Dialog> AppDialogs::CreateDialogObject(int id, bool modal,
                                                       const std::string& header,
                                                       const std::string& lines,
                                                       const std::string& footer, int buttonMode)
{
    return std::make_unique<Dialog>(nullptr, nullptr, id, modal, header, lines, footer, buttonMode);
}

Dialog* AppDialogs::FindDialog(int id) const
{
    return dialogs.Find(id);
}

Dialog* AppDialogs::AttachDialog(std::unique_ptr<Dialog> dialog)
{
    if (!dialog) {
        return nullptr;
    }
    const int id = dialog->id;
    return AttachDialog(id, std::move(dialog));
}

Dialog* AppDialogs::AttachDialog(int id, std::unique_ptr<Dialog> dialog)
{
    if (!dialog) {
        return nullptr;
    }
    CloseDialog(id);
    Dialog* const shown = dialog.get();
    if (shown->width == 0 || shown->height == 0) {
        const Rect area = DialogArea();
        const int dialogWidth = area.width / 2;
        shown->Place((area.width - dialogWidth) / 2, area.height / 5, dialogWidth,
                     shown->PreferredHeight(dialogWidth));
    }
    if (shown->dialogListener == nullptr) {
        shown->dialogListener = this;
    }
    shown->host = this;
    dialogs.Insert(id, std::move(dialog));
    GetWidgetManager()->AddWidget(shown);
    if (shown->isModal) {
        GetWidgetManager()->PushModal(shown);
        OnModalBegin();
    }
    return shown;
}

bool AppDialogs::CloseDialog(Dialog* dialog)
{
    const std::optional<int> id = dialogs.IdOf(dialog);
    return id.has_value() && CloseDialog(*id);
}

bool AppDialogs::CloseDialog(int id)
{
    std::unique_ptr<Dialog> closing = dialogs.Take(id);
    if (!closing) {
        return false;
    }
    if (closing->result == Dialog::kNoResult || closing->result == -1) {
        closing->result = 0;
    }
    if (closing->parent != nullptr) {
        closing->parent->RemoveWidget(closing.get());
    }
    if (closing->isModal) {
        OnModalEnd();
        GetWidgetManager()->PopModal(closing.get());
    }
    // Its handlers may still be on the call stack.
    DeferWidgetDelete(closing.release());
    return true;
}

int AppDialogs::CountDialogs() const
{
    return dialogs.Count();
}

void AppDialogs::OnDialogButtonPressed(int dialogId, int buttonId)
{
    if (buttonId == Dialog::kYesButtonId) {
        OnButtonPressed(dialogId + kYesButtonOffset);
    } else if (buttonId == Dialog::kNoButtonId) {
        OnButtonPressed(dialogId + kNoButtonOffset);
    }
}

void AppDialogs::OnDialogButtonActivated(int dialogId, int buttonId)
{
    if (buttonId == Dialog::kYesButtonId) {
        OnButtonActivated(dialogId + kYesButtonOffset);
    } else if (buttonId == Dialog::kNoButtonId) {
        OnButtonActivated(dialogId + kNoButtonOffset);
    }
}

void AppDialogs::DeleteRemainingDialogs()
{
    // Topmost first, so every modal layer is unwound in order.
    while (std::unique_ptr<Dialog> owned = dialogs.TakeTopmost()) {
        if (owned->parent != nullptr) {
            owned->parent->RemoveWidget(owned.get());
        }
        if (owned->isModal) {
            GetWidgetManager()->PopModal(owned.get());
        }
    }
    dialogs.Clear();
}

} // namespace Zorva
