#include "game/SavedGame.h"

#include "game/BoardModel.h"

namespace SavedGame {

std::string FileName(const std::string& playerName, GameMode mode)
{
    return "saves/" + playerName + (mode == GameMode::OneSide ? "1.sav" : "2.sav");
}

std::string Save(BoardModel&)
{
    return {};
}

LoadResult Load(const uint8_t*, std::size_t, BoardModel&, const std::string&)
{
    return LoadResult::Unreadable;
}

} // namespace SavedGame
