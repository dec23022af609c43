// The name-entry and change-player dialogs in a headless application: what may be typed
// into a name, how the dialogs end, and what they ask of the host when players are added,
// renamed, deleted and selected. Modal waits run scripted input inside the nested loop.

#include "app/PlatformClock.h"
#include "app/ZorvaAppBase.h"
#include "game/Player.h"
#include "game/ResourceHandles.h"
#include "game/screens/ChPlayerDialog.h"
#include "game/screens/DialogWithEdit.h"
#include "game/screens/MenuHost.h"
#include "game/screens/NormalDialogButton.h"
#include "game/screens/SaveLevelDialog.h"
#include "graphics/MemoryImage.h"
#include "widgets/EditWidget.h"
#include "widgets/ListWidget.h"
#include "widgets/WidgetManager.h"

#include "ScreenTestSupport.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

/// Runs one scripted action each time the loop asks for a message; a loop that keeps waiting
/// with nothing left to do ends the application, so a test can never hang.
class ScriptedApp : public SoundRecordingApp
{
public:
    bool ProcessDeferredMessage() override
    {
        if (script.empty()) {
            if (++idlePolls > kIdlePollLimit) {
                ranOutOfScript = true;
                Shutdown();
            }
            return false;
        }
        idlePolls = 0;
        const std::function<void()> action = std::move(script.front());
        script.pop_front();
        action();
        return true;
    }

    /// Far more loop rounds than a closed dialog needs to end its wait.
    static constexpr int kIdlePollLimit = 100;
    std::deque<std::function<void()>> script;
    int idlePolls = 0;
    bool ranOutOfScript = false;
};

/// The players and what was asked of them.
class FakeMenuHost : public MenuHost
{
public:
    void SetPlayers(const std::vector<std::string>& names, int current)
    {
        players.clear();
        for (const std::string& name : names) {
            players.push_back(std::make_unique<Player>());
            players.back()->name = name;
        }
        currentPlayer = current;
    }
    const std::vector<std::unique_ptr<Player>>& Players() const override { return players; }
    int CurrentPlayerIndex() const override { return currentPlayer; }
    void SelectPlayer(int index) override
    {
        selected.push_back(index);
        currentPlayer = index;
    }
    bool AddPlayer(const std::string& name) override
    {
        added.push_back(name);
        players.push_back(std::make_unique<Player>());
        players.back()->name = name;
        return true;
    }
    bool RenamePlayer(int index, const std::string& newName) override
    {
        renamed.push_back(std::to_string(index) + " " + newName);
        if (failRename) {
            return false;
        }
        players[static_cast<std::size_t>(index)]->name = newName;
        return true;
    }
    void DeletePlayer(int index) override
    {
        deleted.push_back(index);
        players.erase(players.begin() + index);
        if (index <= currentPlayer) {
            --currentPlayer;
        }
    }
    std::string& EnteredName() override { return enteredName; }

    GameMode Mode() const override { return GameMode::OneSide; }
    void SetMode(GameMode) override {}
    bool SavedGameExists(GameMode) override { return false; }
    void ClearLevelCompleted() override {}
    void EnterGameAndStartLevel() override {}
    void ContinueGame() override {}
    void StartNewGame() override {}
    const HighscoreTable& Highscores(GameMode) const override { return table; }
    void OpenContinueDialog() override {}
    void OpenChangePlayerDialog() override {}
    void OpenHighscores(int) override {}
    void OpenHowToPlay() override {}
    void OpenOptions() override {}
    void ExitToMainMenu(bool) override {}
    void ResumeGame() override {}
    void RestartLevel() override {}
    void RequestExit() override {}

    std::vector<std::unique_ptr<Player>> players;
    int currentPlayer = -1;
    std::string enteredName = "unchanged";
    bool failRename = false;
    std::vector<int> selected;
    std::vector<std::string> added;
    std::vector<std::string> renamed;
    std::vector<int> deleted;
    HighscoreTable table;
};

} // namespace

class PlayerDialogsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetResourceHandles();
        SOUND_CLICK = 12;
        IMAGE_BUTTON_NORMAL = buttonFace.get();
        IM_B_DIALOG = dialogButtonFace.get();
        IMAGE_W_SMALL = smallBox.get();
    }
    void TearDown() override
    {
        app.script.clear();
        ResetResourceHandles();
    }

    /// A press and release inside `widget`, through the widget manager.
    void ClickOn(const Zorva::Widget& widget)
    {
        int absX = 0;
        int absY = 0;
        Zorva::WidgetManager& manager = *app.GetWidgetManager();
        manager.GetAbsolutePosition(&widget, &absX, &absY);
        manager.PointerMove(absX + 2, absY + 2);
        manager.PointerDown(absX + 2, absY + 2, Zorva::kClickLeft);
        manager.PointerUp(absX + 2, absY + 2, Zorva::kClickLeft);
    }
    void Type(const std::string& text)
    {
        for (const char character : text) {
            app.GetWidgetManager()->KeyChar(character);
        }
    }
    void PressEnter() { app.GetWidgetManager()->KeyDown(Zorva::kVirtualKeyEnter); }

    DialogWithEdit* ShowNameEntry(const std::string& initialText)
    {
        auto made = std::make_unique<DialogWithEdit>(app, host, "New Player", "Name", initialText);
        made->Place(DialogWithEdit::CentredBounds());
        auto* dialog = static_cast<DialogWithEdit*>(app.AttachDialog(std::move(made)));
        dialog->FocusEdit();
        return dialog;
    }
    DialogWithEdit* NameEntry() const
    {
        return static_cast<DialogWithEdit*>(app.FindDialog(DialogWithEdit::kDialogId));
    }
    ChPlayerDialog* ShowChangePlayer()
    {
        return static_cast<ChPlayerDialog*>(
            app.AttachDialog(std::make_unique<ChPlayerDialog>(app, host)));
    }
    /// Scripts the answer to the name-entry dialog the next wait opens.
    void ScriptNameEntry(const std::string& typed)
    {
        app.script.push_back([this, typed] {
            NameEntry()->edit->SetText("", false);
            Type(typed);
            ClickOn(*NameEntry()->okButton);
        });
    }
    std::vector<std::string> Lines(const ChPlayerDialog& dialog) const
    {
        return dialog.list->lines;
    }
    Zorva::Dialog* Message() const { return app.FindDialog(ChPlayerDialog::kMessageDialogId); }

    std::unique_ptr<Zorva::MemoryImage> buttonFace = BlankImage(104, 30);
    std::unique_ptr<Zorva::MemoryImage> dialogButtonFace = BlankImage(140, 38);
    std::unique_ptr<Zorva::MemoryImage> smallBox = BlankImage(400, 200);
    ScriptedApp app;
    FakeMenuHost host;
};

// ---- name entry ----

TEST_F(PlayerDialogsTest, NameEntry_FilterRefusesTypedAndPastedCharactersAndLimitsLength)
{
    DialogWithEdit* dialog = ShowNameEntry("");
    Type("A#$%&()*+-.:@^/\\b c\x01");
    EXPECT_EQ(dialog->edit->text, "Ab c");

    // A pasted text that holds a refused character does not enter at all; line breaks and
    // other control characters are left out.
    app.SetClipboard("a/b");
    Type(std::string(1, Zorva::EditWidget::kPasteChar));
    EXPECT_EQ(dialog->edit->text, "Ab c");
    app.SetClipboard("x.y");
    Type(std::string(1, Zorva::EditWidget::kPasteChar));
    EXPECT_EQ(dialog->edit->text, "Ab c");
    app.SetClipboard("d\te\n");
    Type(std::string(1, Zorva::EditWidget::kPasteChar));
    EXPECT_EQ(dialog->edit->text, "Ab cde");
    EXPECT_FALSE(dialog->AllowText(DialogWithEdit::kEditId, "a\\b"));
    EXPECT_FALSE(dialog->AllowText(DialogWithEdit::kEditId, "a\x7f"));

    Type("fghijklmn");
    EXPECT_EQ(dialog->edit->text, "Ab cdefghijk");
}

