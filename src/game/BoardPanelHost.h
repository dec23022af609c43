#pragma once

/// What the board panel needs from the game application beyond the play field's host.
class BoardPanelHost
{
public:
    virtual ~BoardPanelHost() = default;

    /// Opens the in-game menu over the game (Escape and the menu button).
    virtual void OpenInGameMenu() = 0;
    /// Leaves the board for the level map (which ends the set after its last level).
    virtual void ShowLevelMap() = 0;
    /// The developer keys are switched on.
    virtual bool DebugKeysEnabled() const = 0;
    /// Asks for a file name and writes the edited level into the user folder under it.
    virtual void AskToSaveLevel() {}
};
