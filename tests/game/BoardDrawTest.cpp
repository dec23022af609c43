#include "game/BackgroundCache.h"
#include "game/Board.h"
#include "game/HeadlessHost.h"
#include "game/ResourceHandles.h"
#include "graphics/Graphics.h"
#include "graphics/MemoryImage.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <numbers>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr uint32_t kFace = 0xFFC00000;
constexpr uint32_t kFace2 = 0xFF00C000;
constexpr uint32_t kHover = 0xFFC0C000;
constexpr uint32_t kBack = 0xFF0000C0;
constexpr uint32_t kJoker = 0xFF808080;
constexpr uint32_t kLock = 0xFFFFFF00;
constexpr uint32_t kLineFrame = 0xFFFF00FF;
constexpr uint32_t kFill = 0xFF00FF80;
constexpr uint32_t kPreviewFrame = 0xFF102030;
constexpr uint32_t kBorder = 0xFF405060;
uint32_t PictureColour(int value)
{
    return 0xFF000000u + 0x50u * static_cast<uint32_t>(value + 1);
}

/// Rotated drawing interpolates, so its colours may be off by a few steps per channel.
bool Near(uint32_t got, uint32_t want)
{
    for (int shift : {0, 8, 16, 24}) {
        const int a = static_cast<int>((got >> shift) & 0xFFu);
        const int b = static_cast<int>((want >> shift) & 0xFFu);
        if (a - b > 6 || b - a > 6) {
            return false;
        }
    }
    return true;
}

/// Small solid images bound to the handles the board draws with, and a board on a headless
/// host drawing into a 800 x 600 image.
class BoardDrawTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetResourceHandles();
        IMAGE_FISH_L = Solid(87, 57, kFace);
        IMAGE_FISH_L2 = Solid(87, 57, kFace2);
        IMAGE_FISH_OVER = Solid(87, 57, kHover);
        IMAGE_FISH_BACK = Solid(87, 57, kBack);
        IMAGE_FISH_JOKER = Solid(87, 57, kJoker);
        IMAGE_FISH_LOCK0 = Solid(5, 5, kLock);
        IMAGE_PANEL_LINE = Solid(104, 84, kLineFrame);
        IMAGE_PREVIEW = Solid(110, 70, kPreviewFrame);
        IMAGE_FISH_BORDER = Solid(95, 65, kBorder);
        IMAGE_TYP0 = Solid(10, 10, PictureColour(0));
        IMAGE_TYP1 = Solid(10, 10, PictureColour(1));
        IMAGE_TYP2 = Solid(10, 10, PictureColour(2));
        // Cells of one row: a key strip of two cells and a flip strip of thirteen.
        IMAGE_KEY_ANIM = Strip(6, 6, {0xFF111111, 0xFF222222});
        std::vector<uint32_t> flipColours;
        for (uint32_t i = 0; i < 13; ++i) {
            flipColours.push_back(0xFF300000 + i);
        }
        IMAGE_FISH_ROTATE = Strip(20, 20, flipColours);
        screen.Create(800, 600);
        // The context takes its clip from the image's size when it is made.
        context = std::make_unique<Zorva::Graphics>(&screen);
        host.player.showPreview = true;
    }

    void TearDown() override { ResetResourceHandles(); }

    Zorva::MemoryImage* Solid(int w, int h, uint32_t colour) { return Strip(w, h, {colour}); }

    /// One row of cells, each `w` x `h` in its own colour.
    Zorva::MemoryImage* Strip(int w, int h, const std::vector<uint32_t>& colours)
    {
        auto& image = images.emplace_back(std::make_unique<Zorva::MemoryImage>());
        const int cells = static_cast<int>(colours.size());
        std::vector<uint32_t> pixels(static_cast<std::size_t>(w * cells * h));
        for (int py = 0; py < h; ++py) {
            for (int px = 0; px < w * cells; ++px) {
                pixels[static_cast<std::size_t>(py * w * cells + px)] =
                    colours[static_cast<std::size_t>(px / w)];
            }
        }
        image->SetPixels(pixels.data(), w * cells, h, true);
        image->numCols = cells;
        return image.get();
    }

    PlayField& Field() { return board.model.field; }

    DominoFish& AddStone(int layer, int x, int y, int pictureA, int pictureB, int style = 0)
    {
        while (static_cast<int>(Field().layers.size()) <= layer) {
            Field().layers.emplace_back();
        }
        auto stone =
            std::make_unique<DominoFish>(&Field(), x, y, DominoFish::kLyingALeft, layer, style);
        stone->pictureA = pictureA;
        stone->pictureB = pictureB;
        stone->faceUp = true;
        DominoFish& added = *stone;
        Field().layers[static_cast<std::size_t>(layer)].push_back(std::move(stone));
        return added;
    }

    uint32_t At(int x, int y) { return screen.PixelAt(x, y); }
    void ClearScreen() { screen.ClearRect(Zorva::Rect(0, 0, 800, 600)); }

    std::vector<std::unique_ptr<Zorva::MemoryImage>> images;
    HeadlessHost host;
    Board board{host};
    Zorva::MemoryImage screen;
    std::unique_ptr<Zorva::Graphics> context;
    Zorva::Graphics& graphics() { return *context; }
};