TEST_F(PlayerDialogsTest, NameEntry_EnterAndOkConfirmOnlyANonEmptyName)
{
    DialogWithEdit* dialog = ShowNameEntry("");
    PressEnter();
    ClickOn(*dialog->okButton);
    EXPECT_EQ(NameEntry(), dialog);
    EXPECT_EQ(dialog->result, Zorva::Dialog::kNoResult);
    EXPECT_EQ(host.enteredName, "unchanged");
    EXPECT_EQ(app.sounds, std::vector<int>{SOUND_CLICK});

    Type("Zoe");
    PressEnter();
    EXPECT_EQ(NameEntry(), nullptr);
    EXPECT_EQ(dialog->result, DialogWithEdit::kConfirmed);
    EXPECT_EQ(host.enteredName, "Zoe");
    app.ProcessDeferredDeletes();

    dialog = ShowNameEntry("Max");
    ClickOn(*dialog->okButton);
    EXPECT_EQ(NameEntry(), nullptr);
    EXPECT_EQ(host.enteredName, "Max");
    app.ProcessDeferredDeletes();
}

TEST_F(PlayerDialogsTest, NameEntry_CancelGivesNothingUnlessSwitchedOff)
{
    DialogWithEdit* dialog = ShowNameEntry("Max");
    dialog->SetCancelEnabled(false);
    ClickOn(*dialog->cancelButton);
    EXPECT_EQ(NameEntry(), dialog);

    dialog->SetCancelEnabled(true);
    ClickOn(*dialog->cancelButton);
    EXPECT_EQ(NameEntry(), nullptr);
    EXPECT_EQ(dialog->result, DialogWithEdit::kCancelled);
    EXPECT_EQ(host.enteredName, "");
    app.ProcessDeferredDeletes();

    app.script.push_back([this] { ClickOn(*NameEntry()->cancelButton); });
    EXPECT_EQ(DialogWithEdit::Ask(app, host, "Rename Player", "Name", "Ann",
                                  DialogWithEdit::CentredBounds()),
              DialogWithEdit::kCancelled);
    EXPECT_FALSE(app.ranOutOfScript);
}

// ---- change player ----

TEST_F(PlayerDialogsTest, ChangePlayer_AddsANewNameAndRefusesDuplicatesAndAFullList)
{
    host.SetPlayers({"Ann"}, 0);
    ChPlayerDialog* dialog = ShowChangePlayer();

    ScriptNameEntry("ann");
    dialog->OnListClicked(ChPlayerDialog::kListId, 0, Zorva::kClickLeft);
    EXPECT_EQ(host.added, std::vector<std::string>{"ann"});
    EXPECT_EQ(Lines(*dialog), (std::vector<std::string>{"[ New Player ]", "Ann", "ann"}));
    EXPECT_EQ(dialog->list->selectIndex, 2);
    EXPECT_EQ(Message(), nullptr);

    ScriptNameEntry("Ann");
    dialog->OnListClicked(ChPlayerDialog::kListId, 0, Zorva::kClickLeftDouble);
    EXPECT_EQ(host.added.size(), 1u);
    EXPECT_EQ(Lines(*dialog).size(), 3u);
    ASSERT_NE(Message(), nullptr);
    EXPECT_EQ(Message()->header, "Can not add new player!");
    EXPECT_EQ(Message()->lines, "The player with such name is already exists.");
    EXPECT_EQ(Message()->buttonMode, Zorva::Dialog::kButtonsFooter);
    app.CloseDialog(ChPlayerDialog::kMessageDialogId);

    // A cancelled entry adds nothing.
    app.script.push_back([this] { ClickOn(*NameEntry()->cancelButton); });
    dialog->OnListClicked(ChPlayerDialog::kListId, 0, Zorva::kClickLeft);
    EXPECT_EQ(host.added.size(), 1u);
    EXPECT_EQ(Message(), nullptr);

    host.SetPlayers({"A", "B", "C", "D", "E", "F", "G", "H", "I"}, 0);
    dialog->OnListClicked(ChPlayerDialog::kListId, 0, Zorva::kClickLeft);
    EXPECT_EQ(NameEntry(), nullptr);
    ASSERT_NE(Message(), nullptr);
    EXPECT_EQ(Message()->header, "Players list is full!");
    EXPECT_EQ(Message()->lines, "Please delete one of the players first to add new one.");
    EXPECT_EQ(host.added.size(), 1u);
    EXPECT_FALSE(app.ranOutOfScript);
}

