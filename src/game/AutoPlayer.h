#pragma once

#include "game/MoveSearch.h"

#include <optional>
#include <string>
#include <utility>

class BoardModel;
class DominoFish;
class HeadlessHost;

/// Plays a started level to its end through the board's own pointer operations, as a careful
/// player would: it looks ahead over the face-up stones and the piles, turns to the deck only
/// when the field offers nothing, and uses a reshuffle when the game is over and one is left.
/// Between moves the board runs at 100 updates per second until it is at rest.
class AutoPlayer
{
public:
    struct Result
    {
        bool won = false;
        /// The player found no way on and the game did not end by itself.
        bool stuck = false;
        int moves = 0;
        int score = 0;
        int ticks = 0;
        int reshufflesUsed = 0;
    };

    /// Ticks the player waits before each move, as a person looks before clicking.
    static constexpr int kThinkTicks = 40;
    static constexpr int kSearchBudget = 40000;

    AutoPlayer(BoardModel& board, HeadlessHost& host);

    /// Plays until the level is won or lost; `maxMoves` bounds a game that would never end.
    Result PlayToEnd(int maxMoves = 4000);

private:
    enum class Outcome
    {
        Playing,
        Won,
        GameOver,
    };

    void Tick(int count);
    bool AtRest() const;
    void WaitForRest();
    /// Reads what the last dialog the host showed means for the game.
    Outcome CheckDialogs();

    bool Perform(const SearchMove& move);
    bool ClickStoneOneSide(DominoFish& stone, bool rightButton);
    bool DragStoneToEnd(DominoFish& stone, bool fromPile, int pile, int side);
    bool ClickDeck();
    /// A point over the stone at which the board hovers exactly this stone.
    std::optional<std::pair<int, int>> PointOver(DominoFish& stone, bool pileStone, int pile);
    bool DeckCanAct() const;

    BoardModel& board;
    HeadlessHost& host;
    std::size_t dialogsSeen = 0;
    int startTicks = 0;
};
