#pragma once

#include "game/GameMode.h"

#include <string>

struct Player;

/// Everything the play field needs from the game application: sounds, music, dialogs, the
/// hint window, the panel's button states, the player record and the nested loop. The game
/// application implements it; HeadlessHost implements it without any window or device.
class PlayFieldHost
{
public:
    virtual ~PlayFieldHost() = default;

    virtual void PlaySound(int soundId) = 0;
    /// Fades every song out and the given level track in (both at speed 0.002).
    virtual void FadeToSong(int track) = 0;

    /// Shows the hint window pointing at (x, y) with the text.
    virtual void ShowHint(int x, int y, const std::string& text) = 0;
    virtual void HideHint() = 0;
    virtual void ShowLevelCompleteDialog(const std::string& title, const std::string& text,
                                         const std::string& buttonLabel) = 0;
    virtual void ShowGameOverDialog() = 0;
    virtual void ShowHowToPlayDialog(GameMode mode) = 0;

    /// Runs the application until its next update; false when it cannot (shutting down).
    virtual bool RunUntilUpdate() = 0;
    /// The application's update counter (animations step on every fourth update).
    virtual int UpdateCount() const = 0;

    /// The current player's record, or null when there is none.
    virtual Player* CurrentPlayer() = 0;
    virtual void SavePlayers() = 0;
    virtual void SetLevelCompletedThisGame() = 0;

    virtual void SetUndoEnabled(bool enabled) = 0;
    virtual void SetReshuffleButton(const std::string& label, bool enabled) = 0;

    /// The level names a new background; the path is "images/" + name.
    virtual void ChangeBackground(const std::string& imagePath) = 0;
    /// The background cache (background, stone borders, panels) must be drawn anew.
    virtual void RebuildBackgroundCache() = 0;
    /// One line of the level statistics log (written only while the debug keys are on).
    virtual void AppendStatistics(const std::string& line) = 0;
    /// A level has been dealt and play begins.
    virtual void OnLevelStarted(GameMode /*mode*/, int /*level*/) {}
};
