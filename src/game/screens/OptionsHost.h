#pragma once

struct Player;

/// What the options dialog asks of the application beyond the framework's volumes and screen
/// mode.
class OptionsHost
{
public:
    /// What the display says of hardware acceleration.
    enum class Acceleration
    {
        Unavailable,
        NotRecommended,
        Recommended,
    };

    virtual ~OptionsHost() = default;

    virtual Player* CurrentPlayer() = 0;
    /// The preview choice changed: the board's background is drawn again with or without it.
    virtual void RebuildBackgroundCache() = 0;
    /// Whether the program may run in a window (false only when full screen was forced).
    virtual bool WindowedModeAvailable() = 0;
    /// Whether the display can run accelerated, testing it first when that was never done.
    virtual Acceleration AccelerationVerdict() = 0;
    /// The dialog has closed: the focus goes back to what is below it.
    virtual void OptionsClosed() = 0;
};