TEST_F(BoardDrawTest, FaceUpStone_ShowsPicturesInItsHalvesAndCarriedKey)
{
    // Drawn at (160, 75): the halves start at x 166 and 206, a 10 x 10 picture sits 15 and 20
    // pixels into its half.
    DominoFish& stone = AddStone(0, 200, 100, 1, 2);
    stone.keyNumber = 0;
    stone.keyFrame = 1;
    stone.Draw(graphics(), 1);
    EXPECT_EQ(At(162, 77), kFace);
    EXPECT_EQ(At(181, 95), PictureColour(1));
    EXPECT_EQ(At(190, 104), PictureColour(1));
    EXPECT_EQ(At(180, 95), kFace);
    EXPECT_EQ(At(225, 100), PictureColour(2));
    // Key 0 at offset (6, 9), cell 1 of its strip; no bob at update 0.
    EXPECT_EQ(At(168, 86), 0xFF222222u);

    // Orientation 1 puts picture B on the left.
    stone.TurnOver();
    stone.keyNumber = -1;
    stone.Draw(graphics(), 1);
    EXPECT_EQ(At(185, 100), PictureColour(2));
    EXPECT_EQ(At(225, 100), PictureColour(1));

    // A bump shifts face and pictures by (offset, -offset).
    stone.bumpActive = true;
    stone.bumpOffset = 3;
    ClearScreen();
    stone.Draw(graphics(), 1);
    EXPECT_EQ(At(184, 92), PictureColour(2));
    EXPECT_EQ(At(162, 77), 0u);
}

TEST_F(BoardDrawTest, UprightStonesAndJokers_ShowNoPictures)
{
    DominoFish& upright = AddStone(0, 200, 100, 1, 1);
    upright.SetOrientation(DominoFish::kUpright);
    upright.UpdateDrawPosition();
    upright.Draw(graphics(), 1);
    for (int py = upright.drawTop; py < upright.drawTop + 57; ++py) {
        for (int px = upright.drawLeft; px < upright.drawLeft + 87; ++px) {
            ASSERT_EQ(At(px, py), kFace) << px << "," << py;
        }
    }

    DominoFish& joker = AddStone(0, 500, 300, 0, 0);
    joker.MakeJoker();
    joker.hovered = true;
    joker.bumpActive = true;
    joker.Draw(graphics(), 1);
    EXPECT_EQ(At(joker.drawLeft + 20, joker.drawTop + 25), kJoker);
    // The preview shows the joker face without pictures.
    EXPECT_EQ(At(12 + 6 + 15, 31 + 20), kJoker);
}

