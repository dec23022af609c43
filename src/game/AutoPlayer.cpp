#include "game/AutoPlayer.h"

#include "game/BoardModel.h"
#include "game/CarefulChooser.h"
#include "game/CasualChooser.h"
#include "game/HeadlessHost.h"
#include "widgets/InputCodes.h"

namespace {

constexpr int kRestTickLimit = 5000;

bool StoneAtRest(const DominoFish& stone)
{
    return !stone.IsMoving() && stone.rotationState == 0 && !stone.flipActive;
}

std::unique_ptr<MoveChooser> MakeChooser(AutoPlayer::Style style)
{
    if (style == AutoPlayer::Style::Casual) {
        return std::make_unique<CasualChooser>();
    }
    return std::make_unique<CarefulChooser>();
}

/// A headless host seen as the application: each update ticks the board, and the dialogs it
/// was asked to show tell how the level ended.
class HeadlessPlayHost : public AutoPlayerHost
{
public:
    HeadlessPlayHost(BoardModel& playedBoard, HeadlessHost& headless)
        : board(playedBoard), host(headless), dialogsSeen(headless.dialogs.size())
    {
        host.onUpdate = [this] { board.Tick(); };
    }
    void RunOneUpdate() override { host.Step(); }
    int UpdatesRun() const override { return host.updateCount; }
    LevelEnd TakeLevelEnd() override
    {
        LevelEnd end = LevelEnd::None;
        for (; dialogsSeen < host.dialogs.size(); ++dialogsSeen) {
            const std::string& dialog = host.dialogs[dialogsSeen];
            if (dialog.rfind("level complete", 0) == 0) {
                end = LevelEnd::Won;
            } else if (dialog == "game over") {
                end = LevelEnd::GameOver;
            }
        }
        return end;
    }
    void UseReshuffleAfterGameOver() override { board.PressReshuffle(); }

private:
    BoardModel& board;
    HeadlessHost& host;
    std::size_t dialogsSeen;
};

} // namespace

AutoPlayer::AutoPlayer(BoardModel& newBoard, HeadlessHost& headless, Style style)
    : board(newBoard), ownHost(std::make_unique<HeadlessPlayHost>(newBoard, headless)),
      host(*ownHost), chooser(MakeChooser(style)), startTicks(host.UpdatesRun())
{}

AutoPlayer::AutoPlayer(BoardModel& newBoard, AutoPlayerHost& newHost, Style style)
    : board(newBoard), host(newHost), chooser(MakeChooser(style)), startTicks(host.UpdatesRun())
{}

AutoPlayer::~AutoPlayer() = default;

void AutoPlayer::Tick(int count)
{
    for (int i = 0; i < count; ++i) {
        host.RunOneUpdate();
    }
}

bool AutoPlayer::AtRest() const
{
    for (const StoneList& layer : board.field.layers) {
        for (const auto& stone : layer) {
            if (!StoneAtRest(*stone)) {
                return false;
            }
        }
    }
    for (const auto& stone : board.line.stones) {
        if (!StoneAtRest(*stone)) {
            return false;
        }
    }
    for (const StoneList& pile : board.deck.piles) {
        for (const auto& stone : pile) {
            if (!StoneAtRest(*stone)) {
                return false;
            }
        }
    }
    return board.deck.AtRest();
}

void AutoPlayer::WaitForRest()
{
    for (int i = 0; i < kRestTickLimit && !AtRest(); ++i) {
        Tick(1);
    }
    // The level results follow on the tick after everything stopped.
    Tick(1);
}

AutoPlayer::Outcome AutoPlayer::CheckLevelEnd()
{
    switch (host.TakeLevelEnd()) {
    case AutoPlayerHost::LevelEnd::Won:
        return Outcome::Won;
    case AutoPlayerHost::LevelEnd::GameOver:
        return Outcome::GameOver;
    case AutoPlayerHost::LevelEnd::None:
        break;
    }
    return Outcome::Playing;
}

std::optional<std::pair<int, int>> AutoPlayer::PointOver(DominoFish& stone, bool pileStone,
                                                         int pile)
{
    // Try the middle of the hit box first, then points towards its corners.
    const int centreX = stone.drawLeft + 7 + stone.width / 2;
    const int centreY = stone.drawTop - 7 + stone.height / 2;
    const int offsets[][2] = {{0, 0},     {-25, 0},  {25, 0},   {0, -15}, {0, 15},
                              {-30, -18}, {30, -18}, {-30, 18}, {30, 18}};
    for (const auto& offset : offsets) {
        const int px = centreX + offset[0];
        const int py = centreY + offset[1];
        board.MouseMove(px, py);
        const bool hovered = pileStone ? board.deck.hoveredPile == pile &&
                                             !board.deck.piles[pile].empty() &&
                                             board.deck.piles[pile].back().get() == &stone &&
                                             board.field.hoveredStone == nullptr
                                       : board.field.hoveredStone == &stone;
        if (hovered) {
            return std::make_pair(px, py);
        }
    }
    return std::nullopt;
}

