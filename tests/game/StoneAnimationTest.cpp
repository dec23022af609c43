#include "GameTestSupport.h"

#include "game/ImageMetrics.h"
#include "graphics/Image.h"

using StoneAnimationTest = GameTest;

TEST_F(StoneAnimationTest, Movement_EndsAtTheTargetWithTheLayerOffset)
{
    DominoFish& stone = AddStone(2, 100, 100, 0, 1);
    stone.StartMove(200, 150, 10, ClipRect{0, 0, 50, 50});
    EXPECT_TRUE(stone.clipActive);
    for (int i = 0; i < 9; ++i) {
        stone.Update();
    }
    EXPECT_TRUE(stone.IsMoving());
    // On the way the stone is drawn without the layer offset, heading for target + offset.
    EXPECT_EQ(stone.drawLeft, stone.x - 40);
    stone.Update();
    EXPECT_FALSE(stone.IsMoving());
    EXPECT_EQ(stone.x, 200);
    EXPECT_EQ(stone.y, 150);
    EXPECT_EQ(stone.drawLeft, 200 - 40 + 14);
    EXPECT_EQ(stone.drawTop, 150 - 25 - 14);
    EXPECT_FALSE(stone.clipActive);
    EXPECT_TRUE(stone.settled);
}

TEST_F(StoneAnimationTest, BumpFlipAndTurnTimings)
{
    DominoFish& stone = AddStone(0, 100, 100, 0, 1);
    stone.StartBump(3, 2); // the hint's bump: up and down twice, 0.1 a tick
    int ticks = 0;
    while (stone.bumpActive && ticks < 1000) {
        stone.Update();
        ++ticks;
    }
    EXPECT_EQ(ticks, 120);

    // Without a flip image the strip has 13 frames of 4 ticks.
    stone.StartFlip(false);
    ticks = 0;
    while (stone.flipActive && ticks < 1000) {
        stone.Update();
        ++ticks;
    }
    EXPECT_EQ(ticks, 13 * 4);
    EXPECT_TRUE(Field().rebuildBackground);

    stone.StartTurn(true, 0.1f);
    ticks = 0;
    while (stone.rotationState != 0 && ticks < 1000) {
        stone.Update();
        ++ticks;
    }
    EXPECT_EQ(ticks, 32); // the first tick past pi
    EXPECT_EQ(stone.orientation, DominoFish::kLyingBLeft);
}

TEST_F(StoneAnimationTest, FlipStrip_FrameCountComesFromTheImage)
{
    Zorva::Image strip;
    strip.width = 400;
    strip.height = 60;
    strip.numCols = 5;
    IMAGE_FISH_ROTATE = &strip;
    DominoFish& stone = AddStone(0, 100, 100, 0, 1);
    stone.StartFlip(true);
    EXPECT_EQ(stone.flipFrame, 4);
    EXPECT_EQ(MetricsOf(&strip).cellWidth, 80);
}
