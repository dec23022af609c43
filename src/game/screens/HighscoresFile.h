#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

/// One row of a highscore table.
struct HighscoreEntry
{
    std::string name;
    int32_t score = 0;

    bool operator==(const HighscoreEntry&) const = default;
};

/// Ten rows, best first.
using HighscoreTable = std::vector<HighscoreEntry>;

/// The two highscore tables (One-Side and Two-Side) and their file: ten rows, each holding
/// both tables' names, then both tables' scores.
namespace HighscoresFile {

inline constexpr std::size_t kRows = 10;
inline constexpr std::size_t kMaxFileBytes = 16 * 1024;

/// The table a new game starts from.
HighscoreTable DefaultTable();

/// Both tables from the bytes of a highscores file: the first ten complete rows, a row cut
/// short dropped, missing rows taken from the defaults.
void Decode(const uint8_t* bytes, std::size_t size, HighscoreTable& oneSide,
            HighscoreTable& twoSide);
std::string Encode(const HighscoreTable& oneSide, const HighscoreTable& twoSide);

/// Replaces both tables from the file; false (tables unchanged) when it is missing or
/// cannot be read.
bool Read(const std::string& path, HighscoreTable& oneSide, HighscoreTable& twoSide);
/// Writes both tables atomically; false (old file kept) when that failed.
bool Write(const std::string& path, const HighscoreTable& oneSide, const HighscoreTable& twoSide);

/// Whether a score earns a row: it is at least the last row's.
bool Qualifies(const HighscoreTable& table, int32_t score);
/// Puts (name, score) into the table above every row it does not beat by less (a newer
/// equal score goes above the older one) and drops the last row; the new row's index, or
/// none when the score does not qualify.
std::optional<std::size_t> Insert(HighscoreTable& table, const std::string& name, int32_t score);

} // namespace HighscoresFile
