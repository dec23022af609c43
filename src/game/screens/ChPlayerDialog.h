#pragma once

#include "widgets/Dialog.h"
#include "widgets/ListListener.h"

#include <memory>
#include <string>

namespace Zorva {
class ListWidget;
class ZorvaAppBase;
} // namespace Zorva

class MenuHost;
class NormalDialogButton;

/// The change-player dialog (id 1005): the list of players under "[ New Player ]" (a click
/// there adds one), and "Select", "Delete" and "Rename" for the selected player. It places
/// itself at (200, 150), 400 by 300, with the current player selected.
class ChPlayerDialog : public Zorva::Dialog, public Zorva::ListListener
{
public:
    static constexpr int kDialogId = 1005;
    static constexpr int kSelectButtonId = 0;
    static constexpr int kDeleteButtonId = 1;
    static constexpr int kRenameButtonId = 2;
    static constexpr int kListId = 0;
    static constexpr int kMessageDialogId = 100;
    static constexpr int kConfirmDialogId = 108;
    static constexpr int kRefusalDialogId = 111;
    static constexpr const char* kNewPlayerLine = "[ New Player ]";

    ChPlayerDialog(Zorva::ZorvaAppBase& app, MenuHost& host);
    ~ChPlayerDialog() override;

    void Place(int newX, int newY, int newWidth, int newHeight) override;
    using Widget::Place;
    void OnButtonActivated(int buttonId) override;
    void OnListClicked(int id, int index, int clickCount) override;

    std::unique_ptr<NormalDialogButton> selectButton;
    std::unique_ptr<NormalDialogButton> deleteButton;
    std::unique_ptr<NormalDialogButton> renameButton;
    std::unique_ptr<Zorva::ListWidget> list;

private:
    /// The index of the player on the selected line; -1 when "[ New Player ]" or no line is
    /// selected.
    int SelectedPlayer() const;
    bool NameTaken(const std::string& name) const;
    /// Makes the player at `index` current and closes the dialog.
    void SelectAndClose(int index);
    void AddNewPlayer();
    void RenameSelected();
    void DeleteSelected();
    /// Shows a message box (dialog 100) with an "Ok" button.
    void ShowMessage(const std::string& headerText, const std::string& text);
    /// A modal box of the name-entry dialog's look: no header, `text`, and the buttons of
    /// `mode`, under `dialogId`.
    Zorva::Dialog* ShowQuestion(int dialogId, const std::string& text, int mode);

    Zorva::ZorvaAppBase& app;
    MenuHost& menuHost;
};
