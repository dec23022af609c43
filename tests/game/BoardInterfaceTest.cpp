// The board panel in a widget manager: pointer input reaches the board model through the
// manager, the buttons follow the field's state, and the keys reach the application.

#include "game/BoardInterface.h"
#include "game/Board.h"
#include "game/BoardPanelHost.h"
#include "game/HeadlessHost.h"
#include "game/ResourceHandles.h"
#include "graphics/MemoryImage.h"
#include "system/MTRand.h"
#include "widgets/ButtonWidget.h"
#include "widgets/WidgetManager.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

/// The application's side of the panel: the field's requests for the buttons go to the panel
/// as the game application passes them on.
class PanelHost : public HeadlessHost, public BoardPanelHost
{
public:
    void SetUndoEnabled(bool enabled) override
    {
        HeadlessHost::SetUndoEnabled(enabled);
        if (panel) {
            panel->SetUndoEnabled(enabled);
        }
    }
    void SetReshuffleButton(const std::string& label, bool enabled) override
    {
        HeadlessHost::SetReshuffleButton(label, enabled);
        if (panel) {
            panel->SetReshuffleButton(label, enabled);
        }
    }
    void ShowLevelMap() override {}
    void OpenInGameMenu() override { ++menusOpened; }
    bool DebugKeysEnabled() const override { return debugKeys; }

    BoardInterface* panel = nullptr;
    int menusOpened = 0;
    bool debugKeys = false;
};

std::unique_ptr<Zorva::MemoryImage> BlankImage(int w, int h)
{
    auto image = std::make_unique<Zorva::MemoryImage>();
    image->Create(w, h);
    return image;
}

} // namespace

class BoardInterfaceTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetResourceHandles();
        SOUND_PUT = 1;
        SOUND_CLICK = 12;
        SOUND_BONUS_APPEAR = 11;
        IMAGE_BUTTON_NORMAL = buttonFace.get();
        IMAGE_BUTTON_MENU = menuFace.get();
        Zorva::Rand().SRand(4357);
        host.player.name = "Ann";
        host.onUpdate = [this] { board.Tick(); };
        panel = std::make_unique<BoardInterface>(board, host, host);
        host.panel = panel.get();
        manager.Resize(800, 600);
        manager.OnAppFocusIn();
        manager.AddWidget(panel.get());
    }

    void TearDown() override
    {
        manager.RemoveWidget(panel.get());
        host.panel = nullptr;
        ResetResourceHandles();
        for (const std::string& path : writtenFiles) {
            std::remove(path.c_str());
        }
    }

    PlayField& Field() { return board.model.field; }

    DominoFish& AddStone(int layer, int x, int y, int pictureA, int pictureB)
    {
        while (static_cast<int>(Field().layers.size()) <= layer) {
            Field().layers.emplace_back();
        }
        auto stone =
            std::make_unique<DominoFish>(&Field(), x, y, DominoFish::kLyingALeft, layer, 0);
        stone->pictureA = pictureA;
        stone->pictureB = pictureB;
        DominoFish& added = *stone;
        Field().layers[layer].push_back(std::move(stone));
        ++Field().stoneCount;
        return added;
    }

    void SetLine(int leftValue, int rightValue)
    {
        board.model.line.Reset();
        for (const auto& [value, x] :
             {std::pair{leftValue, PlayLine::kFirstX}, std::pair{rightValue, PlayLine::kLastX}}) {
            auto stone = std::make_unique<DominoFish>(&Field(), x, PlayLine::kCentreY,
                                                      DominoFish::kLyingALeft, 0, 0);
            stone->faceUp = true;
            stone->pictureA = value;
            stone->pictureB = value;
            board.model.line.Append(std::move(stone));
        }
    }

    static std::pair<int, int> PointOn(const DominoFish& stone)
    {
        return {stone.drawLeft + 7 + stone.width / 2, stone.drawTop - 7 + stone.height / 2};
    }

    void Click(int x, int y, int code = Zorva::kClickLeft)
    {
        manager.PointerMove(x, y);
        manager.PointerDown(x, y, code);
        manager.PointerUp(x, y, code == Zorva::kClickRightDouble ? Zorva::kClickRight : code);
    }

    void ClickButton(const Zorva::ButtonWidget& button) { Click(button.x + 2, button.y + 2); }

    std::string TempPath(const std::string& name)
    {
        const std::string path =
            ::testing::TempDir() + "quarrow_" + std::to_string(::getpid()) + "_" + name;
        writtenFiles.push_back(path);
        return path;
    }

    std::unique_ptr<Zorva::MemoryImage> buttonFace = BlankImage(104, 30);
    std::unique_ptr<Zorva::MemoryImage> menuFace = BlankImage(96, 56);
    PanelHost host;
    Board board{host};
    Zorva::WidgetManager manager;
    std::unique_ptr<BoardInterface> panel;
    std::vector<std::string> writtenFiles;
};

