#include "game/screens/GameLaunch.h"

#include <charconv>

std::optional<GameLaunch> ParseGameLaunch(const std::string& value, std::string* error)
{
    const std::size_t colon = value.find(':');
    const std::string modeName = value.substr(0, colon);
    GameLaunch launch;
    if (modeName == "one") {
        launch.mode = GameMode::OneSide;
    } else if (modeName == "two") {
        launch.mode = GameMode::TwoSide;
    } else {
        if (error) {
            *error = "--play wants \"one\" or \"two\", optionally followed by \":LEVEL\"";
        }
        return std::nullopt;
    }
    if (colon != std::string::npos) {
        const char* first = value.data() + colon + 1;
        const char* last = value.data() + value.size();
        const auto [end, failure] = std::from_chars(first, last, launch.level);
        if (failure != std::errc() || end != last || launch.level < 1 || launch.level > 999) {
            if (error) {
                *error = "--play: the level must be a number from 1 to 999";
            }
            return std::nullopt;
        }
    }
    return launch;
}
