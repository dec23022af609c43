// The main menu, its continue dialog, the in-game menu and the highscores window in a
// headless application: where they stand, and what each button asks of the application.

#include "../../widgets/WidgetTestSupport.h"
#include "app/PlatformClock.h"
#include "app/ZorvaAppBase.h"
#include "game/Player.h"
#include "game/ResourceHandles.h"
#include "game/screens/ContinueGameWnd.h"
#include "game/screens/GameDialogButton.h"
#include "game/screens/HighscoresWnd.h"
#include "game/screens/LogoImage.h"
#include "game/screens/MenuHost.h"
#include "game/screens/MenuWnd.h"
#include "game/screens/TitleWnd.h"
#include "graphics/ImageLib.h"
#include "widgets/ButtonWidget.h"

#include "ScreenTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <unistd.h>

using namespace WidgetTest;

namespace {

using MenuApp = SoundRecordingApp;

/// Records every request as one word (with its argument where it has one).
class RecordingMenuHost : public MenuHost
{
public:
    const std::vector<std::unique_ptr<Player>>& Players() const override { return players; }
    int CurrentPlayerIndex() const override { return current; }
    void SelectPlayer(int index) override { Note("select " + std::to_string(index)); }
    bool AddPlayer(const std::string&) override { return false; }
    bool RenamePlayer(int, const std::string&) override { return false; }
    void DeletePlayer(int) override {}
    std::string& EnteredName() override { return enteredName; }

    GameMode Mode() const override { return mode; }
    void SetMode(GameMode newMode) override
    {
        mode = newMode;
        Note("mode " + std::to_string(static_cast<int>(newMode)));
    }
    bool SavedGameExists(GameMode savedMode) override
    {
        return savedMode == GameMode::OneSide ? oneSideSaved : twoSideSaved;
    }
    void ClearLevelCompleted() override { Note("clear"); }
    void EnterGameAndStartLevel() override { Note("enter"); }
    void ContinueGame() override { Note("continue"); }
    void StartNewGame() override { Note("new game"); }
    const HighscoreTable& Highscores(GameMode tableMode) const override
    {
        return tableMode == GameMode::OneSide ? oneSideTable : twoSideTable;
    }

    void OpenContinueDialog() override { Note("continue dialog"); }
    void OpenChangePlayerDialog() override { Note("change player"); }
    void OpenHighscores(int row) override { Note("highscores " + std::to_string(row)); }
    void OpenHowToPlay() override { Note("how to play"); }
    void OpenOptions() override { Note("options"); }
    void ExitToMainMenu(bool save) override { Note(save ? "main menu saved" : "main menu"); }
    void ResumeGame() override { Note("resume"); }
    void RestartLevel() override { Note("restart"); }
    void RequestExit() override { Note("exit"); }

    Log Take() { return std::exchange(calls, {}); }
    void Note(const std::string& call) { calls.push_back(call); }

    std::vector<std::unique_ptr<Player>> players;
    int current = -1;
    GameMode mode = GameMode::TwoSide;
    bool oneSideSaved = false;
    bool twoSideSaved = false;
    HighscoreTable oneSideTable;
    HighscoreTable twoSideTable;
    std::string enteredName;
    Log calls;
};

} // namespace

class MenuScreensTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetResourceHandles();
        SOUND_CLICK = 12;
        FONT_DEFAULT = &font;
        IMAGE_BIG_BUTTON = bigButton.get();
        IM_B_CHANGE_PLAYER = changePlayer.get();
        IM_B_DIALOG = dialogButton.get();
        IM_B_DIALOG_DISABLE = dialogButtonDisabled.get();
        IMAGE_W_SMALL = smallBox.get();
        IMAGE_W_MENU = menuBox.get();
        IMAGE_DIALOG_BOX = dialogBox.get();
    }
    void TearDown() override { ResetResourceHandles(); }

    Player& AddPlayer(const std::string& name)
    {
        host.players.push_back(std::make_unique<Player>());
        host.players.back()->name = name;
        host.current = static_cast<int>(host.players.size()) - 1;
        return *host.players.back();
    }

    /// A click inside a widget, in screen coordinates.
    void ClickOn(const Widget& widget)
    {
        int absX = 0;
        int absY = 0;
        app.GetWidgetManager()->GetAbsolutePosition(&widget, &absX, &absY);
        WidgetManager& manager = *app.GetWidgetManager();
        manager.PointerMove(absX + 2, absY + 2);
        manager.PointerDown(absX + 2, absY + 2, kClickLeft);
        manager.PointerUp(absX + 2, absY + 2, kClickLeft);
    }

    std::unique_ptr<TitleWnd> ShowTitle()
    {
        auto title = std::make_unique<TitleWnd>(app, host);
        app.GetWidgetManager()->AddWidget(title.get());
        return title;
    }

    /// Presses a main-menu button and returns what the application was asked to do.
    Log Press(TitleWnd& title, int buttonId)
    {
        ClickOn(*title.buttons[static_cast<std::size_t>(buttonId)]);
        return host.Take();
    }

    BlockFont font{6, 8, 2};
    std::unique_ptr<MemoryImage> bigButton = BlankImage(174, 50);
    std::unique_ptr<MemoryImage> changePlayer = BlankImage(200, 30);
    std::unique_ptr<MemoryImage> dialogButton = BlankImage(140, 38);
    std::unique_ptr<MemoryImage> dialogButtonDisabled = BlankImage(140, 38);
    std::unique_ptr<MemoryImage> smallBox = BlankImage(400, 200);
    std::unique_ptr<MemoryImage> menuBox = BlankImage(250, 280);
    std::unique_ptr<MemoryImage> dialogBox = BlankImage(540, 415);
    MenuApp app;
    RecordingMenuHost host;
};

TEST_F(MenuScreensTest, Title_ButtonsPlacedSizedAndStyled)
{
    auto title = ShowTitle();
    ASSERT_EQ(title->buttons.size(), 6u);
    const std::vector<std::pair<std::string, Rect>> expected = {
        {"One Side Solitaire", Rect(313, 314, 174, 46)},
        {"Two Side Solitaire", Rect(313, 370, 174, 46)},
        {"", Rect(300, 130, 200, 30)},
        {"Options", Rect(338, 424, 140, 36)},
        {"Highscores", Rect(338, 464, 140, 36)},
        {"Exit", Rect(338, 504, 140, 36)}};
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const ButtonWidget& button = *title->buttons[i];
        SCOPED_TRACE(i);
        EXPECT_EQ(button.id, static_cast<int>(i));
        EXPECT_EQ(button.label, expected[i].first);
        EXPECT_EQ(button.GetBounds(), expected[i].second);
        EXPECT_TRUE(button.handCursor);
        EXPECT_EQ(button.ColorAt(1), Color::kWhite);
    }
    EXPECT_EQ(title->buttons[TitleWnd::kChangePlayerButtonId]->overImage, IM_B_OVER_CHANGE_PLAYER);
    app.GetWidgetManager()->RemoveWidget(title.get());
}

TEST_F(MenuScreensTest, Title_ModeButtons_FreshGameContinueDialogOrPlayerChoice)
{
    auto title = ShowTitle();
    // No current player: the player is asked for first, whatever the mode.
    EXPECT_EQ(Press(*title, TitleWnd::kOneSideButtonId), (Log{"clear", "mode 2", "change player"}));

    Player& ann = AddPlayer("Ann");
    ann.reshuffles = 4;
    ann.oneSideScore = 300;
    ann.twoSideScore = 500;
    ann.pileCount = 3;
    EXPECT_EQ(Press(*title, TitleWnd::kOneSideButtonId), (Log{"clear", "mode 2", "enter"}));
    EXPECT_EQ(ann.reshuffles, 1);
    EXPECT_EQ(ann.oneSideScore, 0);
    EXPECT_EQ(ann.twoSideScore, 500);
    EXPECT_EQ(ann.pileCount, 3);

    EXPECT_EQ(Press(*title, TitleWnd::kTwoSideButtonId), (Log{"clear", "mode 0", "enter"}));
    EXPECT_EQ(ann.twoSideScore, 0);
    EXPECT_EQ(ann.pileCount, 2);

    // A level beyond the first, or a saved game, of the chosen mode offers to go on.
    ann.oneSideLevel = 2;
    ann.reshuffles = 4;
    EXPECT_EQ(Press(*title, TitleWnd::kOneSideButtonId),
              (Log{"clear", "mode 2", "continue dialog"}));
    EXPECT_EQ(ann.reshuffles, 4);
    EXPECT_EQ(Press(*title, TitleWnd::kTwoSideButtonId), (Log{"clear", "mode 0", "enter"}));
    host.twoSideSaved = true;
    EXPECT_EQ(Press(*title, TitleWnd::kTwoSideButtonId),
              (Log{"clear", "mode 0", "continue dialog"}));
    ann.oneSideLevel = 1;
    EXPECT_EQ(Press(*title, TitleWnd::kOneSideButtonId), (Log{"clear", "mode 2", "enter"}));
    EXPECT_EQ(app.sounds, std::vector<int>(7, SOUND_CLICK));
    app.GetWidgetManager()->RemoveWidget(title.get());
}