TEST_F(BoardInterfaceTest, Buttons_LaidOutAsChildrenAboveThePanel)
{
    EXPECT_EQ(panel->GetBounds(), Zorva::Rect(0, 0, 800, 600));
    EXPECT_NE(panel->flagsAdd & Zorva::kWidgetMarkDirty, 0);
    EXPECT_TRUE(panel->AcceptsFocus());
    EXPECT_EQ(panel->menuButton->GetBounds(), Zorva::Rect(693, 540, 96, 56));
    EXPECT_EQ(panel->undoButton->GetBounds(), Zorva::Rect(578, 538, 104, 28));
    EXPECT_EQ(panel->hintButton->GetBounds(), Zorva::Rect(578, 568, 104, 28));
    EXPECT_EQ(panel->reshuffleButton->GetBounds(), Zorva::Rect(128, 568, 104, 28));
    EXPECT_EQ(panel->undoButton->label, "Undo");
    EXPECT_EQ(panel->hintButton->label, "Hint");
    EXPECT_TRUE(panel->undoButton->disabled);
    EXPECT_FALSE(panel->hintButton->disabled);
    EXPECT_FALSE(panel->reshuffleButton->disabled);
    EXPECT_EQ(panel->hintButton->GetParent(), panel.get());
    EXPECT_EQ(manager.GetWidgetAt(580, 570), panel->hintButton.get());
    // A disabled button swallows the click: the panel under it gets nothing.
    EXPECT_EQ(manager.GetWidgetAt(580, 540), nullptr);
    EXPECT_EQ(manager.GetWidgetAt(300, 300), panel.get());
}

TEST_F(BoardInterfaceTest, OneSide_FieldClickEnablesUndoDeckPlayDoesNot)
{
    Field().mode = GameMode::OneSide;
    board.model.deck.Deal(3);
    SetLine(5, 5);
    DominoFish& stone = AddStone(0, 200, 200, 3, 5);
    AddStone(0, 600, 200, 1, 2);
    Field().ApplyFreeRule();

    const auto [x, y] = PointOn(stone);
    Click(x, y);
    EXPECT_EQ(board.model.line.Last(), &stone);
    EXPECT_EQ(Field().score, 20);
    EXPECT_FALSE(panel->undoButton->disabled);
    EXPECT_EQ(manager.focusWidget, panel.get());

    ClickButton(*panel->undoButton);
    EXPECT_TRUE(panel->undoButton->disabled);
    EXPECT_EQ(host.SoundCount(SOUND_CLICK), 1);
    EXPECT_EQ(Field().stoneCount, 2);

    // The deck lies under the panel at the bottom left, clear of the buttons.
    Click(55, 560);
    EXPECT_EQ(Field().undo.source, UndoRecord::kDeckOrPile);
    EXPECT_TRUE(panel->undoButton->disabled);
}

