#pragma once

class DominoFish;

/// The single step that Undo can take back: where the last played stone came from.
struct UndoRecord
{
    enum Source
    {
        kField = 0,
        kDeckOrPile = 1,
    };

    int source = kField;
    /// Points the last move earned; taken off the score by Undo.
    int points = 0;
    int originX = 0;
    int originY = 0;
    int originLayer = 0;
    /// Index in the layer, index of the pile, or -1 for the deck.
    int originIndex = -1;
    /// The stone played (owned by the play line); null when there is nothing to undo.
    DominoFish* stone = nullptr;
};
