// The dialogs over the game screen in a headless application: where they stand, and what
// their buttons and check box do to the board, the panel and the player record.

#include "app/PlatformClock.h"
#include "app/ZorvaAppBase.h"
#include "game/Board.h"
#include "game/BoardInterface.h"
#include "game/BoardPanelHost.h"
#include "game/HeadlessHost.h"
#include "game/ResourceHandles.h"
#include "game/screens/GameDialogButton.h"
#include "game/screens/GameOverWnd.h"
#include "game/screens/HintWnd.h"
#include "game/screens/HowDialog.h"
#include "graphics/Graphics.h"
#include "graphics/MemoryImage.h"
#include "system/MTRand.h"
#include "widgets/Checkbox.h"
#include "widgets/WidgetManager.h"

#include "ScreenTestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using DialogsApp = SoundRecordingApp;

class PanelHost : public HeadlessHost, public BoardPanelHost
{
public:
    void SetReshuffleButton(const std::string& label, bool enabled) override
    {
        HeadlessHost::SetReshuffleButton(label, enabled);
        if (panel) {
            panel->SetReshuffleButton(label, enabled);
        }
    }
    void ShowLevelMap() override {}
    void OpenInGameMenu() override {}
    bool DebugKeysEnabled() const override { return false; }

    BoardInterface* panel = nullptr;
};

} // namespace

class InGameDialogsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetResourceHandles();
        SOUND_CLICK = 12;
        IMAGE_BUTTON_NORMAL = buttonFace.get();
        IM_B_DIALOG = dialogButtonFace.get();
        IMAGE_W_SMALL = smallBox.get();
        IMAGE_W_HINT = hintBox.get();
        IMAGE_CHECKBOX = checkboxFaces.get();
        IMAGE_HOW_TO_PLAY1 = pageOne.get();
        IMAGE_HOW_TO_PLAY2 = pageTwo.get();
        Zorva::Rand().SRand(4357);
        host.player.name = "Ann";
        host.onUpdate = [this] { board.Tick(); };
        panel = std::make_unique<BoardInterface>(board, host, host);
        host.panel = panel.get();
        app.GetWidgetManager()->AddWidget(panel.get());
    }

    void TearDown() override
    {
        app.GetWidgetManager()->RemoveWidget(panel.get());
        host.panel = nullptr;
        ResetResourceHandles();
        std::remove(levelPath.c_str());
    }

    /// Starts a small One-Side level as level 3.
    void StartLevel()
    {
        levelPath = ::testing::TempDir() + "quarrow_" + std::to_string(::getpid()) + "_dlg.xml";
        std::ofstream(levelPath) << "<?xml version=\"1.0\"?>\n<Level Typs=\"0,1,2,3\" >\n"
                                    "<Layers>\n<Layer>\n<l>[==]..[==]..[==]</l>\n</Layer>\n"
                                    "</Layers>\n</Level>\n";
        board.model.field.mode = GameMode::OneSide;
        ASSERT_TRUE(board.model.StartLevel(levelPath, 3));
    }

    /// A click inside a child widget of a dialog, in screen coordinates.
    void ClickOn(const Zorva::Widget& widget)
    {
        int absX = 0;
        int absY = 0;
        app.GetWidgetManager()->GetAbsolutePosition(&widget, &absX, &absY);
        Zorva::WidgetManager& manager = *app.GetWidgetManager();
        manager.PointerMove(absX + 2, absY + 2);
        manager.PointerDown(absX + 2, absY + 2, Zorva::kClickLeft);
        manager.PointerUp(absX + 2, absY + 2, Zorva::kClickLeft);
    }

    std::unique_ptr<Zorva::MemoryImage> buttonFace = BlankImage(104, 30);
    std::unique_ptr<Zorva::MemoryImage> dialogButtonFace = BlankImage(140, 38);
    std::unique_ptr<Zorva::MemoryImage> smallBox = BlankImage(400, 200);
    std::unique_ptr<Zorva::MemoryImage> hintBox = BlankImage(200, 100);
    std::unique_ptr<Zorva::MemoryImage> checkboxFaces = BlankImage(40, 20);
    std::unique_ptr<Zorva::MemoryImage> pageOne = BlankImage(8, 8);
    std::unique_ptr<Zorva::MemoryImage> pageTwo = BlankImage(8, 8);
    DialogsApp app;
    PanelHost host;
    Board board{host};
    std::unique_ptr<BoardInterface> panel;
    std::string levelPath;
};

