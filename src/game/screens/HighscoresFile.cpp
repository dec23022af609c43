#include "game/screens/HighscoresFile.h"

#include "resources/Buffer.h"
#include "resources/FileRecordReader.h"
#include "system/AtomicFile.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace HighscoresFile {

HighscoreTable DefaultTable()
{
    return {{"Zeus", 100000},  {"Aphrodite", 50000}, {"Poseidon", 25000}, {"Apollo", 20000},
            {"Anteus", 10000}, {"Hermes", 5000},     {"Demeter", 4000},   {"Dionisus", 3000},
            {"Artemis", 2000}, {"Ares", 1000}};
}

void Decode(const uint8_t* bytes, std::size_t size, HighscoreTable& oneSide,
            HighscoreTable& twoSide)
{
    FileRecordReader reader(bytes, std::min(size, kMaxFileBytes));
    oneSide.clear();
    twoSide.clear();
    while (oneSide.size() < kRows && !reader.AtEnd()) {
        HighscoreEntry one;
        HighscoreEntry two;
        if (!reader.String(one.name) || !reader.String(two.name) || !reader.Int32(one.score) ||
            !reader.Int32(two.score)) {
            break;
        }
        oneSide.push_back(std::move(one));
        twoSide.push_back(std::move(two));
    }
    const HighscoreTable defaults = DefaultTable();
    for (std::size_t row = oneSide.size(); row < kRows; ++row) {
        oneSide.push_back(defaults[row]);
        twoSide.push_back(defaults[row]);
    }
}

std::string Encode(const HighscoreTable& oneSide, const HighscoreTable& twoSide)
{
    const HighscoreTable defaults = DefaultTable();
    const auto rowOf = [&defaults](const HighscoreTable& table, std::size_t row) {
        return row < table.size() ? table[row] : defaults[row];
    };
    Zorva::Buffer buffer;
    for (std::size_t row = 0; row < kRows; ++row) {
        const HighscoreEntry one = rowOf(oneSide, row);
        const HighscoreEntry two = rowOf(twoSide, row);
        buffer.PutString(one.name);
        buffer.PutString(two.name);
        buffer.PutInt32(one.score);
        buffer.PutInt32(two.score);
    }
    return std::string(reinterpret_cast<const char*>(buffer.DataPointer()),
                       static_cast<std::size_t>(buffer.DataLength()));
}

bool Read(const std::string& path, HighscoreTable& oneSide, HighscoreTable& twoSide)
{
    std::error_code error;
    if (!std::filesystem::exists(path, error)) {
        return false;
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return false;
    }
    std::string bytes(kMaxFileBytes, '\0');
    file.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(file.gcount()));
    Decode(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), oneSide, twoSide);
    return true;
}

bool Write(const std::string& path, const HighscoreTable& oneSide, const HighscoreTable& twoSide)
{
    return Zorva::WriteFileAtomically(path, Encode(oneSide, twoSide));
}

bool Qualifies(const HighscoreTable& table, int32_t score)
{
    return table.empty() || score >= table.back().score;
}

std::optional<std::size_t> Insert(HighscoreTable& table, const std::string& name, int32_t score)
{
    if (!Qualifies(table, score)) {
        return std::nullopt;
    }
    std::size_t index = 0;
    for (std::size_t i = table.size(); i-- > 0;) {
        if (table[i].score > score) {
            index = i + 1;
            break;
        }
    }
    table.insert(table.begin() + static_cast<std::ptrdiff_t>(index), HighscoreEntry{name, score});
    if (table.size() > kRows) {
        table.pop_back();
    }
    return index;
}

} // namespace HighscoresFile
