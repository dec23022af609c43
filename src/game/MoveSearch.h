#pragma once

#include <cstdint>
#include <optional>
#include <unordered_set>
#include <vector>

class BoardModel;

/// A move the automatic player can make with the pointer.
struct SearchMove
{
    enum Kind
    {
        kFieldStone,
        kPileStone,
    };

    Kind kind = kFieldStone;
    /// Layer and index of a field stone, or the pile of a pile stone.
    int layer = 0;
    int index = 0;
    int pile = -1;
    /// -1 the left end, 1 the right end.
    int side = 1;
    /// One-Side onto a joker end: use the right button, so the stone turns over.
    bool turnOver = false;
    /// Field stones the best line found from here clears, this move included.
    int fieldGain = 0;
};

/// Looks ahead over the face-up stones and the pile tops of a board for the line of plays
/// that clears the most field stones, as a careful player would before touching the deck.
/// It works on a copy of the positions, pictures, locks and keys; the board is not changed.
class MoveSearch
{
public:
    /// Reads the board as it is now (at rest).
    explicit MoveSearch(const BoardModel& board);

    /// What a player who looks only one step ahead sees of a possible move.
    struct Glance
    {
        SearchMove move;
        /// Field stones the move uncovers or unlocks.
        int opened = 0;
        /// Field stones that fit an end right after it.
        int fieldFollowUps = 0;
    };

    /// The first move of the best line, or none when no stone fits an end.
    std::optional<SearchMove> BestMove(int nodeBudget);

    /// Every move possible now, each with its one-step glance.
    std::vector<Glance> GlanceAtMoves() const;

private:
    struct Stone
    {
        int layer = 0;
        int pictureA = 0;
        int pictureB = 0;
        int leftValue = 0;
        int rightValue = 0;
        bool joker = false;
        int lockNumber = -1;
        int keyNumber = -1;
        std::vector<int> coveredBy;
    };

    struct State
    {
        std::vector<uint8_t> alive;
        std::vector<int> pileHeights;
        int left = 0;
        int right = 0;
        uint8_t opened = 0;
        int fieldLeft = 0;
    };

    struct Outcome
    {
        int newEnd = 0;
        bool turnOver = false;
    };

    bool FaceUp(const State& state, int stone) const;
    /// The end values a stone can leave after joining an end of value `end`.
    std::vector<Outcome> Outcomes(const Stone& stone, int end, bool endIsJoker, bool oneSide,
                                  int side) const;
    void CollectMoves(const State& state, std::vector<std::pair<SearchMove, Outcome>>& moves) const;
    /// Makes the move in `state`; returns the field stones it clears (0 or 1).
    int Apply(State& state, const SearchMove& move, const Outcome& outcome) const;
    int Search(State& state);
    uint64_t Hash(const State& state) const;
    const Stone& StoneOf(const SearchMove& move, const State& state) const;
    /// The move with a field stone's layer and index on the board instead of its own number.
    SearchMove OnBoard(SearchMove move) const;

    bool oneSide = true;
    std::vector<Stone> field;
    std::vector<std::pair<int, int>> fieldIndex; // (layer, index) of each field stone
    std::vector<std::vector<Stone>> piles;
    State start;
    int nodes = 0;
    int budget = 0;
    std::unordered_set<uint64_t> visited;
};