TEST_F(BoardInterfaceTest, TwoSide_DragsGoThroughTheManagerAndCancelSendsHome)
{
    Field().mode = GameMode::TwoSide;
    board.model.deck.Deal(0);
    SetLine(1, 2);
    DominoFish& stone = AddStone(0, 600, 200, 1, 7);
    Field().ApplyFreeRule();

    const auto [x, y] = PointOn(stone);
    manager.PointerMove(x, y);
    manager.PointerDown(x, y, Zorva::kClickLeft);
    EXPECT_TRUE(stone.dragging);
    manager.PointerMove(x + 10, y + 20);
    EXPECT_EQ(stone.dragX, x + 10);
    EXPECT_EQ(stone.dragY, y + 20);

    // Leaving for the menu mid-drag sends the stone home, and the release goes nowhere.
    panel->CancelDrag();
    EXPECT_FALSE(stone.dragging);
    EXPECT_TRUE(stone.returnOnArrival);
    EXPECT_EQ(stone.targetX, 600);
    EXPECT_EQ(stone.targetY, 200);
    manager.PointerMove(PlayLine::kLastX + 80, PlayLine::kCentreY);
    manager.PointerUp(PlayLine::kLastX + 80, PlayLine::kCentreY, Zorva::kClickLeft);
    EXPECT_EQ(board.model.line.Count(), 2);
    EXPECT_FALSE(stone.dragging);
    for (int i = 0; i < 30; ++i) {
        host.Step();
    }
    EXPECT_EQ(stone.x, 600);
    EXPECT_EQ(stone.y, 200);

    // The next press is handled again.
    manager.PointerMove(x, y);
    manager.PointerDown(x, y, Zorva::kClickLeft);
    EXPECT_TRUE(stone.dragging);
    manager.PointerMove(PlayLine::kFirstX - 80, PlayLine::kCentreY);
    manager.PointerUp(PlayLine::kFirstX - 80, PlayLine::kCentreY, Zorva::kClickLeft);
    EXPECT_EQ(board.model.line.First(), &stone);
    EXPECT_FALSE(panel->undoButton->disabled);
}

TEST_F(BoardInterfaceTest, Buttons_HintResetsIdleReshuffleLabelMenuOpens)
{
    Field().mode = GameMode::OneSide;
    board.model.deck.Deal(0);
    SetLine(5, 5);
    AddStone(0, 200, 200, 3, 5);
    Field().ApplyFreeRule();

    ClickButton(*panel->hintButton);
    EXPECT_EQ(Field().idleTicks, -1000);
    EXPECT_EQ(host.SoundCount(SOUND_CLICK), 1);

    Field().reshufflesLeft = 1;
    ClickButton(*panel->reshuffleButton);
    EXPECT_EQ(Field().reshufflesLeft, 0);
    EXPECT_EQ(panel->reshuffleButton->label, "Reshuffle 0");
    EXPECT_TRUE(panel->reshuffleButton->disabled);
    EXPECT_EQ(host.SoundCount(SOUND_CLICK), 2);

    ClickButton(*panel->menuButton);
    EXPECT_EQ(host.menusOpened, 1);
    EXPECT_EQ(host.SoundCount(SOUND_CLICK), 3);

    panel->SetReshuffleButton("Reshuffle 2", true);
    EXPECT_FALSE(panel->reshuffleButton->disabled);
    EXPECT_EQ(panel->reshuffleButton->label, "Reshuffle 2");
}

