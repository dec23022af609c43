#pragma once

#include "game/Player.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

/// The players list as it is stored: the players in the order they were created and the
/// index of the current one (-1 for none).
struct PlayersData
{
    std::vector<std::unique_ptr<Player>> players;
    int32_t currentPlayer = -1;
};

/// The players file: a format mark, the current player's index, then one record per player.
/// Reading checks every value, so a damaged or hand-made file never yields a player the game
/// could not use; writing replaces the file atomically.
namespace PlayersFile {

inline constexpr int32_t kFormatMark = 1000;
inline constexpr std::size_t kMaxPlayers = 9;
inline constexpr std::size_t kMaxNameLength = 12;
/// More than nine records ever need; a longer file is read only this far.
inline constexpr std::size_t kMaxFileBytes = 64 * 1024;
inline constexpr int32_t kOneSideLevelLimit = 61;
inline constexpr int32_t kTwoSideLevelLimit = 51;

/// Whether a name can be a player's: 1 to 12 characters, none of them a control character,
/// "/" or "\\" (names become parts of file paths).
bool IsValidName(const std::string& name);

/// The players of the bytes of a players file. None when the format mark is wrong, the header
/// is cut short, or records follow the header but not one of them is complete. Records cut
/// short, with an unusable or repeated name, or beyond the ninth are dropped; levels, pile
/// counts and reshuffles are brought into range; a current index outside the list is -1.
std::optional<PlayersData> Decode(const uint8_t* bytes, std::size_t size);
/// The bytes of a players file holding `data`.
std::string Encode(const PlayersData& data);

/// What reading the file found.
enum class ReadResult
{
    Loaded,
    Missing,
    /// The file exists but cannot be used; the game starts without players.
    Unusable,
};

/// Reads the file at `path` into `data` (emptied first).
ReadResult Read(const std::string& path, PlayersData& data);
/// Writes `data` to `path` atomically; false (with the old file kept) when that failed.
bool Write(const std::string& path, const PlayersData& data);
/// Moves an unusable players file aside to `path` + ".bad", so nothing of it is lost.
bool SetAside(const std::string& path);

} // namespace PlayersFile