TEST_F(BoardDrawTest, HoverPreview_FollowsThePlayersOption)
{
    DominoFish& stone = AddStone(0, 400, 300, 1, 2);
    stone.hovered = true;
    stone.Draw(graphics(), 1);
    EXPECT_EQ(At(stone.drawLeft + 2, stone.drawTop + 2), kHover);
    EXPECT_EQ(At(14, 33), kFace);
    EXPECT_EQ(At(12 + 6 + 15, 31 + 20), PictureColour(1));
    EXPECT_EQ(At(12 + 46 + 15, 31 + 20), PictureColour(2));

    // A split stone's clip does not cut the preview away.
    ClearScreen();
    stone.splitDrawing = true;
    stone.Draw(graphics(), 1);
    EXPECT_EQ(At(12 + 46 + 15, 31 + 20), PictureColour(2));
    EXPECT_EQ(At(stone.drawLeft + 60, stone.drawTop + 2), 0u);

    ClearScreen();
    host.player.showPreview = false;
    stone.Draw(graphics(), 1);
    EXPECT_EQ(At(14, 33), 0u);
    EXPECT_EQ(At(12 + 6 + 15, 31 + 20), 0u);

    // Without a player there is no preview either.
    host.hasPlayer = false;
    stone.Draw(graphics(), 1);
    EXPECT_EQ(At(14, 33), 0u);
}

TEST_F(BoardDrawTest, CoveredStone_ShowsItsBackAndLockOnly)
{
    DominoFish& stone = AddStone(0, 200, 100, 1, 2);
    stone.faceUp = false;
    stone.lockNumber = 0;
    stone.keyNumber = 0;
    stone.Draw(graphics(), 1);
    EXPECT_EQ(At(185, 100), kBack);
    EXPECT_EQ(At(225, 100), kBack);
    EXPECT_EQ(At(168, 86), kBack);
    // Lock 0 at offset (-3, -6) from (160, 75).
    EXPECT_EQ(At(157, 69), kLock);
    EXPECT_EQ(At(161, 73), kLock);
    EXPECT_EQ(At(156, 69), 0u);

    // Invisible or fully transparent stones draw nothing; half alpha blends.
    ClearScreen();
    stone.alpha = 0;
    stone.Draw(graphics(), 1);
    EXPECT_EQ(At(185, 100), 0u);
    stone.alpha = 255;
    stone.visible = false;
    stone.Draw(graphics(), 1);
    EXPECT_EQ(At(185, 100), 0u);
}

TEST_F(BoardDrawTest, OverlappingStaircase_UpperLeftRightPartCoversLowerRight)
{
    // The second stone lies 80 to the right and 25 lower: face images overlap in x 140..146.
    DominoFish& upper = AddStone(0, 100, 100, 0, 0, 0);
    DominoFish& lower = AddStone(0, 180, 125, 0, 0, 2);
    Field().UpdateOverlapMarks();
    ASSERT_TRUE(upper.splitDrawing);
    ASSERT_EQ(lower.overlapPartner, 0);

    board.Paint(graphics());
    EXPECT_EQ(At(143, 110), kFace);  // the upper stone's right part on top
    EXPECT_EQ(At(100, 90), kFace);   // its left part
    EXPECT_EQ(At(200, 140), kFace2); // the lower stone elsewhere
    EXPECT_EQ(At(143, 135), kFace2); // below the upper stone's face

    // A stone on its way is drawn whole, with no redrawn partner over it.
    ClearScreen();
    lower.StartMove(lower.x, lower.y, 10);
    lower.Update();
    board.Paint(graphics());
    EXPECT_EQ(At(143, 110), kFace2);
}

TEST_F(BoardDrawTest, FlipFrames_ShowStripCellAndGrowingPictures)
{
    DominoFish& stone = AddStone(0, 200, 100, 1, 2);
    stone.StartFlip(false);
    stone.flipFrame = 3;
    stone.Draw(graphics(), 1);
    // Cell 3 at (157, 58); no pictures before frame 7.
    EXPECT_EQ(At(158, 59), 0xFF300003u);
    EXPECT_EQ(At(185, 100), 0u);

    ClearScreen();
    stone.flipFrame = 12;
    stone.Draw(graphics(), 1);
    EXPECT_EQ(At(158, 59), 0xFF30000Cu);
    // Full size at frame 12: the left picture at (160 + 15 + 7, 75 + 20), the right at
    // (160 + 15 + 47, 75 + 20).
    EXPECT_EQ(At(183, 96), PictureColour(1));
    EXPECT_EQ(At(190, 103), PictureColour(1));
    EXPECT_EQ(At(226, 100), PictureColour(2));

    // Frame 9: half grown, 5 wide, the left one nearer the middle and lower.
    ClearScreen();
    stone.flipFrame = 9;
    stone.Draw(graphics(), 1);
    EXPECT_EQ(At(196, 102), PictureColour(1));
    EXPECT_EQ(At(201, 102), 0u);
    EXPECT_EQ(At(226, 96), PictureColour(2));
}

