#include "game/screens/ChPlayerDialog.h"

#include "app/ZorvaAppBase.h"
#include "game/Player.h"
#include "game/ResourceHandles.h"
#include "game/screens/DialogWithEdit.h"
#include "game/screens/MenuHost.h"
#include "game/screens/NormalDialogButton.h"
#include "game/screens/PlayersFile.h"
#include "graphics/Image.h"
#include "widgets/ListWidget.h"

#include <algorithm>

namespace {

/// Background, outline, text, hilited text, selection, selected text.
constexpr int kListColors[6][3] = {
    {128, 128, 128}, {0, 0, 0}, {0, 0, 0}, {0, 0, 255}, {255, 255, 255}, {190, 0, 80},
};

const std::string kDuplicateText = "The player with such name is already exists.";

/// `name` as dialog text that shows every caret as it is instead of reading a colour code.
std::string AsPlainText(const std::string& name)
{
    std::string plain;
    for (const char character : name) {
        plain += character;
        if (character == '^') {
            plain += '^';
        }
    }
    return plain;
}

} // namespace

ChPlayerDialog::ChPlayerDialog(Zorva::ZorvaAppBase& newApp, MenuHost& newHost)
    : Dialog(IMAGE_DIALOG_BOX, IMAGE_BUTTON_NORMAL, kDialogId, true, "Change Player", "", "",
             kButtonsNone),
      app(newApp), menuHost(newHost)
{
    contentInsets = Zorva::Insets{30, 30, 30, 20};
    spaceAfterHeader = 30;
    SetHeaderFont(FONT_DEFAULT);
    SetLinesFont(FONT_DEFAULT);
    SetColorAt(kColorHeader, Zorva::Color::kBlack);
    SetColorAt(kColorLines, Zorva::Color::kBlack);

    selectButton = std::make_unique<NormalDialogButton>(kSelectButtonId, "Select", this);
    deleteButton = std::make_unique<NormalDialogButton>(kDeleteButtonId, "Delete", this);
    renameButton = std::make_unique<NormalDialogButton>(kRenameButtonId, "Rename", this);
    list = std::make_unique<Zorva::ListWidget>(kListId, this);
    list->SetFont(FONT_DEFAULT);
    list->SetColorTable(kListColors, 6);
    list->AddLine(kNewPlayerLine, false);
    for (const auto& player : menuHost.Players()) {
        list->AddLine(player->name, false);
    }
    list->SetSelect(menuHost.CurrentPlayerIndex() + 1);
    AddWidget(list.get());
    AddWidget(selectButton.get());
    AddWidget(deleteButton.get());
    AddWidget(renameButton.get());
    Place(200, 150, 400, 300);
}

ChPlayerDialog::~ChPlayerDialog()
{
    RemoveAllWidgets(false, false);
}

void ChPlayerDialog::Place(int newX, int newY, int newWidth, int newHeight)
{
    Dialog::Place(newX, newY, newWidth, newHeight);
    const int left = contentInsets.left;
    // The header is drawn inside the background insets; the list starts below it.
    const int listTop = 50 + backgroundInsets.top;
    list->Place(left + 20, listTop, width - left - contentInsets.right - 40, height - 60 - listTop);
    selectButton->PlaceAt(left + 10, height - 55);
    deleteButton->PlaceAt(left + 125, height - 55);
    renameButton->PlaceAt(left + 240, height - 55);
}

void ChPlayerDialog::OnButtonActivated(int buttonId)
{
    switch (buttonId) {
    case kSelectButtonId:
        app.PlaySoundOnce(SOUND_CLICK);
        // Without a player line selected the current player stays, and so does the dialog:
        // the game needs a player when it closes.
        if (SelectedPlayer() >= 0) {
            SelectAndClose(SelectedPlayer());
        }
        break;
    case kDeleteButtonId:
        app.PlaySoundOnce(SOUND_CLICK);
        DeleteSelected();
        break;
    case kRenameButtonId:
        app.PlaySoundOnce(SOUND_CLICK);
        RenameSelected();
        break;
    default:
        Dialog::OnButtonActivated(buttonId);
        break;
    }
}

void ChPlayerDialog::OnListClicked(int, int index, int clickCount)
{
    if (index == 0) {
        AddNewPlayer();
    } else if (index > 0 && index < list->LineCount()) {
        if (clickCount == Zorva::kClickLeftDouble) {
            SelectAndClose(index - 1);
        } else {
            list->SetSelect(index);
        }
    }
}

int ChPlayerDialog::SelectedPlayer() const
{
    const int line = list->selectIndex;
    const int count = static_cast<int>(menuHost.Players().size());
    return line >= 1 && line <= count ? line - 1 : -1;
}

bool ChPlayerDialog::NameTaken(const std::string& name) const
{
    const auto& players = menuHost.Players();
    return std::any_of(players.begin(), players.end(),
                       [&](const auto& player) { return player->name == name; });
}

