#include "GameTestSupport.h"

using DeckTest = GameTest;

TEST_F(DeckTest, Deal_TwoDifferentPicturesAndAboutFiveJokersInAHundred)
{
    Field().pictureList = {0, 1, 2, 3, 4};
    int jokers = 0;
    int stones = 0;
    for (int round = 0; round < 4; ++round) {
        board.deck.Deal(StoneDeck::kMaxStones);
        for (const auto& stone : board.deck.stones) {
            ++stones;
            if (stone->joker) {
                ++jokers;
                continue;
            }
            EXPECT_NE(stone->pictureA, stone->pictureB);
        }
    }
    EXPECT_EQ(stones, 2000);
    EXPECT_GT(jokers, 65); // 49 in 1000 are expected: 98 here
    EXPECT_LT(jokers, 135);
    EXPECT_TRUE(board.deck.stones.back()->faceUp);
    EXPECT_EQ(board.deck.stones[3]->x, 5 + 3 + 40);
    EXPECT_EQ(board.deck.stones[3]->y, 540 - 3 + 25);

    // A single picture cannot give two different halves; the deal still ends.
    Field().pictureList = {7};
    board.deck.Deal(10);
    EXPECT_EQ(board.deck.StoneCount(), 10);
    EXPECT_EQ(board.deck.crops, 2);
}

TEST_F(DeckTest, OneSideClick_PlaysTheTopStoneOntoTheRightEnd)
{
    Field().mode = GameMode::OneSide;
    Field().pictureList = {0, 1, 2};
    board.deck.Deal(3);
    board.deck.stones.back()->joker = false;
    board.deck.stones.back()->pictureA = 0;
    board.deck.stones.back()->pictureB = 1;
    SetLine(2, 2);
    AddStone(0, 300, 200, 0, 1);
    Field().ApplyFreeRule();

    DominoFish* top = board.deck.stones.back().get();
    board.MouseMove(55, 560);
    board.MouseDown(55, 560, Zorva::kClickLeft);
    board.MouseUp(55, 560, Zorva::kClickLeft);
    EXPECT_EQ(board.line.Last(), top);
    EXPECT_EQ(top->pictureA, 2); // the right end's picture
    EXPECT_EQ(board.deck.StoneCount(), 2);
    EXPECT_EQ(Field().undo.source, UndoRecord::kDeckOrPile);
    EXPECT_FALSE(host.undoEnabled); // no undo after a deck play in One-Side
    EXPECT_EQ(Field().stoneCount, 1);
}

TEST_F(DeckTest, TwoSideClick_DealsOntoPilesThenCropsBack)
{
    Field().mode = GameMode::TwoSide;
    Field().pictureList = {0, 1, 2};
    board.deck.pileCount = 2;
    board.deck.Deal(3);
    SetLine(5, 6);
    AddStone(0, 300, 200, 7, 8);
    Field().ApplyFreeRule();

    board.MouseUp(55, 560, Zorva::kClickLeft);
    EXPECT_EQ(board.deck.StoneCount(), 1);
    ASSERT_EQ(board.deck.piles.size(), 2u);
    EXPECT_EQ(board.deck.piles[0].size(), 1u);
    EXPECT_EQ(board.deck.piles[1].size(), 1u);
    EXPECT_TRUE(board.deck.piles[1][0]->faceUp);
    EXPECT_TRUE(board.deck.piles[1][0]->flipActive);
    EXPECT_FALSE(board.deck.busy);
    EXPECT_FALSE(board.deck.dealt); // consumed by the panel, which disables Undo
    EXPECT_EQ(host.updateCount, 2 * 29);

    board.MouseUp(55, 560, Zorva::kClickLeft); // the last deck stone goes onto pile 1
    EXPECT_EQ(board.deck.piles[1].size(), 2u);
    board.MouseUp(55, 560, Zorva::kClickLeft); // an empty deck takes the piles back: one crop used
    EXPECT_EQ(board.deck.StoneCount(), 3);
    EXPECT_EQ(board.deck.PileStoneCount(), 0);
    EXPECT_EQ(board.deck.crops, 1);
}

TEST_F(DeckTest, PileStones_DropOntoTheLineAndUndoBack)
{
    Field().mode = GameMode::TwoSide;
    board.deck.pileCount = 1;
    board.deck.Deal(0);
    SetLine(5, 6);
    AddStone(0, 600, 200, 7, 8);
    Field().ApplyFreeRule();
    const auto [px, py] = StoneDeck::PilePlace(0, 0);
    auto pileStone = std::make_unique<DominoFish>(&Field(), px, py, 3, 0, 0);
    pileStone->pictureA = 6;
    pileStone->pictureB = 7;
    pileStone->faceUp = true;
    DominoFish& stone = *pileStone;
    board.deck.piles[0].push_back(std::move(pileStone));

    DragAndDrop(stone, PlayLine::kLastX + 80, PlayLine::kCentreY);
    EXPECT_EQ(board.line.Last(), &stone);
    EXPECT_TRUE(board.deck.piles[0].empty());
    EXPECT_EQ(Field().undo.originIndex, 0);
    EXPECT_EQ(Field().CountMoves(), 1); // the field stone (7, 8) now fits the end 7

    board.PressUndo();
    ASSERT_EQ(board.deck.piles[0].size(), 1u);
    EXPECT_EQ(stone.targetX, px);
    EXPECT_EQ(board.line.Count(), 2);
}

