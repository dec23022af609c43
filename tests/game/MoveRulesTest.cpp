#include "GameTestSupport.h"

class MoveRulesTest : public GameTest
{
protected:
    void SetMode(GameMode mode)
    {
        Field().mode = mode;
        board.deck.Deal(0);
    }
};

TEST_F(MoveRulesTest, OneSide_MatchingStoneTurnsJoinsAndArrives)
{
    SetMode(GameMode::OneSide);
    SetLine(5, 5);
    DominoFish& stone = AddStone(1, 200, 200, 3, 5);
    DominoFish& other = AddStone(0, 600, 200, 1, 2);
    Field().ApplyFreeRule();

    Click(other); // neither picture is 5: nothing happens and nothing is scored
    EXPECT_EQ(Field().stoneCount, 2);
    EXPECT_EQ(board.line.Count(), 2);
    EXPECT_EQ(Field().score, 0);

    Click(stone);
    EXPECT_EQ(board.line.Last(), &stone);
    EXPECT_EQ(stone.rotationState, 2); // its left value 3 differs from 5: it turns
    EXPECT_FLOAT_EQ(stone.rotationSpeed, 0.2f);
    EXPECT_EQ(stone.layer, 0);
    EXPECT_EQ(Field().stoneCount, 1);
    EXPECT_EQ(Field().undo.originX, 200);
    EXPECT_EQ(Field().undo.originLayer, 1);
    EXPECT_FLOAT_EQ(board.comboMeter.level, 3.0f);
    EXPECT_EQ(Field().score, 20);
    EXPECT_EQ(host.SoundCount(SOUND_PUT), 1);
    EXPECT_TRUE(host.undoEnabled);

    Tick(30);
    EXPECT_EQ(stone.orientation, DominoFish::kLyingBLeft);
    EXPECT_EQ(stone.RightValue(), 3);
    // Arrived at (520, 565) minus nothing: it now glides to the right end place.
    EXPECT_EQ(stone.targetX, PlayLine::kLastX);
    EXPECT_EQ(board.line.At(1)->targetX, 400);
    EXPECT_EQ(Field().movesAvailable, 0);
    ASSERT_FALSE(host.hints.empty());
    EXPECT_EQ(host.hints.back().text, "Use stone deck if there are no more moves.");
    EXPECT_TRUE(host.player.deckHintShown);
}

TEST_F(MoveRulesTest, TwoSide_FailedDropsReturnHome)
{
    SetMode(GameMode::TwoSide);
    SetLine(1, 2);
    DominoFish& stone = AddStone(0, 600, 200, 1, 7);
    Field().ApplyFreeRule();

    DragAndDrop(stone, 600, 300); // far from both ends, 100 pixels from home
    EXPECT_FALSE(stone.dragging);
    EXPECT_EQ(stone.moveTicksLeft, 30);
    EXPECT_TRUE(stone.returnOnArrival);
    Tick(30);
    EXPECT_EQ(stone.x, 600);
    EXPECT_EQ(stone.y, 200);

    DragAndDrop(stone, 640, 200); // 40 pixels from home
    EXPECT_EQ(stone.moveTicksLeft, 1);
    Tick(1);

    // A stone with no matching picture fails even right at an end.
    DominoFish& stranger = AddStone(0, 600, 400, 8, 9);
    Field().ApplyFreeRule();
    DragAndDrop(stranger, PlayLine::kLastX + 80, PlayLine::kCentreY);
    EXPECT_EQ(board.line.Count(), 2);
    EXPECT_EQ(Field().stoneCount, 2);
}

TEST_F(MoveRulesTest, TwoSide_DropsOnEitherEndAndTiesGoRight)
{
    SetMode(GameMode::TwoSide);
    SetLine(1, 2);
    DominoFish& left = AddStone(0, 100, 100, 1, 4);
    DominoFish& right = AddStone(0, 300, 100, 2, 6);
    Field().ApplyFreeRule();

    DragAndDrop(left, PlayLine::kFirstX - 80 + 10, PlayLine::kCentreY);
    EXPECT_EQ(board.line.First(), &left);
    EXPECT_EQ(left.targetX, PlayLine::kFirstX);
    EXPECT_EQ(board.line.At(1)->targetX, PlayLine::kFirstX + 80);
    EXPECT_FLOAT_EQ(board.comboMeter.level, 5.0f);
    EXPECT_EQ(Field().undo.originX, 100); // the place it was picked up from
    // While dragged left of the middle with its left picture matching, it turned.
    EXPECT_EQ(left.rotationState, 2);

    DragAndDrop(right, PlayLine::kLastX + 80, PlayLine::kCentreY + 20);
    EXPECT_EQ(board.line.Last(), &right);
    EXPECT_EQ(Field().stoneCount, 0);
    EXPECT_TRUE(Field().won);

    // Equal distances to both end places: the right end takes it.
    SetLine(3, 3, 420, 300);
    DominoFish& tie = AddStone(0, 100, 300, 3, 3);
    Field().ApplyFreeRule();
    DragAndDrop(tie, 360, PlayLine::kCentreY);
    EXPECT_EQ(board.line.Last(), &tie);
}