bool AutoPlayer::ClickStoneOneSide(DominoFish& stone, bool rightButton)
{
    const auto point = PointOver(stone, false, -1);
    if (!point) {
        return false;
    }
    const int button = rightButton ? Zorva::kClickRight : Zorva::kClickLeft;
    const int before = board.field.stoneCount;
    board.MouseDown(point->first, point->second, button);
    board.MouseUp(point->first, point->second, button);
    return board.field.stoneCount < before;
}

bool AutoPlayer::DragStoneToEnd(DominoFish& stone, bool fromPile, int pile, int side)
{
    const auto point = PointOver(stone, fromPile, pile);
    if (!point) {
        return false;
    }
    board.MouseDown(point->first, point->second, Zorva::kClickLeft);
    const DominoFish* end = side < 0 ? board.line.First() : board.line.Last();
    const int targetX = end->x + 80 * side;
    const int targetY = end->y;
    board.MouseDrag((point->first + targetX) / 2, (point->second + targetY) / 2);
    board.MouseDrag(targetX, targetY);
    const int lineBefore = board.line.Count();
    board.MouseUp(targetX, targetY, Zorva::kClickLeft);
    return board.line.Count() > lineBefore;
}

bool AutoPlayer::DeckCanAct() const
{
    const StoneDeck& deck = board.deck;
    if (board.field.mode == GameMode::OneSide) {
        return !deck.stones.empty();
    }
    return !deck.piles.empty() && (!deck.stones.empty() || deck.crops > 0);
}

bool AutoPlayer::ClickDeck()
{
    const StoneDeck& deck = board.deck;
    const int points[][2] = {{55, 560}, {30, 580}, {90, 580}, {20, 530}, {95, 530}};
    for (const auto& point : points) {
        const int px = deck.x + point[0] - 5;
        const int py = point[1];
        board.MouseMove(px, py);
        if (board.field.hoveredStone == nullptr && deck.InDeckArea(px, py)) {
            board.MouseDown(px, py, Zorva::kClickLeft);
            board.MouseUp(px, py, Zorva::kClickLeft);
            return true;
        }
    }
    return false;
}

bool AutoPlayer::Perform(const SearchMove& move)
{
    if (move.kind == SearchMove::kPileStone) {
        DominoFish& stone = *board.deck.piles[move.pile].back();
        return DragStoneToEnd(stone, true, move.pile, move.side);
    }
    DominoFish* stone = board.field.StoneAt(move.layer, move.index);
    if (!stone) {
        return false;
    }
    if (board.field.mode == GameMode::OneSide) {
        return ClickStoneOneSide(*stone, move.turnOver);
    }
    return DragStoneToEnd(*stone, false, -1, move.side);
}

AutoPlayer::Result AutoPlayer::PlayToEnd(int maxMoves)
{
    Result result;
    int failedAttempts = 0;
    WaitForRest();
    while (result.moves < maxMoves) {
        const Outcome outcome = CheckLevelEnd();
        if (outcome == Outcome::Won) {
            result.won = true;
            break;
        }
        if (outcome == Outcome::GameOver) {
            // The game-over window offers a reshuffle while one is left.
            if (board.field.reshufflesLeft <= 0) {
                break;
            }
            host.UseReshuffleAfterGameOver();
            ++result.reshufflesUsed;
            ++result.moves;
            WaitForRest();
            continue;
        }
        Tick(kThinkTicks);
        const PlayerChoice choice = chooser->Choose(board, DeckCanAct());
        bool acted = false;
        if (choice.action == PlayerChoice::Action::PlaceStone) {
            acted = Perform(choice.move);
        } else if (choice.action == PlayerChoice::Action::DrawFromDeck) {
            acted = ClickDeck();
        } else if (choice.action == PlayerChoice::Action::Reshuffle) {
            board.PressReshuffle();
            ++result.reshufflesUsed;
            acted = true;
        } else {
            // Nothing fits and nothing is left: only a game over can follow.
            WaitForRest();
            const Outcome late = CheckLevelEnd();
            result.won = late == Outcome::Won;
            result.stuck = late == Outcome::Playing;
            break;
        }
        if (acted) {
            ++result.moves;
            failedAttempts = 0;
        } else {
            ++result.refused;
            if (++failedAttempts > 3) {
                result.stuck = true;
                break;
            }
        }
        WaitForRest();
    }
    result.score = board.field.score;
    result.ticks = host.UpdatesRun() - startTicks;
    return result;
}
