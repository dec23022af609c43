#pragma once

#include "game/MoveChooser.h"

/// A casual player, closer to how a person plays: it sees only the free face-up stones, the
/// ends of the line and (in Two-Side) the tops of the piles, and looks one step ahead. Of the
/// field stones that fit it takes the one that opens the most stones; a pile stone only when it
/// lets a field stone follow; otherwise the deck, and a reshuffle when it is stuck.
class CasualChooser : public MoveChooser
{
public:
    PlayerChoice Choose(const BoardModel& board, bool deckCanAct) override;
};