TEST_F(MenuScreensTest, Title_OtherButtons)
{
    auto title = ShowTitle();
    EXPECT_EQ(Press(*title, TitleWnd::kChangePlayerButtonId), Log{"change player"});
    EXPECT_EQ(Press(*title, TitleWnd::kHighscoresButtonId), Log{"highscores -1"});
    EXPECT_EQ(Press(*title, TitleWnd::kExitButtonId), Log{"exit"});
    EXPECT_EQ(Press(*title, TitleWnd::kOptionsButtonId), Log{"options"});
    EXPECT_EQ(app.sounds.size(), 4u);
    app.GetWidgetManager()->RemoveWidget(title.get());
}

TEST_F(MenuScreensTest, Title_GreetingCentredWithNameCaretsDrawnAsText)
{
    TitleWnd title(app, host);
    MemoryImage canvas;
    canvas.Create(800, 600);
    const auto paint = [&] {
        canvas.Clear();
        Graphics graphics(&canvas);
        title.Paint(graphics);
    };
    paint();
    EXPECT_EQ(Pixels(canvas, {{400, 120}}), "clear");

    // "Welcome, ^FF0000A" is 17 blocks of 6: 102 wide, centred on 400 from 349.
    AddPlayer("^FF0000A");
    paint();
    EXPECT_EQ(Pixels(canvas, {{348, 120}, {349, 117}, {450, 124}, {451, 120}, {440, 125}}),
              "clear 0,0,0 0,0,0 clear clear");
}