TEST_F(PlayerDialogsTest, ChangePlayer_RenameRefusesTakenNamesAndReportsAFailedMove)
{
    host.SetPlayers({"Ann", "Bob"}, 0);
    ChPlayerDialog* dialog = ShowChangePlayer();
    dialog->OnListClicked(ChPlayerDialog::kListId, 2, Zorva::kClickLeft);

    // The field starts with the old name; confirming it unchanged is a duplicate.
    app.script.push_back([this] {
        EXPECT_EQ(NameEntry()->header, "Rename Player");
        EXPECT_EQ(NameEntry()->edit->text, "Bob");
        PressEnter();
    });
    ClickOn(*dialog->renameButton);
    EXPECT_TRUE(host.renamed.empty());
    ASSERT_NE(Message(), nullptr);
    EXPECT_EQ(Message()->header, "Can not rename player!");
    EXPECT_EQ(Message()->lines, "The player with such name is already exists.");
    app.CloseDialog(ChPlayerDialog::kMessageDialogId);

    host.failRename = true;
    ScriptNameEntry("Cy");
    ClickOn(*dialog->renameButton);
    EXPECT_EQ(host.renamed, std::vector<std::string>{"1 Cy"});
    EXPECT_EQ(Lines(*dialog)[2], "Bob");
    ASSERT_NE(Message(), nullptr);
    EXPECT_EQ(Message()->header, "Can not rename player!");
    app.CloseDialog(ChPlayerDialog::kMessageDialogId);

    host.failRename = false;
    ScriptNameEntry("Cy");
    ClickOn(*dialog->renameButton);
    EXPECT_EQ(Lines(*dialog)[2], "Cy");
    EXPECT_EQ(host.players[1]->name, "Cy");
    EXPECT_EQ(app.sounds.size(), 5u);
    EXPECT_FALSE(app.ranOutOfScript);
}

TEST_F(PlayerDialogsTest, ChangePlayer_DeletingTheLastPlayerIsRefusedWithoutWaiting)
{
    host.SetPlayers({"Ann"}, 0);
    ChPlayerDialog* dialog = ShowChangePlayer();
    ClickOn(*dialog->deleteButton);
    const Zorva::Dialog* refusal = app.FindDialog(ChPlayerDialog::kRefusalDialogId);
    ASSERT_NE(refusal, nullptr);
    EXPECT_TRUE(refusal->isModal);
    EXPECT_EQ(refusal->lines, "Please create one more player before delete this one.");
    EXPECT_EQ(refusal->footer, "Ok");
    EXPECT_EQ(refusal->buttonMode, Zorva::Dialog::kButtonsFooter);
    EXPECT_EQ(refusal->GetBounds(), Zorva::Rect(200, 200, 400, 200));
    EXPECT_TRUE(host.deleted.empty());
    EXPECT_FALSE(app.ranOutOfScript);
}

TEST_F(PlayerDialogsTest, ChangePlayer_DeleteAsksFirstThenFixesTheListAndSelection)
{
    host.SetPlayers({"Ann", "Bob", "Cy^0"}, 2);
    ChPlayerDialog* dialog = ShowChangePlayer();
    EXPECT_EQ(dialog->list->selectIndex, 3);

    app.script.push_back([this] {
        Zorva::Dialog* question = app.FindDialog(ChPlayerDialog::kConfirmDialogId);
        EXPECT_EQ(question->buttonMode, Zorva::Dialog::kButtonsYesNo);
        // The caret is shown as a caret, not read as a colour code.
        EXPECT_EQ(question->lines, "Are you sure you want to delete the player 'Cy^^0'?");
        ClickOn(*question->GetNoButton());
    });
    ClickOn(*dialog->deleteButton);
    EXPECT_TRUE(host.deleted.empty());
    EXPECT_EQ(Lines(*dialog).size(), 4u);

    app.script.push_back(
        [this] { ClickOn(*app.FindDialog(ChPlayerDialog::kConfirmDialogId)->GetYesButton()); });
    ClickOn(*dialog->deleteButton);
    EXPECT_EQ(host.deleted, std::vector<int>{2});
    EXPECT_EQ(Lines(*dialog), (std::vector<std::string>{"[ New Player ]", "Ann", "Bob"}));
    EXPECT_EQ(dialog->list->selectIndex, 2);
    EXPECT_EQ(app.FindDialog(ChPlayerDialog::kConfirmDialogId), nullptr);

    // Deleting from the top keeps the selection on its line.
    dialog->OnListClicked(ChPlayerDialog::kListId, 1, Zorva::kClickLeft);
    app.script.push_back(
        [this] { ClickOn(*app.FindDialog(ChPlayerDialog::kConfirmDialogId)->GetYesButton()); });
    ClickOn(*dialog->deleteButton);
    EXPECT_EQ(host.deleted, (std::vector<int>{2, 0}));
    EXPECT_EQ(Lines(*dialog), (std::vector<std::string>{"[ New Player ]", "Bob"}));
    EXPECT_EQ(dialog->list->selectIndex, 1);
    EXPECT_EQ(app.FindDialog(ChPlayerDialog::kDialogId), dialog);
    EXPECT_FALSE(app.ranOutOfScript);
}

