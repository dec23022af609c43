// The level map in a headless application: the travel and unroll animations, which points and
// scrolls a click selects, what "Play" and "Main Menu" ask of the application, and where the
// vehicle is drawn.

#include "game/screens/MapWnd.h"
#include "../../widgets/WidgetTestSupport.h"
#include "game/BoardModel.h"
#include "game/HeadlessHost.h"
#include "game/LevelPreviewStore.h"
#include "game/Player.h"
#include "game/ResourceHandles.h"
#include "game/screens/GameDialogButton.h"
#include "game/screens/MapHost.h"
#include "graphics/Graphics.h"

#include "ScreenTestSupport.h"

#include <gtest/gtest.h>

#include <utility>

using namespace WidgetTest;

namespace {

constexpr int kClick = 12;
constexpr int kScroll = 13;
constexpr int kStage = 14;

class RecordingMapHost : public MapHost
{
public:
    Player* CurrentPlayer() override { return &player; }
    GameMode Mode() const override { return mode; }
    LevelPreviewStore& Previews() override { return previews; }
    void GameCompleted() override { calls.push_back("completed"); }
    void PlayLevelFromMap() override { calls.push_back("play"); }
    void ExitToMainMenu(bool save) override
    {
        calls.push_back(save ? "main menu saved" : "main menu");
    }

    Player player;
    GameMode mode = GameMode::OneSide;
    HeadlessHost boardHost;
    BoardModel board{boardHost};
    LevelPreviewStore previews{board, 40, 440};
    Log calls;
};

class MapWndTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetResourceHandles();
        SOUND_CLICK = kClick;
        SOUND_SCROLL = kScroll;
        SOUND_STAGE = kStage;
        FONT_DEFAULT = &font;
        IM_B_DIALOG = dialogButton.get();
        IMAGE_SCROLL = scroll.get();
        IMAGE_MAP_POINT_COMPLETE = point.get();
        map = std::make_unique<MapWnd>(app, host);
        app.GetWidgetManager()->AddWidget(map.get());
    }
    void TearDown() override
    {
        app.GetWidgetManager()->RemoveWidget(map.get());
        map.reset();
        ResetResourceHandles();
    }

    /// Shows the map of `mode` with the player at `level`.
    void ShowAt(GameMode mode, int level)
    {
        host.mode = mode;
        (mode == GameMode::OneSide ? host.player.oneSideLevel : host.player.twoSideLevel) = level;
        map->Show();
        app.sounds.clear();
    }

    void Ticks(int count)
    {
        for (int i = 0; i < count; ++i) {
            map->Tick();
        }
    }

    void Click(int px, int py)
    {
        WidgetManager& manager = *app.GetWidgetManager();
        manager.PointerMove(px, py);
        manager.PointerDown(px, py, kClickLeft);
        manager.PointerUp(px, py, kClickLeft);
    }

    void ClickPoint(int j)
    {
        const auto [px, py] = LevelPreviewStore::MapPointsFor(host.mode)[static_cast<size_t>(j)];
        Click(px + 5, py - 5);
    }

    /// The middle of the k-th scroll of the strip.
    void ClickScroll(int k) { Click(40 + 150 * k + 75, 440 + 50); }

    void ClickButton(const Widget& button) { Click(button.x + 5, button.y + 5); }

    BlockFont font{6, 8, 2};
    std::unique_ptr<MemoryImage> dialogButton = BlankImage(140, 38);
    std::unique_ptr<MemoryImage> scroll = BlankImage(143, 110);
    std::unique_ptr<MemoryImage> point = BlankImage(20, 16);
    SoundRecordingApp app;
    RecordingMapHost host;
    std::unique_ptr<MapWnd> map;
};

TEST_F(MapWndTest, NewPage_VehicleTravelsFirstThenScrollUnrolls)
{
    for (GameMode mode : {GameMode::OneSide, GameMode::TwoSide}) {
        SCOPED_TRACE(static_cast<int>(mode));
        ShowAt(mode, 6);
        EXPECT_EQ(map->page, 1);
        EXPECT_EQ(map->selectedLevel, 6);
        EXPECT_EQ(host.previews.mapPoints, LevelPreviewStore::MapPointsFor(mode));

        Ticks(100);
        EXPECT_EQ(map->travel, 0);
        EXPECT_TRUE(app.sounds.empty());
        Ticks(1);
        EXPECT_EQ(app.sounds, std::vector<int>{kStage});
        EXPECT_EQ(map->travel, 1);
        Ticks(99);
        EXPECT_EQ(map->travel, 100);
        EXPECT_EQ(map->unroll, 0);
        Ticks(1);
        EXPECT_EQ(app.sounds, (std::vector<int>{kStage, kScroll}));
        Ticks(200);
        EXPECT_EQ(map->unroll, 100);
        EXPECT_EQ(map->travel, 100);
        EXPECT_EQ(app.sounds.size(), 2u);
    }
}