TEST_F(BoardDrawTest, TurningStone_DrawsFaceAndPicturesRotated)
{
    DominoFish& stone = AddStone(0, 200, 100, 1, 2);
    stone.rotationState = 1;
    stone.rotationAngle = std::numbers::pi_v<float> / 2;
    stone.halfOffsets = {0, -22, 0, 22};
    stone.Draw(graphics(), 1);
    // A quarter turn stands the 87 x 57 face upright about its centre (203.5, 103.5).
    EXPECT_TRUE(Near(At(203, 66), kFace));
    EXPECT_EQ(At(163, 103), 0u);
    // The pictures sit 22 pixels above and below the stone's centre (206, 100).
    EXPECT_TRUE(Near(At(206, 78), PictureColour(1)));
    EXPECT_TRUE(Near(At(206, 122), PictureColour(2)));
}

TEST_F(BoardDrawTest, ComboMeterAtHalf_FillsFromTheMiddleDown)
{
    ComboMeter& meter = board.model.comboMeter;
    meter.frameImage = nullptr;
    meter.labelsImage = nullptr;
    meter.fillImage = Solid(8, 40, kFill);
    meter.level = 50;
    meter.Draw(graphics());
    EXPECT_EQ(At(763, 271 + 19), 0u);
    EXPECT_EQ(At(763, 271 + 20), kFill);
    EXPECT_EQ(At(763, 271 + 39), kFill);
    EXPECT_EQ(At(763, 271 + 40), 0u);

    ClearScreen();
    meter.level = 0;
    meter.Draw(graphics());
    EXPECT_EQ(At(763, 271 + 39), 0u);
}

TEST_F(BoardDrawTest, HeldStone_LiesUnderTheLineFrameOnlyOverTheRightEnd)
{
    Field().mode = GameMode::TwoSide;
    DominoFish& held = AddStone(0, 100, 100, 0, 0);
    Field().PickUp(held, 410, 565);
    Field().hoveredStone = &held;
    // The frame covers (348, 516)..(451, 599); the held face covers (370, 540)..(456, 596).
    board.model.line.dropSide = 1;
    board.Paint(graphics());
    EXPECT_EQ(At(380, 560), kLineFrame);
    EXPECT_EQ(At(455, 560), kFace);

    ClearScreen();
    board.model.line.dropSide = 0;
    board.Paint(graphics());
    EXPECT_EQ(At(380, 560), kFace);
}

TEST_F(BoardDrawTest, BackgroundCache_BordersRestingStonesAndPreviewFrame)
{
    DominoFish& resting = AddStone(1, 200, 200, 0, 0);
    DominoFish& moving = AddStone(0, 500, 200, 0, 0);
    moving.StartMove(600, 200, 10);
    (void)resting;
    Zorva::Image* background = Solid(800, 600, 0xFF777777);
    board.SetLevelBackground(background);
    board.PaintBackground(graphics());
    // The border of layer 1 at (200 + 7 - 44, 200 - 7 - 29).
    EXPECT_EQ(At(163, 164), kBorder);
    EXPECT_EQ(At(162, 164), 0xFF777777u);
    EXPECT_EQ(At(460, 175), 0xFF777777u);
    EXPECT_EQ(At(5, 30), kPreviewFrame);

    host.player.showPreview = false;
    board.PaintBackground(graphics()); // not flagged: the cache is as it was
    EXPECT_EQ(At(5, 30), kPreviewFrame);
    board.RebuildBackground();
    board.PaintBackground(graphics());
    EXPECT_EQ(At(5, 30), 0xFF777777u);

    // Nothing bound and no background: black, and no crash.
    ResetResourceHandles();
    board.SetLevelBackground(nullptr);
    board.PaintBackground(graphics());
    EXPECT_EQ(At(5, 30), 0xFF000000u);
    board.Paint(graphics());
}

