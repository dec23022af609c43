#include "game/LevelFile.h"

#include "resources/XMLParser.h"
#include "system/AtomicFile.h"

#include <algorithm>
#include <climits>
#include <cstdint>

int LevelData::StoneCount() const
{
    int count = 0;
    for (const auto& layer : layers) {
        count += static_cast<int>(layer.size());
    }
    return count;
}

namespace LevelFile {

namespace {

constexpr int kHighestPicture = 25;

std::vector<int> ParsePictureList(const std::string& text)
{
    std::vector<int> pictures;
    if (text.empty()) {
        return pictures;
    }
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = text.find(',', start);
        const int value = ParseInt(text.substr(start, comma - start));
        if (value >= 0 && value <= kHighestPicture &&
            static_cast<int>(pictures.size()) < kMaxPictures) {
            pictures.push_back(value);
        }
        if (comma == std::string::npos) {
            break;
        }
        start = comma + 1;
    }
    return pictures;
}

std::string Attribute(const Zorva::XMLNode& node, const std::string& name)
{
    const auto found = node.attributes.find(name);
    return found == node.attributes.end() ? std::string() : found->second;
}

void ReadLevelAttributes(const Zorva::XMLNode& node, LevelData& level)
{
    level.pictures = ParsePictureList(Attribute(node, "Typs"));
    level.shiftX = std::clamp(ParseInt(Attribute(node, "ShiftX")), -kMaxShift, kMaxShift);
    level.shiftY = std::clamp(ParseInt(Attribute(node, "ShiftY")), -kMaxShift, kMaxShift);
    level.background = Attribute(node, "Background");
    level.music = Attribute(node, "Music");
    level.cardsInDeck = Attribute(node, "CardsInDeck");
}

/// A lock or key digit; -1 unless it is 0, 1 or 2.
int MarkerNumber(const std::string& row, std::size_t column)
{
    if (column >= row.size()) {
        return -1;
    }
    const char digit = row[column];
    return digit >= '0' && digit <= '2' ? digit - '0' : -1;
}

std::string EscapeAttribute(const std::string& text)
{
    std::string escaped;
    for (const char c : text) {
        switch (c) {
        case '&':
            escaped += "&amp;";
            break;
        case '<':
            escaped += "&lt;";
            break;
        case '>':
            escaped += "&gt;";
            break;
        case '"':
            escaped += "&quot;";
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

std::string Marker(const LevelStone& stone)
{
    if (stone.joker) {
        return "JJ";
    }
    if (stone.lockNumber >= 0) {
        return "L" + std::to_string(stone.lockNumber);
    }
    if (stone.keyNumber >= 0) {
        return "K" + std::to_string(stone.keyNumber);
    }
    return "==";
}

std::string DescribeStone(int layer, const LevelStone& stone)
{
    return "the stone at (" + std::to_string(stone.x) + ", " + std::to_string(stone.y) +
           ") in layer " + std::to_string(layer);
}

} // namespace

int ParseInt(const std::string& text)
{
    std::size_t i = 0;
    while (i < text.size() &&
           (text[i] == ' ' || text[i] == '\t' || text[i] == '\n' || text[i] == '\r')) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = std::min<int64_t>(value * 10 + (text[i] - '0'), int64_t{INT_MAX} + 1);
    }
    if (negative) {
        value = -value;
    }
    return static_cast<int>(std::clamp<int64_t>(value, INT_MIN, INT_MAX));
}

void DecodeRow(const std::string& row, int rowIndex, int shiftX, int shiftY,
               std::vector<LevelStone>& stones, int stoneLimit, int& created)
{
    for (std::size_t j = row.size(); j-- > 0;) {
        if (row[j] != '[') {
            continue;
        }
        if (stoneLimit >= 0 && created >= stoneLimit) {
            return;
        }
        LevelStone stone;
        const int column = static_cast<int>(j);
        const char marker = j + 1 < row.size() ? row[j + 1] : '\0';
        if (marker == ']') {
            stone.orientation = 0;
            stone.x = 20 * column + 20 + shiftX;
            stone.y = 50 * rowIndex + 50 + shiftY;
        } else {
            stone.orientation = 3;
            stone.x = 20 * column + 40 + shiftX;
            stone.y = 25 * rowIndex + 25 + shiftY;
            if (marker == 'J') {
                stone.joker = true;
            } else if (marker == 'L') {
                stone.lockNumber = MarkerNumber(row, j + 2);
            } else if (marker == 'K') {
                stone.keyNumber = MarkerNumber(row, j + 2);
            }
        }
        stones.push_back(stone);
        ++created;
    }
}

std::optional<LevelData> Read(Zorva::XMLParser& parser, int stoneLimit, std::string* error)
{
    auto fail = [error](const std::string& message) -> std::optional<LevelData> {
        if (error) {
            *error = message;
        }
        return std::nullopt;
    };

    LevelData level;
    bool sawLevel = false;
    bool inRow = false;
    int rowIndex = 0;
    int created = 0;
    int stonesInFile = 0;
    int openElements = 0;
    Zorva::XMLNode node;
    while (parser.NextNode(node)) {
        if (node.type == Zorva::XMLNodeType::StartTag) {
            ++openElements;
        } else if (node.type == Zorva::XMLNodeType::EndTag) {
            --openElements;
        }
        if (node.type == Zorva::XMLNodeType::StartTag) {
            if (node.section.empty() && node.value == "Level") {
                sawLevel = true;
                ReadLevelAttributes(node, level);
            } else if (node.section == "Level/Layers" && node.value == "Layer") {
                if (static_cast<int>(level.layers.size()) >= kMaxLayers) {
                    return fail("too many layers (at most " + std::to_string(kMaxLayers) + ")");
                }
                level.layers.emplace_back();
                rowIndex = 0;
            } else if (node.section == "Level/Layers/Layer" && node.value == "l") {
                inRow = true;
            }
        } else if (node.type == Zorva::XMLNodeType::EndTag) {
            // A row counts once per element, so an empty <l></l> still takes its place.
            if (inRow && node.value == "l") {
                inRow = false;
                ++rowIndex;
            }
        } else if (node.type == Zorva::XMLNodeType::Text &&
                   node.section == "Level/Layers/Layer/l" && !level.layers.empty()) {
            stonesInFile += static_cast<int>(std::count(node.value.begin(), node.value.end(), '['));
            if (stonesInFile > kMaxStones) {
                return fail("too many stones (at most " + std::to_string(kMaxStones) + ")");
            }
            DecodeRow(node.value, rowIndex, level.shiftX, level.shiftY, level.layers.back(),
                      stoneLimit, created);
        }
    }
    if (parser.HasFailed()) {
        return fail(parser.GetErrorText() + " on line " +
                    std::to_string(parser.GetCurrentLineNum()));
    }
    if (!sawLevel) {
        return fail("no Level element");
    }
    // The reader accepts a document that simply stops; a level cut off like that is damaged.
    if (openElements > 0) {
        return fail("the file ends inside an element");
    }
    return level;
}

std::optional<LevelData> ReadFile(const std::string& path, int stoneLimit, std::string* error)
{
    Zorva::XMLParser parser;
    if (!parser.OpenFile(path)) {
        if (error) {
            *error = parser.GetErrorText();
        }
        return std::nullopt;
    }
    return Read(parser, stoneLimit, error);
}

std::optional<LevelData> ReadText(const std::string& text, int stoneLimit, std::string* error)
{
    Zorva::XMLParser parser;
    parser.OpenBuffer(text);
    return Read(parser, stoneLimit, error);
}

std::optional<std::string> Format(const LevelData& level, std::string* error)
{
    static const std::string kEmptyRow = ".,.,.,.,.,.,.,.,.,.,.,.,.,.,.,.,.,.,.,.,.,.,";
    std::string text = "<?xml version=\"1.0\"?>\n<Level";
    std::string pictures;
    for (std::size_t i = 0; i < level.pictures.size(); ++i) {
        pictures += (i ? "," : "") + std::to_string(level.pictures[i]);
    }
    const std::pair<const char*, std::string> attributes[] = {
        {"Typs", pictures},
        {"ShiftX", std::to_string(level.shiftX)},
        {"ShiftY", std::to_string(level.shiftY)},
        {"Background", level.background},
        {"Music", level.music},
        {"CardsInDeck", level.cardsInDeck},
    };
    for (const auto& [name, value] : attributes) {
        text += std::string(" ") + name + "=\"" + EscapeAttribute(value) + "\"";
    }
    text += ">\n\t<Layers>\n";
    for (std::size_t layerIndex = 0; layerIndex < level.layers.size(); ++layerIndex) {
        std::vector<std::string> rows(kRows, kEmptyRow);
        std::vector<std::vector<const LevelStone*>> owners(
            kRows, std::vector<const LevelStone*>(kColumns, nullptr));
        for (const LevelStone& stone : level.layers[layerIndex]) {
            // The inverse of the reading formula for lying stones, so rows and centres
            // come back as they were.
            const int dx = stone.x - level.shiftX - 40;
            const int dy = stone.y - level.shiftY - 25;
            const int column = dx >= 0 ? dx / kColumnWidth : -1;
            const int row = dy >= 0 ? dy / kRowHeight : -1;
            if (row < 0 || row >= kRows || column < 0 || column + 4 > kColumns) {
                if (error) {
                    *error = DescribeStone(static_cast<int>(layerIndex), stone) +
                             " lies outside the grid of 20 rows and 44 columns";
                }
                return std::nullopt;
            }
            for (int c = column; c < column + 4; ++c) {
                if (const LevelStone* other = owners[row][c]) {
                    if (error) {
                        *error = DescribeStone(static_cast<int>(layerIndex), stone) + " overlaps " +
                                 DescribeStone(static_cast<int>(layerIndex), *other) +
                                 " in its row";
                    }
                    return std::nullopt;
                }
                owners[row][c] = &stone;
            }
            rows[row].replace(static_cast<std::size_t>(column), 4, "[" + Marker(stone) + "]");
        }
        text += "\t\t<Layer>\n";
        for (const std::string& row : rows) {
            text += "\t\t\t<l>" + row + "</l>\n";
        }
        text += "\t\t</Layer>\n";
    }
    text += "\t</Layers>\n</Level>\n";
    return text;
}

bool WriteFile(const std::string& path, const LevelData& level, std::string* error)
{
    const std::optional<std::string> text = Format(level, error);
    if (!text) {
        return false;
    }
    return Zorva::WriteFileAtomically(path, *text, error);
}

} // namespace LevelFile
