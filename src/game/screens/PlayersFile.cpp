#include "game/screens/PlayersFile.h"

#include "resources/Buffer.h"
#include "resources/FileRecordReader.h"
#include "system/AtomicFile.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>

namespace PlayersFile {

namespace {

bool ReadRecord(FileRecordReader& reader, Player& player)
{
    return reader.String(player.name) && reader.Int32(player.twoSideLevel) &&
           reader.Int32(player.reserved1) && reader.Int32(player.reshuffles) &&
           reader.Int32(player.twoSideScore) && reader.Int32(player.oneSideLevel) &&
           reader.Int32(player.reserved2) && reader.Int32(player.oneSideScore) &&
           reader.Bool(player.deckHintShown) && reader.Bool(player.showHowToPlay) &&
           reader.Int32(player.pileCount) && reader.Bool(player.showPreview) &&
           reader.Bool(player.jokerHintShown);
}

void BringIntoRange(Player& player)
{
    player.oneSideLevel = std::clamp(player.oneSideLevel, 1, kOneSideLevelLimit);
    player.twoSideLevel = std::clamp(player.twoSideLevel, 1, kTwoSideLevelLimit);
    if (player.pileCount < 1 || player.pileCount > 4) {
        player.pileCount = 2;
    }
    player.reshuffles = std::max(player.reshuffles, 0);
}

bool NameTaken(const PlayersData& data, const std::string& name)
{
    return std::any_of(data.players.begin(), data.players.end(),
                       [&name](const auto& player) { return player->name == name; });
}

} // namespace

bool IsValidName(const std::string& name)
{
    if (name.empty() || name.size() > kMaxNameLength) {
        return false;
    }
    return std::none_of(name.begin(), name.end(), [](char c) {
        const auto code = static_cast<unsigned char>(c);
        return code < 32 || code == 127 || c == '/' || c == '\\';
    });
}

std::optional<PlayersData> Decode(const uint8_t* bytes, std::size_t size)
{
    FileRecordReader reader(bytes, std::min(size, kMaxFileBytes));
    int32_t mark = 0;
    PlayersData data;
    if (!reader.Int32(mark) || mark != kFormatMark || !reader.Int32(data.currentPlayer)) {
        return std::nullopt;
    }
    bool recordsFollow = false;
    bool anyComplete = false;
    while (!reader.AtEnd()) {
        recordsFollow = true;
        auto player = std::make_unique<Player>();
        if (!ReadRecord(reader, *player)) {
            break;
        }
        anyComplete = true;
        if (!IsValidName(player->name) || NameTaken(data, player->name) ||
            data.players.size() >= kMaxPlayers) {
            continue;
        }
        BringIntoRange(*player);
        data.players.push_back(std::move(player));
    }
    if (recordsFollow && !anyComplete) {
        return std::nullopt;
    }
    if (data.currentPlayer < 0 || data.currentPlayer >= static_cast<int32_t>(data.players.size())) {
        data.currentPlayer = -1;
    }
    return data;
}

std::string Encode(const PlayersData& data)
{
    Zorva::Buffer buffer;
    buffer.PutInt32(kFormatMark);
    buffer.PutInt32(data.currentPlayer);
    for (const auto& player : data.players) {
        buffer.PutString(player->name);
        buffer.PutInt32(player->twoSideLevel);
        buffer.PutInt32(player->reserved1);
        buffer.PutInt32(player->reshuffles);
        buffer.PutInt32(player->twoSideScore);
        buffer.PutInt32(player->oneSideLevel);
        buffer.PutInt32(player->reserved2);
        buffer.PutInt32(player->oneSideScore);
        buffer.PutBool(player->deckHintShown);
        buffer.PutBool(player->showHowToPlay);
        buffer.PutInt32(player->pileCount);
        buffer.PutBool(player->showPreview);
        buffer.PutBool(player->jokerHintShown);
    }
    const uint8_t* bytes = buffer.DataPointer();
    return bytes ? std::string(reinterpret_cast<const char*>(bytes),
                               static_cast<std::size_t>(buffer.DataLength()))
                 : std::string();
}

ReadResult Read(const std::string& path, PlayersData& data)
{
    data = PlayersData{};
    std::error_code error;
    if (!std::filesystem::exists(path, error)) {
        return ReadResult::Missing;
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return ReadResult::Unusable;
    }
    std::string bytes;
    bytes.resize(kMaxFileBytes);
    file.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(file.gcount()));
    std::optional<PlayersData> decoded =
        Decode(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    if (!decoded) {
        return ReadResult::Unusable;
    }
    data = std::move(*decoded);
    return ReadResult::Loaded;
}

bool Write(const std::string& path, const PlayersData& data)
{
    return Zorva::WriteFileAtomically(path, Encode(data));
}

bool SetAside(const std::string& path)
{
    const std::string aside = path + ".bad";
    return std::rename(path.c_str(), aside.c_str()) == 0;
}

} // namespace PlayersFile