TEST_F(InGameDialogsTest, DialogButton_FaceSizeColoursAndHandCursor)
{
    GameDialogButton button(7, "Go", nullptr);
    EXPECT_EQ(button.width, 140);
    EXPECT_EQ(button.height, 36);
    EXPECT_EQ(button.buttonImage, IM_B_DIALOG);
    EXPECT_TRUE(button.handCursor);
    EXPECT_EQ(button.ColorAt(0), Zorva::Color::kBlack);
    EXPECT_EQ(button.ColorAt(1), Zorva::Color::kWhite);
}

TEST_F(InGameDialogsTest, GameOver_CentredReshuffleDisabledWithNoneLeftReplayRestarts)
{
    StartLevel();
    board.model.field.reshufflesLeft = 0;
    host.player.oneSideScore = 50;
    board.model.field.score = 999;
    auto* dialog =
        static_cast<GameOverWnd*>(app.AttachDialog(std::make_unique<GameOverWnd>(app, *panel)));
    EXPECT_EQ(dialog->GetBounds(), Zorva::Rect(200, 200, 400, 200));
    EXPECT_EQ(dialog->header, "Game Over!");
    EXPECT_EQ(dialog->lines, "You have not more moves!");
    EXPECT_TRUE(dialog->isModal);
    EXPECT_EQ(dialog->ColorAt(0), Zorva::Color::kBlack);
    EXPECT_EQ(dialog->useReshuffleButton->GetBounds(), Zorva::Rect(30, 105, 140, 36));
    EXPECT_EQ(dialog->replayButton->GetBounds(), Zorva::Rect(195, 105, 140, 36));
    EXPECT_TRUE(dialog->useReshuffleButton->disabled);

    ClickOn(*dialog->useReshuffleButton);
    EXPECT_EQ(app.FindDialog(GameOverWnd::kDialogId), dialog);

    ClickOn(*dialog->replayButton);
    EXPECT_EQ(app.FindDialog(GameOverWnd::kDialogId), nullptr);
    EXPECT_EQ(app.sounds, std::vector<int>{SOUND_CLICK});
    EXPECT_EQ(app.GetWidgetManager()->focusWidget, panel.get());
    EXPECT_EQ(board.model.field.score, 50);
    EXPECT_EQ(board.model.levelNumber, 3);
    app.ProcessDeferredDeletes();
}

TEST_F(InGameDialogsTest, GameOver_UseReshuffleClosesAndReshufflesOnce)
{
    StartLevel();
    board.model.field.reshufflesLeft = 1;
    auto* dialog =
        static_cast<GameOverWnd*>(app.AttachDialog(std::make_unique<GameOverWnd>(app, *panel)));
    EXPECT_FALSE(dialog->useReshuffleButton->disabled);
    ClickOn(*dialog->useReshuffleButton);
    EXPECT_EQ(app.FindDialog(GameOverWnd::kDialogId), nullptr);
    EXPECT_EQ(board.model.field.reshufflesLeft, 0);
    EXPECT_EQ(panel->reshuffleButton->label, "Reshuffle 0");
    // One click sound in all: the panel's reshuffle plays it.
    EXPECT_TRUE(app.sounds.empty());
    EXPECT_EQ(host.SoundCount(SOUND_CLICK), 1);
    EXPECT_EQ(app.GetWidgetManager()->focusWidget, panel.get());
    app.ProcessDeferredDeletes();
}

