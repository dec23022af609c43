#include "game/ComboMeter.h"

#include <algorithm>

void ComboMeter::Add(float amount)
{
    level = std::min(level + amount, kMaxLevel);
}

void ComboMeter::Update()
{
    if (level > 0) {
        level = std::max(level - decay, 0.0f);
    }
}

int ComboMeter::Multiplier() const
{
    for (int i = static_cast<int>(thresholds.size()) - 1; i >= 0; --i) {
        if (level > thresholds[i]) {
            return i + 1;
        }
    }
    return 1;
}
