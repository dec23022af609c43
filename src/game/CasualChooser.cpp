#include "game/CasualChooser.h"

#include "game/BoardModel.h"

#include <tuple>

namespace {

/// Orders what a glance shows: stones opened first, then field stones that could follow,
/// then the higher layer, which the eye meets first.
bool Better(const MoveSearch::Glance& a, const MoveSearch::Glance& b)
{
    return std::make_tuple(a.opened, a.fieldFollowUps, a.move.layer) >
           std::make_tuple(b.opened, b.fieldFollowUps, b.move.layer);
}

} // namespace

PlayerChoice CasualChooser::Choose(const BoardModel& board, bool deckCanAct)
{
    const MoveSearch search(board);
    const std::vector<MoveSearch::Glance> glances = search.GlanceAtMoves();
    const MoveSearch::Glance* bestField = nullptr;
    const MoveSearch::Glance* bestPile = nullptr;
    for (const MoveSearch::Glance& glance : glances) {
        const MoveSearch::Glance*& best =
            glance.move.kind == SearchMove::kFieldStone ? bestField : bestPile;
        if (!best || Better(glance, *best)) {
            best = &glance;
        }
    }
    if (bestField) {
        return Place(bestField->move);
    }
    if (bestPile && bestPile->fieldFollowUps > 0) {
        return Place(bestPile->move);
    }
    if (deckCanAct) {
        return Act(PlayerChoice::Action::DrawFromDeck);
    }
    if (bestPile) {
        return Place(bestPile->move);
    }
    if (board.field.reshufflesLeft > 0) {
        return Act(PlayerChoice::Action::Reshuffle);
    }
    return Act(PlayerChoice::Action::GiveUp);
}
