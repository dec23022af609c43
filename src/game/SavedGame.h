#pragma once

#include "game/GameMode.h"

#include <cstddef>
#include <cstdint>
#include <string>

class BoardModel;

/// A game left for the main menu and continued later: the stones of every layer, the two
/// ends of the play line, the deck and its piles, score, reshuffles and redeals.
namespace SavedGame {

/// Larger files are not read.
inline constexpr std::size_t kMaxFileBytes = 1024 * 1024;

/// "saves/" + name + "1.sav" for One-Side, "saves/" + name + "2.sav" for Two-Side, relative
/// to the user folder, with the name in UTF-8.
std::string FileName(const std::string& playerName, GameMode mode);

/// The bytes of the game in progress. Stones still moving are stored where they were going and
/// the play-line ends as they lie once a running turn has ended, so the file holds the layout
/// the player would have seen; the board itself is left as it is.
std::string Save(BoardModel& model);

enum class LoadResult
{
    Loaded,
    /// Damaged, of a foreign layout, or holding values no game can have: the field is left
    /// empty.
    Unreadable,
    /// A readable save of another level than `expectedLevelFile`: the field is left empty.
    OtherLevel,
};

/// Clears the field, then loads the game of `bytes` into it. `expectedLevelFile` is the
/// level file the player record stands at, as stored ("Levels1/Level7.xml": no data prefix);
/// empty accepts any level of the mode stored.
LoadResult Load(const uint8_t* bytes, std::size_t size, BoardModel& model,
                const std::string& expectedLevelFile);

} // namespace SavedGame
