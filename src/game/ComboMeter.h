#pragma once

#include <array>

namespace Zorva {
class Graphics;
class Image;
} // namespace Zorva

/// The combo meter: quick play fills it, time drains it, and its level sets the multiplier
/// of a placed stone's points.
class ComboMeter
{
public:
    static constexpr float kMaxLevel = 100.0f;

    /// Raises the level, capped at 100.
    void Add(float amount);
    /// One tick of decay, never below 0.
    void Update();
    /// 1 to 4: one more than the index of the highest threshold the level exceeds.
    int Multiplier() const;
    void Empty() { level = 0; }
    /// The frame, the fill rising from the bottom with the level, and the labels.
    void Draw(Zorva::Graphics& graphics) const;

    float level = 0;
    float decay = 0.01f;
    std::array<float, 4> thresholds{0, 32, 64, 92};
    int x = 760;
    int y = 270;
    int fillOffsetX = 1;
    int fillOffsetY = 1;
    const Zorva::Image* frameImage = nullptr;
    const Zorva::Image* fillImage = nullptr;
    const Zorva::Image* labelsImage = nullptr;
};
