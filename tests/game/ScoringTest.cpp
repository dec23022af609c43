#include "GameTestSupport.h"

using ScoringTest = GameTest;

TEST_F(ScoringTest, ComboMeter_ThresholdsDecayAndCap)
{
    ComboMeter meter;
    meter.level = 32.0f;
    EXPECT_EQ(meter.Multiplier(), 1);
    meter.level = 32.5f;
    EXPECT_EQ(meter.Multiplier(), 2);
    meter.level = 64.5f;
    EXPECT_EQ(meter.Multiplier(), 3);
    meter.level = 92.5f;
    EXPECT_EQ(meter.Multiplier(), 4);
    meter.Add(50);
    EXPECT_FLOAT_EQ(meter.level, 100.0f);
    meter.level = 0.005f;
    meter.Update();
    EXPECT_FLOAT_EQ(meter.level, 0.0f);
}

TEST_F(ScoringTest, QuickPlays_FillTheMeterAndMultiplyThePoints)
{
    Field().mode = GameMode::OneSide;
    board.deck.Deal(0);
    SetLine(1, 1);
    DominoFish& first = AddStone(0, 100, 100, 1, 2);
    DominoFish& second = AddStone(0, 300, 100, 2, 3);
    DominoFish& third = AddStone(0, 500, 100, 3, 4);
    Field().ApplyFreeRule();
    for (DominoFish* stone : {&first, &second, &third}) {
        Click(*stone);
        Tick(30);
    }
    // Three plays of 3 each, less 0.01 for every tick that passed.
    EXPECT_NEAR(board.comboMeter.level, 9.0f - 90 * 0.01f, 1e-4);
    EXPECT_EQ(Field().score, 60);

    // With the meter above 64 a placed stone earns 3 x 20 and shows the x3 label.
    DominoFish& fourth = AddStone(0, 700, 100, 4, 5);
    Field().ApplyFreeRule();
    Tick(40);
    board.comboMeter.level = 62.0f;
    Click(fourth);
    EXPECT_EQ(Field().score, 120);
    EXPECT_EQ(Field().undo.points, 60);
    EXPECT_EQ(host.SoundCount(SOUND_PUT_X3), 1);
    ASSERT_FALSE(Field().floatingLabels.empty());
    EXPECT_FLOAT_EQ(Field().floatingLabels.back()->y, 329.0f);
}

TEST_F(ScoringTest, Bonuses_PayByKindAndMode)
{
    Field().mode = GameMode::OneSide;
    board.deck.Deal(0);
    SetLine(1, 1);
    Field().reshufflesLeft = 5;
    DominoFish& reshuffle = AddStone(0, 100, 100, 1, 2);
    reshuffle.bonusKind = 2;
    reshuffle.bonusTicksLeft = 1000;
    DominoFish& stoneBonus = AddStone(0, 300, 100, 2, 3);
    stoneBonus.bonusKind = 1;
    stoneBonus.bonusTicksLeft = 1000;
    DominoFish& jokerBonus = AddStone(0, 500, 100, 3, 4);
    jokerBonus.bonusKind = 5;
    jokerBonus.bonusTicksLeft = 1000;
    Field().ApplyFreeRule();

    Click(reshuffle);
    Tick(30); // One-Side pays on arrival
    EXPECT_EQ(Field().reshufflesLeft, 5);
    EXPECT_EQ(Field().score, 20 + 200);
    EXPECT_EQ(Field().undo.points, 200);
    EXPECT_EQ(reshuffle.bonusKind, 0);
    EXPECT_EQ(host.SoundCount(SOUND_BONUS), 1);

    Click(stoneBonus);
    Tick(30);
    EXPECT_EQ(board.deck.StoneCount(), 1); // a new stone on top of the deck
    EXPECT_EQ(board.deck.stones.back()->x, 5 + 40);

    Click(jokerBonus);
    Tick(30);
    EXPECT_TRUE(jokerBonus.joker);
    EXPECT_EQ(board.line.RightEndValue(), DominoFish::kJokerValue);

    // Two-Side, four piles already: 100 points instead of a fifth pile.
    Field().mode = GameMode::TwoSide;
    board.deck.pileCount = 4;
    board.deck.Deal(0);
    SetLine(1, 1);
    DominoFish& place = AddStone(0, 100, 300, 1, 2);
    place.bonusKind = 3;
    place.bonusTicksLeft = 1000;
    Field().ApplyFreeRule();
    const int before = Field().score;
    DragAndDrop(place, PlayLine::kLastX + 80, PlayLine::kCentreY);
    EXPECT_EQ(board.deck.piles.size(), 4u);
    EXPECT_EQ(Field().score, before + 100 + 20);
}

