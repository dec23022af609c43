#pragma once

#include "game/GameMode.h"
#include "game/screens/HighscoresFile.h"

#include <memory>
#include <string>
#include <vector>

struct Player;

/// What the main menu, its dialogs and the in-game menu ask of the application: the players
/// and their files, the games of both modes, the highscores, and the screens they open.
/// Every change to the players is written to the players file before the call returns.
class MenuHost
{
public:
    virtual ~MenuHost() = default;

    // Players
    virtual const std::vector<std::unique_ptr<Player>>& Players() const = 0;
    /// The index of the current player; -1 for none.
    virtual int CurrentPlayerIndex() const = 0;
    /// Makes the player at `index` current; an index outside the list changes nothing.
    virtual void SelectPlayer(int index) = 0;
    /// Appends a player with default values; false (nothing added) when the list is full or
    /// the name is not usable or taken.
    virtual bool AddPlayer(const std::string& name) = 0;
    /// Renames the player at `index` and moves its saved games to the new name; false
    /// (nothing changed) when the name is not usable or taken or a saved game could not be
    /// moved.
    virtual bool RenamePlayer(int index, const std::string& newName) = 0;
    /// Deletes the player at `index` with its saved games; the current index follows.
    virtual void DeletePlayer(int index) = 0;
    /// The text last confirmed in a name-entry dialog; empty after a cancel.
    virtual std::string& EnteredName() = 0;

    // Games
    /// The mode of the play field.
    virtual GameMode Mode() const = 0;
    /// Switches the play field to `mode`, which reloads the level set only on a change.
    virtual void SetMode(GameMode mode) = 0;
    virtual bool SavedGameExists(GameMode mode) = 0;
    /// Clears the record of a level completed in this game (a fresh game begins).
    virtual void ClearLevelCompleted() = 0;
    /// Enters the game screen and starts the current player's level of the field's mode.
    virtual void EnterGameAndStartLevel() = 0;
    /// "Continue": enters the game with the saved game of the field's mode, or shows where
    /// the player stands when there is no usable one.
    virtual void ContinueGame() = 0;
    /// "New Game": the mode's saved game is deleted and its progress starts at level 1.
    virtual void StartNewGame() = 0;
    virtual const HighscoreTable& Highscores(GameMode mode) const = 0;

    // Screens
    virtual void OpenContinueDialog() = 0;
    virtual void OpenChangePlayerDialog() = 0;
    /// The highscores window; `highlightRow` marks the new row of the field's mode, -1 none.
    virtual void OpenHighscores(int highlightRow) = 0;
    virtual void OpenHowToPlay() = 0;
    /// The options dialog, over whatever is shown.
    virtual void OpenOptions() = 0;
    /// Leaves the game for the main menu after the player confirmed it, saving the game or
    /// deleting its saved file.
    virtual void ExitToMainMenu(bool save) = 0;
    /// Closes the in-game menu's way back: the board panel takes the focus again.
    virtual void ResumeGame() = 0;
    virtual void RestartLevel() = 0;
    virtual void RequestExit() = 0;
};
