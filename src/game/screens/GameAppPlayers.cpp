// The players and the highscores of the game application: their files, and adding,
// renaming, deleting and selecting players.

#include "game/ResourceHandles.h"
#include "game/SavedGame.h"
#include "game/screens/DialogWithEdit.h"
#include "game/screens/GameApp.h"
#include "game/screens/PlayersFile.h"
#include "graphics/Image.h"
#include "resources/Buffer.h"

#include <algorithm>

namespace {

constexpr const char* kPlayersFile = "players.dat";
constexpr const char* kSetAsidePlayersFile = "players.dat.bad";
constexpr const char* kHighscoresFile = "highscores.dat";
constexpr GameMode kSavedModes[] = {GameMode::OneSide, GameMode::TwoSide};

Zorva::Buffer BufferOf(const std::string& bytes)
{
    Zorva::Buffer buffer;
    buffer.PutBytes(bytes.data(), bytes.size());
    return buffer;
}

} // namespace

void GameApp::LoadPlayers()
{
    players.clear();
    currentPlayer = -1;
    playersFileUnusable = false;
    if (!UserFileExists(kPlayersFile)) {
        return;
    }
    Zorva::Buffer buffer;
    std::optional<PlayersData> data;
    if (ReadUserFile(kPlayersFile, buffer, PlayersFile::kMaxFileBytes)) {
        data = PlayersFile::Decode(buffer.DataPointer(),
                                   static_cast<std::size_t>(buffer.DataLength()));
    }
    if (!data) {
        OutputDebug("The players file cannot be used; it is kept as players.dat.bad\n");
        playersFileUnusable = true;
        return;
    }
    players = std::move(data->players);
    currentPlayer = data->currentPlayer;
}

void GameApp::SavePlayers()
{
    if (playersFileUnusable) {
        // A file that could not be read is never overwritten: it may still be mended.
        if (UserFileExists(kPlayersFile) && !RenameUserFile(kPlayersFile, kSetAsidePlayersFile)) {
            return;
        }
        playersFileUnusable = false;
    }
    PlayersData data;
    data.currentPlayer = currentPlayer;
    for (const auto& player : players) {
        data.players.push_back(std::make_unique<Player>(*player));
    }
    WriteUserFile(kPlayersFile, BufferOf(PlayersFile::Encode(data)));
}

void GameApp::LoadHighscores()
{
    oneSideScores = HighscoresFile::DefaultTable();
    twoSideScores = HighscoresFile::DefaultTable();
    Zorva::Buffer buffer;
    if (ReadUserFile(kHighscoresFile, buffer, HighscoresFile::kMaxFileBytes)) {
        HighscoresFile::Decode(buffer.DataPointer(), static_cast<std::size_t>(buffer.DataLength()),
                               oneSideScores, twoSideScores);
    }
}

bool GameApp::SaveHighscores()
{
    return WriteUserFile(kHighscoresFile,
                         BufferOf(HighscoresFile::Encode(oneSideScores, twoSideScores)));
}

const HighscoreTable& GameApp::Highscores(GameMode mode) const
{
    return mode == GameMode::TwoSide ? twoSideScores : oneSideScores;
}

void GameApp::SelectPlayer(int index)
{
    if (index < 0 || index >= static_cast<int>(players.size())) {
        return;
    }
    currentPlayer = index;
    SavePlayers();
}

bool GameApp::AddPlayer(const std::string& name)
{
    const bool taken = std::any_of(players.begin(), players.end(),
                                   [&](const auto& player) { return player->name == name; });
    if (taken || players.size() >= PlayersFile::kMaxPlayers || !PlayersFile::IsValidName(name)) {
        return false;
    }
    auto player = std::make_unique<Player>();
    player->name = name;
    players.push_back(std::move(player));
    SavePlayers();
    return true;
}

bool GameApp::RenamePlayer(int index, const std::string& newName)
{
    const bool taken = std::any_of(players.begin(), players.end(),
                                   [&](const auto& player) { return player->name == newName; });
    if (index < 0 || index >= static_cast<int>(players.size()) || taken ||
        !PlayersFile::IsValidName(newName)) {
        return false;
    }
    Player& player = *players[static_cast<std::size_t>(index)];
    // Both saved games are copied before either old file goes, so a failed copy changes
    // nothing.
    std::vector<GameMode> copied;
    for (const GameMode mode : kSavedModes) {
        const std::string oldFile = SavedGame::FileName(player.name, mode);
        Zorva::Buffer bytes;
        if (!UserFileExists(oldFile) ||
            !ReadUserFile(oldFile, bytes, SavedGame::kMaxFileBytes + 1)) {
            continue;
        }
        if (!WriteUserFile(SavedGame::FileName(newName, mode), bytes)) {
            for (const GameMode done : copied) {
                DeleteUserFile(SavedGame::FileName(newName, done));
            }
            return false;
        }
        copied.push_back(mode);
    }
    for (const GameMode mode : copied) {
        DeleteUserFile(SavedGame::FileName(player.name, mode));
    }
    player.name = newName;
    SavePlayers();
    return true;
}

void GameApp::DeletePlayer(int index)
{
    if (index < 0 || index >= static_cast<int>(players.size())) {
        return;
    }
    for (const GameMode mode : kSavedModes) {
        DeleteUserFile(SavedGame::FileName(players[static_cast<std::size_t>(index)]->name, mode));
    }
    players.erase(players.begin() + index);
    if (index <= currentPlayer) {
        --currentPlayer;
    }
    SavePlayers();
}

void GameApp::EnsureCurrentPlayer()
{
    if (!players.empty()) {
        if (currentPlayer < 0) {
            currentPlayer = 0;
            SavePlayers();
        }
        return;
    }
    const int dialogWidth = IMAGE_W_SMALL ? IMAGE_W_SMALL->GetWidth() : 400;
    const int dialogHeight = IMAGE_W_SMALL ? IMAGE_W_SMALL->GetHeight() : 160;
    const int result = DialogWithEdit::Ask(
        *this, *this, "New Player", "Name", "New Player",
        Zorva::Rect(400 - dialogWidth / 2, 120, dialogWidth, dialogHeight), false);
    if (result == DialogWithEdit::kConfirmed && AddPlayer(enteredName)) {
        SelectPlayer(static_cast<int>(players.size()) - 1);
    }
}

void GameApp::ApplyLaunch()
{
    if (players.empty()) {
        AddPlayer("Player");
    }
    if (currentPlayer < 0) {
        SelectPlayer(0);
    }
    Player* player = CurrentPlayer();
    if (!player) {
        return;
    }
    if (launch->level > 0) {
        (launch->mode == GameMode::OneSide ? player->oneSideLevel : player->twoSideLevel) =
            launch->level;
    }
    SetMode(launch->mode);
    EnterGameAndStartLevel();
}