TEST_F(ScoringTest, BonusAppearance_LifetimeAndNoFreeStone)
{
    Field().mode = GameMode::OneSide;
    SetLine(9, 9);
    DominoFish& stone = AddStone(0, 100, 100, 1, 2);
    Field().ApplyFreeRule();
    int ticks = 0;
    while (stone.bonusKind == 0 && ticks < 200000) {
        Tick(1);
        ++ticks;
    }
    ASSERT_NE(stone.bonusKind, 0);
    EXPECT_EQ(ticks % 501, 0);
    EXPECT_LE(stone.bonusKind, 6);
    EXPECT_EQ(stone.sparkles.size(), 2u);
    const int lifetime = stone.bonusTicksLeft;
    EXPECT_GE(lifetime, 1000);
    EXPECT_LE(lifetime, 1900);
    EXPECT_EQ(lifetime % 100, 0);
    EXPECT_EQ(host.SoundCount(SOUND_BONUS_APPEAR), 1);
    Tick(lifetime - 1);
    EXPECT_NE(stone.bonusKind, 0);
    Tick(1);
    EXPECT_EQ(stone.bonusKind, 0);
    EXPECT_TRUE(stone.sparkles.empty());

    // With every stone locked the free count is 0 and no bonus is ever placed.
    stone.lockNumber = 0;
    Field().ApplyFreeRule();
    ASSERT_EQ(Field().freeCount, 0);
    Tick(20000);
    EXPECT_EQ(stone.bonusKind, 0);
}

TEST_F(ScoringTest, FloatingLabels_FadeAndExpire)
{
    FloatingLabel label(nullptr, 10, 20, -0.2f, -0.2f);
    for (int i = 0; i < 254; ++i) {
        label.Update();
    }
    EXPECT_FALSE(label.done);
    EXPECT_EQ(label.alpha, 1);
    label.Update();
    EXPECT_TRUE(label.done);
    EXPECT_EQ(label.alpha, 0);
    EXPECT_NEAR(label.x, 10 - 255 * 0.2f, 1e-3);
}

TEST_F(ScoringTest, BonusClock_StartsOverAtLevelStartAndReshuffle)
{
    const std::string path =
        WriteLevelFile(LevelText("1,2,3", {{"[==]..[==]..[==]", ".,", "[==]..[==]..[==]"}}));
    Field().mode = GameMode::OneSide;
    // Left nearly due by a previous level.
    Field().bonusTickCounter = Field().bonusInterval;
    ASSERT_TRUE(board.StartLevel(path, 1));
    EXPECT_EQ(Field().bonusTickCounter, 0);
    Tick(Field().bonusInterval);
    EXPECT_EQ(Field().bonusTickCounter, Field().bonusInterval);
    for (const StoneList& layer : Field().layers) {
        for (const auto& stone : layer) {
            EXPECT_EQ(stone->bonusKind, 0);
        }
    }

    Field().reshufflesLeft = 1;
    ASSERT_TRUE(Field().Reshuffle());
    EXPECT_EQ(Field().bonusTickCounter, 0);
}
