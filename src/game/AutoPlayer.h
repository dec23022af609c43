#pragma once

#include "game/AutoPlayerHost.h"
#include "game/MoveSearch.h"

#include <memory>
#include <optional>
#include <string>
#include <utility>

class BoardModel;
class DominoFish;
class HeadlessHost;
class MoveChooser;

/// Plays a started level to its end through the board's own pointer operations. A chooser of
/// the given style decides each action (see CarefulChooser and CasualChooser); the game-over
/// window's reshuffle is taken while one is left. Between moves the board runs at 100 updates
/// per second until it is at rest.
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
        /// Actions the board did not take (a stone that was not free or did not fit).
        int refused = 0;
    };

    enum class Style
    {
        /// Looks far ahead; wins more often than a person.
        Careful,
        /// Sees only what is open and looks one step ahead, as a person tends to.
        Casual,
    };

    /// Ticks the player waits before each move, as a person looks before clicking.
    static constexpr int kThinkTicks = 40;

    /// Plays in a headless host, ticking the board once per update.
    AutoPlayer(BoardModel& board, HeadlessHost& host, Style style = Style::Careful);
    /// Plays in `host`, which runs the board's updates itself.
    AutoPlayer(BoardModel& board, AutoPlayerHost& host, Style style = Style::Careful);
    ~AutoPlayer();

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
    /// How the level stands after what the host showed since the last check.
    Outcome CheckLevelEnd();

    bool Perform(const SearchMove& move);
    bool ClickStoneOneSide(DominoFish& stone, bool rightButton);
    bool DragStoneToEnd(DominoFish& stone, bool fromPile, int pile, int side);
    bool ClickDeck();
    /// A point over the stone at which the board hovers exactly this stone.
    std::optional<std::pair<int, int>> PointOver(DominoFish& stone, bool pileStone, int pile);
    bool DeckCanAct() const;

    BoardModel& board;
    /// Set when the player adapted a headless host itself.
    std::unique_ptr<AutoPlayerHost> ownHost;
    AutoPlayerHost& host;
    std::unique_ptr<MoveChooser> chooser;
    int startTicks = 0;
};