TEST_F(PlayerDialogsTest, ChangePlayer_SelectByButtonOrDoubleClickNeverWithoutAPlayerLine)
{
    host.SetPlayers({"Ann", "Bob"}, -1);
    ChPlayerDialog* dialog = ShowChangePlayer();
    EXPECT_EQ(Lines(*dialog), (std::vector<std::string>{"[ New Player ]", "Ann", "Bob"}));
    EXPECT_EQ(dialog->list->selectIndex, 0);
    ClickOn(*dialog->selectButton);
    dialog->list->SetSelect(-1);
    ClickOn(*dialog->selectButton);
    EXPECT_TRUE(host.selected.empty());
    EXPECT_EQ(app.FindDialog(ChPlayerDialog::kDialogId), dialog);

    // A single click only selects the line.
    dialog->OnListClicked(ChPlayerDialog::kListId, 1, Zorva::kClickLeft);
    EXPECT_TRUE(host.selected.empty());
    EXPECT_EQ(dialog->list->selectIndex, 1);
    ClickOn(*dialog->selectButton);
    EXPECT_EQ(host.selected, std::vector<int>{0});
    EXPECT_EQ(app.FindDialog(ChPlayerDialog::kDialogId), nullptr);
    EXPECT_EQ(app.sounds, (std::vector<int>(3, SOUND_CLICK)));
    app.ProcessDeferredDeletes();

    dialog = ShowChangePlayer();
    dialog->OnListClicked(ChPlayerDialog::kListId, 2, Zorva::kClickLeftDouble);
    EXPECT_EQ(host.selected, (std::vector<int>{0, 1}));
    EXPECT_EQ(app.FindDialog(ChPlayerDialog::kDialogId), nullptr);
    app.ProcessDeferredDeletes();
}

TEST_F(PlayerDialogsTest, SaveLevel_NameStaysAFileOfTheUserFolder)
{
    auto made = std::make_unique<SaveLevelDialog>(app, host);
    made->Place(250, 50, 384, 150);
    auto* dialog = static_cast<SaveLevelDialog*>(app.AttachDialog(std::move(made)));
    dialog->FocusEdit();
    EXPECT_EQ(dialog->edit->text, "level.xml");
    // The field lies between the header and the buttons.
    EXPECT_EQ(dialog->edit->y, SaveLevelDialog::kFieldY);
    EXPECT_LE(dialog->edit->y + dialog->edit->height, dialog->okButton->y);

    dialog->edit->SetText("", false);
    Type("../a/b\\c.xml\x01");
    EXPECT_EQ(dialog->edit->text, ".abc.xml");
    Type(std::string(40, 'x'));
    EXPECT_EQ(dialog->edit->text.size(), 32u);

    EXPECT_TRUE(SaveLevelDialog::IsValidFileName("my.level.xml"));
    for (const char* bad : {"", "..", "a..b", "a/b", "a\\b", "a\tb"}) {
        EXPECT_FALSE(SaveLevelDialog::IsValidFileName(bad)) << bad;
    }
    EXPECT_FALSE(SaveLevelDialog::IsValidFileName(std::string(33, 'x')));
}