TEST_F(InGameDialogsTest, Hint_PlacedAboveThePointMovedWhenShownAgainAndClosed)
{
    HintWnd hint(app);
    Zorva::WidgetManager& manager = *app.GetWidgetManager();
    hint.Show(manager, 300, 400, "Use stone deck");
    EXPECT_TRUE(hint.IsShown());
    EXPECT_EQ(hint.GetBounds(), Zorva::Rect(300, 270, 229, 130));
    EXPECT_EQ(hint.textRect, Zorva::Rect(59, 30, 140, 100));
    EXPECT_EQ(hint.arrowY, 80);
    EXPECT_EQ(hint.closeButton->GetBounds(), Zorva::Rect(120, 110, 104, 26));
    const std::size_t shown = manager.children.size();

    hint.Show(manager, 100, 450, "Joker");
    EXPECT_EQ(manager.children.size(), shown);
    EXPECT_EQ(hint.GetBounds(), Zorva::Rect(100, 320, 229, 130));
    EXPECT_EQ(hint.Text(), "Joker");

    // The glow swings down to 100 or less, then back up.
    for (int i = 0; i < 38; ++i) {
        hint.Tick();
    }
    EXPECT_EQ(hint.glow, 98);
    EXPECT_TRUE(hint.glowUp);
    hint.Tick();
    EXPECT_EQ(hint.glow, 102);

    ClickOn(*hint.closeButton);
    EXPECT_FALSE(hint.IsShown());
    EXPECT_EQ(app.sounds, std::vector<int>{SOUND_CLICK});
    hint.Hide();
    EXPECT_FALSE(hint.IsShown());
}

TEST_F(InGameDialogsTest, Hint_ArrowGlowsAdditivelyWhileDim)
{
    auto arrow = std::make_unique<Zorva::MemoryImage>();
    const std::vector<uint32_t> red(4, 0xFF640000u);
    arrow->SetPixels(red.data(), 2, 2, true);
    IMAGE_ARROW = arrow.get();
    IMAGE_W_HINT = nullptr;
    HintWnd hint(app);
    const auto arrowPixel = [&](int glow) {
        Zorva::MemoryImage canvas;
        canvas.Create(4, 4);
        const std::vector<uint32_t> grey(16, 0xFF323232u);
        canvas.SetPixels(grey.data(), 4, 4, true);
        Zorva::Graphics graphics(&canvas);
        hint.glow = glow;
        hint.Paint(graphics);
        return canvas.PixelAt(0, 0) & 0xFFFFFF;
    };
    EXPECT_EQ(arrowPixel(250), 0x640000u);
    // Added at alpha 150 to the grey: 50 + 100 * 150 / 255 red.
    const uint32_t glowing = arrowPixel(120);
    EXPECT_NEAR(static_cast<int>(glowing >> 16), 50 + 100 * 150 / 255, 2);
    EXPECT_EQ(glowing & 0xFF, 50u);
    IMAGE_ARROW = nullptr;
}

TEST_F(InGameDialogsTest, HowToPlay_PageOfTheModeAndTheBoxWritesTheChoice)
{
    host.player.showHowToPlay = true;
    auto* dialog = static_cast<HowDialog*>(
        app.AttachDialog(std::make_unique<HowDialog>(app, host, GameMode::OneSide)));
    EXPECT_EQ(dialog->GetBounds(), Zorva::Rect(0, 0, 800, 600));
    EXPECT_EQ(dialog->pageImage, IMAGE_HOW_TO_PLAY1);
    EXPECT_EQ(dialog->checkbox->GetBounds(), Zorva::Rect(290, 500, 20, 20));
    EXPECT_EQ(dialog->checkbox->checkedRect, Zorva::Rect(20, 0, 20, 20));
    EXPECT_FALSE(dialog->checkbox->IsChecked());
    EXPECT_EQ(dialog->closeButton->GetBounds(), Zorva::Rect(310, 550, 140, 36));

    ClickOn(*dialog->checkbox);
    EXPECT_FALSE(host.player.showHowToPlay);
    EXPECT_EQ(host.playerSaves, 1);
    ClickOn(*dialog->checkbox);
    EXPECT_TRUE(host.player.showHowToPlay);
    EXPECT_EQ(host.playerSaves, 2);

    ClickOn(*dialog->closeButton);
    EXPECT_EQ(app.FindDialog(HowDialog::kDialogId), nullptr);
    EXPECT_EQ(app.sounds, std::vector<int>{SOUND_CLICK});
    app.ProcessDeferredDeletes();

    host.player.showHowToPlay = false;
    HowDialog twoSide(app, host, GameMode::TwoSide);
    EXPECT_EQ(twoSide.pageImage, IMAGE_HOW_TO_PLAY2);
    EXPECT_TRUE(twoSide.checkbox->IsChecked());
}
