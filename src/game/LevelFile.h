#pragma once

#include <optional>
#include <string>
#include <vector>

namespace Zorva {
class XMLParser;
}

/// One stone as a level file places it.
struct LevelStone
{
    int x = 0;
    int y = 0;
    /// 0 upright, 3 lying.
    int orientation = 3;
    bool joker = false;
    int lockNumber = -1;
    int keyNumber = -1;
};

/// The contents of a level file: attributes and the stones of each layer, bottom first, each
/// layer in creation order (rows top first, each row right to left).
struct LevelData
{
    /// Picture values 0..25, at most kMaxPictures of them.
    std::vector<int> pictures;
    int shiftX = 0;
    int shiftY = 0;
    /// Raw attribute values; an empty one keeps what the field had.
    std::string background;
    std::string music;
    std::string cardsInDeck;
    std::vector<std::vector<LevelStone>> layers;

    int StoneCount() const;
};

namespace LevelFile {

inline constexpr int kMaxPictures = 30;
inline constexpr int kMaxStones = 1000;
inline constexpr int kMaxLayers = 64;
inline constexpr int kMaxShift = 100000;
inline constexpr int kRows = 20;
inline constexpr int kColumns = 44;
inline constexpr int kColumnWidth = 20;
inline constexpr int kRowHeight = 25;

/// Reads a level from an opened parser. `stoneLimit` -1 creates every stone, otherwise only
/// the first `stoneLimit`. Null with `error` set when the document is malformed or too large.
std::optional<LevelData> Read(Zorva::XMLParser& parser, int stoneLimit, std::string* error);
std::optional<LevelData> ReadFile(const std::string& path, int stoneLimit, std::string* error);
std::optional<LevelData> ReadText(const std::string& text, int stoneLimit, std::string* error);

/// Decodes one row string into `stones`, scanning from its last character to its first.
void DecodeRow(const std::string& row, int rowIndex, int shiftX, int shiftY,
               std::vector<LevelStone>& stones, int stoneLimit, int& created);

/// The file text the editor writes: every stone lying, in a 20 x 44 grid per layer. Null with
/// `error` naming the stone when one lies outside the grid or overlaps another in its row.
std::optional<std::string> Format(const LevelData& level, std::string* error);

/// Writes the level atomically; on failure the old file is left as it was.
bool WriteFile(const std::string& path, const LevelData& level, std::string* error);

/// Integer conversion of an attribute: optional blanks and sign, then digits; stops at the
/// first other character; saturates at the int range; 0 when there are no digits.
int ParseInt(const std::string& text);

} // namespace LevelFile
