#pragma once

#include "game/GameMode.h"

class LevelPreviewStore;
struct Player;

/// What the level map asks of the application.
class MapHost
{
public:
    virtual ~MapHost() = default;

    virtual Player* CurrentPlayer() = 0;
    /// The mode of the play field.
    virtual GameMode Mode() const = 0;
    /// The map points and level thumbnails.
    virtual LevelPreviewStore& Previews() = 0;
    /// The player's level lies beyond the mode's last level: the set is complete.
    virtual void GameCompleted() = 0;
    /// "Play": leaves the map for the board and starts the player's level of the mode.
    virtual void PlayLevelFromMap() = 0;
    /// "Main Menu": leaves for the main menu after the confirmation, saving the game or
    /// deleting the mode's saved game.
    virtual void ExitToMainMenu(bool save) = 0;
};
