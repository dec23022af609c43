#include "GameTestSupport.h"

using FreeRuleTest = GameTest;

TEST_F(FreeRuleTest, Coverage_ByNeighbourDistance)
{
    // A stone one layer up covers stones up to 79 pixels beside it and 49 above or below.
    AddStone(1, 300, 200, 0, 1);
    DominoFish& at45 = AddStone(0, 345, 200, 0, 1);
    DominoFish& at79 = AddStone(0, 221, 200, 0, 1);
    DominoFish& at80 = AddStone(0, 380, 200, 0, 1);
    DominoFish& below49 = AddStone(0, 300, 249, 0, 1);
    DominoFish& below50 = AddStone(0, 300, 150, 0, 1);
    Field().ApplyFreeRule();
    EXPECT_FALSE(at45.faceUp);
    EXPECT_FALSE(at79.faceUp); // layer 0 is covered like any other lower layer
    EXPECT_TRUE(at80.faceUp);
    EXPECT_FALSE(below49.faceUp);
    EXPECT_TRUE(below50.faceUp);
    EXPECT_EQ(Field().freeCount, 3); // the top stone, at80 and below50
}

TEST_F(FreeRuleTest, Locks_StayDownUntilTheirKeyAndFlipsStart)
{
    DominoFish& plain = AddStone(0, 100, 100, 0, 1);
    DominoFish& locked = AddStone(0, 300, 100, 0, 1);
    locked.lockNumber = 2;
    Field().ApplyFreeRule();
    EXPECT_TRUE(plain.faceUp);
    EXPECT_TRUE(plain.flipActive);
    EXPECT_FALSE(plain.flipReverse);
    EXPECT_FALSE(locked.faceUp);
    EXPECT_TRUE(Field().playFlipSound);
    EXPECT_EQ(Field().freeCount, 1);

    Field().lockOpened[2] = true;
    Field().ApplyFreeRule();
    EXPECT_TRUE(locked.faceUp);
    EXPECT_EQ(Field().freeCount, 2);

    // A stone that turns face down plays its strip backwards from the last frame.
    AddStone(1, 300, 100, 0, 1);
    Field().ApplyFreeRule();
    EXPECT_FALSE(locked.faceUp);
    EXPECT_TRUE(locked.flipReverse);
    EXPECT_EQ(locked.flipFrame, DominoFish::kDefaultFlipFrames - 1);
}

TEST_F(FreeRuleTest, OverlapMarks_StaircasesOfLyingStones)
{
    DominoFish& upper = AddStone(0, 100, 100, 0, 1);
    DominoFish& lower = AddStone(0, 180, 125, 0, 1);
    DominoFish& offGrid = AddStone(0, 260, 151, 0, 1);
    Field().UpdateOverlapMarks();
    EXPECT_TRUE(upper.splitDrawing);
    EXPECT_EQ(lower.overlapPartner, 0);
    EXPECT_FALSE(lower.splitDrawing);
    EXPECT_EQ(offGrid.overlapPartner, -1);
}

TEST_F(FreeRuleTest, ExposedValuesAndHitTest)
{
    DominoFish& stone = AddStone(2, 200, 200, 3, 5);
    EXPECT_EQ(stone.LeftValue(), 3);
    EXPECT_EQ(stone.RightValue(), 5);
    stone.TurnOver();
    EXPECT_EQ(stone.LeftValue(), 5);
    EXPECT_EQ(stone.RightValue(), 3);
    DominoFish& upright = AddStone(0, 400, 200, 3, 5, DominoFish::kUpright);
    EXPECT_EQ(upright.LeftValue(), 5);
    EXPECT_EQ(upright.RightValue(), 5);
    EXPECT_EQ(upright.width, 40);
    EXPECT_EQ(upright.height, 100);
    stone.MakeJoker();
    EXPECT_EQ(stone.LeftValue(), DominoFish::kJokerValue);
    EXPECT_EQ(stone.RightValue(), DominoFish::kJokerValue);

    // Drawn 14 right and 14 up in layer 2; the hit box is that moved by (7, -7), strictly.
    EXPECT_EQ(stone.drawLeft, 200 - 40 + 14);
    EXPECT_EQ(stone.drawTop, 200 - 25 - 14);
    EXPECT_FALSE(stone.HitTest(190, 180)); // face down
    stone.faceUp = true;
    EXPECT_TRUE(stone.HitTest(stone.drawLeft + 8, stone.drawTop - 6));
    EXPECT_TRUE(stone.hovered);
    EXPECT_FALSE(stone.HitTest(stone.drawLeft + 7, stone.drawTop));
    EXPECT_FALSE(stone.hovered);
    EXPECT_FALSE(stone.HitTest(stone.drawLeft + 87, stone.drawTop));
}

TEST_F(FreeRuleTest, Hover_FindsTheTopmostFaceUpStone)
{
    DominoFish& low = AddStone(0, 300, 300, 0, 1);
    DominoFish& high = AddStone(1, 300, 300, 0, 1);
    Field().ApplyFreeRule();
    const auto [x, y] = PointOn(high);
    EXPECT_TRUE(Field().MouseMove(x, y));
    EXPECT_EQ(Field().hoveredStone, &high);
    EXPECT_FALSE(Field().MouseMove(x + 1, y)); // still over it: nothing changes
    EXPECT_FALSE(low.hovered);
    EXPECT_TRUE(Field().MouseMove(10, 10));
    EXPECT_EQ(Field().hoveredStone, nullptr);
    EXPECT_FALSE(high.hovered);
}
