// The name-entry dialog in a headless application: what may be typed into a name and how
// the dialog ends. Modal waits run scripted input inside the nested loop.

#include "app/PlatformClock.h"
#include "app/ZorvaAppBase.h"
#include "game/Player.h"
#include "game/ResourceHandles.h"
#include "game/screens/DialogWithEdit.h"
#include "game/screens/MenuHost.h"
#include "game/screens/NormalDialogButton.h"
#include "graphics/MemoryImage.h"
#include "widgets/EditWidget.h"
#include "widgets/WidgetManager.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

/// Runs one scripted action each time the loop asks for a message; a loop that keeps waiting
/// with nothing left to do ends the application, so a test can never hang.
class ScriptedApp : public Zorva::ZorvaAppBase
{
public:
    ScriptedApp() : ZorvaAppBase(std::make_unique<Zorva::FakeClock>())
    {
        width = 800;
        height = 600;
        GetWidgetManager()->Resize(800, 600);
        GetWidgetManager()->OnAppFocusIn();
    }
    using ZorvaAppBase::PlaySoundOnce;
    void PlaySoundOnce(int id) override { sounds.push_back(id); }
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
    std::vector<int> sounds;
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

std::unique_ptr<Zorva::MemoryImage> BlankImage(int w, int h)
{
    auto image = std::make_unique<Zorva::MemoryImage>();
    image->Create(w, h);
    return image;
}

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