TEST_F(MoveRulesTest, Jokers_FitEverywhereAndChangeNoCounter)
{
    SetMode(GameMode::TwoSide);
    SetLine(1, 2);
    DominoFish& joker = AddStone(0, 100, 100, 0, 0);
    joker.MakeJoker();
    DominoFish& plain = AddStone(0, 300, 100, 8, 9);
    Field().pictureCounters[8] = 1;
    Field().pictureCounters[9] = 1;
    Field().ApplyFreeRule();
    EXPECT_EQ(Field().CountMoves(), 1);

    DragAndDrop(joker, PlayLine::kFirstX - 80, PlayLine::kCentreY);
    EXPECT_EQ(board.line.First(), &joker);
    ASSERT_FALSE(host.hints.empty());
    EXPECT_EQ(host.hints.back().x, 310);
    EXPECT_TRUE(host.player.jokerHintShown);
    Tick(60);
    // Any stone fits a joker end.
    EXPECT_EQ(Field().CountMoves(), 1);
    DragAndDrop(plain, PlayLine::kFirstX - 80, PlayLine::kCentreY);
    EXPECT_EQ(board.line.First(), &plain);
    EXPECT_EQ(Field().pictureCounters[8], 0);

    // Undoing the plain stone gives its counters back; the joker's were never touched.
    board.PressUndo();
    EXPECT_EQ(Field().pictureCounters[8], 1);
    EXPECT_EQ(Field().pictureCounters[9], 1);
    EXPECT_EQ(std::count(Field().pictureCounters.begin(), Field().pictureCounters.end(), 0), 24);
}

TEST_F(MoveRulesTest, Keys_OpenLocksEvenUnderCover)
{
    SetMode(GameMode::OneSide);
    SetLine(4, 4);
    DominoFish& locked = AddStone(0, 200, 200, 4, 1);
    locked.lockNumber = 1;
    DominoFish& cover = AddStone(1, 200, 200, 2, 4);
    DominoFish& key = AddStone(0, 500, 200, 4, 2);
    key.keyNumber = 1;
    Field().ApplyFreeRule();
    EXPECT_FALSE(locked.faceUp);

    Click(key);
    EXPECT_TRUE(Field().lockOpened[1]);
    EXPECT_EQ(host.SoundCount(SOUND_USE_KEY), 1);
    EXPECT_EQ(Field().floatingLabels.size(), 2u); // the key and the opened lock
    EXPECT_FALSE(locked.faceUp);                  // still under its cover
    Tick(60);

    Click(cover);
    EXPECT_TRUE(locked.faceUp);
}

TEST_F(MoveRulesTest, EndOfLevel_LastStoneWinsAndNoMovesFail)
{
    SetMode(GameMode::OneSide);
    board.deck.Deal(5);
    SetLine(3, 3);
    DominoFish& last = AddStone(0, 200, 200, 3, 1);
    Field().ApplyFreeRule();
    Field().boardLevel = 7;
    Click(last);
    Tick(100);
    EXPECT_TRUE(Field().won);
    ASSERT_FALSE(host.dialogs.empty());
    EXPECT_EQ(host.dialogs.back(), "level complete: Level Complete! | Congratulation!  You have "
                                   "completed the level! | Play Next");
    EXPECT_EQ(host.player.oneSideLevel, 2);
    EXPECT_EQ(host.player.oneSideScore, 20);
    EXPECT_EQ(host.playerSaves, 1);
    EXPECT_TRUE(host.levelCompletedThisGame);
    ASSERT_EQ(host.statistics.size(), 1u);
    EXPECT_EQ(host.statistics[0].rfind("One-Side Solitaire: Ann Completed Level 7(time ", 0), 0u)
        << host.statistics[0];
    EXPECT_NE(host.statistics[0].find(" sec.) cards in deck 5\n"), std::string::npos);
    // Seconds are cut, not rounded.
    Field().playTicks = 5999;
    EXPECT_NE(Field().StatisticsLine(false).find(" FAILED Level 7(time 59 sec.) "),
              std::string::npos);
    Tick(10);
    EXPECT_EQ(host.player.oneSideLevel, 2); // the results are given once

    // Two-Side: no field move and nothing in the deck or piles that fits.
    HeadlessHost otherHost;
    BoardModel two(otherHost);
    otherHost.onUpdate = [&two] { two.Tick(); };
    two.field.mode = GameMode::TwoSide;
    two.deck.Deal(0);
    auto stone = std::make_unique<DominoFish>(&two.field, 200, 200, 3, 0, 0);
    stone->pictureA = 8;
    stone->pictureB = 9;
    two.field.layers.emplace_back().push_back(std::move(stone));
    two.field.stoneCount = 1;
    two.line.Append(std::make_unique<DominoFish>(&two.field, 358, 565, 3, 0, 0));
    two.line.Append(std::make_unique<DominoFish>(&two.field, 440, 565, 3, 0, 0));
    two.field.ApplyFreeRule();
    two.field.CountMoves();
    two.deck.CountDeckSideMoves();
    two.field.CheckEndOfLevel();
    EXPECT_TRUE(two.field.failed);
    otherHost.Step();
    EXPECT_FALSE(two.field.failed);
    EXPECT_EQ(otherHost.dialogs.back(), "game over");
    EXPECT_EQ(otherHost.statistics.back(), "Two-Side Solitaire:  FAILED Level 1(time 0 sec.) "
                                           "cards in deck 0\n");
}