TEST_F(BoardInterfaceTest, Keys_EscapeAlwaysDeveloperKeysOnlyWhenOn)
{
    Field().mode = GameMode::Editor;
    manager.SetFocus(panel.get());
    manager.KeyDown(Zorva::kVirtualKeyEscape);
    EXPECT_EQ(host.menusOpened, 1);

    Field().mode = GameMode::OneSide;
    DominoFish& low = AddStone(0, 200, 200, 3, 5);
    DominoFish& top = AddStone(1, 220, 210, 4, 6);
    Field().layers.emplace_back(); // an empty layer above: the bonus goes below it
    manager.KeyDown(Zorva::kVirtualKeyF1);
    EXPECT_EQ(top.bonusKind, 0);

    host.debugKeys = true;
    manager.KeyDown(Zorva::kVirtualKeyF1);
    EXPECT_GE(top.bonusKind, 1);
    EXPECT_LE(top.bonusKind, 6);
    EXPECT_GE(top.bonusTicksLeft, 1000);
    EXPECT_EQ(top.sparkles.size(), 2u);
    EXPECT_EQ(low.bonusKind, 0);
    EXPECT_EQ(host.SoundCount(SOUND_BONUS_APPEAR), 1);

    Field().loading = true;
    manager.KeyDown(Zorva::kVirtualKeyF1);
    EXPECT_EQ(host.SoundCount(SOUND_BONUS_APPEAR), 1);
    Field().loading = false;

    // F7 counts the deck side again: a stale count hid that no move is left.
    Field().mode = GameMode::TwoSide;
    SetLine(9, 9);
    board.model.deck.Deal(0);
    Field().ApplyFreeRule();
    Field().CountMoves();
    board.model.deck.deckSideMoves = 3;
    Field().CheckEndOfLevel();
    EXPECT_FALSE(Field().failed);
    manager.KeyDown(Zorva::kVirtualKeyF7);
    EXPECT_EQ(board.model.deck.deckSideMoves, 0);
    EXPECT_TRUE(Field().failed);
}

TEST_F(BoardInterfaceTest, SkipLevelAsWon_RecordsOnceAndStartsTheNextLevel)
{
    const std::string folder = TempPath("sets");
    std::filesystem::create_directories(folder + "/Levels1");
    const std::string level =
        "<?xml version=\"1.0\"?>\n<Level Typs=\"0,1,2,3\" >\n<Layers>\n<Layer>\n"
        "<l>[==]..[==]..[==]</l>\n</Layer>\n</Layers>\n</Level>\n";
    for (const int number : {4, 5}) {
        std::ofstream(folder + "/Levels1/Level" + std::to_string(number) + ".xml") << level;
    }
    board.model.dataPrefix = folder;
    Field().mode = GameMode::OneSide;
    host.player.oneSideLevel = 4;
    host.player.oneSideScore = 100;
    ASSERT_TRUE(board.model.StartLevelFromPlayer());
    Field().score = 340;
    Field().reshufflesLeft = 3;

    EXPECT_TRUE(board.model.SkipLevelAsWon());
    EXPECT_EQ(host.player.oneSideLevel, 5);
    EXPECT_EQ(host.player.oneSideScore, 340);
    EXPECT_EQ(host.player.reshuffles, 3);
    EXPECT_EQ(host.playerSaves, 1);
    EXPECT_TRUE(host.levelCompletedThisGame);
    EXPECT_EQ(board.model.levelNumber, 5);
    EXPECT_EQ(Field().score, 340);
    EXPECT_FALSE(Field().won);

    // Past the last file of the set the record moves on but no level starts.
    EXPECT_FALSE(board.model.SkipLevelAsWon());
    EXPECT_EQ(host.player.oneSideLevel, 6);
    EXPECT_FALSE(board.model.SkipLevelAsWon());
    EXPECT_EQ(host.player.oneSideLevel, 6);
    EXPECT_EQ(host.playerSaves, 2);
    std::filesystem::remove_all(folder);
}

TEST_F(BoardInterfaceTest, DeveloperDump_StartsWithATitleAndAppends)
{
    const std::string path = TempPath("temp.log");
    std::remove(path.c_str());
    ASSERT_TRUE(BoardInterface::AppendDeveloperDump(path));
    ASSERT_TRUE(BoardInterface::AppendDeveloperDump(path));
    std::ifstream file(path, std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    const std::string dump = "qW#e7Kp2113 \n87 \n35 \n101 \n55 \n75 \n112 \n";
    EXPECT_EQ(text, "Temp file \n" + dump + dump);
}
