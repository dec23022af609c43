#pragma once

#include "game/MoveChooser.h"

/// A careful player: looks far ahead over the face-up stones and the piles, turns to the deck
/// only when no line of plays clears a field stone, and reshuffles when nothing else is left.
class CarefulChooser : public MoveChooser
{
public:
    static constexpr int kSearchBudget = 40000;

    PlayerChoice Choose(const BoardModel& board, bool deckCanAct) override;
};