TEST_F(MoveRulesTest, TwoSide_QuickDropOfATurningStoneIsNoGameOver)
{
    SetMode(GameMode::TwoSide);
    SetLine(1, 2);
    DominoFish& turning = AddStone(0, 100, 100, 1, 4);
    DominoFish& next = AddStone(0, 600, 100, 4, 9);
    Field().ApplyFreeRule();
    // Dropped at once: the stone still shows 1 outwards while it turns to show 4.
    DragAndDrop(turning, PlayLine::kFirstX - 80, PlayLine::kCentreY);
    ASSERT_EQ(board.line.First(), &turning);
    ASSERT_NE(turning.rotationState, 0);
    EXPECT_FALSE(Field().failed);
    Tick(40);
    EXPECT_EQ(board.line.LeftEndValue(), 4);
    EXPECT_TRUE(next.playable);
    EXPECT_FALSE(Field().failed);

    // Once the ends have stopped turning a dead end is still a game over.
    SetLine(7, 7);
    Field().CountMoves();
    board.deck.CountDeckSideMoves();
    Field().OnStoneTurned();
    EXPECT_TRUE(Field().failed);
}

TEST_F(MoveRulesTest, UndoOfTheLastStone_TakesBackThePendingWin)
{
    SetMode(GameMode::OneSide);
    board.deck.Deal(5);
    SetLine(3, 3);
    DominoFish& last = AddStone(0, 200, 200, 3, 1);
    Field().ApplyFreeRule();
    Click(last);
    ASSERT_EQ(Field().stoneCount, 0);
    // Taken back while it is still on its way: the field is not empty any more.
    board.PressUndo();
    EXPECT_EQ(Field().stoneCount, 1);
    EXPECT_FALSE(Field().won);
    Tick(100);
    EXPECT_FALSE(Field().won);
    EXPECT_TRUE(host.dialogs.empty());
    EXPECT_EQ(host.player.oneSideLevel, 1);
    EXPECT_EQ(host.playerSaves, 0);

    // A win noted for a field that has a stone again by the time the board rests is dropped.
    Field().won = true;
    Tick(1);
    EXPECT_FALSE(Field().won);
    EXPECT_TRUE(host.dialogs.empty());

    // Played again, the level completes as usual.
    Click(last);
    Tick(100);
    EXPECT_TRUE(Field().won);
    ASSERT_EQ(host.dialogs.size(), 1u);
    EXPECT_EQ(host.player.oneSideLevel, 2);
}

TEST_F(MoveRulesTest, OneSide_ATurningLineEndOffersThePictureItTurnsTo)
{
    SetMode(GameMode::OneSide);
    board.deck.Deal(3);
    SetLine(5, 5);
    DominoFish& turner = AddStone(0, 100, 100, 3, 5);
    DominoFish& old = AddStone(0, 300, 100, 5, 6);
    DominoFish& fresh = AddStone(0, 500, 100, 3, 7);
    Field().ApplyFreeRule();
    Click(turner);
    ASSERT_EQ(board.line.Last(), &turner);
    ASSERT_NE(turner.rotationState, 0);
    // Still showing 5 on the right while it turns round to show 3 there.
    EXPECT_EQ(turner.RightValue(), 5);
    EXPECT_EQ(board.line.RightEndValue(), 3);
    Field().CountMoves();
    EXPECT_FALSE(old.playable);
    EXPECT_TRUE(fresh.playable);

    Click(old);
    EXPECT_EQ(board.line.Last(), &turner);
    EXPECT_EQ(Field().stoneCount, 2);

    // The deck's stone takes the picture the end turns to.
    DominoFish* top = board.deck.stones.back().get();
    top->joker = false;
    board.MouseMove(55, 560);
    board.MouseDown(55, 560, Zorva::kClickLeft);
    board.MouseUp(55, 560, Zorva::kClickLeft);
    ASSERT_EQ(board.line.Last(), top);
    EXPECT_EQ(top->pictureA, 3);
}
