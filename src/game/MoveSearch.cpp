#include "game/MoveSearch.h"

#include "game/BoardModel.h"

#include <algorithm>
#include <cstdlib>

namespace {

constexpr int kJoker = DominoFish::kJokerValue;

} // namespace

MoveSearch::MoveSearch(const BoardModel& board)
{
    const PlayField& playField = board.field;
    oneSide = playField.mode == GameMode::OneSide;
    std::vector<const DominoFish*> sources;
    for (std::size_t l = 0; l < playField.layers.size(); ++l) {
        for (std::size_t i = 0; i < playField.layers[l].size(); ++i) {
            const DominoFish& stone = *playField.layers[l][i];
            sources.push_back(&stone);
            fieldIndex.emplace_back(static_cast<int>(l), static_cast<int>(i));
            Stone copy;
            copy.layer = static_cast<int>(l);
            copy.pictureA = stone.pictureA;
            copy.pictureB = stone.pictureB;
            copy.leftValue = stone.LeftValue();
            copy.rightValue = stone.RightValue();
            copy.joker = stone.joker;
            copy.lockNumber = stone.lockNumber;
            copy.keyNumber = stone.keyNumber;
            field.push_back(copy);
        }
    }
    for (std::size_t i = 0; i < field.size(); ++i) {
        for (std::size_t j = 0; j < field.size(); ++j) {
            if (field[j].layer > field[i].layer &&
                PlayField::Covers(sources[j]->x, sources[j]->y, sources[i]->x, sources[i]->y)) {
                field[i].coveredBy.push_back(static_cast<int>(j));
            }
        }
    }
    if (!oneSide) {
        for (const StoneList& pile : board.deck.piles) {
            auto& copies = piles.emplace_back();
            for (const auto& stone : pile) {
                Stone copy;
                copy.pictureA = stone->pictureA;
                copy.pictureB = stone->pictureB;
                copy.leftValue = stone->LeftValue();
                copy.rightValue = stone->RightValue();
                copy.joker = stone->joker;
                copies.push_back(copy);
            }
            start.pileHeights.push_back(static_cast<int>(pile.size()));
        }
    }
    start.alive.assign(field.size(), 1);
    start.fieldLeft = static_cast<int>(field.size());
    start.left = board.line.LeftEndValue();
    start.right = board.line.RightEndValue();
    for (int k = 0; k < 3; ++k) {
        if (playField.lockOpened[k]) {
            start.opened |= static_cast<uint8_t>(1u << k);
        }
    }
}

bool MoveSearch::FaceUp(const State& state, int index) const
{
    const Stone& stone = field[static_cast<std::size_t>(index)];
    if (!state.alive[index]) {
        return false;
    }
    if (stone.lockNumber >= 0 && !(state.opened & (1u << stone.lockNumber))) {
        return false;
    }
    for (const int cover : stone.coveredBy) {
        if (state.alive[cover]) {
            return false;
        }
    }
    return true;
}

std::vector<MoveSearch::Outcome> MoveSearch::Outcomes(const Stone& stone, int end, bool endIsJoker,
                                                      bool oneSideMode, int side) const
{
    const int outward = side > 0 ? stone.rightValue : stone.leftValue;
    if (stone.joker) {
        return {{kJoker, false}};
    }
    if (endIsJoker) {
        // Placed as it lies; in One-Side the right button turns it over first.
        const int inward = side > 0 ? stone.leftValue : stone.rightValue;
        if (oneSideMode && inward != outward) {
            return {{outward, false}, {inward, true}};
        }
        return {{outward, false}};
    }
    if (stone.pictureA != end && stone.pictureB != end) {
        return {};
    }
    return {{stone.pictureA == end ? stone.pictureB : stone.pictureA, false}};
}

const MoveSearch::Stone& MoveSearch::StoneOf(const SearchMove& move, const State& state) const
{
    if (move.kind == SearchMove::kFieldStone) {
        return field[static_cast<std::size_t>(move.index)];
    }
    const auto& pile = piles[static_cast<std::size_t>(move.pile)];
    return pile[static_cast<std::size_t>(state.pileHeights[move.pile] - 1)];
}