TEST_F(MenuScreensTest, Title_LogosOfTheTitleSectionOnly)
{
    const auto dir = std::filesystem::path(::testing::TempDir()) /
                     ("menu-screens-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string picture = (dir / "pic.png").string();
    auto blue = ImageLib::Image::Create(2, 2);
    std::fill(blue->bits.get(), blue->bits.get() + 4, kBlue.PackARGB());
    ASSERT_TRUE(ImageLib::SavePNG(picture, *blue));
    const std::string logos = (dir / "logos.xml").string();
    std::ofstream(logos) << "<LogoAppearence><OnTitleLoading><Image name=\"" << picture
                         << "\" left=\"1\" top=\"1\"/></OnTitleLoading><OnTitle><Image name=\""
                         << picture << "\" left=\"10\" top=\"20\"/></OnTitle></LogoAppearence>";

    TitleWnd title(app, host);
    title.LoadLogos(logos);
    MemoryImage canvas;
    canvas.Create(800, 600);
    Graphics graphics(&canvas);
    title.Paint(graphics);
    EXPECT_EQ(Pixels(canvas, {{1, 1}, {10, 20}, {11, 21}, {12, 22}}),
              "clear 0,0,255 0,0,255 clear");
    std::filesystem::remove_all(dir);
}

TEST_F(MenuScreensTest, ContinueDialog_PlacedAndEachButtonClosesFirst)
{
    for (const int buttonId :
         {ContinueGameWnd::kContinueButtonId, ContinueGameWnd::kNewGameButtonId}) {
        auto* dialog = static_cast<ContinueGameWnd*>(
            app.AttachDialog(std::make_unique<ContinueGameWnd>(app, host)));
        EXPECT_EQ(dialog->GetBounds(), Rect(200, 200, 400, 200));
        EXPECT_EQ(dialog->lines, "Do you want to continue your previous game or start new game?");
        EXPECT_TRUE(dialog->isModal);
        EXPECT_EQ(dialog->continueButton->GetBounds(), Rect(195, 105, 140, 36));
        EXPECT_EQ(dialog->newGameButton->GetBounds(), Rect(30, 105, 140, 36));

        ClickOn(buttonId == ContinueGameWnd::kContinueButtonId ? *dialog->continueButton
                                                               : *dialog->newGameButton);
        EXPECT_EQ(app.FindDialog(ContinueGameWnd::kDialogId), nullptr);
        app.ProcessDeferredDeletes();
    }
    EXPECT_EQ(host.Take(), (Log{"continue", "new game"}));
    EXPECT_EQ(app.sounds, std::vector<int>(2, SOUND_CLICK));
}

TEST_F(MenuScreensTest, InGameMenu_ButtonsAndEscape)
{
    const auto open = [this] {
        auto* menu = static_cast<MenuWnd*>(app.AttachDialog(std::make_unique<MenuWnd>(app, host)));
        app.GetWidgetManager()->SetFocus(menu);
        return menu;
    };
    MenuWnd* menu = open();
    EXPECT_EQ(menu->GetBounds(), Rect(275, 160, 250, 280));
    ASSERT_EQ(menu->buttons.size(), 5u);
    const std::vector<std::string> labels = {"Main Menu", "How To Play", "Options", "Restart",
                                             "Continue"};
    for (std::size_t i = 0; i < labels.size(); ++i) {
        EXPECT_EQ(menu->buttons[i]->label, labels[i]);
        EXPECT_EQ(menu->buttons[i]->GetBounds(), Rect(55, 40 + 40 * static_cast<int>(i), 140, 36));
    }

    // How To Play and Options open over the menu.
    ClickOn(*menu->buttons[MenuWnd::kHowToPlayButtonId]);
    ClickOn(*menu->buttons[MenuWnd::kOptionsButtonId]);
    EXPECT_EQ(app.FindDialog(MenuWnd::kDialogId), menu);
    EXPECT_EQ(host.Take(), (Log{"how to play", "options"}));

    const std::vector<std::pair<int, std::string>> closing = {
        {MenuWnd::kContinueButtonId, "resume"},
        {MenuWnd::kRestartButtonId, "restart"},
        {MenuWnd::kMainMenuButtonId, "main menu saved"}};
    for (const auto& [buttonId, call] : closing) {
        ClickOn(*menu->buttons[static_cast<std::size_t>(buttonId)]);
        EXPECT_EQ(app.FindDialog(MenuWnd::kDialogId), nullptr);
        EXPECT_EQ(host.Take(), Log{call});
        app.ProcessDeferredDeletes();
        menu = open();
    }
    EXPECT_EQ(app.sounds, std::vector<int>(5, SOUND_CLICK));

    app.GetWidgetManager()->KeyDown(kVirtualKeyEscape);
    EXPECT_EQ(app.FindDialog(MenuWnd::kDialogId), nullptr);
    EXPECT_EQ(host.Take(), Log{"resume"});
    app.ProcessDeferredDeletes();
}

TEST_F(MenuScreensTest, Highscores_PlacedAndOnlyThePlayedModesRowGreen)
{
    for (int row = 0; row < 10; ++row) {
        host.oneSideTable.push_back({"^00FF00x", 1000 - row});
        host.twoSideTable.push_back({"Bo", 900 - row});
    }
    // The colour of a row's rank and name in the left and right columns.
    const auto rowColours = [this](int highlightRow, int row) {
        HighscoresWnd window(app, host, highlightRow);
        MemoryImage canvas;
        canvas.Create(window.width, window.height);
        Graphics graphics(&canvas);
        window.Paint(graphics);
        const int top = 130 + 20 * row - 4;
        return Pixels(canvas, {{51, top}, {81, top}, {411, top}, {441, top}});
    };
    const std::string white = "255,255,255";
    const std::string green = "0,255,0";

    HighscoresWnd window(app, host, 3);
    EXPECT_EQ(window.GetBounds(), Rect(30, 93, 740, 415));
    EXPECT_EQ(window.header, "HIGHSCORES");
    EXPECT_EQ(window.okButton->GetBounds(), Rect(295, 350, 140, 36));

    host.mode = GameMode::OneSide;
    EXPECT_EQ(rowColours(3, 3), green + " " + green + " " + white + " " + white);
    EXPECT_EQ(rowColours(3, 2), white + " " + white + " " + white + " " + white);
    EXPECT_EQ(rowColours(-1, 3), white + " " + white + " " + white + " " + white);
    host.mode = GameMode::TwoSide;
    EXPECT_EQ(rowColours(9, 9), white + " " + white + " " + green + " " + green);
    host.mode = GameMode::Editor;
    EXPECT_EQ(rowColours(0, 0), white + " " + white + " " + white + " " + white);

    auto* shown = app.AttachDialog(std::make_unique<HighscoresWnd>(app, host, -1));
    ClickOn(*static_cast<HighscoresWnd*>(shown)->okButton);
    EXPECT_EQ(app.FindDialog(HighscoresWnd::kDialogId), nullptr);
    EXPECT_EQ(app.sounds, std::vector<int>{SOUND_CLICK});
    app.ProcessDeferredDeletes();
}
