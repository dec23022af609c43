#pragma once

/// The application an automatic player plays in: it runs the updates between the player's
/// actions and tells when the level has ended.
class AutoPlayerHost
{
public:
    enum class LevelEnd
    {
        None,
        Won,
        /// The game-over window is up.
        GameOver,
    };

    virtual ~AutoPlayerHost() = default;

    /// Runs the application until its next update has been made.
    virtual void RunOneUpdate() = 0;
    virtual int UpdatesRun() const = 0;
    /// How the level ended since the last call, if it did.
    virtual LevelEnd TakeLevelEnd() = 0;
    /// Takes the game-over window's offer of a reshuffle.
    virtual void UseReshuffleAfterGameOver() = 0;
};