void ChPlayerDialog::SelectAndClose(int index)
{
    menuHost.SelectPlayer(index);
    // Closing only queues the deletion, so this object lives to the end of the handler.
    app.CloseDialog(this);
}

void ChPlayerDialog::AddNewPlayer()
{
    if (menuHost.Players().size() >= PlayersFile::kMaxPlayers) {
        ShowMessage("Players list is full!",
                    "Please delete one of the players first to add new one.");
        return;
    }
    const int answer = DialogWithEdit::Ask(app, menuHost, "New Player", "Name", "New Player",
                                           DialogWithEdit::CentredBounds());
    if (answer != DialogWithEdit::kConfirmed || app.IsShuttingDown()) {
        return;
    }
    const std::string name = menuHost.EnteredName();
    if (NameTaken(name)) {
        ShowMessage("Can not add new player!", kDuplicateText);
        return;
    }
    if (!menuHost.AddPlayer(name)) {
        ShowMessage("Can not add new player!", "This name can not be used.");
        return;
    }
    list->SetSelect(list->AddLine(name, false));
}

void ChPlayerDialog::RenameSelected()
{
    const int index = SelectedPlayer();
    if (index < 0) {
        return;
    }
    const std::string oldName = menuHost.Players()[static_cast<std::size_t>(index)]->name;
    const int answer = DialogWithEdit::Ask(app, menuHost, "Rename Player", "Name", oldName,
                                           DialogWithEdit::CentredBounds());
    if (answer != DialogWithEdit::kConfirmed || app.IsShuttingDown()) {
        return;
    }
    const std::string name = menuHost.EnteredName();
    if (NameTaken(name)) {
        ShowMessage("Can not rename player!", kDuplicateText);
        return;
    }
    if (!menuHost.RenamePlayer(index, name)) {
        ShowMessage("Can not rename player!",
                    "A saved game of this player could not be moved to the new name.");
        return;
    }
    list->SetLine(index + 1, name);
}

void ChPlayerDialog::DeleteSelected()
{
    const int index = SelectedPlayer();
    if (index < 0) {
        return;
    }
    if (menuHost.Players().size() < 2) {
        ShowQuestion(kRefusalDialogId, "Please create one more player before delete this one.",
                     kButtonsFooter);
        return;
    }
    const std::string name = menuHost.Players()[static_cast<std::size_t>(index)]->name;
    Zorva::Dialog* question = ShowQuestion(
        kConfirmDialogId, "Are you sure you want to delete the player '" + AsPlainText(name) + "'?",
        kButtonsYesNo);
    const int answer = question->WaitForResult(true);
    // The list may only be trusted when it is still the one the question was about.
    if (answer != kYesButtonId || app.IsShuttingDown() ||
        index >= static_cast<int>(menuHost.Players().size()) ||
        menuHost.Players()[static_cast<std::size_t>(index)]->name != name) {
        return;
    }
    const int line = index + 1;
    menuHost.DeletePlayer(index);
    list->RemoveLine(line);
    list->SetSelect(std::min(line, list->LineCount() - 1));
}

void ChPlayerDialog::ShowMessage(const std::string& headerText, const std::string& text)
{
    app.ShowNewDialog(kMessageDialogId, true, headerText, text, "Ok", kButtonsFooter);
}

Zorva::Dialog* ChPlayerDialog::ShowQuestion(int dialogId, const std::string& text, int mode)
{
    auto question = std::make_unique<Zorva::Dialog>(IMAGE_W_SMALL, IM_B_DIALOG, dialogId, true, "",
                                                    text, mode == kButtonsFooter ? "Ok" : "", mode);
    question->contentInsets = Zorva::Insets{40, 40, 40, 40};
    question->SetLinesFont(FONT_DEFAULT);
    question->SetButtonFont(FONT_DEFAULT);
    question->SetColorAt(kColorLines, Zorva::Color::kBlack);
    // Dark labels on the light face, light while hovered, as on the game's other buttons.
    question->SetColorAt(kColorButtonText, Zorva::Color::kBlack);
    question->SetColorAt(kColorButtonTextHovered, Zorva::Color::kWhite);
    const int boxWidth = IMAGE_W_SMALL ? IMAGE_W_SMALL->GetWidth() : 0;
    const int boxHeight = IMAGE_W_SMALL ? IMAGE_W_SMALL->GetHeight() : 0;
    if (mode == kButtonsFooter && IM_B_DIALOG) {
        // The single button keeps the width of its face instead of the whole box.
        const int inner = boxWidth - question->backgroundInsets.left -
                          question->backgroundInsets.right - question->contentInsets.left -
                          question->contentInsets.right;
        question->buttonSidePadding = std::max((inner - IM_B_DIALOG->GetWidth()) / 2, 0);
    }
    question->Place(400 - boxWidth / 2, 300 - boxHeight / 2, boxWidth, boxHeight);
    return app.AttachDialog(dialogId, std::move(question));
}