TEST_F(BoardDrawTest, PlayLine_OneSideShowsTheStoneBeforeTheLastFromThreeOn)
{
    Field().mode = GameMode::OneSide;
    for (int i = 0; i < 3; ++i) {
        auto stone = std::make_unique<DominoFish>(&Field(), 200 + 100 * i, 400,
                                                  DominoFish::kLyingALeft, 0, i == 1 ? 2 : 0);
        stone->faceUp = true;
        board.model.line.Append(std::move(stone));
    }
    board.model.line.Draw(graphics(), GameMode::OneSide);
    EXPECT_EQ(At(300, 400), kFace2); // the one before the last
    EXPECT_EQ(At(400, 400), kFace);  // the last
    EXPECT_EQ(At(200, 400), 0u);     // the first is hidden

    ClearScreen();
    board.model.line.RemoveFirst();
    board.model.line.Draw(graphics(), GameMode::OneSide);
    EXPECT_EQ(At(300, 400), 0u);
    EXPECT_EQ(At(400, 400), kFace);
}

TEST_F(BoardDrawTest, LevelPreviews_AreKeptPerModeAndLevel)
{
    board.model.dataPrefix = QUARROW_BUILT_DATA_DIR;
    LevelPreviewStore& previews = board.previews;
    std::vector<std::string> asked;
    Zorva::Image* background = Solid(800, 600, 0xFF777777);
    previews.loadBackground = [&](const std::string& path) {
        asked.push_back(path);
        return background;
    };

    previews.PrepareThumbnails(GameMode::OneSide, 1, 2);
    ASSERT_TRUE(previews.RenderThumbnail(GameMode::TwoSide, 1));
    Zorva::Image* oneSide = previews.Thumbnail(GameMode::OneSide, 1);
    Zorva::Image* twoSide = previews.Thumbnail(GameMode::TwoSide, 1);
    ASSERT_NE(oneSide, nullptr);
    ASSERT_NE(twoSide, nullptr);
    EXPECT_NE(oneSide, twoSide);
    EXPECT_EQ(oneSide->GetWidth(), 120);
    EXPECT_EQ(oneSide->GetHeight(), 90);
    ASSERT_EQ(asked.size(), 3u);
    EXPECT_EQ(asked[0].rfind("images/", 0), 0u);
    // The background is faded and kept off the side strips: the left edge stays clear.
    auto* thumbnail = static_cast<Zorva::MemoryImage*>(oneSide);
    EXPECT_EQ(thumbnail->PixelAt(0, 45) >> 24, 0u);
    EXPECT_NE(thumbnail->PixelAt(60, 2) >> 24, 0u);

    // The next page drops the first one of that mode only.
    previews.PrepareThumbnails(GameMode::OneSide, 6, 7);
    EXPECT_EQ(previews.Thumbnail(GameMode::OneSide, 1), nullptr);
    EXPECT_NE(previews.Thumbnail(GameMode::OneSide, 6), nullptr);
    EXPECT_EQ(previews.Thumbnail(GameMode::TwoSide, 1), twoSide);
    EXPECT_FALSE(previews.RenderThumbnail(GameMode::OneSide, 999));
    EXPECT_EQ(previews.Thumbnail(GameMode::OneSide, 999), nullptr);

    previews.SetMapPoints(GameMode::TwoSide);
    ASSERT_EQ(previews.mapPoints.size(), 10u);
    EXPECT_EQ(previews.mapPoints[0], std::make_pair(202, 214));
    previews.SetMapPoints(GameMode::OneSide);
    EXPECT_EQ(previews.mapPoints.size(), 12u);
    EXPECT_EQ(previews.stripX, 40);
    EXPECT_EQ(previews.stripY, 440);
}

} // namespace