void MoveSearch::CollectMoves(const State& state,
                              std::vector<std::pair<SearchMove, Outcome>>& moves) const
{
    moves.clear();
    auto addFor = [&](SearchMove move, const Stone& stone) {
        const int sides[] = {1, -1};
        for (const int side : sides) {
            if (oneSide && side < 0) {
                continue;
            }
            const int end = side > 0 ? state.right : state.left;
            for (const Outcome& outcome : Outcomes(stone, end, end == kJoker, oneSide, side)) {
                move.side = side;
                move.turnOver = outcome.turnOver;
                moves.emplace_back(move, outcome);
            }
        }
    };
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (FaceUp(state, static_cast<int>(i))) {
            SearchMove move;
            move.kind = SearchMove::kFieldStone;
            move.index = static_cast<int>(i);
            addFor(move, field[i]);
        }
    }
    for (std::size_t p = 0; p < piles.size(); ++p) {
        if (state.pileHeights[p] > 0) {
            SearchMove move;
            move.kind = SearchMove::kPileStone;
            move.pile = static_cast<int>(p);
            addFor(move, piles[p][static_cast<std::size_t>(state.pileHeights[p] - 1)]);
        }
    }
}

uint64_t MoveSearch::Hash(const State& state) const
{
    uint64_t hash = 1469598103934665603ull;
    auto mix = [&hash](uint64_t value) {
        hash ^= value;
        hash *= 1099511628211ull;
    };
    for (const uint8_t alive : state.alive) {
        mix(alive);
    }
    for (const int height : state.pileHeights) {
        mix(static_cast<uint64_t>(height) + 7);
    }
    mix(static_cast<uint64_t>(state.left + 1000));
    mix(static_cast<uint64_t>(state.right + 2000));
    mix(state.opened);
    return hash;
}

int MoveSearch::Apply(State& state, const SearchMove& move, const Outcome& outcome) const
{
    const Stone& stone = StoneOf(move, state);
    int gain = 0;
    if (move.kind == SearchMove::kFieldStone) {
        state.alive[move.index] = 0;
        --state.fieldLeft;
        gain = 1;
        if (stone.keyNumber >= 0) {
            state.opened |= static_cast<uint8_t>(1u << stone.keyNumber);
        }
    } else {
        --state.pileHeights[move.pile];
    }
    (move.side > 0 ? state.right : state.left) = outcome.newEnd;
    return gain;
}

int MoveSearch::Search(State& state)
{
    if (++nodes > budget || state.fieldLeft == 0 || !visited.insert(Hash(state)).second) {
        return 0;
    }
    std::vector<std::pair<SearchMove, Outcome>> moves;
    CollectMoves(state, moves);
    int best = 0;
    for (const auto& [move, outcome] : moves) {
        const State saved = state;
        const int gain = Apply(state, move, outcome);
        best = std::max(best, gain + Search(state));
        state = saved;
        if (best >= state.fieldLeft || nodes > budget) {
            break;
        }
    }
    return best;
}

std::optional<SearchMove> MoveSearch::BestMove(int nodeBudget)
{
    std::vector<std::pair<SearchMove, Outcome>> moves;
    CollectMoves(start, moves);
    if (moves.empty()) {
        return std::nullopt;
    }
    // Every first move gets an equal share of the budget, so late candidates are not starved.
    const int share = std::max(1, nodeBudget / static_cast<int>(moves.size()));
    std::optional<SearchMove> best;
    for (auto [move, outcome] : moves) {
        State state = start;
        const int gain = Apply(state, move, outcome);
        nodes = 0;
        budget = share;
        visited.clear();
        move.fieldGain = gain + Search(state);
        const bool better =
            !best || move.fieldGain > best->fieldGain ||
            (move.fieldGain == best->fieldGain && move.kind == SearchMove::kFieldStone &&
             best->kind == SearchMove::kPileStone);
        if (better) {
            best = move;
        }
    }
    if (best) {
        best = OnBoard(*best);
    }
    return best;
}

SearchMove MoveSearch::OnBoard(SearchMove move) const
{
    if (move.kind == SearchMove::kFieldStone) {
        const auto [layer, index] = fieldIndex[static_cast<std::size_t>(move.index)];
        move.layer = layer;
        move.index = index;
    }
    return move;
}

std::vector<MoveSearch::Glance> MoveSearch::GlanceAtMoves() const
{
    std::vector<std::pair<SearchMove, Outcome>> moves;
    std::vector<std::pair<SearchMove, Outcome>> next;
    CollectMoves(start, moves);
    std::vector<Glance> glances;
    for (const auto& [move, outcome] : moves) {
        State state = start;
        Apply(state, move, outcome);
        Glance glance;
        glance.move = OnBoard(move);
        for (std::size_t i = 0; i < field.size(); ++i) {
            const int stone = static_cast<int>(i);
            glance.opened += !FaceUp(start, stone) && FaceUp(state, stone);
        }
        CollectMoves(state, next);
        for (const auto& followUp : next) {
            glance.fieldFollowUps += followUp.first.kind == SearchMove::kFieldStone;
        }
        glances.push_back(glance);
    }
    return glances;
}
