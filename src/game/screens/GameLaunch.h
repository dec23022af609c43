#pragma once

#include "game/GameMode.h"

#include <optional>
#include <string>

/// A game started straight after loading, as asked for on the command line.
struct GameLaunch
{
    GameMode mode = GameMode::OneSide;
    /// 0 starts the player's own level.
    int level = 0;
};

/// The switch that asks for it, written "--play=one|two[:LEVEL]".
inline constexpr const char* kGameLaunchSwitch = "--play";
inline constexpr const char* kGameLaunchHelpOption = "--play=one|two[:LEVEL]";
inline constexpr const char* kGameLaunchHelpText =
    "start One-Side or Two-Side play (at LEVEL) after loading";

/// Reads the value of the switch ("one", "two", "one:7"); none with `error` set when it is
/// not of that form or the level is not a number from 1 to 999.
std::optional<GameLaunch> ParseGameLaunch(const std::string& value, std::string* error);
