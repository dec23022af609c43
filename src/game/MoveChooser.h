#pragma once

#include "game/MoveSearch.h"

class BoardModel;

/// What an automatic player does next.
struct PlayerChoice
{
    enum class Action
    {
        PlaceStone,
        DrawFromDeck,
        Reshuffle,
        /// Nothing fits and nothing is left.
        GiveUp,
    };

    Action action = Action::GiveUp;
    /// The stone to place when the action is PlaceStone (layer and index on the board).
    SearchMove move;
};

/// The judgement of an automatic player: picks the next action on a board at rest. The
/// pointer work of carrying it out belongs to AutoPlayer, which every kind of player shares.
class MoveChooser
{
public:
    virtual ~MoveChooser() = default;

    /// `deckCanAct` tells whether a click on the deck would do anything now.
    virtual PlayerChoice Choose(const BoardModel& board, bool deckCanAct) = 0;

protected:
    static PlayerChoice Place(const SearchMove& move)
    {
        return {PlayerChoice::Action::PlaceStone, move};
    }
    static PlayerChoice Act(PlayerChoice::Action action) { return {action, {}}; }
};
