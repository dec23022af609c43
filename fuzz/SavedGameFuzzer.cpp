// Loads arbitrary bytes as a saved game into a board of the shipped level sets, runs it for a
// few updates and saves it; a game that loaded must load again from its own save and save to
// the same bytes. A file that did not load must leave the board empty.

#include "game/BoardModel.h"
#include "game/HeadlessHost.h"
#include "game/SavedGame.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

/// A board over the committed level sets whose nested loops tick it.
struct FuzzBoard
{
    FuzzBoard()
    {
        host.player.name = "Fuzz";
        host.player.showHowToPlay = false;
        board.dataPrefix = QUARROW_LEVELS_DIR;
        host.onUpdate = [this] { board.Tick(); };
    }

    bool Empty() const
    {
        return board.field.layers.empty() && board.line.Count() == 0 && board.deck.stones.empty() &&
               board.deck.piles.empty();
    }

    HeadlessHost host;
    BoardModel board{host};
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzBoard first;
    if (SavedGame::Load(data, size, first.board, "") != SavedGame::LoadResult::Loaded) {
        if (!first.Empty()) {
            std::abort();
        }
        return 0;
    }
    for (int i = 0; i < 3; ++i) {
        first.host.Step();
    }
    const std::string saved = SavedGame::Save(first.board);
    FuzzBoard second;
    if (SavedGame::Load(reinterpret_cast<const uint8_t*>(saved.data()), saved.size(), second.board,
                        "") != SavedGame::LoadResult::Loaded ||
        SavedGame::Save(second.board) != saved) {
        std::abort();
    }
    return 0;
}