TEST_F(MapWndTest, SamePage_VehicleStandsAndScrollUnrollsAfterHundredTicks)
{
    ShowAt(GameMode::OneSide, 2);
    EXPECT_EQ(map->page, 0);
    EXPECT_EQ(map->travel, 100);
    Ticks(100);
    EXPECT_TRUE(app.sounds.empty());
    Ticks(1);
    EXPECT_EQ(app.sounds, std::vector<int>{kScroll});
    EXPECT_EQ(map->unroll, 1);
}

TEST_F(MapWndTest, Show_BeyondTheModesLastLevel_CompletesTheGame)
{
    ShowAt(GameMode::OneSide, 60);
    EXPECT_TRUE(host.calls.empty());
    ShowAt(GameMode::OneSide, 61);
    EXPECT_EQ(host.calls, Log{"completed"});
    host.calls.clear();
    ShowAt(GameMode::TwoSide, 51);
    EXPECT_EQ(host.calls, Log{"completed"});
}

TEST_F(MapWndTest, Clicks_SelectOnlyReachedPointsAndScrolls)
{
    ShowAt(GameMode::OneSide, 7);
    ClickPoint(2); // levels 11-15: not reached
    EXPECT_EQ(map->page, 1);
    EXPECT_EQ(map->selectedLevel, 7);
    ClickScroll(2); // level 8
    EXPECT_EQ(map->selectedLevel, 7);
    ClickScroll(0);
    EXPECT_EQ(map->selectedLevel, 6);

    ClickPoint(0);
    EXPECT_EQ(map->page, 0);
    EXPECT_EQ(map->selectedLevel, 1);
    ClickPoint(1);
    EXPECT_EQ(map->selectedLevel, 7);

    // The reached level is chosen only on its own page, even when it starts the next one.
    ShowAt(GameMode::TwoSide, 6);
    ClickPoint(0);
    EXPECT_EQ(map->page, 0);
    EXPECT_EQ(map->selectedLevel, 1);
    ClickPoint(1);
    EXPECT_EQ(map->selectedLevel, 6);
}

TEST_F(MapWndTest, Buttons_PlayStartsTheSelectedLevelMainMenuLeavesWithoutSaving)
{
    ASSERT_EQ(map->playButton->GetBounds(), Rect(430, 548, 140, 36));
    ASSERT_EQ(map->mainMenuButton->GetBounds(), Rect(230, 548, 140, 36));

    ShowAt(GameMode::OneSide, 7);
    ClickPoint(0);
    ClickScroll(2);
    EXPECT_EQ(map->selectedLevel, 3);
    ClickButton(*map->playButton);
    EXPECT_EQ(host.player.oneSideLevel, 3);
    EXPECT_EQ(host.player.twoSideLevel, 1);
    EXPECT_EQ(host.calls, Log{"play"});
    EXPECT_EQ(app.sounds, std::vector<int>{kClick});

    host.calls.clear();
    ClickButton(*map->mainMenuButton);
    EXPECT_EQ(host.calls, Log{"main menu"});
}

TEST_F(MapWndTest, StateLines_ListReachedPointsAndOpenScrolls)
{
    ShowAt(GameMode::OneSide, 7);
    const auto points = LevelPreviewStore::MapPointsFor(GameMode::OneSide);
    const auto pointLine = [&](int j) {
        const auto [px, py] = points[static_cast<size_t>(j)];
        return "point " + std::to_string(5 * j + 1) + " " + std::to_string(px - 10) + " " +
               std::to_string(py - 8) + " 20 16";
    };
    EXPECT_EQ(map->StateLines(), (Log{"page 1", "selected 7", pointLine(0), pointLine(1),
                                      "scroll 6 40 440 150 110", "scroll 7 190 440 150 110"}));
}

TEST_F(MapWndTest, Paint_VehicleMovesBetweenPointsByTravel)
{
    auto chariot = BlankImage(10, 10);
    chariot->FillRect(Rect(0, 0, 10, 10), kRed, 0);
    IMAGE_CHARIOT = chariot.get();
    ShowAt(GameMode::OneSide, 6);
    map->travel = 50;

    MemoryImage screen;
    screen.Create(800, 600);
    Graphics graphics(&screen);
    map->Paint(graphics);
    // Halfway from (504, 88) to (469, 91), less half the width and 35 up.
    const int left = 499 + (464 - 499) * 50 / 100;
    const int top = 53 + (56 - 53) * 50 / 100;
    EXPECT_EQ(screen.PixelAt(left, top), kRed.PackARGB());
    EXPECT_EQ(screen.PixelAt(left + 9, top + 9), kRed.PackARGB());
    EXPECT_NE(screen.PixelAt(left - 1, top), kRed.PackARGB());
    EXPECT_NE(screen.PixelAt(left, top - 1), kRed.PackARGB());
}

} // namespace
