#pragma once

#include <cstdint>
#include <string>

/// One player's record: progress and running score per mode, the values carried from level
/// to level, and the preferences and once-shown tips.
struct Player
{
    std::string name;
    int32_t twoSideLevel = 1;
    int32_t twoSideScore = 0;
    int32_t reserved1 = 0;
    int32_t reshuffles = 1;
    int32_t oneSideLevel = 1;
    int32_t oneSideScore = 0;
    int32_t reserved2 = 0;
    bool deckHintShown = false;
    bool jokerHintShown = false;
    bool showHowToPlay = true;
    int32_t pileCount = 2;
    bool showPreview = true;
};