TEST_F(DeckTest, Reshuffle_NewPicturesAndAtLeastThreeDeckStones)
{
    const std::string path = WriteLevelFile(LevelText("0,1,2,3", {{"[==]..[==]..[==]"}}));
    Field().mode = GameMode::OneSide;
    ASSERT_TRUE(board.StartLevel(path, 2));
    board.deck.Deal(1);
    Field().reshufflesLeft = 1;
    Field().layers[0][0]->keyNumber = 2; // no stone has lock 2: the key goes

    ASSERT_TRUE(Field().Reshuffle());
    EXPECT_EQ(board.deck.StoneCount(), 3);
    EXPECT_EQ(Field().reshufflesLeft, 0);
    EXPECT_EQ(host.reshuffleLabel, "Reshuffle 0");
    EXPECT_FALSE(host.reshuffleEnabled);
    EXPECT_EQ(Field().layers[0][0]->keyNumber, -1);
    EXPECT_EQ(Field().undo.stone, nullptr);
    EXPECT_EQ(board.line.Count(), 2);
    EXPECT_FALSE(Field().Reshuffle()); // none left
}

TEST_F(DeckTest, Undo_OneStepOnly)
{
    Field().mode = GameMode::OneSide;
    board.deck.Deal(0);
    SetLine(3, 3);
    DominoFish& stone = AddStone(1, 250, 150, 3, 4);
    AddStone(0, 250, 150, 4, 4);
    Field().ApplyFreeRule();
    Click(stone);
    Tick(5);
    ASSERT_TRUE(host.undoEnabled);
    const int scoreBefore = Field().score;

    board.PressUndo();
    EXPECT_FALSE(host.undoEnabled);
    EXPECT_EQ(Field().stoneCount, 2);
    EXPECT_EQ(Field().layers[1][0].get(), &stone);
    EXPECT_EQ(stone.layer, 1);
    EXPECT_FALSE(stone.commitOnArrival);
    EXPECT_EQ(Field().score, scoreBefore - 20);
    EXPECT_FALSE(Field().layers[0][0]->faceUp); // covered again
    Tick(30);
    EXPECT_EQ(stone.x, 250);
    EXPECT_EQ(stone.y, 150);
    EXPECT_TRUE(stone.bumpActive);

    EXPECT_FALSE(Field().Undo());
    EXPECT_EQ(Field().stoneCount, 2);
}

TEST_F(DeckTest, Hint_CyclesOverThePlayableStones)
{
    Field().mode = GameMode::OneSide;
    SetLine(1, 1);
    DominoFish& a = AddStone(0, 100, 100, 1, 2);
    DominoFish& b = AddStone(0, 300, 100, 1, 3);
    DominoFish& c = AddStone(1, 500, 300, 1, 4);
    AddStone(0, 700, 100, 5, 6);
    Field().ApplyFreeRule();
    ASSERT_EQ(Field().CountMoves(), 3);
    std::vector<DominoFish*> bumped;
    for (int i = 0; i < 4; ++i) {
        board.PressHint();
        for (DominoFish* stone : {&a, &b, &c}) {
            if (stone->bumpActive) {
                bumped.push_back(stone);
                stone->bumpActive = false;
            }
        }
    }
    // Top layer first, each layer from its last stone.
    EXPECT_EQ(bumped, (std::vector<DominoFish*>{&c, &b, &a, &c}));
    EXPECT_EQ(Field().idleTicks, -1000);
}

TEST_F(DeckTest, AutomaticHint_AfterSixHundredIdleTicks)
{
    Field().mode = GameMode::OneSide;
    SetLine(1, 1);
    DominoFish& a = AddStone(0, 100, 100, 1, 2);
    Field().ApplyFreeRule();
    Field().CountMoves();
    Tick(599);
    EXPECT_FALSE(a.bumpActive);
    Tick(2);
    EXPECT_TRUE(a.bumpActive);
    EXPECT_EQ(Field().idleTicks, -1000 + 1);
}

TEST_F(DeckTest, WeightedPicture_FavoursTheFaceUpStones)
{
    Field().pictureList = {0, 1, 2, 3};
    AddStone(0, 100, 100, 2, 2);
    AddStone(0, 300, 100, 2, 3);
    Field().ApplyFreeRule();
    // Weights: 5 each for 0..3, plus 10 per face-up half: 2 gets 30, 3 gets 10.
    std::array<int, 26> seen{};
    for (int i = 0; i < 6000; ++i) {
        ++seen[Field().WeightedRandomPicture()];
    }
    EXPECT_NEAR(seen[2] / 6000.0, 35.0 / 60.0, 0.03);
    EXPECT_NEAR(seen[3] / 6000.0, 15.0 / 60.0, 0.03);
    EXPECT_EQ(seen[4], 0);
}
