#pragma once

#include "widgets/Dialog.h"
#include "widgets/ListListener.h"

#include <memory>

namespace Zorva {
class DialogButton;
class ListWidget;
class ZorvaAppBase;
} // namespace Zorva

class MenuHost;

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

    ChPlayerDialog(Zorva::ZorvaAppBase& app, MenuHost& host);
    ~ChPlayerDialog() override;

    void Place(int newX, int newY, int newWidth, int newHeight) override;
    using Widget::Place;
    void OnButtonActivated(int buttonId) override;
    void OnListClicked(int id, int index, int clickCount) override;

    std::unique_ptr<Zorva::DialogButton> selectButton;
    std::unique_ptr<Zorva::DialogButton> deleteButton;
    std::unique_ptr<Zorva::DialogButton> renameButton;
    std::unique_ptr<Zorva::ListWidget> list;

private:
    Zorva::ZorvaAppBase& app;
    MenuHost& host;
};
