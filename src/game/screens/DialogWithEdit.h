#pragma once

#include "graphics/Rect.h"
#include "widgets/Dialog.h"
#include "widgets/EditListener.h"

#include <memory>
#include <string>

namespace Zorva {
class EditWidget;
class ZorvaAppBase;
} // namespace Zorva

class MenuHost;
class NormalDialogButton;

/// The one-line name-entry dialog (id 1006) of every name the game asks for: a header, a
/// label, an edit field of at most 12 characters that refuses the characters a name may not
/// hold, "Ok" and "Cancel". Confirming gives result 1 and copies the text to the host's
/// entered name; cancelling gives 0 and empties it.
class DialogWithEdit : public Zorva::Dialog, public Zorva::EditListener
{
public:
    static constexpr int kDialogId = 1006;
    static constexpr int kOkButtonId = 0;
    static constexpr int kCancelButtonId = 1;
    static constexpr int kEditId = 0;
    static constexpr int kConfirmed = 1;
    static constexpr int kCancelled = 0;
    static constexpr int kMaxLength = 12;

    DialogWithEdit(Zorva::ZorvaAppBase& app, MenuHost& host, const std::string& headerText,
                   const std::string& label, const std::string& initialText);
    ~DialogWithEdit() override;

    /// Shows a name-entry dialog at `bounds` as dialog 1006 with its field focused and waits
    /// for it; the result (kConfirmed or kCancelled). Without `cancellable` "Cancel" is off.
    static int Ask(Zorva::ZorvaAppBase& owner, MenuHost& names, const std::string& headerText,
                   const std::string& labelText, const std::string& initialText,
                   const Zorva::Rect& bounds, bool cancellable = true);
    /// Shows an already made dialog of this kind as Ask does and waits for its result.
    static int AskWith(Zorva::ZorvaAppBase& owner, std::unique_ptr<DialogWithEdit> made,
                       const Zorva::Rect& bounds, bool cancellable = true);
    /// IMAGE_W_SMALL's size centred on (400, 300).
    static Zorva::Rect CentredBounds();

    /// Off for the first player's name, which must be given.
    void SetCancelEnabled(bool enabled);
    void FocusEdit();
    /// Whether `character` may be part of a name typed here.
    static bool IsAllowedChar(char character);

    void Place(int newX, int newY, int newWidth, int newHeight) override;
    using Widget::Place;
    void Paint(Zorva::Graphics& graphics) override;
    void OnButtonActivated(int buttonId) override;
    void OnEditEnter(int id, const std::string& text) override;
    bool AllowChar(int id, char character) override;
    bool AllowText(int id, const std::string& text) override;

    std::unique_ptr<NormalDialogButton> okButton;
    std::unique_ptr<NormalDialogButton> cancelButton;
    std::unique_ptr<Zorva::EditWidget> edit;

protected:
    /// Where the label is written, set by Place.
    int labelX = 0;
    int labelY = 0;

private:
    /// Ends the dialog with `outcome`, leaving `name` as the entered name.
    void Finish(int outcome, const std::string& name);

    Zorva::ZorvaAppBase& app;
    MenuHost& menuHost;
    std::string label;
};
