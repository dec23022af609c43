#pragma once

#include "game/StoneList.h"

#include <vector>

namespace Zorva {
class Graphics;
}

class PlayField;
class PlayLine;

/// The stone deck, and in Two-Side play its piles: further stones when the field offers no
/// move. Deck stones lie in a stack whose top is the last stone; so do the stones of a pile.
class StoneDeck
{
public:
    static constexpr int kMaxStones = 500;
    static constexpr int kMaxPiles = 8;
    static constexpr int kVisiblePileStones = 3;

    /// The deck plays its stones onto the field's line; both must outlive it.
    StoneDeck(PlayField& playField, PlayLine& playLine) : field(playField), line(playLine) {}
    StoneDeck(const StoneDeck&) = delete;
    StoneDeck& operator=(const StoneDeck&) = delete;

    /// Replaces the deck with `count` new stones and empty piles; crops start at 2.
    void Deal(int count);
    /// No deck stones and no piles; nothing held or hovered. Crops and pile count stay.
    void Clear();
    /// A mouse up on the deck area, in the field's mode.
    void Click(int button);
    bool InDeckArea(int mouseX, int mouseY) const;

    /// Hover over the top stones of the piles; true when the hovered pile stone changed.
    bool PileHover(int mouseX, int mouseY);
    void PileMouseDown(int mouseX, int mouseY, int button);
    /// True when a held pile stone followed the mouse.
    bool PileDrag(int mouseX, int mouseY);
    /// Drops a held pile stone, or clicks the deck when the point lies on it.
    void MouseUp(int mouseX, int mouseY, int button);

    /// Deck and pile stones that could join an end now or after a redeal.
    int CountDeckSideMoves();

    /// A bonus stone: lying, on top of the deck, two random pictures that may be equal.
    void AddBonusStone();
    void AddPile();
    int StoneCount() const { return static_cast<int>(stones.size()); }
    int PileStoneCount() const;
    /// No deck or pile stone is moving or flipping.
    bool AtRest() const;
    void UpdateStones();
    /// Draws the deck place, the top deck backs, the piles (Two-Side) and the stone count.
    void Draw(Zorva::Graphics& graphics) const;
    /// Screen position of place `place` of pile `pile` (place 0 at the bottom).
    static std::pair<int, int> PilePlace(int pile, int place);
    /// Moves every stone of a pile to its place; only the top three places show.
    void RestackPile(int pile, bool clipped);

    PlayField& field;
    PlayLine& line;
    int hoveredPile = -1;
    int hoveredPileStone = -1;
    /// Set by a Two-Side deal; the panel consumes it.
    bool dealt = false;
    bool busy = false;
    int style = 0;
    int x = 5;
    int y = 540;
    int deckSideMoves = 0;
    StoneList stones;
    std::vector<StoneList> piles;
    int dragOriginX = 0;
    int dragOriginY = 0;
    /// Redeals left in Two-Side play.
    int crops = 2;
    int pileCount = 2;
    /// The pile stone the player holds, if any.
    DominoFish* heldStone = nullptr;

private:
    void ClickOneSide(int button);
    void ClickTwoSide();
    void DealOntoPiles();
    void CropPilesIntoDeck();
    int PileOfHeldStone() const;
    std::unique_ptr<DominoFish> NewStone(int centreX, int centreY);
};
