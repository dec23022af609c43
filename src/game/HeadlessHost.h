#pragma once

#include "game/PlayFieldHost.h"
#include "game/Player.h"

#include <functional>
#include <string>
#include <vector>

/// A host without window, sound or music: it keeps one player, records what the play field
/// asks for, and runs the nested loop by calling `onUpdate` once per update. The automatic
/// player and the tests use it.
class HeadlessHost : public PlayFieldHost
{
public:
    struct HintShown
    {
        int x;
        int y;
        std::string text;
    };

    void PlaySound(int soundId) override { sounds.push_back(soundId); }
    void FadeToSong(int track) override { songs.push_back(track); }
    void ShowHint(int x, int y, const std::string& text) override;
    void HideHint() override { hintVisible = false; }
    void ShowLevelCompleteDialog(const std::string& title, const std::string& text,
                                 const std::string& buttonLabel) override;
    void ShowGameOverDialog() override { dialogs.push_back("game over"); }
    void ShowHowToPlayDialog(GameMode mode) override;
    bool RunUntilUpdate() override;
    int UpdateCount() const override { return updateCount; }
    Player* CurrentPlayer() override { return hasPlayer ? &player : nullptr; }
    void SavePlayers() override { ++playerSaves; }
    void SetLevelCompletedThisGame() override { levelCompletedThisGame = true; }
    void SetUndoEnabled(bool enabled) override { undoEnabled = enabled; }
    void SetReshuffleButton(const std::string& label, bool enabled) override;
    void ChangeBackground(const std::string& imagePath) override { background = imagePath; }
    void RebuildBackgroundCache() override { ++backgroundRebuilds; }
    void AppendStatistics(const std::string& line) override { statistics.push_back(line); }

    /// One application update: the counter advances and `onUpdate` runs.
    void Step();
    /// How many sounds with this id were played.
    int SoundCount(int soundId) const;

    Player player;
    bool hasPlayer = true;
    /// What RunUntilUpdate answers; false stops the nested loops at once.
    bool runNestedLoops = true;
    std::function<void()> onUpdate;
    int updateCount = 0;

    std::vector<int> sounds;
    std::vector<int> songs;
    std::vector<HintShown> hints;
    bool hintVisible = false;
    std::vector<std::string> dialogs;
    int playerSaves = 0;
    bool levelCompletedThisGame = false;
    bool undoEnabled = false;
    std::string reshuffleLabel;
    bool reshuffleEnabled = false;
    std::string background;
    int backgroundRebuilds = 0;
    std::vector<std::string> statistics;
};
