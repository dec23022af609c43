#include "game/CarefulChooser.h"

#include "game/BoardModel.h"

PlayerChoice CarefulChooser::Choose(const BoardModel& board, bool deckCanAct)
{
    MoveSearch search(board);
    const std::optional<SearchMove> move = search.BestMove(kSearchBudget);
    if (move && move->fieldGain > 0) {
        return Place(*move);
    }
    if (deckCanAct) {
        return Act(PlayerChoice::Action::DrawFromDeck);
    }
    if (move) {
        return Place(*move);
    }
    if (board.field.reshufflesLeft > 0) {
        return Act(PlayerChoice::Action::Reshuffle);
    }
    return Act(PlayerChoice::Action::GiveUp);
}
